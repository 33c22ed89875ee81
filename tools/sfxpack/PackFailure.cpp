#include "PackFailure.h"

#include <cwchar>

namespace sfxpack {
namespace {

std::wstring SystemText(Status status) {
  wchar_t* buffer = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, status, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text = length != 0 ? std::wstring(buffer, length) : L"Unknown error.";
  LocalFree(buffer);
  // The system's texts end in a line break; the message must stay one line.
  while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) {
    text.pop_back();
  }
  for (wchar_t& c : text) {
    if (c == L'\r' || c == L'\n') c = L' ';
  }
  // Some texts expect the file name as an insert ("%1 is not a valid Win32 application.").
  for (size_t at; (at = text.find(L"%1")) != std::wstring::npos;) text.replace(at, 2, L"the file");
  return text;
}

std::wstring CodeText(Status status) {
  wchar_t code[16];
  // Windows error numbers read best in decimal, HRESULTs and our own codes in hex.
  swprintf(code, 16, status < 0x10000 ? L"%u" : L"0x%08X", status);
  return code;
}

}  // namespace

std::wstring DescribeFailure(const PackFailure& failure) {
  return L"sfxpack: " + failure.action + L" \"" + failure.path + L"\": " +
         (failure.reason.empty() ? SystemText(failure.status) : failure.reason) + L" (error " +
         CodeText(failure.status) + L")";
}

}  // namespace sfxpack
