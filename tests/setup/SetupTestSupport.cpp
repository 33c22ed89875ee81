#include "SetupTestSupport.h"

#include <objbase.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cwctype>

#include "VTHandles.h"
#include "VTStringConv.h"
#include "VTWow64FsRedirection.h"

namespace setuptest {
namespace {

constexpr wchar_t kVendorFolder[] = L"Sonarix";
constexpr wchar_t kProductFolder[] = L"USB Audio Driver";
constexpr wchar_t kShortcutFile[] = L"Sonarix Mixer Control.lnk";
constexpr wchar_t kSessionManagerKey[] = L"System\\CurrentControlSet\\Control\\Session Manager";
constexpr wchar_t kPendingRenames[] = L"PendingFileRenameOperations";
// Wine gives a Unix program no process to wait for: the transcript's last line says that the
// script is done.
constexpr char kShellDone[] = "--- shell done ---";

std::wstring Variable(const wchar_t* name) {
  wchar_t value[MAX_PATH] = {};
  const DWORD length = ::GetEnvironmentVariableW(name, value, MAX_PATH);
  return length > 0 && length < MAX_PATH ? value : L"";
}

std::wstring TempFolder() {
  wchar_t temp[MAX_PATH + 1] = {};
  ::GetTempPathW(MAX_PATH + 1, temp);
  return temp;
}

std::wstring Lower(std::wstring text) {
  for (wchar_t& c : text) c = static_cast<wchar_t>(std::towlower(c));
  return text;
}

// The view that setup of this build writes (32-bit for the 32-bit build), or the native one.
REGSAM ViewOf(bool native) {
  if (veltrano::kIsX64Build) return KEY_WOW64_64KEY;
  return native && veltrano::RunsUnderWow64() ? KEY_WOW64_64KEY : KEY_WOW64_32KEY;
}

void CollectFiles(const std::wstring& root, const std::wstring& relative,
                  std::vector<std::wstring>& files) {
  const std::wstring folder = relative.empty() ? root : Join(root, relative);
  for (const std::wstring& name : uitest::ListFolder(folder)) {
    const std::wstring path = relative.empty() ? name : Join(relative, name);
    if (FolderExists(Join(root, path))) {
      CollectFiles(root, path, files);
    } else {
      files.push_back(path);
    }
  }
}

// The whole value as stored, for putting it back unchanged.
bool ReadRaw(HKEY root, const wchar_t* subKey, const wchar_t* name, DWORD& type,
             std::string& bytes) {
  veltrano::RegistryKey key;
  if (key.Open(root, subKey) != ERROR_SUCCESS) return false;
  DWORD size = 0;
  if (::RegQueryValueExW(key.Get(), name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
    return false;
  }
  bytes.assign(size, '\0');
  return ::RegQueryValueExW(key.Get(), name, nullptr, &type, reinterpret_cast<BYTE*>(&bytes[0]),
                            &size) == ERROR_SUCCESS;
}

void DeleteKeyTree(const std::wstring& subKey, REGSAM view) {
  veltrano::RegistryKey key;
  if (key.Open(HKEY_LOCAL_MACHINE, subKey.c_str(), KEY_ALL_ACCESS | view) != ERROR_SUCCESS) return;
  ::RegDeleteTreeW(key.Get(), nullptr);
  key.Reset();
  ::RegDeleteKeyExW(HKEY_LOCAL_MACHINE, subKey.c_str(), view, 0);
}

// An empty folder goes; one with anything else in it stays.
void RemoveIfEmpty(const std::wstring& folder) { ::RemoveDirectoryW(folder.c_str()); }

}  // namespace

std::wstring Join(const std::wstring& folder, const std::wstring& name) {
  if (folder.empty() || folder.back() == L'\\') return folder + name;
  return folder + L"\\" + name;
}

std::wstring PackageFolder() { return uitest::WindowsPathOf(PACKAGE_FOLDER); }
std::wstring PackageSetup() { return Join(PackageFolder(), L"setup.exe"); }

std::vector<std::wstring> PackageFiles() { return FilesBelow(PackageFolder()); }

std::wstring InstallFolder() {
  const std::wstring programFiles =
      Variable(veltrano::RunsUnderWow64() ? L"ProgramW6432" : L"ProgramFiles");
  return Join(Join(programFiles, kVendorFolder), kProductFolder);
}

std::wstring RedirectedProgramFiles() {
  return veltrano::RunsUnderWow64() ? Variable(L"ProgramFiles") : L"";
}

std::wstring ShortcutFolder() {
  veltrano::CoTaskMemText programs;
  if (FAILED(::SHGetKnownFolderPath(FOLDERID_CommonPrograms, 0, nullptr, &programs.text))) {
    return L"";
  }
  return Join(programs.text, kVendorFolder);
}

std::wstring ShortcutPath() { return Join(ShortcutFolder(), kShortcutFile); }

std::wstring DriverInterface() {
  wchar_t guid[64] = {};
  ::GetPrivateProfileStringW(L"DriverInterface", L"InterfaceGUID", L"", guid, 64,
                             Join(PackageFolder(), L"sonarixapi.ini").c_str());
  // Setup writes it as the registry does: upper-case hex digits.
  std::wstring text = guid;
  for (wchar_t& c : text) c = static_cast<wchar_t>(std::towupper(c));
  return text;
}

std::wstring ClassKey() { return L"Software\\Classes\\CLSID\\" + DriverInterface(); }

std::vector<std::wstring> FilesBelow(const std::wstring& folder) {
  std::vector<std::wstring> files;
  CollectFiles(folder, L"", files);
  std::sort(files.begin(), files.end());
  return files;
}

bool FolderExists(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

::testing::AssertionResult InstalledAsPackaged(const std::wstring& installFolder) {
  const std::vector<std::wstring> packaged = PackageFiles();
  const std::vector<std::wstring> installed = FilesBelow(installFolder);
  if (installed != packaged) {
    std::wstring list;
    for (const std::wstring& file : installed) list += L" " + file;
    return ::testing::AssertionFailure() << "installed files:" << veltrano::WideToUtf8(list.c_str())
                                         << " (package: " << packaged.size() << " files)";
  }
  for (const std::wstring& file : packaged) {
    std::string expected;
    std::string actual;
    if (!uitest::ReadFileBytes(Join(PackageFolder(), file), expected) ||
        !uitest::ReadFileBytes(Join(installFolder, file), actual) || expected != actual) {
      return ::testing::AssertionFailure() << veltrano::WideToUtf8(file.c_str()) << " differs";
    }
  }
  return ::testing::AssertionSuccess();
}

RegistryValue ReadValue(const std::wstring& subKey, const wchar_t* name, bool native) {
  RegistryValue value;
  veltrano::RegistryKey key;
  if (key.Open(HKEY_LOCAL_MACHINE, subKey.c_str(), KEY_READ | ViewOf(native)) != ERROR_SUCCESS) {
    return value;
  }
  BYTE data[2048] = {};
  DWORD size = sizeof(data) - sizeof(wchar_t);
  if (::RegQueryValueExW(key.Get(), name, nullptr, &value.type, data, &size) != ERROR_SUCCESS) {
    return value;
  }
  value.present = true;
  if (value.type == REG_SZ) value.text = reinterpret_cast<const wchar_t*>(data);
  if (value.type == REG_DWORD && size == sizeof(DWORD))
    value.number = *reinterpret_cast<DWORD*>(data);
  return value;
}

bool KeyExists(const std::wstring& subKey, bool native) {
  veltrano::RegistryKey key;
  return key.Open(HKEY_LOCAL_MACHINE, subKey.c_str(), KEY_READ | ViewOf(native)) == ERROR_SUCCESS;
}

bool WriteString(const std::wstring& subKey, const wchar_t* name, const std::wstring& value) {
  veltrano::RegistryKey key;
  return key.Open(HKEY_LOCAL_MACHINE, subKey.c_str(), KEY_SET_VALUE) == ERROR_SUCCESS &&
         ::RegSetValueExW(key.Get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) ==
             ERROR_SUCCESS;
}

Shortcut ReadShortcut(const std::wstring& path) {
  Shortcut shortcut;
  const veltrano::ComApartment com;
  IShellLinkW* link = nullptr;
  if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&link)))) {
    return shortcut;
  }
  IPersistFile* file = nullptr;
  if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
      SUCCEEDED(file->Load(path.c_str(), STGM_READ))) {
    wchar_t text[MAX_PATH] = {};
    shortcut.loaded = SUCCEEDED(link->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH));
    shortcut.target = text;
    text[0] = L'\0';
    link->GetWorkingDirectory(text, MAX_PATH);
    shortcut.workingFolder = text;
  }
  if (file != nullptr) file->Release();
  link->Release();
  return shortcut;
}

