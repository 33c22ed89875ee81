#pragma once
// The panel that the advanced mixer window shows in place of its matrix while no device is
// connected: one centred text in a sunken frame. It keeps its template size; the window that
// holds it is sized around it.
#include <windows.h>

#include "DialogImpl.h"
#include "DialogResize.h"
#include "resource.h"

class NoDeviceDlg : public winui::CDialogImpl<NoDeviceDlg>,
                    public winui::CDialogResize<NoDeviceDlg> {
 public:
  enum { IDD = IDD_NO_DEVICE };

  BEGIN_MSG_MAP(NoDeviceDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    CHAIN_MSG_MAP(winui::CDialogResize<NoDeviceDlg>)
  END_MSG_MAP()

  BEGIN_DLGRESIZE_MAP(NoDeviceDlg)
    DLGRESIZE_CONTROL(IDC_NO_DEVICE_TEXT, winui::DLSZ_SIZE_X | winui::DLSZ_SIZE_Y)
  END_DLGRESIZE_MAP()

  HWND TextControl() const { return text_; }

 private:
  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);

  HWND text_ = nullptr;
};
