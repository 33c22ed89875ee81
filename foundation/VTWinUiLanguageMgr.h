#pragma once
// Matching a list of language tags against the language of the Windows user interface.
// A derived class supplies the list (LoadLanguages); SelectUiLanguage picks the best match.
#include <string>
#include <vector>

#include "VTStatus.h"

namespace veltrano {

// One parsed language tag such as "de-AT" or "sr-Latn-RS", with the names Windows gives it.
struct LanguageTagInfo {
  std::wstring tag;       // exactly as given
  std::wstring language;  // 2 or 3 characters
  std::wstring region;    // 2 characters, or empty
  std::wstring script;    // 4 characters, or empty
  std::wstring nativeDisplayName;
  std::wstring localizedDisplayName;

  void Clear();
  bool IsEmpty() const { return tag.empty(); }
  // language[-script][-region]: the name Windows knows the locale by.
  std::wstring CanonicalName() const;
};

// Splits `text` into language, script and region at "-" or "_" and asks Windows for the
// locale's display names. Letter case is kept as given. Fails with kInvalidData for text that
// is not a tag, kInvalidValue for a locale Windows does not know, or the Windows error.
Status ParseLanguageTag(const std::wstring& text, LanguageTagInfo& info);

class VTWinUiLanguageMgr {
 public:
  VTWinUiLanguageMgr() = default;
  virtual ~VTWinUiLanguageMgr() = default;
  VTWinUiLanguageMgr(const VTWinUiLanguageMgr&) = delete;
  VTWinUiLanguageMgr& operator=(const VTWinUiLanguageMgr&) = delete;

  // Fills `candidates`.
  virtual Status LoadLanguages() = 0;

  // Sets `selected` to the candidate that best fits the user's Windows UI language; nothing
  // selected is not an error.
  Status SelectUiLanguage();
  // The matching of SelectUiLanguage for a given user language: the first candidate of the
  // earliest pass that finds one becomes `selected`.
  void SelectFor(const LanguageTagInfo& user);

  std::vector<LanguageTagInfo> candidates;  // in the order they were loaded
  LanguageTagInfo selected;                 // empty when nothing fits
};

// The Windows user-interface language as a locale name ("de-DE").
Status GetUiLanguageName(std::wstring& name);

}  // namespace veltrano
