#pragma once

#include <windows.h>

namespace winui {

// While a window's children come or go it does not draw; when the guard ends it is painted
// once, whole, before the caller goes on: no child's change repaints what is around it. A
// hidden window (a first build) paints nothing yet, and switching drawing back on would make
// it visible, so it is left alone.
class PaintOnceWhenDone {
 public:
  explicit PaintOnceWhenDone(HWND window)
      : window_(window), visible_(::IsWindowVisible(window) != FALSE) {
    if (visible_) ::SendMessageW(window_, WM_SETREDRAW, FALSE, 0);
  }
  ~PaintOnceWhenDone() {
    if (!visible_) return;
    ::SendMessageW(window_, WM_SETREDRAW, TRUE, 0);
    ::RedrawWindow(window_, nullptr, nullptr,
                   RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  }
  PaintOnceWhenDone(const PaintOnceWhenDone&) = delete;
  PaintOnceWhenDone& operator=(const PaintOnceWhenDone&) = delete;

 private:
  HWND window_;
  bool visible_;
};

}  // namespace winui
