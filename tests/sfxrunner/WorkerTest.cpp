// The task list on the worker thread: order, first exit value, stop at the first failure,
// minimum durations, the progress window, and a poll timer that cannot start.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <functional>
#include <memory>
#include <vector>

#include "App.h"
#include "Cfg.h"
#include "ExecuteLaunchCommand.h"
#include "VTWow64FsRedirection.h"

// The replaced operators pair malloc with free; the compiler cannot see that through inlining.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

// Allocations on this thread fail while it is set: out of memory where a task needs it.
std::atomic<DWORD> g_failAllocationsOnThread{0};

void* operator new(size_t size) {
  if (g_failAllocationsOnThread != 0 && g_failAllocationsOnThread == GetCurrentThreadId()) {
    throw std::bad_alloc();
  }
  if (void* memory = std::malloc(size != 0 ? size : 1)) return memory;
  throw std::bad_alloc();
}
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, size_t) noexcept { std::free(memory); }

namespace {

constexpr wchar_t kTitle[] = L" Worker Test";

// A task of the test's own: runs `body` and returns its status.
class FakeTask : public Task {
 public:
  explicit FakeTask(std::function<Status(uint32_t*)> body)
      : Task(L"Test task."), body_(std::move(body)) {}
  Status Run(uint32_t* exitValue) override {
    ++runs;
    return body_(exitValue);
  }
  std::atomic<int> runs{0};

 private:
  std::function<Status(uint32_t*)> body_;
};

std::shared_ptr<FakeTask> Storing(uint32_t exitValue, Status result = 0) {
  return std::make_shared<FakeTask>([=](uint32_t* value) {
    *value = exitValue;
    return result;
  });
}

// A task that works on files, as extraction and deletion do.
class FileTask : public FakeTask {
 public:
  using FakeTask::FakeTask;
  bool NeedsNativeFileSystem() const override { return true; }
};

bool ProgressVisible() {
  HWND window = FindWindowW(L"#32770", kTitle);
  return window != nullptr && IsWindowVisible(window);
}

class Worker : public ::testing::Test {
 protected:
  Worker() { g_cfg.title = kTitle; }
  Status Run(std::vector<std::shared_ptr<Task>> tasks) {
    App app(GetModuleHandleW(nullptr));
    return app.RunTasks(std::move(tasks), &exitValue);
  }
  uint32_t exitValue = 0xFFFFFFFF;
};

// An App whose poll timer cannot be started.
class AppWithoutTimer : public App {
 public:
  using App::App;

 protected:
  UINT_PTR StartPollTimer() override {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return 0;
  }
};

}  // namespace

TEST_F(Worker, EmptyListEndsWithSuccessOnTheFirstTick) {
  const DWORD start = GetTickCount();
  EXPECT_EQ(0u, Run({}));
  EXPECT_EQ(0u, exitValue);
  EXPECT_LT(GetTickCount() - start, 2000u);
}

TEST_F(Worker, TasksRunInOrderAndTheFirstNonZeroExitValueWins) {
  std::vector<int> order;
  auto first = std::make_shared<FakeTask>([&](uint32_t*) { order.push_back(1); return 0u; });
  auto second = std::make_shared<FakeTask>([&](uint32_t* v) { order.push_back(2); *v = 7; return 0u; });
  auto third = std::make_shared<FakeTask>([&](uint32_t* v) { order.push_back(3); *v = 9; return 0u; });
  EXPECT_EQ(0u, Run({first, second, third}));
  EXPECT_EQ((std::vector<int>{1, 2, 3}), order);
  EXPECT_EQ(7u, exitValue);
}

TEST_F(Worker, FailingTaskStopsTheListWithItsStatus) {
  auto failing = Storing(4, 0xEE000051);
  auto never = Storing(5);
  EXPECT_EQ(0xEE000051u, Run({Storing(0), failing, never}));
  EXPECT_EQ(4u, exitValue);  // the failing task's exit value is the first non-zero one
  EXPECT_EQ(1, failing->runs.load());
  EXPECT_EQ(0, never->runs.load());
}

TEST_F(Worker, ExitValueStartsAtZeroForEveryTask) {
  uint32_t seen = 1234;
  auto peek = std::make_shared<FakeTask>([&](uint32_t* v) { seen = *v; return 0u; });
  EXPECT_EQ(0u, Run({Storing(3), peek}));
  EXPECT_EQ(0u, seen);
}

TEST_F(Worker, MinimumDurationKeepsTheVisibleWindowUpForASecond) {
  std::atomic<bool> visibleDuringTask{false};
  auto quick = std::make_shared<FakeTask>([&](uint32_t*) {
    // The show request is posted: the main thread shows the window while the task runs.
    for (int waited = 0; waited < 2000 && !ProgressVisible(); waited += 10) Sleep(10);
    visibleDuringTask = ProgressVisible();
    return 0u;
  });
  quick->minDurationMs = 1000;
  const DWORD start = GetTickCount();
  EXPECT_EQ(0u, Run({quick}));
  EXPECT_GE(GetTickCount() - start, 1000u);
  EXPECT_TRUE(visibleDuringTask.load());
}

