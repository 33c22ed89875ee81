#pragma once
// Language tags such as "de-AT" or "sr_Latn_RS": reading them, the Windows names of their
// locales, and choosing among tagged records for a user's language.
#include <windows.h>

#include <cstddef>
#include <string>
#include <type_traits>
#include <vector>

#include "VTStatus.h"

namespace veltrano {

// The parts of a tag that matching compares. Records that carry a tag derive from it.
struct LanguageSubtags {
  std::wstring language;  // 2 or 3 characters
  std::wstring script;    // 4 characters, or empty
  std::wstring region;    // 2 characters, or empty

  // language[-script][-region]: the name Windows knows the locale by.
  std::wstring CanonicalName() const;
};

// No limit for ReadLanguageTag: every subtag is read.
constexpr size_t kEverySubtag = static_cast<size_t>(-1);

// Reads `text`, split at "-" and "_", into `subtags`, looking at no more than `maxSubtags`
// subtags, the language included. After the language, a subtag of 4 characters is the script
// and one of 2 the region; one of any other length ends the reading. Letter case is kept.
// kInvalidData, with `subtags` left empty, for an empty text, a language of another length, or
// a script or region given twice with different values.
Status ReadLanguageTag(const std::wstring& text, size_t maxSubtags, LanguageSubtags& subtags);

// A text of the locale `locale`, such as LOCALE_SENGLISHDISPLAYNAME; the Windows error when
// Windows has none (ERROR_INVALID_PARAMETER for a locale it does not know).
Status GetLocaleText(const std::wstring& locale, LCTYPE type, std::wstring& text);

// The Windows user-interface language as a locale name ("de-DE").
Status GetUiLanguageName(std::wstring& name);

// The passes of the choice, from the most to the least specific; English is the fallback for
// every user.
enum class LanguagePass {
  kLanguageScriptRegion,  // only for a user with script and region
  kLanguageScript,        // only for a user with a script
  kLanguageRegion,        // only for a user with a region
  kLanguage,
  kPlainEnglish,  // "en" without script and region
  kAnyEnglish,
};
constexpr LanguagePass kLanguagePasses[] = {
    LanguagePass::kLanguageScriptRegion, LanguagePass::kLanguageScript,
    LanguagePass::kLanguageRegion,       LanguagePass::kLanguage,
    LanguagePass::kPlainEnglish,         LanguagePass::kAnyEnglish,
};

// Whether `candidate` fits `user` in `pass`. Comparisons are exact, case included.
bool MatchesInPass(LanguagePass pass, const LanguageSubtags& user,
                   const LanguageSubtags& candidate);

// The first record, in list order, of the earliest pass that finds one; null when none fits.
template <class Record>
const Record* ChooseLanguage(const LanguageSubtags& user, const std::vector<Record>& records) {
  static_assert(std::is_base_of<LanguageSubtags, Record>::value, "records carry a tag");
  for (LanguagePass pass : kLanguagePasses) {
    for (const Record& record : records) {
      if (MatchesInPass(pass, user, record)) return &record;
    }
  }
  return nullptr;
}

}  // namespace veltrano
