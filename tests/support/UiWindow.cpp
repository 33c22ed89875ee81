#include "UiWindow.h"

namespace uitest {
namespace {

// A program that stops answering must not hang the test that reads it.
constexpr UINT kSendTimeoutMs = 5000;

struct WindowCollector {
  DWORD processId;
  bool visibleOnly;
  std::vector<HWND> windows;
};

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM context) {
  auto* collector = reinterpret_cast<WindowCollector*>(context);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == collector->processId && (!collector->visibleOnly || IsWindowVisible(window))) {
    collector->windows.push_back(window);
  }
  return TRUE;
}

BOOL CALLBACK CollectChild(HWND window, LPARAM context) {
  reinterpret_cast<std::vector<HWND>*>(context)->push_back(window);
  return TRUE;
}

bool SendWithTimeout(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR* result) {
  return SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kSendTimeoutMs,
                             result) != 0;
}

// The caption as the system keeps it: read without a message, so a busy program cannot slow
// down a wait that polls many windows.
std::wstring StoredText(HWND window) {
  std::wstring text(GetWindowTextLengthW(window) + 1, L'\0');
  text.resize(GetWindowTextW(window, &text[0], static_cast<int>(text.size())));
  return text;
}

bool Matches(HWND window, const WindowQuery& query) {
  if (!query.className.empty() && WindowClass(window) != query.className) return false;
  return query.caption.empty() || StoredText(window) == query.caption;
}

}  // namespace

std::vector<HWND> TopLevelWindows(DWORD processId, bool visibleOnly) {
  WindowCollector collector{processId, visibleOnly, {}};
  EnumWindows(&CollectTopLevel, reinterpret_cast<LPARAM>(&collector));
  return collector.windows;
}

HWND FindProgramWindow(const Process& process, const WindowQuery& query) {
  for (HWND window : TopLevelWindows(process.Id(), query.visibleOnly)) {
    if (Matches(window, query)) return window;
  }
  return nullptr;
}

HWND WaitForWindow(const Process& process, const WindowQuery& query, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (HWND window = FindProgramWindow(process, query)) return window;
    // A program that has ended shows nothing any more.
    if (!process.IsRunning()) return nullptr;
    // The tick count may wrap; the subtraction is unsigned on purpose.
    if (GetTickCount() - start >= timeoutMs) return nullptr;
    Sleep(kPollIntervalMs);
  }
}

bool WaitForWindowGone(HWND window, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  while (IsWindow(window) && IsWindowVisible(window)) {
    if (GetTickCount() - start >= timeoutMs) return false;
    Sleep(kPollIntervalMs);
  }
  return true;
}

std::wstring WindowText(HWND window) {
  // WM_GETTEXT reaches the control itself: an edit control of another program keeps its text
  // where GetWindowTextW does not look.
  DWORD_PTR length = 0;
  if (!SendWithTimeout(window, WM_GETTEXTLENGTH, 0, 0, &length)) return StoredText(window);
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  if (!SendWithTimeout(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]),
                       &copied)) {
    return StoredText(window);
  }
  text.resize(copied);
  return text;
}

std::wstring WindowClass(HWND window) {
  wchar_t name[256] = {};
  const int length = GetClassNameW(window, name, 256);
  return std::wstring(name, length > 0 ? length : 0);
}

std::wstring ControlText(HWND dialog, int controlId) {
  HWND control = GetDlgItem(dialog, controlId);
  return control != nullptr ? WindowText(control) : std::wstring();
}

std::vector<ControlInfo> ChildControls(HWND window) {
  std::vector<HWND> children;
  EnumChildWindows(window, &CollectChild, reinterpret_cast<LPARAM>(&children));
  std::vector<ControlInfo> controls;
  for (HWND child : children) {
    ControlInfo info;
    info.window = child;
    info.id = GetDlgCtrlID(child);
    info.className = WindowClass(child);
    info.text = WindowText(child);
    info.visible = IsWindowVisible(child) != FALSE;
    info.enabled = IsWindowEnabled(child) != FALSE;
    controls.push_back(info);
  }
  return controls;
}

bool PressButton(HWND dialog, int buttonId) {
  HWND button = GetDlgItem(dialog, buttonId);
  // A user cannot click a button that is not there to see or is greyed out.
  if (button == nullptr || !IsWindowVisible(button) || !IsWindowEnabled(button)) return false;
  return PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
                      reinterpret_cast<LPARAM>(button)) != FALSE;
}

bool SetEditText(HWND dialog, int editId, const std::wstring& text) {
  HWND edit = GetDlgItem(dialog, editId);
  if (edit == nullptr) return false;
  DWORD_PTR result = 0;
  return SendWithTimeout(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), &result) &&
         result != FALSE;
}

bool SendKey(HWND window, UINT virtualKey) {
  const LPARAM scanCode = static_cast<LPARAM>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC)) << 16;
  // Repeat count 1; the release also carries "was down" and "being released".
  const LPARAM down = scanCode | 1;
  const LPARAM up = scanCode | 1 | (1L << 30) | static_cast<LPARAM>(1UL << 31);
  if (!PostMessageW(window, WM_KEYDOWN, virtualKey, down)) return false;
  // The key-down may already have closed the window (Enter in a dialog): then the release has
  // nowhere to go, and the key still counts as sent.
  PostMessageW(window, WM_KEYUP, virtualKey, up);
  return true;
}

bool RequestClose(HWND window) { return PostMessageW(window, WM_CLOSE, 0, 0) != FALSE; }

}  // namespace uitest
