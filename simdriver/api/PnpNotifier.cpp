#include "PnpNotifier.h"
#include "VTLastError.h"

#include <algorithm>

namespace sonarixsim {

Status PnpNotifier::Start(StateStore& store, HWND window, UINT message) {
  Stop();
  store_ = &store;
  window_ = window;
  message_ = message;
  seenChanges_ = store.DeviceChanges();
  VT_RETURN_IF_FAILED(ReadConnections(seen_));

  stopEvent_.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!stopEvent_.IsValid()) return veltrano::LastErrorOr();
  if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                          reinterpret_cast<LPCWSTR>(&PnpNotifier::ThreadMain), &pinnedModule_)) {
    return veltrano::LastErrorOr();
  }
  thread_.Reset(CreateThread(nullptr, 0, &PnpNotifier::ThreadMain, this, 0, nullptr));
  if (!thread_.IsValid()) {
    const Status failure = veltrano::LastErrorOr();
    FreeLibrary(pinnedModule_);
    pinnedModule_ = nullptr;
    return failure;
  }
  return status::kOk;
}

void PnpNotifier::Stop() {
  if (!thread_.IsValid()) return;
  SetEvent(stopEvent_.Get());
  WaitForSingleObject(thread_.Get(), INFINITE);
  thread_.Reset();
  stopEvent_.Reset();
  pinnedModule_ = nullptr;
  window_ = nullptr;
}

DWORD WINAPI PnpNotifier::ThreadMain(void* self) {
  PnpNotifier* notifier = static_cast<PnpNotifier*>(self);
  const HMODULE pinned = notifier->pinnedModule_;
  notifier->Run();
  FreeLibraryAndExitThread(pinned, 0);
}

void PnpNotifier::Run() {
  while (WaitForSingleObject(stopEvent_.Get(), kPollMs) == WAIT_TIMEOUT) {
    const LONG changes = store_->DeviceChanges();
    if (changes == seenChanges_) continue;
    std::vector<Connection> now;
    if (ReadConnections(now) != status::kOk) continue;  // busy: try again on the next tick
    seenChanges_ = changes;
    PostChanges(now);
    seen_ = now;
  }
}

Status PnpNotifier::ReadConnections(std::vector<Connection>& connections) {
  connections.clear();
  return store_->Run([&](SharedState& state) {
    connections = ConnectionsOf(state);
    return status::kOk;
  });
}

// Removals first, then arrivals, one message each; a reconnected device is an arrival.
void PnpNotifier::PostChanges(const std::vector<Connection>& now) {
  for (const Connection& before : seen_) {
    if (std::find(now.begin(), now.end(), before) == now.end()) {
      PostMessageW(window_, message_, kDeviceRemoved, 0);
    }
  }
  for (const Connection& after : now) {
    if (std::find(seen_.begin(), seen_.end(), after) == seen_.end()) {
      PostMessageW(window_, message_, kDeviceArrived, 0);
    }
  }
}

}  // namespace sonarixsim
