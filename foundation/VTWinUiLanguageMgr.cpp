#include "VTWinUiLanguageMgr.h"

#include <windows.h>

namespace veltrano {

namespace {

// Language, then a script and a region in either order; anything after them never counts.
constexpr size_t kSubtagsRead = 3;

// A locale Windows reports as invalid is a tag we cannot offer, not a system failure.
Status DisplayNameStatus(Status status) {
  return status == ERROR_INVALID_PARAMETER ? status::kInvalidParameter : status;
}

Status LoadDisplayNames(LanguageTagInfo& info) {
  if (info.language.empty()) return status::kFailed;
  const std::wstring locale = info.CanonicalName();
  VT_RETURN_IF_FAILED(DisplayNameStatus(
      GetLocaleText(locale, LOCALE_SNATIVEDISPLAYNAME, info.nativeDisplayName)));
  return DisplayNameStatus(
      GetLocaleText(locale, LOCALE_SLOCALIZEDDISPLAYNAME, info.localizedDisplayName));
}

}  // namespace

Status ParseLanguageTag(const std::wstring& text, LanguageTagInfo& info) {
  info.Clear();
  info.tag = text;
  VT_RETURN_IF_FAILED(ReadLanguageTag(text, kSubtagsRead, info));
  return LoadDisplayNames(info);
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

void VTWinUiLanguageMgr::SelectFor(const LanguageTagInfo& user) {
  selected.Clear();
  if (const LanguageTagInfo* best = ChooseLanguage(user, candidates)) selected = *best;
}

}  // namespace veltrano
