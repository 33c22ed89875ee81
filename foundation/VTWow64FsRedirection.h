#pragma once
// The file-system redirection of a 32-bit process on 64-bit Windows, switched off for the
// calling thread so that file work sees the native system folders, and back on when the owner
// goes at the latest. Outside WOW64 it does nothing. Redirection is per thread, and DLL loading
// fails while it is off: keep it off around file work only.
#include <windows.h>

#include "VTStatus.h"

namespace veltrano {

class Wow64FsRedirectionOff {
 public:
  Wow64FsRedirectionOff() = default;
  ~Wow64FsRedirectionOff() { Revert(); }
  Wow64FsRedirectionOff(const Wow64FsRedirectionOff&) = delete;
  Wow64FsRedirectionOff& operator=(const Wow64FsRedirectionOff&) = delete;

  // 0 when redirection is off now or the process is not under WOW64; else the Windows error.
  Status SwitchOff();
  // Switches it back on if this owner switched it off; 0 or the Windows error.
  Status Revert();
  bool IsOff() const { return off_; }

 private:
  PVOID oldValue_ = nullptr;
  bool off_ = false;
};

// True for a 32-bit process on 64-bit Windows; false where the question cannot be asked.
bool RunsUnderWow64();

// True in the x64 build: such a program never runs under WOW64 and sees the native system and
// program folders and the 64-bit registry view with nothing switched.
constexpr bool kIsX64Build = sizeof(void*) == 8;

}  // namespace veltrano
