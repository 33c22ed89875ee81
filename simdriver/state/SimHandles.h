#pragma once
// One small owner per kind of resource the simulation holds: kernel handles, a mapped view,
// a process-local critical section, the shared state's mutex while held.
#include <windows.h>

#include "VTHandles.h"

namespace sonarixsim {

using veltrano::UniqueHandle;

class MappedView {
 public:
  MappedView() = default;
  ~MappedView() { Reset(); }
  MappedView(const MappedView&) = delete;
  MappedView& operator=(const MappedView&) = delete;

  void* Get() const { return view_; }
  void Reset(void* view = nullptr) {
    if (view_ != nullptr) UnmapViewOfFile(view_);
    view_ = view;
  }

 private:
  void* view_ = nullptr;
};

using veltrano::CriticalSection;
using CriticalSectionLock = veltrano::ScopedLock;

// Holds a mutex from a successful wait until destruction. An abandoned mutex counts as taken:
// its owner died, and the state it left is still the best there is.
class MutexLock {
 public:
  MutexLock(HANDLE mutex, DWORD timeoutMs) {
    const DWORD wait = WaitForSingleObject(mutex, timeoutMs);
    if (wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED) mutex_ = mutex;
  }
  ~MutexLock() {
    if (mutex_ != nullptr) ReleaseMutex(mutex_);
  }
  MutexLock(const MutexLock&) = delete;
  MutexLock& operator=(const MutexLock&) = delete;

  bool IsHeld() const { return mutex_ != nullptr; }

 private:
  HANDLE mutex_ = nullptr;
};

}  // namespace sonarixsim
