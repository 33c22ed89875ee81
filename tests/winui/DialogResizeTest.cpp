// Controls follow the window's size by their rules; the window keeps a minimum size.
#include <gtest/gtest.h>

#include "TestDialogs.h"

namespace {

using winui_test::ControlRect;
using winui_test::ResizeDlg;
using winui_test::WindowSize;

void ExpectRect(const RECT& expected, const RECT& actual, const char* what) {
  EXPECT_EQ(expected.left, actual.left) << what;
  EXPECT_EQ(expected.top, actual.top) << what;
  EXPECT_EQ(expected.right, actual.right) << what;
  EXPECT_EQ(expected.bottom, actual.bottom) << what;
}

RECT Shifted(RECT rect, int left, int top, int right, int bottom) {
  rect.left += left;
  rect.top += top;
  rect.right += right;
  rect.bottom += bottom;
  return rect;
}

void Resize(HWND window, int dx, int dy) {
  const SIZE size = WindowSize(window);
  ::SetWindowPos(window, nullptr, 0, 0, size.cx + dx, size.cy + dy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

class DialogResizeTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(nullptr, dialog.Create(nullptr)); }
  void TearDown() override {
    if (dialog.m_hWnd) dialog.DestroyWindow();
  }
  ResizeDlg dialog;
};

TEST_F(DialogResizeTest, GrowingTheWindowMovesAndStretchesControlsByTheirRules) {
  const RECT label = ControlRect(dialog, IDC_TEST_LABEL);
  const RECT edit = ControlRect(dialog, IDC_TEST_EDIT);
  const RECT browse = ControlRect(dialog, IDC_TEST_BROWSE);
  const RECT list = ControlRect(dialog, IDC_TEST_LIST);
  const RECT tall = ControlRect(dialog, IDC_TEST_TALL);
  const RECT corner = ControlRect(dialog, IDC_TEST_CORNER);

  Resize(dialog, 90, 60);

  ExpectRect(label, ControlRect(dialog, IDC_TEST_LABEL), "no rule");
  ExpectRect(Shifted(edit, 0, 0, 90, 0), ControlRect(dialog, IDC_TEST_EDIT), "size x");
  ExpectRect(Shifted(browse, 90, 0, 90, 0), ControlRect(dialog, IDC_TEST_BROWSE), "move x");
  ExpectRect(Shifted(list, 0, 0, 90, 60), ControlRect(dialog, IDC_TEST_LIST), "size x, y");
  ExpectRect(Shifted(tall, 0, 60, 90, 60), ControlRect(dialog, IDC_TEST_TALL), "size x, move y");
  ExpectRect(Shifted(corner, 90, 60, 90, 60), ControlRect(dialog, IDC_TEST_CORNER), "move x, y");
}

TEST_F(DialogResizeTest, ReturningToTheInitialSizeRestoresTheInitialLayout) {
  const RECT list = ControlRect(dialog, IDC_TEST_LIST);
  const RECT corner = ControlRect(dialog, IDC_TEST_CORNER);
  Resize(dialog, 120, 45);
  Resize(dialog, -120, -45);
  ExpectRect(list, ControlRect(dialog, IDC_TEST_LIST), "list");
  ExpectRect(corner, ControlRect(dialog, IDC_TEST_CORNER), "corner");
}

TEST_F(DialogResizeTest, MinimumTrackingSizeIsTheInitialWindowSize) {
  const SIZE initial = WindowSize(dialog);
  Resize(dialog, 50, 50);
  MINMAXINFO info = {};
  dialog.SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(initial.cx, info.ptMinTrackSize.x);
  EXPECT_EQ(initial.cy, info.ptMinTrackSize.y);
}

TEST_F(DialogResizeTest, SizeGripSitsInTheBottomRightCornerAndFollowsIt) {
  HWND grip = dialog.GetDlgItem(winui::kSizeGripId);
  ASSERT_NE(nullptr, grip);
  wchar_t className[32] = {};
  ::GetClassNameW(grip, className, 32);
  EXPECT_EQ(0, ::lstrcmpiW(L"ScrollBar", className));
  EXPECT_NE(0, ::GetWindowLongW(grip, GWL_STYLE) & SBS_SIZEGRIP);

  Resize(dialog, 70, 30);
  RECT client = {};
  dialog.GetClientRect(&client);
  const RECT gripRect = ControlRect(dialog, winui::kSizeGripId);
  EXPECT_EQ(client.right, gripRect.right);
  EXPECT_EQ(client.bottom, gripRect.bottom);
}

TEST_F(DialogResizeTest, SizeGripIsHiddenWhileMaximised) {
  HWND grip = dialog.GetDlgItem(winui::kSizeGripId);
  ASSERT_NE(nullptr, grip);
  dialog.ShowWindow(SW_MAXIMIZE);
  EXPECT_EQ(0, ::GetWindowLongW(grip, GWL_STYLE) & WS_VISIBLE);
  dialog.ShowWindow(SW_RESTORE);
  EXPECT_NE(0, ::GetWindowLongW(grip, GWL_STYLE) & WS_VISIBLE);
}

TEST(DialogResize, WithoutGripAndMinimumNeitherIsApplied) {
  ResizeDlg dialog;
  dialog.addGrip = false;
  dialog.useMinTrackSize = false;
  ASSERT_NE(nullptr, dialog.Create(nullptr));
  EXPECT_EQ(nullptr, dialog.GetDlgItem(winui::kSizeGripId));
  MINMAXINFO info = {};
  info.ptMinTrackSize = {3, 4};
  dialog.SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(3, info.ptMinTrackSize.x);
  EXPECT_EQ(4, info.ptMinTrackSize.y);
  dialog.DestroyWindow();
}

}  // namespace
