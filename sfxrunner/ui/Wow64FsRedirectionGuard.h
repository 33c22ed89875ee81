#pragma once
// Switches the file-system redirection of a 32-bit process under WOW64 off for the worker's
// file work (so it sees the native system folders) and back on when it goes. Outside WOW64 it
// does nothing.
#include <windows.h>

#include "VTStatus.h"

using veltrano::Status;

class Wow64FsRedirectionGuard {
 public:
  Wow64FsRedirectionGuard();
  ~Wow64FsRedirectionGuard();
  Wow64FsRedirectionGuard(const Wow64FsRedirectionGuard&) = delete;
  Wow64FsRedirectionGuard& operator=(const Wow64FsRedirectionGuard&) = delete;

  // 0, or the error that kept redirection from being switched off.
  Status Error() const { return error_; }
  bool IsRedirectionOff() const { return disabled_; }

 private:
  using DisableFn = BOOL(WINAPI*)(PVOID*);
  using RevertFn = BOOL(WINAPI*)(PVOID);

  HMODULE kernel32_ = nullptr;
  RevertFn revert_ = nullptr;
  PVOID oldValue_ = nullptr;
  bool disabled_ = false;
  Status error_ = 0;
};
