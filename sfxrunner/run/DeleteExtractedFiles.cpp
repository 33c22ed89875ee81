#include "DeleteExtractedFiles.h"

#include <windows.h>

#include "FolderTree.h"

namespace status = veltrano::status;

namespace {

constexpr DWORD kRetryStepMs = 50;

// Waits until the folders of deleted-but-still-open files could be removed, or the time is up.
void RemoveFoldersOnceReleased(const std::wstring& folder, DWORD retryLimitMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    Sleep(kRetryStepMs);
    uint32_t remaining = 0;
    if (RemoveEmptyFolderTree(folder, &remaining) != status::kOk || remaining == 0) return;
    // The tick count may wrap; the subtraction is unsigned on purpose.
    if (GetTickCount() - start >= retryLimitMs) return;
  }
}

}  // namespace

DeleteExtractedFiles::DeleteExtractedFiles()
    : Task(L"Extracted files are being deleted. Please wait...") {}

Status DeleteExtractedFiles::Run(uint32_t* exitValue) {
  if (exitValue != nullptr) *exitValue = 0;
  // A folder that is missing or cannot be examined leaves nothing to delete.
  if (GetFileAttributesW(targetFolder.c_str()) == INVALID_FILE_ATTRIBUTES) return status::kOk;
  uint32_t keptFiles = 0;
  const Status result = DeleteFolderTree(targetFolder, &keptFiles, nullptr, nullptr);
  if (result == status::kFolderStillBusy) RemoveFoldersOnceReleased(targetFolder, retryLimitMs);
  return status::kOk;
}
