#include "LaunchFixtures.h"

#include <chrono>
#include <sstream>
#include <thread>

#include "UiFiles.h"
#include "UiHandle.h"
#include "UiPath.h"
#include "VTStringConv.h"

namespace launchtest {

namespace {

bool MakeFolders(const std::wstring& folder) {
  if (CreateDirectoryW(folder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS) {
    return true;
  }
  const size_t separator = folder.find_last_of(L'\\');
  if (separator == std::wstring::npos || separator == 0) return false;
  return MakeFolders(folder.substr(0, separator)) && CreateDirectoryW(folder.c_str(), nullptr);
}

std::wstring Normalized(const std::wstring& path) {
  std::wstring result = path;
  for (wchar_t& c : result) {
    if (c == L'/') c = L'\\';
  }
  while (result.size() > 3 && result.back() == L'\\') result.pop_back();
  CharUpperBuffW(&result[0], static_cast<DWORD>(result.size()));
  return result;
}

}  // namespace

std::wstring RecorderPath() { return uitest::WindowsPathOf(ARGRECORDER_EXE); }

bool PlaceRecorder(const std::wstring& path) {
  const size_t separator = path.find_last_of(L'\\');
  if (separator != std::wstring::npos && !MakeFolders(path.substr(0, separator))) return false;
  return CopyFileW(RecorderPath().c_str(), path.c_str(), FALSE) != FALSE;
}

ScopedVariable::ScopedVariable(const wchar_t* name, const std::wstring& value) : name_(name) {
  const DWORD needed = GetEnvironmentVariableW(name, nullptr, 0);
  if (needed != 0) {
    previous_.assign(needed, L'\0');
    const DWORD length = GetEnvironmentVariableW(name, &previous_[0], needed);
    previous_.resize(length);
    hadValue_ = true;
  }
  SetEnvironmentVariableW(name, value.c_str());
}

ScopedVariable::~ScopedVariable() {
  SetEnvironmentVariableW(name_.c_str(), hadValue_ ? previous_.c_str() : nullptr);
}

ScopedCurrentFolder::ScopedCurrentFolder(const std::wstring& folder) {
  const DWORD needed = GetCurrentDirectoryW(0, nullptr);
  previous_.assign(needed, L'\0');
  previous_.resize(GetCurrentDirectoryW(needed, &previous_[0]));
  SetCurrentDirectoryW(folder.c_str());
}

ScopedCurrentFolder::~ScopedCurrentFolder() { SetCurrentDirectoryW(previous_.c_str()); }

bool ReadRecord(const std::wstring& path, Record& record) {
  record = Record();
  std::string bytes;
  if (!uitest::ReadFileBytes(path, bytes)) return false;
  std::wistringstream lines(veltrano::Utf8ToWide(bytes.c_str()));
  std::wstring line;
  size_t argumentCount = 0;
  bool complete = false;
  while (std::getline(lines, line)) {
    const size_t equals = line.find(L'=');
    if (equals == std::wstring::npos) return false;
    const std::wstring key = line.substr(0, equals);
    const std::wstring value = line.substr(equals + 1);
    if (key == L"CommandLine") record.commandLine = value;
    if (key == L"Program") record.program = value;
    if (key == L"CurrentFolder") record.currentFolder = value;
    if (key == L"ProcessId") record.processId = std::stoul(value);
    if (key == L"ArgumentCount") {
      argumentCount = std::stoul(value);
      complete = true;
    }
    if (key == L"Argument") record.arguments.push_back(value);
    if (key == L"HolderProcessId") record.holderProcessId = std::stoul(value);
  }
  return complete && record.arguments.size() == argumentCount;
}

bool WaitForRecord(const std::wstring& path, DWORD timeoutMs, Record& record) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!ReadRecord(path, record)) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return true;
}

bool WaitForProcessEnd(DWORD processId, DWORD timeoutMs) {
  const uitest::UniqueHandle process(OpenProcess(SYNCHRONIZE, FALSE, processId));
  if (!process.IsValid()) return true;
  return WaitForSingleObject(process.Get(), timeoutMs) == WAIT_OBJECT_0;
}

bool EndProcess(DWORD processId) {
  const uitest::UniqueHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId));
  if (!process.IsValid()) return true;
  TerminateProcess(process.Get(), 0);
  return WaitForSingleObject(process.Get(), INFINITE) == WAIT_OBJECT_0;
}

bool SamePath(const std::wstring& left, const std::wstring& right) {
  return Normalized(left) == Normalized(right);
}

}  // namespace launchtest
