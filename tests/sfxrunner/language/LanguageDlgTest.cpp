// The language dialog, driven as a user would: the languages by name in sorted order, the
// automatic choice pre-selected, OK as the only way out, and the program's quit command.
#include <gtest/gtest.h>

#include <windows.h>

#include "Cfg.h"
#include "LanguageDlg.h"
#include "LanguageDlgDriver.h"
#include "LanguageMgr.h"
#include "LanguageTestSupport.h"
#include "ModalScript.h"

namespace {

using language_test::ComboItems;
using language_test::Do;
using language_test::SelectedItemText;
using language_test::ParsedAll;
using sfxui_test::ClickButton;
using sfxui_test::PressKey;
using sfxui_test::Step;
using sfxui_test::TextOf;

constexpr wchar_t kTitle[] = L"Veltrano USB Audio Driver 4.2";
constexpr wchar_t kEnglish[] = L"English";
constexpr wchar_t kFrench[] = L"French [fran\u00E7ais]";
constexpr wchar_t kGerman[] = L"German [Deutsch]";

class LanguageDlgTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_cfg.title = kTitle;
    languages.candidates = ParsedAll({L"de", L"en", L"fr"});
  }

  INT_PTR Run(std::vector<Step> steps) {
    return sfxui_test::RunScripted([this] { return dialog.m_hWnd; }, std::move(steps),
                                   [this] { return dialog.DoModal(nullptr); });
  }

  LanguageMgr languages;
  LanguageDlg dialog{languages};
};

TEST_F(LanguageDlgTest, ShowsTheTitlePromptAndTheLanguagesSortedByName) {
  std::wstring caption, prompt;
  std::vector<std::wstring> items;
  const INT_PTR result = Run({Do([&](HWND window) {
                                caption = TextOf(window);
                                prompt = TextOf(::GetDlgItem(window, IDC_LANGUAGE_PROMPT));
                                items = ComboItems(window);
                                ClickButton(window, IDOK);
                              })});
  EXPECT_EQ(IDOK, result);
  EXPECT_EQ(kTitle, caption);
  EXPECT_EQ(L"Please select a language.", prompt);
  EXPECT_EQ((std::vector<std::wstring>{kEnglish, kFrench, kGerman}), items);
}

TEST_F(LanguageDlgTest, TheMatchedLanguageIsPreselectedAndOkKeepsIt) {
  languages.selected = languages.candidates[2];  // fr
  std::wstring shown;
  const INT_PTR result = Run({Do([&](HWND window) {
                                shown = SelectedItemText(window);
                                ClickButton(window, IDOK);
                              })});
  EXPECT_EQ(IDOK, result);
  EXPECT_EQ(kFrench, shown);
  EXPECT_EQ(L"fr", languages.selected.tag);
  EXPECT_EQ(L"French", languages.selected.localizedDisplayName);
}

TEST_F(LanguageDlgTest, WithoutAMatchTheFirstItemIsPreselected) {
  std::wstring shown;
  const INT_PTR result = Run({Do([&](HWND window) {
                                shown = SelectedItemText(window);
                                ClickButton(window, IDOK);
                              })});
  EXPECT_EQ(IDOK, result);
  EXPECT_EQ(kEnglish, shown);
  EXPECT_EQ(L"en", languages.selected.tag);
}

TEST_F(LanguageDlgTest, AMatchNotInTheListFallsBackToTheFirstItem) {
  languages.selected = ParsedAll({L"es"})[0];
  std::wstring chosen;
  const INT_PTR result = Run({Do([&](HWND window) {
                                chosen = dialog.chosenTag();
                                ClickButton(window, IDOK);
                              })});
  EXPECT_EQ(IDOK, result);
  EXPECT_EQ(L"en", chosen);
  EXPECT_EQ(L"en", languages.selected.tag);
}

TEST_F(LanguageDlgTest, TheItemTheUserPicksBecomesTheSelection) {
  languages.selected = languages.candidates[1];  // en, the first item
  std::wstring shown;
  const INT_PTR result = Run({
      Do([](HWND window) { PressKey(::GetDlgItem(window, IDC_LANGUAGE_COMBO), VK_DOWN); }),
      [&](HWND window) {
        shown = SelectedItemText(window);
        if (shown == kEnglish) return false;  // the key is still on its way
        ClickButton(window, IDOK);
        return true;
      },
  });
  EXPECT_EQ(IDOK, result);
  EXPECT_EQ(kFrench, shown);
  EXPECT_EQ(L"fr", languages.selected.tag);
}

