#pragma once
// The statuses the simulated driver answers besides success. The three codes that the mixer
// knows by number (configuration file missing or invalid, device gone) keep their values.
#include "VTStatus.h"

namespace sonarixsim {

using veltrano::Status;

namespace status {
constexpr Status kOk = 0;
constexpr Status kNotImplemented = 0xEE000031;    // an entry point the simulation does not serve
constexpr Status kInvalidParameter = 0xEE000041;  // null pointer, value out of range
constexpr Status kInvalidHandle = 0xEE000042;     // not a handle of an open device
constexpr Status kNoSuchDevice = 0xEE000043;      // index or id names no device
constexpr Status kWrongUnit = 0xEE000044;         // the request is not for the mixer unit
constexpr Status kUnknownProperty = 0xEE000045;
constexpr Status kWrongRequestSize = 0xEE000046;
constexpr Status kInvalidChannel = 0xEE000047;  // channel kind 3 or an index past the count
constexpr Status kWrongDirection = 0xEE000048;  // Get of a write-only property or the reverse
constexpr Status kOutOfHandles = 0xEE000049;
constexpr Status kDeviceTableFull = 0xEE00004A;
constexpr Status kTooManyFaults = 0xEE00004B;
constexpr Status kIniInvalid = 0xEE000052;
constexpr Status kStateUnavailable = 0xEE000053;  // the shared state cannot be opened
constexpr Status kStateBusy = 0xEE000054;         // its lock was not free in time
constexpr Status kDeviceRemoved = 0xEE000071;     // the handle's device was unplugged
constexpr Status kIniMissing = 0xEE001006;
}  // namespace status

// A short English text for a status of the simulation; null for other values.
const wchar_t* StatusText(Status value);
const char* StatusTextA(Status value);

}  // namespace sonarixsim
