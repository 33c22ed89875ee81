#pragma once
// The mixer's status codes: 0 is success, small values are Windows error codes passed through
// unchanged, 0xEE00xxxx values are the driver API's and the mixer's own.
#include "VTStatus.h"

using StatusCode = veltrano::Status;

namespace mixer_status {
constexpr StatusCode kOk = 0;
// Language texts: no file chosen or nothing to load, or the files located a second time.
constexpr StatusCode kNothingToDo = 0xEE000004;
// The entry point an operation needs is not bound.
constexpr StatusCode kNotBound = 0xEE000030;
// Level meters not running or empty.
constexpr StatusCode kMetersEmpty = 0xEE000039;
constexpr StatusCode kInvalidParameter = 0xEE000041;
// A language tag that breaks the naming rules.
constexpr StatusCode kInvalidTag = 0xEE000051;
// The driver library's own configuration file is invalid (reported by the library).
constexpr StatusCode kDriverIniInvalid = 0xEE000052;
// Library not compatible, or a DSP mixer of another version.
constexpr StatusCode kNotCompatible = 0xEE000060;
// Reported by the library; the mixer windows show no box for it.
constexpr StatusCode kSilent = 0xEE000071;
constexpr StatusCode kLanguageFileOpenFailed = 0xEE000090;
constexpr StatusCode kLanguageFileReadFailed = 0xEE000091;
constexpr StatusCode kConfigIncompatible = 0xEE00100F;
// The driver library's own configuration file is missing (reported by the library).
constexpr StatusCode kDriverIniMissing = 0xEE001006;
constexpr StatusCode kConfigOpenFailed = 0xEE001010;
}  // namespace mixer_status
