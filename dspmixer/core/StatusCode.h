#pragma once
// The mixer's status codes are the programs' one set (VTStatus.h) and the driver API's
// (SonarixApiStatus.h): 0 is success, small values are Windows error codes passed through
// unchanged.
#include "SonarixApiStatus.h"
#include "VTStatus.h"

using StatusCode = veltrano::Status;

namespace mixer_status = veltrano::status;
