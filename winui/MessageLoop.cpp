#include "MessageLoop.h"

#include <algorithm>
#include <array>

namespace winui {

namespace {

template <class T>
bool Contains(const std::vector<T*>& list, T* item) {
  return std::find(list.begin(), list.end(), item) != list.end();
}

template <class T>
BOOL AddOnce(std::vector<T*>& list, T* item) {
  if (!item || Contains(list, item)) return FALSE;
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

// The entries of a list as they were when a round over them began: an entry may add or remove
// entries while it runs (a window closing). Every message makes a round, so the usual few
// entries are kept on the stack rather than in a copy on the heap.
template <class T>
class Snapshot {
 public:
  explicit Snapshot(const std::vector<T*>& list) : size_(list.size()) {
    if (size_ <= kInline) {
      std::copy(list.begin(), list.end(), inline_.begin());
    } else {
      heap_ = list;
    }
  }
  T* const* begin() const { return size_ <= kInline ? inline_.data() : heap_.data(); }
  T* const* end() const { return begin() + size_; }

 private:
  static constexpr size_t kInline = 8;
  size_t size_;
  std::array<T*, kInline> inline_;
  std::vector<T*> heap_;
};

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
  const Snapshot<CMessageFilter> filters(filters_);
  for (auto it = filters.end(); it != filters.begin();) {
    CMessageFilter* filter = *--it;
    if (!Contains(filters_, filter)) continue;
    if (filter->PreTranslateMessage(pMsg)) return TRUE;
  }
  return FALSE;
}

BOOL CMessageLoop::OnIdle(int /*idleCount*/) {
  const Snapshot<CIdleHandler> handlers(idleHandlers_);
  for (CIdleHandler* handler : handlers) {
    if (Contains(idleHandlers_, handler)) handler->OnIdle();
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
