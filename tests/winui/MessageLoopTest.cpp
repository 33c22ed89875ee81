// The message loop: filters see messages before dispatch, idle handlers run on an empty queue,
// WM_QUIT ends the loop with its code.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "MessageLoop.h"

namespace {

constexpr UINT kProbeMessage = WM_APP + 21;

std::vector<std::string>* g_events = nullptr;

class RecordingFilter : public winui::CMessageFilter {
 public:
  RecordingFilter(std::string name, bool takes) : name_(std::move(name)), takes_(takes) {}
  BOOL PreTranslateMessage(MSG* pMsg) override {
    if (pMsg->message != kProbeMessage) return FALSE;
    g_events->push_back("filter " + name_);
    return takes_ ? TRUE : FALSE;
  }

 private:
  std::string name_;
  bool takes_;
};

class RecordingIdleHandler : public winui::CIdleHandler {
 public:
  RecordingIdleHandler(std::string name, int quitCode = -1)
      : name_(std::move(name)), quitCode_(quitCode) {}
  BOOL OnIdle() override {
    g_events->push_back("idle " + name_);
    if (quitCode_ >= 0) ::PostQuitMessage(quitCode_);
    return FALSE;
  }

 private:
  std::string name_;
  int quitCode_;
};

LRESULT CALLBACK ProbeWindowProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == kProbeMessage) {
    g_events->push_back("dispatched");
    return 0;
  }
  return ::DefWindowProcW(hWnd, msg, wParam, lParam);
}

// A message-only window that records the probe messages dispatched to it.
class ProbeWindow {
 public:
  ProbeWindow() {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = ProbeWindowProc;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"WinUiLoopProbe";
    ::RegisterClassW(&windowClass);
    hWnd = ::CreateWindowExW(0, L"WinUiLoopProbe", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                             ::GetModuleHandleW(nullptr), nullptr);
  }
  ~ProbeWindow() { ::DestroyWindow(hWnd); }
  HWND hWnd;
};

class MessageLoopTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_events = &events;
    MSG stale;
    while (::PeekMessageW(&stale, nullptr, 0, 0, PM_REMOVE)) {
    }
  }
  void TearDown() override { g_events = nullptr; }
  std::vector<std::string> events;
  winui::CMessageLoop loop;
};

TEST_F(MessageLoopTest, RunReturnsTheQuitCode) {
  ::PostQuitMessage(37);
  EXPECT_EQ(37, loop.Run());
}

TEST_F(MessageLoopTest, IdleHandlersRunInTheOrderOfAddingWhenTheQueueIsEmpty) {
  RecordingIdleHandler first("first");
  RecordingIdleHandler second("second", 5);
  ASSERT_TRUE(loop.AddIdleHandler(&first));
  ASSERT_TRUE(loop.AddIdleHandler(&second));
  EXPECT_EQ(5, loop.Run());
  EXPECT_EQ((std::vector<std::string>{"idle first", "idle second"}), events);
}

TEST_F(MessageLoopTest, PendingMessagesAreDispatchedBeforeIdleHandlersRun) {
  ProbeWindow probe;
  RecordingIdleHandler quitter("quit", 0);
  loop.AddIdleHandler(&quitter);
  ::PostMessageW(probe.hWnd, kProbeMessage, 0, 0);
  loop.Run();
  EXPECT_EQ((std::vector<std::string>{"dispatched", "idle quit"}), events);
}

TEST_F(MessageLoopTest, LatestFilterSeesTheMessageFirst) {
  ProbeWindow probe;
  RecordingFilter older("older", false);
  RecordingFilter newer("newer", false);
  RecordingIdleHandler quitter("quit", 0);
  loop.AddMessageFilter(&older);
  loop.AddMessageFilter(&newer);
  loop.AddIdleHandler(&quitter);
  ::PostMessageW(probe.hWnd, kProbeMessage, 0, 0);
  loop.Run();
  EXPECT_EQ((std::vector<std::string>{"filter newer", "filter older", "dispatched", "idle quit"}),
            events);
}

TEST_F(MessageLoopTest, MessageTakenByAFilterIsNeitherPassedOnNorDispatched) {
  ProbeWindow probe;
  RecordingFilter older("older", false);
  RecordingFilter taker("taker", true);
  RecordingIdleHandler quitter("quit", 0);
  loop.AddMessageFilter(&older);
  loop.AddMessageFilter(&taker);
  loop.AddIdleHandler(&quitter);
  ::PostMessageW(probe.hWnd, kProbeMessage, 0, 0);
  loop.Run();
  EXPECT_EQ((std::vector<std::string>{"filter taker", "idle quit"}), events);
}

