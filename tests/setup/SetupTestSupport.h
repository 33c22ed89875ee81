#pragma once
// What the driver package installs and where, read back the way a user or an administrator
// would find it (files, registry values, the shortcut, setup's log, Wine's program list), and a
// guard that leaves the prefix as the suite found it.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "UiDriver.h"

namespace setuptest {

constexpr DWORD kWaitMs = 30000;

constexpr wchar_t kSetupCaption[] = L"Sonarix USB Audio Driver Setup";
constexpr wchar_t kDisplayName[] = L"Sonarix USB Audio Driver";
constexpr wchar_t kUninstallKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\SonarixUsbAudioDriver";
constexpr wchar_t kLogFileName[] = L"SonarixSetup.log";
// Setup's window: the step, the result, and the button that cancels and then closes.
constexpr int kStepTextId = 1002;
constexpr int kResultTextId = 1004;

constexpr uint32_t kExitSuccess = 0;
constexpr uint32_t kExitBadArguments = 87;
constexpr uint32_t kExitCancelled = 1602;
constexpr uint32_t kExitFailed = 1603;
constexpr uint32_t kExitNotInstalled = 1605;
constexpr uint32_t kExitAnotherRun = 1618;

// --- Where things are
// The package folder the build made (what the archive holds), and its setup.exe.
std::wstring PackageFolder();
std::wstring PackageSetup();
// The package's files, relative to the package folder ("dspmixer.strings\en.txt"), sorted.
std::vector<std::wstring> PackageFiles();
// "<native program files>\Sonarix\USB Audio Driver": the 64-bit folder under WOW64.
std::wstring InstallFolder();
// The program files folder of 32-bit programs under WOW64; empty elsewhere.
std::wstring RedirectedProgramFiles();
std::wstring ShortcutFolder();
std::wstring ShortcutPath();
// The driver interface the package's library serves, "{...}", and its class key under HKLM.
std::wstring DriverInterface();
std::wstring ClassKey();
std::wstring Join(const std::wstring& folder, const std::wstring& name);

// --- What is there
// Every file below `folder`, relative to it, sorted; empty when the folder is missing.
std::vector<std::wstring> FilesBelow(const std::wstring& folder);
bool FolderExists(const std::wstring& path);
// True when the installed files are exactly the package's files, byte for byte.
::testing::AssertionResult InstalledAsPackaged(const std::wstring& installFolder);

// A value of HKEY_LOCAL_MACHINE\`subKey` in the registry view of 32-bit programs, or in the
// native one (`native`; the same outside WOW64).
struct RegistryValue {
  bool present = false;
  DWORD type = REG_NONE;
  std::wstring text;  // REG_SZ
  DWORD number = 0;   // REG_DWORD
};
RegistryValue ReadValue(const std::wstring& subKey, const wchar_t* name, bool native = false);
bool KeyExists(const std::wstring& subKey, bool native = false);
bool WriteString(const std::wstring& subKey, const wchar_t* name, const std::wstring& value);

struct Shortcut {
  bool loaded = false;
  std::wstring target;
  std::wstring workingFolder;
};
Shortcut ReadShortcut(const std::wstring& path);

// The lines of setup's log without their time stamps; a line whose stamp is not
// "YYYY-MM-DD hh:mm:ss " is kept whole, so that it fails any comparison.
std::vector<std::wstring> LogLines(const std::wstring& logFile);
// How many lines start with `prefix`.
size_t CountLines(const std::vector<std::wstring>& lines, const std::wstring& prefix);

// --- Programs
// Polls `condition` until it holds; false when `timeoutMs` passed first.
template <typename Condition>
bool WaitUntil(Condition condition, DWORD timeoutMs = kWaitMs) {
  const DWORD start = ::GetTickCount();
  while (!condition()) {
    // The tick count may wrap; the subtraction is unsigned on purpose.
    if (::GetTickCount() - start >= timeoutMs) return false;
    ::Sleep(20);
  }
  return true;
}
// The ids of the running programs whose file lies in `folder` (or below it).
std::vector<DWORD> ProgramsRunningFrom(const std::wstring& folder);
// The full path of a running program's file.
std::wstring ProgramFile(HANDLE process);

// The Wine loader that the test scripts chose for this host, for a Unix shell's command.
constexpr char kWineCommand[] = "${VT_WINE:-/usr/bin/wine}";

// A script run by the Unix shell, as a user at a terminal would run it, with the environment
// of this process.
class ShellScript {
 public:
  // `transcript` receives what the script prints on its standard output.
  ShellScript(const std::string& script, const std::wstring& transcript);
  // Waits for the script's end; false when `timeoutMs` passed first. `output`: what it printed.
  bool WaitForEnd(std::string& output, DWORD timeoutMs = kWaitMs);

 private:
  uitest::Process shell_;
  std::wstring transcript_;
};
// Runs the script to its end; its standard output ("(still running) ..." after kWaitMs).
std::string RunShell(const std::string& script, const uitest::ScratchFolder& folder);
// True when `output` has the whole line (ended by "\n" or "\r\n").
bool HasLine(const std::string& output, const std::string& line);

// Removes whatever the product left in the prefix now and again at the end of the scope: the
// install folder, the vendor folders, the Start menu folder, both registry entries in both
// views, and the removal's pending deletes of its copies; the temporary folder's log file is
// put back as it was. A test that fails half-way leaves the prefix clean all the same.
class PrefixGuard {
 public:
  PrefixGuard();
  ~PrefixGuard();
  PrefixGuard(const PrefixGuard&) = delete;
  PrefixGuard& operator=(const PrefixGuard&) = delete;

 private:
  static void RemoveProduct();

  struct Snapshot {
    bool present = false;
    DWORD type = REG_NONE;
    std::string bytes;
  };
  Snapshot pendingRenames_;
  Snapshot log_;
};

}  // namespace setuptest
