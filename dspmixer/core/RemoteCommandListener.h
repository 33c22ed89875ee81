#pragma once
// The hidden window through which a second start of the program talks to the running one. Its
// window class is named by the instance name, so "-exitall" and a second start find it with
// FindWindowW; it forwards the two remote commands to the visible mixer window.
#include <windows.h>

#include <string>

#include "HiddenWindow.h"
#include "MessageMap.h"

class RemoteCommandListener : private winui::CMessageMap {
 public:
  RemoteCommandListener(HINSTANCE instance, HWND targetWindow, std::wstring className);
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

  HWND ListenerWindow() const { return listenerWindow_.Handle(); }

 private:
  // Every message of the listener window goes to HandleMessage.
  BOOL ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                            LRESULT& result, DWORD mapId) override;

  HINSTANCE instance_;
  HWND targetWindow_;
  winui::HiddenWindow listenerWindow_;
  std::wstring className_;
};
