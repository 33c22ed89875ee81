#include "DialogResize.h"

namespace winui {

namespace {

RECT ClientRectOfChild(HWND dialog, HWND child) {
  RECT rect = {};
  ::GetWindowRect(child, &rect);
  ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

HWND CreateSizeGrip(HWND dialog) {
  RECT client = {};
  ::GetClientRect(dialog, &client);
  const int width = ::GetSystemMetrics(SM_CXVSCROLL);
  const int height = ::GetSystemMetrics(SM_CYHSCROLL);
  const DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | SBS_SIZEBOX | SBS_SIZEGRIP |
                      SBS_SIZEBOXBOTTOMRIGHTALIGN;
  auto instance = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(dialog, GWLP_HINSTANCE));
  return ::CreateWindowExW(0, L"SCROLLBAR", nullptr, style, client.right - width,
                           client.bottom - height, width, height, dialog,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(kSizeGripId)), instance,
                           nullptr);
}

RECT Arrange(const RECT& initial, DWORD flags, int dx, int dy) {
  RECT rect = initial;
  if (flags & DLSZ_MOVE_X) {
    rect.left += dx;
    rect.right += dx;
  } else if (flags & DLSZ_SIZE_X) {
    rect.right += dx;
  }
  if (flags & DLSZ_MOVE_Y) {
    rect.top += dy;
    rect.bottom += dy;
  } else if (flags & DLSZ_SIZE_Y) {
    rect.bottom += dy;
  }
  // A control never turns inside out when the window is smaller than it was.
  if (rect.right < rect.left) rect.right = rect.left;
  if (rect.bottom < rect.top) rect.bottom = rect.top;
  return rect;
}

}  // namespace

void DlgResizeLayout::Init(HWND dialog, const DlgResizeRule* rules, bool addGrip,
                           bool useMinTrackSize, DWORD forceStyle) {
  dialog_ = dialog;
  items_.clear();
  if (forceStyle != 0) {
    const LONG style = ::GetWindowLongW(dialog, GWL_STYLE);
    ::SetWindowLongW(dialog, GWL_STYLE, style | static_cast<LONG>(forceStyle));
  }

  RECT client = {};
  ::GetClientRect(dialog, &client);
  initialClient_ = {client.right - client.left, client.bottom - client.top};

  if (addGrip && !grip_) grip_ = CreateSizeGrip(dialog);
  if (grip_) {
    items_.push_back({kSizeGripId, DLSZ_MOVE_X | DLSZ_MOVE_Y | DLSZ_REPAINT,
                      ClientRectOfChild(dialog, grip_)});
  }

  for (const DlgResizeRule* rule = rules; rule && rule->id != -1; ++rule) {
    HWND control = ::GetDlgItem(dialog, rule->id);
    if (!control) continue;
    items_.push_back({rule->id, rule->flags, ClientRectOfChild(dialog, control)});
  }

  if (useMinTrackSize) {
    RECT window = {};
    ::GetWindowRect(dialog, &window);
    minTrackSize_ = {window.right - window.left, window.bottom - window.top};
  }
}

void DlgResizeLayout::UpdateLayout(int width, int height) const {
  if (!dialog_) return;
  const int dx = width - initialClient_.cx;
  const int dy = height - initialClient_.cy;
  for (const Item& item : items_) {
    HWND control = ::GetDlgItem(dialog_, item.id);
    if (!control) continue;
    const RECT rect = Arrange(item.initial, item.flags, dx, dy);
    ::SetWindowPos(control, nullptr, rect.left, rect.top, rect.right - rect.left,
                   rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
    if (item.flags & DLSZ_REPAINT) ::InvalidateRect(control, nullptr, TRUE);
  }
}

void DlgResizeLayout::OnSize(WPARAM sizeType, int width, int height) const {
  if (sizeType == SIZE_MINIMIZED) return;
  if (grip_) ::ShowWindow(grip_, sizeType == SIZE_MAXIMIZED ? SW_HIDE : SW_SHOW);
  UpdateLayout(width, height);
}

void DlgResizeLayout::OnGetMinMaxInfo(MINMAXINFO* info) const {
  if (!info || minTrackSize_.x < 0 || minTrackSize_.y < 0) return;
  info->ptMinTrackSize = minTrackSize_;
}

}  // namespace winui
