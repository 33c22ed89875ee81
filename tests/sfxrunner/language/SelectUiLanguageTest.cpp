// The matching passes, for user languages of every shape: the most specific match wins,
// earlier candidates win within a pass, and English is the fallback.
#include <gtest/gtest.h>

#include "LanguageTestSupport.h"
#include "VTWinUiLanguageMgr.h"

namespace {

using language_test::Parsed;
using language_test::ParsedAll;

class FixedLanguages : public veltrano::VTWinUiLanguageMgr {
 public:
  explicit FixedLanguages(const std::vector<std::wstring>& tags) : tags_(tags) {}
  veltrano::Status LoadLanguages() override {
    candidates = ParsedAll(tags_);
    return veltrano::status::kOk;
  }

 private:
  std::vector<std::wstring> tags_;
};

// The tag chosen for a user of `userTag` from `tags`, in this order; empty for none.
std::wstring SelectedFor(const std::wstring& userTag, const std::vector<std::wstring>& tags) {
  FixedLanguages languages(tags);
  languages.LoadLanguages();
  languages.SelectFor(Parsed(userTag));
  return languages.selected.tag;
}

TEST(SelectUiLanguage, ScriptAndRegionTogetherComeFirst) {
  EXPECT_EQ(L"sr-Latn-RS", SelectedFor(L"sr-Latn-RS", {L"sr-Cyrl-RS", L"sr-Latn", L"sr-Latn-RS"}));
}

TEST(SelectUiLanguage, SameScriptBeatsSameRegion) {
  EXPECT_EQ(L"sr-Latn", SelectedFor(L"sr-Latn-RS", {L"sr-Cyrl-RS", L"sr-Latn"}));
}

TEST(SelectUiLanguage, SameRegionBeatsLanguageAlone) {
  EXPECT_EQ(L"de-DE", SelectedFor(L"de-DE", {L"de", L"de-AT", L"de-DE"}));
  EXPECT_EQ(L"en-US", SelectedFor(L"en-US", {L"en-GB", L"en-US"}));
}

TEST(SelectUiLanguage, SameRegionIgnoresTheScript) {
  EXPECT_EQ(L"zh-Hans-CN", SelectedFor(L"zh-CN", {L"zh-Hant-TW", L"zh-Hans-CN"}));
}

TEST(SelectUiLanguage, LanguageAloneTakesTheFirstCandidate) {
  EXPECT_EQ(L"de", SelectedFor(L"de-DE", {L"de", L"en", L"fr"}));
  EXPECT_EQ(L"en-GB", SelectedFor(L"en-AU", {L"en-GB", L"en-US"}));
}

TEST(SelectUiLanguage, PlainEnglishIsTheFirstFallback) {
  EXPECT_EQ(L"en", SelectedFor(L"ja-JP", {L"en-GB", L"en", L"fr"}));
}

TEST(SelectUiLanguage, AnyEnglishIsTheLastFallback) {
  EXPECT_EQ(L"en-US", SelectedFor(L"ja-JP", {L"fr", L"en-US"}));
}

TEST(SelectUiLanguage, NoLanguageAndNoEnglishSelectsNothing) {
  EXPECT_EQ(L"", SelectedFor(L"ja-JP", {L"de", L"fr"}));
}

TEST(SelectUiLanguage, UpperCaseEnglishIsNoFallback) {
  EXPECT_EQ(L"", SelectedFor(L"ja-JP", {L"EN", L"fr"}));
  EXPECT_EQ(L"en-GB", SelectedFor(L"ja-JP", {L"EN", L"en-GB"}));
}

TEST(SelectUiLanguage, LanguageComparisonIsCaseSensitive) {
  EXPECT_EQ(L"en", SelectedFor(L"de-DE", {L"DE", L"en"}));
}

TEST(SelectUiLanguage, NoCandidatesSelectsNothingAndSucceeds) {
  FixedLanguages languages({});
  languages.selected = Parsed(L"de");
  EXPECT_EQ(veltrano::status::kOk, languages.SelectUiLanguage());
  EXPECT_TRUE(languages.selected.IsEmpty());
}

TEST(SelectUiLanguage, EveryRunStartsFromNothingSelected) {
  FixedLanguages languages({L"de", L"fr"});
  languages.LoadLanguages();
  languages.SelectFor(Parsed(L"fr-FR"));
  ASSERT_EQ(L"fr", languages.selected.tag);
  languages.SelectFor(Parsed(L"ja-JP"));
  EXPECT_TRUE(languages.selected.IsEmpty());
}

TEST(SelectUiLanguage, SelectedCarriesTheCandidatesNames) {
  FixedLanguages languages({L"de-AT"});
  languages.LoadLanguages();
  languages.SelectFor(Parsed(L"de-DE"));
  EXPECT_EQ(L"German (Austria)", languages.selected.localizedDisplayName);
  EXPECT_EQ(L"AT", languages.selected.region);
}

}  // namespace
