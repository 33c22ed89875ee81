#pragma once
// One run of the setup program as a list of steps: the install (or repair) of the software,
// whose changes roll back when a step fails or the user cancels, or its removal. The window
// runs the steps one by one and shows their progress; a quiet run runs them straight through.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "SetupLog.h"
#include "SetupOptions.h"
#include "Transaction.h"
#include "VTStatus.h"

// The exit codes that installers give.
constexpr int kExitSuccess = 0;
constexpr int kExitBadArguments = 87;  // ERROR_INVALID_PARAMETER
constexpr int kExitCancelled = 1602;   // ERROR_INSTALL_USEREXIT
constexpr int kExitFailed = 1603;      // ERROR_INSTALL_FAILURE
constexpr int kExitNotInstalled = 1605;  // ERROR_UNKNOWN_PRODUCT: nothing to remove
constexpr int kExitAnotherRun = 1618;    // ERROR_INSTALL_ALREADY_RUNNING

struct SetupStep {
  std::wstring description;
  std::function<veltrano::Status()> run;
};

class Setup {
 public:
  Setup(const SetupOptions& options, SetupLog& log);

  // Finds the folders and the files and lists the steps; a failure ends the run (1603).
  veltrano::Status Prepare();
  const std::vector<SetupStep>& Steps() const { return steps_; }
  // After the steps: `result` 0 keeps the install, anything else rolls it back. The exit code.
  int Finish(veltrano::Status result, bool cancelled);
  // Runs every step in turn, then Finish: a quiet run.
  int RunAll();

  const std::wstring& InstallFolder() const { return installFolder_; }
  bool IsUninstall() const { return options_.uninstall; }

 private:
  veltrano::Status PrepareInstall();
  veltrano::Status PrepareUninstall();
  veltrano::Status RemoveFiles();
  veltrano::Status RemoveShortcut();
  veltrano::Status RemoveRegistration();
  veltrano::Status EndRunningMixers();
  std::wstring ShortcutPath() const;
  std::wstring ClassKey() const;

  SetupOptions options_;
  SetupLog& log_;
  Transaction transaction_;
  std::wstring packageFolder_;
  std::wstring installFolder_;
  std::wstring programsFolder_;
  std::wstring driverInterface_;
  std::vector<std::wstring> files_;
  std::vector<SetupStep> steps_;
  bool leftovers_ = false;  // a removal that could not remove everything
};
