#pragma once
// Status codes: every operation returns one; 0 is success, Windows error codes and HRESULTs
// pass through unchanged, and our own codes have the form 0xEE00xxxx.
#include <cstdint>

namespace veltrano {

using Status = uint32_t;

namespace status {
constexpr Status kOk = 0;
constexpr Status kFailed = 0xEE000001;
constexpr Status kTimedOut = 0xEE000003;
// Nothing to load, or a one-time step asked for again.
constexpr Status kNothingToDo = 0xEE000004;
constexpr Status kCancelled = 0xEE000005;
constexpr Status kAlreadyStarted = 0xEE000008;
constexpr Status kStillActive = 0xEE000009;
constexpr Status kMissingArgument = 0xEE000010;
constexpr Status kMissingRequiredOption = 0xEE000011;
constexpr Status kMissingOptionValue = 0xEE000012;
constexpr Status kUnknownOption = 0xEE000013;
constexpr Status kOutOfMemory = 0xEE000020;
constexpr Status kNoContent = 0xEE000024;
// The driver API entry point an operation needs is not bound.
constexpr Status kNotBound = 0xEE000030;
constexpr Status kNoObject = 0xEE000033;
// A required item is missing: an attribute, the level table of meters that do not run.
constexpr Status kNotFound = 0xEE000039;
constexpr Status kAlreadyPresent = 0xEE00003D;
constexpr Status kInvalidParameter = 0xEE000041;
constexpr Status kInvalidData = 0xEE000051;
// A configuration that does not fit: no command for the language, an invalid driver INI file.
constexpr Status kInvalidConfiguration = 0xEE000052;
constexpr Status kXmlSyntax = 0xEE000057;
// A library, a file or a device mixer of a version this program does not support.
constexpr Status kNotCompatible = 0xEE000060;
constexpr Status kExitCodeUnavailable = 0xEE000063;
constexpr Status kTruncated = 0xEE000074;
constexpr Status kUnexpectedArgument = 0xEE000084;
constexpr Status kFileOpenFailed = 0xEE000090;
constexpr Status kFileReadFailed = 0xEE000091;
constexpr Status kFileWriteFailed = 0xEE000092;
constexpr Status kSystemEntryKept = 0xEE000094;
constexpr Status kFolderStillBusy = 0xEE000095;
constexpr Status kConfigIncompatible = 0xEE00100F;
constexpr Status kConfigOpenFailed = 0xEE001010;
constexpr Status kNoConfigResource = 0xEE002002;
constexpr Status kInvalidCommandLine = 0xEE002003;

// A C run-time errno value travels in the low 16 bits of 0xE001xxxx.
constexpr Status FromErrno(int error) {
  return 0xE0010000u | (static_cast<Status>(error) & 0xFFFFu);
}
}  // namespace status

}  // namespace veltrano

// Returns the status of `expr` from the calling function when it is not 0.
#define VT_RETURN_IF_FAILED(expr)                       \
  do {                                                  \
    const ::veltrano::Status vtStatus_ = (expr);        \
    if (vtStatus_ != ::veltrano::status::kOk) return vtStatus_; \
  } while (0)
