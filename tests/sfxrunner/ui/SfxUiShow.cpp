// Shows one of the stub's dialogs for a while so that it can be looked at:
//   sfxui_show progress|extract|language [milliseconds]
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "Cfg.h"
#include "ExtractToDlg.h"
#include "MessageLoop.h"
#include "ProgressDlg.h"

namespace {

class LanguageTemplateDlg : public winui::CDialogImpl<LanguageTemplateDlg> {
 public:
  enum { IDD = IDD_LANGUAGE };
  BEGIN_MSG_MAP(LanguageTemplateDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
  END_MSG_MAP()

 private:
  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
    SetWindowText(g_cfg.title.c_str());
    HWND combo = GetDlgItem(IDC_LANGUAGE_COMBO);
    ::SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"English (United States)"));
    ::SendMessageW(combo, CB_ADDSTRING, 0,
                   reinterpret_cast<LPARAM>(L"German (Germany) [Deutsch (Deutschland)]"));
    ::SendMessageW(combo, CB_SETCURSEL, 0, 0);
    return TRUE;
  }
};

void CALLBACK Quit(HWND, UINT, UINT_PTR, DWORD) { ::PostQuitMessage(0); }

void CALLBACK EndModal(HWND, UINT, UINT_PTR, DWORD) {
  HWND active = ::GetActiveWindow();
  if (active) ::EndDialog(active, IDCANCEL);
}

int ShowProgress(UINT ms) {
  ProgressDlg dialog;
  if (!dialog.Create(nullptr)) return 1;
  dialog.ShowWindow(SW_SHOWNORMAL);
  winui::CMessageLoop loop;
  ::SetTimer(nullptr, 0, ms, Quit);
  loop.Run();
  dialog.DestroyWindow();
  return 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
  ::InitCommonControlsEx(&controls);
  winui::AppModule().Init(instance);
  g_cfg.title = L"Veltrano USB Audio Driver 4.2";

  int argc = 0;
  PWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
  const std::wstring which = argc > 1 ? argv[1] : L"progress";
  const UINT ms = argc > 2 ? static_cast<UINT>(_wtoi(argv[2])) : 4000;
  ::LocalFree(argv);

  if (which == L"progress") return ShowProgress(ms);
  ::SetTimer(nullptr, 0, ms, EndModal);
  if (which == L"extract") {
    ExtractToDlg dialog;
    dialog.path = L"C:\\Program Files\\Veltrano\\USB Audio Driver";
    return dialog.DoModal(nullptr) == IDCANCEL ? 0 : 1;
  }
  if (which == L"language") {
    LanguageTemplateDlg dialog;
    return dialog.DoModal(nullptr) == IDCANCEL ? 0 : 1;
  }
  return 2;
}
