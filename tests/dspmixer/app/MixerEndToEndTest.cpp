// The mixer program as a user meets it: its configuration boxes, the select window, the driver
// library found beside it or through the registry, one instance per driver interface, and
// "-exitall". Each test installs a copy of the program in a scratch folder.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "UiDriver.h"

namespace {

constexpr wchar_t kAppTitle[] = L"Sonarix Mixer Control";
constexpr wchar_t kSelectTitle[] = L"Select Mixer";
constexpr int kSimpleButton = 1011;
constexpr int kAdvancedButton = 1012;
constexpr int kQuitButton = 1013;
constexpr DWORD kWaitMs = 15000;
constexpr wchar_t kMissingConfigText[] =
    L"Failed to open application configuration file.\nDefault configuration will be used.";
constexpr wchar_t kIncompatibleConfigText[] =
    L"Incompatible application configuration file.\nDefault configuration will be used.";
constexpr wchar_t kDllMissingText[] = L"The driver DLL required to access the device is missing.";
constexpr wchar_t kGuidA[] = L"{5A1E0001-0000-4000-8000-00000000000A}";
constexpr wchar_t kGuidB[] = L"{5A1E0001-0000-4000-8000-00000000000B}";

std::wstring BuildFile(const char* unixPath) { return uitest::WindowsPathOf(unixPath); }

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

std::string ConfigWith(const std::string& inner, const std::string& minor = "1") {
  return "<?xml version=\"1.0\"?>\n<AppConfig FormatVersionMajor=\"1\" FormatVersionMinor=\"" +
         minor + "\">" + inner + "</AppConfig>\n";
}

std::string GuidConfig(const wchar_t* guid) {
  return ConfigWith("<DriverInterfaceGUID>" + Narrow(guid) + "</DriverInterfaceGUID>");
}

// HKCR\CLSID\{guid}\InprocServer32 naming a library, removed again at the end.
class ClsidRegistration {
 public:
  ClsidRegistration(const std::wstring& guid, const std::wstring& libraryPath)
      : key_(L"CLSID\\" + guid) {
    HKEY server = nullptr;
    const std::wstring path = key_ + L"\\InprocServer32";
    if (::RegCreateKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                          &server, nullptr) == ERROR_SUCCESS) {
      ::RegSetValueExW(server, nullptr, 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(libraryPath.c_str()),
                       static_cast<DWORD>((libraryPath.size() + 1) * sizeof(wchar_t)));
      ::RegCloseKey(server);
    }
  }
  ~ClsidRegistration() { ::RegDeleteTreeW(HKEY_CLASSES_ROOT, key_.c_str()); }

 private:
  std::wstring key_;
};

// One installed copy of the program: dspmixer.exe, optionally its XML file, its language
// folder and the simulated driver library beside it.
class MixerInstall {
 public:
  explicit MixerInstall(const std::wstring& folder) : folder_(folder) {
    ::CreateDirectoryW(folder_.c_str(), nullptr);
    ::CopyFileW(BuildFile(DSPMIXER_EXE).c_str(), Exe().c_str(), FALSE);
  }
  std::wstring Exe() const { return folder_ + L"\\dspmixer.exe"; }
  std::wstring File(const wchar_t* name) const { return folder_ + L"\\" + name; }
  void WriteConfig(const std::string& xml) const {
    uitest::WriteFileBytes(File(L"dspmixer.xml"), xml);
  }
  void AddDriverLibrary() const {
    ::CopyFileW(BuildFile(SONARIXAPI_DLL).c_str(), File(L"sonarixapi.dll").c_str(), FALSE);
    ::CopyFileW(BuildFile(SONARIXAPI_INI).c_str(), File(L"sonarixapi.ini").c_str(), FALSE);
  }
  // A stand-in library under the driver library's name.
  void AddLibraryAsDriver(const char* library) const {
    ::CopyFileW(BuildFile(library).c_str(), File(L"sonarixapi.dll").c_str(), FALSE);
  }
  void AddLanguageFiles() const {
    const std::wstring strings = File(L"dspmixer.strings");
    ::CreateDirectoryW(strings.c_str(), nullptr);
    for (const wchar_t* tag : {L"en.txt", L"de.txt"}) {
      ::CopyFileW((BuildFile(DSPMIXER_STRINGS) + L"\\" + tag).c_str(),
                  (strings + L"\\" + tag).c_str(), FALSE);
    }
  }
  uitest::Process Start(const std::wstring& arguments = L"") const {
    uitest::Process process;
    uitest::StartOptions options;
    options.environment = {{L"SONARIX_SIM_STATE_DIR", folder_}};
    EXPECT_EQ(0u, process.Start(Exe(), arguments, options));
    return process;
  }

