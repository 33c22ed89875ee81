#pragma once
// Drives a modal dialog of this thread as a user would: a thread timer, served by the
// dialog's own modal loop, runs the steps of a script one after the other. A dialog still
// open after a few seconds is ended with kScriptTimedOut, so a broken script fails the test
// instead of hanging it.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace sfxui_test {

constexpr INT_PTR kScriptTimedOut = 0x5CA1;

// A step gets the dialog and returns true when it is done; it is retried on the next tick
// otherwise (for windows that appear later, such as a nested browser).
using Step = std::function<bool(HWND dialog)>;

// Runs `showModal` (which opens the dialog and returns its result) with the steps applied to
// the dialog found by `dialogWindow`.
INT_PTR RunScripted(const std::function<HWND()>& dialogWindow, std::vector<Step> steps,
                    const std::function<INT_PTR()>& showModal);

// Typing and keys, the way the dialog manager sees them.
void TypeText(HWND edit, const wchar_t* text);
void PressKey(HWND control, WPARAM key);
void ClickButton(HWND dialog, int id);  // posted, so that nested modal loops can start

// A visible dialog window of this thread other than `except`, such as the folder browser.
HWND FindOtherDialog(HWND except);
// Whether some child of `window` has exactly this text.
bool HasChildWithText(HWND window, const wchar_t* text);

std::wstring TextOf(HWND window);

}  // namespace sfxui_test
