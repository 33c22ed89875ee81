#include "LanguageMgr.h"

#include <windows.h>

#include "Cfg.h"
#include "LanguageDlg.h"

namespace status = veltrano::status;

Status LanguageMgr::LoadLanguages() {
  candidates.clear();
  if (!g_cfg.launch || !g_cfg.launch->commandSet) return status::kFailed;
  const auto& tagSet = g_cfg.launch->commandSet->allLanguageTags;
  if (!tagSet || tagSet->tags.empty()) return status::kFailed;

  for (const std::wstring& tag : tagSet->tags) {
    veltrano::LanguageTagInfo info;
    // A tag Windows does not know cannot be offered; the others still can.
    if (veltrano::ParseLanguageTag(tag, info) != status::kOk) continue;
    candidates.push_back(info);
  }
  return candidates.empty() ? status::kFailed : status::kOk;
}

Status ChooseRunLanguage(bool showDialog, std::wstring& selectedTag) {
  selectedTag.clear();
  LanguageMgr languages;
  VT_RETURN_IF_FAILED(languages.LoadLanguages());
  VT_RETURN_IF_FAILED(languages.SelectUiLanguage());
  if (showDialog) {
    // A dialog that cannot be shown leaves the automatic choice in force.
    LanguageDlg dialog(languages);
    dialog.DoModal(::GetActiveWindow());
  }
  if (languages.selected.IsEmpty()) return status::kInvalidConfiguration;
  selectedTag = languages.selected.tag;
  return status::kOk;
}
