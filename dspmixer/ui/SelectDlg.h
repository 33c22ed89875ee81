#pragma once
// The first window when the configuration names no mixer: the user picks the simple or the
// advanced mixer, or quits. Ends with IDC_SELECT_SIMPLE, IDC_SELECT_ADVANCED, IDC_SELECT_CLOSE
// or IDCANCEL.
#include <windows.h>

#include "DialogImpl.h"
#include "MixerMessages.h"
#include "resource.h"

class SelectDlg : public winui::CDialogImpl<SelectDlg> {
 public:
  enum { IDD = IDD_SELECT };

  BEGIN_MSG_MAP(SelectDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    COMMAND_ID_HANDLER(IDC_SELECT_SIMPLE, OnChoice)
    COMMAND_ID_HANDLER(IDC_SELECT_ADVANCED, OnChoice)
    COMMAND_ID_HANDLER(IDC_SELECT_CLOSE, OnChoice)
    COMMAND_ID_HANDLER(IDCANCEL, OnChoice)
    COMMAND_ID_HANDLER(ID_ACTIVATE_MIXER, OnActivate)
  END_MSG_MAP()

 private:
  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnChoice(WORD, WORD id, HWND, BOOL&);
  LRESULT OnActivate(WORD, WORD, HWND, BOOL&);
};
