#include "MessageLoop.h"

#include <algorithm>

namespace winui {

namespace {

template <class T>
BOOL AddOnce(std::vector<T*>& list, T* item) {
  if (!item || std::find(list.begin(), list.end(), item) != list.end()) return FALSE;
  list.push_back(item);
  return TRUE;
}

template <class T>
BOOL RemoveIfThere(std::vector<T*>& list, T* item) {
  auto found = std::find(list.begin(), list.end(), item);
  if (found == list.end()) return FALSE;
  list.erase(found);
  return TRUE;
}

constexpr UINT kCaretBlinkTimer = 0x0118;  // WM_SYSTIMER

}  // namespace

BOOL CMessageLoop::AddMessageFilter(CMessageFilter* filter) { return AddOnce(filters_, filter); }

BOOL CMessageLoop::RemoveMessageFilter(CMessageFilter* filter) {
  return RemoveIfThere(filters_, filter);
}

BOOL CMessageLoop::AddIdleHandler(CIdleHandler* handler) {
  return AddOnce(idleHandlers_, handler);
}

BOOL CMessageLoop::RemoveIdleHandler(CIdleHandler* handler) {
  return RemoveIfThere(idleHandlers_, handler);
}

int CMessageLoop::Run() {
  bool doIdle = true;
  int idleCount = 0;
  for (;;) {
    while (doIdle && !::PeekMessageW(&m_msg, nullptr, 0, 0, PM_NOREMOVE)) {
      if (!OnIdle(idleCount++)) doIdle = false;
    }
    const BOOL got = ::GetMessageW(&m_msg, nullptr, 0, 0);
    if (got == -1) continue;
    if (!got) break;  // WM_QUIT
    if (!PreTranslateMessage(&m_msg)) {
      ::TranslateMessage(&m_msg);
      ::DispatchMessageW(&m_msg);
    }
    if (IsIdleMessage(&m_msg)) {
      doIdle = true;
      idleCount = 0;
    }
  }
  return static_cast<int>(m_msg.wParam);
}

BOOL CMessageLoop::PreTranslateMessage(MSG* pMsg) {
  // A copy: a filter may add or remove filters (a window closing) while it runs.
  const std::vector<CMessageFilter*> filters = filters_;
  for (auto it = filters.rbegin(); it != filters.rend(); ++it) {
    if (std::find(filters_.begin(), filters_.end(), *it) == filters_.end()) continue;
    if ((*it)->PreTranslateMessage(pMsg)) return TRUE;
  }
  return FALSE;
}

BOOL CMessageLoop::OnIdle(int /*idleCount*/) {
  const std::vector<CIdleHandler*> handlers = idleHandlers_;
  for (CIdleHandler* handler : handlers) {
    if (std::find(idleHandlers_.begin(), idleHandlers_.end(), handler) == idleHandlers_.end()) {
      continue;
    }
    handler->OnIdle();
  }
  return FALSE;  // once per idle period
}

BOOL CMessageLoop::IsIdleMessage(const MSG* pMsg) {
  switch (pMsg->message) {
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE:
    case WM_PAINT:
    case kCaretBlinkTimer:
      return FALSE;
    default:
      return TRUE;
  }
}

}  // namespace winui
