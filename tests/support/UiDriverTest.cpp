// The UI test driver against the box probe: programs started with their options, full exit
// codes, message boxes found, read exactly and answered, a dialog worked like a user would,
// and every wait bounded.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BoxProbeIds.h"
#include "UiDriver.h"

using uitest::Process;

namespace {

// Generous: a program's first window under Wine can take seconds on a loaded machine.
constexpr DWORD kWaitMs = 20000;
constexpr wchar_t kResultCaption[] = L"Box probe result";
constexpr wchar_t kDialogCaption[] = L"Box probe dialog";

std::wstring BoxProbePath() { return uitest::WindowsPathOf(BOXPROBE_EXE); }

veltrano::Status StartProbe(Process& process, const std::vector<std::wstring>& arguments,
                            const uitest::StartOptions& options = {}) {
  return process.Start(BoxProbePath(), uitest::JoinArguments(arguments), options);
}

// Milliseconds since `start`.
DWORD Since(DWORD start) { return GetTickCount() - start; }

// A shown probe dialog, or null.
HWND WaitForProbeDialog(const Process& process) {
  return uitest::WaitForWindow(process, {kDialogCaption, uitest::kDialogClass}, kWaitMs);
}

const uitest::ControlInfo* FindControl(const std::vector<uitest::ControlInfo>& controls, int id) {
  for (const uitest::ControlInfo& control : controls) {
    if (control.id == id) return &control;
  }
  return nullptr;
}

}  // namespace

// --- Processes

TEST(UiDriverProcess, ProgramThatEndsAtOnceGivesAllBitsOfItsExitCode) {
  Process process;
  ASSERT_EQ(0u, StartProbe(process, {L"--exit", L"0xEE000051"}));
  ASSERT_TRUE(process.WaitForExit(kWaitMs));
  EXPECT_FALSE(process.IsRunning());
  EXPECT_EQ(0xEE000051u, process.ExitCode());
}

TEST(UiDriverProcess, MissingProgramReportsItsWindowsError) {
  Process process;
  EXPECT_EQ(static_cast<veltrano::Status>(ERROR_FILE_NOT_FOUND),
            process.Start(uitest::OwnFolder() + L"no-such-program.exe", L""));
  EXPECT_FALSE(process.IsStarted());
}

TEST(UiDriverProcess, SecondStartOfTheSameObjectIsRefused) {
  Process process;
  ASSERT_EQ(0u, StartProbe(process, {L"--sleep", L"10000"}));
  EXPECT_EQ(veltrano::status::kAlreadyStarted, StartProbe(process, {}));
}

TEST(UiDriverProcess, WaitForExitGivesUpAfterItsTimeoutWhileTheProgramRuns) {
  Process process;
  ASSERT_EQ(0u, StartProbe(process, {L"--sleep", L"30000"}));
  const DWORD start = GetTickCount();
  EXPECT_FALSE(process.WaitForExit(300));
  EXPECT_GE(Since(start), 290u);
  EXPECT_LT(Since(start), 5000u);
  EXPECT_TRUE(process.IsRunning());
  EXPECT_EQ(static_cast<uint32_t>(STILL_ACTIVE), process.ExitCode());
}

TEST(UiDriverProcess, TerminateEndsTheProgramWithTheGivenCode) {
  Process process;
  ASSERT_EQ(0u, StartProbe(process, {L"--sleep", L"30000"}));
  process.Terminate(0xEE000077u);
  EXPECT_FALSE(process.IsRunning());
  EXPECT_EQ(0xEE000077u, process.ExitCode());
}

TEST(UiDriverProcess, DestroyingTheOwnerEndsARunningProgram) {
  uitest::UniqueHandle watcher;
  {
    Process process;
    ASSERT_EQ(0u, StartProbe(process, {L"--box", L"Left open", L"Nobody answers this."}));
    ASSERT_NE(nullptr,
              uitest::WaitForWindow(process, {L"Left open", uitest::kDialogClass}, kWaitMs));
    watcher.Reset(
        OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process.Id()));
    ASSERT_TRUE(watcher.IsValid());
  }
  EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(watcher.Get(), 0));
  DWORD code = 0;
  GetExitCodeProcess(watcher.Get(), &code);
  EXPECT_EQ(uitest::kTerminatedExitCode, code);
}

