#pragma once
// One mixer per driver interface: a mutex and the listener window's class, both named by the
// instance name. A second start only activates the running window; "-exitall" closes it.
#include <windows.h>

#include <string>

#include "StatusCode.h"
#include "VTHandles.h"

// Exit codes of the exit-all command.
constexpr int kExitAllDone = 0;
constexpr int kExitAllWindowStayed = 100;

// The whole command line is "-exitall" in any case, with nothing beside it.
bool IsExitAllCommand(const wchar_t* commandLine);

// Asks the instance window to close until none is left: 0, or 100 when the same window is
// still there after 21 requests. `pauseMs` is the wait after each request.
int ExitAllInstances(const std::wstring& instanceName, DWORD pauseMs = 500);

// The single-instance mutex; the first instance keeps it open until the process ends.
class InstanceMutex {
 public:
  explicit InstanceMutex(const std::wstring& instanceName);
  InstanceMutex(const InstanceMutex&) = delete;
  InstanceMutex& operator=(const InstanceMutex&) = delete;

  // True when this process created the mutex; false when it existed already or creating it
  // failed (either way another instance is taken to run).
  bool IsFirstInstance() const { return firstInstance_; }

 private:
  veltrano::UniqueHandle mutex_;
  bool firstInstance_ = false;
};

// Posts ID_ACTIVATE_MIXER to the running instance's listener window, if there is one.
void ActivateRunningInstance(const std::wstring& instanceName);
