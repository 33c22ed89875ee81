#include "CrashProbe.h"

#include <shlobj.h>
#include <string.h>

#include "CrashHandler.h"
#include "WnLibrary.h"

namespace {

constexpr size_t kMarkerRegionSize = 1 << 20;
constexpr size_t kMarkerLength = 25;  // "probe-marker-" + 8 hex digits + "-end"

// Written straight into `out`, so that no copy of the text lands on the stack, which even a
// small dump would hold.
void WriteMarker(char* out, DWORD processId) {
  static const char kHex[] = "0123456789abcdef";
  memcpy(out, "probe-marker-", 13);
  for (int digit = 0; digit < 8; ++digit) {
    out[13 + digit] = kHex[(processId >> (28 - 4 * digit)) & 0xF];
  }
  memcpy(out + 21, "-end", 4);
}

char* volatile g_markerRegion = nullptr;

bool FillMemoryWithMarker() {
  char* region = static_cast<char*>(
      VirtualAlloc(nullptr, kMarkerRegionSize, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
  if (region == nullptr) return false;
  for (size_t at = 0; at + kMarkerLength <= kMarkerRegionSize; at += kMarkerLength) {
    WriteMarker(region + at, GetCurrentProcessId());
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

std::string MemoryMarkerOf(DWORD processId) {
  std::string marker(kMarkerLength, '\0');
  WriteMarker(&marker[0], processId);
  return marker;
}

bool IsProbeCommandLine(int argc, char** argv) {
  return argc >= 2 &&
         (strcmp(argv[1], kCrashSwitch) == 0 || strcmp(argv[1], kLoadByNameSwitch) == 0);
}

int RunProbe(int argc, char** argv) {
  if (strcmp(argv[1], kCrashSwitch) == 0) {
    return CrashNow(argc >= 3 && strcmp(argv[2], kInstallTwiceSwitch) == 0);
  }
  if (argc == 3) return LoadByName(argv[2]);
  return kProbeBadCommandLine;
}
