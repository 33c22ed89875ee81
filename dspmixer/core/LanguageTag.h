#pragma once
// Language tags as the language files are named and as Windows names the user's UI language:
// a language subtag of 2 or 3 characters, then optional subtags after "-" or "_".
#include <string>

#include "StatusCode.h"

struct LanguageTag {
  std::wstring language;  // 2 or 3 characters
  std::wstring script;    // 4 characters, or empty
  std::wstring region;    // 2 characters, or empty

  // language, script and region joined by "-": the name Windows knows the locale by.
  std::wstring LocaleName() const;
};

// Splits `text` into its subtags. A subtag of 4 characters is the script, one of 2 the region;
// one of any other length ends the reading (it and the rest are ignored). Letter case is kept.
// kInvalidTag for an empty text, a language subtag of another length, or a script or region
// given twice with different values.
StatusCode ParseLanguageTag(const std::wstring& text, LanguageTag& tag);
