// The language step under real Windows UI languages. Each suite runs in a process started
// with that UI language (see CMakeLists.txt) and first checks that it really got it.
#include <gtest/gtest.h>

#include <windows.h>

#include "CommandIds.h"
#include "LanguageDlgDriver.h"
#include "LanguageMgr.h"
#include "LanguageTestSupport.h"
#include "ModalScript.h"
#include "resource.h"

namespace {

using language_test::ConfigureLaunchTags;
using language_test::Do;
namespace status = veltrano::status;

std::wstring UiLanguage() {
  std::wstring name;
  EXPECT_EQ(status::kOk, veltrano::GetUiLanguageName(name));
  return name;
}

struct Choice {
  veltrano::Status result;
  std::wstring tag;
};

// The run's language for these configured tags, without the dialog.
Choice ChooseWithoutDialog(const std::set<std::wstring>& tags) {
  ConfigureLaunchTags(tags);
  Choice choice;
  choice.tag = L"left over";
  choice.result = ChooseRunLanguage(false, choice.tag);
  return choice;
}

// The same with the dialog shown and driven by `steps`.
Choice ChooseWithDialog(const std::set<std::wstring>& tags, std::vector<sfxui_test::Step> steps) {
  ConfigureLaunchTags(tags);
  Choice choice;
  sfxui_test::RunScripted(language_test::ShownDialog, std::move(steps), [&] {
    choice.result = ChooseRunLanguage(true, choice.tag);
    return INT_PTR{0};
  });
  return choice;
}

TEST(UnderGermanUi, TheProcessRunsWithAGermanUi) { EXPECT_EQ(L"de-DE", UiLanguage()); }

TEST(UnderGermanUi, GermanIsChosenFromGermanEnglishFrench) {
  const Choice choice = ChooseWithoutDialog({L"de", L"en", L"fr"});
  EXPECT_EQ(status::kOk, choice.result);
  EXPECT_EQ(L"de", choice.tag);
}

TEST(UnderGermanUi, GermanForGermanyBeatsOtherGermans) {
  const Choice choice = ChooseWithoutDialog({L"de", L"de-AT", L"de-DE"});
  EXPECT_EQ(status::kOk, choice.result);
  EXPECT_EQ(L"de-DE", choice.tag);
}

TEST(UnderGermanUi, TheDialogPreselectsGermanInTheSortedList) {
  std::vector<std::wstring> items;
  std::wstring shown;
  const Choice choice = ChooseWithDialog({L"de", L"en", L"fr"}, {Do([&](HWND dialog) {
    items = language_test::ComboItems(dialog);
    shown = language_test::SelectedItemText(dialog);
    sfxui_test::ClickButton(dialog, IDOK);
  })});
  EXPECT_EQ(status::kOk, choice.result);
  EXPECT_EQ(L"de", choice.tag);
  EXPECT_EQ(L"German [Deutsch]", shown);
  EXPECT_EQ((std::vector<std::wstring>{L"English", L"French [fran\u00E7ais]", L"German [Deutsch]"}),
            items);
}

TEST(UnderGermanUi, TheUsersPickInTheDialogIsTheRunsLanguage) {
  const Choice choice = ChooseWithDialog(
      {L"de", L"en", L"fr"},
      {Do([](HWND dialog) {
         sfxui_test::PressKey(::GetDlgItem(dialog, IDC_LANGUAGE_COMBO), VK_UP);
       }),
       [](HWND dialog) {
         if (language_test::SelectedItemText(dialog) == L"German [Deutsch]") return false;
         sfxui_test::ClickButton(dialog, IDOK);
         return true;
       }});
  EXPECT_EQ(status::kOk, choice.result);
  EXPECT_EQ(L"fr", choice.tag);
}

TEST(UnderAustralianEnglishUi, TheProcessRunsWithAnAustralianEnglishUi) {
  EXPECT_EQ(L"en-AU", UiLanguage());
}

TEST(UnderAustralianEnglishUi, BritishEnglishComesBeforeAmericanEnglish) {
  const Choice choice = ChooseWithoutDialog({L"en-US", L"en-GB"});
  EXPECT_EQ(status::kOk, choice.result);
  EXPECT_EQ(L"en-GB", choice.tag);
}

TEST(UnderAmericanEnglishUi, TheProcessRunsWithAnAmericanEnglishUi) {
  EXPECT_EQ(L"en-US", UiLanguage());
}

TEST(UnderAmericanEnglishUi, AmericanEnglishBeatsBritishEnglish) {
  const Choice choice = ChooseWithoutDialog({L"en-GB", L"en-US"});
  EXPECT_EQ(status::kOk, choice.result);
  EXPECT_EQ(L"en-US", choice.tag);
}

TEST(UnderJapaneseUi, TheProcessRunsWithAJapaneseUi) { EXPECT_EQ(L"ja-JP", UiLanguage()); }

TEST(UnderJapaneseUi, NeitherJapaneseNorEnglishEndsWithNoMatch) {
  const Choice choice = ChooseWithoutDialog({L"de", L"fr"});
  EXPECT_EQ(status::kInvalidConfiguration, choice.result);
  EXPECT_EQ(L"", choice.tag);
}

TEST(UnderJapaneseUi, AnyEnglishIsTheFallback) {
  const Choice choice = ChooseWithoutDialog({L"fr", L"en-US"});
  EXPECT_EQ(status::kOk, choice.result);
  EXPECT_EQ(L"en-US", choice.tag);
}

TEST(UnderJapaneseUi, PlainEnglishIsPreferredAsFallback) {
  const Choice choice = ChooseWithoutDialog({L"en-GB", L"en", L"fr"});
  EXPECT_EQ(status::kOk, choice.result);
  EXPECT_EQ(L"en", choice.tag);
}

TEST(UnderJapaneseUi, UpperCaseEnIsNotEnglish) {
  const Choice choice = ChooseWithoutDialog({L"EN", L"fr"});
  EXPECT_EQ(status::kInvalidConfiguration, choice.result);
  EXPECT_EQ(L"", choice.tag);
}

TEST(UnderJapaneseUi, OkInTheDialogTakesTheFirstItemWhenNothingMatched) {
  const Choice choice = ChooseWithDialog(
      {L"de", L"fr"}, {Do([](HWND dialog) { sfxui_test::ClickButton(dialog, IDOK); })});
  EXPECT_EQ(status::kOk, choice.result);
  EXPECT_EQ(L"fr", choice.tag);  // "French [...]" sorts before "German [...]"
}

TEST(UnderJapaneseUi, QuittingTheDialogWithoutAMatchEndsWithNoMatch) {
  const Choice choice = ChooseWithDialog({L"de", L"fr"}, {Do([](HWND dialog) {
    ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(ID_APP_EXIT, 0), 0);
  })});
  EXPECT_EQ(status::kInvalidConfiguration, choice.result);
  EXPECT_EQ(L"", choice.tag);
}

