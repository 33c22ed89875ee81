#pragma once
// What the command line decides for the run.
#include <string>
#include <vector>

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
