#include "Window.h"

#include <algorithm>
#include <vector>

namespace winui {

namespace {

std::wstring TextOf(HWND hWnd) {
  const int length = ::GetWindowTextLengthW(hWnd);
  if (length <= 0) return std::wstring();
  std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1, L'\0');
  const int copied = ::GetWindowTextW(hWnd, buffer.data(), length + 1);
  return std::wstring(buffer.data(), static_cast<size_t>(std::max(copied, 0)));
}

BOOL ChangeLong(HWND hWnd, int index, DWORD remove, DWORD add, UINT swpFlags) {
  const DWORD old = static_cast<DWORD>(::GetWindowLongW(hWnd, index));
  const DWORD changed = (old & ~remove) | add;
  if (changed == old) return FALSE;
  ::SetWindowLongW(hWnd, index, static_cast<LONG>(changed));
  if (swpFlags != 0) {
    ::SetWindowPos(hWnd, nullptr, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | swpFlags);
  }
  return TRUE;
}

// The window that a window without an explicit centre is centred over, or null.
HWND DefaultCenterOf(HWND hWnd) {
  const DWORD style = static_cast<DWORD>(::GetWindowLongW(hWnd, GWL_STYLE));
  HWND center = (style & WS_CHILD) ? ::GetParent(hWnd) : ::GetWindow(hWnd, GW_OWNER);
  if (center && (!::IsWindowVisible(center) || ::IsIconic(center))) return nullptr;
  return center;
}

}  // namespace

HWND CWindow::Detach() {
  HWND hWnd = m_hWnd;
  m_hWnd = nullptr;
  return hWnd;
}

BOOL CWindow::DestroyWindow() {
  if (!::DestroyWindow(m_hWnd)) return FALSE;
  m_hWnd = nullptr;
  return TRUE;
}

std::wstring CWindow::GetWindowTextString() const { return TextOf(m_hWnd); }

std::wstring CWindow::GetDlgItemTextString(int id) const { return TextOf(GetDlgItem(id)); }

BOOL CWindow::ModifyStyle(DWORD remove, DWORD add, UINT swpFlags) {
  return ChangeLong(m_hWnd, GWL_STYLE, remove, add, swpFlags);
}

BOOL CWindow::ModifyStyleEx(DWORD remove, DWORD add, UINT swpFlags) {
  return ChangeLong(m_hWnd, GWL_EXSTYLE, remove, add, swpFlags);
}

BOOL CWindow::ScreenToClient(RECT* rect) const {
  POINT* corners = reinterpret_cast<POINT*>(rect);
  return ::ScreenToClient(m_hWnd, &corners[0]) && ::ScreenToClient(m_hWnd, &corners[1]);
}

BOOL CWindow::ClientToScreen(RECT* rect) const {
  POINT* corners = reinterpret_cast<POINT*>(rect);
  return ::ClientToScreen(m_hWnd, &corners[0]) && ::ClientToScreen(m_hWnd, &corners[1]);
}

BOOL CWindow::CenterWindow(HWND center) {
  if (!center) center = DefaultCenterOf(m_hWnd);

  RECT window;
  if (!::GetWindowRect(m_hWnd, &window)) return FALSE;

  MONITORINFO monitor = {};
  monitor.cbSize = sizeof(monitor);
  HMONITOR hMonitor = ::MonitorFromWindow(center ? center : m_hWnd, MONITOR_DEFAULTTONEAREST);
  if (!::GetMonitorInfoW(hMonitor, &monitor)) return FALSE;
  const RECT area = monitor.rcWork;

  RECT target = area;
  if (center) ::GetWindowRect(center, &target);

  const int width = window.right - window.left;
  const int height = window.bottom - window.top;
  int left = (target.left + target.right - width) / 2;
  int top = (target.top + target.bottom - height) / 2;

  // Keep the window on the work area; when it is larger, its top-left corner stays visible.
  const int maxLeft = area.right - width;
  const int maxTop = area.bottom - height;
  left = std::max<int>(std::min(left, maxLeft), area.left);
  top = std::max<int>(std::min(top, maxTop), area.top);

  POINT position = {left, top};
  const DWORD style = static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_STYLE));
  if (style & WS_CHILD) ::ScreenToClient(::GetParent(m_hWnd), &position);
  return ::SetWindowPos(m_hWnd, nullptr, position.x, position.y, 0, 0,
                        SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace winui
