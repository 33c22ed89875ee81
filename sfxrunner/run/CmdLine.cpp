#include "CmdLine.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <memory>

#include "VTCmdLineParser.h"
#include "VTStringConv.h"

CmdLine::SFXGuiMode guiMode = CmdLine::GuiAsConfigured;
std::wstring passThroughArguments;
std::vector<std::wstring> extraArguments;

namespace status = veltrano::status;

// "on" and "off", without regard to ASCII case; anything else leaves the mode as it was.
template <>
struct veltrano::VTCmdLineArgHandler<std::string, CmdLine::SFXGuiMode> {
  static Status ProcessValue(CmdLine::SFXGuiMode& mode, const std::string& text) {
    auto equals = [&](const char* word) {
      size_t i = 0;
      for (; word[i] != '\0'; ++i) {
        if (i >= text.size()) return false;
        char c = text[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != word[i]) return false;
      }
      return i == text.size();
    };
    if (equals("on")) {
      mode = CmdLine::GuiOn;
    } else if (equals("off")) {
      mode = CmdLine::GuiOff;
    } else {
      return status::kInvalidParameter;
    }
    return status::kOk;
  }
};

namespace {

constexpr wchar_t kPassThroughWord[] = L"passthrough";
constexpr wchar_t kPassThroughBlanks[] = L" \t\n\r";

struct LocalFreeDeleter {
  void operator()(LPWSTR* memory) const { LocalFree(memory); }
};

void WriteToStandardError(const char* line) {
  std::fprintf(stderr, "%s", line);
  std::fflush(stderr);
}

std::wstring Trim(const std::wstring& text) {
  const size_t first = text.find_first_not_of(kPassThroughBlanks);
  if (first == std::wstring::npos) return std::wstring();
  const size_t last = text.find_last_not_of(kPassThroughBlanks);
  return text.substr(first, last - first + 1);
}

}  // namespace

Status ParseCommandLine() { return ParseCommandLineText(GetCommandLineW()); }

Status ParseCommandLineText(const std::wstring& commandLine) {
  std::wstring text = commandLine;
  // The word counts anywhere, even inside an argument or a quoted path.
  const size_t word = text.find(kPassThroughWord);
  if (word != std::wstring::npos) {
    passThroughArguments = Trim(text.substr(word + wcslen(kPassThroughWord)));
    text.erase(word);
  }

  std::vector<std::string> arguments;
  int count = 0;
  std::unique_ptr<LPWSTR, LocalFreeDeleter> argv(CommandLineToArgvW(text.c_str(), &count));
  if (!argv) {
    const DWORD error = GetLastError();
    if (error != 0) return error;
  } else {
    for (int i = 0; i < count; ++i) arguments.push_back(veltrano::WideToUtf8(argv.get()[i]));
  }

  veltrano::VTCmdLineParserT<char> parser;
  parser.unclaimedWideArguments = &extraArguments;
  parser.OutputFunction = &WriteToStandardError;
  parser.AddOption(guiMode, {"", "gui", false});
  return parser.Parse(arguments);
}
