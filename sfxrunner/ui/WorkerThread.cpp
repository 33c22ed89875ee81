#include "WorkerThread.h"

#include <process.h>

#include "VTLastError.h"

namespace status = veltrano::status;
using veltrano::LastErrorOr;

Status WorkerThread::Start(Entry entry, void* argument) {
  if (handle_.IsValid()) return status::kAlreadyStarted;
  result = 0;
  finished = false;
  const uintptr_t thread = _beginthreadex(nullptr, 0, entry, argument, 0, nullptr);
  if (thread == 0) return LastErrorOr();
  handle_.Reset(reinterpret_cast<HANDLE>(thread));
  return 0;
}

Status WorkerThread::Join() {
  if (!handle_.IsValid()) return 0;
  const DWORD waited = WaitForSingleObject(handle_.Get(), INFINITE);
  if (waited == WAIT_FAILED) return LastErrorOr();
  if (waited != WAIT_OBJECT_0) return status::kFailed;
  handle_.Reset();
  return 0;
}

bool WorkerThread::IsAlive() const {
  return handle_.IsValid() && WaitForSingleObject(handle_.Get(), 0) == WAIT_TIMEOUT;
}
