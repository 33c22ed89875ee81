// The application module: the template instance and one message loop per thread.
#include <gtest/gtest.h>

#include <windows.h>

#include "AppModule.h"
#include "MessageLoop.h"

namespace {

struct ThreadProbe {
  winui::CAppModule* module;
  DWORD otherThreadId;
  winui::CMessageLoop* ownLoop;
  winui::CMessageLoop* seenOwnBeforeAdding = reinterpret_cast<winui::CMessageLoop*>(1);
  winui::CMessageLoop* seenOther = nullptr;
  BOOL added = FALSE;
  winui::CMessageLoop* seenOwnAfterAdding = nullptr;
  BOOL removed = FALSE;
};

DWORD WINAPI ProbeThread(void* argument) {
  auto* probe = static_cast<ThreadProbe*>(argument);
  probe->seenOwnBeforeAdding = probe->module->GetMessageLoop();
  probe->seenOther = probe->module->GetMessageLoop(probe->otherThreadId);
  probe->added = probe->module->AddMessageLoop(probe->ownLoop);
  probe->seenOwnAfterAdding = probe->module->GetMessageLoop();
  probe->removed = probe->module->RemoveMessageLoop();
  return 0;
}

void RunOnOtherThread(ThreadProbe* probe) {
  HANDLE thread = ::CreateThread(nullptr, 0, ProbeThread, probe, 0, nullptr);
  ASSERT_NE(nullptr, thread);
  ::WaitForSingleObject(thread, INFINITE);
  ::CloseHandle(thread);
}

TEST(AppModule, EachThreadFindsItsOwnLoopAndCanSeeOthersById) {
  winui::CAppModule module;
  winui::CMessageLoop mainLoop;
  winui::CMessageLoop otherLoop;
  ASSERT_TRUE(module.AddMessageLoop(&mainLoop));

  ThreadProbe probe{&module, ::GetCurrentThreadId(), &otherLoop};
  RunOnOtherThread(&probe);

  EXPECT_EQ(nullptr, probe.seenOwnBeforeAdding);
  EXPECT_EQ(&mainLoop, probe.seenOther);
  EXPECT_TRUE(probe.added);
  EXPECT_EQ(&otherLoop, probe.seenOwnAfterAdding);
  EXPECT_TRUE(probe.removed);
  // The other thread's removal left this thread's loop in place.
  EXPECT_EQ(&mainLoop, module.GetMessageLoop());
}

TEST(AppModule, SecondLoopOnTheSameThreadIsRefused) {
  winui::CAppModule module;
  winui::CMessageLoop first;
  winui::CMessageLoop second;
  EXPECT_TRUE(module.AddMessageLoop(&first));
  EXPECT_FALSE(module.AddMessageLoop(&second));
  EXPECT_EQ(&first, module.GetMessageLoop());
  EXPECT_TRUE(module.RemoveMessageLoop());
  EXPECT_FALSE(module.RemoveMessageLoop());
  EXPECT_EQ(nullptr, module.GetMessageLoop());
}

TEST(AppModule, TermForgetsTheLoopsAndTheInstance) {
  winui::CAppModule module;
  winui::CMessageLoop loop;
  HINSTANCE someModule = ::GetModuleHandleW(L"kernel32.dll");
  module.Init(someModule);
  module.AddMessageLoop(&loop);
  EXPECT_EQ(someModule, module.GetResourceInstance());
  module.Term();
  EXPECT_EQ(nullptr, module.GetMessageLoop());
  EXPECT_EQ(::GetModuleHandleW(nullptr), module.GetResourceInstance());
}

TEST(AppModule, ProcessModuleIsOneObjectThatUsesTheExecutableBeforeInit) {
  EXPECT_EQ(&winui::AppModule(), &winui::AppModule());
  EXPECT_EQ(::GetModuleHandleW(nullptr), winui::AppModule().GetResourceInstance());
}

}  // namespace
