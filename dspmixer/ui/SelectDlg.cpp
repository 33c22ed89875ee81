#include "SelectDlg.h"

#include "LanguageTexts.h"
#include "WindowIcons.h"

LRESULT SelectDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
  simpleButton_ = GetDlgItem(IDC_SELECT_SIMPLE);
  advancedButton_ = GetDlgItem(IDC_SELECT_ADVANCED);
  closeButton_ = GetDlgItem(IDC_SELECT_CLOSE);
  SetWindowText(GetText(LanguageKey::SELECT_WINDOW_TITLE).c_str());
  ::SetWindowTextW(simpleButton_, GetText(LanguageKey::SELECT_WINDOW_BUTTON_SIMPLE).c_str());
  ::SetWindowTextW(advancedButton_, GetText(LanguageKey::SELECT_WINDOW_BUTTON_ADVANCED).c_str());
  ::SetWindowTextW(closeButton_, GetText(LanguageKey::SELECT_WINDOW_BUTTON_CLOSE).c_str());
  CenterWindow();
  SetWindowIcons(m_hWnd, IDI_MIXER);
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
