#include "SetupOptions.h"

#include <windows.h>
#include <shellapi.h>

#include <cwctype>
#include <memory>

namespace {

std::wstring Lower(std::wstring text) {
  for (wchar_t& c : text) c = static_cast<wchar_t>(std::towlower(c));
  return text;
}

struct LocalFreeDeleter {
  void operator()(LPWSTR* argv) const { ::LocalFree(argv); }
};

}  // namespace

veltrano::Status ParseSetupOptions(const std::vector<std::wstring>& arguments,
                                   SetupOptions& options, std::wstring& badArgument) {
  options = SetupOptions();
  badArgument.clear();
  bool bad = false;
  for (const std::wstring& argument : arguments) {
    const std::wstring word = Lower(argument);
    const bool switchLike = !word.empty() && (word[0] == L'/' || word[0] == L'-');
    const std::wstring name = switchLike ? word.substr(1) : word;
    if (switchLike && name == L"quiet") {
      options.quiet = true;
    } else if (switchLike && name == L"uninstall") {
      options.uninstall = true;
    } else if (switchLike && name.rfind(L"dir=", 0) == 0 && argument.size() > 5) {
      options.folder = argument.substr(5);
    } else if (!bad) {
      // The rest is still read: a bad argument beside "/quiet" must not show a window.
      badArgument = argument;
      bad = true;
    }
  }
  return bad ? ERROR_INVALID_PARAMETER : veltrano::status::kOk;
}

std::vector<std::wstring> ProcessArguments() {
  int count = 0;
  std::unique_ptr<LPWSTR, LocalFreeDeleter> argv(::CommandLineToArgvW(::GetCommandLineW(), &count));
  std::vector<std::wstring> arguments;
  for (int i = 1; argv && i < count; ++i) arguments.emplace_back(argv.get()[i]);
  return arguments;
}
