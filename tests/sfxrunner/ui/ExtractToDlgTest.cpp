// The target folder dialog, driven as a user would: it shows the folder, takes typed text,
// and ends with Extract or one of the ways to cancel.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "Cfg.h"
#include "ExtractToDlg.h"
#include "ModalScript.h"

namespace {

using sfxui_test::ClickButton;
using sfxui_test::PressKey;
using sfxui_test::Step;
using sfxui_test::TextOf;
using sfxui_test::TypeText;

constexpr wchar_t kTitle[] = L"Veltrano Driver Package 1.2";
constexpr wchar_t kInitialPath[] = L"C:\\Program Files\\Veltrano\\Driver";

class ExtractToDlgTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_cfg.title = kTitle;
    dialog.path = kInitialPath;
  }

  INT_PTR Run(std::vector<Step> steps) {
    return sfxui_test::RunScripted([this] { return dialog.m_hWnd; }, std::move(steps),
                                   [this] { return dialog.DoModal(nullptr); });
  }

  // A step that does something once.
  static Step Do(std::function<void(HWND)> action) {
    return [action](HWND window) {
      action(window);
      return true;
    };
  }

  ExtractToDlg dialog;
};

TEST_F(ExtractToDlgTest, ShowsTheTitleAndTheInitialPath) {
  std::wstring caption;
  std::wstring shown;
  const INT_PTR result = Run({Do([&](HWND window) {
                                caption = TextOf(window);
                                shown = TextOf(::GetDlgItem(window, IDC_TARGET_PATH));
                              }),
                              Do([](HWND window) { ClickButton(window, IDCANCEL); })});
  EXPECT_EQ(IDCANCEL, result);
  EXPECT_EQ(kTitle, caption);
  EXPECT_EQ(kInitialPath, shown);
}

TEST_F(ExtractToDlgTest, TypedTextFollowedByEnterIsReturned) {
  std::wstring pathWhileTyping;
  const INT_PTR result = Run({Do([&](HWND window) {
                                HWND edit = ::GetDlgItem(window, IDC_TARGET_PATH);
                                TypeText(edit, L"D:\\Drivers\\Audio");
                                pathWhileTyping = dialog.path;
                                PressKey(edit, VK_RETURN);
                              })});
  EXPECT_EQ(IDOK, result);
  EXPECT_EQ(L"D:\\Drivers\\Audio", pathWhileTyping);
  EXPECT_EQ(L"D:\\Drivers\\Audio", dialog.path);
}

TEST_F(ExtractToDlgTest, ExtractReturnsARelativePathAsItStands) {
  const INT_PTR result = Run({Do([](HWND window) {
                                ::SetDlgItemTextW(window, IDC_TARGET_PATH, L"relative\\dir ");
                                ClickButton(window, IDOK);
                              })});
  EXPECT_EQ(IDOK, result);
  EXPECT_EQ(L"relative\\dir ", dialog.path);
}

// An empty or blank field would extract into the root of the current drive: Extract is
// offered again once a folder is typed, and only then does Enter end the dialog.
TEST_F(ExtractToDlgTest, BlankPathIsNotAcceptedUntilAFolderIsTyped) {
  bool enabledWhenEmpty = true, enabledWhenBlank = true, enabledWithFolder = false;
  const INT_PTR result = Run({
      Do([&](HWND window) {
        ::SetDlgItemTextW(window, IDC_TARGET_PATH, L"");
        enabledWhenEmpty = ::IsWindowEnabled(::GetDlgItem(window, IDOK)) != FALSE;
        PressKey(::GetDlgItem(window, IDC_TARGET_PATH), VK_RETURN);
        ::SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
      }),
      Do([&](HWND window) {
        TypeText(::GetDlgItem(window, IDC_TARGET_PATH), L"   ");
        enabledWhenBlank = ::IsWindowEnabled(::GetDlgItem(window, IDOK)) != FALSE;
        PressKey(::GetDlgItem(window, IDC_TARGET_PATH), VK_RETURN);
      }),
      Do([&](HWND window) {
        ::SetDlgItemTextW(window, IDC_TARGET_PATH, L"D:\\Audio");
        enabledWithFolder = ::IsWindowEnabled(::GetDlgItem(window, IDOK)) != FALSE;
        PressKey(::GetDlgItem(window, IDC_TARGET_PATH), VK_RETURN);
      })});
  EXPECT_FALSE(enabledWhenEmpty);
  EXPECT_FALSE(enabledWhenBlank);
  EXPECT_TRUE(enabledWithFolder);
  EXPECT_EQ(IDOK, result);  // from the last step: the earlier ones left the dialog open
  EXPECT_EQ(L"D:\\Audio", dialog.path);
}

TEST_F(ExtractToDlgTest, EmptyInitialPathOpensWithoutExtract) {
  dialog.path.clear();
  bool enabled = true;
  const INT_PTR result = Run({Do([&](HWND window) {
                                enabled = ::IsWindowEnabled(::GetDlgItem(window, IDOK)) != FALSE;
                                ClickButton(window, IDCANCEL);
                              })});
  EXPECT_EQ(IDCANCEL, result);
  EXPECT_FALSE(enabled);
}

