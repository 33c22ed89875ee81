#include "WorkerThread.h"

#include <process.h>

namespace status = veltrano::status;

namespace {
constexpr DWORD kJoinSliceMs = 1000;
}

Status WorkerThread::Start(Entry entry, void* argument) {
  if (handle_.IsValid()) return status::kAlreadyStarted;
  state = kWorkerStarted;
  result = 0;
  unsigned id = 0;
  const uintptr_t thread =
      _beginthreadex(nullptr, stackSize, entry, argument, CREATE_SUSPENDED, &id);
  if (thread == 0) {
    const DWORD error = GetLastError();
    threadId = 0;
    state = kWorkerIdle;
    Join();
    return error != 0 ? error : status::kFailed;
  }
  handle_.Reset(reinterpret_cast<HANDLE>(thread));
  threadId = id;
  ResumeThread(handle_.Get());
  return 0;
}

Status WorkerThread::Join() {
  if (!handle_.IsValid()) {
    state = kWorkerJoined;
    return 0;
  }
  DWORD waited;
  while ((waited = WaitForSingleObject(handle_.Get(), kJoinSliceMs)) == WAIT_TIMEOUT) {
  }
  if (waited == WAIT_FAILED) return GetLastError();
  if (waited != WAIT_OBJECT_0) return status::kFailed;
  handle_.Reset();
  threadId = 0;
  state = kWorkerJoined;
  return 0;
}

bool WorkerThread::IsAlive() const {
  return handle_.IsValid() && WaitForSingleObject(handle_.Get(), 0) == WAIT_TIMEOUT;
}
