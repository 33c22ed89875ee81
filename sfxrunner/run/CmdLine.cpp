#include "CmdLine.h"

CmdLine::SFXGuiMode guiMode = CmdLine::GuiAsConfigured;
std::wstring passThroughArguments;
std::vector<std::wstring> extraArguments;
