#include "SingleInstance.h"

#include <cwchar>

#include "MixerMessages.h"

namespace {
// A window that is still there after this many requests in a row is given up on.
constexpr int kMaxRepeatedRequests = 20;

HWND FindInstanceWindow(const std::wstring& instanceName) {
  return ::FindWindowW(instanceName.c_str(), nullptr);
}
}  // namespace

bool IsExitAllCommand(const wchar_t* commandLine) {
  return commandLine != nullptr && ::_wcsicmp(commandLine, L"-exitall") == 0;
}

int ExitAllInstances(const std::wstring& instanceName, DWORD pauseMs) {
  HWND lastWindow = nullptr;
  int repeats = 0;
  for (;;) {
    const HWND window = FindInstanceWindow(instanceName);
    if (window == nullptr) return kExitAllDone;
    if (window != lastWindow) {
      repeats = 0;
    } else if (++repeats > kMaxRepeatedRequests) {
      return kExitAllWindowStayed;
    }
    ::PostMessageW(window, WM_COMMAND, ID_APP_EXIT, 0);
    ::Sleep(pauseMs);
    lastWindow = window;
  }
}

InstanceMutex::InstanceMutex(const std::wstring& instanceName)
    : mutex_(::CreateMutexW(nullptr, FALSE, instanceName.c_str())) {
  firstInstance_ = mutex_.IsValid() && ::GetLastError() != ERROR_ALREADY_EXISTS;
}

void ActivateRunningInstance(const std::wstring& instanceName) {
  const HWND window = FindInstanceWindow(instanceName);
  if (window != nullptr) ::PostMessageW(window, WM_COMMAND, ID_ACTIVATE_MIXER, 0);
}
