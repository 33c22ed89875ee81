#include "VTConsoleText.h"

#include "VTStringConv.h"

namespace veltrano {

void WriteStdText(DWORD standardHandle, const std::wstring& text) {
  HANDLE output = GetStdHandle(standardHandle);
  DWORD mode = 0;
  DWORD written = 0;
  if (GetConsoleMode(output, &mode)) {
    WriteConsoleW(output, text.c_str(), static_cast<DWORD>(text.size()), &written, nullptr);
    return;
  }
  const std::string bytes = WideToUtf8(text.c_str());
  WriteFile(output, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

void WriteParserLineToStdErr(const char* line) { WriteStdText(STD_ERROR_HANDLE, Utf8ToWide(line)); }

}  // namespace veltrano
