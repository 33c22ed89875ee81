#pragma once
// A hidden window on the main thread that receives the worker's show/hide requests and the
// poll timer, and hands them to the run.
#include <windows.h>

#include <string>

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

class MessageWindow {
 public:
  MessageWindow(HINSTANCE instance, const wchar_t* className);
  ~MessageWindow();
  MessageWindow(const MessageWindow&) = delete;
  MessageWindow& operator=(const MessageWindow&) = delete;

  Status Create(MessageHandler* handler);
  void Destroy();
  HWND Handle() const { return window_; }

 private:
  static LRESULT CALLBACK Forward(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  HINSTANCE instance_;
  MessageHandler* handler_ = nullptr;
  HWND window_ = nullptr;
  std::wstring className_;
  bool registered_ = false;
};
