#pragma once
// Text for the standard streams of our console tools.
#include <windows.h>

#include <string>

namespace veltrano {

// A console gets the text as UTF-16; a pipe or file gets UTF-8 with the line ends as given
// (bare line feeds, which is what shell scripts expect).
void WriteStdText(DWORD standardHandle, const std::wstring& text);

// A command-line parser's report line (UTF-8), for the error stream.
void WriteParserLineToStdErr(const char* line);

}  // namespace veltrano