 private:
  std::wstring folder_;
};

class MixerProgram : public ::testing::Test {
 protected:
  MixerProgram() : install_(scratch_.File(L"Mixer")) {}

  HWND WaitForSelectWindow(const uitest::Process& process) {
    return uitest::WaitForWindow(process, {kSelectTitle, uitest::kDialogClass}, kWaitMs);
  }
  // The program ends by itself within the wait; its full exit code.
  uint32_t ExitCodeOf(uitest::Process& process) {
    EXPECT_TRUE(process.WaitForExit(kWaitMs));
    return process.ExitCode();
  }

  uitest::ScratchFolder scratch_;
  MixerInstall install_;
};

}  // namespace

TEST_F(MixerProgram, MissingConfigurationWarnsOnceThenOffersTheMixers) {
  install_.AddDriverLibrary();
  uitest::Process mixer = install_.Start();
  EXPECT_EQ(std::wstring(kMissingConfigText), uitest::ExpectMessageBox(mixer, kAppTitle, kWaitMs));

  const HWND select = WaitForSelectWindow(mixer);
  ASSERT_NE(nullptr, select);
  EXPECT_EQ(L"Simple", uitest::ControlText(select, kSimpleButton));
  EXPECT_EQ(L"Advanced", uitest::ControlText(select, kAdvancedButton));
  EXPECT_EQ(L"Quit", uitest::ControlText(select, kQuitButton));
  EXPECT_EQ(nullptr, uitest::FindMessageBox(mixer));
  ASSERT_TRUE(uitest::PressButton(select, kQuitButton));
  EXPECT_EQ(0u, ExitCodeOf(mixer));
}

TEST_F(MixerProgram, IncompatibleConfigurationWarnsAndTheCloseBoxQuits) {
  install_.AddDriverLibrary();
  install_.WriteConfig(ConfigWith("", "0"));
  uitest::Process mixer = install_.Start();
  EXPECT_EQ(std::wstring(kIncompatibleConfigText),
            uitest::ExpectMessageBox(mixer, kAppTitle, kWaitMs));
  const HWND select = WaitForSelectWindow(mixer);
  ASSERT_NE(nullptr, select);
  ASSERT_TRUE(uitest::RequestClose(select));
  EXPECT_EQ(0u, ExitCodeOf(mixer));
}

// The advanced window does not exist yet: choosing it ends like a window that cannot be
// created. (The simple window's start is covered with the window itself.)
// The advanced window, chosen in the select window or named (in any case) by the
// configuration; closing it ends the program with 2.
TEST_F(MixerProgram, ChosenOrConfiguredAdvancedMixerOpensAndClosesWithTwo) {
  install_.AddDriverLibrary();
  install_.WriteConfig(ConfigWith(""));
  uitest::Process chosen = install_.Start();
  const HWND select = WaitForSelectWindow(chosen);
  ASSERT_NE(nullptr, select);
  ASSERT_TRUE(uitest::PressButton(select, kAdvancedButton));
  const HWND advanced = uitest::WaitForWindow(chosen, {kAppTitle, uitest::kDialogClass}, kWaitMs);
  ASSERT_NE(nullptr, advanced);
  ASSERT_TRUE(uitest::RequestClose(advanced));
  EXPECT_EQ(2u, ExitCodeOf(chosen));

  install_.WriteConfig(ConfigWith("<StartWindow>advanced</StartWindow>"));
  uitest::Process direct = install_.Start();
  const HWND configured = uitest::WaitForWindow(direct, {kAppTitle, uitest::kDialogClass}, kWaitMs);
  ASSERT_NE(nullptr, configured);
  EXPECT_TRUE(uitest::DrainMessageBoxes(direct, 100).empty());
  ASSERT_TRUE(uitest::RequestClose(configured));
  EXPECT_EQ(2u, ExitCodeOf(direct));
}

