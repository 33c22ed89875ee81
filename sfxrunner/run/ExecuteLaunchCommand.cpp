#include "ExecuteLaunchCommand.h"

#include <windows.h>
#include <shellapi.h>

#include <cstring>

#include "ArchivePaths.h"
#include "Handles.h"
#include "VTLastError.h"
#include "VTStringConv.h"

using namespace veltrano;

namespace {

constexpr INT_PTR kShellExecuteSucceededAbove = 32;

// "C:\x", "C:/x", "\x", "/x" and "\\server\share\x" name a place of their own; "C:x" is left
// to Windows as well. Only plain relative paths ("setup.exe", "Driver\setup.exe") are joined.
bool IsRelativePath(const std::wstring& path) {
  if (path.empty()) return true;
  if (path[0] == L'\\' || path[0] == L'/') return false;
  return !(path.size() >= 2 && path[1] == L':');
}

// The program of a command line that starts with a quoted path: the text up to the next quote,
// read the way CreateProcessW reads it.
size_t QuotedProgramLength(const std::wstring& commandLine) {
  const size_t closingQuote = commandLine.find(L'"', 1);
  return closingQuote == std::wstring::npos ? commandLine.size() - 1 : closingQuote - 1;
}

Status WaitForProcess(HANDLE process) {
  const DWORD waited = WaitForSingleObject(process, INFINITE);
  if (waited == WAIT_OBJECT_0) return status::kOk;
  return LastErrorOr(status::kOk);
}

// The program's exit code becomes the exit value when it is not 0.
Status StoreExitCode(HANDLE process, uint32_t* exitValue) {
  DWORD exitCode = 0;
  if (GetExitCodeProcess(process, &exitCode)) {
    if (exitCode != 0) *exitValue = exitCode;
    return status::kOk;
  }
  const DWORD error = GetLastError();
  if (error == STILL_ACTIVE) return status::kStillActive;
  if (error != 0) return error;
  *exitValue = status::kExitCodeUnavailable;
  return status::kOk;
}

}  // namespace

ExecuteLaunchCommand::ExecuteLaunchCommand() : Task(L"Executing application. Please wait...") {}

Status ExecuteLaunchCommand::Run(uint32_t* exitValue) {
  uint32_t ignored = 0;
  if (exitValue == nullptr) exitValue = &ignored;
  *exitValue = 0;
  return useCreateProcess ? RunWithCreateProcess(exitValue) : RunWithShellExecute();
}

Status ExecuteLaunchCommand::BuildCommandLine(std::wstring& commandLine) const {
  std::wstring written = L"\"" + executable + L"\"";
  if (!arguments.empty()) written += L" " + arguments;
  VT_RETURN_IF_FAILED(ExpandEnvironment(commandLine, written.c_str()));
  // Without an application name Windows would search a relative program in the stub's own
  // folder, the user's current folder and the PATH, never in the extraction folder.
  const size_t programLength = QuotedProgramLength(commandLine);
  if (IsRelativePath(commandLine.substr(1, programLength))) {
    commandLine.insert(1, JoinPath(targetFolder, std::wstring()));
  }
  return status::kOk;
}

Status ExecuteLaunchCommand::RunWithCreateProcess(uint32_t* exitValue) const {
  std::wstring commandLine;
  VT_RETURN_IF_FAILED(BuildCommandLine(commandLine));

  STARTUPINFOW startup;
  std::memset(&startup, 0, sizeof(startup));
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION started;
  std::memset(&started, 0, sizeof(started));
  // CreateProcessW may write into the command line; the string's own buffer is writable.
  if (!CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                      targetFolder.c_str(), &startup, &started)) {
    return LastErrorOr();
  }
  const UniqueHandle process(started.hProcess);
  const UniqueHandle thread(started.hThread);

  VT_RETURN_IF_FAILED(WaitForProcess(process.Get()));
  return StoreExitCode(process.Get(), exitValue);
}

Status ExecuteLaunchCommand::ResolveExecutable(std::wstring& program) const {
  std::wstring expanded;
  VT_RETURN_IF_FAILED(ExpandEnvironment(expanded, executable.c_str()));
  // Made absolute here so that only the extraction folder can supply a relative program; a path
  // that is absolute once expanded stays as configured.
  program = IsRelativePath(expanded) ? JoinPath(targetFolder, executable) : executable;
  return status::kOk;
}

Status ExecuteLaunchCommand::RunWithShellExecute() const {
  std::wstring program;
  VT_RETURN_IF_FAILED(ResolveExecutable(program));
  const wchar_t* parameters = arguments.empty() ? nullptr : arguments.c_str();
  const HINSTANCE result = ShellExecuteW(nullptr, L"open", program.c_str(), parameters,
                                         targetFolder.c_str(), SW_SHOWDEFAULT);
  const INT_PTR code = reinterpret_cast<INT_PTR>(result);
  if (code > kShellExecuteSucceededAbove) return status::kOk;
  if (code == SE_ERR_FNF || code == SE_ERR_PNF || code == ERROR_BAD_FORMAT) {
    return static_cast<Status>(code);
  }
  return status::kFailed;
}
