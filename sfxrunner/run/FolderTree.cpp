#include "FolderTree.h"

#include <windows.h>

#include <vector>

#include "ArchivePaths.h"
#include "Handles.h"
#include "VTLastError.h"

namespace status = veltrano::status;
using veltrano::LastErrorOr;

namespace {

using FindRecords = std::vector<WIN32_FIND_DATAW>;

bool IsMissing(DWORD error) {
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

bool IsDotEntry(const WIN32_FIND_DATAW& entry) {
  return wcscmp(entry.cFileName, L".") == 0 || wcscmp(entry.cFileName, L"..") == 0;
}

bool Has(DWORD attributes, DWORD flag) { return (attributes & flag) != 0; }

void RememberFirst(Status& remembered, Status error) {
  if (remembered == status::kOk) remembered = error;
}

void Increment(uint32_t* counter) {
  if (counter != nullptr) ++*counter;
}

void AddTo(uint32_t* counter, uint32_t amount) {
  if (counter != nullptr) *counter += amount;
}

void Reset(uint32_t* counter) {
  if (counter != nullptr) *counter = 0;
}

Status ListEntries(const std::wstring& folder, FindRecords& entries) {
  entries.clear();
  WIN32_FIND_DATAW data;
  FindHandle find(WithTrailingSeparator(folder) + L"*", data);
  if (!find.IsValid()) return LastErrorOr();
  do {
    entries.push_back(data);
  } while (find.Next(data));
  const DWORD error = GetLastError();
  return error == ERROR_NO_MORE_FILES ? status::kOk : LastErrorOr();
}

// Removes a junction or symbolic link itself. It is opened as the link, and deleted through
// that handle only when the handle really is the link: Wine follows links even then, and
// deleting what it opened would delete the target.
Status RemoveLink(const std::wstring& path) {
  UniqueHandle link(
      CreateFileW(path.c_str(), DELETE | FILE_READ_ATTRIBUTES,
                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                  FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!link.IsValid()) return LastErrorOr();
  BY_HANDLE_FILE_INFORMATION info;
  if (!GetFileInformationByHandle(link.Get(), &info)) return LastErrorOr();
  if (!Has(info.dwFileAttributes, FILE_ATTRIBUTE_REPARSE_POINT)) return status::kFailed;
  FILE_DISPOSITION_INFO disposition = {TRUE};
  if (!SetFileInformationByHandle(link.Get(), FileDispositionInfo, &disposition,
                                  sizeof(disposition))) {
    return LastErrorOr();
  }
  return status::kOk;
}

// Whether a deleted file's name still exists: a name that cannot be opened for reading with
// "access denied" waits for deletion while another process holds the file.
enum class DeletedName { Gone, Pending, StillThere };

DeletedName ProbeDeletedName(const std::wstring& path) {
  UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file.IsValid()) return DeletedName::StillThere;
  return GetLastError() == ERROR_ACCESS_DENIED ? DeletedName::Pending : DeletedName::Gone;
}

// Deletes one file; a file that is only waiting for deletion counts in `keptFiles`, and the
// name is only checked when that counter is wanted.
Status DeleteOneFile(const std::wstring& path, uint32_t* keptFiles) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = GetLastError();
    return IsMissing(error) ? status::kNotFound : LastErrorOr();
  }
  if (Has(attributes, FILE_ATTRIBUTE_READONLY) &&
      !SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL)) {
    return LastErrorOr();
  }
  if (!DeleteFileW(path.c_str())) return LastErrorOr();
  if (keptFiles == nullptr) return status::kOk;
  switch (ProbeDeletedName(path)) {
    case DeletedName::Pending:
      ++*keptFiles;
      return status::kOk;
    case DeletedName::StillThere:
      return status::kFailed;
    case DeletedName::Gone:
      break;
  }
  return status::kOk;
}

// The counters of one DeleteFolderTree call, given or not.
struct TreeCounters {
  uint32_t* keptFiles;
  uint32_t* failedFiles;
  uint32_t* keptFolders;
};

