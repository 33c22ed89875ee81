#pragma once
// The one worker thread of a run. Its state and result are guarded by the run's lock (the
// caller holds it where the comments say so).
#include <windows.h>

#include <cstdint>

#include "Handles.h"
#include "VTStatus.h"

using veltrano::Status;

enum WorkerState : uint32_t {
  kWorkerIdle = 0,
  kWorkerStarted = 1,   // created, suspended
  kWorkerRunning = 2,   // set by the worker
  kWorkerFinished = 3,  // set by the worker
  kWorkerJoined = 4,    // set by the main thread
};

class WorkerThread {
 public:
  using Entry = unsigned(__stdcall*)(void* argument);

  WorkerThread() = default;
  ~WorkerThread() { Join(); }
  WorkerThread(const WorkerThread&) = delete;
  WorkerThread& operator=(const WorkerThread&) = delete;

  // Creates the thread suspended, then lets it run; 0xEE000008 when one exists already.
  Status Start(Entry entry, void* argument);
  // Waits for the end in one-second slices and closes the handle.
  Status Join();
  // The thread exists and has not ended yet.
  bool IsAlive() const;

  uint32_t threadId = 0;
  uint32_t stackSize = 0;  // 0: the default
  uint32_t state = kWorkerIdle;
  Status result = 0;

 private:
  UniqueHandle handle_;
};
