#include "Wow64FsRedirectionGuard.h"

#include "LastError.h"

namespace {
template <typename Fn>
Fn ProcAddress(HMODULE module, const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}
}  // namespace

Wow64FsRedirectionGuard::Wow64FsRedirectionGuard() {
  BOOL wow64 = FALSE;
  if (!IsWow64Process(GetCurrentProcess(), &wow64)) {
    error_ = LastErrorOr();
    return;
  }
  if (!wow64) return;
  kernel32_ = LoadLibraryW(L"kernel32.dll");  // a known system library: never searched for
  if (kernel32_ == nullptr) {
    error_ = LastErrorOr();
    return;
  }
  const auto disable = ProcAddress<DisableFn>(kernel32_, "Wow64DisableWow64FsRedirection");
  revert_ = ProcAddress<RevertFn>(kernel32_, "Wow64RevertWow64FsRedirection");
  if (disable == nullptr || revert_ == nullptr) {
    error_ = LastErrorOr();
    return;
  }
  if (!disable(&oldValue_)) {
    error_ = LastErrorOr();
    return;
  }
  disabled_ = true;
}

Wow64FsRedirectionGuard::~Wow64FsRedirectionGuard() {
  if (disabled_) revert_(oldValue_);
  if (kernel32_ != nullptr) FreeLibrary(kernel32_);
}
