#pragma once
// The statuses the driver API library answers besides success, in the one status namespace of
// our programs: the driver's own values are named here, the values it shares with our programs
// (0xEE000041 invalid parameter, 0xEE000052 invalid configuration) in VTStatus.h.
#include "VTStatus.h"

namespace veltrano {
namespace status {
constexpr Status kNotImplemented = 0xEE000031;  // an entry point this driver does not serve
constexpr Status kInvalidHandle = 0xEE000042;   // not a handle of an open device
constexpr Status kNoSuchDevice = 0xEE000043;    // index or id names no device
constexpr Status kWrongUnit = 0xEE000044;       // the request is not for the mixer unit
constexpr Status kUnknownProperty = 0xEE000045;
constexpr Status kWrongRequestSize = 0xEE000046;
constexpr Status kInvalidChannel = 0xEE000047;  // channel kind 3 or an index past the count
constexpr Status kWrongDirection = 0xEE000048;  // Get of a write-only property or the reverse
constexpr Status kOutOfHandles = 0xEE000049;
constexpr Status kDeviceTableFull = 0xEE00004A;
constexpr Status kDeviceRemoved = 0xEE000071;    // the handle's device was unplugged
constexpr Status kDriverIniMissing = 0xEE001006;  // the library's own configuration file
}  // namespace status
}  // namespace veltrano
