// Removing the software the way the system's program list does: Wine's uninstaller runs the
// entry's UninstallString, the installed setup.exe hands the removal to a copy of itself in the
// temporary folder and ends, and the copy removes every file, folder, entry and the shortcut.
#include <gtest/gtest.h>
#include <windows.h>

#include "SetupFixture.h"
#include "VTStringConv.h"

namespace setuptest {
namespace {

using Removal = SetupFixture;

// The removal's copy of setup: ended at the latest at the end of the test, and its file gone
// then (the system would delete it at the next start).
class RemovalCopy {
 public:
  explicit RemovalCopy(DWORD processId)
      : process_(::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE,
                               FALSE, processId)),
        file_(process_.IsValid() ? ProgramFile(process_.Get()) : L"") {}
  ~RemovalCopy() {
    if (process_.IsValid() && ::WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT) {
      ::TerminateProcess(process_.Get(), uitest::kTerminatedExitCode);
      ::WaitForSingleObject(process_.Get(), kWaitMs);
    }
    if (!file_.empty()) ::DeleteFileW(file_.c_str());
  }
  RemovalCopy(const RemovalCopy&) = delete;
  RemovalCopy& operator=(const RemovalCopy&) = delete;

  const std::wstring& File() const { return file_; }
  // True once it has ended, with its exit code.
  bool WaitForExit(DWORD& exitCode) const {
    return process_.IsValid() && ::WaitForSingleObject(process_.Get(), kWaitMs) == WAIT_OBJECT_0 &&
           ::GetExitCodeProcess(process_.Get(), &exitCode);
  }

 private:
  uitest::UniqueHandle process_;
  std::wstring file_;
};

std::wstring NameOf(const std::wstring& path) { return path.substr(path.find_last_of(L'\\') + 1); }

}  // namespace

TEST_F(Removal, WinesUninstallerRunsOurRemovalAndNothingRemains) {
  ASSERT_EQ(kExitSuccess, RunSetup(L"/quiet"));
  ASSERT_TRUE(KeyExists(kUninstallKey));

  ShellScript uninstaller(
      std::string(kWineCommand) + " uninstaller --remove SonarixUsbAudioDriver",
      scratch_.File(L"remove.txt"));
  // The entry's UninstallString is not the quiet one: the removal shows its window.
  HWND window = nullptr;
  ASSERT_TRUE(WaitUntil([&] {
    window = ::FindWindowW(uitest::kDialogClass, kSetupCaption);
    return window != nullptr && ::IsWindowVisible(window) &&
           uitest::ControlText(window, kResultTextId) == L"The software was removed.";
  })) << (window != nullptr
              ? veltrano::WideToUtf8(uitest::ControlText(window, kResultTextId).c_str())
              : std::string("no window"));
  DWORD copyId = 0;
  ::GetWindowThreadProcessId(window, &copyId);
  const RemovalCopy copy(copyId);
  EXPECT_EQ(0u, NameOf(copy.File()).find(L"SonarixSetup-"))
      << veltrano::WideToUtf8(copy.File().c_str());
  EXPECT_FALSE(FolderExists(InstallFolder()));
  ExpectNothingInstalled();

  ASSERT_TRUE(uitest::PressButton(window, IDCANCEL));
  DWORD exitCode = STILL_ACTIVE;
  ASSERT_TRUE(copy.WaitForExit(exitCode));
  EXPECT_EQ(kExitSuccess, exitCode);
  std::string printed;
  EXPECT_TRUE(uninstaller.WaitForEnd(printed)) << printed;
  const std::string programs = RunShell(std::string(kWineCommand) + " uninstaller --list",
                                        scratch_);
  EXPECT_FALSE(HasLine(programs, "SonarixUsbAudioDriver|||Sonarix USB Audio Driver")) << programs;
  ExpectNothingInstalled();
}

// A removal with nothing to remove says so: 1605, not success.
TEST_F(Removal, RemovingWhatIsNotInstalledEndsWith1605) {
  EXPECT_EQ(kExitNotInstalled, RunSetup(L"/uninstall /quiet"));
  EXPECT_EQ(kExitNotInstalled,
            RunSetup(L"/uninstall /quiet " +
                     uitest::QuoteArgument(L"/dir=" + scratch_.File(L"never installed"))));
  ExpectNothingInstalled();
  EXPECT_EQ(2u, CountLines(Log(), L"the software is not installed: nothing to remove"));
}

}  // namespace setuptest
