#pragma once
// The stub's resource owners come from the foundation.
#include "VTHandles.h"

using veltrano::CriticalSection;
using veltrano::FindHandle;
using veltrano::ScopedLock;
using veltrano::UniqueHandle;
