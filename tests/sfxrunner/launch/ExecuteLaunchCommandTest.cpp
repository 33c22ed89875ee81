// The launch task over a real program: argrecorder.exe placed in an extraction folder records
// how it was started and ends with the exit code it is told.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <string>
#include <vector>

#include "ArgRecorder.h"
#include "ExecuteLaunchCommand.h"
#include "LaunchFixtures.h"
#include "UiFiles.h"

namespace status = veltrano::status;
using launchtest::PlaceRecorder;
using launchtest::Record;
using launchtest::SamePath;
using launchtest::ScopedCurrentFolder;
using launchtest::ScopedVariable;

namespace {

constexpr uint32_t kStaleExitValue = 0xDEADBEEF;
constexpr DWORD kRecordTimeoutMs = 20000;
constexpr const wchar_t* kWordVariable = L"VT_LAUNCH_TEST_WORD";
constexpr const wchar_t* kFolderVariable = L"VT_LAUNCH_TEST_FOLDER";

class ExecuteLaunchCommandTask : public ::testing::Test {
 protected:
  void SetUp() override { task_.SetTargetFolder(extracted_.Path()); }

  std::wstring Extracted(const std::wstring& relative) const { return extracted_.File(relative); }
  std::wstring RecordFile() const { return records_.File(L"record.txt"); }

  // Starts the task with the CreateProcess method and reads what the program recorded.
  Status RunWaited(Record& record) {
    task_.useCreateProcess = true;
    exitValue_ = kStaleExitValue;
    const Status result = task_.Run(&exitValue_);
    if (result == status::kOk) {
      EXPECT_TRUE(launchtest::ReadRecord(RecordFile(), record));
    }
    return result;
  }

  // Starts the task with the ShellExecute method and waits for the program's record; the
  // program is waited for to its end so that the folders can go.
  Status RunShell(Record& record) {
    task_.useCreateProcess = false;
    exitValue_ = kStaleExitValue;
    const Status result = task_.Run(&exitValue_);
    if (result == status::kOk) {
      EXPECT_TRUE(launchtest::WaitForRecord(RecordFile(), kRecordTimeoutMs, record));
      EXPECT_TRUE(launchtest::WaitForProcessEnd(record.processId, kRecordTimeoutMs));
    }
    return result;
  }

  uitest::ScratchFolder extracted_;
  uitest::ScratchFolder records_;
  ScopedVariable recordFile_{argrecorder::kRecordFileVariable, RecordFile()};
  ScopedVariable exitCode_{argrecorder::kExitCodeVariable, L""};
  ScopedVariable sleep_{argrecorder::kSleepMsVariable, L""};
  ScopedVariable hold_{argrecorder::kHoldFileMsVariable, L""};
  ExecuteLaunchCommand task_;
  uint32_t exitValue_ = kStaleExitValue;
};

}  // namespace

TEST(ExecuteLaunchCommand, IsTheLaunchTaskWithItsText) {
  const ExecuteLaunchCommand task;
  EXPECT_EQ(L"Executing application. Please wait...", task.description);
  EXPECT_FALSE(task.useCreateProcess);
  EXPECT_TRUE(task.executable.empty());
  EXPECT_TRUE(task.arguments.empty());
}

// ---- CreateProcess: started, waited for, exit code kept ----

TEST_F(ExecuteLaunchCommandTask, ExitCodeOfTheProgramBecomesTheExitValue) {
  ASSERT_TRUE(PlaceRecorder(Extracted(L"setup.exe")));
  const ScopedVariable exitCode(argrecorder::kExitCodeVariable, L"3");
  task_.executable = Extracted(L"setup.exe");
  Record record;
  EXPECT_EQ(status::kOk, RunWaited(record));
  EXPECT_EQ(3u, exitValue_);
}

TEST_F(ExecuteLaunchCommandTask, ExitCodeZeroLeavesTheExitValueZero) {
  ASSERT_TRUE(PlaceRecorder(Extracted(L"setup.exe")));
  task_.executable = Extracted(L"setup.exe");
  Record record;
  EXPECT_EQ(status::kOk, RunWaited(record));
  EXPECT_EQ(0u, exitValue_);
}

