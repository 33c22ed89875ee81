// sfxpack.exe: builds a self-extracting package from a stub, a configuration document and a
// 7z archive. Run with --help for the command line.
#include <windows.h>

#include <string>
#include <vector>

#include "PackageBuilder.h"
#include "VTStringConv.h"

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

// A console gets the text as UTF-16; a pipe or file gets UTF-8.
void WriteText(DWORD standardHandle, const std::wstring& text) {
  HANDLE output = GetStdHandle(standardHandle);
  DWORD mode = 0;
  DWORD written = 0;
  if (GetConsoleMode(output, &mode)) {
    WriteConsoleW(output, text.c_str(), static_cast<DWORD>(text.size()), &written, nullptr);
    return;
  }
  const std::string bytes = veltrano::WideToUtf8(text.c_str());
  WriteFile(output, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

void WriteParserLine(const char* line) { WriteText(STD_ERROR_HANDLE, veltrano::Utf8ToWide(line)); }

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::vector<std::wstring> arguments(argv + 1, argv + argc);
  sfxpack::PackRequest request;
  if (sfxpack::ParsePackRequest(arguments, request, &WriteParserLine) != veltrano::status::kOk) {
    WriteText(STD_ERROR_HANDLE, sfxpack::kUsageText);
    return kExitUsage;
  }
  if (request.helpWanted) {
    WriteText(STD_OUTPUT_HANDLE, sfxpack::kUsageText);
    return kExitOk;
  }
  sfxpack::PackFailure failure;
  if (sfxpack::BuildPackage(request, failure) != veltrano::status::kOk) {
    WriteText(STD_ERROR_HANDLE, sfxpack::DescribeFailure(failure) + L"\n");
    return kExitFailed;
  }
  return kExitOk;
}
