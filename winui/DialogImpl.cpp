#include "DialogImpl.h"

namespace winui {

namespace {

// Travels with WM_INITDIALOG: the object and the caller's own init parameter.
struct StartData {
  CDialogImplBase* dialog;
  LPARAM initParam;
};

CDialogImplBase* DialogOf(HWND hWnd) {
  return reinterpret_cast<CDialogImplBase*>(::GetWindowLongPtrW(hWnd, DWLP_USER));
}

// Messages whose answer is the dialog procedure's return value itself; every other handled
// message answers through DWLP_MSGRESULT.
bool AnswersDirectly(UINT uMsg) {
  switch (uMsg) {
    case WM_INITDIALOG:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
      return true;
    default:
      return false;
  }
}

}  // namespace

BOOL CDialogImplBase::EndDialog(int result) { return ::EndDialog(m_hWnd, result); }

BOOL CDialogImplBase::DestroyWindow() { return ::DestroyWindow(m_hWnd); }

HWND CDialogImplBase::CreateFromTemplate(int templateId, HWND parent, LPARAM initParam) {
  StartData start = {this, initParam};
  modal_ = false;
  return ::CreateDialogParamW(AppModule().GetResourceInstance(), MAKEINTRESOURCEW(templateId),
                              parent, StartDialogProc, reinterpret_cast<LPARAM>(&start));
}

INT_PTR CDialogImplBase::DoModalFromTemplate(int templateId, HWND parent, LPARAM initParam) {
  StartData start = {this, initParam};
  modal_ = true;
  return ::DialogBoxParamW(AppModule().GetResourceInstance(), MAKEINTRESOURCEW(templateId),
                           parent, StartDialogProc, reinterpret_cast<LPARAM>(&start));
}

// Every window setting is a round trip to the window server under Wine, and a program may
// make thousands of these dialogs: the start procedure stays the dialog procedure unless the
// dialog asks for another one.
INT_PTR CALLBACK CDialogImplBase::StartDialogProc(HWND hWnd, UINT uMsg, WPARAM wParam,
                                                  LPARAM lParam) {
  if (uMsg != WM_INITDIALOG || DialogOf(hWnd) != nullptr) {
    return DialogProc(hWnd, uMsg, wParam, lParam);
  }
  const StartData* start = reinterpret_cast<const StartData*>(lParam);
  CDialogImplBase* dialog = start->dialog;
  dialog->m_hWnd = hWnd;
  ::SetWindowLongPtrW(hWnd, DWLP_USER, reinterpret_cast<LONG_PTR>(dialog));
  DLGPROC proc = dialog->GetDialogProc();
  if (proc != DialogProc) {
    ::SetWindowLongPtrW(hWnd, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(proc));
  }
  return proc(hWnd, uMsg, wParam, start->initParam);
}

INT_PTR CALLBACK CDialogImplBase::DialogProc(HWND hWnd, UINT uMsg, WPARAM wParam,
                                             LPARAM lParam) {
  CDialogImplBase* dialog = DialogOf(hWnd);
  if (!dialog) return FALSE;

  LRESULT result = 0;
  const BOOL handled = dialog->ProcessWindowMessage(hWnd, uMsg, wParam, lParam, result, 0);

  if (uMsg == WM_NCDESTROY) {
    // The window's last message: nothing reaches the object through it afterwards, so the
    // object may delete itself (and the window keeps its dead pointer unread).
    dialog->m_hWnd = nullptr;
    dialog->OnFinalMessage(hWnd);
    return handled;
  }
  if (!handled) return FALSE;
  if (AnswersDirectly(uMsg)) return static_cast<INT_PTR>(result);
  // Setting it is a round trip to the window server under Wine, reading it is not; it
  // usually holds the answer already (0).
  if (::GetWindowLongPtrW(hWnd, DWLP_MSGRESULT) != result) {
    ::SetWindowLongPtrW(hWnd, DWLP_MSGRESULT, result);
  }
  return TRUE;
}

}  // namespace winui
