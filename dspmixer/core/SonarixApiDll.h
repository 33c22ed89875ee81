#pragma once
// The driver API library bound at run time: one function pointer per entry point, taken by
// name after the library's reported version says the entry point belongs to it.
#include <windows.h>

#include <cstdint>

#include "SonarixApi.h"
#include "SonarixApiEntryPoints.h"
#include "StatusCode.h"
#include "WnLibrary.h"

class SonarixApiDll {
 public:
  SonarixApiDll() = default;
  virtual ~SonarixApiDll();

  SonarixApiDll(const SonarixApiDll&) = delete;
  SonarixApiDll& operator=(const SonarixApiDll&) = delete;

  // Loads the library at `path` and binds every entry point of its reported version.
  // 1 when a library is already loaded, 2 when the file does not exist, the loader's error,
  // 0xEE000060 when `checkVersion` is set and the library refuses a client of major.minor,
  // or the error of the first missing entry point (then nothing stays loaded).
  StatusCode Load(const wchar_t* path, bool checkVersion, uint32_t major, uint32_t minor);

  // Loads the library registered as in-process server of the class `clsidText` (as written,
  // braces included). Registry failures come back as their Windows error codes.
  StatusCode LoadFromClsid(const wchar_t* clsidText, bool checkVersion, uint32_t major,
                           uint32_t minor);

  // Loads the library `fileName` from the folder of the running executable.
  StatusCode LoadFromExecutableFolder(const wchar_t* fileName, bool checkVersion, uint32_t major,
                                      uint32_t minor);

  // Frees the library; the version and every entry point read 0 afterwards.
  void Unload();

  // True when the reported version is major.minor or later.
  bool IsApiVersionAtLeast(uint32_t major, uint32_t minor) const;
  // Major version in the high 16 bits, minor in the low 16; 0 when nothing is loaded.
  uint32_t ApiVersion() const { return apiVersion_; }
  bool IsLoaded() const { return library_.IsLoaded(); }

  // Null until bound: callers test an entry point before calling it.
#define SONARIX_DECLARE_ENTRY_POINT(name, major, minor) decltype(&::name) name = nullptr;
  SONARIX_API_ENTRY_POINTS(SONARIX_DECLARE_ENTRY_POINT)
#undef SONARIX_DECLARE_ENTRY_POINT

 private:
  // Binds the entry points of exactly `groupVersion`, in table order; false at the first
  // missing one, with the loader's error still in GetLastError.
  bool BindGroup(uint32_t groupVersion);
  StatusCode UnloadAfterMissingEntry();

  WnLibrary library_;
  uint32_t apiVersion_ = 0;
};
