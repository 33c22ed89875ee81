#pragma once
// Message boxes of a program under test: read and answered, so that no test leaves one hanging.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "UiProcess.h"

namespace uitest {

// A shown dialog-class window with the message box's text control. A dialog that merely shares
// the caption (a progress window under the same title) is no message box.
bool IsMessageBox(HWND window);
// The program's first message box now, or null.
HWND FindMessageBox(const Process& process);
// Answers the box with OK (or, lacking one, Cancel, else its first button) and waits until it
// has gone. False when no button could be pressed or the box stayed.
bool AnswerMessageBox(HWND box);

// Waits for a message box with the exact caption, returns its text and answers it with OK.
// Nothing when no such box appeared within `timeoutMs` or the program ended first.
std::optional<std::wstring> ExpectMessageBox(const Process& process, const std::wstring& caption,
                                             DWORD timeoutMs);

// Answers every message box the program shows until it ends or `quietMs` pass without one;
// returns their texts in order. For the end of a test, before the program is terminated.
std::vector<std::wstring> DrainMessageBoxes(const Process& process, DWORD quietMs = 1000);

}  // namespace uitest
