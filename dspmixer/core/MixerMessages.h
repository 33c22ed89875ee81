#pragma once
// Window messages and commands private to the mixer: the driver and a second start of the
// program reach the running mixer window only through these.
#include <windows.h>

#include "CommandIds.h"  // ID_APP_EXIT: close the window and end the process

// WM_COMMAND identifier: bring the mixer window to the front.
constexpr WORD ID_ACTIVATE_MIXER = 0x8002;

// Posted once to a mixer window right after it was shown.
constexpr UINT WM_MIXER_START = WM_APP + 1;
// Posted by the driver API: wParam 1 or 2, a device arrived or went away.
constexpr UINT WM_DEVICE_PNP = WM_APP + 3;
// Posted by a mixer window to itself: run the deferred device update.
constexpr UINT WM_UPDATE_DEVICES = WM_APP + 4;

// The exit code of a mixer window that was closed normally (the wParam of its WM_QUIT).
constexpr int kMixerClosedExitCode = 2;