TEST_F(MessageLoopTest, RemovedFilterAndIdleHandlerAreNoLongerCalled) {
  ProbeWindow probe;
  RecordingFilter filter("gone", true);
  RecordingIdleHandler gone("gone");
  RecordingIdleHandler quitter("quit", 0);
  loop.AddMessageFilter(&filter);
  loop.AddIdleHandler(&gone);
  loop.AddIdleHandler(&quitter);
  EXPECT_TRUE(loop.RemoveMessageFilter(&filter));
  EXPECT_TRUE(loop.RemoveIdleHandler(&gone));
  ::PostMessageW(probe.hWnd, kProbeMessage, 0, 0);
  loop.Run();
  EXPECT_EQ((std::vector<std::string>{"dispatched", "idle quit"}), events);
}

// A filter that, on the probe message, takes another filter out of the loop and puts a new
// one in.
class ReshufflingFilter : public winui::CMessageFilter {
 public:
  ReshufflingFilter(winui::CMessageLoop& loop, winui::CMessageFilter& victim,
                    winui::CMessageFilter& newcomer)
      : loop_(loop), victim_(victim), newcomer_(newcomer) {}
  BOOL PreTranslateMessage(MSG* pMsg) override {
    if (pMsg->message != kProbeMessage) return FALSE;
    g_events->push_back("filter reshuffler");
    loop_.RemoveMessageFilter(&victim_);
    loop_.AddMessageFilter(&newcomer_);
    return FALSE;
  }

 private:
  winui::CMessageLoop& loop_;
  winui::CMessageFilter& victim_;
  winui::CMessageFilter& newcomer_;
};

class SilentFilter : public winui::CMessageFilter {
 public:
  BOOL PreTranslateMessage(MSG*) override { return FALSE; }
};

// With few filters and with many: a round over the filters sees them as they were when the
// message arrived, less those taken out meanwhile.
TEST_F(MessageLoopTest, FilterTakenOutDuringARoundIsSkippedAndANewOneWaitsForTheNextMessage) {
  for (size_t padding : {0u, 12u}) {
    events.clear();
    winui::CMessageLoop shuffled;
    ProbeWindow probe;
    std::vector<SilentFilter> silent(padding);
    for (SilentFilter& filter : silent) shuffled.AddMessageFilter(&filter);
    RecordingFilter victim("victim", false);
    RecordingFilter newcomer("newcomer", false);
    ReshufflingFilter reshuffler(shuffled, victim, newcomer);
    RecordingIdleHandler quitter("quit", 0);
    shuffled.AddMessageFilter(&victim);
    shuffled.AddMessageFilter(&reshuffler);  // the latest: it sees the message first
    shuffled.AddIdleHandler(&quitter);
    ::PostMessageW(probe.hWnd, kProbeMessage, 0, 0);
    ::PostMessageW(probe.hWnd, kProbeMessage, 0, 0);
    shuffled.Run();
    EXPECT_EQ((std::vector<std::string>{"filter reshuffler", "dispatched", "filter newcomer",
                                        "filter reshuffler", "dispatched", "idle quit"}),
              events)
        << padding << " more filters";
  }
}

TEST_F(MessageLoopTest, AddingTwiceOrRemovingAStrangerIsRefused) {
  RecordingFilter filter("f", false);
  RecordingIdleHandler handler("h");
  EXPECT_TRUE(loop.AddMessageFilter(&filter));
  EXPECT_FALSE(loop.AddMessageFilter(&filter));
  EXPECT_TRUE(loop.AddIdleHandler(&handler));
  EXPECT_FALSE(loop.AddIdleHandler(&handler));
  RecordingFilter stranger("s", false);
  EXPECT_FALSE(loop.RemoveMessageFilter(&stranger));
  EXPECT_FALSE(loop.AddMessageFilter(nullptr));
}

TEST(MessageLoop, MouseMovesAndPaintsDoNotEndAnIdlePeriod) {
  MSG msg = {};
  msg.message = WM_MOUSEMOVE;
  EXPECT_FALSE(winui::CMessageLoop::IsIdleMessage(&msg));
  msg.message = WM_PAINT;
  EXPECT_FALSE(winui::CMessageLoop::IsIdleMessage(&msg));
  msg.message = WM_KEYDOWN;
  EXPECT_TRUE(winui::CMessageLoop::IsIdleMessage(&msg));
}

}  // namespace
