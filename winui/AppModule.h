#pragma once
// The application module: the instance whose resources hold the dialog templates, and the
// message loop of each user-interface thread. One per process, reachable as AppModule().
#include <windows.h>

#include <map>

#include "MessageLoop.h"
#include "VTHandles.h"

namespace winui {

class CAppModule {
 public:
  CAppModule() = default;
  CAppModule(const CAppModule&) = delete;
  CAppModule& operator=(const CAppModule&) = delete;

  // `instance` is the module whose resources hold the templates (null: the executable).
  HRESULT Init(HINSTANCE instance);
  // Forgets the instance and every registered loop.
  void Term();

  // The module set by Init, or the executable's own module before Init.
  HINSTANCE GetModuleInstance() const;
  HINSTANCE GetResourceInstance() const { return GetModuleInstance(); }

  // The loop of the calling thread. FALSE if that thread already has one, or `loop` is null.
  BOOL AddMessageLoop(CMessageLoop* loop);
  // Removes the calling thread's loop; FALSE if it has none.
  BOOL RemoveMessageLoop();
  // The loop registered by thread `threadId`, or null.
  CMessageLoop* GetMessageLoop(DWORD threadId = ::GetCurrentThreadId()) const;

 private:
  mutable veltrano::CriticalSection lock_;
  HINSTANCE instance_ = nullptr;
  std::map<DWORD, CMessageLoop*> loops_;
};

// The process's one module.
CAppModule& AppModule();

// The message loop of the calling user-interface thread, known to the module while it exists.
class RegisteredMessageLoop {
 public:
  RegisteredMessageLoop() { AppModule().AddMessageLoop(&loop_); }
  ~RegisteredMessageLoop() { AppModule().RemoveMessageLoop(); }
  RegisteredMessageLoop(const RegisteredMessageLoop&) = delete;
  RegisteredMessageLoop& operator=(const RegisteredMessageLoop&) = delete;

  int Run() { return loop_.Run(); }

 private:
  CMessageLoop loop_;
};

}  // namespace winui
