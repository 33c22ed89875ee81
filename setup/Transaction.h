#pragma once
// The changes of one install, each with the way back: a failure half-way rolls back everything
// written so far, so that the machine is as it was before (an earlier install included, whose
// files wait in backups until the new install is complete).
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "VTStatus.h"

class SetupLog;

class Transaction {
 public:
  explicit Transaction(SetupLog& log) : log_(log) {}
  ~Transaction();  // rolls back what was neither committed nor rolled back
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;

  // Creates `folder` and any missing folder above it.
  veltrano::Status CreateFolders(const std::wstring& folder);
  // Copies `source` to `target`; an existing target is kept as a backup until Commit.
  veltrano::Status CopyFile(const std::wstring& source, const std::wstring& target);
  // Writes a value (REG_SZ or REG_DWORD) of HKEY_LOCAL_MACHINE\`subKey`, creating the key.
  veltrano::Status SetString(const std::wstring& subKey, const wchar_t* name,
                             const std::wstring& value);
  veltrano::Status SetDword(const std::wstring& subKey, const wchar_t* name, DWORD value);
  // A shortcut at `path` to `target`, started in `workingFolder`.
  veltrano::Status CreateShortcut(const std::wstring& path, const std::wstring& target,
                                  const std::wstring& workingFolder,
                                  const std::wstring& description);

  // The install is complete: backups go, nothing is rolled back any more.
  void Commit();
  // Undoes every change, newest first.
  void Rollback();

 private:
  veltrano::Status SetValue(const std::wstring& subKey, const wchar_t* name, DWORD type,
                            const void* data, DWORD size);
  veltrano::Status Backup(const std::wstring& path, std::wstring& backup);

  SetupLog& log_;
  std::vector<std::function<void()>> undo_;     // newest last
  std::vector<std::wstring> backups_;           // removed on commit
};