TEST_F(Worker, HiddenTaskKeepsTheWindowHidden) {
  std::atomic<bool> visibleDuringTask{true};
  auto hidden = std::make_shared<FakeTask>([&](uint32_t*) {
    Sleep(300);
    visibleDuringTask = ProgressVisible();
    return 0u;
  });
  hidden->hideProgress = true;
  EXPECT_EQ(0u, Run({hidden}));
  EXPECT_FALSE(visibleDuringTask.load());
}

TEST_F(Worker, PollTimerThatCannotStartEndsTheRunWithItsError) {
  auto never = Storing(1);
  AppWithoutTimer app(GetModuleHandleW(nullptr));
  uint32_t value = 99;
  EXPECT_EQ(static_cast<Status>(ERROR_NOT_ENOUGH_MEMORY), app.RunTasks({never}, &value));
  EXPECT_EQ(0, never->runs.load());
  EXPECT_EQ(0u, value);
}

std::wstring SystemFolderFile(const wchar_t* name) {
  wchar_t windows[MAX_PATH] = {};
  GetWindowsDirectoryW(windows, MAX_PATH);
  return std::wstring(windows) + L"\\system32\\" + name;
}

// The machine of the system folder a program of this build sees, and of the native one.
WORD OwnMachine() {
  return veltrano::kIsX64Build ? IMAGE_FILE_MACHINE_AMD64 : IMAGE_FILE_MACHINE_I386;
}
WORD NativeMachine() {
  return veltrano::RunsUnderWow64() ? IMAGE_FILE_MACHINE_AMD64 : OwnMachine();
}

// The machine field of the PE image that the path opens for this process.
WORD MachineOf(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 0;
  IMAGE_DOS_HEADER dos = {};
  IMAGE_FILE_HEADER header = {};
  DWORD read = 0;
  DWORD signature = 0;
  ReadFile(file, &dos, sizeof dos, &read, nullptr);
  SetFilePointer(file, dos.e_lfanew, nullptr, FILE_BEGIN);
  ReadFile(file, &signature, sizeof signature, &read, nullptr);
  ReadFile(file, &header, sizeof header, &read, nullptr);
  CloseHandle(file);
  return header.Machine;
}

TEST(Wow64Redirection, SwitchedOffOnlyWhileTheOwnerLives) {
  const std::wstring kernel32 = SystemFolderFile(L"kernel32.dll");
  {
    veltrano::Wow64FsRedirectionOff redirection;
    EXPECT_EQ(0u, redirection.SwitchOff());
    EXPECT_EQ(veltrano::RunsUnderWow64(), redirection.IsOff());
    EXPECT_EQ(NativeMachine(), MachineOf(kernel32));
  }
  EXPECT_EQ(OwnMachine(), MachineOf(kernel32));
}

// File tasks see the native system folder; a launch sees what any program of the stub's build
// sees, and finds COM ready on the worker.
TEST_F(Worker, OnlyFileTasksRunWithRedirectionOffAndComIsReady) {
  const std::wstring kernel32 = SystemFolderFile(L"kernel32.dll");
  WORD fileTaskSaw = 0, launchSaw = 0;
  HRESULT comAnswer = E_FAIL;
  auto fileTask = std::make_shared<FileTask>([&](uint32_t*) {
    fileTaskSaw = MachineOf(kernel32);
    return 0u;
  });
  auto launch = std::make_shared<FakeTask>([&](uint32_t*) {
    launchSaw = MachineOf(kernel32);
    comAnswer = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (SUCCEEDED(comAnswer)) CoUninitialize();
    return 0u;
  });
  EXPECT_EQ(0u, Run({fileTask, launch, fileTask}));
  EXPECT_EQ(NativeMachine(), fileTaskSaw);
  EXPECT_EQ(OwnMachine(), launchSaw);
  EXPECT_EQ(S_FALSE, comAnswer);  // already initialised, as a single-threaded apartment
}

// Out of memory while a task builds its strings ends the run with its own status.
TEST_F(Worker, OutOfMemoryInATaskEndsTheRunWithItsStatus) {
  auto armAllocationFailure = std::make_shared<FakeTask>([](uint32_t*) {
    g_failAllocationsOnThread = GetCurrentThreadId();
    return 0u;
  });
  auto launch = std::make_shared<ExecuteLaunchCommand>();
  launch->useCreateProcess = true;
  launch->executable = L"setup.exe";
  launch->arguments = L"/quiet";
  launch->SetTargetFolder(L"C:\\nowhere");
  auto never = Storing(5);
  const Status result = Run({armAllocationFailure, launch, never});
  g_failAllocationsOnThread = 0;
  EXPECT_EQ(veltrano::status::kOutOfMemory, result);
  EXPECT_EQ(0, never->runs.load());
}
