// The mixer program's entry: crash handler, configuration and texts, "-exitall", one instance
// per driver interface, the driver API binding, then the windows.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "AppModule.h"
#include "Config.h"
#include "CrashHandler.h"
#include "ErrorMessage.h"
#include "LanguageTexts.h"
#include "MessageBoxes.h"
#include "Run.h"
#include "SingleInstance.h"
#include "SonarixApiDll.h"
#include "WnTraceLog.h"

// Process-wide: built before the entry runs, destroyed after it returns.
Config g_config;
SonarixApiDll g_sonarixApi;
// The trace context exists for the whole process; it writes nothing unless switched on.
WnTraceLogContext& g_trace = TraceLog();

namespace {

constexpr wchar_t kApplicationName[] = L"SonarixMixerControlPanel";
// The configuration boxes keep their caption whatever language was loaded.
constexpr wchar_t kConfigBoxCaption[] = L"Sonarix Mixer Control";
constexpr wchar_t kDriverApiFileName[] = L"sonarixapi.dll";
constexpr uint32_t kRequiredApiMajor = 5;
constexpr uint32_t kRequiredApiMinor = 7;

void ReportConfigResult(StatusCode status) {
  if (status == mixer_status::kConfigIncompatible) {
    ShowMessageBox(nullptr,
                   L"Incompatible application configuration file.\n"
                   L"Default configuration will be used.",
                   kConfigBoxCaption, MB_ICONERROR);
  } else if (status == mixer_status::kConfigOpenFailed) {
    ShowMessageBox(nullptr,
                   L"Failed to open application configuration file.\n"
                   L"Default configuration will be used.",
                   kConfigBoxCaption, MB_ICONERROR);
  }
}

StatusCode BindDriverApi(const Config& config, SonarixApiDll& api) {
  if (!config.DriverInterfaceGUID().empty()) {
    return api.LoadFromClsid(config.DriverInterfaceGUID().c_str(), true, kRequiredApiMajor,
                             kRequiredApiMinor);
  }
  return api.LoadFromExecutableFolder(kDriverApiFileName, true, kRequiredApiMajor,
                                      kRequiredApiMinor);
}

void ReportBindFailure(StatusCode status) {
  if (status == ERROR_FILE_NOT_FOUND) {
    ShowMessageBox(nullptr, GetText(LanguageKey::ERROR_MESSAGE_DRIVER_API_DLL_NOT_FOUND),
                   GetText(LanguageKey::APP_TITLE), MB_ICONERROR);
  } else if (status == mixer_status::kNotCompatible) {
    ShowMessageBox(nullptr, GetText(LanguageKey::ERROR_MESSAGE_DRIVER_API_DLL_NOT_COMPATIBLE),
                   GetText(LanguageKey::APP_TITLE), MB_ICONERROR);
  } else {
    ShowErrorMessage(nullptr, L"_tWinMain", L"Load", status);
  }
}

// COM, the trackbar controls and the application module for the span of the run.
int RunWithUiServices(HINSTANCE instance, const wchar_t* commandLine, int showCommand) {
  const HRESULT com = ::CoInitialize(nullptr);
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_BAR_CLASSES};
  ::InitCommonControlsEx(&controls);
  winui::AppModule().Init(instance);
  const int result = Run(instance, commandLine, showCommand, g_config, g_sonarixApi);
  winui::AppModule().Term();
  if (SUCCEEDED(com)) ::CoUninitialize();
  return result;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int showCommand) {
  InstallCrashHandler(kApplicationName, nullptr, kNoSpecialFolder);
  ReportConfigResult(g_config.Load(nullptr));
  if (IsExitAllCommand(commandLine)) return ExitAllInstances(g_config.InstanceName());

  // The first instance holds the mutex until the process ends.
  const InstanceMutex instanceMutex(g_config.InstanceName());
  if (!instanceMutex.IsFirstInstance()) {
    ActivateRunningInstance(g_config.InstanceName());
    return 0;
  }

  const StatusCode bound = BindDriverApi(g_config, g_sonarixApi);
  if (bound != mixer_status::kOk) {
    ReportBindFailure(bound);
    return static_cast<int>(bound);
  }
  return RunWithUiServices(instance, commandLine, showCommand);
}
