#include "Transaction.h"

#include <objbase.h>
#include <shlobj.h>

#include "SetupLog.h"
#include "VTHandles.h"
#include "VTLastError.h"

namespace status = veltrano::status;
using veltrano::LastErrorOr;

namespace {

constexpr wchar_t kBackupSuffix[] = L".setup-backup";

bool Exists(const std::wstring& path) {
  return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::wstring Parent(const std::wstring& path) {
  const size_t separator = path.find_last_of(L'\\');
  return separator == std::wstring::npos ? L"" : path.substr(0, separator);
}

// A value as it was before the install changed it.
struct SavedValue {
  bool existed = false;
  DWORD type = 0;
  std::vector<BYTE> data;
};

SavedValue ReadValue(HKEY key, const wchar_t* name) {
  SavedValue saved;
  DWORD size = 0;
  if (::RegQueryValueExW(key, name, nullptr, &saved.type, nullptr, &size) != ERROR_SUCCESS) {
    return saved;
  }
  saved.data.resize(size);
  saved.existed = ::RegQueryValueExW(key, name, nullptr, &saved.type, saved.data.data(),
                                     &size) == ERROR_SUCCESS;
  saved.data.resize(size);
  return saved;
}

bool KeyExists(const std::wstring& subKey) {
  veltrano::RegistryKey key;
  return key.Open(HKEY_LOCAL_MACHINE, subKey.c_str()) == ERROR_SUCCESS;
}

// The topmost key on the way to `subKey` that does not exist yet; empty when `subKey` exists.
std::wstring FirstMissingKey(const std::wstring& subKey) {
  std::wstring missing;
  for (std::wstring key = subKey; !key.empty() && !KeyExists(key);) {
    missing = key;
    const size_t separator = key.find_last_of(L'\\');
    key = separator == std::wstring::npos ? L"" : key.substr(0, separator);
  }
  return missing;
}

}  // namespace

Transaction::~Transaction() { Rollback(); }

veltrano::Status Transaction::CreateFolders(const std::wstring& folder) {
  if (folder.empty() || Exists(folder)) return status::kOk;
  VT_RETURN_IF_FAILED(CreateFolders(Parent(folder)));
  if (!::CreateDirectoryW(folder.c_str(), nullptr)) {
    const veltrano::Status error = LastErrorOr();
    log_.Write(L"cannot create the folder " + folder, error);
    return error;
  }
  log_.Write(L"created the folder " + folder);
  undo_.push_back([folder] { ::RemoveDirectoryW(folder.c_str()); });
  return status::kOk;
}

veltrano::Status Transaction::Backup(const std::wstring& path, std::wstring& backup) {
  backup.clear();
  if (!Exists(path)) return status::kOk;
  backup = path + kBackupSuffix;
  ::SetFileAttributesW(backup.c_str(), FILE_ATTRIBUTE_NORMAL);
  ::DeleteFileW(backup.c_str());
  if (!::MoveFileExW(path.c_str(), backup.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    const veltrano::Status error = LastErrorOr();
    log_.Write(L"cannot set aside the earlier " + path, error);
    backup.clear();
    return error;
  }
  backups_.push_back(backup);
  undo_.push_back([path, backup] {
    ::MoveFileExW(backup.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
  });
  return status::kOk;
}

veltrano::Status Transaction::CopyFile(const std::wstring& source, const std::wstring& target) {
  std::wstring backup;
  VT_RETURN_IF_FAILED(Backup(target, backup));
  // Registered before the copy: a copy that fails half-way leaves a part to remove.
  undo_.push_back([target] {
    ::SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileW(target.c_str());
  });
  if (!::CopyFileW(source.c_str(), target.c_str(), FALSE)) {
    const veltrano::Status error = LastErrorOr();
    log_.Write(L"cannot copy " + source + L" to " + target, error);
    return error;
  }
  log_.Write(L"copied " + target);
  return status::kOk;
}

veltrano::Status Transaction::SetValue(const std::wstring& subKey, const wchar_t* name,
                                       DWORD type, const void* data, DWORD size) {
  const std::wstring missing = FirstMissingKey(subKey);
  veltrano::RegistryKey key;
  const veltrano::Status created = key.Create(HKEY_LOCAL_MACHINE, subKey.c_str());
  if (created != ERROR_SUCCESS) {
    log_.Write(L"cannot create the key HKLM\\" + subKey, created);
    return created;
  }
  if (!missing.empty()) {
    undo_.push_back([missing] { ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, missing.c_str()); });
  } else {
    const SavedValue saved = ReadValue(key.Get(), name);
    const std::wstring valueName = name != nullptr ? name : L"";
    undo_.push_back([subKey, valueName, saved] {
      veltrano::RegistryKey restore;
      if (restore.Open(HKEY_LOCAL_MACHINE, subKey.c_str(), KEY_SET_VALUE) != ERROR_SUCCESS) return;
      const wchar_t* value = valueName.empty() ? nullptr : valueName.c_str();
      if (saved.existed) {
        ::RegSetValueExW(restore.Get(), value, 0, saved.type, saved.data.data(),
                         static_cast<DWORD>(saved.data.size()));
      } else {
        ::RegDeleteValueW(restore.Get(), value);
      }
    });
  }
  const LSTATUS written =
      ::RegSetValueExW(key.Get(), name, 0, type, static_cast<const BYTE*>(data), size);
  if (written != ERROR_SUCCESS) {
    log_.Write(L"cannot write a value of HKLM\\" + subKey, static_cast<veltrano::Status>(written));
    return static_cast<veltrano::Status>(written);
  }
  log_.Write(L"wrote HKLM\\" + subKey + L" " + (name != nullptr ? name : L"(default)"));
  return status::kOk;
}

veltrano::Status Transaction::SetString(const std::wstring& subKey, const wchar_t* name,
                                        const std::wstring& value) {
  return SetValue(subKey, name, REG_SZ, value.c_str(),
                  static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

veltrano::Status Transaction::SetDword(const std::wstring& subKey, const wchar_t* name,
                                       DWORD value) {
  return SetValue(subKey, name, REG_DWORD, &value, sizeof value);
}

veltrano::Status Transaction::CreateShortcut(const std::wstring& path, const std::wstring& target,
                                             const std::wstring& workingFolder,
                                             const std::wstring& description) {
  VT_RETURN_IF_FAILED(CreateFolders(Parent(path)));
  std::wstring backup;
  VT_RETURN_IF_FAILED(Backup(path, backup));
  undo_.push_back([path] { ::DeleteFileW(path.c_str()); });
  IShellLinkW* link = nullptr;
  HRESULT result = ::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_IShellLinkW, reinterpret_cast<void**>(&link));
  IPersistFile* file = nullptr;
  if (SUCCEEDED(result)) {
    link->SetPath(target.c_str());
    link->SetWorkingDirectory(workingFolder.c_str());
    link->SetDescription(description.c_str());
    result = link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
  }
  if (SUCCEEDED(result)) result = file->Save(path.c_str(), TRUE);
  if (file != nullptr) file->Release();
  if (link != nullptr) link->Release();
  if (FAILED(result)) {
    log_.Write(L"cannot create the shortcut " + path, static_cast<veltrano::Status>(result));
    return static_cast<veltrano::Status>(result);
  }
  log_.Write(L"created the shortcut " + path);
  return status::kOk;
}

void Transaction::Commit() {
  for (const std::wstring& backup : backups_) {
    ::SetFileAttributesW(backup.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileW(backup.c_str());
  }
  backups_.clear();
  undo_.clear();
}

void Transaction::Rollback() {
  if (undo_.empty()) return;
  log_.Write(L"rolling back " + std::to_wstring(undo_.size()) + L" changes");
  while (!undo_.empty()) {
    undo_.back()();
    undo_.pop_back();
  }
  backups_.clear();
}
