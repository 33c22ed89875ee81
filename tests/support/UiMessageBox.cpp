#include "UiMessageBox.h"

#include "UiWindow.h"

namespace uitest {
namespace {

// A box closes as soon as its loop sees the command; this only bounds a broken one.
constexpr DWORD kBoxCloseTimeoutMs = 5000;

int FirstButtonId(HWND box) {
  for (const ControlInfo& control : ChildControls(box)) {
    if (control.className == L"Button" && control.visible && control.enabled) return control.id;
  }
  return 0;
}

int AnswerButtonId(HWND box) {
  if (GetDlgItem(box, IDOK) != nullptr) return IDOK;
  if (GetDlgItem(box, IDCANCEL) != nullptr) return IDCANCEL;
  return FirstButtonId(box);
}

}  // namespace

bool IsMessageBox(HWND window) {
  return IsWindowVisible(window) && WindowClass(window) == kDialogClass &&
         GetDlgItem(window, kMessageBoxTextId) != nullptr;
}

HWND FindMessageBox(const Process& process) {
  for (HWND window : TopLevelWindows(process.Id())) {
    if (IsMessageBox(window)) return window;
  }
  return nullptr;
}

bool AnswerMessageBox(HWND box) {
  const int button = AnswerButtonId(box);
  if (button == 0 || !PressButton(box, button)) return false;
  return WaitForWindowGone(box, kBoxCloseTimeoutMs);
}

std::optional<std::wstring> ExpectMessageBox(const Process& process, const std::wstring& caption,
                                             DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    for (HWND window : TopLevelWindows(process.Id())) {
      if (IsMessageBox(window) && WindowText(window) == caption) {
        std::wstring text = ControlText(window, kMessageBoxTextId);
        AnswerMessageBox(window);
        return text;
      }
    }
    if (!process.IsRunning()) return std::nullopt;
    // The tick count may wrap; the subtraction is unsigned on purpose.
    if (GetTickCount() - start >= timeoutMs) return std::nullopt;
    Sleep(kPollIntervalMs);
  }
}

std::vector<std::wstring> DrainMessageBoxes(const Process& process, DWORD quietMs) {
  std::vector<std::wstring> texts;
  DWORD quietSince = GetTickCount();
  while (process.IsRunning()) {
    if (HWND box = FindMessageBox(process)) {
      texts.push_back(ControlText(box, kMessageBoxTextId));
      if (!AnswerMessageBox(box)) break;
      quietSince = GetTickCount();
      continue;
    }
    if (GetTickCount() - quietSince >= quietMs) break;
    Sleep(kPollIntervalMs);
  }
  return texts;
}

}  // namespace uitest
