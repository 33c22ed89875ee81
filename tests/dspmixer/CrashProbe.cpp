// The crash handler's probe: "--crash-now [--install-twice]" or "--load-by-name <library>".
#include "CrashProbe.h"

#include <shlobj.h>
#include <string.h>

#include "CrashHandler.h"
#include "WnLibrary.h"

namespace {

constexpr size_t kMarkerRegionSize = 1 << 20;

char* volatile g_markerRegion = nullptr;

bool FillMemoryWithMarker() {
  char* region = static_cast<char*>(
      VirtualAlloc(nullptr, kMarkerRegionSize, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
  if (region == nullptr) return false;
  for (size_t at = 0; at + kMemoryMarkerLength <= kMarkerRegionSize; at += kMemoryMarkerLength) {
    WriteMemoryMarker(region + at, GetCurrentProcessId());
  }
  g_markerRegion = region;
  return true;
}

void DereferenceNull() {
  // Volatile, so that the compiler cannot see the null and turn the store into a trap.
  volatile int* volatile target = nullptr;
  *target = 1;
}

int InstallTwice() {
  if (InstallCrashHandler(kSecondProbeName, kSecondProbeFolder, CSIDL_LOCAL_APPDATA) !=
      ERROR_ALREADY_INITIALIZED) {
    return kProbeSecondInstallChangedSomething;
  }
  const CrashHandlerSettings* settings = InstalledCrashHandlerSettings();
  if (settings == nullptr || wcscmp(settings->applicationName, kProbeName) != 0 ||
      settings->specialFolderId != kNoSpecialFolder) {
    return kProbeSecondInstallChangedSomething;
  }
  return 0;
}

int CrashNow(bool installTwice) {
  if (InstallCrashHandler(kProbeName, L"%TEMP%", kNoSpecialFolder) != ERROR_SUCCESS) {
    return kProbeInstallFailed;
  }
  if (installTwice) {
    const int result = InstallTwice();
    if (result != 0) return result;
  }
  if (!FillMemoryWithMarker()) return kProbeOutOfMemory;
  DereferenceNull();
  return kProbeDidNotCrash;
}

int LoadByName(const char* name) {
  wchar_t wideName[MAX_PATH] = {};
  if (MultiByteToWideChar(CP_UTF8, 0, name, -1, wideName, MAX_PATH) == 0) {
    return kProbeBadCommandLine;
  }
  WnLibrary library;
  return library.Load(wideName) == ERROR_SUCCESS ? 0 : kProbeLoadFailed;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 2 && strcmp(argv[1], kCrashSwitch) == 0) {
    return CrashNow(argc >= 3 && strcmp(argv[2], kInstallTwiceSwitch) == 0);
  }
  if (argc == 3 && strcmp(argv[1], kLoadByNameSwitch) == 0) return LoadByName(argv[2]);
  return kProbeBadCommandLine;
}
