#include <gtest/gtest.h>

#include "ExtractFixtures.h"

#include <vector>

#include "ExtractFiles.h"
#include "Handles.h"
#include "UiFiles.h"
#include "UiPath.h"

namespace extracttest {

std::wstring FixturePath(const std::string& relative) {
  return uitest::WindowsPathOf((std::string(EXTRACT_FIXTURES_DIR) + "/" + relative).c_str());
}

veltrano::Status Extract(const std::wstring& source, const std::wstring& target) {
  ExtractFiles task;
  task.sourcePath = source;
  task.targetFolder = target;
  uint32_t exitValue = 0;
  return task.Run(&exitValue);
}

bool CopyOwnExecutable(const std::wstring& destination) {
  wchar_t self[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
  return length > 0 && length < MAX_PATH && CopyFileW(self, destination.c_str(), FALSE);
}

bool MakePackage(const std::wstring& archive, const std::wstring& package) {
  std::string image;
  std::string payload;
  return CopyOwnExecutable(package) && uitest::ReadFileBytes(package, image) &&
         uitest::ReadFileBytes(archive, payload) &&
         uitest::WriteFileBytes(package, image + payload);
}

namespace {

bool IsFolder(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

}  // namespace

::testing::AssertionResult SameTree(const std::wstring& expected, const std::wstring& actual) {
  const std::vector<std::wstring> names = uitest::ListFolder(expected);
  if (names != uitest::ListFolder(actual)) {
    return ::testing::AssertionFailure() << "entries differ in " << Narrow(actual);
  }
  for (const std::wstring& name : names) {
    const std::wstring expectedPath = expected + L"\\" + name;
    const std::wstring actualPath = actual + L"\\" + name;
    if (IsFolder(expectedPath)) {
      if (!IsFolder(actualPath)) return ::testing::AssertionFailure() << Narrow(actualPath);
      ::testing::AssertionResult inner = SameTree(expectedPath, actualPath);
      if (!inner) return inner;
      continue;
    }
    std::string expectedBytes;
    std::string actualBytes;
    if (!uitest::ReadFileBytes(expectedPath, expectedBytes) ||
        !uitest::ReadFileBytes(actualPath, actualBytes) || expectedBytes != actualBytes) {
      return ::testing::AssertionFailure() << "content differs: " << Narrow(actualPath);
    }
  }
  return ::testing::AssertionSuccess();
}

bool GetLastWriteTime(const std::wstring& path, FILETIME& time) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return false;
  time = data.ftLastWriteTime;
  return true;
}

bool SetLastWriteTime(const std::wstring& path, const FILETIME& time) {
  UniqueHandle file(CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  return file.IsValid() && SetFileTime(file.Get(), nullptr, nullptr, &time);
}

}  // namespace extracttest
