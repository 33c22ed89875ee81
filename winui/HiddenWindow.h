#pragma once
// A never-shown top-level window of a class of its own, whose messages go to a message map.
// It stays top-level (not message-only) so that other processes can find it by its class name
// with FindWindowW. Messages that arrive while the window is being created, and those the map
// does not handle, get the default processing.
#include <windows.h>

#include "MessageMap.h"
#include "VTStatus.h"

namespace winui {

class HiddenWindow {
 public:
  HiddenWindow() = default;
  // Destroys the window without the handler: by now it may be gone already.
  ~HiddenWindow();
  HiddenWindow(const HiddenWindow&) = delete;
  HiddenWindow& operator=(const HiddenWindow&) = delete;

  // Registers `className` for `instance` and creates the window. 0 or the Windows error; on
  // failure nothing stays registered. One window at a time: until Destroy(), a second call
  // fails. `handler` must outlive the window or Destroy().
  veltrano::Status Create(HINSTANCE instance, const wchar_t* className, CMessageMap* handler);
  // Sends WM_CLOSE, makes sure the window is gone and unregisters the class.
  void Destroy();
  // Null until created, and again once the window is destroyed, by whomever.
  HWND Handle() const { return window_; }

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Dispatch(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  void Forget();

  HINSTANCE instance_ = nullptr;
  CMessageMap* handler_ = nullptr;
  ATOM windowClass_ = 0;
  HWND window_ = nullptr;
};

}  // namespace winui
