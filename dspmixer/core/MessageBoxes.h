#pragma once
// Every message box of the mixer goes through ShowMessageBox, so that tests can see and answer
// the boxes of code that runs in their own process.
#include <windows.h>

#include <string>

using MessageBoxFunction = int(WINAPI*)(HWND owner, const wchar_t* text, const wchar_t* caption,
                                   UINT flags);

// Shows the box through the installed function (MessageBoxW unless a test replaced it) and
// returns its result.
int ShowMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT flags);

// Installs `function` (WINAPI, like MessageBoxW; null: MessageBoxW again) and returns the one it replaces.
MessageBoxFunction SetMessageBoxFunction(MessageBoxFunction function);
