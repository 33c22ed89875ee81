#include "MixerWindows.h"

// Neither mixer window is part of the program yet: start-up meets this like a window whose
// creation failed.
std::unique_ptr<winui::CDialogImplBase> CreateMixerWindow(MixerKind /*kind*/,
                                                          SonarixApiDll& /*api*/) {
  return nullptr;
}
