#pragma once
// What one run of the package tool is asked to do, read from its command line.
#include <string>
#include <vector>

#include "VTStatus.h"

namespace sfxpack {

using veltrano::Status;

enum class ConfigAction { Keep, Replace, Remove };

struct PackRequest {
  std::wstring stubPath;
  std::wstring outputPath;
  ConfigAction configAction = ConfigAction::Keep;
  std::wstring configPath;  // with ConfigAction::Replace
  std::wstring archivePath;
  bool archiveGiven = false;  // false: nothing is appended
  bool helpWanted = false;
};

// Reads the arguments (without the program name). Every problem is reported as one line
// through `reportLine`; the result is 0 or the parser's status.
Status ParsePackRequest(const std::vector<std::wstring>& arguments, PackRequest& request,
                        void (*reportLine)(const char* line));

extern const wchar_t kUsageText[];

}  // namespace sfxpack
