#pragma once
// The launch tests' tools: copies of argrecorder.exe placed where a package would have its
// setup program, its settings in the environment, and the record it writes.
#include <windows.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace launchtest {

// argrecorder.exe as the build made it.
std::wstring RecorderPath();

// Copies argrecorder.exe to `path`, creating the folders above it; false on failure.
bool PlaceRecorder(const std::wstring& path);

// Sets an environment variable of this process (inherited by what it starts) and restores the
// earlier value, or its absence, at the end.
class ScopedVariable {
 public:
  ScopedVariable(const wchar_t* name, const std::wstring& value);
  ~ScopedVariable();
  ScopedVariable(const ScopedVariable&) = delete;
  ScopedVariable& operator=(const ScopedVariable&) = delete;

 private:
  std::wstring name_;
  std::wstring previous_;
  bool hadValue_ = false;
};

// Makes `folder` this process's current folder and goes back at the end.
class ScopedCurrentFolder {
 public:
  explicit ScopedCurrentFolder(const std::wstring& folder);
  ~ScopedCurrentFolder();
  ScopedCurrentFolder(const ScopedCurrentFolder&) = delete;
  ScopedCurrentFolder& operator=(const ScopedCurrentFolder&) = delete;

 private:
  std::wstring previous_;
};

// What one run of argrecorder.exe wrote.
struct Record {
  std::wstring commandLine;
  std::wstring program;
  std::wstring currentFolder;
  DWORD processId = 0;
  std::vector<std::wstring> arguments;
  DWORD holderProcessId = 0;  // the copy that holds a file open, when one was asked for
};

// False when the file is missing or not a whole record.
bool ReadRecord(const std::wstring& path, Record& record);
// Waits up to `timeoutMs` for the record of a program that was not waited for.
bool WaitForRecord(const std::wstring& path, DWORD timeoutMs, Record& record);
// Waits until the process has ended; true when it has (or was never there).
bool WaitForProcessEnd(DWORD processId, DWORD timeoutMs);
// Ends a program that a test has seen enough of, and waits until it is gone.
bool EndProcess(DWORD processId);

// Paths compared the way Windows compares them: letter case and separators do not count.
bool SamePath(const std::wstring& left, const std::wstring& right);

}  // namespace launchtest
