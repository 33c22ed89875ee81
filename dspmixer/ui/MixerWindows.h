#pragma once
// The mixer window that start-up shows after the select window: the simple or the advanced
// mixer, a modeless dialog over the driver API binding.
#include <windows.h>

#include <memory>

#include "DialogImpl.h"

class Config;
class SonarixApiDll;

// Which mixer the user or the configuration chose.
enum class MixerKind { Simple, Advanced };

// Creates the mixer window of `kind` (not yet shown). Null, or an object without a window,
// when it cannot be created; a window that ended during its start has posted WM_QUIT.
std::unique_ptr<winui::CDialogImplBase> CreateMixerWindow(MixerKind kind, SonarixApiDll& api,
                                                          const Config& config);
