#pragma once
// A dynamically loaded library, freed when its owner goes away.
#include <windows.h>

class WnLibrary {
 public:
  WnLibrary() = default;
  // Loads `name` through the normal search order; IsLoaded() tells whether it worked.
  explicit WnLibrary(const wchar_t* name);
  virtual ~WnLibrary();

  WnLibrary(const WnLibrary&) = delete;
  WnLibrary& operator=(const WnLibrary&) = delete;

  // Loads `name` through the normal search order. Returns 0 or the Windows error code.
  DWORD Load(const wchar_t* name);

  // Loads the plain file name `name` from the Windows system folder only, so that a file of
  // the same name beside the program or in the current folder is never picked up. Systems
  // without the search flag get the full path built from the system folder instead.
  DWORD LoadFromSystemFolder(const wchar_t* name);

  // The fallback of LoadFromSystemFolder: the full path "<system folder>\<name>".
  DWORD LoadBySystemFolderPath(const wchar_t* name);

  // Frees the library (if any) and clears the handle.
  void Free();

  bool IsLoaded() const { return module_ != nullptr; }
  HMODULE Handle() const { return module_; }

  // The exported function `name` as the caller's function-pointer type; null when the
  // library is not loaded or does not export it.
  template <typename Function>
  Function GetProc(const char* name) const {
    if (module_ == nullptr) return nullptr;
    // void (*)() converts to and from every function-pointer type without a warning.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module_, name)));
  }

 private:
  DWORD Adopt(HMODULE module);

  HMODULE module_ = nullptr;
};
