#pragma once
// A thin wrapper over a window handle, with the members that our dialogs use. It owns nothing:
// copying it copies the handle, and it never destroys the window on its own.
#include <windows.h>

#include <string>

namespace winui {

class CWindow {
 public:
  CWindow(HWND hWnd = nullptr) : m_hWnd(hWnd) {}
  CWindow& operator=(HWND hWnd) {
    m_hWnd = hWnd;
    return *this;
  }
  operator HWND() const { return m_hWnd; }

  void Attach(HWND hWnd) { m_hWnd = hWnd; }
  HWND Detach();

  BOOL IsWindow() const { return ::IsWindow(m_hWnd); }
  BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
  BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
  BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
  BOOL IsZoomed() const { return ::IsZoomed(m_hWnd); }
  BOOL ShowWindow(int cmdShow) { return ::ShowWindow(m_hWnd, cmdShow); }
  BOOL EnableWindow(BOOL enable = TRUE) { return ::EnableWindow(m_hWnd, enable); }
  BOOL DestroyWindow();
  HWND SetFocus() { return ::SetFocus(m_hWnd); }
  BOOL SetForegroundWindow() { return ::SetForegroundWindow(m_hWnd); }

  HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
  UINT GetDlgCtrlID() const { return static_cast<UINT>(::GetDlgCtrlID(m_hWnd)); }
  HWND GetParent() const { return ::GetParent(m_hWnd); }
  HWND GetOwner() const { return ::GetWindow(m_hWnd, GW_OWNER); }

  BOOL SetWindowText(const wchar_t* text) { return ::SetWindowTextW(m_hWnd, text); }
  int GetWindowTextLength() const { return ::GetWindowTextLengthW(m_hWnd); }
  int GetWindowText(wchar_t* buffer, int size) const {
    return ::GetWindowTextW(m_hWnd, buffer, size);
  }
  // The whole text, however long.
  std::wstring GetWindowTextString() const;
  BOOL SetDlgItemText(int id, const wchar_t* text) { return ::SetDlgItemTextW(m_hWnd, id, text); }
  std::wstring GetDlgItemTextString(int id) const;

  LRESULT SendMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return ::SendMessageW(m_hWnd, msg, wParam, lParam);
  }
  BOOL PostMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return ::PostMessageW(m_hWnd, msg, wParam, lParam);
  }
  LRESULT SendDlgItemMessage(int id, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return ::SendDlgItemMessageW(m_hWnd, id, msg, wParam, lParam);
  }

  DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_STYLE)); }
  DWORD GetExStyle() const { return static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_EXSTYLE)); }
  // Both return TRUE when the style changed; `swpFlags` other than 0 also refreshes the frame.
  BOOL ModifyStyle(DWORD remove, DWORD add, UINT swpFlags = 0);
  BOOL ModifyStyleEx(DWORD remove, DWORD add, UINT swpFlags = 0);

  BOOL GetWindowRect(RECT* rect) const { return ::GetWindowRect(m_hWnd, rect); }
  BOOL GetClientRect(RECT* rect) const { return ::GetClientRect(m_hWnd, rect); }
  BOOL ScreenToClient(RECT* rect) const;
  BOOL ClientToScreen(RECT* rect) const;
  BOOL MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE) {
    return ::MoveWindow(m_hWnd, x, y, width, height, repaint);
  }
  BOOL SetWindowPos(HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
    return ::SetWindowPos(m_hWnd, insertAfter, x, y, cx, cy, flags);
  }
  BOOL Invalidate(BOOL erase = TRUE) { return ::InvalidateRect(m_hWnd, nullptr, erase); }
  BOOL InvalidateRect(const RECT* rect, BOOL erase = TRUE) {
    return ::InvalidateRect(m_hWnd, rect, erase);
  }
  BOOL UpdateWindow() { return ::UpdateWindow(m_hWnd); }

  // Centres over `center`; with none, over the parent of a child window or the owner of a
  // popup; with neither (or one that is hidden or minimised), on the work area of the nearest
  // monitor. The result is kept inside that work area.
  BOOL CenterWindow(HWND center = nullptr);

  HICON SetIcon(HICON icon, BOOL big = TRUE) {
    return reinterpret_cast<HICON>(
        SendMessage(WM_SETICON, big ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(icon)));
  }
  UINT_PTR SetTimer(UINT_PTR id, UINT elapseMs, TIMERPROC proc = nullptr) {
    return ::SetTimer(m_hWnd, id, elapseMs, proc);
  }
  BOOL KillTimer(UINT_PTR id) { return ::KillTimer(m_hWnd, id); }

  HWND m_hWnd;
};

}  // namespace winui
