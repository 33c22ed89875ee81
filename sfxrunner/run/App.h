#pragma once
// One run of the stub: the configuration, the choice of mode and folder, the task list, and
// its run on the worker thread while the main thread shows the progress window.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "Handles.h"
#include "MessageWindow.h"
#include "ProgressDlg.h"
#include "Task.h"
#include "VTStatus.h"
#include "WorkerThread.h"

using veltrano::Status;

class App : public MessageHandler {
 public:
  explicit App(HINSTANCE instance);
  ~App() override;
  App(const App&) = delete;
  App& operator=(const App&) = delete;

  // The run's status; `exitValue` is 0, or the first exit value a task reported.
  Status Run(uint32_t* exitValue);

  // Runs `tasks` on the worker while the main thread shows the progress window and polls;
  // returns the worker's result and gives the first exit value to `exitValue`.
  Status RunTasks(std::vector<std::shared_ptr<Task>> tasks, uint32_t* exitValue);

  void OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 protected:
  // The 100 ms poll timer; 0 when it could not be started.
  virtual UINT_PTR StartPollTimer();

 private:
  Status LoadConfiguration();
  Status CheckThereIsWork() const;
  // Both append to `tasks`.
  Status BuildExtractTasks(std::vector<std::shared_ptr<Task>>& tasks);
  Status BuildLaunchTasks(const std::wstring& selectedLanguageTag,
                          std::vector<std::shared_ptr<Task>>& tasks);
  Status RunMainLoop();
  void Poll();
  static unsigned __stdcall WorkerEntry(void* app);
  void RunWorker();

  MessageWindow messageWindow_;
  WorkerThread worker_;
  CriticalSection lock_;  // guards worker_.result
  std::vector<std::shared_ptr<Task>> tasks_;
  uint32_t firstExitCode_ = 0;
  ProgressDlg progress_;
};
