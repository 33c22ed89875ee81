#pragma once
// What the simulated driver's tests share: the library bound by name as the mixer binds it,
// a device state of each test's own, request buffers, and the control tool run as a program.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "SimDevices.h"
#include "SimLayout.h"
#include "SimRequestLog.h"
#include "SimStateStore.h"
#include "SonarixApi.h"
#include "UiFiles.h"

namespace simtest {

using sonarixsim::Status;

std::wstring LibraryPath();
std::wstring ToolPath();
std::wstring ClientPath();

// The entry points the mixer calls, taken with GetProcAddress.
struct SimApi {
  HMODULE module = nullptr;
  decltype(&SONARIX_GetApiVersion) GetApiVersion = nullptr;
  decltype(&SONARIX_CheckApiVersion) CheckApiVersion = nullptr;
  decltype(&SONARIX_RegisterPnpNotification) RegisterPnpNotification = nullptr;
  decltype(&SONARIX_UnregisterPnpNotification) UnregisterPnpNotification = nullptr;
  decltype(&SONARIX_EnumerateDevices) EnumerateDevices = nullptr;
  decltype(&SONARIX_GetDeviceCount) GetDeviceCount = nullptr;
  decltype(&SONARIX_OpenDeviceByIndex) OpenDeviceByIndex = nullptr;
  decltype(&SONARIX_CloseDevice) CloseDevice = nullptr;
  decltype(&SONARIX_GetDspProperty) GetDspProperty = nullptr;
  decltype(&SONARIX_SetDspProperty) SetDspProperty = nullptr;

  // LoadLibraryW and every entry point above; false when any is missing.
  bool Load(const std::wstring& path);
  void Unload();
  template <typename Function>
  Function Entry(const char* name) const {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
  }
};

// A request buffer: the 8-byte header (unit 77, property) followed by zeros up to `size`.
std::vector<uint8_t> Request(uint32_t property, size_t size);
void PutU32(std::vector<uint8_t>& bytes, size_t offset, uint32_t value);
uint32_t U32At(const std::vector<uint8_t>& bytes, size_t offset);
int16_t I16At(const std::vector<uint8_t>& bytes, size_t offset);
// Node identifier bytes: input kind, input index, output kind, output index.
void PutNode(std::vector<uint8_t>& bytes, size_t offset, uint8_t inputKind, uint8_t inputIndex,
             uint8_t outputKind, uint8_t outputIndex);

struct ToolRun {
  uint32_t exitCode = 0;
  std::string output;
  std::string errors;
};

// Each test gets a state named after itself and this process, in a scratch folder of its own
// that goes with everything in it at the end; the state starts empty and the library is
// loaded fresh for each test.
class SimDriverTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Plugs a device with counts in family order (DO, DI, AP, AR, APV, ARV); returns its id.
  uint32_t Plug(const sonarixsim::FamilyCounts& counts,
                uint32_t layout = sonarixsim::kMixerLayoutVersion);
  void Unplug(uint32_t id);
  // Enumerates and opens device index 0 through the library.
  uint32_t OpenFirstDevice();
  std::vector<sonarixsim::LoggedRequest> RequestLog();
  // Runs the control tool on this test's state and collects its output.
  ToolRun RunTool(const std::wstring& arguments);

  template <typename Operation>
  Status WithState(Operation&& operation) {
    return store_->Run(std::forward<Operation>(operation));
  }

  // Declared first so that it goes last, after the library and the state let go of its files.
  uitest::ScratchFolder scratch_;
  SimApi api_;
  std::unique_ptr<sonarixsim::StateStore> store_;
  std::wstring stateName_;
};

}  // namespace simtest
