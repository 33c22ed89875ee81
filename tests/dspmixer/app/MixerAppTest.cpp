// The mixer's start-up pieces inside one process: the remote command listener, the exit-all
// command and the common error text.
#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "ErrorMessage.h"
#include "MixerMessages.h"
#include "RemoteCommandListener.h"
#include "SingleInstance.h"

namespace {

constexpr wchar_t kTestInstance[] = L"MixerApp_{00000000-1111-2222-3333-444444444444}";

// A message-only window whose posted WM_COMMAND identifiers are collected by Pump().
class CommandSink {
 public:
  CommandSink() {
    window_ = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                                nullptr);
  }
  ~CommandSink() { ::DestroyWindow(window_); }
  HWND Window() const { return window_; }
  std::vector<WPARAM> Pump() {
    std::vector<WPARAM> commands;
    MSG message;
    while (::PeekMessageW(&message, window_, WM_COMMAND, WM_COMMAND, PM_REMOVE)) {
      commands.push_back(message.wParam);
    }
    return commands;
  }

 private:
  HWND window_ = nullptr;
};

// Dispatches what was posted to the listener window; what it posts on stays queued.
void DeliverPosted(HWND listenerWindow) {
  MSG message;
  while (::PeekMessageW(&message, listenerWindow, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
}

}  // namespace

TEST(RemoteCommandListener, ForwardsOnlyTheTwoRemoteCommandsToTheMixerWindow) {
  CommandSink mixer;
  RemoteCommandListener listener(::GetModuleHandleW(nullptr), mixer.Window(), kTestInstance);
  ASSERT_EQ(0u, listener.StartListening());
  const HWND found = ::FindWindowW(kTestInstance, nullptr);
  ASSERT_EQ(listener.ListenerWindow(), found);
  EXPECT_FALSE(::IsWindowVisible(found));

  ::SendMessageW(found, WM_COMMAND, ID_ACTIVATE_MIXER, 0);
  ::SendMessageW(found, WM_COMMAND, ID_APP_EXIT, 0);
  ::SendMessageW(found, WM_COMMAND, IDOK, 0);
  ::SendMessageW(found, WM_COMMAND, MAKEWPARAM(ID_ACTIVATE_MIXER, 1), 0);  // not exactly the id
  EXPECT_EQ((std::vector<WPARAM>{ID_ACTIVATE_MIXER, ID_APP_EXIT}), mixer.Pump());

  listener.StopListening();
  EXPECT_EQ(nullptr, ::FindWindowW(kTestInstance, nullptr));
}

TEST(RemoteCommandListener, ASecondListenerOfTheSameNameFailsAndLeavesTheFirstWorking) {
  CommandSink mixer;
  RemoteCommandListener first(::GetModuleHandleW(nullptr), mixer.Window(), kTestInstance);
  ASSERT_EQ(0u, first.StartListening());
  RemoteCommandListener second(::GetModuleHandleW(nullptr), mixer.Window(), kTestInstance);
  EXPECT_EQ(static_cast<DWORD>(ERROR_CLASS_ALREADY_EXISTS), second.StartListening());
  EXPECT_EQ(nullptr, second.ListenerWindow());

  ::PostMessageW(first.ListenerWindow(), WM_COMMAND, ID_APP_EXIT, 0);
  DeliverPosted(first.ListenerWindow());
  EXPECT_EQ(std::vector<WPARAM>{ID_APP_EXIT}, mixer.Pump());
  first.StopListening();
  // Unregistered on the way out: the name can be listened on again.
  RemoteCommandListener again(::GetModuleHandleW(nullptr), mixer.Window(), kTestInstance);
  EXPECT_EQ(0u, again.StartListening());
  again.StopListening();
}

TEST(ExitAll, OnlyTheWholeCommandLineInAnyCaseCounts) {
  EXPECT_TRUE(IsExitAllCommand(L"-exitall"));
  EXPECT_TRUE(IsExitAllCommand(L"-EXITALL"));
  EXPECT_TRUE(IsExitAllCommand(L"-ExitAll"));
  EXPECT_FALSE(IsExitAllCommand(L"-exitall now"));
  EXPECT_FALSE(IsExitAllCommand(L" -exitall"));
  EXPECT_FALSE(IsExitAllCommand(L"/exitall"));
  EXPECT_FALSE(IsExitAllCommand(L""));
  EXPECT_FALSE(IsExitAllCommand(nullptr));
}

TEST(ExitAll, NoInstanceWindowEndsAtOnceWithZero) {
  EXPECT_EQ(kExitAllDone, ExitAllInstances(kTestInstance, 1));
}

TEST(ExitAll, AWindowThatStaysGetsTwentyOneRequestsThenHundred) {
  CommandSink mixer;
  RemoteCommandListener listener(::GetModuleHandleW(nullptr), mixer.Window(), kTestInstance);
  ASSERT_EQ(0u, listener.StartListening());
  EXPECT_EQ(kExitAllWindowStayed, ExitAllInstances(kTestInstance, 1));
  DeliverPosted(listener.ListenerWindow());
  EXPECT_EQ(std::vector<WPARAM>(21, ID_APP_EXIT), mixer.Pump());
  listener.StopListening();
}

TEST(ErrorMessage, SecondLineNamesScopeOperationAndStatusInQuotes) {
  EXPECT_EQ(L"An error has occurred. The internal error description is:\n"
            L"\"_tWinMain: Load -> 0x0000007E\"",
            FormatErrorMessage(L"_tWinMain", L"Load", 126));
  EXPECT_EQ(L"An error has occurred. The internal error description is:\n"
            L"\"Run: StartListening -> 0xEE000030\"",
            FormatErrorMessage(L"Run", L"StartListening", 0xEE000030));
}
