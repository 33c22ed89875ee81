#pragma once
// Small owners of Windows resources shared by our programs and tools: each releases on every
// path out.
#include <windows.h>
#include <objbase.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

namespace veltrano {

// A C run-time file stream, closed once.
struct FileCloser {
  void operator()(FILE* file) const { std::fclose(file); }
};
using UniqueFile = std::unique_ptr<FILE, FileCloser>;

// A kernel handle (file, process, thread, event, mapping), closed once.
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(HANDLE handle) : handle_(handle) {}
  ~UniqueHandle() { Reset(); }
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;

  HANDLE Get() const { return handle_; }
  bool IsValid() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
  HANDLE Release() {
    HANDLE handle = handle_;
    handle_ = nullptr;
    return handle;
  }
  void Reset(HANDLE handle = nullptr) {
    if (IsValid()) CloseHandle(handle_);
    handle_ = handle;
  }

 private:
  HANDLE handle_ = nullptr;
};

class CriticalSection {
 public:
  CriticalSection() { InitializeCriticalSection(&section_); }
  ~CriticalSection() { DeleteCriticalSection(&section_); }
  CriticalSection(const CriticalSection&) = delete;
  CriticalSection& operator=(const CriticalSection&) = delete;
  void Enter() { EnterCriticalSection(&section_); }
  void Leave() { LeaveCriticalSection(&section_); }

 private:
  CRITICAL_SECTION section_;
};

class ScopedLock {
 public:
  explicit ScopedLock(CriticalSection& section) : section_(section) { section_.Enter(); }
  ~ScopedLock() { section_.Leave(); }
  ScopedLock(const ScopedLock&) = delete;
  ScopedLock& operator=(const ScopedLock&) = delete;

 private:
  CriticalSection& section_;
};

// A folder listing from FindFirstFileW; the first record lands in `data`.
class FindHandle {
 public:
  FindHandle(const std::wstring& pattern, WIN32_FIND_DATAW& data)
      : find_(FindFirstFileW(pattern.c_str(), &data)) {}
  ~FindHandle() {
    if (IsValid()) FindClose(find_);
  }
  FindHandle(const FindHandle&) = delete;
  FindHandle& operator=(const FindHandle&) = delete;

  bool IsValid() const { return find_ != INVALID_HANDLE_VALUE; }
  bool Next(WIN32_FIND_DATAW& data) { return FindNextFileW(find_, &data) != FALSE; }

 private:
  HANDLE find_;
};

// An open registry key, closed once.
class RegistryKey {
 public:
  RegistryKey() = default;
  ~RegistryKey() { Reset(); }
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;

  // 0 or the registry's error code.
  uint32_t Open(HKEY parent, const wchar_t* subKey, REGSAM access = KEY_READ) {
    Reset();
    return static_cast<uint32_t>(::RegOpenKeyExW(parent, subKey, 0, access, &key_));
  }
  // Opens the key, creating it (and the keys above it) when missing.
  uint32_t Create(HKEY parent, const wchar_t* subKey, REGSAM access = KEY_READ | KEY_WRITE) {
    Reset();
    return static_cast<uint32_t>(::RegCreateKeyExW(parent, subKey, 0, nullptr, 0, access,
                                                   nullptr, &key_, nullptr));
  }
  HKEY Get() const { return key_; }
  void Reset() {
    if (key_ != nullptr) ::RegCloseKey(key_);
    key_ = nullptr;
  }

 private:
  HKEY key_ = nullptr;
};

// A text the shell allocated with the task allocator, freed once.
struct CoTaskMemText {
  CoTaskMemText() = default;
  ~CoTaskMemText() { ::CoTaskMemFree(text); }
  CoTaskMemText(const CoTaskMemText&) = delete;
  CoTaskMemText& operator=(const CoTaskMemText&) = delete;
  PWSTR text = nullptr;
};

// COM on the calling thread, in a single-threaded apartment, for the owner's lifetime.
class ComApartment {
 public:
  ComApartment() : result_(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~ComApartment() {
    if (SUCCEEDED(result_)) ::CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

  // 0, or the HRESULT that kept COM from starting on this thread.
  uint32_t Status() const { return SUCCEEDED(result_) ? 0 : static_cast<uint32_t>(result_); }

 private:
  HRESULT result_;
};

}  // namespace veltrano