Status DeleteTree(const std::wstring& folder, TreeCounters counters) {
  bool allGone = counters.keptFiles != nullptr;
  FindRecords entries;
  VT_RETURN_IF_FAILED(ListEntries(folder, entries));
  Status remembered = status::kOk;
  for (const WIN32_FIND_DATAW& entry : entries) {
    const DWORD attributes = entry.dwFileAttributes;
    if (Has(attributes, FILE_ATTRIBUTE_SYSTEM)) {
      allGone = false;
      RememberFirst(remembered, status::kSystemEntryKept);
      continue;
    }
    if (IsDotEntry(entry)) continue;
    const std::wstring path = WithTrailingSeparator(folder) + entry.cFileName;
    if (Has(attributes, FILE_ATTRIBUTE_REPARSE_POINT)) {
      const Status result = RemoveLink(path);
      if (result != status::kOk) {
        allGone = false;
        RememberFirst(remembered, result);
        Increment(Has(attributes, FILE_ATTRIBUTE_DIRECTORY) ? counters.keptFolders
                                                            : counters.failedFiles);
      }
    } else if (Has(attributes, FILE_ATTRIBUTE_DIRECTORY)) {
      const Status result = DeleteTree(path, counters);
      if (result != status::kOk && result != status::kFolderStillBusy) {
        allGone = false;
        RememberFirst(remembered, result);
      }
    } else {
      const Status result = DeleteOneFile(path, counters.keptFiles);
      if (result != status::kOk) {
        allGone = false;
        RememberFirst(remembered, result);
        Increment(counters.failedFiles);
      }
    }
  }
  if (RemoveDirectoryW(folder.c_str())) return remembered;
  const DWORD error = GetLastError();
  if (error == 0) return remembered;
  Increment(counters.keptFolders);
  if (error == ERROR_DIR_NOT_EMPTY && allGone) return status::kFolderStillBusy;
  return remembered != status::kOk ? remembered : error;
}

// A linked folder counts as one remaining folder when its link stays.
Status RemoveLinkedFolder(const std::wstring& path, uint32_t* remaining) {
  const Status result = RemoveLink(path);
  if (result != status::kOk) Increment(remaining);
  return result;
}

bool IsLink(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && Has(attributes, FILE_ATTRIBUTE_REPARSE_POINT);
}

}  // namespace

Status DeleteFolderTree(const std::wstring& folder, uint32_t* keptFiles, uint32_t* failedFiles,
                        uint32_t* keptFolders) {
  Reset(keptFiles);
  Reset(failedFiles);
  Reset(keptFolders);
  if (IsLink(folder)) return RemoveLinkedFolder(folder, keptFolders);
  return DeleteTree(folder, {keptFiles, failedFiles, keptFolders});
}

Status RemoveEmptyFolderTree(const std::wstring& folder, uint32_t* remaining) {
  Reset(remaining);
  const DWORD attributes = GetFileAttributesW(folder.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES && IsMissing(GetLastError())) return status::kOk;
  if (attributes != INVALID_FILE_ATTRIBUTES && Has(attributes, FILE_ATTRIBUTE_REPARSE_POINT)) {
    return RemoveLinkedFolder(folder, remaining);
  }
  FindRecords entries;
  VT_RETURN_IF_FAILED(ListEntries(folder, entries));
  bool empty = true;
  Status remembered = status::kOk;
  for (const WIN32_FIND_DATAW& entry : entries) {
    if (Has(entry.dwFileAttributes, FILE_ATTRIBUTE_SYSTEM)) {
      empty = false;
      RememberFirst(remembered, status::kSystemEntryKept);
      continue;
    }
    if (IsDotEntry(entry)) continue;
    if (!Has(entry.dwFileAttributes, FILE_ATTRIBUTE_DIRECTORY)) {
      empty = false;
      continue;
    }
    const std::wstring path = WithTrailingSeparator(folder) + entry.cFileName;
    uint32_t subRemaining = 0;
    const Status result = Has(entry.dwFileAttributes, FILE_ATTRIBUTE_REPARSE_POINT)
                              ? RemoveLinkedFolder(path, &subRemaining)
                              : RemoveEmptyFolderTree(path, &subRemaining);
    AddTo(remaining, subRemaining);
    if (subRemaining != 0) empty = false;
    if (result != status::kOk) {
      empty = false;
      RememberFirst(remembered, result);
    }
  }
  if (!empty) {
    Increment(remaining);
    return remembered;
  }
  if (!RemoveDirectoryW(folder.c_str())) {
    const DWORD error = GetLastError();
    if (error != 0) {
      RememberFirst(remembered, error);
      Increment(remaining);
    }
  }
  return remembered;
}