TEST_F(MixerProgram, MissingDriverLibraryIsReportedWithExitCodeTwo) {
  install_.WriteConfig(ConfigWith(""));
  uitest::Process beside = install_.Start();
  EXPECT_EQ(std::wstring(kDllMissingText), uitest::ExpectMessageBox(beside, kAppTitle, kWaitMs));
  EXPECT_EQ(2u, ExitCodeOf(beside));

  // A driver interface that nobody registered: the same text.
  install_.AddDriverLibrary();
  install_.WriteConfig(GuidConfig(kGuidA));
  uitest::Process registered = install_.Start();
  EXPECT_EQ(std::wstring(kDllMissingText),
            uitest::ExpectMessageBox(registered, kAppTitle, kWaitMs));
  EXPECT_EQ(2u, ExitCodeOf(registered));
}

TEST_F(MixerProgram, DriverLibraryThatRefusesOrLacksAnEntryIsReportedWithItsCode) {
  install_.WriteConfig(ConfigWith(""));
  install_.AddLibraryAsDriver(FAKE_REFUSING_DLL);
  uitest::Process refusing = install_.Start();
  EXPECT_EQ(std::wstring(L"The driver DLL required to access the device is not compatible with "
                         L"this application version."),
            uitest::ExpectMessageBox(refusing, kAppTitle, kWaitMs));
  EXPECT_EQ(0xEE000060u, ExitCodeOf(refusing));

  install_.AddLibraryAsDriver(FAKE_NOVERSION_DLL);
  uitest::Process lacking = install_.Start();
  EXPECT_EQ(std::wstring(L"An error has occurred. The internal error description is:\n"
                         L"\"_tWinMain: Load -> 0x0000007F\""),
            uitest::ExpectMessageBox(lacking, kAppTitle, kWaitMs));
  EXPECT_EQ(static_cast<uint32_t>(ERROR_PROC_NOT_FOUND), ExitCodeOf(lacking));
}

TEST_F(MixerProgram, TwoDriverInterfacesRunSideBySideButOneInterfaceRunsOnce) {
  MixerInstall second(scratch_.File(L"Second"));
  const ClsidRegistration a(kGuidA, BuildFile(SONARIXAPI_DLL));
  const ClsidRegistration b(kGuidB, BuildFile(SONARIXAPI_DLL));
  install_.WriteConfig(GuidConfig(kGuidA));
  second.WriteConfig(GuidConfig(kGuidB));

  uitest::Process first = install_.Start();
  uitest::Process other = second.Start();
  const HWND firstSelect = WaitForSelectWindow(first);
  const HWND otherSelect = WaitForSelectWindow(other);
  ASSERT_NE(nullptr, firstSelect);
  ASSERT_NE(nullptr, otherSelect);

  // A second start for interface A, while A shows its select window: no listener window yet,
  // so it leaves quietly.
  uitest::Process again = install_.Start();
  EXPECT_EQ(0u, ExitCodeOf(again));
  EXPECT_TRUE(first.IsRunning());
  EXPECT_TRUE(::IsWindowVisible(firstSelect));

  ASSERT_TRUE(uitest::PressButton(firstSelect, kQuitButton));
  ASSERT_TRUE(uitest::PressButton(otherSelect, kQuitButton));
  EXPECT_EQ(0u, ExitCodeOf(first));
  EXPECT_EQ(0u, ExitCodeOf(other));
}

