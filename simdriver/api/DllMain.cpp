#include <windows.h>

#include "ApiContext.h"

namespace {
HMODULE g_module = nullptr;
}  // namespace

HMODULE sonarixsim::LibraryModule() { return g_module; }

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID /*reserved*/) {
  if (reason == DLL_PROCESS_ATTACH) {
    g_module = instance;
    DisableThreadLibraryCalls(instance);
  }
  return TRUE;
}
