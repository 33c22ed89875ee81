#include "ProgressDlg.h"

#include <commctrl.h>

#include "Cfg.h"

LRESULT ProgressDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
  progressBar_ = GetDlgItem(IDC_PROGRESS_BAR);
  SetWindowText(g_cfg.title.c_str());
  // An interval of 0 keeps the control's own default speed.
  ::SendMessageW(progressBar_, PBM_SETMARQUEE, 1, 0);
  CenterWindow();
  // The worker shows the window before the first task that wants it.
  ShowWindow(SW_HIDE);
  DlgResize_Init();
  return TRUE;
}

// Enter, Esc and Alt+F4 all arrive here: the user cannot stop a running worker.
LRESULT ProgressDlg::OnIgnoredCommand(WORD, WORD, HWND, BOOL&) { return 0; }

// Taken here rather than left to the dialog manager, which would turn it into IDCANCEL; the
// window never closes on request.
LRESULT ProgressDlg::OnClose(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
