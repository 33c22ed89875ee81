#include "UiProcess.h"

#include <cwctype>

namespace uitest {
namespace {

// A terminated program is gone within moments; a bound keeps a broken one from hanging a test.
constexpr DWORD kTerminateWaitMs = 10000;

bool SameName(const std::wstring& a, const std::wstring& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::towupper(a[i]) != std::towupper(b[i])) return false;
  }
  return true;
}

// The caller's environment as "NAME=value" entries.
std::vector<std::wstring> CurrentEnvironment() {
  std::vector<std::wstring> entries;
  wchar_t* block = GetEnvironmentStringsW();
  if (block == nullptr) return entries;
  for (const wchar_t* entry = block; *entry != L'\0'; entry += wcslen(entry) + 1) {
    entries.emplace_back(entry);
  }
  FreeEnvironmentStringsW(block);
  return entries;
}

// The name part of an entry; a leading '=' belongs to the name (the per-drive folders).
std::wstring EntryName(const std::wstring& entry) {
  const size_t equals = entry.find(L'=', 1);
  return entry.substr(0, equals);
}

// The caller's environment with `extra` set on top, as a double-null-terminated block.
std::wstring BuildEnvironmentBlock(const std::vector<EnvironmentVariable>& extra) {
  std::vector<std::wstring> entries = CurrentEnvironment();
  for (const EnvironmentVariable& variable : extra) {
    const std::wstring entry = variable.name + L"=" + variable.value;
    bool replaced = false;
    for (std::wstring& existing : entries) {
      if (SameName(EntryName(existing), variable.name)) {
        existing = entry;
        replaced = true;
      }
    }
    if (!replaced) entries.push_back(entry);
  }
  std::wstring block;
  for (const std::wstring& entry : entries) block += entry + L'\0';
  block += L'\0';
  return block;
}

Status OpenOutputFile(const std::wstring& path, UniqueHandle& file) {
  SECURITY_ATTRIBUTES inheritable = {sizeof(inheritable), nullptr, TRUE};
  file.Reset(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                         &inheritable, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  return file.IsValid() ? veltrano::status::kOk : GetLastError();
}

// The handles a redirected program gets; the files stay open until the program has started.
struct Redirection {
  UniqueHandle output;
  UniqueHandle error;
  bool active = false;
};

Status OpenRedirection(const StartOptions& options, Redirection& redirection) {
  if (!options.standardOutputFile.empty()) {
    VT_RETURN_IF_FAILED(OpenOutputFile(options.standardOutputFile, redirection.output));
    redirection.active = true;
  }
  if (!options.standardErrorFile.empty()) {
    if (SameName(options.standardErrorFile, options.standardOutputFile)) {
      HANDLE duplicate = nullptr;
      if (!DuplicateHandle(GetCurrentProcess(), redirection.output.Get(), GetCurrentProcess(),
                           &duplicate, 0, TRUE, DUPLICATE_SAME_ACCESS)) {
        return GetLastError();
      }
      redirection.error.Reset(duplicate);
    } else {
      VT_RETURN_IF_FAILED(OpenOutputFile(options.standardErrorFile, redirection.error));
    }
    redirection.active = true;
  }
  return veltrano::status::kOk;
}

HANDLE ChosenOrOwn(const UniqueHandle& chosen, DWORD standardHandle) {
  return chosen.IsValid() ? chosen.Get() : GetStdHandle(standardHandle);
}

}  // namespace

std::wstring QuoteArgument(const std::wstring& argument) {
  if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos) {
    return argument;
  }
  // Backslashes double only where a quote follows them; everything else is literal.
  std::wstring quoted = L"\"";
  size_t backslashes = 0;
  for (wchar_t c : argument) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    if (c == L'"') {
      quoted.append(backslashes * 2 + 1, L'\\');
    } else {
      quoted.append(backslashes, L'\\');
    }
    backslashes = 0;
    quoted += c;
  }
  quoted.append(backslashes * 2, L'\\');
  quoted += L'"';
  return quoted;
}

std::wstring JoinArguments(const std::vector<std::wstring>& arguments) {
  std::wstring line;
  for (const std::wstring& argument : arguments) {
    if (!line.empty()) line += L' ';
    line += QuoteArgument(argument);
  }
  return line;
}

Process::~Process() {
  if (IsRunning()) Terminate();
}

Status Process::Start(const std::wstring& program, const std::wstring& arguments,
                      const StartOptions& options) {
  if (IsStarted()) return veltrano::status::kAlreadyStarted;

  Redirection redirection;
  VT_RETURN_IF_FAILED(OpenRedirection(options, redirection));

  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  if (redirection.active) {
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = ChosenOrOwn(redirection.output, STD_OUTPUT_HANDLE);
    startup.hStdError = ChosenOrOwn(redirection.error, STD_ERROR_HANDLE);
  }

  std::wstring commandLine = QuoteArgument(program);
  if (!arguments.empty()) commandLine += L" " + arguments;
  std::wstring environment = BuildEnvironmentBlock(options.environment);
  const wchar_t* folder = options.workingFolder.empty() ? nullptr : options.workingFolder.c_str();

  PROCESS_INFORMATION info = {};
  if (!CreateProcessW(program.c_str(), &commandLine[0], nullptr, nullptr, redirection.active,
                      CREATE_UNICODE_ENVIRONMENT, &environment[0], folder, &startup, &info)) {
    return GetLastError();
  }
  process_.Reset(info.hProcess);
  thread_.Reset(info.hThread);
  processId_ = info.dwProcessId;
  return veltrano::status::kOk;
}

bool Process::IsRunning() const {
  return IsStarted() && WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT;
}

bool Process::WaitForExit(DWORD timeoutMs) const {
  return IsStarted() && WaitForSingleObject(process_.Get(), timeoutMs) == WAIT_OBJECT_0;
}

uint32_t Process::ExitCode() const {
  DWORD code = STILL_ACTIVE;
  if (IsStarted()) GetExitCodeProcess(process_.Get(), &code);
  return code;
}

void Process::Terminate(uint32_t exitCode) {
  if (!IsRunning()) return;
  TerminateProcess(process_.Get(), exitCode);
  WaitForSingleObject(process_.Get(), kTerminateWaitMs);
}

}  // namespace uitest
