#include "SetupLog.h"

#include <windows.h>

#include <cwchar>

#include "ProductLayout.h"
#include "VTStringConv.h"

SetupLog::SetupLog() {
  wchar_t temp[MAX_PATH + 1] = {};
  if (::GetTempPathW(MAX_PATH + 1, temp) == 0) return;
  path_ = Join(temp, product::kLogFile);
  // Another run may be writing it at the same time (the installed setup.exe while its copy
  // starts the removal); appends of whole lines do not mix.
  file_.Reset(::CreateFileW(path_.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}

void SetupLog::Write(const std::wstring& line) {
  if (!file_.IsValid()) return;
  SYSTEMTIME now;
  ::GetLocalTime(&now);
  wchar_t stamp[32];
  std::swprintf(stamp, 32, L"%04u-%02u-%02u %02u:%02u:%02u ", now.wYear, now.wMonth, now.wDay,
                now.wHour, now.wMinute, now.wSecond);
  const std::string bytes = veltrano::WideToUtf8((stamp + line + L"\r\n").c_str());
  DWORD written = 0;
  ::WriteFile(file_.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

void SetupLog::Write(const std::wstring& line, veltrano::Status status) {
  wchar_t code[16];
  std::swprintf(code, 16, L"0x%08X", static_cast<unsigned>(status));
  Write(line + L": " + code);
}
