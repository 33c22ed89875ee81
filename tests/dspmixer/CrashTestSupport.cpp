#include "CrashTestSupport.h"

#include "UiFiles.h"

#include <wchar.h>

namespace {

constexpr DWORD kChildTimeoutMs = 120000;

// A handle that closes itself.
class OwnedHandle {
 public:
  explicit OwnedHandle(HANDLE handle) : handle_(handle) {}
  ~OwnedHandle() {
    if (handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  }
  OwnedHandle(const OwnedHandle&) = delete;
  OwnedHandle& operator=(const OwnedHandle&) = delete;
  HANDLE Get() const { return handle_; }
  bool IsValid() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE handle_;
};

HANDLE OpenForReading(const std::wstring& path) {
  return CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Whether the environment entry "NAME=value" sets the variable of `assignment`.
bool SetsSameVariable(const wchar_t* entry, const std::wstring& assignment) {
  const size_t length = assignment.find(L'=') + 1;
  return _wcsnicmp(entry, assignment.c_str(), length) == 0;
}

// The current environment with `assignments` replacing their variables, as a block of
// terminated entries with an empty one at the end.
std::wstring EnvironmentWith(const std::vector<std::wstring>& assignments) {
  std::wstring block;
  wchar_t* strings = GetEnvironmentStringsW();
  for (const wchar_t* entry = strings; *entry != L'\0'; entry += wcslen(entry) + 1) {
    bool replaced = false;
    for (const std::wstring& assignment : assignments) {
      replaced = replaced || SetsSameVariable(entry, assignment);
    }
    if (!replaced) block.append(entry).push_back(L'\0');
  }
  FreeEnvironmentStringsW(strings);
  for (const std::wstring& assignment : assignments) block.append(assignment).push_back(L'\0');
  block.push_back(L'\0');
  return block;
}

HANDLE OpenInheritableNul() {
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  return CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                     &inherit, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

TestFolder::TestFolder() {
  wchar_t temp[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH, temp);
  static unsigned counter = 0;
  path_ = std::wstring(temp) + L"crashhandler-test-" + std::to_wstring(GetCurrentProcessId()) +
          L"-" + std::to_wstring(++counter);
  CreateDirectoryW(path_.c_str(), nullptr);
}

TestFolder::~TestFolder() {
  // The debugger that Wine starts for a crashed child may still hold a file for a moment.
  for (int attempt = 0; attempt < 50; ++attempt) {
    RemoveTree(path_);
    if (GetFileAttributesW(path_.c_str()) == INVALID_FILE_ATTRIBUTES) return;
    Sleep(100);
  }
}

void RemoveTree(const std::wstring& folder) { uitest::RemoveFolderTree(folder); }

bool FolderExists(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool FileExists(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::vector<std::wstring> FileNames(const std::wstring& folder, const wchar_t* pattern) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((folder + L"\\" + pattern).c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) names.push_back(data.cFileName);
  } while (FindNextFileW(find, &data));
  FindClose(find);
  return names;
}

bool WriteTextFile(const std::wstring& path, const std::string& text) {
  OwnedHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.IsValid()) return false;
  DWORD written = 0;
  return WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
         written == text.size();
}

std::string ReadFileRange(const std::wstring& path, unsigned long long offset, size_t count) {
  OwnedHandle file(OpenForReading(path));
  if (!file.IsValid()) return std::string();
  LARGE_INTEGER position;
  position.QuadPart = static_cast<LONGLONG>(offset);
  if (!SetFilePointerEx(file.Get(), position, nullptr, FILE_BEGIN)) return std::string();
  std::string data(count, '\0');
  DWORD read = 0;
  if (!ReadFile(file.Get(), &data[0], static_cast<DWORD>(count), &read, nullptr)) {
    return std::string();
  }
  data.resize(read);
  return data;
}

std::string ReadFileStart(const std::wstring& path, size_t count) {
  return ReadFileRange(path, 0, count);
}

unsigned long long FileSize(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
  return (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

bool FileContains(const std::wstring& path, const std::string& needle) {
  OwnedHandle file(OpenForReading(path));
  if (!file.IsValid() || needle.empty()) return false;
  constexpr DWORD kPiece = 1 << 20;
  // Each piece is searched together with the tail of the one before it, so that a needle
  // across a piece boundary is found.
  std::string window;
  std::string piece(kPiece, '\0');
  DWORD read = 0;
  while (ReadFile(file.Get(), &piece[0], kPiece, &read, nullptr) && read > 0) {
    window.append(piece, 0, read);
    if (window.find(needle) != std::string::npos) return true;
    window.erase(0, window.size() - (needle.size() - 1));
  }
  return false;
}

std::wstring ExecutablePath() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  return path;
}

std::wstring FolderOf(const std::wstring& path) {
  const size_t separator = path.find_last_of(L"\\/");
  return separator == std::wstring::npos ? std::wstring() : path.substr(0, separator);
}

unsigned long long SecondsOf(const SYSTEMTIME& time) {
  SYSTEMTIME whole = time;
  whole.wMilliseconds = 0;
  FILETIME stamp;
  if (!SystemTimeToFileTime(&whole, &stamp)) return 0;
  return ((static_cast<unsigned long long>(stamp.dwHighDateTime) << 32) | stamp.dwLowDateTime) /
         10000000ull;
}

ChildRun RunChild(const std::wstring& exe, const std::wstring& arguments,
                  const std::wstring& tempFolder, const std::wstring& currentFolder) {
  ChildRun run;
  std::wstring commandLine = L"\"" + exe + L"\" " + arguments;
  std::wstring environment = EnvironmentWith({L"TEMP=" + tempFolder, L"TMP=" + tempFolder});
  OwnedHandle nul(OpenInheritableNul());
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = nul.Get();
  startup.hStdOutput = nul.Get();
  startup.hStdError = nul.Get();
  PROCESS_INFORMATION process = {};
  GetLocalTime(&run.started);
  if (!CreateProcessW(exe.c_str(), &commandLine[0], nullptr, nullptr, TRUE,
                      CREATE_UNICODE_ENVIRONMENT, &environment[0], currentFolder.c_str(), &startup,
                      &process)) {
    run.error = GetLastError();
    return run;
  }
  OwnedHandle processHandle(process.hProcess);
  OwnedHandle threadHandle(process.hThread);
  run.processId = process.dwProcessId;
  if (WaitForSingleObject(process.hProcess, kChildTimeoutMs) != WAIT_OBJECT_0) {
    TerminateProcess(process.hProcess, 1);
    run.error = WAIT_TIMEOUT;
  } else if (!GetExitCodeProcess(process.hProcess, &run.exitCode)) {
    run.error = GetLastError();
  }
  GetLocalTime(&run.ended);
  return run;
}
