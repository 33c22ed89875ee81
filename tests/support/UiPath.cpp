#include "UiPath.h"

#include <windows.h>

#include "VTStringConv.h"
#include "VTWinModuleFileName.h"

namespace uitest {

std::wstring WindowsPathOf(const char* unixPath) {
  std::wstring path = veltrano::Utf8ToWide(unixPath);
  for (wchar_t& c : path) {
    if (c == L'/') c = L'\\';
  }
  if (!path.empty() && path[0] == L'\\') path = L"Z:" + path;
  return path;
}

std::wstring OwnFolder() {
  veltrano::VTWinModuleFileName name;
  if (name.InitWithModuleHandle() != veltrano::status::kOk) return std::wstring();
  return name.drive + name.directory;
}

}  // namespace uitest
