#pragma once
// The hidden window through which a second start of the program talks to the running one. Its
// window class is named by the instance name, so "-exitall" and a second start find it with
// FindWindowW; it forwards the two remote commands to the visible mixer window.
#include <windows.h>

#include <string>

class RemoteCommandListener {
 public:
  RemoteCommandListener(HINSTANCE instance, HWND targetWindow, std::wstring className);
  // Stops listening if it still does: the window must not outlive the object it points to.
  virtual ~RemoteCommandListener();
  RemoteCommandListener(const RemoteCommandListener&) = delete;
  RemoteCommandListener& operator=(const RemoteCommandListener&) = delete;

  // Registers the window class and creates the (never shown) listener window. 0 or the
  // Windows error code; on failure nothing stays registered.
  DWORD StartListening();
  // Closes the listener window, if any, and unregisters the class.
  void StopListening();

  // The listener window's procedure: ID_ACTIVATE_MIXER and ID_APP_EXIT are posted on to the
  // target window; everything else gets the default processing.
  virtual LRESULT HandleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  HWND ListenerWindow() const { return listenerWindow_; }

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  HINSTANCE instance_;
  HWND targetWindow_;
  HWND listenerWindow_ = nullptr;
  std::wstring className_;
};
