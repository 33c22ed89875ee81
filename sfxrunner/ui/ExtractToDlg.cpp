#include "ExtractToDlg.h"

#include <ole2.h>
#include <shlobj.h>

#include "Cfg.h"

namespace {

constexpr wchar_t kBrowseTitle[] = L"Specify a location for the files to be extracted.";

// OLE for the time of one browse; the browser's new dialog style needs it.
class OleSession {
 public:
  OleSession() : ok_(SUCCEEDED(::OleInitialize(nullptr))) {}
  ~OleSession() {
    if (ok_) ::OleUninitialize();
  }
  OleSession(const OleSession&) = delete;
  OleSession& operator=(const OleSession&) = delete;
  bool ok() const { return ok_; }

 private:
  bool ok_;
};

// An item list from the shell, freed with the task allocator.
class ItemIdList {
 public:
  explicit ItemIdList(PIDLIST_ABSOLUTE list = nullptr) : list_(list) {}
  ~ItemIdList() { ::CoTaskMemFree(list_); }
  ItemIdList(const ItemIdList&) = delete;
  ItemIdList& operator=(const ItemIdList&) = delete;
  PIDLIST_ABSOLUTE get() const { return list_; }
  PIDLIST_ABSOLUTE* receive() { return &list_; }

 private:
  PIDLIST_ABSOLUTE list_;
};

}  // namespace

LRESULT ExtractToDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
  edit_ = GetDlgItem(IDC_TARGET_PATH);
  SetWindowText(g_cfg.title.c_str());
  if (!path.empty()) ::SetWindowTextW(edit_, path.c_str());
  UpdateExtractButton();
  CenterWindow();
  DlgResize_Init();
  return TRUE;  // the default focus
}

LRESULT ExtractToDlg::OnPathChange(WORD, WORD, HWND, BOOL&) {
  path = winui::CWindow(edit_).GetWindowTextString();
  UpdateExtractButton();
  return 0;
}

LRESULT ExtractToDlg::OnBrowse(WORD, WORD, HWND, BOOL&) {
  BrowseForFolder();
  return 0;
}

// The path is taken as it stands, a relative one included; an empty or blank one would
// extract into the root of the current drive, so Enter does nothing until there is a folder.
LRESULT ExtractToDlg::OnOk(WORD, WORD, HWND, BOOL&) {
  if (HasFolder()) EndDialog(IDOK);
  return 0;
}

bool ExtractToDlg::HasFolder() const {
  return path.find_first_not_of(L" \t") != std::wstring::npos;
}

void ExtractToDlg::UpdateExtractButton() { ::EnableWindow(GetDlgItem(IDOK), HasFolder()); }

LRESULT ExtractToDlg::OnCancel(WORD, WORD, HWND, BOOL&) {
  EndDialog(IDCANCEL);
  return 0;
}

void ExtractToDlg::BrowseForFolder() {
  OleSession ole;
  if (!ole.ok()) return;

  BROWSEINFOW info = {};
  info.hwndOwner = m_hWnd;
  info.lpszTitle = kBrowseTitle;
  info.ulFlags = BIF_NEWDIALOGSTYLE;
  info.lpfn = BrowseCallback;
  info.lParam = reinterpret_cast<LPARAM>(this);
  ItemIdList chosen(::SHBrowseForFolderW(&info));
  if (!chosen.get()) return;

  wchar_t folder[MAX_PATH] = {};
  // Virtual folders (the Control Panel, say) have no file-system path and change nothing.
  if (!::SHGetPathFromIDListW(chosen.get(), folder)) return;
  path = folder;
  ::SetWindowTextW(edit_, path.c_str());
}

int CALLBACK ExtractToDlg::BrowseCallback(HWND browser, UINT msg, LPARAM, LPARAM data) {
  if (msg != BFFM_INITIALIZED) return 0;
  const auto* self = reinterpret_cast<const ExtractToDlg*>(data);
  if (self->path.empty()) return 0;

  // A folder that does not exist leaves the browser at its default selection.
  ItemIdList item;
  SFGAOF attributes = 0;
  if (FAILED(::SHParseDisplayName(self->path.c_str(), nullptr, item.receive(), SFGAO_FILESYSTEM,
                                  &attributes))) {
    return 0;
  }
  ::SendMessageW(browser, BFFM_SETSELECTIONW, FALSE, reinterpret_cast<LPARAM>(item.get()));
  return 0;
}
