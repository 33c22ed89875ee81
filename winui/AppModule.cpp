#include "AppModule.h"

namespace winui {

HRESULT CAppModule::Init(HINSTANCE instance) {
  veltrano::ScopedLock lock(lock_);
  instance_ = instance;
  return S_OK;
}

void CAppModule::Term() {
  veltrano::ScopedLock lock(lock_);
  instance_ = nullptr;
  loops_.clear();
}

HINSTANCE CAppModule::GetModuleInstance() const {
  veltrano::ScopedLock lock(lock_);
  return instance_ ? instance_ : ::GetModuleHandleW(nullptr);
}

BOOL CAppModule::AddMessageLoop(CMessageLoop* loop) {
  if (!loop) return FALSE;
  veltrano::ScopedLock lock(lock_);
  return loops_.emplace(::GetCurrentThreadId(), loop).second ? TRUE : FALSE;
}

BOOL CAppModule::RemoveMessageLoop() {
  veltrano::ScopedLock lock(lock_);
  return loops_.erase(::GetCurrentThreadId()) != 0 ? TRUE : FALSE;
}

CMessageLoop* CAppModule::GetMessageLoop(DWORD threadId) const {
  veltrano::ScopedLock lock(lock_);
  auto found = loops_.find(threadId);
  return found == loops_.end() ? nullptr : found->second;
}

CAppModule& AppModule() {
  static CAppModule module;
  return module;
}

}  // namespace winui
