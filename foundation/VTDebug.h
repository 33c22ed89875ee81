#pragma once
// Diagnostic lines of the foundation classes. They go to an attached debugger only; a test
// may install a sink that sees each line as well.
#include <cstdarg>

#include "VTStatus.h"

namespace veltrano {

constexpr unsigned kDiagnosticBufferSize = 512;

// Text placed before "ERROR: " / "WARNING: " in the formatter's diagnostics; empty in the stub.
extern const char* g_diagnosticPrefix;

// Formats with the C run-time's bounded formatting; a longer text is cut (kTruncated).
Status FormatToBuffer(char (&buffer)[kDiagnosticBufferSize], const char* format, va_list args);

// printf-style (Microsoft conversions: %S is a wide string). Cut at 511 characters.
void DebugPrint(const char* format, ...) __attribute__((format(ms_printf, 1, 2)));

using DiagnosticSink = void (*)(const char* line);
// Installs a sink that receives every diagnostic line after the debugger; returns the old one.
DiagnosticSink SetDiagnosticSink(DiagnosticSink sink);

}  // namespace veltrano
