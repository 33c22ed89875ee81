#include "VTStringConv.h"
#include "VTLastError.h"

#include <windows.h>

#include <cstring>
#include <cwchar>

namespace veltrano {

std::wstring Utf8ToWide(const char* text) {
  if (text == nullptr || *text == '\0') return std::wstring();
  const int length = static_cast<int>(std::strlen(text));
  const int needed = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text, length, nullptr, 0);
  if (needed > 0) {
    std::wstring result(static_cast<size_t>(needed), L'\0');
    if (MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text, length, &result[0], needed) ==
        needed) {
      return result;
    }
  }
  std::wstring fallback;
  fallback.reserve(static_cast<size_t>(length));
  for (const char* p = text; *p != '\0'; ++p) {
    fallback.push_back(static_cast<wchar_t>(static_cast<signed char>(*p)));
  }
  return fallback;
}

std::string WideToUtf8(const wchar_t* text) {
  if (text == nullptr || *text == L'\0') return std::string();
  const int length = static_cast<int>(std::wcslen(text));
  const int needed =
      WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text, length, nullptr, 0, nullptr, nullptr);
  if (needed > 0) {
    std::string result(static_cast<size_t>(needed), '\0');
    if (WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text, length, &result[0], needed,
                            nullptr, nullptr) == needed) {
      return result;
    }
  }
  std::string fallback;
  fallback.reserve(static_cast<size_t>(length));
  for (const wchar_t* p = text; *p != L'\0'; ++p) {
    fallback.push_back(static_cast<char>(*p & 0xFF));
  }
  return fallback;
}

Status ExpandEnvironment(std::wstring& output, const wchar_t* text) {
  output.clear();
  const DWORD needed = ExpandEnvironmentStringsW(text, nullptr, 0);
  if (needed == 0) return LastErrorOr();
  std::wstring buffer(needed + 1, L'\0');
  const DWORD written = ExpandEnvironmentStringsW(text, &buffer[0], needed + 1);
  if (written == 0 || written > needed + 1) return written == 0 ? LastErrorOr() : status::kFailed;
  buffer.resize(written - 1);  // the count includes the terminator
  output.swap(buffer);
  return status::kOk;
}

}  // namespace veltrano
