#pragma once
// The shared state of one set of simulated devices: a file in the state folder, mapped under a
// name that every process on the machine derives from the state's name, and a named mutex
// that serialises every read and write. The file keeps the devices when no process has the
// state open, as hardware keeps its settings while the mixer restarts.
#include <windows.h>

#include <string>
#include <utility>

#include "SimHandles.h"
#include "SimLayout.h"
#include "SimStatus.h"

namespace sonarixsim {

// Environment variable naming the state; a test chooses its own so that it never meets the
// user's devices or another test's.
constexpr wchar_t kStateNameVariable[] = L"SONARIX_SIM_STATE";
// Environment variable naming the folder of the state files (default %ProgramData%\SonarixSim).
constexpr wchar_t kStateFolderVariable[] = L"SONARIX_SIM_STATE_DIR";
constexpr wchar_t kDefaultStateName[] = L"Default";
constexpr DWORD kLockTimeoutMs = 5000;

// The name from the environment, or kDefaultStateName when it is not set.
std::wstring StateNameFromEnvironment();
// Letters, digits, '.', '_' and '-', 1 to 64 characters: the name goes into object names.
bool IsValidStateName(const std::wstring& name);
// The file that holds the state of that name.
std::wstring StateFilePath(const std::wstring& name);

class StateStore {
 public:
  StateStore() = default;
  StateStore(const StateStore&) = delete;
  StateStore& operator=(const StateStore&) = delete;

  // Opens (and on first use creates) the named state. A new file, or one of another layout
  // version, size or with any field out of its bounds, starts as after a reset: one device
  // with the default counts.
  Status Open(const std::wstring& name);
  bool IsOpen() const { return state_ != nullptr; }

  // The changes counter, read without the lock.
  LONG DeviceChanges() const;

  // Runs `operation(SharedState&)` with the mutex held and returns its status.
  template <typename Operation>
  Status Run(Operation&& operation) {
    if (state_ == nullptr) return status::kStateUnavailable;
    MutexLock lock(mutex_.Get(), kLockTimeoutMs);
    if (!lock.IsHeld()) return status::kStateBusy;
    return std::forward<Operation>(operation)(*state_);
  }

 private:
  Status CreateObjects(const std::wstring& name);
  // Maps the state, creating the mapping when no process has it; `resized` tells that the
  // file had to be given the state's size.
  Status MapState(const std::wstring& objectName, bool& resized);

  UniqueHandle mutex_;
  UniqueHandle file_;
  UniqueHandle mapping_;
  MappedView view_;
  SharedState* state_ = nullptr;
};

}  // namespace sonarixsim
