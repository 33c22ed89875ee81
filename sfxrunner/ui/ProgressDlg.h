#pragma once
// The modeless progress window: the run's title and a marquee bar. It cannot be closed by the
// user; the run destroys it when the worker has ended.
#include <windows.h>

#include "DialogImpl.h"
#include "DialogResize.h"
#include "resource.h"

class ProgressDlg : public winui::CDialogImpl<ProgressDlg>,
                    public winui::CDialogResize<ProgressDlg> {
 public:
  enum { IDD = IDD_PROGRESS };

  BEGIN_MSG_MAP(ProgressDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    COMMAND_ID_HANDLER(IDOK, OnIgnoredCommand)
    COMMAND_ID_HANDLER(IDCANCEL, OnIgnoredCommand)
    MESSAGE_HANDLER(WM_CLOSE, OnClose)
    CHAIN_MSG_MAP(winui::CDialogResize<ProgressDlg>)
  END_MSG_MAP()

  BEGIN_DLGRESIZE_MAP(ProgressDlg)
    DLGRESIZE_CONTROL(IDC_PROGRESS_BAR, winui::DLSZ_SIZE_X | winui::DLSZ_REPAINT)
  END_DLGRESIZE_MAP()

  HWND progressBar() const { return progressBar_; }

 private:
  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnIgnoredCommand(WORD, WORD, HWND, BOOL&);
  LRESULT OnClose(UINT, WPARAM, LPARAM, BOOL&);

  HWND progressBar_ = nullptr;
};
