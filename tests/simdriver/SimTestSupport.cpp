#include "SimTestSupport.h"

#include "UiPath.h"
#include "UiProcess.h"

namespace simtest {
namespace {

constexpr DWORD kToolTimeoutMs = 30000;

std::wstring StateNameOf(const ::testing::TestInfo& test) {
  std::wstring name = L"t" + std::to_wstring(GetCurrentProcessId()) + L".";
  for (const char* c = test.name(); *c != 0; ++c) {
    const bool plain =
        (*c >= 'a' && *c <= 'z') || (*c >= 'A' && *c <= 'Z') || (*c >= '0' && *c <= '9');
    name += plain ? static_cast<wchar_t>(*c) : L'_';
  }
  return name.substr(0, 64);
}

}  // namespace

std::wstring LibraryPath() { return uitest::WindowsPathOf(SONARIX_DLL); }
std::wstring ToolPath() { return uitest::WindowsPathOf(SONARIXSIM_EXE); }
std::wstring ClientPath() { return uitest::WindowsPathOf(SIMCLIENT_EXE); }

bool SimApi::Load(const std::wstring& path) {
  module = LoadLibraryW(path.c_str());
  if (module == nullptr) return false;
  GetApiVersion = Entry<decltype(GetApiVersion)>("SONARIX_GetApiVersion");
  CheckApiVersion = Entry<decltype(CheckApiVersion)>("SONARIX_CheckApiVersion");
  RegisterPnpNotification =
      Entry<decltype(RegisterPnpNotification)>("SONARIX_RegisterPnpNotification");
  UnregisterPnpNotification =
      Entry<decltype(UnregisterPnpNotification)>("SONARIX_UnregisterPnpNotification");
  EnumerateDevices = Entry<decltype(EnumerateDevices)>("SONARIX_EnumerateDevices");
  GetDeviceCount = Entry<decltype(GetDeviceCount)>("SONARIX_GetDeviceCount");
  OpenDeviceByIndex = Entry<decltype(OpenDeviceByIndex)>("SONARIX_OpenDeviceByIndex");
  CloseDevice = Entry<decltype(CloseDevice)>("SONARIX_CloseDevice");
  GetDspProperty = Entry<decltype(GetDspProperty)>("SONARIX_GetDspProperty");
  SetDspProperty = Entry<decltype(SetDspProperty)>("SONARIX_SetDspProperty");
  return GetApiVersion && CheckApiVersion && RegisterPnpNotification && UnregisterPnpNotification &&
         EnumerateDevices && GetDeviceCount && OpenDeviceByIndex && CloseDevice && GetDspProperty &&
         SetDspProperty;
}

void SimApi::Unload() {
  if (module == nullptr) return;
  if (UnregisterPnpNotification != nullptr) UnregisterPnpNotification();
  FreeLibrary(module);
  *this = SimApi();
}

std::vector<uint8_t> Request(uint32_t property, size_t size) {
  std::vector<uint8_t> bytes(size, 0);
  if (size >= 4) PutU32(bytes, 0, sonarixsim::kMixerUnitId);
  if (size >= 8) PutU32(bytes, 4, property);
  return bytes;
}

void PutU32(std::vector<uint8_t>& bytes, size_t offset, uint32_t value) {
  for (size_t i = 0; i < 4; ++i) bytes[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}

uint32_t U32At(const std::vector<uint8_t>& bytes, size_t offset) {
  return static_cast<uint32_t>(bytes[offset]) | static_cast<uint32_t>(bytes[offset + 1]) << 8 |
         static_cast<uint32_t>(bytes[offset + 2]) << 16 |
         static_cast<uint32_t>(bytes[offset + 3]) << 24;
}

int16_t I16At(const std::vector<uint8_t>& bytes, size_t offset) {
  return static_cast<int16_t>(bytes[offset] | bytes[offset + 1] << 8);
}

void PutNode(std::vector<uint8_t>& bytes, size_t offset, uint8_t inputKind, uint8_t inputIndex,
             uint8_t outputKind, uint8_t outputIndex) {
  bytes[offset] = inputKind;
  bytes[offset + 1] = inputIndex;
  bytes[offset + 2] = outputKind;
  bytes[offset + 3] = outputIndex;
}

void SimDriverTest::SetUp() {
  stateName_ = StateNameOf(*::testing::UnitTest::GetInstance()->current_test_info());
  SetEnvironmentVariableW(sonarixsim::kStateNameVariable, stateName_.c_str());
  SetEnvironmentVariableW(sonarixsim::kStateFolderVariable, scratch_.Path().c_str());
  store_ = std::make_unique<sonarixsim::StateStore>();
  ASSERT_EQ(0u, store_->Open(stateName_));
  ASSERT_EQ(0u, WithState([](sonarixsim::SharedState& state) {
              sonarixsim::ResetState(state, false);
              return sonarixsim::status::kOk;
            }));
  ASSERT_TRUE(api_.Load(LibraryPath())) << "GetLastError " << GetLastError();
}

void SimDriverTest::TearDown() {
  api_.Unload();
  store_.reset();
}

uint32_t SimDriverTest::Plug(const sonarixsim::FamilyCounts& counts, uint32_t layout) {
  uint32_t id = 0;
  EXPECT_EQ(0u, WithState([&](sonarixsim::SharedState& state) {
              return sonarixsim::PlugDevice(state, sonarixsim::CountsFromFamilyOrder(counts),
                                            layout, id);
            }));
  return id;
}

void SimDriverTest::Unplug(uint32_t id) {
  EXPECT_EQ(0u, WithState([&](sonarixsim::SharedState& state) {
              return sonarixsim::UnplugDevice(state, id);
            }));
}

uint32_t SimDriverTest::OpenFirstDevice() {
  EXPECT_EQ(0u, api_.EnumerateDevices());
  uint32_t handle = 0;
  EXPECT_EQ(0u, api_.OpenDeviceByIndex(0, &handle));
  return handle;
}

std::vector<sonarixsim::LoggedRequest> SimDriverTest::RequestLog() {
  std::vector<sonarixsim::LoggedRequest> requests;
  EXPECT_EQ(0u, WithState([&](sonarixsim::SharedState& state) {
              requests = sonarixsim::ReadRequestLog(state);
              return sonarixsim::status::kOk;
            }));
  return requests;
}

ToolRun SimDriverTest::RunTool(const std::wstring& arguments) {
  const std::wstring outputFile = scratch_.File(stateName_ + L".out");
  const std::wstring errorFile = scratch_.File(stateName_ + L".err");
  uitest::StartOptions options;
  options.standardOutputFile = outputFile;
  options.standardErrorFile = errorFile;
  ToolRun run;
  uitest::Process tool;
  EXPECT_EQ(0u, tool.Start(ToolPath(), arguments, options));
  EXPECT_TRUE(tool.WaitForExit(kToolTimeoutMs));
  run.exitCode = tool.ExitCode();
  uitest::ReadFileBytes(outputFile, run.output);
  uitest::ReadFileBytes(errorFile, run.errors);
  return run;
}

}  // namespace simtest
