#include "SimStateStore.h"
#include "VTLastError.h"

#include <cwctype>
#include <vector>

#include "SimDevices.h"
#include "SimStateCheck.h"
#include "VTStringConv.h"

namespace sonarixsim {
namespace {

constexpr wchar_t kObjectPrefix[] = L"Local\\SonarixSim.v1.";
constexpr wchar_t kDefaultStateFolder[] = L"%ProgramData%\\SonarixSim";
constexpr size_t kMaxStateNameLength = 64;

std::wstring EnvironmentValue(const wchar_t* name) {
  const DWORD length = GetEnvironmentVariableW(name, nullptr, 0);
  if (length == 0) return std::wstring();
  std::vector<wchar_t> value(length);
  const DWORD copied = GetEnvironmentVariableW(name, value.data(), length);
  if (copied == 0 || copied >= length) return std::wstring();
  return std::wstring(value.data(), copied);
}

std::wstring StateFolder() {
  std::wstring folder = EnvironmentValue(kStateFolderVariable);
  if (!folder.empty()) return folder;
  veltrano::ExpandEnvironment(folder, kDefaultStateFolder);
  if (folder.find(L'%') == std::wstring::npos) return folder;
  // No %ProgramData% (a bare environment): the temporary folder still works.
  wchar_t temp[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH + 1, temp);
  return std::wstring(temp) + L"SonarixSim";
}

// Gives the file exactly the state's size; `changed` tells that it had another one, so that
// its bytes are no state of this layout (a new file has none at all).
Status FitFileSize(HANDLE file, bool& changed) {
  LARGE_INTEGER size = {};
  if (!GetFileSizeEx(file, &size)) return veltrano::LastErrorOr();
  changed = size.QuadPart != static_cast<LONGLONG>(sizeof(SharedState));
  if (!changed) return status::kOk;
  LARGE_INTEGER end = {};
  end.QuadPart = sizeof(SharedState);
  if (!SetFilePointerEx(file, end, nullptr, FILE_BEGIN) || !SetEndOfFile(file)) {
    return veltrano::LastErrorOr();
  }
  return status::kOk;
}

}  // namespace

std::wstring StateNameFromEnvironment() {
  const std::wstring name = EnvironmentValue(kStateNameVariable);
  return name.empty() ? std::wstring(kDefaultStateName) : name;
}

bool IsValidStateName(const std::wstring& name) {
  if (name.empty() || name.size() > kMaxStateNameLength) return false;
  for (wchar_t c : name) {
    const bool plain = (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') ||
                       (c >= L'0' && c <= L'9') || c == L'.' || c == L'_' || c == L'-';
    if (!plain) return false;
  }
  return true;
}

std::wstring StateFilePath(const std::wstring& name) {
  return StateFolder() + L"\\" + name + L".v1.state";
}

LONG StateStore::DeviceChanges() const {
  if (state_ == nullptr) return 0;
  return InterlockedCompareExchange(&state_->deviceChanges, 0, 0);
}

Status StateStore::Open(const std::wstring& name) {
  if (state_ != nullptr) return status::kOk;
  if (!IsValidStateName(name)) return status::kInvalidParameter;
  const Status result = CreateObjects(name);
  if (result != status::kOk) {
    state_ = nullptr;
    view_.Reset();
    mapping_.Reset();
    file_.Reset();
    mutex_.Reset();
  }
  return result;
}

Status StateStore::CreateObjects(const std::wstring& name) {
  const std::wstring objectName = kObjectPrefix + name;
  mutex_.Reset(CreateMutexW(nullptr, FALSE, (objectName + L".lock").c_str()));
  if (!mutex_.IsValid()) return veltrano::LastErrorOr();
  // Creation and first initialisation happen under the lock, so that two processes that
  // start together never both size or reset the file.
  MutexLock lock(mutex_.Get(), kLockTimeoutMs);
  if (!lock.IsHeld()) return status::kStateBusy;

  const std::wstring path = StateFilePath(name);
  const size_t folderEnd = path.find_last_of(L'\\');
  CreateDirectoryW(path.substr(0, folderEnd).c_str(), nullptr);
  file_.Reset(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                          OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file_.IsValid()) return veltrano::LastErrorOr();
  bool resized = false;
  VT_RETURN_IF_FAILED(MapState(objectName, resized));

  state_ = static_cast<SharedState*>(view_.Get());
  // Anyone who can write the folder can write the file: what it holds is checked, not trusted.
  if (resized || !IsStateSound(*state_)) ResetState(*state_, true);
  return status::kOk;
}

Status StateStore::MapState(const std::wstring& objectName, bool& resized) {
  resized = false;
  mapping_.Reset(OpenFileMappingW(FILE_MAP_ALL_ACCESS, FALSE, objectName.c_str()));
  if (!mapping_.IsValid()) {
    // No process maps the file, so its size can still be set: a file cut short would be padded
    // with zeros and a longer one would keep a tail, either of which could pass for a state.
    VT_RETURN_IF_FAILED(FitFileSize(file_.Get(), resized));
    mapping_.Reset(CreateFileMappingW(file_.Get(), nullptr, PAGE_READWRITE, 0, sizeof(SharedState),
                                      objectName.c_str()));
    if (!mapping_.IsValid()) return veltrano::LastErrorOr();
  }
  view_.Reset(MapViewOfFile(mapping_.Get(), FILE_MAP_ALL_ACCESS, 0, 0, sizeof(SharedState)));
  if (view_.Get() == nullptr) return veltrano::LastErrorOr();
  return status::kOk;
}

}  // namespace sonarixsim