TEST_F(LanguageDlgTest, EscapeAndCloseDoNothing) {
  languages.selected = languages.candidates[0];  // de
  bool openAfterEscape = false;
  const INT_PTR result = Run({
      Do([](HWND window) {
        PressKey(::GetDlgItem(window, IDC_LANGUAGE_COMBO), VK_ESCAPE);
        ::PostMessageW(window, WM_CLOSE, 0, 0);
        ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
      }),
      Do([](HWND) {}),  // a tick later: the posted messages have been served
      Do([&](HWND window) {
        openAfterEscape = ::IsWindowVisible(window) != FALSE;
        ClickButton(window, IDOK);
      }),
  });
  EXPECT_TRUE(openAfterEscape);
  EXPECT_EQ(IDOK, result);
  EXPECT_EQ(L"de", languages.selected.tag);
}

TEST_F(LanguageDlgTest, AppExitEndsWithCancelAndKeepsTheAutomaticChoice) {
  languages.selected = languages.candidates[0];  // de
  const INT_PTR result = Run({
      Do([](HWND window) {
        // The user looks at another language, then the program is told to quit.
        PressKey(::GetDlgItem(window, IDC_LANGUAGE_COMBO), VK_DOWN);
      }),
      Do([](HWND window) {
        ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(ID_APP_EXIT, 0), 0);
      }),
  });
  EXPECT_EQ(IDCANCEL, result);
  EXPECT_EQ(L"de", languages.selected.tag);
}

TEST_F(LanguageDlgTest, OkWithNoItemSelectedCancels) {
  languages.selected = languages.candidates[0];
  const INT_PTR result = Run({Do([](HWND window) {
    HWND combo = ::GetDlgItem(window, IDC_LANGUAGE_COMBO);
    ::SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    ::SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDC_LANGUAGE_COMBO, CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(combo));
    ClickButton(window, IDOK);
  })});
  EXPECT_EQ(IDCANCEL, result);
  EXPECT_EQ(L"de", languages.selected.tag);
}

TEST_F(LanguageDlgTest, NoCandidatesEndsAtOnceWithOk) {
  languages.candidates.clear();
  EXPECT_EQ(IDOK, Run({}));
  EXPECT_TRUE(languages.selected.IsEmpty());
}

TEST_F(LanguageDlgTest, GrowingTheWindowWidensTheListAndMovesOk) {
  RECT comboBefore = {}, comboAfter = {}, okBefore = {}, okAfter = {};
  LONG promptGrowth = 0;
  LONG shrunkWidth = 0, initialWidth = 0;
  const INT_PTR result = Run({Do([&](HWND window) {
    RECT promptBefore = {}, promptAfter = {}, frame = {};
    HWND combo = ::GetDlgItem(window, IDC_LANGUAGE_COMBO);
    HWND prompt = ::GetDlgItem(window, IDC_LANGUAGE_PROMPT);
    HWND ok = ::GetDlgItem(window, IDOK);
    ::GetWindowRect(combo, &comboBefore);
    ::GetWindowRect(ok, &okBefore);
    ::GetWindowRect(prompt, &promptBefore);
    ::GetWindowRect(window, &frame);
    initialWidth = frame.right - frame.left;
    ::SetWindowPos(window, nullptr, 0, 0, initialWidth + 120, frame.bottom - frame.top + 40,
                   SWP_NOMOVE | SWP_NOZORDER);
    ::GetWindowRect(combo, &comboAfter);
    ::GetWindowRect(ok, &okAfter);
    ::GetWindowRect(prompt, &promptAfter);
    promptGrowth = (promptAfter.right - promptAfter.left) - (promptBefore.right - promptBefore.left);
    ::SetWindowPos(window, nullptr, 0, 0, 50, 30, SWP_NOMOVE | SWP_NOZORDER);
    ::GetWindowRect(window, &frame);
    shrunkWidth = frame.right - frame.left;
    ClickButton(window, IDOK);
  })});
  EXPECT_EQ(IDOK, result);
  EXPECT_EQ(comboBefore.right - comboBefore.left + 120, comboAfter.right - comboAfter.left);
  EXPECT_EQ(comboBefore.left, comboAfter.left);
  EXPECT_EQ(120, promptGrowth);
  EXPECT_EQ(120, okAfter.left - okBefore.left);
  EXPECT_EQ(okBefore.top, okAfter.top);  // only the width follows the window
  EXPECT_EQ(initialWidth, shrunkWidth);  // never smaller than it opened
}

}  // namespace
