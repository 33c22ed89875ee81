#pragma once
// A program started for a test: command line, working folder, extra environment variables and
// optional output files; its full 32-bit exit code; ended for sure when the owner goes away.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "UiHandle.h"
#include "VTStatus.h"

namespace uitest {

using veltrano::Status;

// The exit code that Terminate gives a program unless told otherwise; no program of ours uses it.
constexpr uint32_t kTerminatedExitCode = 0xDEADDEAD;

struct EnvironmentVariable {
  std::wstring name;
  std::wstring value;
};

struct StartOptions {
  std::wstring workingFolder;                    // empty: the caller's current folder
  std::vector<EnvironmentVariable> environment;  // set on top of the caller's environment
  std::wstring standardOutputFile;               // empty: inherited from the caller
  std::wstring standardErrorFile;                // may name the same file as the output
};

// One argument quoted so that CommandLineToArgvW and the C run-time give it back unchanged.
std::wstring QuoteArgument(const std::wstring& argument);
// The arguments quoted and joined with single blanks.
std::wstring JoinArguments(const std::vector<std::wstring>& arguments);

class Process {
 public:
  Process() = default;
  // A program that still runs is terminated: no test leaves one behind.
  ~Process();
  Process(Process&& other) noexcept = default;
  Process& operator=(Process&&) = delete;
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;

  // Starts `program` (a path with its extension; the PATH is not searched) with `arguments`
  // (the command line after the program's quoted path, taken as written). Returns the Windows
  // error of a failed start, or 0xEE000008 when this object already holds a program.
  Status Start(const std::wstring& program, const std::wstring& arguments,
               const StartOptions& options = {});

  bool IsStarted() const { return process_.IsValid(); }
  bool IsRunning() const;
  // True once the program has ended, false when `timeoutMs` passed first.
  bool WaitForExit(DWORD timeoutMs) const;
  // All 32 bits of the exit code; STILL_ACTIVE (259) while the program runs.
  uint32_t ExitCode() const;
  // Ends a running program and waits until it is gone.
  void Terminate(uint32_t exitCode = kTerminatedExitCode);

  DWORD Id() const { return processId_; }
  HANDLE Handle() const { return process_.Get(); }

 private:
  UniqueHandle process_;
  UniqueHandle thread_;
  DWORD processId_ = 0;
};

}  // namespace uitest
