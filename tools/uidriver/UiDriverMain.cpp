// uidriver.exe: runs a program and reports its windows as they appear, for shell scripts and
// screenshots. The full 32-bit exit code is printed because the shell under Wine sees only the
// low byte of it.
//
//   uidriver.exe run [--timeout SEC] [--answer-boxes] [--press ID] [--cwd DIR] -- PROGRAM.exe
//                    [ARGS...]
//   uidriver.exe press [--timeout SEC] [--when-text TEXT] [--wait-only] --title CAPTION --id ID
//   uidriver.exe hold-desktop
#include <windows.h>

#include <cwchar>
#include <set>
#include <string>
#include <vector>

#include "UiDriver.h"
#include "VTCmdLineParser.h"
#include "VTConsoleText.h"
#include "VTStringConv.h"

namespace {

using Parser = veltrano::VTCmdLineParserT<char>;

constexpr int kExitOk = 0;
constexpr int kExitTimedOut = 1;
constexpr int kExitUsage = 2;
constexpr int kExitStartFailed = 3;
constexpr int kDefaultTimeoutSeconds = 60;

constexpr wchar_t kUsage[] =
    L"Usage: uidriver.exe run [--timeout SEC] [--answer-boxes] [--press ID] [--cwd DIR] -- "
    L"PROGRAM.exe "
    L"[ARGS...]\n"
    L"\n"
    L"Starts PROGRAM.exe, prints each top-level window it shows (caption, class, controls) as it\n"
    L"appears, and prints exit=0x%08X with the full exit code when it ends.\n"
    L"  --timeout SEC    give up after SEC seconds (default 60): the program is terminated\n"
    L"  --answer-boxes   answer every message box with OK (or Cancel) after printing it\n"
    L"  --press ID       press the button with control id ID (decimal) in the first window\n"
    L"                   that has it, once, after printing the window\n"
    L"  --cwd DIR        the program's working folder\n"
    L"Exit code: 0 when the program ended (whatever its code), 1 on timeout, 2 for a command\n"
    L"line it does not understand, 3 when the program could not be started.\n"
    L"\n"
    L"Usage: uidriver.exe press [--timeout SEC] [--when-text TEXT] [--wait-only] --title CAPTION\n"
    L"                           --id ID\n"
    L"\n"
    L"Waits for a visible window of any program with exactly this caption, and for its button\n"
    L"ID (decimal) to be enabled (and to read TEXT, with --when-text), then presses it (not with\n"
    L"--wait-only). Exit code: 0 pressed (or ready), 1 on timeout, 2 for a command line it does\n"
    L"not understand.\n"
    L"\n"
    L"Usage: uidriver.exe hold-desktop\n"
    L"\n"
    L"Opens the desktop, prints \"desktop ready\" and stays until it is ended.\n";

struct RunRequest {
  int timeoutSeconds = kDefaultTimeoutSeconds;
  bool answerBoxes = false;
  int pressId = 0;  // 0: press nothing
  std::wstring workingFolder;
  std::wstring program;
  std::vector<std::wstring> programArguments;
};

struct PressRequest {
  int timeoutSeconds = kDefaultTimeoutSeconds;
  std::wstring title;
  std::wstring whenText;
  int id = 0;
  bool waitOnly = false;
};

void PrintLine(const std::wstring& line) {
  veltrano::WriteStdText(STD_OUTPUT_HANDLE, line + L"\n");
}

void PrintError(const std::wstring& line) {
  veltrano::WriteStdText(STD_ERROR_HANDLE, line + L"\n");
}

std::wstring Quoted(const std::wstring& text) {
  std::wstring quoted = L"\"";
  for (wchar_t c : text) {
    if (c == L'\n') {
      quoted += L"\\n";
    } else if (c == L'\r') {
      quoted += L"\\r";
    } else {
      if (c == L'"' || c == L'\\') quoted += L'\\';
      quoted += c;
    }
  }
  return quoted + L"\"";
}

std::wstring Hex(unsigned long long value, int digits) {
  wchar_t text[24];
  swprintf(text, 24, L"0x%0*llX", digits, value);
  return text;
}

// The arguments before "--" are ours; the first one after it is the program, the rest its own.
bool ParseRunRequest(const std::vector<std::wstring>& arguments, RunRequest& request) {
  size_t separator = 0;
  while (separator < arguments.size() && arguments[separator] != L"--") ++separator;
  if (separator + 1 >= arguments.size() || arguments[0] != L"run") return false;

  Parser parser;
  parser.programName = "uidriver";
  parser.OutputFunction = &veltrano::WriteParserLineToStdErr;
  parser.AddOption(request.timeoutSeconds, {"", "timeout", false});
  parser.AddOption(request.workingFolder, {"", "cwd", false});
  parser.AddOption(request.pressId, {"", "press", false});
  parser.AddFlag(request.answerBoxes, {"", "answer-boxes"});
  std::vector<std::string> ours{"uidriver"};
  for (size_t i = 1; i < separator; ++i) ours.push_back(veltrano::WideToUtf8(arguments[i].c_str()));
  if (parser.Parse(ours) != veltrano::status::kOk || request.timeoutSeconds <= 0) return false;

  request.program = arguments[separator + 1];
  request.programArguments.assign(arguments.begin() + separator + 2, arguments.end());
  return true;
}

bool ParsePressRequest(const std::vector<std::wstring>& arguments, PressRequest& request) {
  if (arguments.empty() || arguments[0] != L"press") return false;
  Parser parser;
  parser.programName = "uidriver";
  parser.OutputFunction = &veltrano::WriteParserLineToStdErr;
  parser.AddOption(request.timeoutSeconds, {"", "timeout", false});
  parser.AddOption(request.title, {"", "title", true});
  parser.AddOption(request.whenText, {"", "when-text", false});
  parser.AddOption(request.id, {"", "id", true});
  parser.AddFlag(request.waitOnly, {"", "wait-only"});
  std::vector<std::string> ours{"uidriver"};
  for (size_t i = 1; i < arguments.size(); ++i) {
    ours.push_back(veltrano::WideToUtf8(arguments[i].c_str()));
  }
  return parser.Parse(ours) == veltrano::status::kOk && request.timeoutSeconds > 0 &&
         request.id > 0 && !request.title.empty();
}

// The button, once its window is shown and it is ready to be pressed.
HWND ReadyButton(const PressRequest& request) {
  const HWND window = ::FindWindowW(nullptr, request.title.c_str());
  if (window == nullptr || !::IsWindowVisible(window)) return nullptr;
  const HWND button = ::GetDlgItem(window, request.id);
  if (button == nullptr || !::IsWindowEnabled(button)) return nullptr;
  if (!request.whenText.empty() && uitest::WindowText(button) != request.whenText) return nullptr;
  return window;
}

int Press(const PressRequest& request) {
  const DWORD timeoutMs = static_cast<DWORD>(request.timeoutSeconds) * 1000;
  const DWORD start = GetTickCount();
  HWND window = nullptr;
  while ((window = ReadyButton(request)) == nullptr) {
    // The tick count may wrap; the subtraction is unsigned on purpose.
    if (GetTickCount() - start >= timeoutMs) {
      PrintError(L"uidriver: no button id=" + std::to_wstring(request.id) + L" ready in " +
                 Quoted(request.title) + L" within " + std::to_wstring(request.timeoutSeconds) +
                 L" s");
      return kExitTimedOut;
    }
    Sleep(uitest::kPollIntervalMs);
  }
  if (request.waitOnly) {
    PrintLine(L"ready button id=" + std::to_wstring(request.id) + L" in " + Quoted(request.title));
    return kExitOk;
  }
  const bool pressed = uitest::PressButton(window, request.id);
  PrintLine(std::wstring(pressed ? L"pressed" : L"could not press") + L" button id=" +
            std::to_wstring(request.id) + L" in " + Quoted(request.title));
  return pressed ? kExitOk : kExitTimedOut;
}

void PrintWindow(HWND window) {
  // A handle is as wide as a pointer: 8 digits in the 32-bit build, 16 in the x64 one.
  PrintLine(L"window " + Hex(reinterpret_cast<UINT_PTR>(window), sizeof(window) * 2) +
            L" class=" + Quoted(uitest::WindowClass(window)) + L" caption=" +
            Quoted(uitest::WindowText(window)));
  for (const uitest::ControlInfo& control : uitest::ChildControls(window)) {
    PrintLine(L"  control id=" + Hex(static_cast<unsigned>(control.id) & 0xFFFFu, 4) + L" class=" +
              Quoted(control.className) + (control.visible ? L" visible" : L" hidden") +
              (control.enabled ? L" enabled" : L" disabled") + L" text=" + Quoted(control.text));
  }
}

// Presses button `request.pressId` of `window` if it has one and nothing was pressed yet.
void PressRequestedButton(HWND window, RunRequest& request) {
  if (request.pressId == 0 || ::GetDlgItem(window, request.pressId) == nullptr) return;
  const bool pressed = uitest::PressButton(window, request.pressId);
  PrintLine(std::wstring(pressed ? L"pressed" : L"could not press") + L" button id=" +
            std::to_wstring(request.pressId));
  request.pressId = 0;
}

// Prints the windows not seen before; answers message boxes and presses a button when asked to.
void ReportNewWindows(const uitest::Process& process, RunRequest& request, std::set<HWND>& seen) {
  for (HWND window : uitest::TopLevelWindows(process.Id())) {
    if (!seen.insert(window).second) continue;
    PrintWindow(window);
    if (!uitest::IsMessageBox(window)) PressRequestedButton(window, request);
    if (request.answerBoxes && uitest::IsMessageBox(window)) {
      const std::wstring caption = uitest::WindowText(window);
      const bool answered = uitest::AnswerMessageBox(window);
      PrintLine(std::wstring(answered ? L"answered" : L"could not answer") + L" box " +
                Quoted(caption));
      // A handle may be reused by the next box.
      seen.erase(window);
    }
  }
}

int Run(RunRequest& request) {
  uitest::Process process;
  uitest::StartOptions options;
  options.workingFolder = request.workingFolder;
  const veltrano::Status started =
      process.Start(request.program, uitest::JoinArguments(request.programArguments), options);
  if (started != veltrano::status::kOk) {
    PrintError(L"uidriver: cannot start " + request.program + L" (error " +
               std::to_wstring(started) + L")");
    return kExitStartFailed;
  }
  PrintLine(L"started pid=" + std::to_wstring(process.Id()));

  const DWORD timeoutMs = static_cast<DWORD>(request.timeoutSeconds) * 1000;
  const DWORD start = GetTickCount();
  std::set<HWND> seen;
  while (!process.WaitForExit(uitest::kPollIntervalMs)) {
    ReportNewWindows(process, request, seen);
    // The tick count may wrap; the subtraction is unsigned on purpose.
    if (GetTickCount() - start >= timeoutMs) {
      process.Terminate();
      PrintError(L"uidriver: timeout after " + std::to_wstring(request.timeoutSeconds) +
                 L" s, program terminated");
      return kExitTimedOut;
    }
  }
  PrintLine(L"exit=" + Hex(process.ExitCode(), 8));
  return kExitOk;
}

// Wine starts its desktop process for the first program that needs the desktop, handing it
// that program's output handles, and ends it a moment after the last such program has gone. A
// test run starts a holder first: otherwise a test's output pipe stays open in the desktop
// process, and the run waits for that test until the desktop happens to end.
int HoldDesktop() {
  if (::GetDesktopWindow() == nullptr) return kExitStartFailed;
  PrintLine(L"desktop ready");
  ::Sleep(INFINITE);
  return kExitOk;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::vector<std::wstring> arguments(argv + 1, argv + argc);
  RunRequest run;
  if (ParseRunRequest(arguments, run)) return Run(run);
  PressRequest press;
  if (ParsePressRequest(arguments, press)) return Press(press);
  if (arguments.size() == 1 && arguments[0] == L"hold-desktop") return HoldDesktop();
  veltrano::WriteStdText(STD_ERROR_HANDLE, kUsage);
  return kExitUsage;
}
