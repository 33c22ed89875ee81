#include "LanguageFileReader.h"

#include <windows.h>

#include "VTHandles.h"

const wchar_t kContinuedLineMark[] = L"${F_NL}";

namespace {

using veltrano::UniqueHandle;

constexpr wchar_t kWhiteSpace[] = L" \t\n\v\f\r";
constexpr char kUtf8Bom[] = "\xEF\xBB\xBF";
constexpr wchar_t kUtf16Bom = 0xFEFF;
constexpr DWORD kReadChunk = 64 * 1024;
// Far above any language file (209 keys); a larger file is not read into memory at all.
constexpr LONGLONG kMaxFileBytes = 16 * 1024 * 1024;

StatusCode ReadWholeFile(const std::wstring& path, std::string& bytes) {
  bytes.clear();
  UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.IsValid()) return mixer_status::kFileOpenFailed;
  LARGE_INTEGER size = {};
  if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart > kMaxFileBytes) {
    return mixer_status::kFileReadFailed;
  }
  char chunk[kReadChunk];
  DWORD read = 0;
  do {
    if (!ReadFile(file.Get(), chunk, kReadChunk, &read, nullptr)) {
      return mixer_status::kFileReadFailed;
    }
    // The file may grow while it is read: the limit holds for what is kept.
    if (bytes.size() + read > static_cast<size_t>(kMaxFileBytes)) {
      return mixer_status::kFileReadFailed;
    }
    bytes.append(chunk, read);
  } while (read > 0);
  return mixer_status::kOk;
}

// Invalid UTF-8 sequences become U+FFFD.
std::wstring DecodeUtf8(const char* bytes, size_t count) {
  if (count == 0) return std::wstring();
  const int length = MultiByteToWideChar(CP_UTF8, 0, bytes, static_cast<int>(count), nullptr, 0);
  std::wstring text(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, bytes, static_cast<int>(count), &text[0], length);
  return text;
}

// Lone surrogates are kept as they stand (they only end up in a text nobody matches against);
// an odd last byte is no whole character and is dropped.
std::wstring DecodeUtf16(const std::string& bytes) {
  std::wstring text;
  text.reserve(bytes.size() / 2);
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto low = static_cast<unsigned char>(bytes[i]);
    const auto high = static_cast<unsigned char>(bytes[i + 1]);
    text += static_cast<wchar_t>(low | (high << 8));
  }
  if (!text.empty() && text[0] == kUtf16Bom) text.erase(0, 1);
  return text;
}

std::wstring DecodeText(const std::string& bytes) {
  if (bytes.compare(0, 3, kUtf8Bom) == 0) return DecodeUtf8(bytes.data() + 3, bytes.size() - 3);
  return DecodeUtf16(bytes);
}

// An over-long line is dropped whole, so the rest of the file still loads and its key keeps the
// default (and shows up as missing) instead of a cut-off text. The last line needs no line end.
std::vector<std::wstring> SplitLines(const std::wstring& text) {
  std::vector<std::wstring> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find(L'\n', start);
    if (end == std::wstring::npos) end = text.size();
    std::wstring line = text.substr(start, end - start);
    if (!line.empty() && line.back() == L'\r') line.pop_back();
    if (line.size() <= kMaxLanguageLineChars) lines.push_back(std::move(line));
    start = end + 1;
  }
  return lines;
}

std::wstring TrimStart(const std::wstring& text) {
  const size_t first = text.find_first_not_of(kWhiteSpace);
  return first == std::wstring::npos ? std::wstring() : text.substr(first);
}

std::wstring TrimEnd(const std::wstring& text) {
  const size_t last = text.find_last_not_of(kWhiteSpace);
  return last == std::wstring::npos ? std::wstring() : text.substr(0, last + 1);
}

std::wstring Trim(const std::wstring& text) { return TrimEnd(TrimStart(text)); }

bool EndsWithBackslash(const std::wstring& text) { return !text.empty() && text.back() == L'\\'; }

// The next non-empty trimmed line from `index` on; false at the end of the lines.
bool NextNonEmptyLine(const std::vector<std::wstring>& lines, size_t& index, std::wstring& line) {
  for (; index < lines.size(); ++index) {
    line = Trim(lines[index]);
    if (!line.empty()) return true;
  }
  return false;
}

// Appends the continuation lines while the value ends with "\". Any line that ends with "\"
// continues, however short. At the end of the file the value is complete as it stands.
void AppendContinuations(const std::vector<std::wstring>& lines, size_t& index,
                         std::wstring& value) {
  std::wstring next;
  while (EndsWithBackslash(value)) {
    value.pop_back();
    value += kContinuedLineMark;
    ++index;
    if (!NextNonEmptyLine(lines, index, next)) return;
    value += next;
  }
}

}  // namespace

StatusCode ReadLanguageFileLines(const std::wstring& path, std::vector<std::wstring>& lines) {
  lines.clear();
  std::string bytes;
  VT_RETURN_IF_FAILED(ReadWholeFile(path, bytes));
  lines = SplitLines(DecodeText(bytes));
  return mixer_status::kOk;
}

// A value of one character right after the "=" ("A=B") is taken like any other value.
std::vector<LanguageFileValue> ParseLanguageLines(const std::vector<std::wstring>& lines) {
  std::vector<LanguageFileValue> values;
  for (size_t index = 0; index < lines.size(); ++index) {
    const std::wstring line = Trim(lines[index]);
    if (line.empty() || line[0] == L';') continue;
    const size_t equals = line.find(L'=');
    if (equals == std::wstring::npos || equals == 0) continue;
    LanguageFileValue entry{TrimEnd(line.substr(0, equals)), TrimStart(line.substr(equals + 1))};
    AppendContinuations(lines, index, entry.value);
    values.push_back(std::move(entry));
  }
  return values;
}
