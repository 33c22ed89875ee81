#pragma once
// A hidden window on the main thread that receives the worker's show/hide requests and the
// poll timer, and hands them to the run.
#include <windows.h>

#include <string>

#include "HiddenWindow.h"
#include "MessageMap.h"
#include "VTStatus.h"

using veltrano::Status;

// Posted by the worker: wParam 1 shows the progress window, 0 hides it.
constexpr UINT WM_SFX_SHOWPROGRESS = WM_APP + 1;
// The poll timer of the main thread.
constexpr UINT_PTR kPollTimerId = 1;
constexpr UINT kPollIntervalMs = 100;

class MessageHandler {
 public:
  virtual ~MessageHandler() = default;
  virtual void OnMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
};

class MessageWindow : private winui::CMessageMap {
 public:
  MessageWindow(HINSTANCE instance, const wchar_t* className);

  Status Create(MessageHandler* handler);
  void Destroy() { window_.Destroy(); }
  HWND Handle() const { return window_.Handle(); }

  BEGIN_MSG_MAP(MessageWindow)
    MESSAGE_HANDLER(WM_TIMER, Forward)
    MESSAGE_HANDLER(WM_SFX_SHOWPROGRESS, Forward)
  END_MSG_MAP()

 private:
  LRESULT Forward(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);

  HINSTANCE instance_;
  MessageHandler* handler_ = nullptr;
  winui::HiddenWindow window_;
  std::wstring className_;
};
