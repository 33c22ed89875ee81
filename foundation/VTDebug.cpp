#include "VTDebug.h"

#include <windows.h>

#include <atomic>
#include <cerrno>
#include <cstdio>

#include "VTCrtGuard.h"

namespace veltrano {

const char* g_diagnosticPrefix = "";

namespace {
std::atomic<DiagnosticSink> g_sink{nullptr};
}

Status FormatToBuffer(char (&buffer)[kDiagnosticBufferSize], const char* format, va_list args) {
  InvalidParameterHandlerScope scope;
  errno = 0;
  const int written = _vsnprintf_s(buffer, kDiagnosticBufferSize, _TRUNCATE, format, args);
  if (written >= 0) return status::kOk;
  const int error = errno;
  // With _TRUNCATE a cut text reports -1 and leaves errno alone.
  if (error == 0) return status::kTruncated;
  if (error == EINVAL) return status::kInvalidParameter;
  return status::FromErrno(error);
}

void DebugPrint(const char* format, ...) {
  char buffer[kDiagnosticBufferSize] = {};
  va_list args;
  va_start(args, format);
  FormatToBuffer(buffer, format, args);
  va_end(args);
  OutputDebugStringA(buffer);
  if (DiagnosticSink sink = g_sink.load()) sink(buffer);
}

DiagnosticSink SetDiagnosticSink(DiagnosticSink sink) { return g_sink.exchange(sink); }

}  // namespace veltrano
