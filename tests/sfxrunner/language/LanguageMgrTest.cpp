// The candidates of a launch run come from the configuration's language tags: in ascending
// order, without the tags Windows does not know, and the run stops when none is left.
#include <gtest/gtest.h>

#include "Cfg.h"
#include "LanguageMgr.h"
#include "LanguageTestSupport.h"

namespace {

using language_test::ConfigureLaunchTags;
using language_test::ConfigureNoLaunch;
namespace status = veltrano::status;

std::vector<std::wstring> CandidateTags(const LanguageMgr& languages) {
  std::vector<std::wstring> tags;
  for (const auto& candidate : languages.candidates) tags.push_back(candidate.tag);
  return tags;
}

TEST(LanguageMgr, CandidatesFollowTheTagsInAscendingOrder) {
  ConfigureLaunchTags({L"fr", L"en-US", L"de", L"EN", L"en-GB"});
  LanguageMgr languages;
  ASSERT_EQ(status::kOk, languages.LoadLanguages());
  EXPECT_EQ((std::vector<std::wstring>{L"EN", L"de", L"en-GB", L"en-US", L"fr"}),
            CandidateTags(languages));
  EXPECT_EQ(L"GB", languages.candidates[2].region);  // parsed, not only copied
  EXPECT_EQ(L"English (United Kingdom)", languages.candidates[2].localizedDisplayName);
}

TEST(LanguageMgr, TagsWindowsDoesNotKnowAreLeftOut) {
  ConfigureLaunchTags({L"de", L"xx", L"en", L"toolong", L"de-AT-CH"});
  LanguageMgr languages;
  ASSERT_EQ(status::kOk, languages.LoadLanguages());
  EXPECT_EQ((std::vector<std::wstring>{L"de", L"en"}), CandidateTags(languages));
}

TEST(LanguageMgr, NoTagThatParsesFails) {
  ConfigureLaunchTags({L"xx", L"toolong"});
  LanguageMgr languages;
  EXPECT_EQ(status::kFailed, languages.LoadLanguages());
  EXPECT_TRUE(languages.candidates.empty());
}

TEST(LanguageMgr, EmptyTagSetFails) {
  ConfigureLaunchTags({});
  LanguageMgr languages;
  EXPECT_EQ(status::kFailed, languages.LoadLanguages());
}

TEST(LanguageMgr, MissingLaunchSectionOrCommandSetFails) {
  ConfigureNoLaunch();
  LanguageMgr withoutLaunch;
  EXPECT_EQ(status::kFailed, withoutLaunch.LoadLanguages());

  ConfigureLaunchTags({L"de"});
  g_cfg.launch->commandSet.reset();
  LanguageMgr withoutCommands;
  EXPECT_EQ(status::kFailed, withoutCommands.LoadLanguages());
}

TEST(ChooseRunLanguage, LoadFailureEndsTheStepWithItsStatus) {
  ConfigureLaunchTags({L"xx"});
  std::wstring tag = L"left over";
  EXPECT_EQ(status::kFailed, ChooseRunLanguage(false, tag));
  EXPECT_EQ(L"", tag);
}

}  // namespace
