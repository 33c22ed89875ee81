#pragma once
// The launch task: starts the chosen command from the extraction folder, either through the
// shell's "open" verb (not waited for) or as a child process whose exit code becomes the
// stub's exit code.
#include <cstdint>
#include <string>

#include "Task.h"

class ExecuteLaunchCommand : public Task {
 public:
  ExecuteLaunchCommand();

  // CreateProcess: 0 once the program has ended, its exit code stored when not 0 (0xEE000063
  // when none can be read); the Windows error of a failed start or expansion.
  // ShellExecute: 0 as soon as the program is started; 2, 3 or 11 as the shell reports them,
  // 0xEE000001 for any other failure. The exit value stays 0.
  Status Run(uint32_t* exitValue) override;

  bool useCreateProcess = false;  // false: the shell's "open" verb
  std::wstring executable;        // absolute, or relative to the target folder
  std::wstring arguments;         // pass-through text already appended

 private:
  Status RunWithCreateProcess(uint32_t* exitValue) const;
  Status RunWithShellExecute() const;
  Status BuildCommandLine(std::wstring& commandLine) const;
  Status ResolveExecutable(std::wstring& program) const;
};
