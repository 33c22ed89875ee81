#pragma once
// The run's language: the language tags of the launch commands for this processor, matched
// against the Windows UI language and, if the run shows it, confirmed in the language dialog.
#include <string>

#include "VTWinUiLanguageMgr.h"

using veltrano::Status;

class LanguageMgr : public veltrano::VTWinUiLanguageMgr {
 public:
  // The candidates are the configuration's tags that Windows knows, in ascending order;
  // kFailed when there is no command set or no such tag.
  Status LoadLanguages() override;
};

// The whole language step of a launch run: loads and matches the tags, shows the language
// dialog when `showDialog`, and gives the chosen tag. kInvalidConfiguration when no language was chosen.
Status ChooseRunLanguage(bool showDialog, std::wstring& selectedTag);
