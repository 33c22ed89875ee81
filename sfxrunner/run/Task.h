#pragma once
// One step of a run after the dialogs: extracting, launching, deleting the extracted files.
// The start-up code builds the list; the worker thread runs it in order and stops at the
// first task whose status is not 0.
#include <cstdint>
#include <string>

#include "VTStatus.h"

using veltrano::Status;

class Task {
 public:
  explicit Task(const wchar_t* taskDescription) : description(taskDescription) {}
  virtual ~Task() = default;
  Task(const Task&) = delete;
  Task& operator=(const Task&) = delete;

  // The worker sets `*exitValue` to 0 before the call; a task may store an exit value there
  // (the launched program's exit code).
  virtual Status Run(uint32_t* exitValue) = 0;
  // File work of a 32-bit stub on 64-bit Windows must see the native folders; a launch must
  // not, since programs, DLLs and the shell are found through the redirected view.
  virtual bool NeedsNativeFileSystem() const { return false; }

  void SetTargetFolder(const std::wstring& folder) { targetFolder = folder; }
  std::wstring GetTargetFolder() const { return targetFolder; }

  std::wstring description;  // not shown: the progress window has a marquee only
  std::wstring targetFolder;
  bool hideProgress = false;    // the progress window stays hidden while this task runs
  uint32_t minDurationMs = 0;   // the worker spends at least this long on the task
};
