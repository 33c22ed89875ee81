#include "ProductLayout.h"

#include <objbase.h>
#include <shlobj.h>

#include "VTHandles.h"
#include "VTLastError.h"
#include "VTStringConv.h"
#include "VTWow64FsRedirection.h"

namespace status = veltrano::status;

std::wstring Join(const std::wstring& folder, const std::wstring& name) {
  if (folder.empty() || folder.back() == L'\\') return folder + name;
  return folder + L"\\" + name;
}

veltrano::Status DefaultInstallFolder(std::wstring& folder) {
  std::wstring programFiles;
  VT_RETURN_IF_FAILED(veltrano::ExpandEnvironment(
      programFiles, veltrano::RunsUnderWow64() ? L"%ProgramW6432%" : L"%ProgramFiles%"));
  if (programFiles.empty() || programFiles[0] == L'%') return status::kNotFound;
  folder = Join(Join(programFiles, product::kVendorFolder), product::kProductFolder);
  return status::kOk;
}

std::wstring InstalledFolder() {
  veltrano::RegistryKey key;
  if (key.Open(HKEY_LOCAL_MACHINE, product::kUninstallKey) != ERROR_SUCCESS) return L"";
  wchar_t folder[MAX_PATH] = {};
  DWORD bytes = sizeof(folder) - sizeof(wchar_t);
  DWORD type = 0;
  if (::RegQueryValueExW(key.Get(), L"InstallLocation", nullptr, &type,
                         reinterpret_cast<BYTE*>(folder), &bytes) != ERROR_SUCCESS ||
      type != REG_SZ) {
    return L"";
  }
  return folder;
}

std::wstring OwnFolder() {
  wchar_t path[MAX_PATH] = {};
  const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring own(path, length < MAX_PATH ? length : 0);
  const size_t separator = own.find_last_of(L'\\');
  return separator == std::wstring::npos ? L"" : own.substr(0, separator);
}

veltrano::Status PackageFiles(const std::wstring& packageFolder,
                              std::vector<std::wstring>& relativePaths) {
  relativePaths.clear();
  for (const wchar_t* file : product::kFiles) {
    if (::GetFileAttributesW(Join(packageFolder, file).c_str()) == INVALID_FILE_ATTRIBUTES) {
      return veltrano::LastErrorOr(ERROR_FILE_NOT_FOUND);
    }
    relativePaths.emplace_back(file);
  }
  const std::wstring languages = Join(packageFolder, product::kLanguageFolder);
  WIN32_FIND_DATAW data;
  veltrano::FindHandle find(Join(languages, L"*.txt"), data);
  if (!find.IsValid()) return veltrano::LastErrorOr(ERROR_PATH_NOT_FOUND);
  do {
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
      relativePaths.push_back(Join(product::kLanguageFolder, data.cFileName));
    }
  } while (find.Next(data));
  return status::kOk;
}

veltrano::Status DriverInterfaceOf(const std::wstring& iniFile, std::wstring& guid) {
  wchar_t text[64] = {};
  ::GetPrivateProfileStringW(L"DriverInterface", L"InterfaceGUID", L"", text, 64, iniFile.c_str());
  // It becomes part of a registry path: only a real GUID, written in its one canonical form.
  guid.clear();
  IID parsed;
  if (FAILED(::IIDFromString(text, &parsed))) return status::kInvalidData;
  wchar_t canonical[40] = {};
  if (::StringFromGUID2(parsed, canonical, 40) != 39) return status::kInvalidData;
  guid = canonical;
  return status::kOk;
}

veltrano::Status CommonProgramsFolder(std::wstring& folder) {
  veltrano::CoTaskMemText path;
  const HRESULT result =
      ::SHGetKnownFolderPath(FOLDERID_CommonPrograms, KF_FLAG_CREATE, nullptr, &path.text);
  if (FAILED(result)) return static_cast<veltrano::Status>(result);
  folder = path.text;
  return status::kOk;
}
