#include "Setup.h"

#include <windows.h>

#include <cwctype>

#include "ProductLayout.h"
#include "VTHandles.h"
#include "VTLastError.h"

namespace status = veltrano::status;
using veltrano::Status;

namespace {

constexpr DWORD kMixerExitWaitMs = 30000;
constexpr int kSetupDeleteAttempts = 100;
constexpr DWORD kSetupDeleteRetryMs = 100;

std::wstring FullPath(const std::wstring& path) {
  wchar_t full[MAX_PATH] = {};
  const DWORD length = ::GetFullPathNameW(path.c_str(), MAX_PATH, full, nullptr);
  std::wstring result = length > 0 && length < MAX_PATH ? full : path;
  while (result.size() > 3 && result.back() == L'\\') result.pop_back();
  return result;
}

bool SamePath(const std::wstring& left, const std::wstring& right) {
  return ::lstrcmpiW(FullPath(left).c_str(), FullPath(right).c_str()) == 0;
}

DWORD KiloBytes(const std::wstring& folder, const std::vector<std::wstring>& files) {
  unsigned long long bytes = 0;
  for (const std::wstring& file : files) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (::GetFileAttributesExW(Join(folder, file).c_str(), GetFileExInfoStandard, &data)) {
      bytes += (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    }
  }
  return static_cast<DWORD>((bytes + 1023) / 1024);
}

std::wstring Quoted(const std::wstring& path) { return L"\"" + path + L"\""; }

bool RemoveFileIfThere(const std::wstring& path) {
  if (::GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) return true;
  ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  return ::DeleteFileW(path.c_str()) != FALSE;
}

// An empty folder goes; one that holds something of the user's stays, and that is fine.
void RemoveFolderIfEmpty(const std::wstring& folder) { ::RemoveDirectoryW(folder.c_str()); }

}  // namespace

Setup::Setup(const SetupOptions& options, SetupLog& log)
    : options_(options), log_(log), transaction_(log) {}

Status Setup::Prepare() {
  packageFolder_ = OwnFolder();
  installFolder_ = options_.folder;
  if (installFolder_.empty()) installFolder_ = InstalledFolder();
  if (installFolder_.empty()) VT_RETURN_IF_FAILED(DefaultInstallFolder(installFolder_));
  installFolder_ = FullPath(installFolder_);
  VT_RETURN_IF_FAILED(CommonProgramsFolder(programsFolder_));
  log_.Write(std::wstring(options_.uninstall ? L"removing " : L"installing ") +
             product::kDisplayName + L" in " + installFolder_);
  return options_.uninstall ? PrepareUninstall() : PrepareInstall();
}

Status Setup::PrepareInstall() {
  Status found = PackageFiles(packageFolder_, files_);
  if (found != status::kOk) {
    log_.Write(L"the package folder " + packageFolder_ + L" is incomplete", found);
    return found;
  }
  found = DriverInterfaceOf(Join(packageFolder_, product::kDriverApiIniFile), driverInterface_);
  if (found != status::kOk) {
    log_.Write(L"the driver library's configuration names no driver interface", found);
    return found;
  }
  // Run from the install folder itself (a repair through the installed setup.exe), the files
  // are in place already.
  const bool filesInPlace = SamePath(packageFolder_, installFolder_);
  steps_.push_back({L"Creating the program folder", [this] {
                      VT_RETURN_IF_FAILED(transaction_.CreateFolders(installFolder_));
                      return transaction_.CreateFolders(
                          Join(installFolder_, product::kLanguageFolder));
                    }});
  for (const std::wstring& file : files_) {
    if (filesInPlace) break;
    steps_.push_back({L"Copying " + file, [this, file] {
                        return transaction_.CopyFile(Join(packageFolder_, file),
                                                     Join(installFolder_, file));
                      }});
  }
  steps_.push_back({L"Registering the driver interface", [this] {
                      return transaction_.SetString(
                          ClassKey() + L"\\InprocServer32", nullptr,
                          Join(installFolder_, product::kDriverApiFile));
                    }});
  steps_.push_back({L"Adding the program to the list of installed programs", [this] {
    const std::wstring key = product::kUninstallKey;
    const std::wstring setup = Quoted(Join(installFolder_, product::kSetupFile));
    VT_RETURN_IF_FAILED(transaction_.SetString(key, L"DisplayName", product::kDisplayName));
    VT_RETURN_IF_FAILED(transaction_.SetString(key, L"DisplayVersion", product::kVersion));
    VT_RETURN_IF_FAILED(transaction_.SetString(key, L"Publisher", product::kPublisher));
    VT_RETURN_IF_FAILED(transaction_.SetString(key, L"InstallLocation", installFolder_));
    VT_RETURN_IF_FAILED(transaction_.SetString(
        key, L"DisplayIcon", Join(installFolder_, product::kMixerFile)));
    VT_RETURN_IF_FAILED(transaction_.SetDword(key, L"EstimatedSize",
                                              KiloBytes(packageFolder_, files_)));
    VT_RETURN_IF_FAILED(transaction_.SetDword(key, L"NoModify", 1));
    VT_RETURN_IF_FAILED(transaction_.SetDword(key, L"NoRepair", 1));
    VT_RETURN_IF_FAILED(transaction_.SetString(key, L"UninstallString", setup + L" /uninstall"));
    return transaction_.SetString(key, L"QuietUninstallString", setup + L" /uninstall /quiet");
  }});
  steps_.push_back({L"Creating the Start menu shortcut", [this] {
                      return transaction_.CreateShortcut(
                          ShortcutPath(), Join(installFolder_, product::kMixerFile),
                          installFolder_, product::kShortcutDescription);
                    }});
  return status::kOk;
}