TEST(UnderFrenchUi, TheProcessRunsWithAFrenchUi) { EXPECT_EQ(L"fr-FR", UiLanguage()); }

TEST(UnderFrenchUi, FrenchIsChosenFromGermanEnglishFrench) {
  const Choice choice = ChooseWithoutDialog({L"de", L"en", L"fr"});
  EXPECT_EQ(status::kOk, choice.result);
  EXPECT_EQ(L"fr", choice.tag);
}

TEST(UnderFrenchUi, FrenchForFranceBeatsFrenchForCanada) {
  const Choice choice = ChooseWithoutDialog({L"fr-CA", L"fr-FR"});
  EXPECT_EQ(status::kOk, choice.result);
  EXPECT_EQ(L"fr-FR", choice.tag);
}

TEST(UnderFrenchUi, UpperCaseFrIsNotFrenchButEnglishIsTheFallback) {
  const Choice choice = ChooseWithoutDialog({L"FR", L"en"});
  EXPECT_EQ(status::kOk, choice.result);
  EXPECT_EQ(L"en", choice.tag);
}

TEST(UnderSerbianLatinUi, TheProcessRunsWithASerbianLatinUi) {
  EXPECT_EQ(L"sr-Latn-RS", UiLanguage());
}

TEST(UnderSerbianLatinUi, ScriptAndRegionTogetherComeFirst) {
  const Choice choice = ChooseWithoutDialog({L"sr-Cyrl-RS", L"sr-Latn", L"sr-Latn-RS"});
  EXPECT_EQ(status::kOk, choice.result);
  EXPECT_EQ(L"sr-Latn-RS", choice.tag);
}

TEST(UnderSerbianLatinUi, SameScriptBeatsSameRegion) {
  const Choice choice = ChooseWithoutDialog({L"sr-Cyrl-RS", L"sr-Latn"});
  EXPECT_EQ(status::kOk, choice.result);
  EXPECT_EQ(L"sr-Latn", choice.tag);
}

}  // namespace
