// Launch mode as a user meets it: a new folder in the temporary folder, the setup program
// started there with its arguments, its exit code passed on, the folder removed afterwards;
// the gui option and the pass-through text on the stub's command line.
#include <gtest/gtest.h>

#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "LaunchFixtures.h"
#include "StubPackage.h"
#include "UiDriver.h"
#include "VTStringConv.h"

namespace {

constexpr int kLanguageComboId = 1041;

std::string LaunchDocument(const std::string& method, const std::string& executable,
                           const std::string& arguments, const std::string& tags = "en",
                           const std::string& extra = "") {
  std::string tagSet;
  if (!tags.empty()) {
    tagSet = "<LanguageTagSet>";
    size_t start = 0;
    while (true) {
      const size_t comma = tags.find(',', start);
      tagSet += "<LanguageTag>" + tags.substr(start, comma - start) + "</LanguageTag>";
      if (comma == std::string::npos) break;
      start = comma + 1;
    }
    tagSet += "</LanguageTagSet>";
  }
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
         "<SelfExtractor FormatVersionMajor=\"2\" FormatVersionMinor=\"0\"><Title>Driver Setup"
         "</Title><Launch>" + extra + "<CommandSet><Command Id=\"main\"><ProcessorArchitectureSet>"
         "<ProcessorArchitecture>x86</ProcessorArchitecture><ProcessorArchitecture>x64"
         "</ProcessorArchitecture></ProcessorArchitectureSet>" + tagSet + "<" + method +
         "><Executable>" + executable + "</Executable><Arguments><![CDATA[" + arguments +
         "]]></Arguments></" + method + "></Command></CommandSet></Launch></SelfExtractor>";
}

const char kSetup[] = "Driver Setup\\setup.exe";

using Record = std::multimap<std::string, std::string>;

Record ReadRecord(const std::wstring& path) {
  Record record;
  std::string bytes;
  if (!uitest::ReadFileBytes(path, bytes)) return record;
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find('\n', start);
    if (end == std::string::npos) end = bytes.size();
    std::string line = bytes.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const size_t equals = line.find('=');
    if (equals != std::string::npos) record.emplace(line.substr(0, equals), line.substr(equals + 1));
    start = end + 1;
  }
  return record;
}

std::string Field(const Record& record, const char* key) {
  const auto it = record.find(key);
  return it == record.end() ? std::string() : it->second;
}

class LaunchMode : public ::testing::Test {
 protected:
  LaunchMode() : temp_(folder_.File(L"temp")) {
    CreateDirectoryW(temp_.c_str(), nullptr);
    options_.environment = {{L"TEMP", temp_}, {L"TMP", temp_},
                            {L"VT_RECORD_FILE", folder_.File(L"record.txt")}};
  }
  std::wstring Package(const std::string& config) {
    return MakePackage(folder_, L"DriverPackage.exe", config.c_str(), BuildFile(LAUNCH_7Z));
  }
  void SetVariable(const wchar_t* name, const std::wstring& value) {
    options_.environment.push_back({name, value});
  }
  Record LaunchRecord() const { return ReadRecord(folder_.File(L"record.txt")); }
  std::vector<std::wstring> TempEntries() const { return uitest::ListFolder(temp_); }

  uitest::ScratchFolder folder_;
  std::wstring temp_;
  uitest::StartOptions options_;
};

}  // namespace

TEST_F(LaunchMode, WaitedForProgramsExitCodeIsPassedOnAndTheFolderGoes) {
  SetVariable(L"VT_EXIT_CODE", L"3");
  const RunResult result =
      RunAnsweringBoxes(Package(LaunchDocument("CreateProcess", kSetup, "/quiet")), L"", options_);
  EXPECT_EQ(3u, result.exitCode);
  EXPECT_TRUE(result.boxes.empty());
  const Record record = LaunchRecord();
  const std::wstring folder = veltrano::Utf8ToWide(Field(record, "CurrentFolder").c_str());
  // The program ran in a new {GUID} folder of the temporary folder, which is gone now.
  ASSERT_EQ(temp_.size() + 1 + 38, folder.size()) << Field(record, "CurrentFolder");
  EXPECT_EQ(0u, folder.rfind(temp_ + L"\\{", 0));
  EXPECT_EQ("1", Field(record, "ArgumentCount"));
  EXPECT_EQ("/quiet", Field(record, "Argument"));
  EXPECT_TRUE(TempEntries().empty());
}

