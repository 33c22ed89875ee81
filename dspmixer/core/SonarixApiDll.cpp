#include "SonarixApiDll.h"
#include "VTLastError.h"

#include "VTCrtGuard.h"

#include <stdlib.h>
#include <wchar.h>

namespace {

constexpr uint32_t PackVersion(uint32_t major, uint32_t minor) { return (major << 16) | minor; }

// The version of each entry point, in table order.
constexpr uint32_t kEntryPointVersions[] = {
#define SONARIX_ENTRY_POINT_VERSION(name, major, minor) PackVersion(major, minor),
    SONARIX_API_ENTRY_POINTS(SONARIX_ENTRY_POINT_VERSION)
#undef SONARIX_ENTRY_POINT_VERSION
};

constexpr uint32_t kAlwaysBound = PackVersion(0, 0);
constexpr uint32_t kNoFurtherGroup = 0xFFFFFFFF;

constexpr size_t CountEntryPoints(uint32_t version) {
  size_t count = 0;
  for (const uint32_t entryVersion : kEntryPointVersions) {
    if (entryVersion == version) ++count;
  }
  return count;
}
static_assert(sizeof(kEntryPointVersions) / sizeof(kEntryPointVersions[0]) == 70,
              "the driver API has 70 entry points");
static_assert(CountEntryPoints(kAlwaysBound) == 2 && CountEntryPoints(PackVersion(5, 0)) == 61,
              "two entry points are always bound, 61 from version 5.0 on");

// The lowest group version above `version`: the groups are bound in ascending order.
uint32_t NextGroupAfter(uint32_t version) {
  uint32_t next = kNoFurtherGroup;
  for (const uint32_t entryVersion : kEntryPointVersions) {
    if (entryVersion > version && entryVersion < next) next = entryVersion;
  }
  return next;
}

// Takes one entry point by its exported name; null when the library lacks it.
template <typename Function>
bool BindEntryPoint(const WnLibrary& library, Function& entryPoint, const char* name) {
  entryPoint = library.GetProc<Function>(name);
  return entryPoint != nullptr;
}

// Only a missing file or folder counts: any other failure is left for the loader to report.
bool IsMissingFile(const wchar_t* path) {
  if (GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES) return false;
  const DWORD error = GetLastError();
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

using veltrano::RegistryKey;

constexpr DWORD kRegistryPathChars = MAX_PATH;

// The key's default value as a path: a string type, used as stored (no expansion), that fits
// into the buffer with its terminating zero.
StatusCode ReadDefaultPath(HKEY key, wchar_t (&path)[kRegistryPathChars]) {
  DWORD type = REG_NONE;
  DWORD bytes = sizeof(path);
  const LONG result =
      RegQueryValueExW(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(path), &bytes);
  // A value longer than the buffer fails here too (ERROR_MORE_DATA), with its own code.
  if (result != ERROR_SUCCESS) return static_cast<StatusCode>(result);
  if (type != REG_SZ && type != REG_EXPAND_SZ) return ERROR_BAD_FORMAT;
  const DWORD chars = bytes / sizeof(wchar_t);
  if (chars == kRegistryPathChars && path[chars - 1] != L'\0') return ERROR_BUFFER_OVERFLOW;
  // A value stored without its terminating zero still ends here.
  if (chars < kRegistryPathChars) path[chars] = L'\0';
  return mixer_status::kOk;
}

}  // namespace

SonarixApiDll::~SonarixApiDll() { Unload(); }

StatusCode SonarixApiDll::Load(const wchar_t* path, bool checkVersion, uint32_t major,
                               uint32_t minor) {
  if (IsLoaded()) return ERROR_INVALID_FUNCTION;
  if (path == nullptr) return ERROR_INVALID_PARAMETER;
  if (IsMissingFile(path)) return ERROR_FILE_NOT_FOUND;
  VT_RETURN_IF_FAILED(library_.Load(path));

  if (!BindGroup(kAlwaysBound)) return UnloadAfterMissingEntry();
  apiVersion_ = SONARIX_GetApiVersion();
  // The caller ends the process after this answer, so the library is left as it is.
  if (checkVersion && SONARIX_CheckApiVersion(major, minor) == 0) {
    return mixer_status::kNotCompatible;
  }
  for (uint32_t group = NextGroupAfter(kAlwaysBound); group != kNoFurtherGroup;
       group = NextGroupAfter(group)) {
    if (!IsApiVersionAtLeast(group >> 16, group & 0xFFFF)) continue;
    if (!BindGroup(group)) return UnloadAfterMissingEntry();
  }
  return mixer_status::kOk;
}

StatusCode SonarixApiDll::LoadFromClsid(const wchar_t* clsidText, bool checkVersion,
                                        uint32_t major, uint32_t minor) {
  if (clsidText == nullptr) return ERROR_INVALID_PARAMETER;
  // Declared in opening order, so they close in reverse order on every way out.
  RegistryKey classes;
  RegistryKey classKey;
  RegistryKey server;
  VT_RETURN_IF_FAILED(classes.Open(HKEY_CLASSES_ROOT, L"CLSID"));
  VT_RETURN_IF_FAILED(classKey.Open(classes.Get(), clsidText));
  VT_RETURN_IF_FAILED(server.Open(classKey.Get(), L"InprocServer32"));
  wchar_t path[kRegistryPathChars] = {};
  VT_RETURN_IF_FAILED(ReadDefaultPath(server.Get(), path));
  return Load(path, checkVersion, major, minor);
}

StatusCode SonarixApiDll::LoadFromExecutableFolder(const wchar_t* fileName, bool checkVersion,
                                                   uint32_t major, uint32_t minor) {
  if (fileName == nullptr) return ERROR_INVALID_PARAMETER;
  wchar_t modulePath[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameW(nullptr, modulePath, MAX_PATH);
  if (length == 0) return veltrano::LastErrorOr();
  // A cut-off name would give the wrong folder; older systems report no error for it.
  if (length >= MAX_PATH) return ERROR_INSUFFICIENT_BUFFER;

  wchar_t drive[_MAX_DRIVE] = {};
  wchar_t folder[_MAX_DIR] = {};
  // A part too long for its buffer is an error result here, not the end of the process.
  const veltrano::InvalidParameterHandlerScope keepRunning;
  const errno_t splitError =
      _wsplitpath_s(modulePath, drive, _MAX_DRIVE, folder, _MAX_DIR, nullptr, 0, nullptr, 0);
  if (splitError != 0) return ERROR_BAD_PATHNAME;

  // The whole path, terminating zero included, fits into MAX_PATH characters.
  if (wcslen(drive) + wcslen(folder) + wcslen(fileName) >= MAX_PATH) {
    return ERROR_FILENAME_EXCED_RANGE;
  }
  wchar_t path[MAX_PATH] = {};
  wcscat_s(path, drive);
  wcscat_s(path, folder);
  wcscat_s(path, fileName);
  return Load(path, checkVersion, major, minor);
}

void SonarixApiDll::Unload() {
  library_.Free();
  apiVersion_ = 0;
#define SONARIX_CLEAR_ENTRY_POINT(name, major, minor) name = nullptr;
  SONARIX_API_ENTRY_POINTS(SONARIX_CLEAR_ENTRY_POINT)
#undef SONARIX_CLEAR_ENTRY_POINT
}

bool SonarixApiDll::IsApiVersionAtLeast(uint32_t major, uint32_t minor) const {
  const uint32_t reportedMajor = apiVersion_ >> 16;
  const uint32_t reportedMinor = apiVersion_ & 0xFFFF;
  return reportedMajor > major || (reportedMajor == major && reportedMinor >= minor);
}

bool SonarixApiDll::BindGroup(uint32_t groupVersion) {
#define SONARIX_BIND_ENTRY_POINT(name, major, minor)                                  \
  if (PackVersion(major, minor) == groupVersion && !BindEntryPoint(library_, name, #name)) { \
    return false;                                                                     \
  }
  SONARIX_API_ENTRY_POINTS(SONARIX_BIND_ENTRY_POINT)
#undef SONARIX_BIND_ENTRY_POINT
  return true;
}

StatusCode SonarixApiDll::UnloadAfterMissingEntry() {
  const DWORD error = GetLastError();
  Unload();
  // A loader that reports no error still must not turn a missing entry point into success.
  return error != ERROR_SUCCESS ? error : ERROR_PROC_NOT_FOUND;
}