TEST(UiDriverProcess, EnvironmentVariablesAndWorkingFolderReachTheProgram) {
  uitest::ScratchFolder folder;
  uitest::StartOptions options;
  options.workingFolder = folder.Path();
  options.environment = {{L"VT_PROBE_VALUE", L"set by the test \u00e9"}, {L"PATH", L"C:\\only"}};
  Process process;
  ASSERT_EQ(0u, StartProbe(process,
                           {L"--box-env", L"value", L"VT_PROBE_VALUE", L"--box-env", L"path",
                            L"Path", L"--box-cwd", L"folder"},
                           options));
  EXPECT_EQ(L"set by the test \u00e9", uitest::ExpectMessageBox(process, L"value", kWaitMs));
  // Names compare without regard to case, as Windows does: PATH replaced Path.
  EXPECT_EQ(L"C:\\only", uitest::ExpectMessageBox(process, L"path", kWaitMs));
  EXPECT_EQ(folder.Path(), uitest::ExpectMessageBox(process, L"folder", kWaitMs));
  EXPECT_TRUE(process.WaitForExit(kWaitMs));
}

TEST(UiDriverProcess, StandardOutputAndErrorGoToTheNamedFiles) {
  uitest::ScratchFolder folder;
  uitest::StartOptions options;
  options.standardOutputFile = folder.File(L"out.txt");
  options.standardErrorFile = folder.File(L"err.txt");
  Process process;
  ASSERT_EQ(0u, process.Start(L"C:\\windows\\system32\\cmd.exe",
                              L"/c echo to-output& echo to-error 1>&2", options));
  ASSERT_TRUE(process.WaitForExit(kWaitMs));
  std::string output;
  std::string error;
  ASSERT_TRUE(uitest::ReadFileBytes(options.standardOutputFile, output));
  ASSERT_TRUE(uitest::ReadFileBytes(options.standardErrorFile, error));
  EXPECT_EQ("to-output\r\n", output);
  EXPECT_EQ("to-error \r\n", error);
}

TEST(UiDriverProcess, QuotedArgumentsArriveUnchanged) {
  const std::wstring text = L"He said \"hi\" at C:\\a b\\ and \\\\server\\ \\\"end\\";
  Process process;
  ASSERT_EQ(0u, StartProbe(process, {L"--box", L"quoted caption", text, L"--box", L"empty", L""}));
  EXPECT_EQ(text, uitest::ExpectMessageBox(process, L"quoted caption", kWaitMs));
  EXPECT_EQ(L"", uitest::ExpectMessageBox(process, L"empty", kWaitMs));
}

// --- Message boxes

TEST(UiDriverMessageBox, BoxIsFoundByCaptionAndClassAndItsTextReadExactly) {
  Process process;
  ASSERT_EQ(0u, StartProbe(process, {L"--box", L"Probe caption", L"Line one\nLine two", L"--exit",
                                     L"0xEE000051"}));
  HWND box = uitest::WaitForWindow(process, {L"Probe caption", uitest::kDialogClass}, kWaitMs);
  ASSERT_NE(nullptr, box);
  EXPECT_TRUE(uitest::IsMessageBox(box));
  EXPECT_EQ(L"Probe caption", uitest::WindowText(box));
  EXPECT_EQ(L"Line one\nLine two", uitest::ControlText(box, uitest::kMessageBoxTextId));
  EXPECT_TRUE(uitest::PressButton(box, IDOK));
  EXPECT_TRUE(uitest::WaitForWindowGone(box, kWaitMs));
  ASSERT_TRUE(process.WaitForExit(kWaitMs));
  EXPECT_EQ(0xEE000051u, process.ExitCode());
}

TEST(UiDriverMessageBox, BoxControlsAreListedWithTextAndState) {
  Process process;
  ASSERT_EQ(0u, StartProbe(process, {L"--box", L"Listed", L"Listed text"}));
  HWND box = uitest::WaitForWindow(process, {L"Listed", uitest::kDialogClass}, kWaitMs);
  ASSERT_NE(nullptr, box);
  const std::vector<uitest::ControlInfo> controls = uitest::ChildControls(box);
  const uitest::ControlInfo* text = FindControl(controls, uitest::kMessageBoxTextId);
  ASSERT_NE(nullptr, text);
  EXPECT_EQ(L"Listed text", text->text);
  const uitest::ControlInfo* ok = FindControl(controls, IDOK);
  ASSERT_NE(nullptr, ok);
  EXPECT_EQ(L"Button", ok->className);
  EXPECT_EQ(L"OK", ok->text);
  EXPECT_TRUE(ok->visible);
  EXPECT_TRUE(ok->enabled);
  EXPECT_EQ(std::vector<std::wstring>{L"Listed text"}, uitest::DrainMessageBoxes(process));
}

