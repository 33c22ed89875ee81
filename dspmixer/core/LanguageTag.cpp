#include "LanguageTag.h"

namespace {

constexpr size_t kScriptLength = 4;
constexpr size_t kRegionLength = 2;

bool IsSeparator(wchar_t c) { return c == L'-' || c == L'_'; }

// The subtag that starts at `start`, up to the next separator or the end.
std::wstring SubtagAt(const std::wstring& text, size_t start) {
  size_t end = start;
  while (end < text.size() && !IsSeparator(text[end])) ++end;
  return text.substr(start, end - start);
}

// The field a subtag of this length fills; null when the subtag ends the reading.
std::wstring* FieldFor(const std::wstring& subtag, LanguageTag& tag) {
  if (subtag.size() == kScriptLength) return &tag.script;
  if (subtag.size() == kRegionLength) return &tag.region;
  return nullptr;
}

}  // namespace

std::wstring LanguageTag::LocaleName() const {
  std::wstring name = language;
  if (!script.empty()) name += L"-" + script;
  if (!region.empty()) name += L"-" + region;
  return name;
}

StatusCode ParseLanguageTag(const std::wstring& text, LanguageTag& tag) {
  tag = LanguageTag();
  const std::wstring language = SubtagAt(text, 0);
  if (language.size() != 2 && language.size() != 3) return mixer_status::kInvalidTag;

  LanguageTag parsed;
  parsed.language = language;
  for (size_t next = language.size(); next < text.size();) {
    const std::wstring subtag = SubtagAt(text, next + 1);
    std::wstring* field = FieldFor(subtag, parsed);
    if (field == nullptr) break;
    // "de-AT-AT" says the same thing twice; "de-AT-CH" contradicts itself.
    if (!field->empty() && *field != subtag) return mixer_status::kInvalidTag;
    *field = subtag;
    next += 1 + subtag.size();
  }
  tag = parsed;
  return mixer_status::kOk;
}
