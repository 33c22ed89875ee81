// Finding the language files beside the executable and choosing the one for the user.
#include <windows.h>

#include <functional>

#include "LanguageTag.h"
#include "LanguageTexts.h"
#include "VTHandles.h"
#include "VTWow64FsRedirection.h"

namespace {

constexpr int kLocaleNameChars = 85;  // LOCALE_NAME_MAX_LENGTH

StatusCode LastErrorStatus() {
  const DWORD error = GetLastError();
  return error != 0 ? error : ERROR_GEN_FAILURE;
}

StatusCode GetLocaleText(const std::wstring& locale, LCTYPE type, std::wstring& text) {
  text.clear();
  const int length = GetLocaleInfoEx(locale.c_str(), type, nullptr, 0);
  if (length <= 0) return LastErrorStatus();
  std::vector<wchar_t> buffer(static_cast<size_t>(length));
  if (GetLocaleInfoEx(locale.c_str(), type, buffer.data(), length) <= 0) return LastErrorStatus();
  text = buffer.data();
  return mixer_status::kOk;
}

// The record of one entry of the folder; false for an entry that is no usable language file:
// a folder, a name without ".txt" (case-sensitive) or with nothing before it, a tag that breaks
// the rules, or a locale the system does not know.
bool MakeRecord(const WIN32_FIND_DATAW& data, const std::wstring& extension,
                LanguageFileRecord& record) {
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return false;
  const std::wstring name = data.cFileName;
  const size_t dot = name.rfind(extension);
  if (dot == std::wstring::npos || dot == 0) return false;

  LanguageTag tag;
  record.tag = name.substr(0, dot);
  if (ParseLanguageTag(record.tag, tag) != mixer_status::kOk) return false;
  record.language = tag.language;
  record.region = tag.region;
  record.script = tag.script;
  const std::wstring locale = tag.LocaleName();
  return GetLocaleText(locale, LOCALE_SENGLISHDISPLAYNAME, record.englishName) == 0 &&
         GetLocaleText(locale, LOCALE_SLOCALIZEDDISPLAYNAME, record.localizedName) == 0;
}

// A folder that does not exist or holds no language file gives an empty list.
StatusCode AppendLanguageFiles(const std::wstring& folder, const std::wstring& extension,
                               std::vector<LanguageFileRecord>& files) {
  WIN32_FIND_DATAW data;
  veltrano::FindHandle find(folder + L"\\*" + extension, data);
  if (!find.IsValid()) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return mixer_status::kOk;
    return LastErrorStatus();
  }
  do {
    LanguageFileRecord record;
    if (MakeRecord(data, extension, record)) files.push_back(record);
  } while (find.Next(data));
  const DWORD error = GetLastError();
  return error == ERROR_NO_MORE_FILES ? mixer_status::kOk : LastErrorStatus();
}

StatusCode FindLanguageFiles(const std::wstring& folder, const std::wstring& extension,
                             std::vector<LanguageFileRecord>& files) {
  veltrano::Wow64FsRedirectionOff redirection;
  VT_RETURN_IF_FAILED(redirection.SwitchOff());
  VT_RETURN_IF_FAILED(AppendLanguageFiles(folder, extension, files));
  return redirection.Revert();
}

StatusCode GetUserUiLocaleName(std::wstring& name) {
  wchar_t buffer[kLocaleNameChars] = {};
  const LCID uiLocale = MAKELCID(GetUserDefaultUILanguage(), SORT_DEFAULT);
  if (LCIDToLocaleName(uiLocale, buffer, kLocaleNameChars, 0) == 0) return LastErrorStatus();
  name = buffer;
  return mixer_status::kOk;
}

using ChoiceRule = std::function<bool(const LanguageFileRecord& file)>;

// From the most to the least specific match; English is the fallback for every user.
std::vector<ChoiceRule> RulesFor(const LanguageTag& user) {
  std::vector<ChoiceRule> rules;
  if (!user.script.empty() && !user.region.empty()) {
    rules.push_back([user](const LanguageFileRecord& f) {
      return f.language == user.language && f.script == user.script && f.region == user.region;
    });
  }
  if (!user.script.empty()) {
    rules.push_back([user](const LanguageFileRecord& f) {
      return f.language == user.language && f.script == user.script;
    });
  }
  if (!user.region.empty()) {
    rules.push_back([user](const LanguageFileRecord& f) {
      return f.language == user.language && f.region == user.region;
    });
  }
  rules.push_back([user](const LanguageFileRecord& f) { return f.language == user.language; });
  rules.push_back([](const LanguageFileRecord& f) {
    return f.language == L"en" && f.script.empty() && f.region.empty();
  });
  rules.push_back([](const LanguageFileRecord& f) { return f.language == L"en"; });
  return rules;
}

}  // namespace

StatusCode ChooseLanguageFile(const std::wstring& userLocale,
                              const std::vector<LanguageFileRecord>& files,
                              LanguageFileRecord& chosen) {
  chosen = LanguageFileRecord();
  LanguageTag user;
  VT_RETURN_IF_FAILED(ParseLanguageTag(userLocale, user));
  for (const ChoiceRule& matches : RulesFor(user)) {
    for (const LanguageFileRecord& file : files) {
      if (matches(file)) {
        chosen = file;
        return mixer_status::kOk;
      }
    }
  }
  return mixer_status::kOk;
}

StatusCode LanguageFileSet::Locate(const std::wstring& folder) {
  if (located_) return mixer_status::kNothingToDo;
  located_ = true;
  VT_RETURN_IF_FAILED(FindLanguageFiles(folder, extension_, files_));
  folder_ = folder;
  if (files_.empty()) return mixer_status::kOk;
  std::wstring userLocale;
  VT_RETURN_IF_FAILED(GetUserUiLocaleName(userLocale));
  return ChooseLanguageFile(userLocale, files_, chosen_);
}

std::wstring LanguageFileSet::ChosenFilePath() const {
  if (!HasChosenFile()) return std::wstring();
  return folder_ + L"\\" + chosen_.tag + extension_;
}
