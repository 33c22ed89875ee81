#pragma once
// The full path of a module (the running executable by default) and its four parts.
#include <windows.h>

#include <string>

#include "VTStatus.h"

namespace veltrano {

class VTWinModuleFileName {
 public:
  // Fills every field for `module`; no handle means the running executable.
  Status InitWithModuleHandle(HMODULE module = nullptr);
  // Splits `fullPath` into the other four fields; 0xE001xxxx when a part is too long.
  Status InitPathComponents();

  std::wstring fullPath;
  std::wstring drive;      // "C:"
  std::wstring directory;  // with leading and trailing backslash
  std::wstring fileName;   // without extension
  std::wstring extension;  // with its dot
};

}  // namespace veltrano
