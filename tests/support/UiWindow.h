#pragma once
// Finding, reading and working the windows of another program, the way a user would: by
// caption and class, by control id, with clicks, texts and keys. Every wait polls with a bound.
#include <windows.h>

#include <string>
#include <vector>

#include "UiProcess.h"

namespace uitest {

// The class of dialogs and message boxes.
constexpr wchar_t kDialogClass[] = L"#32770";
// The static control that holds a message box's text.
constexpr int kMessageBoxTextId = 0xFFFF;
// How often the waits look again.
constexpr DWORD kPollIntervalMs = 50;

struct WindowQuery {
  std::wstring caption;     // exact, as the system stores it; empty matches any
  std::wstring className;   // exact, such as kDialogClass; empty matches any
  bool visibleOnly = true;  // a window counts once it is shown, so its controls are in place
};

struct ControlInfo {
  HWND window = nullptr;
  int id = 0;
  std::wstring className;
  std::wstring text;
  bool visible = false;
  bool enabled = false;
};

// --- Finding
// The program's top-level windows in z-order.
std::vector<HWND> TopLevelWindows(DWORD processId, bool visibleOnly = true);
// The first matching top-level window of the program now, or null.
HWND FindProgramWindow(const Process& process, const WindowQuery& query);
// Waits for a matching window; null when `timeoutMs` passed or the program ended first.
HWND WaitForWindow(const Process& process, const WindowQuery& query, DWORD timeoutMs);
// True once `window` no longer exists or is hidden, false when `timeoutMs` passed first.
bool WaitForWindowGone(HWND window, DWORD timeoutMs);

// --- Reading
// The text as the window itself answers it (an edit control's current contents); the stored
// caption when the program does not answer in time.
std::wstring WindowText(HWND window);
std::wstring WindowClass(HWND window);
// The text of the child control `controlId` of `dialog`; empty when there is none.
std::wstring ControlText(HWND dialog, int controlId);
// Every descendant control of `window`, in creation order.
std::vector<ControlInfo> ChildControls(HWND window);

// --- Acting (false when the target does not exist or the message could not be sent)
// Clicks the button as its dialog sees a click: a BN_CLICKED command posted to the dialog.
// A hidden or disabled button cannot be pressed.
bool PressButton(HWND dialog, int buttonId);
bool SetEditText(HWND dialog, int editId, const std::wstring& text);
// A key press and release, posted so that the dialog's message loop sees them (VK_RETURN
// presses the default button, VK_ESCAPE cancels).
bool SendKey(HWND window, UINT virtualKey);
// Asks the window to close, as its close box would.
bool RequestClose(HWND window);

}  // namespace uitest
