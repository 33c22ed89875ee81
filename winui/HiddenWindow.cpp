#include "HiddenWindow.h"

#include "VTLastError.h"

namespace winui {

HiddenWindow::~HiddenWindow() {
  handler_ = nullptr;
  Destroy();
}

veltrano::Status HiddenWindow::Create(HINSTANCE instance, const wchar_t* className,
                                      CMessageMap* handler) {
  if (handler == nullptr || className == nullptr) return ERROR_INVALID_PARAMETER;
  if (windowClass_ != 0) return veltrano::status::kAlreadyStarted;
  WNDCLASSEXW windowClass = {};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = className;
  const ATOM registered = ::RegisterClassExW(&windowClass);
  if (registered == 0) return veltrano::LastErrorOr();

  const HWND window = ::CreateWindowExW(0, className, L"", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr,
                                        nullptr, instance, nullptr);
  if (window == nullptr) {
    const veltrano::Status error = veltrano::LastErrorOr();
    ::UnregisterClassW(className, instance);
    return error;
  }
  instance_ = instance;
  handler_ = handler;
  windowClass_ = registered;
  window_ = window;
  // Only from here on does the handler see messages; creation got the default processing.
  ::SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  return veltrano::status::kOk;
}

void HiddenWindow::Destroy() {
  if (window_ != nullptr) {
    ::SendMessageW(window_, WM_CLOSE, 0, 0);
    // A handler that keeps the window open on WM_CLOSE still loses it.
    if (window_ != nullptr) ::DestroyWindow(window_);
    // Should it still stand (Destroy() called on another thread), it stops reaching us.
    if (window_ != nullptr) Forget();
  }
  if (windowClass_ != 0) {
    ::UnregisterClassW(MAKEINTATOM(windowClass_), instance_);
    windowClass_ = 0;
  }
}

void HiddenWindow::Forget() {
  ::SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
  window_ = nullptr;
}

LRESULT HiddenWindow::Dispatch(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  const bool handled = handler_ != nullptr &&
                       handler_->ProcessWindowMessage(hwnd, message, wParam, lParam, result);
  if (!handled) result = ::DefWindowProcW(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) Forget();
  return result;
}

LRESULT CALLBACK HiddenWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam,
                                          LPARAM lParam) {
  auto* self = reinterpret_cast<HiddenWindow*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (self == nullptr) return ::DefWindowProcW(hwnd, message, wParam, lParam);
  return self->Dispatch(hwnd, message, wParam, lParam);
}

}  // namespace winui