TEST_F(ExecuteLaunchCommandTask, ThirtyTwoBitExitCodeIsPassedWhole) {
  ASSERT_TRUE(PlaceRecorder(Extracted(L"setup.exe")));
  const ScopedVariable exitCode(argrecorder::kExitCodeVariable, L"0xEE001234");
  task_.executable = Extracted(L"setup.exe");
  Record record;
  EXPECT_EQ(status::kOk, RunWaited(record));
  EXPECT_EQ(0xEE001234u, exitValue_);
}

TEST_F(ExecuteLaunchCommandTask, ExitCodeThatLooksLikeStillActiveIsKeptAsTheProgramsCode) {
  ASSERT_TRUE(PlaceRecorder(Extracted(L"setup.exe")));
  const ScopedVariable exitCode(argrecorder::kExitCodeVariable, L"259");
  task_.executable = Extracted(L"setup.exe");
  Record record;
  EXPECT_EQ(status::kOk, RunWaited(record));
  EXPECT_EQ(259u, exitValue_);
}

TEST_F(ExecuteLaunchCommandTask, ProgramIsWaitedForUntilItEnds) {
  ASSERT_TRUE(PlaceRecorder(Extracted(L"setup.exe")));
  const ScopedVariable sleep(argrecorder::kSleepMsVariable, L"500");
  const ScopedVariable exitCode(argrecorder::kExitCodeVariable, L"7");
  task_.executable = Extracted(L"setup.exe");
  const auto started = std::chrono::steady_clock::now();
  Record record;
  EXPECT_EQ(status::kOk, RunWaited(record));
  const auto elapsed = std::chrono::steady_clock::now() - started;
  EXPECT_GE(elapsed, std::chrono::milliseconds(450));
  EXPECT_EQ(7u, exitValue_);
  EXPECT_TRUE(launchtest::WaitForProcessEnd(record.processId, 0));
}

TEST_F(ExecuteLaunchCommandTask, ExitValuePointerMayBeMissing) {
  ASSERT_TRUE(PlaceRecorder(Extracted(L"setup.exe")));
  const ScopedVariable exitCode(argrecorder::kExitCodeVariable, L"5");
  task_.executable = Extracted(L"setup.exe");
  task_.useCreateProcess = true;
  EXPECT_EQ(status::kOk, task_.Run(nullptr));
}

TEST_F(ExecuteLaunchCommandTask, ProgramPathWithBlanksIsStartedAsOneProgram) {
  const std::wstring program = Extracted(L"My Setup\\setup tool.exe");
  ASSERT_TRUE(PlaceRecorder(program));
  // What an unquoted path would start instead: "...\My" with "Setup\setup tool.exe" as text.
  ASSERT_TRUE(PlaceRecorder(Extracted(L"My.exe")));
  task_.executable = program;
  task_.arguments = L"/quiet";
  Record record;
  EXPECT_EQ(status::kOk, RunWaited(record));
  EXPECT_TRUE(SamePath(program, record.program)) << record.program;
  EXPECT_EQ(std::vector<std::wstring>{L"/quiet"}, record.arguments);
}

TEST_F(ExecuteLaunchCommandTask, CommandLineIsTheQuotedProgramABlankAndTheArguments) {
  ASSERT_TRUE(PlaceRecorder(Extracted(L"setup.exe")));
  task_.executable = Extracted(L"setup.exe");
  task_.arguments = L"-s \"two words\" --flag=x \"\" last\\";
  Record record;
  EXPECT_EQ(status::kOk, RunWaited(record));
  EXPECT_EQ(L"\"" + Extracted(L"setup.exe") + L"\" " + task_.arguments, record.commandLine);
  const std::vector<std::wstring> expected = {L"-s", L"two words", L"--flag=x", L"", L"last\\"};
  EXPECT_EQ(expected, record.arguments);
}

