#pragma once
// The first task of every run: unpacks the 7z archive appended to the stub's own executable
// into the target folder.
#include <cstdint>
#include <string>

#include "Task.h"

class ExtractFiles : public Task {
 public:
  ExtractFiles();

  // 0, or 0xEE000001 for any archive failure, the module path status, or the Windows error of
  // creating the target folder. Never sets an exit value.
  Status Run(uint32_t* exitValue) override;
  bool NeedsNativeFileSystem() const override { return true; }

  // The package (or bare archive) to unpack; empty means the running executable.
  std::wstring sourcePath;

 private:
  Status ResolveSourcePath(std::wstring& path) const;
};
