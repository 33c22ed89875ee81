#pragma once
// The program's run after start-up: the first window, the remote command listener and the
// message loop. The result is the process exit code.
#include <windows.h>

class Config;
class SonarixApiDll;

int Run(HINSTANCE instance, const wchar_t* commandLine, int showCommand, const Config& config,
        SonarixApiDll& api);
