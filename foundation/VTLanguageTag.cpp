#include "VTLanguageTag.h"

#include "VTLastError.h"

namespace veltrano {

namespace {

constexpr size_t kRegionLength = 2;
constexpr size_t kScriptLength = 4;
constexpr int kLocaleNameChars = 85;  // LOCALE_NAME_MAX_LENGTH

bool IsSeparator(wchar_t c) { return c == L'-' || c == L'_'; }

// The subtag that starts at `start`, up to the next separator or the end.
std::wstring SubtagAt(const std::wstring& text, size_t start) {
  size_t end = start;
  while (end < text.size() && !IsSeparator(text[end])) ++end;
  return text.substr(start, end - start);
}

bool IsLanguageSubtag(const std::wstring& subtag) {
  return subtag.size() == 2 || subtag.size() == 3;
}

// The field a subtag of this length fills; null when the subtag ends the reading.
std::wstring* FieldFor(const std::wstring& subtag, LanguageSubtags& subtags) {
  if (subtag.size() == kScriptLength) return &subtags.script;
  if (subtag.size() == kRegionLength) return &subtags.region;
  return nullptr;
}

}  // namespace

std::wstring LanguageSubtags::CanonicalName() const {
  std::wstring name = language;
  if (!script.empty()) name += L"-" + script;
  if (!region.empty()) name += L"-" + region;
  return name;
}

Status ReadLanguageTag(const std::wstring& text, size_t maxSubtags, LanguageSubtags& subtags) {
  subtags = LanguageSubtags();
  LanguageSubtags read;
  read.language = SubtagAt(text, 0);
  if (maxSubtags == 0 || !IsLanguageSubtag(read.language)) return status::kInvalidData;

  size_t count = 1;
  for (size_t next = read.language.size(); next < text.size() && count < maxSubtags; ++count) {
    const std::wstring subtag = SubtagAt(text, next + 1);
    std::wstring* field = FieldFor(subtag, read);
    if (field == nullptr) break;
    // "de-AT-AT" says the same thing twice; "de-AT-CH" contradicts itself.
    if (!field->empty() && *field != subtag) return status::kInvalidData;
    *field = subtag;
    next += 1 + subtag.size();
  }
  subtags = read;
  return status::kOk;
}

Status GetLocaleText(const std::wstring& locale, LCTYPE type, std::wstring& text) {
  text.clear();
  const int length = ::GetLocaleInfoEx(locale.c_str(), type, nullptr, 0);
  if (length <= 0) return LastErrorOr();
  std::vector<wchar_t> buffer(static_cast<size_t>(length));
  if (::GetLocaleInfoEx(locale.c_str(), type, buffer.data(), length) <= 0) return LastErrorOr();
  text = buffer.data();
  return status::kOk;
}

Status GetUiLanguageName(std::wstring& name) {
  name.clear();
  wchar_t buffer[kLocaleNameChars] = {};
  const LCID uiLocale = MAKELCID(::GetUserDefaultUILanguage(), SORT_DEFAULT);
  if (::LCIDToLocaleName(uiLocale, buffer, kLocaleNameChars, 0) == 0) return LastErrorOr();
  name = buffer;
  return status::kOk;
}

bool MatchesInPass(LanguagePass pass, const LanguageSubtags& user,
                   const LanguageSubtags& candidate) {
  const bool sameLanguage = candidate.language == user.language;
  const bool sameScript = candidate.script == user.script;
  const bool sameRegion = candidate.region == user.region;
  const bool english = candidate.language == L"en";
  switch (pass) {
    case LanguagePass::kLanguageScriptRegion:
      return !user.script.empty() && !user.region.empty() && sameLanguage && sameScript &&
             sameRegion;
    case LanguagePass::kLanguageScript:
      return !user.script.empty() && sameLanguage && sameScript;
    case LanguagePass::kLanguageRegion:
      return !user.region.empty() && sameLanguage && sameRegion;
    case LanguagePass::kLanguage:
      return sameLanguage;
    case LanguagePass::kPlainEnglish:
      return english && candidate.script.empty() && candidate.region.empty();
    case LanguagePass::kAnyEnglish:
      return english;
  }
  return false;
}

}  // namespace veltrano
