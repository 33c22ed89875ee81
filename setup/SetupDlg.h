#pragma once
// The setup's window: what it does, the step it is at, a progress bar and the result. The steps
// run one per posted message, so the window stays responsive; Cancel takes effect before the
// next step and rolls back what was done. The dialog ends with the run's exit code.
#include <windows.h>

#include "DialogImpl.h"
#include "Setup.h"
#include "res/resource.h"

class SetupDlg : public winui::CDialogImpl<SetupDlg> {
 public:
  enum { IDD = IDD_SETUP };
  static constexpr UINT WM_SETUP_NEXT_STEP = WM_APP + 1;

  explicit SetupDlg(Setup& setup) : setup_(setup) {}

  BEGIN_MSG_MAP(SetupDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_SETUP_NEXT_STEP, OnNextStep)
    COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
  END_MSG_MAP()

 private:
  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnNextStep(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnCancel(WORD, WORD, HWND, BOOL&);
  void ShowResult(veltrano::Status result, const std::wstring& failedStep);

  Setup& setup_;
  size_t next_ = 0;
  bool cancelRequested_ = false;
  bool done_ = false;
  int exitCode_ = kExitFailed;
};
