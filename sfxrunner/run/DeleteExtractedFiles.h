#pragma once
// The last task of a waited-for launch: deletes the extracted files again. It always
// succeeds, so that a clean-up that fails never changes the run's exit code; whatever cannot
// be deleted stays in the temporary folder.
#include <cstdint>

#include "Task.h"

class DeleteExtractedFiles : public Task {
 public:
  DeleteExtractedFiles();

  Status Run(uint32_t* exitValue) override;
  bool NeedsNativeFileSystem() const override { return true; }

  // Files that the launched program's children still hold open go once those close; the
  // folders are retried for this long at most.
  uint32_t retryLimitMs = 5000;
};
