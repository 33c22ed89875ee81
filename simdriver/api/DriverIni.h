#pragma once
// The library's own configuration file beside it (its name with the extension ".ini"): section
// "DriverInterface", key "InterfaceGUID", the driver interface's GUID in registry form.
#include <windows.h>

#include <string>

#include "SimStatus.h"

namespace sonarixsim {

std::wstring IniPathOfModule(HMODULE module);
// 0 for a file with a valid GUID; kDriverIniMissing without the file; kInvalidConfiguration otherwise.
Status CheckDriverIni(const std::wstring& path);

}  // namespace sonarixsim
