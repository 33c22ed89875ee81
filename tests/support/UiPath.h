#pragma once
// Paths that the build knows in Unix form, as a Windows program under Wine sees them.
#include <string>

namespace uitest {

// Wine shows the Unix root as drive Z:, so "/work/x" is "Z:\work\x". A path that is not
// absolute Unix form comes back with its slashes turned into backslashes.
std::wstring WindowsPathOf(const char* unixPath);

// The folder of the running executable, with a trailing backslash.
std::wstring OwnFolder();

}  // namespace uitest
