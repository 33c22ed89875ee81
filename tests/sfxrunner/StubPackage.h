#pragma once
// Packages of the real stub for end-to-end tests, and runs of them that answer every box.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "UiDriver.h"

constexpr DWORD kStubTimeoutMs = 30000;

// The stub with `config` as its document ("" removes it, null keeps the shipped one) and
// `archive` appended (none when empty), written as `name` in `folder`.
std::wstring MakePackage(const uitest::ScratchFolder& folder, const wchar_t* name,
                         const char* config, const std::wstring& archive = L"");

// A Windows path of a file that the build made.
inline std::wstring BuildFile(const char* unixPath) { return uitest::WindowsPathOf(unixPath); }

struct RunResult {
  std::vector<std::wstring> boxes;  // texts of the message boxes, in order
  std::wstring caption;             // caption of the first box
  uint32_t exitCode = 0;
};

// Starts the program, answers every message box it shows and waits for its end.
RunResult RunAnsweringBoxes(const std::wstring& program, const std::wstring& args = L"",
                            const uitest::StartOptions& options = {},
                            DWORD timeoutMs = kStubTimeoutMs);
