// The driver package's setup program: installs the user software of the USB audio driver, or
// removes it ("/uninstall"), with a small window or none ("/quiet"). Exit codes: 0 done,
// 1602 cancelled, 1603 failed, 1605 nothing to remove, 1618 another run of setup is in
// progress, 87 bad arguments; every run leaves its steps in the log file.
#include <windows.h>
#include <commctrl.h>

#include "ProductLayout.h"
#include "Setup.h"
#include "SetupDlg.h"
#include "SetupLog.h"
#include "SetupOptions.h"
#include "VTHandles.h"

namespace {

constexpr wchar_t kCaption[] = L"Sonarix USB Audio Driver Setup";
constexpr wchar_t kUsage[] =
    L"The command line is not understood.\n\n"
    L"setup [/quiet] [/dir=FOLDER]\n    installs the software (again)\n"
    L"setup /uninstall [/quiet] [/dir=FOLDER]\n    removes it";

// Two runs at once would interleave their backups and remove each other's files: one run at a
// time on the machine, the others end at once.
constexpr wchar_t kSingleRunMutex[] = L"Global\\SonarixUsbAudioDriverSetup";

class SingleRun {
 public:
  SingleRun() : mutex_(::CreateMutexW(nullptr, FALSE, kSingleRunMutex)) {
    const DWORD waited = mutex_.IsValid() ? ::WaitForSingleObject(mutex_.Get(), 0) : WAIT_FAILED;
    // An abandoned mutex is a run that was killed: this one may go on.
    held_ = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
  }
  ~SingleRun() { Release(); }
  SingleRun(const SingleRun&) = delete;
  SingleRun& operator=(const SingleRun&) = delete;

  bool IsHeld() const { return held_; }
  void Release() {
    if (held_) ::ReleaseMutex(mutex_.Get());
    held_ = false;
  }

 private:
  veltrano::UniqueHandle mutex_;
  bool held_ = false;
};

bool SameFolder(const std::wstring& left, const std::wstring& right) {
  return ::lstrcmpiW(left.c_str(), right.c_str()) == 0;
}

// The installed setup.exe cannot remove its own file while it runs: a copy in the temporary
// folder does the removal, and this process ends at once so that its file can go.
int RemoveThroughCopy(const SetupOptions& options, const std::wstring& folder, SetupLog& log) {
  wchar_t temp[MAX_PATH + 1] = {};
  ::GetTempPathW(MAX_PATH + 1, temp);
  const std::wstring copy =
      Join(temp, L"SonarixSetup-" + std::to_wstring(::GetCurrentProcessId()) + L".exe");
  if (!::CopyFileW(Join(folder, product::kSetupFile).c_str(), copy.c_str(), FALSE)) {
    log.Write(L"cannot copy setup to " + copy, ::GetLastError());
    return kExitFailed;
  }
  // The copy goes when Windows starts next.
  ::MoveFileExW(copy.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
  std::wstring commandLine = L"\"" + copy + L"\" /uninstall /dir=\"" + folder + L"\"";
  if (options.quiet) commandLine += L" /quiet";
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started = {};
  if (!::CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, temp,
                        &startup, &started)) {
    log.Write(L"cannot start " + copy, ::GetLastError());
    return kExitFailed;
  }
  ::CloseHandle(started.hThread);
  ::CloseHandle(started.hProcess);
  log.Write(L"the removal goes on in " + copy);
  return kExitSuccess;
}

void ShowBox(const SetupOptions& options, const wchar_t* text, UINT icon) {
  if (!options.quiet) ::MessageBoxW(nullptr, text, kCaption, MB_OK | icon);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  SetupLog log;
  log.Write(std::wstring(L"started: ") + ::GetCommandLineW());
  SetupOptions options;
  std::wstring badArgument;
  if (ParseSetupOptions(ProcessArguments(), options, badArgument) != veltrano::status::kOk) {
    log.Write(L"bad argument: " + badArgument);
    ShowBox(options, kUsage, MB_ICONERROR);
    return kExitBadArguments;
  }
  const veltrano::ComApartment com;
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_PROGRESS_CLASS};
  ::InitCommonControlsEx(&controls);

  SingleRun run;
  if (!run.IsHeld()) {
    log.Write(L"another installation is in progress");
    ShowBox(options, L"Another installation is in progress. Wait until it has ended, then run "
            L"setup again.", MB_ICONWARNING);
    return kExitAnotherRun;
  }
  if (options.uninstall) {
    std::wstring folder = options.folder.empty() ? InstalledFolder() : options.folder;
    if (folder.empty() || ::GetFileAttributesW(folder.c_str()) == INVALID_FILE_ATTRIBUTES) {
      log.Write(L"the software is not installed: nothing to remove");
      ShowBox(options, L"The software is not installed: there is nothing to remove.",
              MB_ICONINFORMATION);
      return kExitNotInstalled;
    }
    if (SameFolder(folder, OwnFolder())) {
      run.Release();  // the copy that does the removal takes its turn at once
      return RemoveThroughCopy(options, folder, log);
    }
  }
  Setup setup(options, log);
  const veltrano::Status prepared = setup.Prepare();
  if (prepared != veltrano::status::kOk) {
    log.Write(L"setup cannot start", prepared);
    ShowBox(options, L"Setup cannot start: the package is incomplete or damaged.", MB_ICONERROR);
    return kExitFailed;
  }
  if (options.quiet) return setup.RunAll();
  SetupDlg dialog(setup);
  const INT_PTR result = dialog.DoModal(nullptr);
  return result < 0 ? setup.Finish(veltrano::status::kFailed, false) : static_cast<int>(result);
}
