// setup.exe started by itself: its window and the result it shows, Cancel between two steps,
// command lines it does not understand, and installs that fail half-way, which leave the
// machine as it was, an earlier install included.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <map>

#include "PausedProgram.h"
#include "SetupFixture.h"
#include "VTStringConv.h"

namespace setuptest {
namespace {

using SetupWindow = SetupFixture;
using FailedSetup = SetupFixture;
using SetupLogFile = SetupFixture;

std::string Utf8(const std::wstring& text) { return veltrano::WideToUtf8(text.c_str()); }

// The window of a program that is stopped: found by the caption the system keeps, without a
// message that the program could not answer.
HWND FindSetupWindow(DWORD processId) {
  for (HWND window : uitest::TopLevelWindows(processId, false)) {
    wchar_t caption[64] = {};
    ::GetWindowTextW(window, caption, 64);
    if (uitest::WindowClass(window) == uitest::kDialogClass &&
        caption == std::wstring(kSetupCaption) && ::GetDlgItem(window, kResultTextId) != nullptr) {
      return window;
    }
  }
  return nullptr;
}

// The window once it is shown with `result`.
bool WaitForResult(HWND window, const std::wstring& result) {
  return WaitUntil([&] {
    return ::IsWindowVisible(window) && uitest::ControlText(window, kResultTextId) == result;
  });
}

// A file held open without any sharing: nobody can rename, replace or delete it meanwhile.
class HeldFile {
 public:
  explicit HeldFile(const std::wstring& path)
      : file_(::CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr)) {}
  bool IsHeld() const { return file_.IsValid(); }
  void Release() { file_.Reset(); }

 private:
  uitest::UniqueHandle file_;
};

std::map<std::wstring, std::string> Contents(const std::wstring& folder) {
  std::map<std::wstring, std::string> contents;
  for (const std::wstring& file : FilesBelow(folder)) {
    uitest::ReadFileBytes(Join(folder, file), contents[file]);
  }
  return contents;
}

}  // namespace

TEST_F(SetupWindow, ShowsTheInstallsResultAndCloseEndsWithZero) {
  uitest::Process setup;
  ASSERT_EQ(0u, setup.Start(PackageSetup(), L"", options_));
  const HWND window = uitest::WaitForWindow(setup, {kSetupCaption, uitest::kDialogClass}, kWaitMs);
  ASSERT_NE(nullptr, window);
  EXPECT_TRUE(WaitForResult(window, L"The software was installed."))
      << Utf8(uitest::ControlText(window, kResultTextId));
  EXPECT_EQ(L"Close", uitest::ControlText(window, IDCANCEL));
  EXPECT_EQ(L"", uitest::ControlText(window, kStepTextId));
  ExpectInstalledAt(InstallFolder());
  EXPECT_TRUE(setup.IsRunning()) << "setup ended before Close";

  ASSERT_TRUE(uitest::PressButton(window, IDCANCEL));
  ASSERT_TRUE(setup.WaitForExit(kWaitMs));
  EXPECT_EQ(kExitSuccess, setup.ExitCode());
  ExpectInstalledAt(InstallFolder());
}

// Setup stops at its first file copy, after the program folder was made; Cancel pressed there
// takes effect before the next step.
TEST_F(SetupWindow, CancelBetweenTwoStepsUndoesTheStartedInstallAndEndsWith1602) {
  PausedProgram setup(PackageSetup(), L"", TempVariables(), L"kernel32", "CopyFileW");
  ASSERT_EQ("", setup.Problem());
  ASSERT_TRUE(setup.WaitUntilPaused(kWaitMs)) << "setup ended with " << setup.ExitCode();
  const HWND window = FindSetupWindow(setup.Id());
  ASSERT_NE(nullptr, window);
  EXPECT_TRUE(FolderExists(InstallFolder()));
  ASSERT_TRUE(::PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                             reinterpret_cast<LPARAM>(::GetDlgItem(window, IDCANCEL))));
  setup.Resume();

  EXPECT_TRUE(WaitForResult(window, L"Setup was cancelled. Nothing was changed."))
      << Utf8(uitest::ControlText(window, kResultTextId));
  EXPECT_EQ(L"Close", uitest::ControlText(window, IDCANCEL));
  ExpectNothingInstalled();
  ASSERT_TRUE(uitest::PressButton(window, IDCANCEL));
  ASSERT_TRUE(setup.WaitForExit(kWaitMs));
  EXPECT_EQ(kExitCancelled, setup.ExitCode());
  ExpectNothingInstalled();
  EXPECT_EQ(0u, Log().back().find(L"installation cancelled")) << Utf8(Log().back());
}

