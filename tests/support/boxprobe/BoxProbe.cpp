// A small GUI program for the driver's own tests. It works through its command line in order:
//   --box CAPTION TEXT     a message box
//   --box-env CAPTION NAME a message box showing the environment variable NAME ("<unset>")
//   --box-cwd CAPTION      a message box showing the current folder
//   --dialog               the probe dialog; when it ends, the box "Box probe result" shows
//                          "OK: <edit text>" or "Cancel: <edit text>"
//   --sleep MS             a pause
//   --exit CODE            the exit code at the end (decimal or 0x hex, all 32 bits; default 0)
// Anything else ends it at once with 0xEE002003.
#include <windows.h>

#include <cstdint>
#include <cwchar>
#include <string>
#include <vector>

#include "BoxProbeIds.h"

namespace {

constexpr uint32_t kBadCommandLine = 0xEE002003;
constexpr wchar_t kResultCaption[] = L"Box probe result";

HINSTANCE g_instance = nullptr;

struct DialogResult {
  std::wstring text;
};

std::wstring EditText(HWND dialog) {
  HWND edit = GetDlgItem(dialog, IDC_BOXPROBE_EDIT);
  std::wstring text(GetWindowTextLengthW(edit) + 1, L'\0');
  text.resize(GetWindowTextW(edit, &text[0], static_cast<int>(text.size())));
  return text;
}

INT_PTR CALLBACK ProbeDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    return TRUE;
  }
  if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
    auto* result = reinterpret_cast<DialogResult*>(GetWindowLongPtrW(dialog, DWLP_USER));
    result->text = (LOWORD(wParam) == IDOK ? L"OK: " : L"Cancel: ") + EditText(dialog);
    EndDialog(dialog, LOWORD(wParam));
    return TRUE;
  }
  return FALSE;
}

void ShowProbeDialog() {
  DialogResult result;
  DialogBoxParamW(g_instance, MAKEINTRESOURCEW(IDD_BOXPROBE), nullptr, &ProbeDialogProc,
                  reinterpret_cast<LPARAM>(&result));
  MessageBoxW(nullptr, result.text.c_str(), kResultCaption, MB_OK);
}

std::wstring EnvironmentValue(const std::wstring& name) {
  const DWORD size = GetEnvironmentVariableW(name.c_str(), nullptr, 0);
  if (size == 0) return L"<unset>";
  std::wstring value(size, L'\0');
  value.resize(GetEnvironmentVariableW(name.c_str(), &value[0], size));
  return value;
}

std::wstring CurrentFolder() {
  std::wstring folder(MAX_PATH + 1, L'\0');
  folder.resize(GetCurrentDirectoryW(MAX_PATH + 1, &folder[0]));
  return folder;
}

bool ParseNumber(const std::wstring& text, uint32_t& value) {
  wchar_t* end = nullptr;
  value = static_cast<uint32_t>(wcstoul(text.c_str(), &end, 0));
  return !text.empty() && *end == L'\0';
}

std::vector<std::wstring> Arguments() {
  int count = 0;
  wchar_t** list = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::wstring> arguments(list + 1, list + count);
  LocalFree(list);
  return arguments;
}

// Runs the steps in order; false when the command line is not understood.
bool Run(const std::vector<std::wstring>& args, uint32_t& exitCode) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::wstring& step = args[i];
    const size_t rest = args.size() - i - 1;
    if (step == L"--box" && rest >= 2) {
      MessageBoxW(nullptr, args[i + 2].c_str(), args[i + 1].c_str(), MB_OK);
      i += 2;
    } else if (step == L"--box-env" && rest >= 2) {
      MessageBoxW(nullptr, EnvironmentValue(args[i + 2]).c_str(), args[i + 1].c_str(), MB_OK);
      i += 2;
    } else if (step == L"--box-cwd" && rest >= 1) {
      MessageBoxW(nullptr, CurrentFolder().c_str(), args[i + 1].c_str(), MB_OK);
      i += 1;
    } else if (step == L"--dialog") {
      ShowProbeDialog();
    } else if (step == L"--sleep" && rest >= 1) {
      uint32_t ms = 0;
      if (!ParseNumber(args[++i], ms)) return false;
      Sleep(ms);
    } else if (step == L"--exit" && rest >= 1) {
      if (!ParseNumber(args[++i], exitCode)) return false;
    } else {
      return false;
    }
  }
  return true;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  g_instance = instance;
  uint32_t exitCode = 0;
  if (!Run(Arguments(), exitCode)) exitCode = kBadCommandLine;
  return static_cast<int>(exitCode);
}
