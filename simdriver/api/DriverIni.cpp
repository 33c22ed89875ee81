#include "DriverIni.h"

#include <cwctype>

#include "VTWinModuleFileName.h"

namespace sonarixsim {
namespace {

constexpr wchar_t kSection[] = L"DriverInterface";
constexpr wchar_t kGuidKey[] = L"InterfaceGUID";
constexpr size_t kGuidLength = 38;
constexpr DWORD kValueChars = 128;

bool IsDashPosition(size_t position) {
  return position == 9 || position == 14 || position == 19 || position == 24;
}

// "{xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}" with hexadecimal digits of either case.
bool IsRegistryFormGuid(const std::wstring& text) {
  if (text.size() != kGuidLength || text.front() != L'{' || text.back() != L'}') return false;
  for (size_t position = 1; position + 1 < kGuidLength; ++position) {
    const wchar_t c = text[position];
    if (IsDashPosition(position) ? c != L'-' : !std::iswxdigit(c)) return false;
  }
  return true;
}

}  // namespace

std::wstring IniPathOfModule(HMODULE module) {
  veltrano::VTWinModuleFileName name;
  if (name.InitWithModuleHandle(module) != status::kOk) return std::wstring();
  return name.drive + name.directory + name.fileName + L".ini";
}

Status CheckDriverIni(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (path.empty() || attributes == INVALID_FILE_ATTRIBUTES) return status::kDriverIniMissing;
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return status::kInvalidConfiguration;
  wchar_t value[kValueChars] = {};
  GetPrivateProfileStringW(kSection, kGuidKey, L"", value, kValueChars, path.c_str());
  return IsRegistryFormGuid(value) ? status::kOk : status::kInvalidConfiguration;
}

}  // namespace sonarixsim
