#include "NoDeviceDlg.h"

#include "LanguageTexts.h"

LRESULT NoDeviceDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
  text_ = GetDlgItem(IDC_NO_DEVICE_TEXT);
  ModifyStyleEx(0, WS_EX_CLIENTEDGE, SWP_FRAMECHANGED);
  ::SetWindowTextW(text_, GetText(LanguageKey::NO_DEVICE_WINDOW_TEXT).c_str());
  DlgResize_Init(false, false);
  return TRUE;
}
