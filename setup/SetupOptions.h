#pragma once
// The setup program's command line: "/quiet" (no windows), "/uninstall" (remove the software),
// "/dir=FOLDER" (where the software goes or is). Letter case does not count; "-" may stand for
// "/". Anything else is a bad argument (exit code 87).
#include <string>
#include <vector>

#include "VTStatus.h"

struct SetupOptions {
  bool quiet = false;
  bool uninstall = false;
  std::wstring folder;  // empty: the folder of an earlier install, else the default one
};

veltrano::Status ParseSetupOptions(const std::vector<std::wstring>& arguments,
                                   SetupOptions& options, std::wstring& badArgument);

// The arguments of this process, without the program's own name.
std::vector<std::wstring> ProcessArguments();
