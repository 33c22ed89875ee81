// Finding the language files beside the executable and choosing the one for the user.
#include <windows.h>

#include "LanguageTexts.h"
#include "VTHandles.h"
#include "VTLanguageTag.h"
#include "VTLastError.h"
#include "VTWow64FsRedirection.h"

namespace {

// A file name's tag, like the user's locale name, is read to its last subtag: a script or
// region that a later subtag contradicts makes the whole tag invalid.
constexpr size_t kSubtagsRead = veltrano::kEverySubtag;

// The record of one entry of the folder; false for an entry that is no usable language file:
// a folder, a name without ".txt" (case-sensitive) or with nothing before it, a tag that breaks
// the rules, or a locale the system does not know.
bool MakeRecord(const WIN32_FIND_DATAW& data, const std::wstring& extension,
                LanguageFileRecord& record) {
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return false;
  const std::wstring name = data.cFileName;
  const size_t dot = name.rfind(extension);
  if (dot == std::wstring::npos || dot == 0) return false;

  record.tag = name.substr(0, dot);
  if (veltrano::ReadLanguageTag(record.tag, kSubtagsRead, record) != mixer_status::kOk) {
    return false;
  }
  const std::wstring locale = record.CanonicalName();
  return veltrano::GetLocaleText(locale, LOCALE_SENGLISHDISPLAYNAME, record.englishName) == 0 &&
         veltrano::GetLocaleText(locale, LOCALE_SLOCALIZEDDISPLAYNAME, record.localizedName) == 0;
}

// A folder that does not exist or holds no language file gives an empty list.
StatusCode AppendLanguageFiles(const std::wstring& folder, const std::wstring& extension,
                               std::vector<LanguageFileRecord>& files) {
  WIN32_FIND_DATAW data;
  veltrano::FindHandle find(folder + L"\\*" + extension, data);
  if (!find.IsValid()) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return mixer_status::kOk;
    return veltrano::LastErrorOr();
  }
  do {
    LanguageFileRecord record;
    if (MakeRecord(data, extension, record)) files.push_back(record);
  } while (find.Next(data));
  const DWORD error = GetLastError();
  return error == ERROR_NO_MORE_FILES ? mixer_status::kOk : veltrano::LastErrorOr();
}

StatusCode FindLanguageFiles(const std::wstring& folder, const std::wstring& extension,
                             std::vector<LanguageFileRecord>& files) {
  veltrano::Wow64FsRedirectionOff redirection;
  VT_RETURN_IF_FAILED(redirection.SwitchOff());
  VT_RETURN_IF_FAILED(AppendLanguageFiles(folder, extension, files));
  return redirection.Revert();
}

}  // namespace

StatusCode ChooseLanguageFile(const std::wstring& userLocale,
                              const std::vector<LanguageFileRecord>& files,
                              LanguageFileRecord& chosen) {
  chosen = LanguageFileRecord();
  veltrano::LanguageSubtags user;
  VT_RETURN_IF_FAILED(veltrano::ReadLanguageTag(userLocale, kSubtagsRead, user));
  if (const LanguageFileRecord* best = veltrano::ChooseLanguage(user, files)) chosen = *best;
  return mixer_status::kOk;
}

StatusCode LanguageFileSet::Locate(const std::wstring& folder) {
  if (located_) return mixer_status::kNothingToDo;
  located_ = true;
  VT_RETURN_IF_FAILED(FindLanguageFiles(folder, extension_, files_));
  folder_ = folder;
  if (files_.empty()) return mixer_status::kOk;
  std::wstring userLocale;
  VT_RETURN_IF_FAILED(veltrano::GetUiLanguageName(userLocale));
  return ChooseLanguageFile(userLocale, files_, chosen_);
}

std::wstring LanguageFileSet::ChosenFilePath() const {
  if (!HasChosenFile()) return std::wstring();
  return folder_ + L"\\" + chosen_.tag + extension_;
}
