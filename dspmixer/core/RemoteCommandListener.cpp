#include "RemoteCommandListener.h"
#include "VTLastError.h"

#include <utility>

#include "MixerMessages.h"

RemoteCommandListener::RemoteCommandListener(HINSTANCE instance, HWND targetWindow,
                                             std::wstring className)
    : instance_(instance), targetWindow_(targetWindow), className_(std::move(className)) {}

RemoteCommandListener::~RemoteCommandListener() {
  if (listenerWindow_ != nullptr) StopListening();
}

DWORD RemoteCommandListener::StartListening() {
  WNDCLASSEXW windowClass = {};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance_;
  windowClass.lpszClassName = className_.c_str();
  if (::RegisterClassExW(&windowClass) == 0) return veltrano::LastErrorOr();

  listenerWindow_ = ::CreateWindowExW(0, className_.c_str(), L"", WS_OVERLAPPEDWINDOW,
                                      CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                      nullptr, nullptr, instance_, nullptr);
  if (listenerWindow_ == nullptr) {
    const DWORD error = veltrano::LastErrorOr();
    ::UnregisterClassW(className_.c_str(), instance_);
    return error;
  }
  ::SetWindowLongPtrW(listenerWindow_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  return ERROR_SUCCESS;
}

void RemoteCommandListener::StopListening() {
  if (listenerWindow_ != nullptr) {
    ::SendMessageW(listenerWindow_, WM_CLOSE, 0, 0);
    listenerWindow_ = nullptr;
  }
  ::UnregisterClassW(className_.c_str(), instance_);
}

LRESULT RemoteCommandListener::HandleMessage(HWND hwnd, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
  if (message == WM_COMMAND && (wParam == ID_ACTIVATE_MIXER || wParam == ID_APP_EXIT)) {
    // Posted, never sent: the caller must not wait on the mixer window.
    ::PostMessageW(targetWindow_, WM_COMMAND, wParam, 0);
    return 0;
  }
  return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK RemoteCommandListener::WindowProc(HWND hwnd, UINT message, WPARAM wParam,
                                                   LPARAM lParam) {
  auto* listener =
      reinterpret_cast<RemoteCommandListener*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (listener == nullptr) return ::DefWindowProcW(hwnd, message, wParam, lParam);
  return listener->HandleMessage(hwnd, message, wParam, lParam);
}
