#include "AppModule.h"

namespace winui {

namespace {

class SectionLock {
 public:
  explicit SectionLock(CRITICAL_SECTION* section) : section_(section) {
    ::EnterCriticalSection(section_);
  }
  ~SectionLock() { ::LeaveCriticalSection(section_); }
  SectionLock(const SectionLock&) = delete;
  SectionLock& operator=(const SectionLock&) = delete;

 private:
  CRITICAL_SECTION* section_;
};

}  // namespace

CAppModule::CAppModule() { ::InitializeCriticalSection(&lock_); }

CAppModule::~CAppModule() { ::DeleteCriticalSection(&lock_); }

HRESULT CAppModule::Init(HINSTANCE instance) {
  SectionLock lock(&lock_);
  instance_ = instance;
  return S_OK;
}

void CAppModule::Term() {
  SectionLock lock(&lock_);
  instance_ = nullptr;
  loops_.clear();
}

HINSTANCE CAppModule::GetModuleInstance() const {
  SectionLock lock(&lock_);
  return instance_ ? instance_ : ::GetModuleHandleW(nullptr);
}

BOOL CAppModule::AddMessageLoop(CMessageLoop* loop) {
  if (!loop) return FALSE;
  SectionLock lock(&lock_);
  return loops_.emplace(::GetCurrentThreadId(), loop).second ? TRUE : FALSE;
}

BOOL CAppModule::RemoveMessageLoop() {
  SectionLock lock(&lock_);
  return loops_.erase(::GetCurrentThreadId()) != 0 ? TRUE : FALSE;
}

CMessageLoop* CAppModule::GetMessageLoop(DWORD threadId) const {
  SectionLock lock(&lock_);
  auto found = loops_.find(threadId);
  return found == loops_.end() ? nullptr : found->second;
}

CAppModule& AppModule() {
  static CAppModule module;
  return module;
}

}  // namespace winui
