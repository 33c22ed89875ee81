#pragma once
// Tells one window of this process about devices that arrive or go away: a small thread
// watches the shared device table and posts the registered message, wParam kDeviceArrived or
// kDeviceRemoved, within kPollMs of the change. While it runs, the thread keeps the library
// loaded, so that a FreeLibrary of the client never pulls its code away.
#include <windows.h>

#include <cstdint>
#include <vector>

#include "SimDevices.h"
#include "SimHandles.h"
#include "SimStateStore.h"

namespace sonarixsim {

constexpr WPARAM kDeviceArrived = 1;
constexpr WPARAM kDeviceRemoved = 2;
constexpr DWORD kPollMs = 10;

class PnpNotifier {
 public:
  PnpNotifier() = default;
  PnpNotifier(const PnpNotifier&) = delete;
  PnpNotifier& operator=(const PnpNotifier&) = delete;

  // Replaces a running registration. The devices connected now count as known: only later
  // changes are posted.
  Status Start(StateStore& store, HWND window, UINT message);
  void Stop();

 private:
  static DWORD WINAPI ThreadMain(void* self);
  void Run();
  Status ReadConnections(std::vector<Connection>& connections);
  void PostChanges(const std::vector<Connection>& now);

  StateStore* store_ = nullptr;
  HWND window_ = nullptr;
  UINT message_ = 0;
  HMODULE pinnedModule_ = nullptr;
  LONG seenChanges_ = 0;
  std::vector<Connection> seen_;
  UniqueHandle stopEvent_;
  UniqueHandle thread_;
};

}  // namespace sonarixsim
