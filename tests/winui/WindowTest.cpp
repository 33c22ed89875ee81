// The window wrapper: texts and centring.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "TestDialogs.h"

namespace {

using winui_test::TestDlg;

POINT CenterOf(const RECT& rect) {
  return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

RECT WorkAreaOf(HWND window) {
  MONITORINFO info = {};
  info.cbSize = sizeof(info);
  ::GetMonitorInfoW(::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info);
  return info.rcWork;
}

void ExpectNear(POINT expected, POINT actual) {
  EXPECT_LE(std::abs(expected.x - actual.x), 1) << expected.x << " vs " << actual.x;
  EXPECT_LE(std::abs(expected.y - actual.y), 1) << expected.y << " vs " << actual.y;
}

TEST(Window, WindowWithoutParentOrOwnerIsCentredOnTheWorkArea) {
  TestDlg dialog;
  ASSERT_NE(nullptr, dialog.Create(nullptr));
  dialog.SetWindowPos(nullptr, 3, 5, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  EXPECT_TRUE(dialog.CenterWindow());
  RECT window = {};
  dialog.GetWindowRect(&window);
  ExpectNear(CenterOf(WorkAreaOf(dialog)), CenterOf(window));
  dialog.DestroyWindow();
}

TEST(Window, OwnedWindowIsCentredOverItsVisibleOwner) {
  TestDlg owner;
  ASSERT_NE(nullptr, owner.Create(nullptr));
  owner.SetWindowPos(nullptr, 100, 80, 500, 400, SWP_NOZORDER | SWP_SHOWWINDOW);
  TestDlg owned;
  ASSERT_NE(nullptr, owned.Create(owner));
  EXPECT_TRUE(owned.CenterWindow());
  RECT ownerRect = {};
  RECT ownedRect = {};
  owner.GetWindowRect(&ownerRect);
  owned.GetWindowRect(&ownedRect);
  ExpectNear(CenterOf(ownerRect), CenterOf(ownedRect));
  owner.DestroyWindow();
}

TEST(Window, CentredWindowStaysInsideTheWorkArea) {
  TestDlg target;
  ASSERT_NE(nullptr, target.Create(nullptr));
  const RECT area = WorkAreaOf(target);
  // A window centred over one at the top-left corner would stick out of the work area.
  target.SetWindowPos(nullptr, area.left, area.top, 20, 20, SWP_NOZORDER | SWP_SHOWWINDOW);
  TestDlg dialog;
  ASSERT_NE(nullptr, dialog.Create(nullptr));
  EXPECT_TRUE(dialog.CenterWindow(target));
  RECT window = {};
  dialog.GetWindowRect(&window);
  EXPECT_EQ(area.left, window.left);
  EXPECT_EQ(area.top, window.top);
  dialog.DestroyWindow();
  target.DestroyWindow();
}

TEST(Window, TextsAreReadWhole) {
  TestDlg dialog;
  ASSERT_NE(nullptr, dialog.Create(nullptr));
  const std::wstring longText(700, L'x');
  dialog.SetDlgItemText(IDC_TEST_EDIT, longText.c_str());
  EXPECT_EQ(longText, dialog.GetDlgItemTextString(IDC_TEST_EDIT));
  dialog.SetWindowText(L"");
  EXPECT_EQ(L"", dialog.GetWindowTextString());
  dialog.DestroyWindow();
}

TEST(Window, ModifyStyleReportsWhetherAnythingChanged) {
  TestDlg dialog;
  ASSERT_NE(nullptr, dialog.Create(nullptr));
  EXPECT_TRUE(dialog.ModifyStyleEx(0, WS_EX_CLIENTEDGE, SWP_FRAMECHANGED));
  EXPECT_NE(0u, dialog.GetExStyle() & WS_EX_CLIENTEDGE);
  EXPECT_FALSE(dialog.ModifyStyleEx(0, WS_EX_CLIENTEDGE));
  dialog.DestroyWindow();
}

}  // namespace
