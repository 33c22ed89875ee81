#pragma once
// The C run-time reports a bad argument of its bounded functions through the process's
// invalid-parameter handler as well as through the result. Around such a call the result is
// what counts, so the handler must not end the process meanwhile. The handler belongs to the
// whole process, so scopes on different threads take turns: otherwise one could restore the
// real handler while another's call is still running, or leave the no-op one in place for good.
#include <stdlib.h>

#include "VTHandles.h"

namespace veltrano {

class InvalidParameterHandlerScope {
 public:
  InvalidParameterHandlerScope()
      : turn_(Turns()), previous_(_set_invalid_parameter_handler(&Ignore)) {}
  ~InvalidParameterHandlerScope() { _set_invalid_parameter_handler(previous_); }
  InvalidParameterHandlerScope(const InvalidParameterHandlerScope&) = delete;
  InvalidParameterHandlerScope& operator=(const InvalidParameterHandlerScope&) = delete;

 private:
  // Re-entered freely by the thread that holds it (a critical section counts).
  static CriticalSection& Turns() {
    static CriticalSection turns;
    return turns;
  }
  static void __cdecl Ignore(const wchar_t*, const wchar_t*, const wchar_t*, unsigned, uintptr_t) {}
  ScopedLock turn_;
  _invalid_parameter_handler previous_;
};

}  // namespace veltrano
