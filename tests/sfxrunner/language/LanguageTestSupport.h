#pragma once
// Shared pieces of the language tests: a launch configuration with given tags, and parsed
// tags for building candidate lists.
#include <set>
#include <string>
#include <vector>

#include "VTWinUiLanguageMgr.h"

namespace language_test {

// Makes the process's configuration a launch run whose commands carry `tags`.
void ConfigureLaunchTags(const std::set<std::wstring>& tags);
// Drops the launch section again.
void ConfigureNoLaunch();

// The parsed tag; the test fails when it does not parse.
veltrano::LanguageTagInfo Parsed(const std::wstring& tag);
std::vector<veltrano::LanguageTagInfo> ParsedAll(const std::vector<std::wstring>& tags);

}  // namespace language_test