std::vector<std::wstring> LogLines(const std::wstring& logFile) {
  std::string bytes;
  std::vector<std::wstring> lines;
  if (!uitest::ReadFileBytes(logFile, bytes)) return lines;
  const std::wstring text = veltrano::Utf8ToWide(bytes.c_str());
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find(L"\r\n", start);
    if (end == std::wstring::npos) end = text.size();
    std::wstring line = text.substr(start, end - start);
    // "2026-12-08 05:23:52 "
    const bool stamped = line.size() >= 20 && line[4] == L'-' && line[7] == L'-' &&
                         line[10] == L' ' && line[13] == L':' && line[16] == L':' &&
                         line[19] == L' ';
    lines.push_back(stamped ? line.substr(20) : line);
    start = end + 2;
  }
  return lines;
}

size_t CountLines(const std::vector<std::wstring>& lines, const std::wstring& prefix) {
  return static_cast<size_t>(std::count_if(
      lines.begin(), lines.end(),
      [&](const std::wstring& line) { return line.compare(0, prefix.size(), prefix) == 0; }));
}

std::wstring ProgramFile(HANDLE process) {
  wchar_t path[MAX_PATH] = {};
  DWORD length = MAX_PATH;
  return ::QueryFullProcessImageNameW(process, 0, path, &length) ? path : L"";
}