Status Setup::PrepareUninstall() {
  // Whatever of it is still there goes: an install that lost files is removed all the same.
  DriverInterfaceOf(Join(installFolder_, product::kDriverApiIniFile), driverInterface_);
  steps_.push_back({L"Closing the mixer", [this] { return EndRunningMixers(); }});
  steps_.push_back({L"Removing the Start menu shortcut", [this] { return RemoveShortcut(); }});
  steps_.push_back({L"Removing the registration", [this] { return RemoveRegistration(); }});
  steps_.push_back({L"Removing the files", [this] { return RemoveFiles(); }});
  return status::kOk;
}

std::wstring Setup::ShortcutPath() const {
  return Join(Join(programsFolder_, product::kShortcutFolder), product::kShortcutFile);
}

std::wstring Setup::ClassKey() const { return product::kClassesKey + driverInterface_; }

Status Setup::EndRunningMixers() {
  const std::wstring mixer = Join(installFolder_, product::kMixerFile);
  if (::GetFileAttributesW(mixer.c_str()) == INVALID_FILE_ATTRIBUTES) return status::kOk;
  std::wstring commandLine = Quoted(mixer) + L" -exitall";
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started = {};
  if (!::CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        installFolder_.c_str(), &startup, &started)) {
    log_.Write(L"cannot ask the running mixers to close", veltrano::LastErrorOr());
    return status::kOk;  // the files that are in use stay, and say so below
  }
  const veltrano::UniqueHandle process(started.hProcess);
  const veltrano::UniqueHandle thread(started.hThread);
  ::WaitForSingleObject(process.Get(), kMixerExitWaitMs);
  log_.Write(L"asked the running mixers to close");
  return status::kOk;
}

Status Setup::RemoveShortcut() {
  const std::wstring shortcut = ShortcutPath();
  if (!RemoveFileIfThere(shortcut)) leftovers_ = true;
  RemoveFolderIfEmpty(Join(programsFolder_, product::kShortcutFolder));
  log_.Write(L"removed the shortcut " + shortcut);
  return status::kOk;
}

Status Setup::RemoveRegistration() {
  ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, product::kUninstallKey);
  log_.Write(std::wstring(L"removed HKLM\\") + product::kUninstallKey);
  if (driverInterface_.empty()) return status::kOk;
  // Only a registration that names this install's library is ours to remove.
  veltrano::RegistryKey server;
  wchar_t library[MAX_PATH] = {};
  DWORD bytes = sizeof(library) - sizeof(wchar_t);
  if (server.Open(HKEY_LOCAL_MACHINE, (ClassKey() + L"\\InprocServer32").c_str()) ==
          ERROR_SUCCESS &&
      ::RegQueryValueExW(server.Get(), nullptr, nullptr, nullptr,
                         reinterpret_cast<BYTE*>(library), &bytes) == ERROR_SUCCESS &&
      SamePath(library, Join(installFolder_, product::kDriverApiFile))) {
    server.Reset();
    ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, ClassKey().c_str());
    log_.Write(L"removed HKLM\\" + ClassKey());
  }
  return status::kOk;
}

Status Setup::RemoveFiles() {
  std::vector<std::wstring> files;
  if (PackageFiles(installFolder_, files) != status::kOk) {
    files.assign(std::begin(product::kFiles), std::end(product::kFiles));
    // The language files of an incomplete install, whatever is left of them.
    WIN32_FIND_DATAW data;
    veltrano::FindHandle find(Join(Join(installFolder_, product::kLanguageFolder), L"*.txt"), data);
    for (bool more = find.IsValid(); more; more = find.Next(data)) {
      files.push_back(Join(product::kLanguageFolder, data.cFileName));
    }
  }
  for (const std::wstring& file : files) {
    const std::wstring path = Join(installFolder_, file);
    // The installed setup.exe that started this removal from a copy of itself ends right
    // after starting it: its file can go a moment later.
    const bool isSetup = file == product::kSetupFile;
    for (int attempt = 0; isSetup && attempt < kSetupDeleteAttempts && !RemoveFileIfThere(path);
         ++attempt) {
      ::Sleep(kSetupDeleteRetryMs);
    }
    if (!RemoveFileIfThere(path)) {
      leftovers_ = true;
      log_.Write(L"cannot remove " + path, veltrano::LastErrorOr());
    }
  }
  RemoveFolderIfEmpty(Join(installFolder_, product::kLanguageFolder));
  RemoveFolderIfEmpty(installFolder_);
  const size_t separator = installFolder_.find_last_of(L'\\');
  if (separator != std::wstring::npos &&
      ::lstrcmpiW(installFolder_.substr(separator + 1).c_str(), product::kProductFolder) == 0) {
    RemoveFolderIfEmpty(installFolder_.substr(0, separator));  // the vendor folder
  }
  log_.Write(L"removed the files of " + installFolder_);
  return status::kOk;
}

int Setup::Finish(Status result, bool cancelled) {
  if (options_.uninstall) {
    const bool complete = result == status::kOk && !leftovers_;
    log_.Write(complete ? L"removal complete" : L"removal left something behind");
    return complete ? kExitSuccess : kExitFailed;
  }
  if (result == status::kOk && !cancelled) {
    transaction_.Commit();
    log_.Write(L"installation complete");
    return kExitSuccess;
  }
  transaction_.Rollback();
  log_.Write(cancelled ? L"installation cancelled" : L"installation failed", result);
  return cancelled ? kExitCancelled : kExitFailed;
}

int Setup::RunAll() {
  Status result = status::kOk;
  for (const SetupStep& step : steps_) {
    result = step.run();
    if (result != status::kOk) {
      log_.Write(L"step failed: " + step.description, result);
      break;
    }
  }
  return Finish(result, false);
}
