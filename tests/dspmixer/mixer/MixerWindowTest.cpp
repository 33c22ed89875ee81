// The mixer window base in-process, over a stand-in driver: the error box and its texts, the
// device changes that wait for an open box and run once after it, the device's open and close,
// and the no-device panel.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "AppModule.h"
#include "Config.h"
#include "MessageBoxes.h"
#include "NoDeviceDlg.h"
#include "SimpleMixerDlg.h"
#include "FakeDriver.h"
#include "SonarixApiDll.h"

namespace {

// The boxes shown, and what a box does while it is open: device changes arrive and a second
// error is reported, as a modal loop would let them happen.
struct BoxScript {
  std::vector<std::wstring> texts;
  HWND window = nullptr;
  SimpleMixerDlg* dialog = nullptr;
  int enumerationsWhileOpen = -1;
};
BoxScript g_boxes;

void PumpMessages() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

int WINAPI ScriptedBox(HWND, const wchar_t* text, const wchar_t*, UINT) {
  g_boxes.texts.push_back(text);
  if (g_boxes.dialog != nullptr) {
    const int before = g_driver.enumerations;
    for (WPARAM change : {1, 2, 1}) ::PostMessageW(g_boxes.window, 0x8003, change, 0);
    PumpMessages();
    g_boxes.dialog->ReportError(g_boxes.window, L"Second", L"Error", 0xEE000044);
    g_boxes.enumerationsWhileOpen = g_driver.enumerations - before;
  }
  return IDOK;
}

class MixerWindow : public ::testing::Test {
 protected:
  MixerWindow() {
    BindFakeDriver(api_);
    g_boxes = BoxScript();
    previousBox_ = SetMessageBoxFunction(ScriptedBox);
  }
  ~MixerWindow() override {
    if (dialog_.IsWindow()) dialog_.DestroyWindow();
    SetMessageBoxFunction(previousBox_);
  }

  SonarixApiDll api_;
  Config config_;
  winui::RegisteredMessageLoop loop_;
  SimpleMixerDlg dialog_{api_, config_};
  MessageBoxFunction previousBox_ = nullptr;
};

}  // namespace

TEST_F(MixerWindow, DeviceChangesDuringTheErrorBoxRunOnceAfterIt) {
  ASSERT_NE(nullptr, dialog_.Create(nullptr));
  ASSERT_EQ(1, g_driver.enumerations);
  g_boxes.window = dialog_.m_hWnd;
  g_boxes.dialog = &dialog_;

  dialog_.ReportError(dialog_.m_hWnd, L"OnInitDialog", L"UpdateDevices", 0xEE000044);

  EXPECT_EQ(0, g_boxes.enumerationsWhileOpen);
  ASSERT_EQ(1u, g_boxes.texts.size());  // the second error was dropped
  EXPECT_NE(std::wstring::npos,
            g_boxes.texts[0].find(L"\n\"OnInitDialog: UpdateDevices -> 0xEE000044\""));
  PumpMessages();
  EXPECT_EQ(2, g_driver.enumerations);  // three changes, one update
  g_boxes.dialog = nullptr;
  dialog_.ReportError(dialog_.m_hWnd, L"Again", L"Later", 0xEE000044);
  PumpMessages();
  EXPECT_EQ(2, g_driver.enumerations);  // nothing was deferred this time
}

TEST_F(MixerWindow, DriverStatusesShowTheirOwnTextsOrNone) {
  ASSERT_NE(nullptr, dialog_.Create(nullptr));
  dialog_.ReportError(dialog_.m_hWnd, L"A", L"B", 0xEE000071);
  EXPECT_TRUE(g_boxes.texts.empty());
  dialog_.ReportError(dialog_.m_hWnd, L"A", L"B", 0xEE001006);
  dialog_.ReportError(dialog_.m_hWnd, L"A", L"B", 0xEE000052);
  dialog_.ReportError(dialog_.m_hWnd, L"Initialize", L"SONARIX_RegisterPnpNotification",
                      0xEE000030);
  ASSERT_EQ(3u, g_boxes.texts.size());
  EXPECT_EQ(L"The configuration file for the driver DLL required to access the device is "
            L"missing.",
            g_boxes.texts[0]);
  EXPECT_EQ(L"The configuration file for the driver DLL required to access the device is "
            L"invalid.",
            g_boxes.texts[1]);
  EXPECT_NE(std::wstring::npos,
            g_boxes.texts[2].find(L"\"Initialize: SONARIX_RegisterPnpNotification -> 0xEE000030\""));
}

TEST_F(MixerWindow, TheWindowOpensOneDeviceAndLetsGoOfItWhenItGoes) {
  ASSERT_NE(nullptr, dialog_.Create(nullptr));
  EXPECT_EQ(1, g_driver.registrations);
  EXPECT_EQ(1, g_driver.opens);
  EXPECT_EQ(0x77u, dialog_.DeviceHandle());
  dialog_.SendMessage(0x8003, 2);  // a device went away: the old one is closed first
  EXPECT_EQ(2, g_driver.opens);
  EXPECT_EQ(1, g_driver.closes);
  dialog_.SendMessage(0x8003, 0);
  dialog_.SendMessage(0x8003, 3);
  EXPECT_EQ(2, g_driver.enumerations);
  dialog_.DestroyWindow();
  EXPECT_EQ(2, g_driver.closes);
  EXPECT_EQ(1, g_driver.unregistrations);
  EXPECT_EQ(0u, dialog_.DeviceHandle());
}

TEST_F(MixerWindow, FailedFirstUpdateEndsTheWindowWithExitCodeTwo) {
  g_driver.enumerateStatus = 0xEE000044;
  dialog_.Create(nullptr);
  EXPECT_FALSE(dialog_.IsWindow());
  ASSERT_EQ(1u, g_boxes.texts.size());
  MSG quit;
  ASSERT_TRUE(::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(2u, quit.wParam);
  EXPECT_EQ(1, g_driver.unregistrations);
}

TEST(NoDevicePanel, ShowsItsTextInASunkenFrameAtItsTemplateSize) {
  HWND parent = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr,
                                  nullptr, nullptr);
  ASSERT_NE(nullptr, parent);
  NoDeviceDlg panel;
  ASSERT_NE(nullptr, panel.Create(parent));
  wchar_t text[64] = {};
  ::GetWindowTextW(panel.TextControl(), text, 64);
  EXPECT_STREQ(L"No device connected.", text);
  EXPECT_NE(0u, panel.GetExStyle() & WS_EX_CLIENTEDGE);
  EXPECT_NE(0u, panel.GetStyle() & WS_CHILD);
  RECT units = {0, 0, 183, 70};
  ::MapDialogRect(panel, &units);
  RECT client = {};
  panel.GetClientRect(&client);
  EXPECT_NEAR(units.right, client.right, 4);  // the sunken edge takes a few pixels
  EXPECT_NEAR(units.bottom, client.bottom, 4);
  panel.DestroyWindow();
  ::DestroyWindow(parent);
}
