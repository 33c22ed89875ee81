#pragma once
// A program run under this process's debugger that stops the first time it calls one function
// of a system library: a test can then act while the program is known to be in the middle of
// its work (press Cancel between two steps), and let it go on. No timing is involved.
#include <windows.h>

#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "UiHandle.h"

namespace setuptest {

class PausedProgram {
 public:
  // Starts `program` with `arguments` (environment: the caller's plus `variables`, each
  // "NAME=value") and plants the stop at `function` of `module`, which must be loaded here too.
  PausedProgram(const std::wstring& program, const std::wstring& arguments,
                const std::vector<std::wstring>& variables, const wchar_t* module,
                const char* function);
  // A program still running is ended; the debugger lets go of it.
  ~PausedProgram();
  PausedProgram(const PausedProgram&) = delete;
  PausedProgram& operator=(const PausedProgram&) = delete;

  // True once the program stands at the call, false when it ended or `timeoutMs` passed first.
  bool WaitUntilPaused(DWORD timeoutMs);
  // Lets the paused program go on; the stop is gone, later calls run through.
  void Resume();
  DWORD Id() const { return processId_; }
  bool WaitForExit(DWORD timeoutMs) const;
  uint32_t ExitCode() const;
  // Why the program could not be started or stopped; empty when it was.
  const std::string& Problem() const { return problem_; }

 private:
  void Debug(std::wstring commandLine, std::wstring environment);
  bool Plant(HANDLE process);

  BYTE* target_ = nullptr;
  BYTE original_ = 0;
  bool planted_ = false;
  DWORD processId_ = 0;
  std::string problem_;
  uitest::UniqueHandle started_;  // set once the program runs (or could not start)
  uitest::UniqueHandle paused_;
  uitest::UniqueHandle resume_;
  uitest::UniqueHandle process_;
  std::thread debugger_;
};

}  // namespace setuptest
