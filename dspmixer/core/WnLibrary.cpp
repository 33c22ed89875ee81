#include "WnLibrary.h"
#include "VTLastError.h"

#include <wchar.h>

namespace {

// A name that the loader cannot read as a path: no folder, no drive.
bool IsPlainFileName(const wchar_t* name) {
  return name != nullptr && name[0] != L'\0' && wcspbrk(name, L"\\/:") == nullptr;
}

}  // namespace

WnLibrary::WnLibrary(const wchar_t* name) { Load(name); }

WnLibrary::~WnLibrary() { Free(); }

DWORD WnLibrary::Load(const wchar_t* name) {
  Free();
  if (name == nullptr) return ERROR_INVALID_PARAMETER;
  return Adopt(LoadLibraryW(name));
}

DWORD WnLibrary::LoadFromSystemFolder(const wchar_t* name) {
  if (!IsPlainFileName(name)) return ERROR_INVALID_PARAMETER;
  Free();
  const DWORD error = Adopt(LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
  // A loader that does not know the search flag rejects it as an invalid parameter.
  if (error == ERROR_INVALID_PARAMETER) return LoadBySystemFolderPath(name);
  return error;
}

DWORD WnLibrary::LoadBySystemFolderPath(const wchar_t* name) {
  if (!IsPlainFileName(name)) return ERROR_INVALID_PARAMETER;
  Free();
  // Stack only: the crash handler loads its helper library through here.
  wchar_t path[MAX_PATH];
  const UINT folderLength = GetSystemDirectoryW(path, MAX_PATH);
  if (folderLength == 0) return veltrano::LastErrorOr();
  const size_t nameLength = wcslen(name);
  if (folderLength + 1 + nameLength >= MAX_PATH) return ERROR_FILENAME_EXCED_RANGE;
  path[folderLength] = L'\\';
  wmemcpy(path + folderLength + 1, name, nameLength + 1);
  // The altered search order resolves the library's own imports from its folder as well.
  return Adopt(LoadLibraryExW(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
}

void WnLibrary::Free() {
  if (module_ == nullptr) return;
  if (!FreeLibrary(module_)) {
    // Nothing can be done about a library that will not unload; the handle is dropped anyway.
    static_cast<void>(GetLastError());
  }
  module_ = nullptr;
}

DWORD WnLibrary::Adopt(HMODULE module) {
  if (module == nullptr) {
    const DWORD error = GetLastError();
    return error != ERROR_SUCCESS ? error : ERROR_MOD_NOT_FOUND;
  }
  module_ = module;
  return ERROR_SUCCESS;
}
