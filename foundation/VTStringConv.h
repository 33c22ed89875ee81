#pragma once
// Conversions at the edges between UTF-8 (XML, command-line parser) and UTF-16 (everything
// else). They never fail: text that is not valid falls back to a unit-by-unit copy.
#include <string>

#include "VTStatus.h"

namespace veltrano {

// Invalid UTF-8 is copied byte by byte, each byte taken as a signed 8-bit value
// (0x80..0xFF become U+FF80..U+FFFF). A leading BOM stays as U+FEFF.
std::wstring Utf8ToWide(const char* text);

// Unconvertible UTF-16 (a lone surrogate) is copied unit by unit, keeping each low byte.
std::string WideToUtf8(const wchar_t* text);

// Expands %VARIABLES%; undefined ones stay as written. `output` is emptied first.
Status ExpandEnvironment(std::wstring& output, const wchar_t* text);

}  // namespace veltrano