TEST_F(ExecuteLaunchCommandTask, EmptyArgumentsAddNothingAfterTheProgram) {
  ASSERT_TRUE(PlaceRecorder(Extracted(L"setup.exe")));
  task_.executable = Extracted(L"setup.exe");
  Record record;
  EXPECT_EQ(status::kOk, RunWaited(record));
  EXPECT_EQ(L"\"" + Extracted(L"setup.exe") + L"\"", record.commandLine);
  EXPECT_TRUE(record.arguments.empty());
}

TEST_F(ExecuteLaunchCommandTask, PassThroughTextAfterALeadingBlankReachesTheProgram) {
  ASSERT_TRUE(PlaceRecorder(Extracted(L"setup.exe")));
  task_.executable = Extracted(L"setup.exe");
  task_.arguments = L" /S /D=C:\\Target";  // no configured arguments, then the pass-through text
  Record record;
  EXPECT_EQ(status::kOk, RunWaited(record));
  EXPECT_EQ(L"\"" + Extracted(L"setup.exe") + L"\"  /S /D=C:\\Target", record.commandLine);
  EXPECT_EQ((std::vector<std::wstring>{L"/S", L"/D=C:\\Target"}), record.arguments);
}

TEST_F(ExecuteLaunchCommandTask, ProgramRunsInTheTargetFolder) {
  ASSERT_TRUE(PlaceRecorder(Extracted(L"bin\\setup.exe")));
  task_.executable = Extracted(L"bin\\setup.exe");
  Record record;
  EXPECT_EQ(status::kOk, RunWaited(record));
  EXPECT_TRUE(SamePath(extracted_.Path(), record.currentFolder)) << record.currentFolder;
}

TEST_F(ExecuteLaunchCommandTask, RelativeProgramIsTakenFromTheTargetFolder) {
  ASSERT_TRUE(PlaceRecorder(Extracted(L"Driver\\setup.exe")));
  // A same-named program where Windows would look for a relative path: the current folder.
  const uitest::ScratchFolder planted;
  ASSERT_TRUE(PlaceRecorder(planted.File(L"Driver\\setup.exe")));
  const ScopedCurrentFolder current(planted.Path());
  task_.executable = L"Driver\\setup.exe";
  Record record;
  EXPECT_EQ(status::kOk, RunWaited(record));
  EXPECT_TRUE(SamePath(Extracted(L"Driver\\setup.exe"), record.program)) << record.program;
  EXPECT_TRUE(SamePath(extracted_.Path(), record.currentFolder));
}

TEST_F(ExecuteLaunchCommandTask, BareProgramNameIsTakenFromTheTargetFolder) {
  ASSERT_TRUE(PlaceRecorder(Extracted(L"setup.exe")));
  const uitest::ScratchFolder planted;
  ASSERT_TRUE(PlaceRecorder(planted.File(L"setup.exe")));
  const ScopedCurrentFolder current(planted.Path());
  task_.executable = L"setup.exe";
  task_.arguments = L"one";
  Record record;
  EXPECT_EQ(status::kOk, RunWaited(record));
  EXPECT_TRUE(SamePath(Extracted(L"setup.exe"), record.program)) << record.program;
  EXPECT_EQ(std::vector<std::wstring>{L"one"}, record.arguments);
}

TEST_F(ExecuteLaunchCommandTask, RelativeProgramMissingFromTheTargetFolderIsNotSearchedElsewhere) {
  const uitest::ScratchFolder planted;
  ASSERT_TRUE(PlaceRecorder(planted.File(L"setup.exe")));
  const ScopedCurrentFolder current(planted.Path());
  task_.executable = L"setup.exe";
  Record record;
  EXPECT_EQ(static_cast<Status>(ERROR_FILE_NOT_FOUND), RunWaited(record));
  EXPECT_FALSE(uitest::FileExists(RecordFile()));
}

TEST_F(ExecuteLaunchCommandTask, MissingProgramIsTheWindowsErrorFileNotFound) {
  task_.executable = Extracted(L"missing.exe");
  Record record;
  EXPECT_EQ(static_cast<Status>(ERROR_FILE_NOT_FOUND), RunWaited(record));
  EXPECT_EQ(0u, exitValue_);
}

