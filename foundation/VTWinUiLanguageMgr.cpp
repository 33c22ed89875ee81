#include "VTWinUiLanguageMgr.h"
#include "VTLastError.h"

#include <windows.h>

#include <functional>

namespace veltrano {

namespace {

constexpr size_t kLanguageLengths[] = {2, 3};
constexpr size_t kRegionLength = 2;
constexpr size_t kScriptLength = 4;
constexpr int kLocaleNameChars = 85;  // LOCALE_NAME_MAX_LENGTH

std::vector<std::wstring> SplitSubtags(const std::wstring& text) {
  std::vector<std::wstring> subtags(1);
  for (wchar_t c : text) {
    if (c == L'-' || c == L'_') {
      subtags.emplace_back();
    } else {
      subtags.back() += c;
    }
  }
  return subtags;
}

bool IsLanguageSubtag(const std::wstring& subtag) {
  for (size_t length : kLanguageLengths) {
    if (subtag.size() == length) return true;
  }
  return false;
}

// The field a subtag of this length fills, or null when the subtag ends the parse.
std::wstring* FieldFor(const std::wstring& subtag, LanguageTagInfo& info) {
  if (subtag.size() == kRegionLength) return &info.region;
  if (subtag.size() == kScriptLength) return &info.script;
  return nullptr;
}

Status LastErrorStatus() {
  const DWORD error = ::GetLastError();
  if (error == ERROR_INVALID_PARAMETER) return status::kInvalidValue;
  return error != 0 ? error : status::kFailed;
}

Status GetLocaleText(const std::wstring& locale, LCTYPE type, std::wstring& text) {
  text.clear();
  const int length = ::GetLocaleInfoEx(locale.c_str(), type, nullptr, 0);
  if (length <= 0) return LastErrorStatus();
  std::vector<wchar_t> buffer(static_cast<size_t>(length));
  if (::GetLocaleInfoEx(locale.c_str(), type, buffer.data(), length) <= 0) {
    return LastErrorStatus();
  }
  text = buffer.data();
  return status::kOk;
}

Status LoadDisplayNames(LanguageTagInfo& info) {
  if (info.language.empty()) return status::kFailed;
  const std::wstring locale = info.CanonicalName();
  VT_RETURN_IF_FAILED(GetLocaleText(locale, LOCALE_SNATIVEDISPLAYNAME, info.nativeDisplayName));
  return GetLocaleText(locale, LOCALE_SLOCALIZEDDISPLAYNAME, info.localizedDisplayName);
}

using Pass = std::function<bool(const LanguageTagInfo& candidate)>;

}  // namespace

void LanguageTagInfo::Clear() {
  tag.clear();
  language.clear();
  region.clear();
  script.clear();
  nativeDisplayName.clear();
  localizedDisplayName.clear();
}

std::wstring LanguageTagInfo::CanonicalName() const {
  std::wstring name = language;
  if (!script.empty()) name += L"-" + script;
  if (!region.empty()) name += L"-" + region;
  return name;
}

Status ParseLanguageTag(const std::wstring& text, LanguageTagInfo& info) {
  info.Clear();
  info.tag = text;
  if (text.empty()) return status::kInvalidData;

  const std::vector<std::wstring> subtags = SplitSubtags(text);
  if (!IsLanguageSubtag(subtags[0])) return status::kInvalidData;
  info.language = subtags[0];

  if (subtags.size() > 1) {
    std::wstring* second = FieldFor(subtags[1], info);
    if (second) {
      *second = subtags[1];
      std::wstring* third = subtags.size() > 2 ? FieldFor(subtags[2], info) : nullptr;
      // "de-AT-AT" says the same thing twice; "de-AT-CH" contradicts itself.
      if (third && !third->empty() && *third != subtags[2]) return status::kInvalidData;
      if (third) *third = subtags[2];
    }
  }
  return LoadDisplayNames(info);
}

Status GetUiLanguageName(std::wstring& name) {
  name.clear();
  wchar_t buffer[kLocaleNameChars] = {};
  const LCID uiLocale = MAKELCID(::GetUserDefaultUILanguage(), SORT_DEFAULT);
  if (::LCIDToLocaleName(uiLocale, buffer, kLocaleNameChars, 0) == 0) {
    return LastErrorOr();
  }
  name = buffer;
  return status::kOk;
}

Status VTWinUiLanguageMgr::SelectUiLanguage() {
  selected.Clear();
  if (candidates.empty()) return status::kOk;

  std::wstring uiName;
  VT_RETURN_IF_FAILED(GetUiLanguageName(uiName));
  LanguageTagInfo user;
  VT_RETURN_IF_FAILED(ParseLanguageTag(uiName, user));
  SelectFor(user);
  return status::kOk;
}

// From the most to the least specific match; English is the fallback for every user.
void VTWinUiLanguageMgr::SelectFor(const LanguageTagInfo& user) {
  selected.Clear();
  std::vector<Pass> passes;
  if (!user.script.empty() && !user.region.empty()) {
    passes.push_back([&](const LanguageTagInfo& c) {
      return c.language == user.language && c.script == user.script && c.region == user.region;
    });
  }
  if (!user.script.empty()) {
    passes.push_back([&](const LanguageTagInfo& c) {
      return c.language == user.language && c.script == user.script;
    });
  }
  if (!user.region.empty()) {
    passes.push_back([&](const LanguageTagInfo& c) {
      return c.language == user.language && c.region == user.region;
    });
  }
  passes.push_back([&](const LanguageTagInfo& c) { return c.language == user.language; });
  passes.push_back([](const LanguageTagInfo& c) {
    return c.language == L"en" && c.region.empty() && c.script.empty();
  });
  passes.push_back([](const LanguageTagInfo& c) { return c.language == L"en"; });

  for (const Pass& matches : passes) {
    for (const LanguageTagInfo& candidate : candidates) {
      if (matches(candidate)) {
        selected = candidate;
        return;
      }
    }
  }
}

}  // namespace veltrano