TEST_F(SetupWindow, CommandLineItDoesNotUnderstandEndsWith87) {
  // Quiet: no window at all, not even the usage box.
  const RunResult quiet = RunAnsweringBoxes(PackageSetup(), L"/quiet /repair", options_);
  EXPECT_EQ(kExitBadArguments, quiet.exitCode);
  EXPECT_TRUE(quiet.boxes.empty());

  const RunResult shown = RunAnsweringBoxes(PackageSetup(), L"/dir=", options_);
  EXPECT_EQ(kExitBadArguments, shown.exitCode);
  ASSERT_EQ(1u, shown.boxes.size());
  EXPECT_EQ(kSetupCaption, shown.caption);
  EXPECT_EQ(0u, shown.boxes[0].find(L"The command line is not understood."))
      << Utf8(shown.boxes[0]);

  ExpectNothingInstalled();
  const std::vector<std::wstring> log = Log();
  EXPECT_EQ(1u, CountLines(log, L"bad argument: /repair"));
  EXPECT_EQ(1u, CountLines(log, L"bad argument: /dir="));
}

TEST_F(FailedSetup, FolderBelowAFileFailsWith1603AndChangesNothing) {
  const std::wstring file = scratch_.File(L"plain.txt");
  ASSERT_TRUE(uitest::WriteFileBytes(file, "a file, not a folder"));
  EXPECT_EQ(kExitFailed,
            RunSetup(L"/quiet " + uitest::QuoteArgument(L"/dir=" + file + L"\\Driver")));
  ExpectNothingInstalled();
  EXPECT_FALSE(FolderExists(InstallFolder()));
  std::string bytes;
  EXPECT_TRUE(uitest::ReadFileBytes(file, bytes));
  EXPECT_EQ("a file, not a folder", bytes);
  EXPECT_EQ(0u, Log().back().find(L"installation failed")) << Utf8(Log().back());
}

// The shortcut comes last: everything else was written when it fails, and is undone.
TEST_F(FailedSetup, LastStepFailingUndoesAFreshInstall) {
  ASSERT_TRUE(::CreateDirectoryW(ShortcutFolder().c_str(), nullptr));
  ASSERT_TRUE(uitest::WriteFileBytes(ShortcutPath(), "not a shortcut"));
  HeldFile held(ShortcutPath());
  ASSERT_TRUE(held.IsHeld());

  EXPECT_EQ(kExitFailed, RunSetup(L"/quiet"));
  held.Release();
  const std::wstring folder = InstallFolder();
  EXPECT_FALSE(FolderExists(folder.substr(0, folder.find_last_of(L'\\'))));
  for (const bool native : {false, true}) {
    EXPECT_FALSE(KeyExists(kUninstallKey, native));
    EXPECT_FALSE(KeyExists(ClassKey(), native));
  }
  std::string bytes;
  EXPECT_TRUE(uitest::ReadFileBytes(ShortcutPath(), bytes));
  EXPECT_EQ("not a shortcut", bytes);
  const std::vector<std::wstring> log = Log();
  EXPECT_EQ(1u, CountLines(log, L"rolling back "));
  EXPECT_EQ(0u, log.back().find(L"installation failed")) << Utf8(log.back());
}

