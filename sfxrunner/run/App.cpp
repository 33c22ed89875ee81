#include "App.h"

#include "Cfg.h"
#include "ReportStatus.h"

namespace status = veltrano::status;

App::App(HINSTANCE instance) : instance_(instance) {}

App::~App() = default;

Status App::Run(uint32_t* exitValue) {
  *exitValue = 0;
  VT_RETURN_IF_FAILED(LoadConfiguration());
  VT_RETURN_IF_FAILED(CheckThereIsWork());
  // The language or folder choice, the task list and its run on the worker thread come here;
  // without them a run that passed every check has nothing left to do.
  *exitValue = firstExitCode_;
  return status::kOk;
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
