#include "ReportStatus.h"

#include <windows.h>

#include "Cfg.h"

namespace status = veltrano::status;

namespace {
constexpr UINT kBoxFlags = MB_ICONERROR | MB_SETFOREGROUND | MB_TOPMOST;
}

const wchar_t* StatusMessage(Status result) {
  switch (result) {
    case status::kOk:
    case status::kCancelled:
      return nullptr;
    case kStatusPlatformUnsupported:
      return L"The current platform is not supported.";
    case kStatusAccessDenied:
    case kStatusAccessDeniedHresult:
      return L"Administrator privileges required.";
    case status::kInvalidCommandLine:
      return L"The command line arguments are invalid.";
    case kStatusInvalidDirectory:
      return L"The directory name is invalid.";
    default:
      return L"Failed.";
  }
}

Status ReportStatus(Status result) {
  if (const wchar_t* text = StatusMessage(result)) {
    MessageBoxW(nullptr, text, g_cfg.title.c_str(), kBoxFlags);
  }
  return result;
}
