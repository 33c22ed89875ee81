// The stub's dialog templates: sizes, styles and the texts the user reads.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "DialogImpl.h"
#include "ModalScript.h"
#include "resource.h"

namespace {

using sfxui_test::TextOf;

// Any template, opened modeless with no behaviour of its own.
template <int Id>
class PlainDlg : public winui::CDialogImpl<PlainDlg<Id>> {
 public:
  enum { IDD = Id };
  BEGIN_MSG_MAP(PlainDlg)
  END_MSG_MAP()
};

// The client area in dialog units, as the template gives it.
SIZE ClientSizeInDialogUnits(HWND dialog, int width, int height) {
  RECT units = {0, 0, width, height};
  ::MapDialogRect(dialog, &units);
  return {units.right, units.bottom};
}

SIZE ClientSize(HWND window) {
  RECT rect = {};
  ::GetClientRect(window, &rect);
  return {rect.right, rect.bottom};
}

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  ::GetClassNameW(window, name, 64);
  return name;
}

void ExpectFrame(HWND dialog, int width, int height, bool visible) {
  const SIZE expected = ClientSizeInDialogUnits(dialog, width, height);
  const SIZE actual = ClientSize(dialog);
  EXPECT_EQ(expected.cx, actual.cx);
  EXPECT_EQ(expected.cy, actual.cy);
  const LONG style = ::GetWindowLongW(dialog, GWL_STYLE);
  EXPECT_NE(0, style & WS_CAPTION);
  EXPECT_NE(0, style & WS_THICKFRAME);
  EXPECT_EQ(0, style & WS_SYSMENU);  // no close box
  EXPECT_EQ(visible, (style & WS_VISIBLE) != 0);
  EXPECT_EQ(L"###", TextOf(dialog));
}

TEST(DialogTemplates, LanguageTemplateHasPromptSortedListAndOk) {
  PlainDlg<IDD_LANGUAGE> dialog;
  ASSERT_NE(nullptr, dialog.Create(nullptr));
  ExpectFrame(dialog, 215, 79, true);
  EXPECT_EQ(L"Please select a language.", TextOf(dialog.GetDlgItem(IDC_LANGUAGE_PROMPT)));
  HWND combo = dialog.GetDlgItem(IDC_LANGUAGE_COMBO);
  EXPECT_EQ(L"ComboBox", ClassOf(combo));
  const LONG comboStyle = ::GetWindowLongW(combo, GWL_STYLE);
  EXPECT_EQ(CBS_DROPDOWNLIST, comboStyle & 0x3);
  EXPECT_NE(0, comboStyle & CBS_SORT);
  EXPECT_EQ(L"OK", TextOf(dialog.GetDlgItem(IDOK)));
  EXPECT_EQ(IDOK, LOWORD(dialog.SendMessage(DM_GETDEFID)));
  dialog.DestroyWindow();
}

TEST(DialogTemplates, ProgressTemplateIsHiddenWithAMarqueeBar) {
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_PROGRESS_CLASS};
  ::InitCommonControlsEx(&controls);
  PlainDlg<IDD_PROGRESS> dialog;
  ASSERT_NE(nullptr, dialog.Create(nullptr));
  ExpectFrame(dialog, 182, 29, false);
  EXPECT_EQ(L"msctls_progress32", ClassOf(dialog.GetDlgItem(IDC_PROGRESS_BAR)));
  dialog.DestroyWindow();
}

TEST(DialogTemplates, ExtractToTemplateHasPathBrowseExtractAndCancel) {
  PlainDlg<IDD_EXTRACT_TO> dialog;
  ASSERT_NE(nullptr, dialog.Create(nullptr));
  ExpectFrame(dialog, 311, 78, true);
  EXPECT_TRUE(sfxui_test::HasChildWithText(dialog, L"Extract to:"));
  EXPECT_EQ(L"Edit", ClassOf(dialog.GetDlgItem(IDC_TARGET_PATH)));
  EXPECT_EQ(L"...", TextOf(dialog.GetDlgItem(IDC_BROWSE)));
  EXPECT_EQ(L"Extract", TextOf(dialog.GetDlgItem(IDOK)));
  EXPECT_EQ(L"Cancel", TextOf(dialog.GetDlgItem(IDCANCEL)));
  EXPECT_EQ(IDOK, LOWORD(dialog.SendMessage(DM_GETDEFID)));
  dialog.DestroyWindow();
}

}  // namespace
