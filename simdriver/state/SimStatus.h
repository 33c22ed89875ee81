#pragma once
// The statuses the simulated driver answers besides success.
#include "SonarixApiStatus.h"

namespace sonarixsim {

using veltrano::Status;

// The library answers the driver's statuses; these three belong to the simulation alone.
namespace status {
using namespace veltrano::status;
constexpr Status kTooManyFaults = 0xEE00004B;
constexpr Status kStateUnavailable = 0xEE000053;  // the shared state cannot be opened
constexpr Status kStateBusy = 0xEE000054;         // its lock was not free in time
}  // namespace status

// A short English text for a status of the simulation; null for other values.
const wchar_t* StatusText(Status value);
const char* StatusTextA(Status value);

}  // namespace sonarixsim
