#include "SetupDlg.h"

#include <commctrl.h>

#include <cwchar>

namespace {

std::wstring CodeText(veltrano::Status status) {
  wchar_t code[16];
  std::swprintf(code, 16, L"0x%08X", static_cast<unsigned>(status));
  return code;
}

}  // namespace

LRESULT SetupDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
  for (const bool big : {true, false}) {
    SetIcon(static_cast<HICON>(::LoadImageW(
                ::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_SETUP), IMAGE_ICON,
                ::GetSystemMetrics(big ? SM_CXICON : SM_CXSMICON),
                ::GetSystemMetrics(big ? SM_CYICON : SM_CYSMICON), LR_SHARED)),
            big);
  }
  SetDlgItemText(IDC_SETUP_PURPOSE,
                 setup_.IsUninstall()
                     ? L"Setup removes the Sonarix USB audio driver software from this computer."
                     : L"Setup installs the Sonarix USB audio driver software: the mixer control "
                       L"panel and the driver API library.");
  SendDlgItemMessage(IDC_SETUP_PROGRESS, PBM_SETRANGE32, 0,
                     static_cast<LPARAM>(setup_.Steps().size()));
  PostMessage(WM_SETUP_NEXT_STEP);
  return TRUE;
}

LRESULT SetupDlg::OnNextStep(UINT, WPARAM, LPARAM, BOOL&) {
  const std::vector<SetupStep>& steps = setup_.Steps();
  if (cancelRequested_ && !setup_.IsUninstall()) {
    exitCode_ = setup_.Finish(veltrano::status::kCancelled, true);
    ShowResult(veltrano::status::kCancelled, L"");
    return 0;
  }
  if (next_ >= steps.size()) {
    exitCode_ = setup_.Finish(veltrano::status::kOk, false);
    ShowResult(exitCode_ == kExitSuccess ? veltrano::status::kOk : veltrano::status::kFailed,
               L"");
    return 0;
  }
  const SetupStep& step = steps[next_++];
  SetDlgItemText(IDC_SETUP_STEP, step.description.c_str());
  const veltrano::Status result = step.run();
  SendDlgItemMessage(IDC_SETUP_PROGRESS, PBM_SETPOS, next_, 0);
  if (result != veltrano::status::kOk) {
    exitCode_ = setup_.Finish(result, false);
    ShowResult(result, step.description);
    return 0;
  }
  PostMessage(WM_SETUP_NEXT_STEP);
  return 0;
}

void SetupDlg::ShowResult(veltrano::Status result, const std::wstring& failedStep) {
  done_ = true;
  std::wstring text;
  if (exitCode_ == kExitSuccess) {
    text = setup_.IsUninstall() ? L"The software was removed." : L"The software was installed.";
  } else if (exitCode_ == kExitCancelled) {
    text = L"Setup was cancelled. Nothing was changed.";
  } else if (setup_.IsUninstall()) {
    text = L"Some files could not be removed; they are in use.";
  } else {
    text = L"Setup failed" + (failedStep.empty() ? L"" : L" at \"" + failedStep + L"\"") +
           L" (" + CodeText(result) + L"). Nothing was changed.";
  }
  SetDlgItemText(IDC_SETUP_STEP, L"");
  SetDlgItemText(IDC_SETUP_RESULT, text.c_str());
  SetDlgItemText(IDCANCEL, L"Close");
}

LRESULT SetupDlg::OnCancel(WORD, WORD, HWND, BOOL&) {
  if (done_) {
    EndDialog(exitCode_);
  } else {
    cancelRequested_ = true;
  }
  return 0;
}
