#pragma once
// The stub's command line: the option "--gui on|off" and the word "passthrough", after which
// the rest of the command line goes to the launched program.
#include <string>
#include <vector>

#include "VTStatus.h"

using veltrano::Status;

namespace CmdLine {
enum SFXGuiMode {
  GuiAsConfigured = 0,  // each dialog and the progress window as the configuration says
  GuiOn = 1,            // every dialog and the progress window shown
  GuiOff = 2,           // no dialog and no progress window; error boxes still appear
};
}  // namespace CmdLine

extern CmdLine::SFXGuiMode guiMode;
extern std::wstring passThroughArguments;  // appended to the launched command's arguments
extern std::vector<std::wstring> extraArguments;

// Reads the process's command line into the three values above. Any failure means the
// command line is invalid; the parser's own line has gone to the standard error stream.
Status ParseCommandLine();
// The same for a given command line (argument 0 is the program).
Status ParseCommandLineText(const std::wstring& commandLine);
