// The stub's entry: set-up in a fixed order, one run of the App, the one message box, and the
// process exit code (the failing status, or the launched program's exit code).
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <cstdint>
#include <cwchar>

#include "App.h"
#include "AppModule.h"
#include "CmdLine.h"
#include "CrashHandler.h"
#include "ReportStatus.h"
#include "SafeDllSearch.h"

namespace {

constexpr DWORD kCommonControlClasses = ICC_COOL_CLASSES | ICC_BAR_CLASSES;

#ifdef SFX_TEST_CRASH_SWITCH
// Test builds only: "--test-crash" on the command line crashes right after the crash handler
// is installed, so that the dump it writes can be checked.
void CrashIfAsked() {
  if (std::wcsstr(GetCommandLineW(), L"--test-crash") != nullptr) {
    volatile int* nowhere = nullptr;
    *nowhere = 1;
  }
}
#else
void CrashIfAsked() {}
#endif

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  RestrictDllSearchToSystemFolder();
  InstallCrashHandler(L"sfxrunner", L"%TEMP%", -1);
  CrashIfAsked();
  // A rejected command line never reaches the configuration: the box has the bare caption.
  if (ParseCommandLine() != 0) return static_cast<int>(ReportStatus(veltrano::status::kInvalidCommandLine));

  CoInitialize(nullptr);
  DefWindowProcW(nullptr, 0, 0, 0);
  INITCOMMONCONTROLSEX controls = {sizeof controls, kCommonControlClasses};
  InitCommonControlsEx(&controls);

  winui::AppModule().Init(instance);
  uint32_t exitValue = 0;
  Status result;
  {
    App app(instance);
    result = app.Run(&exitValue);
    winui::AppModule().Term();
    CoUninitialize();
    ReportStatus(result);
  }
  return static_cast<int>(result != 0 ? result : exitValue);
}
