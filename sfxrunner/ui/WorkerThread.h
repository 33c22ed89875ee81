#pragma once
// The one worker thread of a run. Its result is guarded by the run's lock (the caller holds it
// where the comments say so).
#include <windows.h>

#include "Handles.h"
#include "VTStatus.h"

using veltrano::Status;

class WorkerThread {
 public:
  using Entry = unsigned(__stdcall*)(void* argument);

  WorkerThread() = default;
  ~WorkerThread() { Join(); }
  WorkerThread(const WorkerThread&) = delete;
  WorkerThread& operator=(const WorkerThread&) = delete;

  // Starts the thread; 0xEE000008 when one exists already.
  Status Start(Entry entry, void* argument);
  // Waits for the end and closes the handle.
  Status Join();
  // The thread exists and has not ended yet.
  bool IsAlive() const;

  Status result = 0;
  // Set by the worker as its last step: its result is final and the thread is ending.
  bool finished = false;

 private:
  UniqueHandle handle_;
};
