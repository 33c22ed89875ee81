// The hidden window: a top-level window of its own class that others find by name, whose
// messages reach a message map, and that takes its class with it when it goes.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "HiddenWindow.h"
#include "MessageMap.h"
#include "VTStatus.h"

namespace {

constexpr UINT kHandledMessage = WM_APP + 31;
constexpr LRESULT kHandledAnswer = 2468;

struct Received {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

// Records every message that reaches it. It answers kHandledMessage, and every message when
// `takesAll` is set (then also WM_CLOSE, so that the window would stay open).
class RecordingMap : public winui::CMessageMap {
 public:
  explicit RecordingMap(bool takesAll = false) : takesAll_(takesAll) {}

  BOOL ProcessWindowMessage(HWND, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                            DWORD) override {
    received.push_back({message, wParam, lParam});
    if (message == kHandledMessage) {
      result = kHandledAnswer;
      return TRUE;
    }
    result = 0;
    return takesAll_ ? TRUE : FALSE;
  }

  bool Saw(UINT message) const {
    return std::any_of(received.begin(), received.end(),
                       [message](const Received& r) { return r.message == message; });
  }

  std::vector<Received> received;

 private:
  bool takesAll_;
};

HINSTANCE Module() { return ::GetModuleHandleW(nullptr); }

bool IsRegistered(const wchar_t* className) {
  WNDCLASSEXW info = {};
  info.cbSize = sizeof(info);
  return ::GetClassInfoExW(Module(), className, &info) != FALSE;
}

// Makes every window creation of this thread fail while it lives, with no error code set.
class CreationBlocker {
 public:
  CreationBlocker()
      : hook_(::SetWindowsHookExW(WH_CBT, Refuse, nullptr, ::GetCurrentThreadId())) {}
  ~CreationBlocker() { ::UnhookWindowsHookEx(hook_); }
  CreationBlocker(const CreationBlocker&) = delete;
  CreationBlocker& operator=(const CreationBlocker&) = delete;
  bool Installed() const { return hook_ != nullptr; }

 private:
  static LRESULT CALLBACK Refuse(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) {
      ::SetLastError(0);
      return 1;
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
  }

  HHOOK hook_;
};

// Like the real owners: it handles the messages of the window it holds, and leaves the window
// to that member's destructor. It notes a message that reaches it after its own destructor ran.
class Owner : public winui::CMessageMap {
 public:
  explicit Owner(bool* calledLate) : calledLate_(calledLate) {}
  ~Owner() override { gone_ = true; }

  BOOL ProcessWindowMessage(HWND, UINT, WPARAM, LPARAM, LRESULT&, DWORD) override {
    if (gone_) *calledLate_ = true;
    return FALSE;
  }

 private:
  bool* calledLate_;
  bool gone_ = false;

 public:
  // Declared last, destroyed first.
  winui::HiddenWindow window;
};

// The window class name of the running test: each test has its own, so that one that fails
// leaves the others unharmed.
std::wstring ClassNameOfThisTest() {
  const std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
  return L"winui_tests.HiddenWindow." + std::wstring(test.begin(), test.end());
}

class HiddenWindowTest : public ::testing::Test {
 protected:
  HiddenWindowTest() : name_(ClassNameOfThisTest()), className(name_.c_str()) {}

 private:
  const std::wstring name_;

