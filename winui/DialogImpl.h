#pragma once
// Dialogs built from a dialog template of the program's resources (T::IDD), with a message
// map. Create() makes a modeless dialog, DoModal() runs a modal one. The object reaches its
// dialog procedure with WM_INITDIALOG, whose lParam is the caller's init parameter; earlier
// messages (WM_SETFONT) get the default processing. Messages the map does not handle return
// FALSE, so the system's dialog manager treats them as usual.
#include <windows.h>

#include "AppModule.h"
#include "MessageMap.h"
#include "Window.h"

namespace winui {

class CDialogImplBase : public CMessageMap, public CWindow {
 public:
  CDialogImplBase() = default;
  ~CDialogImplBase() override = default;
  CDialogImplBase(const CDialogImplBase&) = delete;
  CDialogImplBase& operator=(const CDialogImplBase&) = delete;

  // The procedure that serves the dialog once WM_INITDIALOG has arrived.
  virtual DLGPROC GetDialogProc() { return DialogProc; }
  // Called after the window's last message (WM_NCDESTROY); m_hWnd is already null. A
  // modeless dialog that owns itself may delete itself here.
  virtual void OnFinalMessage(HWND /*hWnd*/) {}

  // Ends a modal dialog with `result` (returned by DoModal).
  BOOL EndDialog(int result);
  // Destroys a modeless dialog.
  BOOL DestroyWindow();
  bool IsModal() const { return modal_; }

  static INT_PTR CALLBACK StartDialogProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
  static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

 protected:
  HWND CreateFromTemplate(int templateId, HWND parent, LPARAM initParam);
  INT_PTR DoModalFromTemplate(int templateId, HWND parent, LPARAM initParam);

 private:
  bool modal_ = false;
};

template <class T>
class CDialogImpl : public CDialogImplBase {
 public:
  // The dialog window, or null (GetLastError() tells why).
  HWND Create(HWND parent, LPARAM initParam = 0) {
    return CreateFromTemplate(T::IDD, parent, initParam);
  }
  // The value passed to EndDialog, or -1 when the dialog could not be created.
  INT_PTR DoModal(HWND parent = ::GetActiveWindow(), LPARAM initParam = 0) {
    return DoModalFromTemplate(T::IDD, parent, initParam);
  }
};

}  // namespace winui