TEST_F(ExtractToDlgTest, EscapeCancels) {
  const INT_PTR result = Run({Do([](HWND window) {
    PressKey(::GetDlgItem(window, IDC_TARGET_PATH), VK_ESCAPE);
  })});
  EXPECT_EQ(IDCANCEL, result);
  EXPECT_EQ(kInitialPath, dialog.path);
}

TEST_F(ExtractToDlgTest, CancelButtonCancels) {
  EXPECT_EQ(IDCANCEL, Run({Do([](HWND window) { ClickButton(window, IDCANCEL); })}));
}

TEST_F(ExtractToDlgTest, AppExitCommandCancels) {
  EXPECT_EQ(IDCANCEL, Run({Do([](HWND window) {
              ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(ID_APP_EXIT, 0), 0);
            })}));
}

TEST_F(ExtractToDlgTest, GrowingTheWindowWidensThePathAndMovesTheButtons) {
  RECT editBefore = {}, editAfter = {}, okBefore = {}, okAfter = {};
  LONG browseShift = 0;
  const INT_PTR result = Run({Do([&](HWND window) {
                                RECT browseBefore = {}, browseAfter = {}, frame = {};
                                ::GetWindowRect(::GetDlgItem(window, IDC_TARGET_PATH), &editBefore);
                                ::GetWindowRect(::GetDlgItem(window, IDOK), &okBefore);
                                ::GetWindowRect(::GetDlgItem(window, IDC_BROWSE), &browseBefore);
                                ::GetWindowRect(window, &frame);
                                ::SetWindowPos(window, nullptr, 0, 0,
                                               frame.right - frame.left + 150,
                                               frame.bottom - frame.top + 30,
                                               SWP_NOMOVE | SWP_NOZORDER);
                                ::GetWindowRect(::GetDlgItem(window, IDC_TARGET_PATH), &editAfter);
                                ::GetWindowRect(::GetDlgItem(window, IDOK), &okAfter);
                                ::GetWindowRect(::GetDlgItem(window, IDC_BROWSE), &browseAfter);
                                browseShift = browseAfter.left - browseBefore.left;
                                ClickButton(window, IDCANCEL);
                              })});
  EXPECT_EQ(IDCANCEL, result);
  EXPECT_EQ(editBefore.right - editBefore.left + 150, editAfter.right - editAfter.left);
  EXPECT_EQ(editBefore.left, editAfter.left);
  EXPECT_EQ(150, okAfter.left - okBefore.left);
  EXPECT_EQ(okBefore.top, okAfter.top);  // only the width follows the window
  EXPECT_EQ(150, browseShift);
}

TEST_F(ExtractToDlgTest, CancelledBrowserLeavesThePathAsItWas) {
  bool browserHasTitle = false;
  const INT_PTR result = Run({
      Do([](HWND window) { ClickButton(window, IDC_BROWSE); }),
      [&](HWND window) {
        HWND browser = sfxui_test::FindOtherDialog(window);
        if (!browser) return false;
        browserHasTitle = sfxui_test::HasChildWithText(
            browser, L"Specify a location for the files to be extracted.");
        ::PostMessageW(browser, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        return true;
      },
      [](HWND window) {
        if (sfxui_test::FindOtherDialog(window)) return false;  // still closing
        ClickButton(window, IDCANCEL);
        return true;
      },
  });
  EXPECT_EQ(IDCANCEL, result);
  EXPECT_TRUE(browserHasTitle);
  EXPECT_EQ(kInitialPath, dialog.path);
}

TEST_F(ExtractToDlgTest, BrowserOpensOnTheExistingFolderAndItsChoiceBecomesThePath) {
  wchar_t windows[MAX_PATH] = {};
  ASSERT_NE(0u, ::GetWindowsDirectoryW(windows, MAX_PATH));
  // The trailing separator is not part of what the browser gives back, so a changed path
  // shows that the browser's choice was taken.
  const std::wstring initial = std::wstring(windows) + L"\\";
  dialog.path = initial;
  std::wstring shown;
  const INT_PTR result = Run({
      Do([](HWND window) { ClickButton(window, IDC_BROWSE); }),
      [](HWND window) {
        HWND browser = sfxui_test::FindOtherDialog(window);
        if (!browser) return false;
        // Accept what the browser selected on opening.
        ::PostMessageW(browser, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        return true;
      },
      [&](HWND window) {
        if (sfxui_test::FindOtherDialog(window)) return false;
        shown = TextOf(::GetDlgItem(window, IDC_TARGET_PATH));
        ClickButton(window, IDOK);
        return true;
      },
  });
  EXPECT_EQ(IDOK, result);
  EXPECT_NE(initial, dialog.path);
  EXPECT_EQ(0, ::lstrcmpiW(windows, dialog.path.c_str())) << dialog.path;
  EXPECT_EQ(dialog.path, shown);
}

}  // namespace