TEST(UiDriverMessageBox, ExpectMessageBoxReturnsEachTextInTurnAndAnswersIt) {
  Process process;
  ASSERT_EQ(0u, StartProbe(process, {L"--box", L"First", L"first text", L"--box", L"Second",
                                     L"second text", L"--exit", L"0x80070005"}));
  EXPECT_EQ(L"first text", uitest::ExpectMessageBox(process, L"First", kWaitMs));
  EXPECT_EQ(L"second text", uitest::ExpectMessageBox(process, L"Second", kWaitMs));
  ASSERT_TRUE(process.WaitForExit(kWaitMs));
  EXPECT_EQ(0x80070005u, process.ExitCode());
}

TEST(UiDriverMessageBox, BoxWithAnotherCaptionIsNeitherReturnedNorAnswered) {
  Process process;
  ASSERT_EQ(0u, StartProbe(process, {L"--box", L"Other", L"other text"}));
  ASSERT_NE(nullptr, uitest::WaitForWindow(process, {L"Other", uitest::kDialogClass}, kWaitMs));
  const DWORD start = GetTickCount();
  EXPECT_EQ(std::nullopt, uitest::ExpectMessageBox(process, L"Wanted", 500));
  EXPECT_GE(Since(start), 490u);
  EXPECT_NE(nullptr, uitest::FindMessageBox(process));
  EXPECT_EQ(std::vector<std::wstring>{L"other text"}, uitest::DrainMessageBoxes(process));
}

TEST(UiDriverMessageBox, DrainAnswersEveryRemainingBoxInOrder) {
  Process process;
  ASSERT_EQ(0u, StartProbe(process, {L"--box", L"A", L"one", L"--box", L"B", L"two", L"--box", L"C",
                                     L"three", L"--exit", L"5"}));
  const std::vector<std::wstring> expected{L"one", L"two", L"three"};
  EXPECT_EQ(expected, uitest::DrainMessageBoxes(process, 5000));
  ASSERT_TRUE(process.WaitForExit(kWaitMs));
  EXPECT_EQ(5u, process.ExitCode());
}

TEST(UiDriverMessageBox, NoBoxFromAProgramThatHasEnded) {
  Process process;
  ASSERT_EQ(0u, StartProbe(process, {L"--exit", L"0"}));
  ASSERT_TRUE(process.WaitForExit(kWaitMs));
  const DWORD start = GetTickCount();
  EXPECT_EQ(std::nullopt, uitest::ExpectMessageBox(process, L"Anything", kWaitMs));
  EXPECT_TRUE(uitest::DrainMessageBoxes(process).empty());
  EXPECT_LT(Since(start), 2000u);
}

// --- Finding windows

TEST(UiDriverWindows, WaitForWindowGivesUpAfterItsTimeout) {
  Process process;
  ASSERT_EQ(0u, StartProbe(process, {L"--sleep", L"30000"}));
  const DWORD start = GetTickCount();
  EXPECT_EQ(nullptr, uitest::WaitForWindow(process, {L"Never shown", L""}, 400));
  EXPECT_GE(Since(start), 390u);
  EXPECT_LT(Since(start), 5000u);
}

TEST(UiDriverWindows, WaitForWindowStopsWhenTheProgramEnds) {
  Process process;
  ASSERT_EQ(0u, StartProbe(process, {L"--sleep", L"300", L"--exit", L"9"}));
  const DWORD start = GetTickCount();
  EXPECT_EQ(nullptr, uitest::WaitForWindow(process, {L"Never shown", L""}, 60000));
  EXPECT_LT(Since(start), kWaitMs);
  EXPECT_EQ(9u, process.ExitCode());
}

TEST(UiDriverWindows, TopLevelWindowsListsOnlyTheProgramsOwn) {
  Process first;
  Process second;
  ASSERT_EQ(0u, StartProbe(first, {L"--box", L"Of first", L"1"}));
  ASSERT_EQ(0u, StartProbe(second, {L"--box", L"Of second", L"2"}));
  ASSERT_NE(nullptr, uitest::WaitForWindow(first, {L"Of first", L""}, kWaitMs));
  ASSERT_NE(nullptr, uitest::WaitForWindow(second, {L"Of second", L""}, kWaitMs));
  std::vector<std::wstring> captions;
  for (HWND window : uitest::TopLevelWindows(first.Id())) {
    captions.push_back(uitest::WindowText(window));
  }
  EXPECT_EQ(std::vector<std::wstring>{L"Of first"}, captions);
  EXPECT_EQ(nullptr, uitest::FindProgramWindow(first, {L"Of second", L""}));
}

// --- Working a dialog

