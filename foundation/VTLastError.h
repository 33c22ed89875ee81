#pragma once
// The status of a Windows call that has just failed.
#include <windows.h>

#include "VTStatus.h"

namespace veltrano {

// The calling thread's last Windows error; a call that failed without one still failed, and
// then answers `fallback`, so that a failure never reads as success.
inline Status LastErrorOr(Status fallback = status::kFailed) {
  const DWORD error = ::GetLastError();
  return error != 0 ? error : fallback;
}

}  // namespace veltrano