// A stand-in for a running mixer: the instance mutex and the real listener over a window that
// records the commands it receives.
class RunningInstance : public MixerProgram {
 protected:
  void StartHost(const wchar_t* mode) {
    const std::wstring arguments = uitest::JoinArguments(
        {L"MixerApp_" + std::wstring(kGuidA), mode, scratch_.File(L"record.txt")});
    ASSERT_EQ(0u, host_.Start(BuildFile(LISTENERHOST_EXE), arguments));
    for (int i = 0; i < 200 && Record().find("ready") == std::string::npos; ++i) ::Sleep(50);
    ASSERT_NE(std::string::npos, Record().find("ready"));
    install_.WriteConfig(GuidConfig(kGuidA));
  }
  std::string Record() const {
    std::string bytes;
    uitest::ReadFileBytes(scratch_.File(L"record.txt"), bytes);
    return bytes;
  }
  static int Count(const std::string& text, const std::string& word) {
    int count = 0;
    for (size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) {
      ++count;
    }
    return count;
  }

  uitest::Process host_;
};

TEST_F(RunningInstance, SecondStartActivatesTheRunningMixerAndLeavesWithZero) {
  StartHost(L"closes");
  uitest::Process second = install_.Start();
  EXPECT_EQ(0u, ExitCodeOf(second));
  for (int i = 0; i < 40 && Record().find("activate") == std::string::npos; ++i) ::Sleep(50);
  EXPECT_EQ(1, Count(Record(), "activate"));
  EXPECT_TRUE(host_.IsRunning());
}

TEST_F(RunningInstance, ExitAllClosesTheRunningMixer) {
  StartHost(L"closes");
  const ULONGLONG started = ::GetTickCount64();
  uitest::Process exitAll = install_.Start(L"-EXITALL");
  EXPECT_EQ(0u, ExitCodeOf(exitAll));
  const ULONGLONG elapsed = ::GetTickCount64() - started;
  std::printf("exit-all with one instance: %llu ms\n", elapsed);
  EXPECT_TRUE(host_.WaitForExit(kWaitMs));
  EXPECT_EQ(2u, host_.ExitCode());
  EXPECT_EQ(1, Count(Record(), "exit"));
}

TEST_F(RunningInstance, ExitAllGivesUpOnAWindowThatStays) {
  StartHost(L"stays");
  uitest::Process exitAll = install_.Start(L"-exitall");
  EXPECT_TRUE(exitAll.WaitForExit(30000));
  EXPECT_EQ(100u, exitAll.ExitCode());
  EXPECT_EQ(21, Count(Record(), "ignored"));
  EXPECT_TRUE(host_.IsRunning());
}

TEST_F(MixerProgram, ExitAllWithNothingRunningEndsWithZeroAndOtherWordsStartNormally) {
  install_.AddDriverLibrary();
  install_.WriteConfig(ConfigWith(""));
  uitest::Process exitAll = install_.Start(L"-exitall");
  EXPECT_EQ(0u, ExitCodeOf(exitAll));
  EXPECT_EQ(nullptr, uitest::FindProgramWindow(exitAll, {}));

  uitest::Process normal = install_.Start(L"-exitall now");
  const HWND select = WaitForSelectWindow(normal);
  ASSERT_NE(nullptr, select);
  ASSERT_TRUE(uitest::PressButton(select, kQuitButton));
  EXPECT_EQ(0u, ExitCodeOf(normal));
}

// Run with a German Windows UI language (LC_ALL=de_DE under Wine).
TEST_F(MixerProgram, UnderGermanUiTheSelectWindowSpeaksGerman) {
  install_.AddDriverLibrary();
  install_.AddLanguageFiles();
  install_.WriteConfig(ConfigWith(""));
  uitest::Process mixer = install_.Start();
  const HWND select = uitest::WaitForWindow(mixer, {L"Mixer auswählen", uitest::kDialogClass},
                                            kWaitMs);
  ASSERT_NE(nullptr, select);
  EXPECT_EQ(L"Einfach", uitest::ControlText(select, kSimpleButton));
  EXPECT_EQ(L"Erweitert", uitest::ControlText(select, kAdvancedButton));
  EXPECT_EQ(L"Beenden", uitest::ControlText(select, kQuitButton));
  ASSERT_TRUE(uitest::PressButton(select, kQuitButton));
  EXPECT_EQ(0u, ExitCodeOf(mixer));
}
