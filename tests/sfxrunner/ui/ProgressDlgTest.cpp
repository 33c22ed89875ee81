// The progress window: the run's title, a running marquee, and no way for the user to close it.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <string>

#include "Cfg.h"
#include "ModalScript.h"
#include "ProgressDlg.h"

namespace {

using sfxui_test::TextOf;

void Pump() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

SIZE WindowSize(HWND window) {
  RECT rect = {};
  ::GetWindowRect(window, &rect);
  return {rect.right - rect.left, rect.bottom - rect.top};
}

class ProgressDlgTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The stub's entry does the same before any window exists.
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_PROGRESS_CLASS};
    ::InitCommonControlsEx(&controls);
    g_cfg.title = L"Veltrano Driver Package 1.2";
    ASSERT_NE(nullptr, dialog.Create(nullptr));
  }
  void TearDown() override {
    if (dialog.m_hWnd) dialog.DestroyWindow();
  }
  ProgressDlg dialog;
};

TEST_F(ProgressDlgTest, CaptionIsTheConfigurationsTitle) {
  EXPECT_EQ(L"Veltrano Driver Package 1.2", TextOf(dialog));
}

TEST_F(ProgressDlgTest, StartsHiddenUntilTheWorkerShowsIt) {
  EXPECT_FALSE(::IsWindowVisible(dialog));
  dialog.ShowWindow(SW_SHOWNORMAL);
  EXPECT_TRUE(::IsWindowVisible(dialog));
}

TEST_F(ProgressDlgTest, ProgressBarIsAMarquee) {
  HWND bar = dialog.GetDlgItem(IDC_PROGRESS_BAR);
  ASSERT_NE(nullptr, bar);
  EXPECT_EQ(bar, dialog.progressBar());
  const LONG style = ::GetWindowLongW(bar, GWL_STYLE);
  EXPECT_NE(0, style & PBS_MARQUEE);
  EXPECT_NE(0, style & PBS_SMOOTH);
}

TEST_F(ProgressDlgTest, IsCentredOnTheWorkArea) {
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof(monitor);
  ::GetMonitorInfoW(::MonitorFromWindow(dialog, MONITOR_DEFAULTTONEAREST), &monitor);
  RECT window = {};
  dialog.GetWindowRect(&window);
  const RECT& area = monitor.rcWork;
  EXPECT_LE(std::abs((window.left + window.right) - (area.left + area.right)), 2);
  EXPECT_LE(std::abs((window.top + window.bottom) - (area.top + area.bottom)), 2);
}

TEST_F(ProgressDlgTest, OkCancelAndCloseRequestsLeaveItOpen) {
  dialog.ShowWindow(SW_SHOWNORMAL);
  dialog.SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED));
  dialog.SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED));
  dialog.SendMessage(WM_CLOSE);
  dialog.SendMessage(WM_SYSCOMMAND, SC_CLOSE);
  Pump();
  EXPECT_TRUE(::IsWindow(dialog));
  EXPECT_TRUE(::IsWindowVisible(dialog));
}

TEST_F(ProgressDlgTest, EnterEscapeAndAltF4LeaveItOpen) {
  dialog.ShowWindow(SW_SHOWNORMAL);
  dialog.SetFocus();
  constexpr LPARAM kAltDown = 1 << 29;
  const MSG keys[] = {
      {dialog, WM_KEYDOWN, VK_RETURN, 1, 0, {}},
      {dialog, WM_KEYDOWN, VK_ESCAPE, 1, 0, {}},
      {dialog, WM_SYSKEYDOWN, VK_F4, kAltDown | 1, 0, {}},
  };
  for (MSG key : keys) {
    // The run's loop translates and dispatches; a dialog manager would see the keys too.
    if (!::IsDialogMessageW(dialog, &key)) {
      ::TranslateMessage(&key);
      ::DispatchMessageW(&key);
    }
    Pump();
  }
  EXPECT_TRUE(::IsWindow(dialog));
  EXPECT_TRUE(::IsWindowVisible(dialog));
}

TEST_F(ProgressDlgTest, BarStretchesWithTheWindowWidth) {
  RECT before = {};
  ::GetWindowRect(dialog.progressBar(), &before);
  const SIZE size = WindowSize(dialog);
  dialog.SetWindowPos(nullptr, 0, 0, size.cx + 120, size.cy + 40,
                      SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  RECT after = {};
  ::GetWindowRect(dialog.progressBar(), &after);
  EXPECT_EQ(before.right - before.left + 120, after.right - after.left);
  EXPECT_EQ(before.bottom - before.top, after.bottom - after.top);
}

TEST_F(ProgressDlgTest, CannotBeMadeSmallerThanItStarted) {
  const SIZE initial = WindowSize(dialog);
  MINMAXINFO info = {};
  dialog.SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(initial.cx, info.ptMinTrackSize.x);
  EXPECT_EQ(initial.cy, info.ptMinTrackSize.y);
}

}  // namespace