std::vector<DWORD> ProgramsRunningFrom(const std::wstring& folder) {
  std::vector<DWORD> found;
  const std::wstring prefix = Lower(Join(folder, L""));
  veltrano::UniqueHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  PROCESSENTRY32W entry = {};
  entry.dwSize = sizeof entry;
  for (BOOL more = ::Process32FirstW(snapshot.Get(), &entry); more;
       more = ::Process32NextW(snapshot.Get(), &entry)) {
    veltrano::UniqueHandle process(
        ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID));
    if (!process.IsValid() || ::WaitForSingleObject(process.Get(), 0) != WAIT_TIMEOUT) continue;
    if (Lower(ProgramFile(process.Get())).compare(0, prefix.size(), prefix) == 0) {
      found.push_back(entry.th32ProcessID);
    }
  }
  return found;
}

ShellScript::ShellScript(const std::string& script, const std::wstring& transcript)
    : transcript_(transcript) {
  uitest::StartOptions options;
  options.standardOutputFile = transcript;
  const std::string command =
      "{ " + script + "; } 2>/dev/null; echo '" + std::string(kShellDone) + "'";
  shell_.Start(uitest::WindowsPathOf("/bin/sh"),
               L"-c \"" + veltrano::Utf8ToWide(command.c_str()) + L"\"", options);
}

bool ShellScript::WaitForEnd(std::string& output, DWORD timeoutMs) {
  const std::string end = std::string(kShellDone) + "\n";
  const bool ended = WaitUntil(
      [&] {
        return uitest::ReadFileBytes(transcript_, output) && output.size() >= end.size() &&
               output.compare(output.size() - end.size(), end.size(), end) == 0;
      },
      timeoutMs);
  if (ended) output.resize(output.size() - end.size());
  return ended;
}

std::string RunShell(const std::string& script, const uitest::ScratchFolder& folder) {
  static LONG runs = 0;
  ShellScript shell(
      script, folder.File(L"shell-" + std::to_wstring(::InterlockedIncrement(&runs)) + L".txt"));
  std::string output;
  return shell.WaitForEnd(output) ? output : "(still running) " + output;
}

bool HasLine(const std::string& output, const std::string& line) {
  size_t start = 0;
  while (start < output.size()) {
    size_t end = output.find('\n', start);
    if (end == std::string::npos) end = output.size();
    std::string text = output.substr(start, end - start);
    if (!text.empty() && text.back() == '\r') text.pop_back();
    if (text == line) return true;
    start = end + 1;
  }
  return false;
}

PrefixGuard::PrefixGuard() {
  pendingRenames_.present = ReadRaw(HKEY_LOCAL_MACHINE, kSessionManagerKey, kPendingRenames,
                                    pendingRenames_.type, pendingRenames_.bytes);
  log_.present = uitest::ReadFileBytes(Join(TempFolder(), kLogFileName), log_.bytes);
  RemoveProduct();
}

PrefixGuard::~PrefixGuard() {
  RemoveProduct();
  veltrano::RegistryKey sessionManager;
  if (sessionManager.Open(HKEY_LOCAL_MACHINE, kSessionManagerKey, KEY_SET_VALUE) == ERROR_SUCCESS) {
    if (pendingRenames_.present) {
      ::RegSetValueExW(sessionManager.Get(), kPendingRenames, 0, pendingRenames_.type,
                       reinterpret_cast<const BYTE*>(pendingRenames_.bytes.data()),
                       static_cast<DWORD>(pendingRenames_.bytes.size()));
    } else {
      ::RegDeleteValueW(sessionManager.Get(), kPendingRenames);
    }
  }
  const std::wstring log = Join(TempFolder(), kLogFileName);
  if (log_.present) {
    uitest::WriteFileBytes(log, log_.bytes);
  } else {
    ::DeleteFileW(log.c_str());
  }
}

void PrefixGuard::RemoveProduct() {
  std::vector<std::wstring> folders = {InstallFolder()};
  if (!RedirectedProgramFiles().empty()) {
    folders.push_back(Join(Join(RedirectedProgramFiles(), kVendorFolder), kProductFolder));
  }
  for (const std::wstring& folder : folders) {
    uitest::RemoveFolderTree(folder);
    RemoveIfEmpty(folder.substr(0, folder.find_last_of(L'\\')));
  }
  uitest::RemoveFolderTree(ShortcutFolder());
  for (const bool native : {false, true}) {
    DeleteKeyTree(kUninstallKey, ViewOf(native));
    DeleteKeyTree(ClassKey(), ViewOf(native));
  }
}

}  // namespace setuptest
