#pragma once
// Folders, files and child processes for the crash handler's tests.
#include <windows.h>

#include <string>
#include <vector>

// A fresh folder under the temporary folder, removed with everything in it at the end.
class TestFolder {
 public:
  TestFolder();
  ~TestFolder();
  TestFolder(const TestFolder&) = delete;
  TestFolder& operator=(const TestFolder&) = delete;

  const std::wstring& Path() const { return path_; }
  std::wstring Sub(const wchar_t* relative) const { return path_ + L"\\" + relative; }

 private:
  std::wstring path_;
};

void RemoveTree(const std::wstring& folder);
bool FolderExists(const std::wstring& path);
bool FileExists(const std::wstring& path);
std::vector<std::wstring> FileNames(const std::wstring& folder, const wchar_t* pattern);
bool WriteTextFile(const std::wstring& path, const std::string& text);
// `count` bytes of a file from `offset` (fewer at its end); empty when unreadable.
std::string ReadFileRange(const std::wstring& path, unsigned long long offset, size_t count);
std::string ReadFileStart(const std::wstring& path, size_t count);
unsigned long long FileSize(const std::wstring& path);
// Whether `needle` occurs anywhere in the file, read in pieces.
bool FileContains(const std::wstring& path, const std::string& needle);

std::wstring ExecutablePath();
// The folder of `path`, without the trailing backslash.
std::wstring FolderOf(const std::wstring& path);

// A local time as one number, for ordering; milliseconds dropped.
unsigned long long SecondsOf(const SYSTEMTIME& time);

struct ChildRun {
  DWORD error = ERROR_SUCCESS;  // of starting or waiting for the child
  DWORD exitCode = 0;
  DWORD processId = 0;
  SYSTEMTIME started = {};
  SYSTEMTIME ended = {};
};

// Runs `exe` with `arguments`, TEMP and TMP set to `tempFolder`, in `currentFolder`, with its
// output discarded (a crash report would fill the test's log), and waits for its end (at
// most two minutes).
ChildRun RunChild(const std::wstring& exe, const std::wstring& arguments,
                  const std::wstring& tempFolder, const std::wstring& currentFolder);
