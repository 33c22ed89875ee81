#pragma once
// One run of the stub: the configuration, the choice of mode, and the work it leads to.
#include <windows.h>

#include <cstdint>

#include "VTStatus.h"

using veltrano::Status;

class App {
 public:
  explicit App(HINSTANCE instance);
  virtual ~App();
  App(const App&) = delete;
  App& operator=(const App&) = delete;

  // The run's status; `exitValue` is 0, or the first exit value of the tasks that ran.
  Status Run(uint32_t* exitValue);

 private:
  Status LoadConfiguration();
  Status CheckThereIsWork() const;

  HINSTANCE instance_;
  uint32_t firstExitCode_ = 0;
};
