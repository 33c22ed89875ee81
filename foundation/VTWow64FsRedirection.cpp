#include "VTWow64FsRedirection.h"

#include "VTLastError.h"

namespace veltrano {

namespace {

using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);
using DisableFn = BOOL(WINAPI*)(PVOID*);
using RevertFn = BOOL(WINAPI*)(PVOID);

// kernel32 is mapped into every process: no reference of our own is needed. Looked up by
// name, so that systems without WOW64 functions still run.
template <typename Fn>
Fn Kernel32Function(const char* name) {
  return reinterpret_cast<Fn>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), name)));
}

Status QueryWow64(bool& wow64) {
  wow64 = false;
  const auto isWow64Process = Kernel32Function<IsWow64ProcessFn>("IsWow64Process");
  if (isWow64Process == nullptr) return status::kOk;
  BOOL answer = FALSE;
  if (!isWow64Process(::GetCurrentProcess(), &answer)) return LastErrorOr();
  wow64 = answer != FALSE;
  return status::kOk;
}

}  // namespace

bool RunsUnderWow64() {
  bool wow64 = false;
  return QueryWow64(wow64) == status::kOk && wow64;
}

Status Wow64FsRedirectionOff::SwitchOff() {
  if (off_) return status::kOk;
  bool wow64 = false;
  VT_RETURN_IF_FAILED(QueryWow64(wow64));
  if (!wow64) return status::kOk;
  const auto disable = Kernel32Function<DisableFn>("Wow64DisableWow64FsRedirection");
  if (disable == nullptr) return LastErrorOr(ERROR_PROC_NOT_FOUND);
  if (!disable(&oldValue_)) return LastErrorOr();
  off_ = true;
  return status::kOk;
}

Status Wow64FsRedirectionOff::Revert() {
  if (!off_) return status::kOk;
  off_ = false;
  const auto revert = Kernel32Function<RevertFn>("Wow64RevertWow64FsRedirection");
  if (revert == nullptr) return LastErrorOr(ERROR_PROC_NOT_FOUND);
  return revert(oldValue_) ? status::kOk : LastErrorOr();
}

}  // namespace veltrano
