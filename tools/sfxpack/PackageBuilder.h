#pragma once
// Builds a package: the stub copied, its configuration resource replaced, removed or kept,
// the archive appended, and the result moved to its name only when every step succeeded.
#include "PackFailure.h"
#include "PackRequest.h"

namespace sfxpack {

// The configuration resource the stub reads: RCDATA 222, English (United States).
constexpr WORD kConfigResourceId = 222;
constexpr WORD kConfigLanguage = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

Status BuildPackage(const PackRequest& request, PackFailure& failure);

}  // namespace sfxpack
