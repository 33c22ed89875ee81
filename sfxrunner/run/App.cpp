#include "App.h"

#include "AppModule.h"
#include "Cfg.h"
#include "CmdLine.h"
#include "DeleteExtractedFiles.h"
#include "ExecuteLaunchCommand.h"
#include "ExtractFiles.h"
#include "ExtractToDlg.h"
#include "LanguageMgr.h"
#include "VTLastError.h"
#include "LaunchCommand.h"
#include "ReportStatus.h"
#include "VTHandles.h"
#include "VTWow64FsRedirection.h"

namespace status = veltrano::status;
using veltrano::LastErrorOr;

namespace {

constexpr wchar_t kMessageWindowClass[] = L"{C9F9CA79-6061-494D-9900-C7C623A13032}";
constexpr DWORD kMinDurationStepMs = 100;
// A visible extraction before a launch stays on screen at least this long.
constexpr uint32_t kLaunchExtractionMinMs = 1000;

bool Shows(bool configured) {
  return guiMode == CmdLine::GuiOn || (guiMode == CmdLine::GuiAsConfigured && configured);
}

// One task on the worker, with the file-system view it needs. Running out of memory ends the
// run with its own status instead of the process.
Status RunTask(Task& task, uint32_t* exitValue) {
  veltrano::Wow64FsRedirectionOff redirection;
  if (task.NeedsNativeFileSystem()) VT_RETURN_IF_FAILED(redirection.SwitchOff());
  try {
    return task.Run(exitValue);
  } catch (const std::bad_alloc&) {
    return status::kOutOfMemory;
  }
}

// Destroys the run's two windows when the main loop is left, however it is left.
class RunWindows {
 public:
  RunWindows(MessageWindow& messageWindow, ProgressDlg& progress)
      : messageWindow_(messageWindow), progress_(progress) {}
  ~RunWindows() {
    messageWindow_.Destroy();
    progress_.DestroyWindow();
  }
  RunWindows(const RunWindows&) = delete;
  RunWindows& operator=(const RunWindows&) = delete;

 private:
  MessageWindow& messageWindow_;
  ProgressDlg& progress_;
};

}  // namespace

App::App(HINSTANCE instance) : messageWindow_(instance, kMessageWindowClass) {}

App::~App() = default;

Status App::Run(uint32_t* exitValue) {
  *exitValue = 0;
  VT_RETURN_IF_FAILED(LoadConfiguration());
  VT_RETURN_IF_FAILED(CheckThereIsWork());
  std::wstring selectedLanguageTag;
  if (g_cfg.launch && !g_cfg.launch->commandSet->singleUntagged) {
    VT_RETURN_IF_FAILED(ChooseRunLanguage(Shows(g_cfg.launch->languageSelectionDialogEnabled),
                                          selectedLanguageTag));
  }
  std::vector<std::shared_ptr<Task>> tasks;
  if (g_cfg.extract) VT_RETURN_IF_FAILED(BuildExtractTasks(tasks));
  if (g_cfg.launch) VT_RETURN_IF_FAILED(BuildLaunchTasks(selectedLanguageTag, tasks));
  return RunTasks(std::move(tasks), exitValue);
}

// A stub without a configuration resource extracts with both dialogs on.
Status App::LoadConfiguration() {
  const Status loaded = g_cfg.LoadFromResource();
  if (loaded == status::kNoConfigResource) return g_cfg.SetDefaults(std::wstring());
  return loaded;
}

// Launch mode needs a command for this machine's processor.
Status App::CheckThereIsWork() const {
  if (g_cfg.extract) return status::kOk;
  if (!g_cfg.launch || !g_cfg.launch->commandSet ||
      g_cfg.launch->commandSet->applicableIds.empty()) {
    return kStatusPlatformUnsupported;
  }
  return status::kOk;
}

Status App::BuildExtractTasks(std::vector<std::shared_ptr<Task>>& tasks) {
  std::wstring folder = g_cfg.extract->targetPath;
  if (Shows(g_cfg.extract->folderSelectionDialogEnabled)) {
    ExtractToDlg dialog;
    dialog.path = folder;
    const INT_PTR chosen = dialog.DoModal(GetActiveWindow());
    if (chosen == IDOK) {
      folder = dialog.path;
    } else if (chosen > 0) {
      return status::kCancelled;
    }
    // 0 or -1: the dialog could not be shown; the configured folder stands.
  }
  auto extract = std::make_shared<ExtractFiles>();
  extract->SetTargetFolder(folder);
  extract->hideProgress = !Shows(g_cfg.extract->progressDialogEnabled);
  tasks.push_back(extract);
  return status::kOk;
}