TEST(UiDriverDialog, ControlsAreListedWithClassTextAndState) {
  Process process;
  ASSERT_EQ(0u, StartProbe(process, {L"--dialog"}));
  HWND dialog = WaitForProbeDialog(process);
  ASSERT_NE(nullptr, dialog);
  const std::vector<uitest::ControlInfo> controls = uitest::ChildControls(dialog);
  const uitest::ControlInfo* edit = FindControl(controls, IDC_BOXPROBE_EDIT);
  const uitest::ControlInfo* disabled = FindControl(controls, IDC_BOXPROBE_DISABLED);
  const uitest::ControlInfo* hidden = FindControl(controls, IDC_BOXPROBE_HIDDEN);
  ASSERT_TRUE(edit != nullptr && disabled != nullptr && hidden != nullptr);
  EXPECT_EQ(L"Edit", edit->className);
  EXPECT_TRUE(edit->visible && edit->enabled);
  EXPECT_EQ(L"Disabled", disabled->text);
  EXPECT_TRUE(disabled->visible);
  EXPECT_FALSE(disabled->enabled);
  EXPECT_EQ(L"Hidden", hidden->text);
  EXPECT_FALSE(hidden->visible);
}

TEST(UiDriverDialog, TypedTextAndOkReachTheProgram) {
  Process process;
  ASSERT_EQ(0u, StartProbe(process, {L"--dialog"}));
  HWND dialog = WaitForProbeDialog(process);
  ASSERT_NE(nullptr, dialog);
  ASSERT_TRUE(uitest::SetEditText(dialog, IDC_BOXPROBE_EDIT, L"typed \u00fc text"));
  EXPECT_EQ(L"typed \u00fc text", uitest::ControlText(dialog, IDC_BOXPROBE_EDIT));
  EXPECT_TRUE(uitest::PressButton(dialog, IDOK));
  EXPECT_EQ(L"OK: typed \u00fc text", uitest::ExpectMessageBox(process, kResultCaption, kWaitMs));
}

TEST(UiDriverDialog, ReturnKeyPressesTheDefaultButton) {
  Process process;
  ASSERT_EQ(0u, StartProbe(process, {L"--dialog"}));
  HWND dialog = WaitForProbeDialog(process);
  ASSERT_NE(nullptr, dialog);
  ASSERT_TRUE(uitest::SetEditText(dialog, IDC_BOXPROBE_EDIT, L"by return"));
  EXPECT_TRUE(uitest::SendKey(dialog, VK_RETURN));
  EXPECT_EQ(L"OK: by return", uitest::ExpectMessageBox(process, kResultCaption, kWaitMs));
}

TEST(UiDriverDialog, EscapeKeyCancelsTheDialog) {
  Process process;
  ASSERT_EQ(0u, StartProbe(process, {L"--dialog"}));
  HWND dialog = WaitForProbeDialog(process);
  ASSERT_NE(nullptr, dialog);
  ASSERT_TRUE(uitest::SetEditText(dialog, IDC_BOXPROBE_EDIT, L"by escape"));
  EXPECT_TRUE(uitest::SendKey(dialog, VK_ESCAPE));
  EXPECT_EQ(L"Cancel: by escape", uitest::ExpectMessageBox(process, kResultCaption, kWaitMs));
}

TEST(UiDriverDialog, RequestCloseCancelsTheDialogAndTheWindowGoes) {
  Process process;
  ASSERT_EQ(0u, StartProbe(process, {L"--dialog"}));
  HWND dialog = WaitForProbeDialog(process);
  ASSERT_NE(nullptr, dialog);
  EXPECT_TRUE(uitest::RequestClose(dialog));
  EXPECT_TRUE(uitest::WaitForWindowGone(dialog, kWaitMs));
  EXPECT_EQ(L"Cancel: ", uitest::ExpectMessageBox(process, kResultCaption, kWaitMs));
}

TEST(UiDriverDialog, DisabledOrMissingButtonCannotBePressed) {
  Process process;
  ASSERT_EQ(0u, StartProbe(process, {L"--dialog"}));
  HWND dialog = WaitForProbeDialog(process);
  ASSERT_NE(nullptr, dialog);
  EXPECT_FALSE(uitest::PressButton(dialog, IDC_BOXPROBE_DISABLED));
  EXPECT_FALSE(uitest::PressButton(dialog, 4242));
  // The dialog is still there to be answered.
  EXPECT_TRUE(uitest::PressButton(dialog, IDCANCEL));
  EXPECT_EQ(L"Cancel: ", uitest::ExpectMessageBox(process, kResultCaption, kWaitMs));
}
