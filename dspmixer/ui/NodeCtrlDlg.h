#pragma once
// The node control: a small modal popup over a crosspoint cell, with the node's fader, its
// value and "Hide". Every fader move writes the weight and lets the cell read it back.
#include <windows.h>

#include "DialogImpl.h"
#include "DspMixer.h"
#include "resource.h"

class MixerCtrlDlg;

class NodeCtrlDlg : public winui::CDialogImpl<NodeCtrlDlg> {
 public:
  enum { IDD = IDD_NODE_CONTROL };

  // The popup of `cell`, its top-left corner at the screen point (x, y).
  NodeCtrlDlg(MixerCtrlDlg& cell, int x, int y, const DspMixer& mixer, const MixerNode& node);

  BEGIN_MSG_MAP(NodeCtrlDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_VSCROLL, OnVScroll)
    COMMAND_ID_HANDLER(IDOK, OnHide)
    COMMAND_ID_HANDLER(IDCANCEL, OnHide)
  END_MSG_MAP()

  HWND Fader() const { return fader_; }

 private:
  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnVScroll(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnHide(WORD, WORD id, HWND, BOOL&);
  void ShowWeight();

  HWND fader_ = nullptr;
  HWND value_ = nullptr;
  HWND hide_ = nullptr;
  MixerCtrlDlg& cell_;
  int x_;
  int y_;
  const DspMixer* mixer_;
  MixerNode node_;
  uint32_t weight_ = 0;
};
