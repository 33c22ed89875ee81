// Language tags: reading them to a given depth, the Windows texts of their locales, and the
// choice among any records that carry a tag.
#include <gtest/gtest.h>

#include "VTLanguageTag.h"

namespace {

using veltrano::LanguageSubtags;
using veltrano::ReadLanguageTag;
namespace status = veltrano::status;

// "language script region" as read with at most `maxSubtags` subtags, or "invalid".
std::wstring Read(const std::wstring& text, size_t maxSubtags = veltrano::kEverySubtag) {
  LanguageSubtags subtags;
  subtags.region = L"left over";
  const veltrano::Status result = ReadLanguageTag(text, maxSubtags, subtags);
  if (result == status::kInvalidData) {
    const bool emptied = subtags.language.empty() && subtags.region.empty();
    return emptied ? L"invalid" : L"invalid, not emptied";
  }
  if (result != status::kOk) return L"status " + std::to_wstring(result);
  return subtags.language + L" " + subtags.script + L" " + subtags.region;
}

TEST(LanguageTagTest, ValidTagsSplitAndInvalidOnesAreRejected) {
  const struct {
    const wchar_t* text;
    const wchar_t* parts;  // "language script region", or "invalid"
  } cases[] = {
      {L"de", L"de  "},           {L"haw-US", L"haw  US"},       {L"zh-Hans", L"zh Hans "},
      {L"zh_Hant_TW", L"zh Hant TW"}, {L"sr-RS-Latn", L"sr Latn RS"}, {L"de-AT-AT", L"de  AT"},
      {L"de-formal-CH", L"de  "},  {L"en-US-x-CA", L"en  US"},     {L"", L"invalid"},
      {L"d", L"invalid"},          {L"deut", L"invalid"},         {L"-de", L"invalid"},
      {L"de-AT-CH", L"invalid"},   {L"zh-Hans-Hant", L"invalid"},
      {L"de--AT", L"de  "},        {L"de-AT-", L"de  AT"},        {L"EN-us", L"EN  us"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.parts, Read(c.text)) << c.text;
}

// The installer stub reads three subtags and ignores the rest; the mixer reads every one.
TEST(LanguageTagTest, ReadingStopsAfterTheGivenNumberOfSubtags) {
  EXPECT_EQ(L"invalid", Read(L"sr-Latn-RS-CH"));
  EXPECT_EQ(L"sr Latn RS", Read(L"sr-Latn-RS-CH", 3));
  EXPECT_EQ(L"sr Latn ", Read(L"sr-Latn-RS-CH", 2));
  EXPECT_EQ(L"sr  ", Read(L"sr-Latn-RS-CH", 1));
  EXPECT_EQ(L"invalid", Read(L"de-AT-CH", 3));  // the third subtag still counts
  EXPECT_EQ(L"invalid", Read(L"de", 0));
}

TEST(LanguageTagTest, CanonicalNamePutsTheScriptBeforeTheRegion) {
  LanguageSubtags subtags;
  ASSERT_EQ(status::kOk, ReadLanguageTag(L"sr_RS_Latn", veltrano::kEverySubtag, subtags));
  EXPECT_EQ(L"sr-Latn-RS", subtags.CanonicalName());
  ASSERT_EQ(status::kOk, ReadLanguageTag(L"de", veltrano::kEverySubtag, subtags));
  EXPECT_EQ(L"de", subtags.CanonicalName());
}

TEST(LanguageTagTest, LocaleTextsComeFromWindowsAndUnknownLocalesAreInvalidParameters) {
  std::wstring text;
  ASSERT_EQ(status::kOk, veltrano::GetLocaleText(L"de-AT", LOCALE_SENGLISHDISPLAYNAME, text));
  EXPECT_EQ(L"German (Austria)", text);
  EXPECT_EQ(static_cast<veltrano::Status>(ERROR_INVALID_PARAMETER),
            veltrano::GetLocaleText(L"zzz-Zzzz", LOCALE_SENGLISHDISPLAYNAME, text));
  EXPECT_EQ(L"", text);

  std::wstring uiName = L"left over";
  ASSERT_EQ(status::kOk, veltrano::GetUiLanguageName(uiName));
  LanguageSubtags ui;
  EXPECT_EQ(status::kOk, ReadLanguageTag(uiName, veltrano::kEverySubtag, ui)) << uiName;
}

// A record of some other kind: the choice needs only the tag it carries.
struct Named : LanguageSubtags {
  std::wstring name;
};

std::vector<Named> RecordsOf(const std::vector<std::wstring>& tags) {
  std::vector<Named> records;
  for (const std::wstring& tag : tags) {
    Named record;
    EXPECT_EQ(status::kOk, ReadLanguageTag(tag, veltrano::kEverySubtag, record)) << tag;
    record.name = tag;
    records.push_back(record);
  }
  return records;
}

std::wstring ChosenFor(const std::wstring& user, const std::vector<std::wstring>& tags) {
  LanguageSubtags subtags;
  EXPECT_EQ(status::kOk, ReadLanguageTag(user, veltrano::kEverySubtag, subtags)) << user;
  const std::vector<Named> records = RecordsOf(tags);
  const Named* chosen = veltrano::ChooseLanguage(subtags, records);
  return chosen ? chosen->name : L"none";
}

TEST(LanguageChoiceTest, EarliestPassWinsThenListOrder) {
  const struct {
    const wchar_t* user;
    std::vector<std::wstring> tags;
    const wchar_t* expected;
  } cases[] = {
      {L"sr-Latn-RS", {L"sr-Cyrl-RS", L"sr-Latn", L"sr-Latn-RS"}, L"sr-Latn-RS"},
      {L"sr-Latn-RS", {L"sr-Cyrl-RS", L"sr-Latn"}, L"sr-Latn"},       // script before region
      {L"zh-CN", {L"zh-Hant-TW", L"zh-Hans-CN"}, L"zh-Hans-CN"},      // region, any script
      {L"de-AT", {L"de-DE", L"de-CH"}, L"de-DE"},                     // language: first one
      {L"de", {L"de-AT", L"de"}, L"de-AT"},                           // a user's missing script,
      {L"de-AT", {L"de-Latn", L"de"}, L"de-Latn"},                    // region or both skips
      {L"zh-Hans", {L"zh-Hant-CN", L"zh"}, L"zh-Hant-CN"},            // the passes that need it
      {L"ja-JP", {L"en-GB", L"en", L"fr"}, L"en"},                    // plain English
      {L"ja-JP", {L"fr", L"en-US", L"en-GB"}, L"en-US"},              // any English
      {L"ja-JP", {L"EN", L"fr"}, L"none"},                            // case counts
      {L"ja-JP", {}, L"none"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.expected, ChosenFor(c.user, c.tags)) << c.user;
}

}  // namespace
