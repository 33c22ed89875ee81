#include "MessageWindow.h"
#include "VTLastError.h"

MessageWindow::MessageWindow(HINSTANCE instance, const wchar_t* className)
    : instance_(instance), className_(className) {}

MessageWindow::~MessageWindow() { Destroy(); }

Status MessageWindow::Create(MessageHandler* handler) {
  handler_ = handler;
  WNDCLASSEXW windowClass = {};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = &MessageWindow::Forward;
  windowClass.hInstance = instance_;
  windowClass.lpszClassName = className_.c_str();
  if (RegisterClassExW(&windowClass) == 0) return veltrano::LastErrorOr();
  registered_ = true;

  window_ = CreateWindowExW(0, className_.c_str(), L"", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                            CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                            instance_, nullptr);
  if (window_ == nullptr) {
    const Status error = veltrano::LastErrorOr();
    UnregisterClassW(className_.c_str(), instance_);
    registered_ = false;
    return error;
  }
  SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  return 0;
}

void MessageWindow::Destroy() {
  if (window_ != nullptr) {
    SendMessageW(window_, WM_CLOSE, 0, 0);
    window_ = nullptr;
  }
  if (registered_) {
    UnregisterClassW(className_.c_str(), instance_);
    registered_ = false;
  }
}

LRESULT CALLBACK MessageWindow::Forward(HWND window, UINT message, WPARAM wParam,
                                        LPARAM lParam) {
  auto* self = reinterpret_cast<MessageWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr || self->handler_ == nullptr) {
    return DefWindowProcW(window, message, wParam, lParam);
  }
  if (message == WM_TIMER || message == WM_SFX_SHOWPROGRESS) {
    self->handler_->OnMessage(message, wParam, lParam);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}
