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

// The message loop of the UI thread, known to the application module while it exists.
class RegisteredMessageLoop {
 public:
  RegisteredMessageLoop() { winui::AppModule().AddMessageLoop(&loop_); }
  ~RegisteredMessageLoop() { winui::AppModule().RemoveMessageLoop(); }
  RegisteredMessageLoop(const RegisteredMessageLoop&) = delete;
  RegisteredMessageLoop& operator=(const RegisteredMessageLoop&) = delete;

  int Run() { return loop_.Run(); }

 private:
  winui::CMessageLoop loop_;
};

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

// The window object must not outlive its window's messages: destroy the window first.
void DestroyMixerWindow(std::unique_ptr<winui::CDialogImplBase>& mixer) {
  if (mixer->IsWindow()) mixer->DestroyWindow();
  mixer.reset();
}

}  // namespace

int Run(HINSTANCE instance, const wchar_t* /*commandLine*/, int showCommand, const Config& config,
        SonarixApiDll& api) {
  RegisteredMessageLoop loop;
  const std::optional<MixerKind> kind = ChooseMixer(config);
  if (!kind) return 0;

  std::unique_ptr<winui::CDialogImplBase> mixer = CreateMixerWindow(*kind, api);
  if (mixer == nullptr || !mixer->IsWindow()) return ERROR_FUNCTION_FAILED;
  mixer->ShowWindow(showCommand);
  mixer->PostMessage(WM_MIXER_START);

  auto listener =
      std::make_unique<RemoteCommandListener>(instance, mixer->m_hWnd, config.InstanceName());
  const DWORD listening = listener->StartListening();
  if (listening != ERROR_SUCCESS) {
    ShowErrorMessage(nullptr, L"Run", L"StartListening", listening);
    listener.reset();
    DestroyMixerWindow(mixer);
    return static_cast<int>(listening);
  }

  const int result = loop.Run();
  listener->StopListening();
  listener.reset();
  DestroyMixerWindow(mixer);
  return result;
}