// Extract into a new folder, start the command there, and for a program that is waited for,
// delete the folder again.
Status App::BuildLaunchTasks(const std::wstring& selectedLanguageTag,
                             std::vector<std::shared_ptr<Task>>& tasks) {
  const CfgLaunch& launch = *g_cfg.launch;
  const bool hide = !Shows(launch.progressDialogEnabled);
  auto extract = std::make_shared<ExtractFiles>();
  extract->SetTargetFolder(launch.targetPath);
  extract->hideProgress = hide;
  if (!hide) extract->minDurationMs = kLaunchExtractionMinMs;
  tasks.push_back(extract);

  std::shared_ptr<CfgCommand> command;
  VT_RETURN_IF_FAILED(
      ChooseLaunchCommand(launch.commandSet.get(), selectedLanguageTag, command));
  auto execute = std::make_shared<ExecuteLaunchCommand>();
  execute->SetTargetFolder(launch.targetPath);
  execute->useCreateProcess = command->useCreateProcess;
  execute->executable = command->executable;
  execute->arguments = passThroughArguments.empty()
                           ? command->arguments
                           : command->arguments + L" " + passThroughArguments;
  execute->hideProgress = true;
  tasks.push_back(execute);

  // The shell's "open" is not waited for: its program may still use the files.
  if (command->useCreateProcess) {
    auto cleanup = std::make_shared<DeleteExtractedFiles>();
    cleanup->SetTargetFolder(launch.targetPath);
    cleanup->hideProgress = hide;
    tasks.push_back(cleanup);
  }
  return status::kOk;
}

// ---- the worker and the main thread ----

Status App::RunTasks(std::vector<std::shared_ptr<Task>> tasks, uint32_t* exitValue) {
  tasks_ = std::move(tasks);
  firstExitCode_ = 0;
  const Status result = RunMainLoop();
  *exitValue = firstExitCode_;
  return result;
}

Status App::RunMainLoop() {
  if (progress_.Create(nullptr) == nullptr) return LastErrorOr();
  VT_RETURN_IF_FAILED(messageWindow_.Create(this));
  // Destroying the message window also ends its poll timer.
  const RunWindows windows(messageWindow_, progress_);

  // Without the poll nothing would ever end the loop: the run ends before the worker starts.
  if (StartPollTimer() == 0) return LastErrorOr();

  Status started;
  {
    ScopedLock lock(lock_);
    started = worker_.Start(&App::WorkerEntry, this);
  }
  if (started != 0) return started;

  winui::RegisteredMessageLoop loop;
  return static_cast<Status>(loop.Run());
}

UINT_PTR App::StartPollTimer() {
  return SetTimer(messageWindow_.Handle(), kPollTimerId, kPollIntervalMs, nullptr);
}

void App::OnMessage(UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_SFX_SHOWPROGRESS) {
    progress_.ShowWindow(wParam != 0 ? SW_SHOWNORMAL : SW_HIDE);
  } else if (message == WM_TIMER && wParam == kPollTimerId) {
    Poll();
  }
}

// One look at the worker: once it has ended, or has stored a failure, join it and leave the
// message loop with its result.
void App::Poll() {
  bool running;
  Status result;
  {
    ScopedLock lock(lock_);
    running = worker_.IsAlive() && !worker_.finished;
    result = worker_.result;
  }
  if (running && result == 0) return;
  const Status joined = worker_.Join();
  PostQuitMessage(static_cast<int>(result != 0 ? result : joined));
}

unsigned __stdcall App::WorkerEntry(void* app) {
  static_cast<App*>(app)->RunWorker();
  return 0;
}

void App::RunWorker() {
  {
    ScopedLock lock(lock_);
    worker_.result = 0;
  }
  Status result = 0;
  {
    // The shell may hand a launch to COM-based extensions: they need an apartment.
    const veltrano::ComApartment com;
    result = com.Status();
    for (size_t i = 0; result == 0 && i < tasks_.size(); ++i) {
      Task& task = *tasks_[i];
      const DWORD start = GetTickCount();
      PostMessageW(messageWindow_.Handle(), WM_SFX_SHOWPROGRESS, task.hideProgress ? 0 : 1, 0);
      uint32_t exitValue = 0;
      result = RunTask(task, &exitValue);
      // The tick count may wrap; the subtraction is unsigned on purpose.
      while (GetTickCount() - start < task.minDurationMs) Sleep(kMinDurationStepMs);
      if (firstExitCode_ == 0) firstExitCode_ = exitValue;
    }
  }
  {
    ScopedLock lock(lock_);
    worker_.result = result;
    worker_.finished = true;
  }
  // The main thread polls at once instead of at its next tick.
  PostMessageW(messageWindow_.Handle(), WM_TIMER, kPollTimerId, 0);
}
