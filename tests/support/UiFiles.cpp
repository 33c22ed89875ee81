#include "UiFiles.h"

#include <windows.h>

#include <algorithm>

#include "UiHandle.h"

namespace uitest {
namespace {

using veltrano::FindHandle;

struct FolderEntry {
  std::wstring name;
  DWORD attributes;
};

std::vector<FolderEntry> FolderEntries(const std::wstring& folder) {
  std::vector<FolderEntry> entries;
  WIN32_FIND_DATAW data;
  FindHandle find(folder + L"\\*", data);
  if (!find.IsValid()) return entries;
  do {
    const std::wstring name = data.cFileName;
    if (name != L"." && name != L"..") entries.push_back({name, data.dwFileAttributes});
  } while (find.Next(data));
  return entries;
}

}  // namespace

ScratchFolder::ScratchFolder() {
  wchar_t temp[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH, temp);
  // Wine reuses process ids, and a folder an earlier run could not remove (a file a child
  // still held) may carry this process's name: a test always starts with a new, empty one.
  static LONG counter = 0;
  do {
    path_ = std::wstring(temp) + L"vt-scratch-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(InterlockedIncrement(&counter));
  } while (!CreateDirectoryW(path_.c_str(), nullptr) && GetLastError() == ERROR_ALREADY_EXISTS);
}

ScratchFolder::~ScratchFolder() { RemoveFolderTree(path_); }

void RemoveFolderTree(const std::wstring& folder) {
  for (const FolderEntry& entry : FolderEntries(folder)) {
    const std::wstring path = folder + L"\\" + entry.name;
    if (entry.attributes & FILE_ATTRIBUTE_REPARSE_POINT) continue;
    if (entry.attributes & FILE_ATTRIBUTE_DIRECTORY) {
      RemoveFolderTree(path);
    } else {
      SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileW(path.c_str());
    }
  }
  RemoveDirectoryW(folder.c_str());
}

bool ReadFileBytes(const std::wstring& path, std::string& bytes) {
  bytes.clear();
  UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.IsValid()) return false;
  char chunk[65536];
  DWORD read = 0;
  for (;;) {
    if (!ReadFile(file.Get(), chunk, sizeof(chunk), &read, nullptr)) return false;
    if (read == 0) return true;
    bytes.append(chunk, read);
  }
}

bool WriteFileBytes(const std::wstring& path, const std::string& bytes) {
  UniqueHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  return file.IsValid() &&
         WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size();
}

bool FileExists(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<std::wstring> ListFolder(const std::wstring& folder) {
  std::vector<std::wstring> names;
  for (const FolderEntry& entry : FolderEntries(folder)) names.push_back(entry.name);
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace uitest