TEST_F(ExecuteLaunchCommandTask, EnvironmentVariablesAreExpandedInTheCommandLine) {
  ASSERT_TRUE(PlaceRecorder(Extracted(L"setup.exe")));
  const ScopedVariable word(kWordVariable, L"expanded");
  const ScopedVariable folder(kFolderVariable, extracted_.Path());
  task_.executable = L"%VT_LAUNCH_TEST_FOLDER%\\setup.exe";
  task_.arguments = L"%VT_LAUNCH_TEST_WORD% \"%VT_LAUNCH_TEST_WORD% twice\" %VT_LAUNCH_UNSET%";
  Record record;
  EXPECT_EQ(status::kOk, RunWaited(record));
  EXPECT_TRUE(SamePath(Extracted(L"setup.exe"), record.program)) << record.program;
  const std::vector<std::wstring> expected = {L"expanded", L"expanded twice", L"%VT_LAUNCH_UNSET%"};
  EXPECT_EQ(expected, record.arguments);
}

TEST_F(ExecuteLaunchCommandTask, VariableThatGivesARelativePathIsTakenFromTheTargetFolder) {
  ASSERT_TRUE(PlaceRecorder(Extracted(L"Driver\\setup.exe")));
  const ScopedVariable folder(kFolderVariable, L"Driver");
  task_.executable = L"%VT_LAUNCH_TEST_FOLDER%\\setup.exe";
  Record record;
  EXPECT_EQ(status::kOk, RunWaited(record));
  EXPECT_TRUE(SamePath(Extracted(L"Driver\\setup.exe"), record.program)) << record.program;
}

// ---- ShellExecute: started through "open", not waited for ----

TEST_F(ExecuteLaunchCommandTask, ShellExecuteStartsTheProgramWithItsArgumentsInTheTargetFolder) {
  ASSERT_TRUE(PlaceRecorder(Extracted(L"setup.exe")));
  const ScopedVariable exitCode(argrecorder::kExitCodeVariable, L"9");
  task_.executable = Extracted(L"setup.exe");
  task_.arguments = L"-s \"two words\"";
  Record record;
  EXPECT_EQ(status::kOk, RunShell(record));
  EXPECT_EQ(0u, exitValue_);  // the program's exit code is never learnt
  EXPECT_TRUE(SamePath(Extracted(L"setup.exe"), record.program)) << record.program;
  EXPECT_EQ((std::vector<std::wstring>{L"-s", L"two words"}), record.arguments);
  EXPECT_TRUE(SamePath(extracted_.Path(), record.currentFolder)) << record.currentFolder;
}

TEST_F(ExecuteLaunchCommandTask, ShellExecuteReturnsAtOnceWithoutWaiting) {
  ASSERT_TRUE(PlaceRecorder(Extracted(L"setup.exe")));
  const ScopedVariable sleep(argrecorder::kSleepMsVariable, L"60000");
  task_.executable = Extracted(L"setup.exe");
  task_.useCreateProcess = false;
  const Status result = task_.Run(&exitValue_);
  ASSERT_EQ(status::kOk, result);
  EXPECT_EQ(0u, exitValue_);
  Record record;
  ASSERT_TRUE(launchtest::WaitForRecord(RecordFile(), kRecordTimeoutMs, record));
  // The program records first and sleeps afterwards: it still runs after the task is done.
  EXPECT_FALSE(launchtest::WaitForProcessEnd(record.processId, 0));
  EXPECT_TRUE(launchtest::EndProcess(record.processId));
}

TEST_F(ExecuteLaunchCommandTask, ShellExecuteOfAMissingFileIsFileNotFound) {
  task_.executable = Extracted(L"missing.exe");
  Record record;
  EXPECT_EQ(static_cast<Status>(SE_ERR_FNF), RunShell(record));
  EXPECT_EQ(0u, exitValue_);
}