TEST_F(LaunchMode, ExitCodeZeroIsSuccess) {
  const RunResult result =
      RunAnsweringBoxes(Package(LaunchDocument("CreateProcess", kSetup, "")), L"", options_);
  EXPECT_EQ(0u, result.exitCode);
  EXPECT_TRUE(result.boxes.empty());
  EXPECT_EQ("0", Field(LaunchRecord(), "ArgumentCount"));
  EXPECT_TRUE(TempEntries().empty());
}

TEST_F(LaunchMode, PassThroughTextFollowsTheConfiguredArguments) {
  const RunResult result = RunAnsweringBoxes(
      Package(LaunchDocument("CreateProcess", kSetup, "/a")), L"--gui off passthrough  /b \"c d\" ",
      options_);
  EXPECT_EQ(0u, result.exitCode);
  const Record record = LaunchRecord();
  EXPECT_NE(std::string::npos, Field(record, "CommandLine").find("setup.exe\" /a /b \"c d\""))
      << Field(record, "CommandLine");
  EXPECT_EQ("3", Field(record, "ArgumentCount"));
}

TEST_F(LaunchMode, MissingProgramFailsAndKeepsTheFolder) {
  const RunResult result = RunAnsweringBoxes(
      Package(LaunchDocument("ShellExecute", "Driver Setup\\missing.exe", "")), L"", options_);
  EXPECT_EQ(2u, result.exitCode);
  ASSERT_EQ(1u, result.boxes.size());
  EXPECT_EQ(L"Failed.", result.boxes[0]);
  EXPECT_EQ(L" Driver Setup", result.caption);
  const std::vector<std::wstring> left = TempEntries();
  ASSERT_EQ(1u, left.size());
  EXPECT_TRUE(uitest::FileExists(temp_ + L"\\" + left[0] + L"\\readme.txt"));
}

TEST_F(LaunchMode, ShellExecuteIsNotWaitedForAndLeavesTheFolder) {
  constexpr DWORD kProgramRunsMs = 60000;
  SetVariable(L"VT_SLEEP_MS", std::to_wstring(kProgramRunsMs));
  const DWORD start = GetTickCount();
  const RunResult result =
      RunAnsweringBoxes(Package(LaunchDocument("ShellExecute", kSetup, "x")), L"", options_);
  const DWORD elapsed = GetTickCount() - start;
  EXPECT_EQ(0u, result.exitCode);
  EXPECT_TRUE(result.boxes.empty());
  EXPECT_EQ(1u, TempEntries().size());
  EXPECT_LT(elapsed, kProgramRunsMs / 2);
  // The program writes its record first, then sleeps: it still runs after the stub has ended.
  launchtest::Record record;
  ASSERT_TRUE(launchtest::WaitForRecord(folder_.File(L"record.txt"), kStubTimeoutMs, record));
  EXPECT_FALSE(launchtest::WaitForProcessEnd(record.processId, 0));
  EXPECT_EQ(std::vector<std::wstring>{L"x"}, record.arguments);
  EXPECT_TRUE(launchtest::EndProcess(record.processId));
}

// A 32-bit program names the system folder and finds what a 32-bit program finds there (on
// 64-bit Windows the redirected folder): the launch runs with the file-system view of any
// program, not with the one of the stub's file work.
TEST_F(LaunchMode, CommandNamingTheSystemFolderFindsItsProgramThere) {
  wchar_t system[MAX_PATH] = {};
  ASSERT_NE(0u, GetSystemDirectoryW(system, MAX_PATH));  // the redirected view, as for x.exe
  const std::wstring name = L"vt-launch-" + std::to_wstring(GetCurrentProcessId()) + L".exe";
  const std::wstring placed = std::wstring(system) + L"\\" + name;
  ASSERT_TRUE(launchtest::PlaceRecorder(placed));
  SetVariable(L"VT_EXIT_CODE", L"3");
  wchar_t windows[MAX_PATH] = {};
  GetWindowsDirectoryW(windows, MAX_PATH);
  const std::string command =
      veltrano::WideToUtf8((std::wstring(windows) + L"\\System32\\" + name).c_str());
  const RunResult result = RunAnsweringBoxes(
      Package(LaunchDocument("CreateProcess", command, "")), L"--gui off", options_);
  DeleteFileW(placed.c_str());
  EXPECT_EQ(3u, result.exitCode);
  EXPECT_TRUE(result.boxes.empty());
  EXPECT_TRUE(TempEntries().empty());
}

