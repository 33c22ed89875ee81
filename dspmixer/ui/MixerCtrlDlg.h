#pragma once
// One crosspoint cell of the advanced window's matrix: the node's weight in percent on the
// configuration's connected or not-connected colour. A click opens the node control popup.
#include <windows.h>

#include <memory>

#include "DialogImpl.h"
#include "DspMixer.h"
#include "resource.h"

class MixerDlgBase;
class NodeCtrlDlg;

// A solid brush, deleted with its owner; null when it could not be made.
class SolidBrush {
 public:
  explicit SolidBrush(COLORREF color) : brush_(::CreateSolidBrush(color)) {}
  ~SolidBrush() {
    if (brush_ != nullptr) ::DeleteObject(brush_);
  }
  SolidBrush(const SolidBrush&) = delete;
  SolidBrush& operator=(const SolidBrush&) = delete;
  HBRUSH Get() const { return brush_; }

 private:
  HBRUSH brush_;
};

class MixerCtrlDlg : public winui::CDialogImpl<MixerCtrlDlg> {
 public:
  enum { IDD = IDD_MIXER_CELL };

  // `owner` is the advanced window (its window `ownerWindow`): the popup tells it when it
  // runs, so that device updates wait for it.
  MixerCtrlDlg(MixerDlgBase& owner, HWND ownerWindow, const DspMixer& mixer, const MixerNode& node,
               COLORREF connected, COLORREF notConnected);
  ~MixerCtrlDlg() override;

  BEGIN_MSG_MAP(MixerCtrlDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_CTLCOLORDLG, OnCtlColor)
    MESSAGE_HANDLER(WM_CTLCOLORSTATIC, OnCtlColor)
    MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLeftButtonDown)
    COMMAND_HANDLER(IDC_CELL_VALUE, STN_CLICKED, OnValueClicked)
  END_MSG_MAP()

  // Reads the node's weight from the device again and repaints the cell.
  void Refresh();
  // Runs the node control popup at the cell's top-left corner until it is hidden.
  void OpenNodeControl();
  // Ends a running popup of this cell (the device is about to change).
  void CloseNodeControl();

  const MixerNode& Node() const { return node_; }
  uint32_t Weight() const { return weight_; }
  bool IsConnected() const { return weight_ != 0; }

 private:
  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnCtlColor(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnLeftButtonDown(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnValueClicked(WORD, WORD, HWND, BOOL&);

  HWND value_ = nullptr;
  SolidBrush connectedBrush_;
  SolidBrush notConnectedBrush_;
  COLORREF connectedColor_;
  COLORREF notConnectedColor_;
  std::unique_ptr<NodeCtrlDlg> nodeControl_;
  MixerDlgBase& owner_;
  HWND ownerWindow_;
  const DspMixer* mixer_;
  MixerNode node_;
  uint32_t weight_ = 0;
};
