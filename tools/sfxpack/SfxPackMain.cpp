// sfxpack.exe: builds a self-extracting package from a stub, a configuration document and a
// 7z archive. Run with --help for the command line.
#include <windows.h>

#include <string>
#include <vector>

#include "PackageBuilder.h"
#include "VTConsoleText.h"

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::vector<std::wstring> arguments(argv + 1, argv + argc);
  sfxpack::PackRequest request;
  if (sfxpack::ParsePackRequest(arguments, request, &veltrano::WriteParserLineToStdErr) !=
      veltrano::status::kOk) {
    veltrano::WriteStdText(STD_ERROR_HANDLE, sfxpack::kUsageText);
    return kExitUsage;
  }
  if (request.helpWanted) {
    veltrano::WriteStdText(STD_OUTPUT_HANDLE, sfxpack::kUsageText);
    return kExitOk;
  }
  sfxpack::PackFailure failure;
  if (sfxpack::BuildPackage(request, failure) != veltrano::status::kOk) {
    veltrano::WriteStdText(STD_ERROR_HANDLE, sfxpack::DescribeFailure(failure) + L"\n");
    return kExitFailed;
  }
  return kExitOk;
}
