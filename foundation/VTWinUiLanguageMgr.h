#pragma once
// Matching a list of language tags against the language of the Windows user interface.
// A derived class supplies the list (LoadLanguages); SelectUiLanguage picks the best match.
#include <string>
#include <vector>

#include "VTLanguageTag.h"
#include "VTStatus.h"

namespace veltrano {

// One parsed language tag such as "de-AT" or "sr-Latn-RS", with the names Windows gives it.
struct LanguageTagInfo : LanguageSubtags {
  std::wstring tag;  // exactly as given
  std::wstring nativeDisplayName;
  std::wstring localizedDisplayName;

  void Clear() { *this = LanguageTagInfo(); }
  bool IsEmpty() const { return tag.empty(); }
};

// Reads `text` into language, script and region, and asks Windows for the locale's display
// names. Only the first three subtags count: whatever follows them is ignored. Letter case is
// kept as given. Fails with kInvalidData for text that is not a tag, kInvalidParameter for a locale
// Windows does not know, or the Windows error.
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

}  // namespace veltrano