TEST_F(ExecuteLaunchCommandTask, ShellExecuteLeavesEnvironmentVariablesInTheArguments) {
  ASSERT_TRUE(PlaceRecorder(Extracted(L"setup.exe")));
  const ScopedVariable word(kWordVariable, L"expanded");
  task_.executable = Extracted(L"setup.exe");
  task_.arguments = L"%VT_LAUNCH_TEST_WORD%";
  Record record;
  EXPECT_EQ(status::kOk, RunShell(record));
  EXPECT_EQ(std::vector<std::wstring>{L"%VT_LAUNCH_TEST_WORD%"}, record.arguments);
}

TEST_F(ExecuteLaunchCommandTask, ShellExecuteTakesARelativeProgramFromTheTargetFolder) {
  ASSERT_TRUE(PlaceRecorder(Extracted(L"Driver\\setup.exe")));
  const uitest::ScratchFolder planted;
  ASSERT_TRUE(PlaceRecorder(planted.File(L"Driver\\setup.exe")));
  const ScopedCurrentFolder current(planted.Path());
  task_.executable = L"Driver\\setup.exe";
  Record record;
  EXPECT_EQ(status::kOk, RunShell(record));
  EXPECT_TRUE(SamePath(Extracted(L"Driver\\setup.exe"), record.program)) << record.program;
}

TEST_F(ExecuteLaunchCommandTask, ShellExecuteOfARelativeProgramOnlyBesideThePackageIsNotFound) {
  const uitest::ScratchFolder planted;
  ASSERT_TRUE(PlaceRecorder(planted.File(L"setup.exe")));
  const ScopedCurrentFolder current(planted.Path());
  task_.executable = L"setup.exe";
  Record record;
  EXPECT_EQ(static_cast<Status>(SE_ERR_FNF), RunShell(record));
  EXPECT_FALSE(uitest::FileExists(RecordFile()));
}

// ---- argrecorder.exe's holding copy, which end-to-end tests use against the clean-up ----

TEST_F(ExecuteLaunchCommandTask, RecorderCanLeaveACopyThatHoldsAFileInTheTargetFolder) {
  ASSERT_TRUE(PlaceRecorder(Extracted(L"setup.exe")));
  const ScopedVariable hold(argrecorder::kHoldFileMsVariable, L"60000");
  const ScopedVariable name(argrecorder::kHoldFileNameVariable, L"busy.log");
  task_.executable = Extracted(L"setup.exe");
  Record record;
  ASSERT_EQ(status::kOk, RunWaited(record));
  ASSERT_NE(0u, record.holderProcessId);
  EXPECT_FALSE(launchtest::WaitForProcessEnd(record.holderProcessId, 0));
  EXPECT_FALSE(DeleteFileW(Extracted(L"busy.log").c_str()));
  EXPECT_EQ(static_cast<DWORD>(ERROR_SHARING_VIOLATION), GetLastError());
  EXPECT_TRUE(launchtest::EndProcess(record.holderProcessId));
  EXPECT_TRUE(DeleteFileW(Extracted(L"busy.log").c_str()));
}

TEST_F(ExecuteLaunchCommandTask, RecorderHoldingCopyCanShareDeletion) {
  ASSERT_TRUE(PlaceRecorder(Extracted(L"setup.exe")));
  const std::wstring folder = Extracted(L"held");
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
  const ScopedVariable hold(argrecorder::kHoldFileMsVariable, L"60000");
  const ScopedVariable name(argrecorder::kHoldFileNameVariable, L"held\\busy.log");
  const ScopedVariable share(argrecorder::kHoldFileShareDeleteVariable, L"1");
  task_.executable = Extracted(L"setup.exe");
  Record record;
  ASSERT_EQ(status::kOk, RunWaited(record));
  ASSERT_NE(0u, record.holderProcessId);
  // Deleting only marks the file while the copy holds it: its folder cannot go yet.
  EXPECT_TRUE(DeleteFileW((folder + L"\\busy.log").c_str()));
  EXPECT_FALSE(RemoveDirectoryW(folder.c_str()));
  EXPECT_EQ(static_cast<DWORD>(ERROR_DIR_NOT_EMPTY), GetLastError());
  EXPECT_TRUE(launchtest::EndProcess(record.holderProcessId));
  EXPECT_TRUE(RemoveDirectoryW(folder.c_str()));
}
