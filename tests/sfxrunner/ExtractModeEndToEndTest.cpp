// Extract mode as a user meets it: the folder dialog (typed path, Extract, Esc, Cancel), runs
// without it, the progress window on and off, and the files that end up on disk.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "StubPackage.h"
#include "UiDriver.h"

namespace {

constexpr int kFolderEditId = 1046;
constexpr int kProgressBarId = 1043;
constexpr uint32_t kCancelled = 0xEE000005;

std::string ExtractDocument(const std::string& inner, const std::string& title = "Audio Tools") {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
         "<SelfExtractor FormatVersionMajor=\"2\" FormatVersionMinor=\"0\">" +
         (title.empty() ? std::string() : "<Title>" + title + "</Title>") + "<Extract>" + inner +
         "</Extract></SelfExtractor>";
}

std::string Switch(const char* name, bool on) {
  return std::string("<") + name + "><Enabled>" + (on ? "true" : "false") + "</Enabled></" +
         name + ">";
}

std::string TargetPath(const std::wstring& path) {
  std::string utf8(path.begin(), path.end());  // scratch paths are ASCII
  return "<TargetPath>" + utf8 + "</TargetPath>";
}

// The files of the test payload as the build made them, compared with what the stub wrote.
void ExpectPayloadIn(const std::wstring& folder) {
  const std::wstring source = BuildFile(PAYLOAD_SRC);
  for (const wchar_t* file : {L"readme.txt", L"drivers\\x86\\audio.sys", L"drivers\\x64\\audio.sys"}) {
    std::string expected, actual;
    ASSERT_TRUE(uitest::ReadFileBytes(source + L"\\" + file, expected)) << file;
    ASSERT_TRUE(uitest::ReadFileBytes(folder + L"\\" + file, actual)) << file;
    EXPECT_EQ(expected, actual) << file;
  }
}

class ExtractMode : public ::testing::Test {
 protected:
  std::wstring Package(const std::string& config, const wchar_t* name = L"Package.exe",
                       const char* archive = PAYLOAD_7Z) {
    return MakePackage(folder_, name, config.c_str(), BuildFile(archive));
  }

  uitest::ScratchFolder folder_;
};

}  // namespace

TEST_F(ExtractMode, FolderDialogTakesTheTypedPath) {
  const std::wstring configured = folder_.File(L"configured");
  const std::wstring typed = folder_.File(L"typed\\deeper");
  uitest::Process stub;
  ASSERT_EQ(0u, stub.Start(Package(ExtractDocument(TargetPath(configured))), L""));
  HWND dialog = uitest::WaitForWindow(stub, {L" Audio Tools", uitest::kDialogClass}, kStubTimeoutMs);
  ASSERT_NE(nullptr, dialog);
  EXPECT_EQ(configured, uitest::ControlText(dialog, kFolderEditId));
  bool labelled = false;
  for (const uitest::ControlInfo& control : uitest::ChildControls(dialog)) {
    labelled = labelled || control.text == L"Extract to:";
  }
  EXPECT_TRUE(labelled);
  ASSERT_TRUE(uitest::SetEditText(dialog, kFolderEditId, typed));
  ASSERT_TRUE(uitest::PressButton(dialog, IDOK));
  ASSERT_TRUE(stub.WaitForExit(kStubTimeoutMs));
  EXPECT_EQ(0u, stub.ExitCode());
  ExpectPayloadIn(typed);
  EXPECT_FALSE(uitest::FileExists(configured));
}

TEST_F(ExtractMode, EnterInTheFolderDialogExtracts) {
  const std::wstring target = folder_.File(L"by-enter");
  uitest::Process stub;
  ASSERT_EQ(0u, stub.Start(Package(ExtractDocument(TargetPath(target))), L""));
  // The folder dialog, not another window of the same caption: the one with the path field.
  HWND edit = nullptr;
  for (DWORD waited = 0; edit == nullptr && waited < kStubTimeoutMs; waited += 50) {
    const HWND dialog = uitest::FindProgramWindow(stub, {L" Audio Tools", uitest::kDialogClass});
    edit = dialog != nullptr ? GetDlgItem(dialog, kFolderEditId) : nullptr;
    if (edit == nullptr) Sleep(50);
  }
  ASSERT_NE(nullptr, edit);
  ASSERT_TRUE(uitest::SendKey(edit, VK_RETURN));
  ASSERT_TRUE(stub.WaitForExit(kStubTimeoutMs));
  EXPECT_EQ(0u, stub.ExitCode());
  ExpectPayloadIn(target);
}

TEST_F(ExtractMode, EscapeAndCancelEndTheRunQuietly) {
  for (const bool useEscape : {true, false}) {
    const std::wstring target = folder_.File(useEscape ? L"esc" : L"cancel");
    uitest::Process stub;
    ASSERT_EQ(0u, stub.Start(Package(ExtractDocument(TargetPath(target))), L""));
    HWND dialog =
        uitest::WaitForWindow(stub, {L" Audio Tools", uitest::kDialogClass}, kStubTimeoutMs);
    ASSERT_NE(nullptr, dialog);
    if (useEscape) {
      ASSERT_TRUE(uitest::SendKey(GetDlgItem(dialog, kFolderEditId), VK_ESCAPE));
    } else {
      ASSERT_TRUE(uitest::PressButton(dialog, IDCANCEL));
    }
    ASSERT_TRUE(stub.WaitForExit(kStubTimeoutMs));
    EXPECT_EQ(kCancelled, stub.ExitCode());
    EXPECT_TRUE(uitest::DrainMessageBoxes(stub, 200).empty());
    EXPECT_FALSE(uitest::FileExists(target));
  }
}

