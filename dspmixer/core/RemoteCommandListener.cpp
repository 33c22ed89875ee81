#include "RemoteCommandListener.h"

#include <utility>

#include "MixerMessages.h"

RemoteCommandListener::RemoteCommandListener(HINSTANCE instance, HWND targetWindow,
                                             std::wstring className)
    : instance_(instance), targetWindow_(targetWindow), className_(std::move(className)) {}

DWORD RemoteCommandListener::StartListening() {
  return listenerWindow_.Create(instance_, className_.c_str(), this);
}

void RemoteCommandListener::StopListening() { listenerWindow_.Destroy(); }

LRESULT RemoteCommandListener::HandleMessage(HWND hwnd, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
  if (message == WM_COMMAND && (wParam == ID_ACTIVATE_MIXER || wParam == ID_APP_EXIT)) {
    // Posted, never sent: the caller must not wait on the mixer window.
    ::PostMessageW(targetWindow_, WM_COMMAND, wParam, 0);
    return 0;
  }
  return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

BOOL RemoteCommandListener::ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam,
                                                 LPARAM lParam, LRESULT& result,
                                                 DWORD /*mapId*/) {
  result = HandleMessage(hwnd, message, wParam, lParam);
  return TRUE;
}
