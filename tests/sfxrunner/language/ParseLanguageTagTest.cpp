// Language tags as the configuration writes them: split into language, script and region,
// named by Windows, or rejected with a status that says why.
#include <gtest/gtest.h>

#include "VTWinUiLanguageMgr.h"

namespace {

using veltrano::LanguageTagInfo;
using veltrano::ParseLanguageTag;
namespace status = veltrano::status;

struct Parse {
  explicit Parse(const std::wstring& text) : result(ParseLanguageTag(text, info)) {}
  LanguageTagInfo info;
  veltrano::Status result;
};

TEST(ParseLanguageTag, LanguageAndRegionGetTheirWindowsNames) {
  const Parse parse(L"de-AT");
  ASSERT_EQ(status::kOk, parse.result);
  EXPECT_EQ(L"de-AT", parse.info.tag);
  EXPECT_EQ(L"de", parse.info.language);
  EXPECT_EQ(L"AT", parse.info.region);
  EXPECT_EQ(L"", parse.info.script);
  EXPECT_EQ(L"German (Austria)", parse.info.localizedDisplayName);
  EXPECT_EQ(L"Deutsch (\u00D6sterreich)", parse.info.nativeDisplayName);
}

TEST(ParseLanguageTag, LanguageAloneIsATag) {
  const Parse parse(L"fr");
  ASSERT_EQ(status::kOk, parse.result);
  EXPECT_EQ(L"fr", parse.info.language);
  EXPECT_EQ(L"", parse.info.region);
  EXPECT_EQ(L"French", parse.info.localizedDisplayName);
  EXPECT_EQ(L"fran\u00E7ais", parse.info.nativeDisplayName);
}

TEST(ParseLanguageTag, ScriptAndRegionInEitherOrderAndWithUnderscores) {
  const Parse dashes(L"sr-Latn-RS");
  const Parse underscores(L"sr_Latn_RS");
  const Parse swapped(L"sr-RS-Latn");
  for (const Parse* parse : {&dashes, &underscores, &swapped}) {
    ASSERT_EQ(status::kOk, parse->result) << parse->info.tag.c_str();
    EXPECT_EQ(L"sr", parse->info.language);
    EXPECT_EQ(L"Latn", parse->info.script);
    EXPECT_EQ(L"RS", parse->info.region);
    EXPECT_EQ(L"Serbian (Latin, Serbia)", parse->info.localizedDisplayName);
  }
  EXPECT_EQ(L"sr_Latn_RS", underscores.info.tag);  // kept as written
  EXPECT_EQ(L"sr-Latn-RS", swapped.info.CanonicalName());
}

TEST(ParseLanguageTag, LetterCaseIsKeptAsWritten) {
  const Parse parse(L"EN");
  ASSERT_EQ(status::kOk, parse.result);
  EXPECT_EQ(L"EN", parse.info.tag);
  EXPECT_EQ(L"EN", parse.info.language);
}

TEST(ParseLanguageTag, EmptyTextIsInvalidData) {
  const Parse parse(L"");
  EXPECT_EQ(status::kInvalidData, parse.result);
  EXPECT_TRUE(parse.info.IsEmpty());
}

TEST(ParseLanguageTag, LanguageOfOneOrFourLettersIsInvalidData) {
  for (const wchar_t* text : {L"d", L"deut", L"-de", L"d-DE", L"germ-DE"}) {
    const Parse parse(text);
    EXPECT_EQ(status::kInvalidData, parse.result) << text;
    EXPECT_EQ(text, parse.info.tag);  // the tag stays for the caller's message
  }
}

TEST(ParseLanguageTag, ThreeLetterLanguageIsAccepted) {
  const Parse parse(L"haw-US");
  ASSERT_EQ(status::kOk, parse.result);
  EXPECT_EQ(L"haw", parse.info.language);
  EXPECT_EQ(L"US", parse.info.region);
}

TEST(ParseLanguageTag, SubtagOfOtherLengthEndsTheParse) {
  const Parse variant(L"en-US-posix-GB");
  ASSERT_EQ(status::kOk, variant.result);
  EXPECT_EQ(L"US", variant.info.region);
  EXPECT_EQ(L"", variant.info.script);

  const Parse early(L"de-posix-CH");
  ASSERT_EQ(status::kOk, early.result);
  EXPECT_EQ(L"", early.info.region);
  EXPECT_EQ(L"German", early.info.localizedDisplayName);

  const Parse empty(L"de--AT");
  ASSERT_EQ(status::kOk, empty.result);
  EXPECT_EQ(L"", empty.info.region);
}

TEST(ParseLanguageTag, SubtagsAfterTheThirdAreIgnored) {
  const Parse parse(L"sr-Latn-RS-CH-Cyrl");
  ASSERT_EQ(status::kOk, parse.result);
  EXPECT_EQ(L"Latn", parse.info.script);
  EXPECT_EQ(L"RS", parse.info.region);
}

TEST(ParseLanguageTag, RepeatedRegionMustAgree) {
  EXPECT_EQ(status::kOk, Parse(L"de-AT-AT").result);
  EXPECT_EQ(status::kInvalidData, Parse(L"de-AT-CH").result);
  EXPECT_EQ(status::kInvalidData, Parse(L"sr-Latn-Cyrl").result);
}

TEST(ParseLanguageTag, LocaleUnknownToWindowsIsInvalidValue) {
  EXPECT_EQ(status::kInvalidParameter, Parse(L"xx").result);
  EXPECT_EQ(status::kInvalidParameter, Parse(L"de-XX").result);
  EXPECT_EQ(status::kInvalidParameter, Parse(L"zzz-Zzzz").result);
}

}  // namespace
