#include "ErrorMessage.h"

#include <cwchar>

#include "LanguageTexts.h"
#include "MessageBoxes.h"

std::wstring FormatErrorMessage(const wchar_t* scope, const wchar_t* operation, StatusCode status) {
  wchar_t code[16];
  std::swprintf(code, sizeof(code) / sizeof(code[0]), L"0x%08X", static_cast<unsigned>(status));
  return GetText(LanguageKey::ERROR_MESSAGE_COMMON_ERROR) + L"\n\"" + scope + L": " + operation +
         L" -> " + code + L"\"";
}

void ShowErrorMessage(HWND owner, const wchar_t* scope, const wchar_t* operation,
                      StatusCode status) {
  ShowMessageBox(owner, FormatErrorMessage(scope, operation, status),
                 GetText(LanguageKey::APP_TITLE), MB_ICONERROR);
}
