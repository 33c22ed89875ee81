// The driver package as a user or an administrator meets it: one executable that unpacks itself
// and starts setup, which installs the software silently, repairs an earlier install, and does
// so under any UI language; the installed mixer then finds the driver library through the
// registry alone and shows the (simulated) device.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>

#include "SetupFixture.h"
#include "VTStringConv.h"

namespace setuptest {
namespace {

constexpr wchar_t kQuietPackageRun[] = L"--gui off passthrough /quiet";
constexpr wchar_t kSelectTitle[] = L"Select Mixer";
constexpr int kSelectSimpleButton = 1011;
constexpr int kPlaybackSlider = 1014;
constexpr int kPlaybackValue = 1018;

using DriverPackage = SetupFixture;

bool Contains(const std::vector<std::wstring>& lines, const std::wstring& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// The simple mixer: a shown dialog with the faders (a message box may share its caption).
HWND FindSimpleMixer(const uitest::Process& mixer) {
  for (HWND window : uitest::TopLevelWindows(mixer.Id())) {
    if (uitest::WindowClass(window) == uitest::kDialogClass &&
        ::GetDlgItem(window, kPlaybackSlider) != nullptr) {
      return window;
    }
  }
  return nullptr;
}

}  // namespace

TEST_F(DriverPackage, QuietRunInstallsEverythingAndWineListsTheProgram) {
  std::wstring result;
  ASSERT_TRUE(RunPackage(kQuietPackageRun, result));
  EXPECT_EQ(L"installation complete", result);
  const std::wstring folder = InstallFolder();
  ExpectInstalledAt(folder);
  // A driver's software goes to the native program files folder, also from a 32-bit setup.
  if (!RedirectedProgramFiles().empty()) {
    EXPECT_EQ(std::wstring::npos, folder.find(RedirectedProgramFiles()));
  }

  const std::vector<std::wstring> log = Log();
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(0u, log.front().find(L"started: ")) << log.front();
  EXPECT_EQ(log.front().size() - 6, log.front().rfind(L"/quiet")) << log.front();
  EXPECT_TRUE(Contains(log, L"installing Sonarix USB Audio Driver in " + folder));
  for (const std::wstring& file : PackageFiles()) {
    EXPECT_TRUE(Contains(log, L"copied " + Join(folder, file))) << file;
  }
  EXPECT_TRUE(Contains(log, L"wrote HKLM\\" + ClassKey() + L"\\InprocServer32 (default)"));
  EXPECT_TRUE(Contains(log, std::wstring(L"wrote HKLM\\") + kUninstallKey + L" UninstallString"));
  EXPECT_TRUE(Contains(log, L"created the shortcut " + ShortcutPath()));
  EXPECT_EQ(L"installation complete", log.back());

  const std::string programs = RunShell(std::string(kWineCommand) + " uninstaller --list",
                                        scratch_);
  EXPECT_TRUE(HasLine(programs, "SonarixUsbAudioDriver|||Sonarix USB Audio Driver")) << programs;
}

// Started as the Start menu shortcut starts it: the shipped configuration names the driver
// interface, so the library is found through its registration or not at all.
TEST_F(DriverPackage, InstalledMixerBindsTheRegisteredLibraryAndShowsTheDevice) {
  ASSERT_EQ(kExitSuccess, RunSetup(L"/quiet"));
  const Shortcut shortcut = ReadShortcut(ShortcutPath());
  ASSERT_TRUE(shortcut.loaded);

  uitest::StartOptions options;
  options.workingFolder = shortcut.workingFolder;
  // A new simulated state holds one device, its first playback channel routed at 100 %.
  options.environment = {
      {L"SONARIX_SIM_STATE", L"setup" + std::to_wstring(::GetCurrentProcessId())},
      {L"SONARIX_SIM_STATE_DIR", scratch_.Path()}};
  uitest::Process mixer;
  ASSERT_EQ(0u, mixer.Start(shortcut.target, L"", options));
  HWND select = nullptr;
  HWND box = nullptr;
  // A text missing from the language file would show its box before the first window.
  WaitUntil([&] {
    box = uitest::FindMessageBox(mixer);
    select = uitest::FindProgramWindow(mixer, {kSelectTitle, uitest::kDialogClass});
    return box != nullptr || select != nullptr || !mixer.IsRunning();
  });
  ASSERT_EQ(nullptr, box) << veltrano::WideToUtf8(
      uitest::ControlText(box, uitest::kMessageBoxTextId).c_str());
  ASSERT_NE(nullptr, select) << "the mixer ended with " << mixer.ExitCode();

  ASSERT_TRUE(uitest::PressButton(select, kSelectSimpleButton));
  HWND simple = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (simple = FindSimpleMixer(mixer)) != nullptr; }));
  EXPECT_TRUE(WaitUntil([&] { return uitest::ControlText(simple, kPlaybackValue) == L"100%"; }))
      << veltrano::WideToUtf8(uitest::ControlText(simple, kPlaybackValue).c_str());
  EXPECT_EQ(nullptr, uitest::FindMessageBox(mixer));
  ASSERT_TRUE(uitest::RequestClose(simple));
  EXPECT_TRUE(mixer.WaitForExit(kWaitMs));
}

TEST_F(DriverPackage, SecondRunRepairsTheInstall) {
  ASSERT_EQ(kExitSuccess, RunSetup(L"/quiet"));
  const std::wstring folder = InstallFolder();
  const std::wstring languageFile = Join(folder, L"dspmixer.strings\\en.txt");
  ASSERT_TRUE(::DeleteFileW(languageFile.c_str()));
  ASSERT_TRUE(uitest::WriteFileBytes(Join(folder, L"dspmixer.xml"), "damaged"));
  ASSERT_TRUE(WriteString(kUninstallKey, L"DisplayVersion", L"0.0.1"));

  std::wstring result;
  ASSERT_TRUE(RunPackage(kQuietPackageRun, result));
  EXPECT_EQ(L"installation complete", result);
  ExpectInstalledAt(folder);
  EXPECT_EQ(2u, CountLines(Log(), L"installing Sonarix USB Audio Driver in " + folder));

  // The installed setup.exe repairs the entries in place; its files are the installed ones.
  ASSERT_TRUE(WriteString(kUninstallKey, L"DisplayVersion", L"0.0.2"));
  uitest::Process installed;
  ASSERT_EQ(0u, installed.Start(Join(folder, L"setup.exe"), L"/quiet", options_));
  ASSERT_TRUE(installed.WaitForExit(kWaitMs));
  EXPECT_EQ(kExitSuccess, installed.ExitCode());
  ExpectInstalledAt(folder);
}

// Registered with a German Windows UI language (LC_ALL=de_DE under Wine): the package offers
// its setup for English only, which still serves any other language.
TEST_F(DriverPackage, UnderGermanUiThePackageStillStartsSetup) {
  ASSERT_EQ(LANG_GERMAN, PRIMARYLANGID(::GetUserDefaultUILanguage()))
      << "registered to run with a German UI language";
  std::wstring result;
  ASSERT_TRUE(RunPackage(kQuietPackageRun, result));
  EXPECT_EQ(L"installation complete", result);
  ExpectInstalledAt(InstallFolder());
}

}  // namespace setuptest
