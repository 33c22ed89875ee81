#pragma once
// The mixer's common error box: the language's error text and, on a second line in double
// quotes, where it happened and the status, e.g. "_tWinMain: Load -> 0x0000007E".
#include <windows.h>

#include <string>

#include "StatusCode.h"

std::wstring FormatErrorMessage(const wchar_t* scope, const wchar_t* operation, StatusCode status);

// The box: owned by `owner` (may be null), caption APP_TITLE, error icon.
void ShowErrorMessage(HWND owner, const wchar_t* scope, const wchar_t* operation,
                      StatusCode status);
