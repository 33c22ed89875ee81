#pragma once
// The one failure a run ends with: what was being done, to which file, and the Windows error.
#include <windows.h>

#include <string>

#include "VTStatus.h"

namespace sfxpack {

using veltrano::Status;

struct PackFailure {
  Status status = veltrano::status::kOk;
  std::wstring action;  // "cannot read the archive"
  std::wstring path;
  std::wstring reason;  // for our own codes; empty: the system's text for the code
};

// Records the failure and returns its status; a step that failed without an error code
// still fails (0xEE000001).
inline Status Fail(PackFailure& failure, Status status, const wchar_t* action,
                   const std::wstring& path) {
  failure.status = status != veltrano::status::kOk ? status : veltrano::status::kFailed;
  failure.action = action;
  failure.path = path;
  return failure.status;
}

inline Status FailWithLastError(PackFailure& failure, const wchar_t* action,
                                const std::wstring& path) {
  return Fail(failure, GetLastError(), action, path);
}

// A failure that the system has no text for.
inline Status FailBecause(PackFailure& failure, Status status, const wchar_t* action,
                          const std::wstring& path, const wchar_t* reason) {
  failure.reason = reason;
  return Fail(failure, status, action, path);
}

// The failure as one line: `sfxpack: <action> "<path>": <reason> (error <code>)`.
std::wstring DescribeFailure(const PackFailure& failure);

}  // namespace sfxpack
