#include "MessageWindow.h"

MessageWindow::MessageWindow(HINSTANCE instance, const wchar_t* className)
    : instance_(instance), className_(className) {}

Status MessageWindow::Create(MessageHandler* handler) {
  handler_ = handler;
  return window_.Create(instance_, className_.c_str(), this);
}

LRESULT MessageWindow::Forward(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled) {
  if (handler_ == nullptr) {
    handled = FALSE;
    return 0;
  }
  handler_->OnMessage(message, wParam, lParam);
  return 0;
}
