#pragma once
// What the library keeps per process: its configuration check, its connection to the shared
// device state, the device list of the last enumeration, the open device handles and the
// notification registration. One lock serialises the entry points within the process; the
// shared state's own mutex serialises them across processes.
#include <windows.h>

#include <cstdint>
#include <vector>

#include "PnpNotifier.h"
#include "SimDevices.h"
#include "SimHandles.h"
#include "SimLayout.h"
#include "SimStateStore.h"

namespace sonarixsim {

constexpr uint32_t kMaxOpenHandles = 64;

class ApiContext {
 public:
  static ApiContext& Instance();

  Status RegisterPnp(HWND window, UINT message);
  void UnregisterPnp();
  Status EnumerateDevices();
  uint32_t DeviceCount();
  Status OpenDeviceByIndex(uint32_t index, uint32_t* handle);
  Status CloseDevice(uint32_t handle);
  Status DspRequest(RequestCall call, uint32_t handle, void* buffer, uint32_t size);

 private:
  struct HandleSlot {
    bool open = false;
    uint8_t generation = 0;
    Connection device;
  };

  ApiContext() = default;

  // The configuration file is valid and the shared state is open.
  Status Ready();
  Status Enumerate(SharedState& state);
  Status AllocateHandle(const Connection& device, uint32_t& handle);
  HandleSlot* SlotOf(uint32_t handle);

  CriticalSection lock_;
  bool iniChecked_ = false;
  Status iniStatus_ = status::kOk;
  StateStore store_;
  bool enumerated_ = false;
  std::vector<Connection> devices_;
  HandleSlot handles_[kMaxOpenHandles];
  PnpNotifier notifier_;
};

// The library's module handle, kept by DllMain.
HMODULE LibraryModule();

}  // namespace sonarixsim
