// Device arrival and removal reach a registered window as the registered message.
#include <gtest/gtest.h>

#include <vector>

#include "SimStatus.h"
#include "SimTestSupport.h"

namespace {

using simtest::SimDriverTest;

constexpr UINT kDevicePnpMessage = 0x8003;
constexpr WPARAM kArrival = 1;
constexpr WPARAM kRemoval = 2;
constexpr DWORD kPromisedMs = 100;

// A hidden top-level window of the test thread, destroyed with the object.
class TestWindow {
 public:
  TestWindow() {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"SimDriverTestWindow";
    RegisterClassW(&windowClass);
    window_ = CreateWindowExW(0, windowClass.lpszClassName, L"", WS_OVERLAPPED, 0, 0, 10, 10,
                              nullptr, nullptr, windowClass.hInstance, nullptr);
  }
  ~TestWindow() {
    if (window_ != nullptr) DestroyWindow(window_);
  }
  HWND Get() const { return window_; }

  // The wParam values of the device messages that arrive within `ms`.
  std::vector<WPARAM> Collect(DWORD ms) {
    std::vector<WPARAM> received;
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
      MSG message;
      while (PeekMessageW(&message, window_, kDevicePnpMessage, kDevicePnpMessage, PM_REMOVE)) {
        received.push_back(message.wParam);
      }
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_POSTMESSAGE);
    }
    return received;
  }

  // Milliseconds until the first device message, or a value above `limitMs` when none came.
  DWORD WaitForFirst(DWORD limitMs, WPARAM& wParam) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start <= limitMs) {
      MSG message;
      if (PeekMessageW(&message, window_, kDevicePnpMessage, kDevicePnpMessage, PM_REMOVE)) {
        wParam = message.wParam;
        return GetTickCount() - start;
      }
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 2, QS_POSTMESSAGE);
    }
    return limitMs + 1;
  }

 private:
  HWND window_ = nullptr;
};

}  // namespace

TEST_F(SimDriverTest, PlugPostsArrivalWithin100Milliseconds) {
  TestWindow window;
  ASSERT_NE(nullptr, window.Get());
  ASSERT_EQ(0u, api_.RegisterPnpNotification(nullptr, nullptr, window.Get(), kDevicePnpMessage, 0));
  Plug({2, 2, 2, 2, 1, 1});
  WPARAM wParam = 0;
  EXPECT_LE(window.WaitForFirst(1000, wParam), kPromisedMs);
  EXPECT_EQ(kArrival, wParam);
  EXPECT_TRUE(window.Collect(100).empty()) << "one message per change";
}

TEST_F(SimDriverTest, UnplugPostsRemovalWithin100Milliseconds) {
  const uint32_t id = Plug({2, 2, 2, 2, 1, 1});
  TestWindow window;
  ASSERT_EQ(0u, api_.RegisterPnpNotification(nullptr, nullptr, window.Get(), kDevicePnpMessage, 0));
  Unplug(id);
  WPARAM wParam = 0;
  EXPECT_LE(window.WaitForFirst(1000, wParam), kPromisedMs);
  EXPECT_EQ(kRemoval, wParam);
}

TEST_F(SimDriverTest, ChangesMadeByAnotherProcessArePostedToo) {
  TestWindow window;
  ASSERT_EQ(0u, api_.RegisterPnpNotification(nullptr, nullptr, window.Get(), kDevicePnpMessage, 0));
  const simtest::ToolRun plug = RunTool(L"plug 2,2,2,2,1,1");
  ASSERT_EQ(0u, plug.exitCode) << plug.errors;
  const simtest::ToolRun unplug = RunTool(L"unplug 1");
  ASSERT_EQ(0u, unplug.exitCode) << unplug.errors;
  const std::vector<WPARAM> received = window.Collect(300);
  EXPECT_EQ((std::vector<WPARAM>{kArrival, kRemoval}), received);
}

TEST_F(SimDriverTest, UnregisterStopsTheMessages) {
  TestWindow window;
  ASSERT_EQ(0u, api_.RegisterPnpNotification(nullptr, nullptr, window.Get(), kDevicePnpMessage, 0));
  EXPECT_EQ(0u, api_.UnregisterPnpNotification());
  Plug({2, 2, 2, 2, 1, 1});
  EXPECT_TRUE(window.Collect(200).empty());
}

TEST_F(SimDriverTest, RegisterWithoutAWindowIsRefused) {
  EXPECT_EQ(sonarixsim::status::kInvalidParameter,
            api_.RegisterPnpNotification(nullptr, nullptr, nullptr, kDevicePnpMessage, 0));
}
