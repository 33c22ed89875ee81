#include "LanguageTestSupport.h"

#include <gtest/gtest.h>

#include <memory>

#include "Cfg.h"

namespace language_test {

void ConfigureLaunchTags(const std::set<std::wstring>& tags) {
  g_cfg.extract.reset();
  g_cfg.launch = std::make_shared<CfgLaunch>(&g_cfg);
  g_cfg.launch->commandSet = std::make_shared<CfgCommandSet>(g_cfg.launch.get());
  g_cfg.launch->commandSet->allLanguageTags->tags = tags;
}

void ConfigureNoLaunch() {
  g_cfg.extract.reset();
  g_cfg.launch.reset();
}

veltrano::LanguageTagInfo Parsed(const std::wstring& tag) {
  veltrano::LanguageTagInfo info;
  EXPECT_EQ(veltrano::status::kOk, veltrano::ParseLanguageTag(tag, info)) << tag.c_str();
  return info;
}

std::vector<veltrano::LanguageTagInfo> ParsedAll(const std::vector<std::wstring>& tags) {
  std::vector<veltrano::LanguageTagInfo> parsed;
  for (const std::wstring& tag : tags) parsed.push_back(Parsed(tag));
  return parsed;
}

}  // namespace language_test