 protected:
  const wchar_t* const className;
};

TEST_F(HiddenWindowTest, IsAHiddenTopLevelWindowThatFindWindowFindsByItsClassName) {
  RecordingMap map;
  winui::HiddenWindow window;
  EXPECT_EQ(nullptr, window.Handle());
  ASSERT_EQ(veltrano::status::kOk, window.Create(Module(), className, &map));

  ASSERT_NE(nullptr, window.Handle());
  EXPECT_EQ(window.Handle(), ::FindWindowW(className, nullptr));
  EXPECT_FALSE(::IsWindowVisible(window.Handle()));
  // Top-level, not message-only: its parent is the desktop.
  EXPECT_EQ(::GetDesktopWindow(), ::GetAncestor(window.Handle(), GA_PARENT));
  EXPECT_EQ(static_cast<LONG>(WS_OVERLAPPEDWINDOW),
            ::GetWindowLongW(window.Handle(), GWL_STYLE) & WS_OVERLAPPEDWINDOW);
}

TEST_F(HiddenWindowTest, HandsMessagesToTheMapAndLeavesWhatItDeclinesToTheDefault) {
  RecordingMap map;
  winui::HiddenWindow window;
  ASSERT_EQ(veltrano::status::kOk, window.Create(Module(), className, &map));
  map.received.clear();

  EXPECT_EQ(kHandledAnswer, ::SendMessageW(window.Handle(), kHandledMessage, 7, 9));
  ASSERT_EQ(1u, map.received.size());
  EXPECT_EQ(kHandledMessage, map.received[0].message);
  EXPECT_EQ(7u, map.received[0].wParam);
  EXPECT_EQ(9, map.received[0].lParam);

  // Posted messages arrive through the thread's queue.
  ASSERT_TRUE(::PostMessageW(window.Handle(), kHandledMessage, 11, 13));
  MSG message;
  while (::PeekMessageW(&message, window.Handle(), 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
  EXPECT_EQ(11u, map.received.back().wParam);

  // Declined: the default processing stores the text.
  ::SetWindowTextW(window.Handle(), L"declined");
  EXPECT_TRUE(map.Saw(WM_SETTEXT));
  wchar_t text[16] = {};
  ::GetWindowTextW(window.Handle(), text, 16);
  EXPECT_STREQ(L"declined", text);
}

TEST_F(HiddenWindowTest, MessagesOfTheCreationGetTheDefaultProcessing) {
  // A map that answers 0 to everything would fail WM_NCCREATE, had it seen it.
  RecordingMap map(true);
  winui::HiddenWindow window;
  ASSERT_EQ(veltrano::status::kOk, window.Create(Module(), className, &map));
  EXPECT_FALSE(map.Saw(WM_NCCREATE));
  EXPECT_FALSE(map.Saw(WM_CREATE));
  EXPECT_EQ(kHandledAnswer, ::SendMessageW(window.Handle(), kHandledMessage, 0, 0));
}

TEST_F(HiddenWindowTest, DestroyClosesTheWindowAndUnregistersTheClass) {
  RecordingMap map;
  winui::HiddenWindow window;
  ASSERT_EQ(veltrano::status::kOk, window.Create(Module(), className, &map));
  const HWND handle = window.Handle();

  window.Destroy();
  EXPECT_TRUE(map.Saw(WM_CLOSE));
  EXPECT_FALSE(::IsWindow(handle));
  EXPECT_EQ(nullptr, window.Handle());
  EXPECT_EQ(nullptr, ::FindWindowW(className, nullptr));
  EXPECT_FALSE(IsRegistered(className));

  // The same object, and the same name, can be used again.
  ASSERT_EQ(veltrano::status::kOk, window.Create(Module(), className, &map));
  EXPECT_EQ(window.Handle(), ::FindWindowW(className, nullptr));
  window.Destroy();
  EXPECT_FALSE(IsRegistered(className));
  window.Destroy();  // nothing left to do
}

TEST_F(HiddenWindowTest, NeverOutlivesItsOwner) {
  HWND handle = nullptr;
  {
    // Keeps the window open on WM_CLOSE.
    RecordingMap map(true);
    winui::HiddenWindow window;
    ASSERT_EQ(veltrano::status::kOk, window.Create(Module(), className, &map));
    handle = window.Handle();
    window.Destroy();
    EXPECT_FALSE(::IsWindow(handle));
  }
  bool calledLate = false;
  {
    // Gone with the object, class included, and its last messages never reach the owner.
    Owner owner(&calledLate);
    ASSERT_EQ(veltrano::status::kOk, owner.window.Create(Module(), className, &owner));
    handle = owner.window.Handle();
  }
  EXPECT_FALSE(::IsWindow(handle));
  EXPECT_FALSE(IsRegistered(className));
  EXPECT_FALSE(calledLate);
}

TEST_F(HiddenWindowTest, AWindowDestroyedByOthersIsForgotten) {
  RecordingMap map;
  winui::HiddenWindow window;
  ASSERT_EQ(veltrano::status::kOk, window.Create(Module(), className, &map));
  ASSERT_TRUE(::DestroyWindow(window.Handle()));
  EXPECT_EQ(nullptr, window.Handle());
  // One window at a time: the class is still held until Destroy().
  EXPECT_NE(veltrano::status::kOk, window.Create(Module(), className, &map));
  window.Destroy();
  EXPECT_FALSE(IsRegistered(className));
  EXPECT_EQ(veltrano::status::kOk, window.Create(Module(), className, &map));
}

TEST_F(HiddenWindowTest, AClassNameRegisteredElsewhereFailsAndStaysTheirs) {
  WNDCLASSEXW other = {};
  other.cbSize = sizeof(other);
  other.lpfnWndProc = ::DefWindowProcW;
  other.hInstance = Module();
  other.lpszClassName = className;
  ASSERT_NE(0, ::RegisterClassExW(&other));

  RecordingMap map;
  {
    winui::HiddenWindow window;
    EXPECT_EQ(static_cast<veltrano::Status>(ERROR_CLASS_ALREADY_EXISTS),
              window.Create(Module(), className, &map));
    EXPECT_EQ(nullptr, window.Handle());
    window.Destroy();
  }
  EXPECT_TRUE(IsRegistered(className));
  EXPECT_TRUE(::UnregisterClassW(className, Module()));
}

TEST_F(HiddenWindowTest, ACreationFailureWithoutAnErrorCodeStillFailsAndUnregisters) {
  RecordingMap map;
  winui::HiddenWindow window;
  {
    CreationBlocker blocker;
    ASSERT_TRUE(blocker.Installed());
    EXPECT_NE(veltrano::status::kOk, window.Create(Module(), className, &map));
  }
  EXPECT_EQ(nullptr, window.Handle());
  EXPECT_FALSE(IsRegistered(className));
  EXPECT_EQ(veltrano::status::kOk, window.Create(Module(), className, &map));
}

TEST_F(HiddenWindowTest, RefusesAMissingHandlerOrClassName) {
  RecordingMap map;
  winui::HiddenWindow window;
  EXPECT_EQ(static_cast<veltrano::Status>(ERROR_INVALID_PARAMETER),
            window.Create(Module(), className, nullptr));
  EXPECT_EQ(static_cast<veltrano::Status>(ERROR_INVALID_PARAMETER),
            window.Create(Module(), nullptr, &map));
  EXPECT_FALSE(IsRegistered(className));
}

}  // namespace
