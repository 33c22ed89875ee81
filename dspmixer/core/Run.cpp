#include "Run.h"

#include <memory>
#include <optional>

#include "AppModule.h"
#include "Config.h"
#include "ErrorMessage.h"
#include "MessageLoop.h"
#include "MixerWindows.h"
#include "RemoteCommandListener.h"
#include "SelectDlg.h"

namespace {

// The configured mixer, or the user's choice in the select window; none means quit.
std::optional<MixerKind> ChooseMixer(const Config& config) {
  if (config.StartWindow() == kStartWithSimpleMixer) return MixerKind::Simple;
  if (config.StartWindow() == kStartWithAdvancedMixer) return MixerKind::Advanced;
  SelectDlg select;
  switch (select.DoModal(::GetActiveWindow())) {
    case IDC_SELECT_SIMPLE:
      return MixerKind::Simple;
    case IDC_SELECT_ADVANCED:
      return MixerKind::Advanced;
    default:
      return std::nullopt;
  }
}

// A mixer window that reported a failure of its start has gone and posted WM_QUIT with its exit
// code; any other window that could not be created ends the program with a failure of its own.
int ExitCodeOfFailedStart() {
  MSG quit;
  if (::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    return static_cast<int>(quit.wParam);
  }
  return ERROR_FUNCTION_FAILED;
}

// The window object must not outlive its window's messages: destroy the window first.
void DestroyMixerWindow(std::unique_ptr<winui::CDialogImplBase>& mixer) {
  if (mixer->IsWindow()) mixer->DestroyWindow();
  mixer.reset();
}

// Runs the message loop while a second start can reach the mixer window; the listener is gone
// again before the caller destroys that window.
int ListenAndRun(HINSTANCE instance, HWND mixerWindow, const Config& config,
                 winui::RegisteredMessageLoop& loop) {
  RemoteCommandListener listener(instance, mixerWindow, config.InstanceName());
  const DWORD listening = listener.StartListening();
  if (listening != ERROR_SUCCESS) {
    ShowErrorMessage(nullptr, L"Run", L"StartListening", listening);
    return static_cast<int>(listening);
  }
  return loop.Run();
}

}  // namespace

int Run(HINSTANCE instance, const wchar_t* /*commandLine*/, int showCommand, const Config& config,
        SonarixApiDll& api) {
  winui::RegisteredMessageLoop loop;
  const std::optional<MixerKind> kind = ChooseMixer(config);
  if (!kind) return 0;

  std::unique_ptr<winui::CDialogImplBase> mixer = CreateMixerWindow(*kind, api, config);
  if (mixer == nullptr || !mixer->IsWindow()) return ExitCodeOfFailedStart();
  mixer->ShowWindow(showCommand);
  mixer->PostMessage(WM_MIXER_START);

  const int result = ListenAndRun(instance, mixer->m_hWnd, config, loop);
  DestroyMixerWindow(mixer);
  return result;
}