TEST_F(LaunchMode, GuiOffShowsNoWindowButErrorsStillShowTheirBox) {
  uitest::Process stub;
  ASSERT_EQ(0u, stub.Start(Package(LaunchDocument("CreateProcess", kSetup, "")), L"--gui off",
                           options_));
  size_t windowsSeen = 0;
  while (!stub.WaitForExit(20)) windowsSeen += uitest::TopLevelWindows(stub.Id(), true).size();
  EXPECT_EQ(0u, stub.ExitCode());
  EXPECT_EQ(0u, windowsSeen);

  const RunResult failing = RunAnsweringBoxes(
      MakePackage(folder_, L"Broken.exe",
                  LaunchDocument("CreateProcess", "Driver Setup\\missing.exe", "").c_str(),
                  BuildFile(LAUNCH_7Z)),
      L"--gui off", options_);
  EXPECT_EQ(2u, failing.exitCode);
  ASSERT_EQ(1u, failing.boxes.size());
  EXPECT_EQ(L"Failed.", failing.boxes[0]);
}

TEST_F(LaunchMode, ProgressWindowStaysUpForASecondThenHidesWhileTheProgramRuns) {
  SetVariable(L"VT_SLEEP_MS", L"1500");
  uitest::Process stub;
  ASSERT_EQ(0u, stub.Start(Package(LaunchDocument("CreateProcess", kSetup, "")), L"", options_));
  HWND progress = uitest::WaitForWindow(stub, {L" Driver Setup", uitest::kDialogClass}, kStubTimeoutMs);
  ASSERT_NE(nullptr, progress);
  const DWORD shown = GetTickCount();
  ASSERT_TRUE(uitest::WaitForWindowGone(progress, kStubTimeoutMs));  // hidden for the launch
  const DWORD visibleMs = GetTickCount() - shown;
  EXPECT_GE(visibleMs, 900u);
  ASSERT_TRUE(stub.WaitForExit(kStubTimeoutMs));
  EXPECT_EQ(0u, stub.ExitCode());
}

TEST_F(LaunchMode, BadGuiValueIsAnInvalidCommandLine) {
  const RunResult result = RunAnsweringBoxes(
      Package(LaunchDocument("CreateProcess", kSetup, "")), L"--gui silent", options_);
  EXPECT_EQ(0xEE002003u, result.exitCode);
  ASSERT_EQ(1u, result.boxes.size());
  EXPECT_EQ(L"The command line arguments are invalid.", result.boxes[0]);
  EXPECT_EQ(L" Self Extractor", result.caption);
  EXPECT_TRUE(TempEntries().empty());
}

TEST_F(LaunchMode, GuiOnShowsTheLanguageDialogAlthoughTheDocumentDisablesIt) {
  const std::string config = LaunchDocument(
      "CreateProcess", kSetup, "", "en,de",
      "<LanguageSelectionDialog><Enabled>false</Enabled></LanguageSelectionDialog>");
  // Two commands would be needed for two languages of one command set; one command carrying
  // both tags keeps the document small and the choice real.
  uitest::Process stub;
  ASSERT_EQ(0u, stub.Start(Package(config), L"--gui on", options_));
  HWND dialog = uitest::WaitForWindow(stub, {L" Driver Setup", uitest::kDialogClass}, kStubTimeoutMs);
  ASSERT_NE(nullptr, dialog);
  ASSERT_NE(nullptr, GetDlgItem(dialog, kLanguageComboId));
  EXPECT_EQ(2, static_cast<int>(SendMessageW(GetDlgItem(dialog, kLanguageComboId), CB_GETCOUNT, 0, 0)));
  ASSERT_TRUE(uitest::PressButton(dialog, IDOK));
  ASSERT_TRUE(stub.WaitForExit(kStubTimeoutMs));
  EXPECT_EQ(0u, stub.ExitCode());
}

TEST_F(LaunchMode, CleanUpWhileAChildHoldsAFileKeepsTheProgramsExitCode) {
  SetVariable(L"VT_EXIT_CODE", L"5");
  SetVariable(L"VT_HOLD_FILE_MS", L"800");
  SetVariable(L"VT_HOLD_FILE_SHARE_DELETE", L"1");
  const RunResult result =
      RunAnsweringBoxes(Package(LaunchDocument("CreateProcess", kSetup, "")), L"", options_);
  EXPECT_EQ(5u, result.exitCode);
  EXPECT_TRUE(result.boxes.empty());
}