// An earlier install (another version, a changed configuration) whose device tool is in use:
// setup fails half-way through the files and puts back every file and value as it was.
TEST_F(FailedSetup, FileInUseHalfWayLeavesTheEarlierInstallAsItWas) {
  ASSERT_EQ(kExitSuccess, RunSetup(L"/quiet"));
  const std::wstring folder = InstallFolder();
  ASSERT_TRUE(uitest::WriteFileBytes(Join(folder, L"dspmixer.xml"), "the user's settings"));
  ASSERT_TRUE(WriteString(kUninstallKey, L"DisplayVersion", L"5.6.0"));
  const std::map<std::wstring, std::string> before = Contents(folder);
  const RegistryValue server = ReadValue(ClassKey() + L"\\InprocServer32", nullptr);
  HeldFile held(Join(folder, L"sonarixsim.exe"));
  ASSERT_TRUE(held.IsHeld());

  EXPECT_EQ(kExitFailed, RunSetup(L"/quiet"));
  held.Release();
  EXPECT_TRUE(before == Contents(folder)) << "the earlier install's files changed";
  EXPECT_EQ(L"5.6.0", ReadValue(kUninstallKey, L"DisplayVersion").text);
  EXPECT_EQ(server.text, ReadValue(ClassKey() + L"\\InprocServer32", nullptr).text);
  EXPECT_TRUE(ReadShortcut(ShortcutPath()).loaded);
  const std::vector<std::wstring> log = Log();
  EXPECT_EQ(1u,
            CountLines(log, L"cannot set aside the earlier " + Join(folder, L"sonarixsim.exe")));
  EXPECT_EQ(0u, log.back().find(L"installation failed")) << Utf8(log.back());
}

// Two runs at once: the second run's lines reach the log while the first still has it open,
// and the first keeps writing. A second install meanwhile ends at once with 1618, and the
// first one's install is whole.
TEST_F(SetupLogFile, TwoRunsAtOnceBothWriteTheirLinesAndOnlyOneInstalls) {
  PausedProgram first(PackageSetup(), L"/quiet", TempVariables(), L"kernel32", "CopyFileW");
  ASSERT_EQ("", first.Problem());
  ASSERT_TRUE(first.WaitUntilPaused(kWaitMs)) << "setup ended with " << first.ExitCode();

  EXPECT_EQ(kExitBadArguments, RunSetup(L"/quiet /repair"));
  EXPECT_EQ(1u, CountLines(Log(), L"bad argument: /repair"));
  EXPECT_EQ(kExitAnotherRun, RunSetup(L"/quiet"));
  EXPECT_EQ(kExitAnotherRun, RunSetup(L"/uninstall /quiet"));
  EXPECT_EQ(2u, CountLines(Log(), L"another installation is in progress"));
  first.Resume();
  ASSERT_TRUE(first.WaitForExit(kWaitMs));
  EXPECT_EQ(kExitSuccess, first.ExitCode());
  ExpectInstalledAt(InstallFolder());
  const std::vector<std::wstring> log = Log();
  EXPECT_EQ(4u, CountLines(log, L"started: "));
  EXPECT_EQ(L"installation complete", log.back());
}

// The driver interface becomes part of a registry path: a configuration whose interface is
// not a GUID stops setup before it changes anything.
TEST_F(FailedSetup, DriverInterfaceThatIsNoGuidFailsWith1603AndChangesNothing) {
  const std::wstring package = scratch_.File(L"package");
  for (const std::wstring& file : PackageFiles()) {
    const std::wstring target = Join(package, file);
    ::SHCreateDirectoryExW(nullptr, target.substr(0, target.find_last_of(L'\\')).c_str(),
                           nullptr);
    ASSERT_TRUE(::CopyFileW(Join(PackageFolder(), file).c_str(), target.c_str(), FALSE));
  }
  const char noGuid[] =
      "[DriverInterface]\r\nInterfaceGUID={7923A8A9-CCB9-4a66\\..\\..\\..\\45451876}\r\n";
  ASSERT_TRUE(uitest::WriteFileBytes(Join(package, L"sonarixapi.ini"), noGuid));
  uitest::Process setup;
  ASSERT_EQ(0u, setup.Start(Join(package, L"setup.exe"), L"/quiet", options_));
  ASSERT_TRUE(setup.WaitForExit(kWaitMs));
  EXPECT_EQ(kExitFailed, setup.ExitCode());
  ExpectNothingInstalled();
  EXPECT_EQ(1u, CountLines(Log(), L"setup cannot start"));
}

}  // namespace setuptest
