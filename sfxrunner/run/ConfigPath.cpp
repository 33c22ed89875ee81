#include "ConfigPath.h"
#include "VTLastError.h"

#include <windows.h>
#include <shlobj.h>

#include "VTHandles.h"
#include "VTStringConv.h"

namespace status = veltrano::status;

namespace {

constexpr wchar_t kProgramFilesName[] = L"PROGRAM_FILES";
const DWORD kKnownFolderFlags = KF_FLAG_CREATE | KF_FLAG_INIT;

using veltrano::CoTaskMemText;

// The 32-bit stub must name the native program files folder on 64-bit Windows too.
Status ProgramFilesPrefix(std::wstring& prefix) {
  BOOL wow64 = FALSE;
  if (!IsWow64Process(GetCurrentProcess(), &wow64)) {
    return veltrano::LastErrorOr();
  }
  prefix = wow64 ? L"%ProgramW6432%" : L"%ProgramFiles%";
  return status::kOk;
}

Status KnownFolderPrefix(const std::wstring& name, std::wstring& prefix) {
  const KNOWNFOLDERID* id = FindKnownFolder(name);
  if (id == nullptr) return status::kInvalidData;
  CoTaskMemText path;
  const HRESULT result = SHGetKnownFolderPath(*id, kKnownFolderFlags, nullptr, &path.text);
  if (FAILED(result)) return static_cast<Status>(result);
  prefix = path.text;
  return status::kOk;
}

}  // namespace

Status ExpandConfigPath(const std::wstring& text, std::wstring& path) {
  std::wstring result = text;
  if (text.compare(0, 2, L"${") == 0) {
    const size_t close = text.find(L'}');
    if (close == std::wstring::npos) return status::kInvalidData;
    const std::wstring name = text.substr(2, close - 2);
    std::wstring prefix;
    VT_RETURN_IF_FAILED(name == kProgramFilesName ? ProgramFilesPrefix(prefix)
                                                  : KnownFolderPrefix(name, prefix));
    result = prefix + text.substr(close + 1);
  }
  return veltrano::ExpandEnvironment(path, result.c_str());
}
