#include "ResourceSet.h"

#include "PackHandles.h"

namespace sfxpack {
namespace {

constexpr wchar_t kReadAction[] = L"cannot read the resources of";

// The enumeration callbacks only collect ids; the bytes are read once they have returned.
struct Enumeration {
  HMODULE module;
  std::vector<ResourceId> types;
  std::vector<ResourceId> names;
  std::vector<WORD> languages;
};

BOOL CALLBACK CollectType(HMODULE, LPWSTR type, LONG_PTR context) {
  reinterpret_cast<Enumeration*>(context)->types.push_back(ResourceId::From(type));
  return TRUE;
}

BOOL CALLBACK CollectName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR context) {
  reinterpret_cast<Enumeration*>(context)->names.push_back(ResourceId::From(name));
  return TRUE;
}

BOOL CALLBACK CollectLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR context) {
  reinterpret_cast<Enumeration*>(context)->languages.push_back(language);
  return TRUE;
}

// A module without a resource section reports that as an error of the enumeration.
bool IsNoResourcesError(DWORD error) {
  return error == ERROR_RESOURCE_DATA_NOT_FOUND || error == ERROR_RESOURCE_TYPE_NOT_FOUND;
}

Status ReadEntry(HMODULE module, ResourceEntry& entry, const std::wstring& path,
                 PackFailure& failure) {
  HRSRC found = FindResourceExW(module, entry.type.Pointer(), entry.name.Pointer(), entry.language);
  if (found == nullptr) return FailWithLastError(failure, kReadAction, path);
  HGLOBAL loaded = LoadResource(module, found);
  const DWORD size = SizeofResource(module, found);
  const BYTE* bytes = static_cast<const BYTE*>(LockResource(loaded));
  if (bytes == nullptr && size != 0) return FailWithLastError(failure, kReadAction, path);
  entry.data.assign(bytes, bytes + size);
  return veltrano::status::kOk;
}

Status ReadNamesOfType(Enumeration& enumeration, const ResourceId& type,
                       std::vector<ResourceEntry>& entries, const std::wstring& path,
                       PackFailure& failure) {
  enumeration.names.clear();
  if (!EnumResourceNamesW(enumeration.module, type.Pointer(), &CollectName,
                          reinterpret_cast<LONG_PTR>(&enumeration))) {
    return FailWithLastError(failure, kReadAction, path);
  }
  for (const ResourceId& name : enumeration.names) {
    enumeration.languages.clear();
    if (!EnumResourceLanguagesW(enumeration.module, type.Pointer(), name.Pointer(),
                                &CollectLanguage, reinterpret_cast<LONG_PTR>(&enumeration))) {
      return FailWithLastError(failure, kReadAction, path);
    }
    for (WORD language : enumeration.languages) {
      ResourceEntry entry{type, name, language, {}};
      VT_RETURN_IF_FAILED(ReadEntry(enumeration.module, entry, path, failure));
      entries.push_back(std::move(entry));
    }
  }
  return veltrano::status::kOk;
}

}  // namespace

ResourceId ResourceId::From(const wchar_t* id) {
  ResourceId result;
  if (IS_INTRESOURCE(id)) {
    result.number = static_cast<WORD>(reinterpret_cast<ULONG_PTR>(id));
  } else {
    result.text = id;
  }
  return result;
}

Status ReadResources(const std::wstring& path, std::vector<ResourceEntry>& entries,
                     PackFailure& failure) {
  entries.clear();
  DataModule module(path);
  if (module.Get() == nullptr) return FailWithLastError(failure, kReadAction, path);

  Enumeration enumeration{module.Get(), {}, {}, {}};
  if (!EnumResourceTypesW(module.Get(), &CollectType, reinterpret_cast<LONG_PTR>(&enumeration))) {
    const DWORD error = GetLastError();
    if (IsNoResourcesError(error)) return veltrano::status::kOk;
    return Fail(failure, error, kReadAction, path);
  }
  for (const ResourceId& type : enumeration.types) {
    VT_RETURN_IF_FAILED(ReadNamesOfType(enumeration, type, entries, path, failure));
  }
  return veltrano::status::kOk;
}

Status WriteResources(const std::wstring& path, const std::vector<ResourceEntry>& entries,
                      PackFailure& failure) {
  constexpr wchar_t kWriteAction[] = L"cannot write the resources of";
  ResourceUpdate update(path, true);
  if (update.Get() == nullptr) return FailWithLastError(failure, kWriteAction, path);
  for (const ResourceEntry& entry : entries) {
    // A null pointer with size 0 asks for a removal; an empty resource passes a real one.
    static BYTE emptyData = 0;
    void* bytes = entry.data.empty() ? &emptyData : const_cast<BYTE*>(entry.data.data());
    if (!UpdateResourceW(update.Get(), entry.type.Pointer(), entry.name.Pointer(), entry.language,
                         bytes, static_cast<DWORD>(entry.data.size()))) {
      return FailWithLastError(failure, kWriteAction, path);
    }
  }
  if (!update.Commit()) return FailWithLastError(failure, kWriteAction, path);
  return veltrano::status::kOk;
}

}  // namespace sfxpack
