#pragma once
// Owner of one kernel handle (process, thread, file): closed once, on every path.
#include "VTHandles.h"

namespace uitest {
using veltrano::UniqueHandle;
}  // namespace uitest
