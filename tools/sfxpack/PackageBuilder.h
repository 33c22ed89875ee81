#pragma once
// Builds a package: the stub copied, its configuration resource replaced, removed or kept,
// the archive appended, and the result moved to its name only when every step succeeded.
#include "PackFailure.h"
#include "PackRequest.h"

namespace sfxpack {

Status BuildPackage(const PackRequest& request, PackFailure& failure);

}  // namespace sfxpack
