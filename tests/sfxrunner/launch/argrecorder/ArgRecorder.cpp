// argrecorder.exe: a stand-in for a package's setup program in the launch tests. See
// ArgRecorder.h for the variables it reads and the record it writes.
#include <windows.h>

#include <cerrno>
#include <cstdint>
#include <cwchar>
#include <string>

#include "ArgRecorder.h"
#include "VTStringConv.h"

using namespace argrecorder;

namespace {

constexpr DWORD kHolderStartTimeoutMs = 10000;

class Handle {
 public:
  explicit Handle(HANDLE handle) : handle_(handle) {}
  ~Handle() {
    if (IsValid()) CloseHandle(handle_);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  HANDLE Get() const { return handle_; }
  bool IsValid() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE handle_;
};

std::wstring Variable(const wchar_t* name) {
  const DWORD needed = GetEnvironmentVariableW(name, nullptr, 0);
  if (needed == 0) return std::wstring();
  std::wstring value(needed, L'\0');
  const DWORD length = GetEnvironmentVariableW(name, &value[0], needed);
  value.resize(length < needed ? length : 0);
  return value;
}

// Decimal, or hexadecimal after "0x"; false for anything else or more than 32 bits.
bool ParseNumber(const std::wstring& text, uint32_t& number) {
  number = 0;
  if (text.empty()) return true;
  const bool hex = text.size() > 2 && text[0] == L'0' && (text[1] == L'x' || text[1] == L'X');
  const wchar_t* digits = text.c_str() + (hex ? 2 : 0);
  wchar_t* end = nullptr;
  errno = 0;
  const unsigned long long value = std::wcstoull(digits, &end, hex ? 16 : 10);
  if (errno != 0 || end == digits || *end != L'\0' || *digits == L'-' || value > 0xFFFFFFFFull) {
    return false;
  }
  number = static_cast<uint32_t>(value);
  return true;
}

std::wstring OwnPath() {
  std::wstring path(32768, L'\0');
  const DWORD length = GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
  path.resize(length);
  return path;
}

std::wstring CurrentFolder() {
  const DWORD needed = GetCurrentDirectoryW(0, nullptr);
  std::wstring folder(needed, L'\0');
  const DWORD length = GetCurrentDirectoryW(needed, &folder[0]);
  folder.resize(length < needed ? length : 0);
  return folder;
}

bool WriteWholeFile(const std::wstring& path, const std::string& bytes) {
  const std::wstring partial = path + L".partial";
  {
    const Handle file(CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid()) return false;
    DWORD written = 0;
    if (!WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
        written != bytes.size()) {
      return false;
    }
  }
  return MoveFileExW(partial.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
}

void AddLine(std::wstring& record, const wchar_t* key, const std::wstring& value) {
  record += key;
  record += L'=';
  record += value;
  record += L'\n';
}

bool WriteRecord(int argc, wchar_t** argv, DWORD holderProcessId) {
  const std::wstring recordFile = Variable(kRecordFileVariable);
  if (recordFile.empty()) return true;
  std::wstring record;
  AddLine(record, L"CommandLine", GetCommandLineW());
  AddLine(record, L"Program", OwnPath());
  AddLine(record, L"CurrentFolder", CurrentFolder());
  AddLine(record, L"ProcessId", std::to_wstring(GetCurrentProcessId()));
  AddLine(record, L"ArgumentCount", std::to_wstring(argc > 0 ? argc - 1 : 0));
  for (int i = 1; i < argc; ++i) AddLine(record, L"Argument", argv[i]);
  if (holderProcessId != 0) AddLine(record, L"HolderProcessId", std::to_wstring(holderProcessId));
  return WriteWholeFile(recordFile, veltrano::WideToUtf8(record.c_str()));
}

// The holding copy: opens the file, tells the first copy, keeps the file open, ends with 0.
int RunHolder(const std::wstring& readyEventName) {
  uint32_t holdMs = 0;
  if (!ParseNumber(Variable(kHoldFileMsVariable), holdMs))
    return static_cast<int>(kBadSettingExitCode);
  std::wstring name = Variable(kHoldFileNameVariable);
  if (name.empty()) name = kDefaultHeldFileName;
  const bool shareDelete = Variable(kHoldFileShareDeleteVariable) == L"1";
  const DWORD share = FILE_SHARE_READ | (shareDelete ? FILE_SHARE_DELETE : 0);

  const Handle file(CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, share, nullptr,
                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.IsValid()) return static_cast<int>(kHolderFailedExitCode);
  DWORD written = 0;
  WriteFile(file.Get(), "held\n", 5, &written, nullptr);
  // Only the file is held: the folder itself must stay removable once the file is gone.
  wchar_t temp[MAX_PATH + 1] = {};
  if (GetTempPathW(MAX_PATH, temp) != 0) SetCurrentDirectoryW(temp);

  const Handle ready(OpenEventW(EVENT_MODIFY_STATE, FALSE, readyEventName.c_str()));
  if (!ready.IsValid() || !SetEvent(ready.Get())) return static_cast<int>(kHolderFailedExitCode);
  Sleep(holdMs);
  return 0;
}

// Starts the holding copy in the current folder and waits until it has the file open.
bool StartHolder(DWORD& holderProcessId) {
  const std::wstring eventName =
      L"Local\\argrecorder-holder-ready-" + std::to_wstring(GetCurrentProcessId());
  const Handle ready(CreateEventW(nullptr, TRUE, FALSE, eventName.c_str()));
  if (!ready.IsValid()) return false;
  SetEnvironmentVariableW(kHolderReadyEventVariable, eventName.c_str());

  std::wstring commandLine = L"\"" + OwnPath() + L"\" --hold-file";
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION started = {};
  const BOOL created = CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                                      nullptr, &startup, &started);
  SetEnvironmentVariableW(kHolderReadyEventVariable, nullptr);
  if (!created) return false;
  const Handle process(started.hProcess);
  const Handle thread(started.hThread);
  holderProcessId = started.dwProcessId;

  const HANDLE waitFor[] = {ready.Get(), process.Get()};
  return WaitForMultipleObjects(2, waitFor, FALSE, kHolderStartTimeoutMs) == WAIT_OBJECT_0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring readyEventName = Variable(kHolderReadyEventVariable);
  if (!readyEventName.empty()) return RunHolder(readyEventName);

  uint32_t exitCode = 0;
  uint32_t sleepMs = 0;
  uint32_t holdMs = 0;
  if (!ParseNumber(Variable(kExitCodeVariable), exitCode) ||
      !ParseNumber(Variable(kSleepMsVariable), sleepMs) ||
      !ParseNumber(Variable(kHoldFileMsVariable), holdMs)) {
    return static_cast<int>(kBadSettingExitCode);
  }

  DWORD holderProcessId = 0;
  if (holdMs > 0 && !StartHolder(holderProcessId)) return static_cast<int>(kHolderFailedExitCode);
  if (!WriteRecord(argc, argv, holderProcessId)) return static_cast<int>(kRecordFailedExitCode);
  Sleep(sleepMs);
  return static_cast<int>(exitCode);  // all 32 bits reach the parent
}
