#pragma once
// The target folder dialog of an extract run: shows the folder, lets the user type another
// one or pick it in the shell's folder browser. Ends with IDOK (use `path`) or IDCANCEL.
#include <windows.h>

#include <string>

#include "CommandIds.h"
#include "DialogImpl.h"
#include "DialogResize.h"
#include "resource.h"

class ExtractToDlg : public winui::CDialogImpl<ExtractToDlg>,
                     public winui::CDialogResize<ExtractToDlg> {
 public:
  enum { IDD = IDD_EXTRACT_TO };

  BEGIN_MSG_MAP(ExtractToDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    COMMAND_HANDLER(IDC_TARGET_PATH, EN_CHANGE, OnPathChange)
    COMMAND_ID_HANDLER(IDC_BROWSE, OnBrowse)
    COMMAND_ID_HANDLER(IDOK, OnOk)
    COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
    COMMAND_ID_HANDLER(ID_APP_EXIT, OnCancel)
    CHAIN_MSG_MAP(winui::CDialogResize<ExtractToDlg>)
  END_MSG_MAP()

  BEGIN_DLGRESIZE_MAP(ExtractToDlg)
    DLGRESIZE_CONTROL(IDC_TARGET_PATH, winui::DLSZ_SIZE_X | winui::DLSZ_REPAINT)
    DLGRESIZE_CONTROL(IDC_BROWSE, winui::DLSZ_MOVE_X | winui::DLSZ_REPAINT)
    DLGRESIZE_CONTROL(IDOK, winui::DLSZ_MOVE_X | winui::DLSZ_REPAINT)
    DLGRESIZE_CONTROL(IDCANCEL, winui::DLSZ_MOVE_X | winui::DLSZ_REPAINT)
  END_DLGRESIZE_MAP()

  // Set before the dialog opens; always equal to the edit control's text while it is open.
  std::wstring path;

 private:
  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnPathChange(WORD, WORD, HWND, BOOL&);
  LRESULT OnBrowse(WORD, WORD, HWND, BOOL&);
  LRESULT OnOk(WORD, WORD, HWND, BOOL&);
  LRESULT OnCancel(WORD, WORD, HWND, BOOL&);

  // Lets the user pick a folder in the shell's browser; the path changes only when the
  // choice is a file-system folder.
  void BrowseForFolder();
  // "Extract" is offered only while the field names a folder.
  bool HasFolder() const;
  void UpdateExtractButton();
  static int CALLBACK BrowseCallback(HWND browser, UINT msg, LPARAM lParam, LPARAM data);

  HWND edit_ = nullptr;
};
