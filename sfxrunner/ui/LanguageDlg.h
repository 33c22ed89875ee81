#pragma once
// The language dialog of a launch run: the candidate languages by name, the automatic choice
// pre-selected. The user leaves it only through OK, which makes the shown item the manager's
// `selected`. Ends with IDOK, or IDCANCEL when the choice is not a candidate or the program
// is asked to quit (ID_APP_EXIT); `selected` then stays as it was.
#include <windows.h>

#include <string>
#include <vector>

#include "CommandIds.h"
#include "DialogImpl.h"
#include "DialogResize.h"
#include "resource.h"

class LanguageMgr;

class LanguageDlg : public winui::CDialogImpl<LanguageDlg>,
                    public winui::CDialogResize<LanguageDlg> {
 public:
  enum { IDD = IDD_LANGUAGE };

  explicit LanguageDlg(LanguageMgr& manager) : manager_(&manager) {}

  BEGIN_MSG_MAP(LanguageDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    COMMAND_HANDLER(IDC_LANGUAGE_COMBO, CBN_SELCHANGE, OnSelChange)
    COMMAND_ID_HANDLER(IDOK, OnOk)
    COMMAND_ID_HANDLER(ID_APP_EXIT, OnAppExit)
    COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
    CHAIN_MSG_MAP(winui::CDialogResize<LanguageDlg>)
  END_MSG_MAP()

  BEGIN_DLGRESIZE_MAP(LanguageDlg)
    DLGRESIZE_CONTROL(IDC_LANGUAGE_PROMPT, winui::DLSZ_SIZE_X | winui::DLSZ_REPAINT)
    DLGRESIZE_CONTROL(IDC_LANGUAGE_COMBO, winui::DLSZ_SIZE_X | winui::DLSZ_REPAINT)
    DLGRESIZE_CONTROL(IDOK, winui::DLSZ_MOVE_X | winui::DLSZ_REPAINT)
  END_DLGRESIZE_MAP()

  // The tag of the item the user sees selected; empty when none is.
  const std::wstring& chosenTag() const { return chosenTag_; }

 private:
  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnSelChange(WORD, WORD, HWND, BOOL&);
  LRESULT OnOk(WORD, WORD, HWND, BOOL&);
  LRESULT OnAppExit(WORD, WORD, HWND, BOOL&);
  LRESULT OnCancel(WORD, WORD, HWND, BOOL&);

  void FillList();
  void PreselectItem();
  // The tag of combo item `item`, or empty.
  std::wstring TagOfItem(LRESULT item) const;

  HWND combo_ = nullptr;
  std::wstring chosenTag_;
  LanguageMgr* manager_;              // not owned
  std::vector<std::wstring> itemTags_;  // an item's data value is its index here
};
