#include "MixerWindows.h"

// Neither mixer window is part of the program yet: start-up meets this like a window whose
// creation failed, and ends with its error code.
std::unique_ptr<winui::CDialogImplBase> CreateMixerWindow(MixerKind /*kind*/,
                                                          SonarixApiDll& /*api*/) {
  ::SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
  return nullptr;
}
