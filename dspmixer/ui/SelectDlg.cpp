#include "SelectDlg.h"

#include "LanguageTexts.h"
#include "WindowIcons.h"

LRESULT SelectDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
  SetWindowText(GetText(LanguageKey::SELECT_WINDOW_TITLE).c_str());
  SetDlgItemText(IDC_SELECT_SIMPLE, GetText(LanguageKey::SELECT_WINDOW_BUTTON_SIMPLE).c_str());
  SetDlgItemText(IDC_SELECT_ADVANCED, GetText(LanguageKey::SELECT_WINDOW_BUTTON_ADVANCED).c_str());
  SetDlgItemText(IDC_SELECT_CLOSE, GetText(LanguageKey::SELECT_WINDOW_BUTTON_CLOSE).c_str());
  CenterWindow();
  SetWindowIcons(*this, IDI_MIXER);
  return TRUE;
}

LRESULT SelectDlg::OnChoice(WORD, WORD id, HWND, BOOL&) {
  EndDialog(id);
  return 0;
}

LRESULT SelectDlg::OnActivate(WORD, WORD, HWND, BOOL&) {
  ShowWindow(SW_SHOW);
  SetForegroundWindow();
  return 0;
}
