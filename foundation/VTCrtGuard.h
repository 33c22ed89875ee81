#pragma once
// The C run-time reports a bad argument of its bounded functions through the process's
// invalid-parameter handler as well as through the result. Around such a call the result is
// what counts, so the handler must not end the process meanwhile.
#include <stdlib.h>

namespace veltrano {

class InvalidParameterHandlerScope {
 public:
  InvalidParameterHandlerScope() : previous_(_set_invalid_parameter_handler(&Ignore)) {}
  ~InvalidParameterHandlerScope() { _set_invalid_parameter_handler(previous_); }
  InvalidParameterHandlerScope(const InvalidParameterHandlerScope&) = delete;
  InvalidParameterHandlerScope& operator=(const InvalidParameterHandlerScope&) = delete;

 private:
  static void __cdecl Ignore(const wchar_t*, const wchar_t*, const wchar_t*, unsigned, uintptr_t) {}
  _invalid_parameter_handler previous_;
};

}  // namespace veltrano
