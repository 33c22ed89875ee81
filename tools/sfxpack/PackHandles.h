#pragma once
// One small owner per resource kind the package tool holds: each is released on every path.
#include <windows.h>

#include <string>

#include "VTHandles.h"

namespace sfxpack {

// A kernel handle of the package tool (files): the foundation's owner.
using FileHandle = veltrano::UniqueHandle;

// An image loaded for its resources only; nothing of it runs.
class DataModule {
 public:
  explicit DataModule(const std::wstring& path)
      : module_(LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {}
  ~DataModule() {
    if (module_ != nullptr) FreeLibrary(module_);
  }
  DataModule(const DataModule&) = delete;
  DataModule& operator=(const DataModule&) = delete;
  HMODULE Get() const { return module_; }

 private:
  HMODULE module_;
};

// A pending resource update; discarded unless committed.
class ResourceUpdate {
 public:
  ResourceUpdate(const std::wstring& path, bool deleteExisting)
      : update_(BeginUpdateResourceW(path.c_str(), deleteExisting)) {}
  ~ResourceUpdate() {
    if (update_ != nullptr) EndUpdateResourceW(update_, TRUE);
  }
  ResourceUpdate(const ResourceUpdate&) = delete;
  ResourceUpdate& operator=(const ResourceUpdate&) = delete;
  HANDLE Get() const { return update_; }
  // Writes the changes into the file; false (with the last error set) when that failed.
  bool Commit() {
    HANDLE update = update_;
    update_ = nullptr;
    return EndUpdateResourceW(update, FALSE) != FALSE;
  }

 private:
  HANDLE update_;
};

// A file that is deleted again unless it was kept: a failed run leaves nothing half-written.
class TemporaryFile {
 public:
  explicit TemporaryFile(std::wstring path) : path_(std::move(path)) {}
  ~TemporaryFile() {
    if (!kept_) DeleteFileW(path_.c_str());
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  const std::wstring& Path() const { return path_; }
  void Keep() { kept_ = true; }

 private:
  std::wstring path_;
  bool kept_ = false;
};

}  // namespace sfxpack
