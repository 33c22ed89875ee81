#include "LanguageDlg.h"

#include "Cfg.h"
#include "LanguageMgr.h"

namespace {

// "German (Germany) [Deutsch (Deutschland)]"; the native name only when it says more.
std::wstring DisplayText(const veltrano::LanguageTagInfo& language) {
  if (language.localizedDisplayName == language.nativeDisplayName) {
    return language.localizedDisplayName;
  }
  return language.localizedDisplayName + L" [" + language.nativeDisplayName + L"]";
}

}  // namespace

LRESULT LanguageDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
  // Nothing to choose from: the caller goes on with what it has.
  if (manager_->candidates.empty()) {
    EndDialog(IDOK);
    return TRUE;
  }
  combo_ = GetDlgItem(IDC_LANGUAGE_COMBO);
  SetWindowText(g_cfg.title.c_str());
  FillList();
  PreselectItem();
  CenterWindow();
  DlgResize_Init();
  return TRUE;
}

LRESULT LanguageDlg::OnSelChange(WORD, WORD, HWND, BOOL&) {
  chosenTag_ = TagOfItem(::SendMessageW(combo_, CB_GETCURSEL, 0, 0));
  return 0;
}

LRESULT LanguageDlg::OnOk(WORD, WORD, HWND, BOOL&) {
  int result = IDCANCEL;
  if (!chosenTag_.empty()) {
    for (const veltrano::LanguageTagInfo& candidate : manager_->candidates) {
      if (candidate.tag == chosenTag_) {
        manager_->selected = candidate;
        result = IDOK;
        break;
      }
    }
  }
  EndDialog(result);
  return 0;
}

LRESULT LanguageDlg::OnAppExit(WORD, WORD, HWND, BOOL&) {
  EndDialog(IDCANCEL);
  return 0;
}

// There is no way out but OK: Esc and the frame's close request are swallowed here.
LRESULT LanguageDlg::OnCancel(WORD, WORD, HWND, BOOL&) { return 0; }

// The combo box sorts the texts; each item keeps the index of its tag as its data.
void LanguageDlg::FillList() {
  itemTags_.clear();
  for (const veltrano::LanguageTagInfo& candidate : manager_->candidates) {
    const std::wstring text = DisplayText(candidate);
    const LRESULT item =
        ::SendMessageW(combo_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    if (item < 0) continue;
    ::SendMessageW(combo_, CB_SETITEMDATA, static_cast<WPARAM>(item),
                   static_cast<LPARAM>(itemTags_.size()));
    itemTags_.push_back(candidate.tag);
  }
}

void LanguageDlg::PreselectItem() {
  const std::wstring& selectedTag = manager_->selected.tag;
  if (!selectedTag.empty()) {
    chosenTag_ = selectedTag;
    const LRESULT count = ::SendMessageW(combo_, CB_GETCOUNT, 0, 0);
    for (LRESULT item = 0; item < count; ++item) {
      if (TagOfItem(item) != selectedTag) continue;
      if (::SendMessageW(combo_, CB_SETCURSEL, static_cast<WPARAM>(item), 0) != CB_ERR) return;
      break;
    }
  }
  ::SendMessageW(combo_, CB_SETCURSEL, 0, 0);
  chosenTag_ = TagOfItem(0);
}

std::wstring LanguageDlg::TagOfItem(LRESULT item) const {
  if (item < 0) return std::wstring();
  const LRESULT index = ::SendMessageW(combo_, CB_GETITEMDATA, static_cast<WPARAM>(item), 0);
  if (index < 0 || static_cast<size_t>(index) >= itemTags_.size()) return std::wstring();
  return itemTags_[static_cast<size_t>(index)];
}
