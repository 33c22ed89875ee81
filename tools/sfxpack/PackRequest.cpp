#include "PackRequest.h"

#include <memory>

#include "VTCmdLineParser.h"
#include "VTStringConv.h"

namespace sfxpack {
namespace {

using Parser = veltrano::VTCmdLineParserT<char>;

// An option with a value whose presence counts even when the value is empty.
void AddPathOption(Parser& parser, std::wstring& path, bool& given, const char* name,
                   bool required) {
  parser.AddOptionHandler(
      std::make_unique<Parser::Option<std::wstring>>(path, "", name, required, &given, true));
}

void Report(void (*reportLine)(const char*), const char* text) {
  if (reportLine != nullptr) reportLine(text);
}

}  // namespace

const wchar_t kUsageText[] =
    L"Usage: sfxpack.exe --stub STUB.exe --out PACKAGE.exe\n"
    L"                   [--config DOC.xml | --no-config | --keep-config] [--archive A.7z]\n"
    L"\n"
    L"Builds a self-extracting package: a copy of STUB.exe whose configuration resource\n"
    L"(RCDATA 222, language 1033) is replaced, removed or kept, directly followed by the\n"
    L"bytes of A.7z.\n"
    L"\n"
    L"  --stub STUB.exe    the stub executable to copy (required)\n"
    L"  --out PACKAGE.exe  the package to write (required); it is written under a temporary\n"
    L"                     name beside it and appears only when every step succeeded\n"
    L"  --config DOC.xml   store the bytes of DOC.xml, unchanged, as the configuration\n"
    L"  --no-config        remove the configuration; every other resource stays\n"
    L"  --keep-config      leave the stub's resources as they are (the default)\n"
    L"  --archive A.7z     append the bytes of A.7z; without it nothing is appended\n"
    L"  --help             show this text\n"
    L"\n"
    L"Exit code: 0 on success, 1 when a step failed (one line on the error stream names the\n"
    L"file and the Windows error), 2 when the command line is not understood.\n";

Status ParsePackRequest(const std::vector<std::wstring>& arguments, PackRequest& request,
                        void (*reportLine)(const char* line)) {
  Parser parser;
  parser.programName = "sfxpack";
  parser.OutputFunction = reportLine;
  bool stubGiven = false;
  bool outputGiven = false;
  bool replaceConfig = false;
  bool removeConfig = false;
  bool keepConfig = false;
  AddPathOption(parser, request.stubPath, stubGiven, "stub", true);
  AddPathOption(parser, request.outputPath, outputGiven, "out", true);
  AddPathOption(parser, request.configPath, replaceConfig, "config", false);
  AddPathOption(parser, request.archivePath, request.archiveGiven, "archive", false);
  parser.AddFlag(removeConfig, {"", "no-config"});
  parser.AddFlag(keepConfig, {"", "keep-config"});

  std::vector<std::string> args{"sfxpack"};
  for (const std::wstring& argument : arguments) {
    args.push_back(veltrano::WideToUtf8(argument.c_str()));
    if (argument == L"--help") {
      request.helpWanted = true;
      return veltrano::status::kOk;
    }
  }
  VT_RETURN_IF_FAILED(parser.Parse(args));

  if (int{replaceConfig} + int{removeConfig} + int{keepConfig} > 1) {
    Report(reportLine, "sfxpack: --config, --no-config and --keep-config exclude each other.\n");
    return veltrano::status::kInvalidParameter;
  }
  if (replaceConfig) request.configAction = ConfigAction::Replace;
  if (removeConfig) request.configAction = ConfigAction::Remove;
  return veltrano::status::kOk;
}

}  // namespace sfxpack
