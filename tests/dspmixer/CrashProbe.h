#pragma once
// The test executable started again as a child of itself: it installs the crash handler and
// crashes, or loads a library by name, and the parent looks at what that left behind.
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

// Exit codes of a child that went wrong before it could crash.
constexpr DWORD kProbeInstallFailed = 3;
constexpr DWORD kProbeSecondInstallChangedSomething = 4;
constexpr DWORD kProbeOutOfMemory = 5;
constexpr DWORD kProbeDidNotCrash = 6;
constexpr DWORD kProbeLoadFailed = 7;
constexpr DWORD kProbeBadCommandLine = 8;

// A text that exists only in the memory of the child with this process id, never in its
// image: found in a dump, it shows that the dump holds the process's memory.
std::string MemoryMarkerOf(DWORD processId);

bool IsProbeCommandLine(int argc, char** argv);
int RunProbe(int argc, char** argv);
