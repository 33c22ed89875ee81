#pragma once
// Reading a language file: its text decoded and split into lines, and the "KEY = value" pairs
// those lines give.
#include <string>
#include <vector>

#include "StatusCode.h"

// The longest line a language file may hold, without its line end.
constexpr size_t kMaxLanguageLineChars = 10239;

// The mark the reader puts where a value continues on the next line.
extern const wchar_t kContinuedLineMark[];  // "${F_NL}"

// The file's lines: UTF-8 when it starts with the UTF-8 byte-order mark, otherwise UTF-16LE
// with or without byte-order mark; split at line feeds. kFileOpenFailed or
// kFileReadFailed.
StatusCode ReadLanguageFileLines(const std::wstring& path, std::vector<std::wstring>& lines);

struct LanguageFileValue {
  std::wstring key;
  std::wstring value;
};

// The key/value pairs of the lines, in file order (a key given twice appears twice).
std::vector<LanguageFileValue> ParseLanguageLines(const std::vector<std::wstring>& lines);
