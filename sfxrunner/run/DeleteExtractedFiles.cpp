#include "DeleteExtractedFiles.h"

#include <windows.h>

#include "FolderTree.h"

namespace status = veltrano::status;

namespace {

// Files that the launched program's children still hold open go once those close; the
// folders are retried in these steps, for this long at most.
constexpr DWORD kRetryStepMs = 50;
constexpr uint64_t kRetryLimitMs = 5000;

// Milliseconds since construction, from the performance counter.
class Stopwatch {
 public:
  Stopwatch() : start_(Ticks()) {}

  uint64_t ElapsedMs() const {
    return static_cast<uint64_t>(Ticks() - start_) * 1000u / TicksPerSecond();
  }

 private:
  static int64_t Ticks() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
  }

  // The frequency is fixed at boot, so it is asked once per process.
  static uint64_t TicksPerSecond() {
    static const uint64_t frequency = [] {
      LARGE_INTEGER value;
      const bool known = QueryPerformanceFrequency(&value) && value.QuadPart > 0;
      return known ? static_cast<uint64_t>(value.QuadPart) : 1000u;
    }();
    return frequency;
  }

  int64_t start_;
};

// Waits until the folders of deleted-but-still-open files could be removed, or the time is up.
void RemoveFoldersOnceReleased(const std::wstring& folder) {
  const Stopwatch stopwatch;
  for (;;) {
    Sleep(kRetryStepMs);
    uint32_t remaining = 0;
    if (RemoveEmptyFolderTree(folder, &remaining) != status::kOk || remaining == 0) return;
    if (stopwatch.ElapsedMs() >= kRetryLimitMs) return;
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
  uint32_t failedFiles = 0;
  const Status result = DeleteFolderTree(targetFolder, &keptFiles, &failedFiles, nullptr);
  if (result == status::kFolderStillBusy) RemoveFoldersOnceReleased(targetFolder);
  return status::kOk;
}
