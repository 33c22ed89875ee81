#include "CleanupFixtures.h"

namespace cleanuptest {
namespace {

// Wine's own path conversions; absent on Windows.
using ToUnixName = char*(__cdecl*)(const wchar_t*);
using ToDosName = wchar_t*(__cdecl*)(const char*);

ToUnixName WineToUnix() {
  return reinterpret_cast<ToUnixName>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
}

ToDosName WineToDos() {
  return reinterpret_cast<ToDosName>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_dos_file_name")));
}

std::wstring Widen(const char* text) {
  std::wstring wide;
  for (; *text != '\0'; ++text) wide += static_cast<wchar_t>(static_cast<unsigned char>(*text));
  return wide;
}

// The Unix path of a Windows path whose folder exists (the name itself may not yet).
std::wstring UnixPath(const std::wstring& path) {
  const ToUnixName toUnix = WineToUnix();
  const size_t slash = path.find_last_of(L'\\');
  if (toUnix == nullptr || slash == std::wstring::npos) return L"";
  char* folder = toUnix(path.substr(0, slash).c_str());
  if (folder == nullptr) return L"";
  const std::wstring unixPath = Widen(folder) + L"/" + path.substr(slash + 1);
  HeapFree(GetProcessHeap(), 0, folder);
  return unixPath;
}

// Runs a Unix program of the host through Wine and waits for it.
bool RunUnixProgram(const char* program, const std::wstring& arguments) {
  const ToDosName toDos = WineToDos();
  if (toDos == nullptr) return false;
  wchar_t* dosProgram = toDos(program);
  if (dosProgram == nullptr) return false;
  const std::wstring image = dosProgram;
  HeapFree(GetProcessHeap(), 0, dosProgram);
  std::wstring commandLine = Widen(program) + L" " + arguments;
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process = {};
  if (!CreateProcessW(image.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    return false;
  }
  uitest::UniqueHandle processHandle(process.hProcess);
  uitest::UniqueHandle threadHandle(process.hThread);
  WaitForSingleObject(process.hProcess, 10000);
  return true;
}

std::wstring Quoted(const std::wstring& text) { return L"\"" + text + L"\""; }

// A Unix program's effect shows up in the Windows view of the file system a moment later.
bool WaitFor(bool (*condition)(const std::wstring&), const std::wstring& path, bool wanted) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    if (condition(path) == wanted) return true;
    Sleep(50);
  }
  return false;
}

}  // namespace

bool Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool IsLinkedFolder(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

bool MakeFolders(const std::wstring& folder) {
  if (Exists(folder)) return true;
  const size_t slash = folder.find_last_of(L'\\');
  if (slash != std::wstring::npos && !MakeFolders(folder.substr(0, slash))) return false;
  return CreateDirectoryW(folder.c_str(), nullptr) != FALSE;
}

static std::string OriginalText(const std::wstring& path) {
  const std::wstring name = path.substr(path.find_last_of(L'\\') + 1);
  return std::string(name.begin(), name.end()) + " was written by the test\n";
}

bool MakeFile(const std::wstring& path, DWORD attributes) {
  return uitest::WriteFileBytes(path, OriginalText(path)) &&
         SetFileAttributesW(path.c_str(), attributes) != FALSE;
}

bool HasOriginalText(const std::wstring& path) {
  std::string bytes;
  return uitest::ReadFileBytes(path, bytes) && bytes == OriginalText(path);
}

uitest::UniqueHandle HoldOpen(const std::wstring& path, DWORD share) {
  return uitest::UniqueHandle(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, share,
                                          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

LinkedFolder::LinkedFolder(const std::wstring& link, const std::wstring& target) : link_(link) {
  const std::wstring unixLink = UnixPath(link);
  const std::wstring unixTarget = UnixPath(target);
  if (!unixLink.empty() && !unixTarget.empty()) {
    RunUnixProgram("/bin/ln", L"-s " + Quoted(unixTarget) + L" " + Quoted(unixLink));
  } else {
    CreateSymbolicLinkW(
        link.c_str(), target.c_str(),
        SYMBOLIC_LINK_FLAG_DIRECTORY | SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE);
  }
  made_ = WaitFor(IsLinkedFolder, link, true);
}

LinkedFolder::~LinkedFolder() {
  if (!made_) return;
  // Only the Unix tool removes the link itself under Wine (even one whose target is gone);
  // Windows removes a link as a folder.
  const std::wstring unixLink = UnixPath(link_);
  if (!unixLink.empty()) {
    RunUnixProgram("/bin/rm", L"-f " + Quoted(unixLink));
    WaitFor(Exists, link_, false);
  } else if (IsLinkedFolder(link_)) {
    RemoveDirectoryW(link_.c_str());
  }
}

}  // namespace cleanuptest
