#pragma once
// A small program that installs the crash handler and crashes, or loads a library by name: the
// tests look at what it left behind. Small on purpose, since a full dump holds all its memory.
#include <windows.h>

#include <string>

constexpr char kCrashSwitch[] = "--crash-now";
// With kCrashSwitch: a second installation with other settings (the second name, the
// second folder below the local application data) comes before the crash.
constexpr char kInstallTwiceSwitch[] = "--install-twice";
// Followed by a library name: loads it through the normal search order and ends.
constexpr char kLoadByNameSwitch[] = "--load-by-name";

constexpr wchar_t kProbeName[] = L"crashprobe";
constexpr wchar_t kSecondProbeName[] = L"secondprobe";
constexpr wchar_t kSecondProbeFolder[] = L"CrashProbeSecond";

// Exit codes of a probe that went wrong before it could crash.
constexpr DWORD kProbeInstallFailed = 3;
constexpr DWORD kProbeSecondInstallChangedSomething = 4;
constexpr DWORD kProbeOutOfMemory = 5;
constexpr DWORD kProbeDidNotCrash = 6;
constexpr DWORD kProbeLoadFailed = 7;
constexpr DWORD kProbeBadCommandLine = 8;

constexpr size_t kMemoryMarkerLength = 25;  // "probe-marker-" + 8 hex digits + "-end"

// A text that exists only in the memory of the probe with this process id, never in its
// image: found in a dump, it shows that the dump holds the process's memory. Written straight
// into `out`, so that the probe leaves no copy of it on the stack, which even a small dump holds.
inline void WriteMemoryMarker(char* out, DWORD processId) {
  static const char kHex[] = "0123456789abcdef";
  static const char kHead[] = "probe-marker-";
  for (int i = 0; i < 13; ++i) out[i] = kHead[i];
  for (int digit = 0; digit < 8; ++digit) {
    out[13 + digit] = kHex[(processId >> (28 - 4 * digit)) & 0xF];
  }
  out[21] = '-';
  out[22] = 'e';
  out[23] = 'n';
  out[24] = 'd';
}

inline std::string MemoryMarkerOf(DWORD processId) {
  std::string marker(kMemoryMarkerLength, '\0');
  WriteMemoryMarker(&marker[0], processId);
  return marker;
}
