#include "ModalScript.h"

#include <string>

namespace sfxui_test {

namespace {

constexpr UINT kTickMs = 30;
constexpr int kMaxTicks = 8000 / kTickMs;

struct Script {
  std::function<HWND()> dialogWindow;
  std::vector<Step> steps;
  size_t next = 0;
  int ticks = 0;
  bool inStep = false;
};

Script* g_script = nullptr;

void CALLBACK OnTick(HWND, UINT, UINT_PTR, DWORD) {
  Script* script = g_script;
  if (!script || script->inStep) return;
  HWND dialog = script->dialogWindow();
  if (!dialog || !::IsWindow(dialog)) return;
  if (++script->ticks > kMaxTicks) {
    ::EndDialog(dialog, kScriptTimedOut);
    return;
  }
  if (script->next >= script->steps.size()) return;
  script->inStep = true;
  const bool done = script->steps[script->next](dialog);
  script->inStep = false;
  if (done) ++script->next;
}

struct FindData {
  HWND except;
  HWND found;
};

BOOL CALLBACK FindDialogProc(HWND window, LPARAM lParam) {
  auto* data = reinterpret_cast<FindData*>(lParam);
  wchar_t className[16] = {};
  ::GetClassNameW(window, className, 16);
  if (window != data->except && ::IsWindowVisible(window) &&
      std::wstring(className) == L"#32770") {
    data->found = window;
    return FALSE;
  }
  return TRUE;
}

struct TextSearch {
  const wchar_t* text;
  bool found;
};

BOOL CALLBACK FindTextProc(HWND window, LPARAM lParam) {
  auto* search = reinterpret_cast<TextSearch*>(lParam);
  if (TextOf(window) == search->text) {
    search->found = true;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

INT_PTR RunScripted(const std::function<HWND()>& dialogWindow, std::vector<Step> steps,
                    const std::function<INT_PTR()>& showModal) {
  Script script;
  script.dialogWindow = dialogWindow;
  script.steps = std::move(steps);
  g_script = &script;
  const UINT_PTR timer = ::SetTimer(nullptr, 0, kTickMs, OnTick);
  const INT_PTR result = showModal();
  ::KillTimer(nullptr, timer);
  g_script = nullptr;
  return result;
}

void TypeText(HWND edit, const wchar_t* text) {
  ::SendMessageW(edit, EM_SETSEL, 0, -1);
  ::SendMessageW(edit, WM_CHAR, VK_BACK, 0);
  for (const wchar_t* c = text; *c; ++c) ::SendMessageW(edit, WM_CHAR, *c, 1);
}

void PressKey(HWND control, WPARAM key) {
  ::SetFocus(control);
  ::PostMessageW(control, WM_KEYDOWN, key, 1);
  ::PostMessageW(control, WM_KEYUP, key, 0xC0000001);
}

void ClickButton(HWND dialog, int id) {
  ::PostMessageW(::GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

HWND FindOtherDialog(HWND except) {
  FindData data = {except, nullptr};
  ::EnumThreadWindows(::GetCurrentThreadId(), FindDialogProc, reinterpret_cast<LPARAM>(&data));
  return data.found;
}

bool HasChildWithText(HWND window, const wchar_t* text) {
  TextSearch search = {text, false};
  ::EnumChildWindows(window, FindTextProc, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::wstring TextOf(HWND window) {
  wchar_t text[512] = {};
  ::GetWindowTextW(window, text, 512);
  return text;
}

}  // namespace sfxui_test
