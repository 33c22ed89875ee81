#pragma once
// Which configured command a launch starts: the one untagged command, or the one whose
// language tags hold the language the user chose.
#include <memory>
#include <string>

#include "Cfg.h"

// 0 with `chosen` set; 0xEE000041 when a language is needed and none was chosen; 0xEE000052
// when there is no command set, no command for the language, two of them, or an untagged
// command where tags are needed. Tags match exactly, letter case included.
Status ChooseLaunchCommand(const CfgCommandSet* set, const std::wstring& selectedLanguageTag,
                           std::shared_ptr<CfgCommand>& chosen);
