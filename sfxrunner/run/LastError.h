#pragma once
// The status of a Windows call that has just failed.
#include <windows.h>

#include "VTStatus.h"

// The calling thread's last Windows error; a call that failed without one still failed, and
// then answers `fallback`.
inline veltrano::Status LastErrorOr(veltrano::Status fallback = veltrano::status::kFailed) {
  const DWORD error = GetLastError();
  return error != 0 ? error : fallback;
}
