#include "MixerWindows.h"

#include "FullMixerDlg.h"
#include "SimpleMixerDlg.h"

namespace {

template <class Window>
std::unique_ptr<winui::CDialogImplBase> Create(SonarixApiDll& api, const Config& config) {
  auto window = std::make_unique<Window>(api, config);
  window->Create(nullptr);
  return window;
}

}  // namespace

std::unique_ptr<winui::CDialogImplBase> CreateMixerWindow(MixerKind kind, SonarixApiDll& api,
                                                          const Config& config) {
  return kind == MixerKind::Simple ? Create<SimpleMixerDlg>(api, config)
                                   : Create<FullMixerDlg>(api, config);
}