TEST_F(ExtractMode, WithoutDocumentTheDialogOffersTheCurrentFolder) {
  uitest::StartOptions options;
  options.workingFolder = folder_.Path();
  uitest::Process stub;
  ASSERT_EQ(0u, stub.Start(Package("", L"SonarixDrivers.exe"), L"", options));
  HWND dialog = uitest::WaitForWindow(stub, {L"SonarixDrivers Self Extractor", uitest::kDialogClass},
                                      kStubTimeoutMs);
  ASSERT_NE(nullptr, dialog);
  EXPECT_EQ(folder_.Path(), uitest::ControlText(dialog, kFolderEditId));
  ASSERT_TRUE(uitest::PressButton(dialog, IDCANCEL));
  ASSERT_TRUE(stub.WaitForExit(kStubTimeoutMs));
  EXPECT_EQ(kCancelled, stub.ExitCode());
}

TEST_F(ExtractMode, WithoutFolderDialogItExtractsToTheConfiguredFolder) {
  const std::wstring target = folder_.File(L"direct\\into\\here");
  const RunResult result = RunAnsweringBoxes(
      Package(ExtractDocument(TargetPath(target) + Switch("FolderSelectionDialog", false))));
  EXPECT_EQ(0u, result.exitCode);
  EXPECT_TRUE(result.boxes.empty());
  ExpectPayloadIn(target);
}

TEST_F(ExtractMode, ProgressWindowOffShowsNoWindowAtAll) {
  const std::wstring target = folder_.File(L"quiet");
  uitest::Process stub;
  ASSERT_EQ(0u, stub.Start(Package(ExtractDocument(TargetPath(target) +
                                                   Switch("FolderSelectionDialog", false) +
                                                   Switch("ProgressDialog", false)),
                                   L"Quiet.exe", MEDIUM_7Z),
                           L""));
  size_t windowsSeen = 0;
  while (!stub.WaitForExit(20)) windowsSeen += uitest::TopLevelWindows(stub.Id(), true).size();
  EXPECT_EQ(0u, stub.ExitCode());
  EXPECT_EQ(0u, windowsSeen);
  EXPECT_TRUE(uitest::FileExists(target + L"\\medium.bin"));
}

// A launch run keeps its visible extraction on screen for a second: time enough to try every
// way of closing the window, and to see that it stays once the stub has handled them all.
TEST_F(ExtractMode, ProgressWindowShowsTheTitleAndCannotBeClosed) {
  const std::string launch =
      "<?xml version=\"1.0\"?><SelfExtractor FormatVersionMajor=\"2\" FormatVersionMinor=\"0\">"
      "<Title>Audio Tools</Title><Launch><CommandSet><Command Id=\"setup\">"
      "<ProcessorArchitectureSet><ProcessorArchitecture>x86</ProcessorArchitecture>"
      "<ProcessorArchitecture>x64</ProcessorArchitecture></ProcessorArchitectureSet>"
      "<CreateProcess><Executable>Driver Setup\\setup.exe</Executable></CreateProcess>"
      "</Command></CommandSet></Launch></SelfExtractor>";
  uitest::StartOptions options;
  options.environment = {{L"TEMP", folder_.Path()}, {L"TMP", folder_.Path()}};
  uitest::Process stub;
  ASSERT_EQ(0u, stub.Start(MakePackage(folder_, L"Launch.exe", launch.c_str(), BuildFile(LAUNCH_7Z)),
                           L"", options));
  HWND progress =
      uitest::WaitForWindow(stub, {L" Audio Tools", uitest::kDialogClass}, kStubTimeoutMs);
  ASSERT_NE(nullptr, progress);
  HWND bar = GetDlgItem(progress, kProgressBarId);
  ASSERT_NE(nullptr, bar);
  uitest::SendKey(progress, VK_RETURN);
  uitest::SendKey(progress, VK_ESCAPE);
  PostMessageW(progress, WM_SYSCOMMAND, SC_CLOSE, 0);
  uitest::RequestClose(progress);
  // Posted after the keys to the same thread: once the bar reports it, every key was handled.
  constexpr int kMarkerRange = 4242;
  ASSERT_TRUE(PostMessageW(bar, PBM_SETRANGE32, 0, kMarkerRange));
  bool handled = false;
  for (DWORD waited = 0; !handled && waited < kStubTimeoutMs; waited += 10) {
    DWORD_PTR high = 0;
    handled = SendMessageTimeoutW(bar, PBM_GETRANGE, FALSE, 0, SMTO_ABORTIFHUNG, 1000, &high) &&
              high == kMarkerRange;
    if (!handled) Sleep(10);
  }
  ASSERT_TRUE(handled);
  EXPECT_TRUE(IsWindow(progress));
  EXPECT_TRUE(IsWindowVisible(progress));
  ASSERT_TRUE(stub.WaitForExit(kStubTimeoutMs));
  EXPECT_EQ(0u, stub.ExitCode());
}

TEST_F(ExtractMode, StubWithNothingAppendedFails) {
  const std::wstring target = folder_.File(L"nothing");
  const std::wstring package = MakePackage(
      folder_, L"Empty.exe",
      ExtractDocument(TargetPath(target) + Switch("FolderSelectionDialog", false)).c_str());
  const RunResult result = RunAnsweringBoxes(package);
  EXPECT_EQ(0xEE000001u, result.exitCode);
  ASSERT_EQ(1u, result.boxes.size());
  EXPECT_EQ(L"Failed.", result.boxes[0]);
  EXPECT_EQ(L" Audio Tools", result.caption);
}
