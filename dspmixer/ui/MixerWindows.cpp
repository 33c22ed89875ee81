#include "MixerWindows.h"

#include "SimpleMixerDlg.h"

std::unique_ptr<winui::CDialogImplBase> CreateMixerWindow(MixerKind kind, SonarixApiDll& api,
                                                          const Config& config) {
  // The advanced window is not part of the program yet: start-up meets it like a window whose
  // creation failed.
  if (kind != MixerKind::Simple) return nullptr;
  auto window = std::make_unique<SimpleMixerDlg>(api, config);
  window->Create(nullptr);
  return window;
}
