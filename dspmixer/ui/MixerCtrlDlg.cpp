#include "MixerCtrlDlg.h"

#include "MixerDlgBase.h"
#include "NodeCtrlDlg.h"

MixerCtrlDlg::MixerCtrlDlg(MixerDlgBase& owner, HWND ownerWindow, const DspMixer& mixer,
                           const MixerNode& node, COLORREF connected, COLORREF notConnected)
    : connectedBrush_(connected),
      notConnectedBrush_(notConnected),
      connectedColor_(connected),
      notConnectedColor_(notConnected),
      owner_(owner),
      ownerWindow_(ownerWindow),
      mixer_(&mixer),
      node_(node) {}

MixerCtrlDlg::~MixerCtrlDlg() = default;

LRESULT MixerCtrlDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
  // The client edge comes with the template (see OuterSizeWithoutEdge).
  value_ = GetDlgItem(IDC_CELL_VALUE);
  Refresh();
  return TRUE;
}

void MixerCtrlDlg::Refresh() {
  weight_ = 0;  // a node that cannot be read shows 0 % on the not-connected colour
  static_cast<void>(mixer_->GetNodeWeight(node_, weight_));
  ::SetWindowTextW(value_, WeightToPercentText(weight_).c_str());
  // A cell that is not shown yet is painted whole when it is.
  if ((GetStyle() & WS_VISIBLE) != 0) Invalidate();
}

LRESULT MixerCtrlDlg::OnCtlColor(UINT, WPARAM wParam, LPARAM, BOOL&) {
  const bool connected = IsConnected();
  ::SetBkColor(reinterpret_cast<HDC>(wParam), connected ? connectedColor_ : notConnectedColor_);
  return reinterpret_cast<LRESULT>(connected ? connectedBrush_.Get() : notConnectedBrush_.Get());
}

LRESULT MixerCtrlDlg::OnLeftButtonDown(UINT, WPARAM, LPARAM, BOOL&) {
  OpenNodeControl();
  return 0;
}

LRESULT MixerCtrlDlg::OnValueClicked(WORD, WORD, HWND, BOOL&) {
  OpenNodeControl();
  return 0;
}

void MixerCtrlDlg::OpenNodeControl() {
  RECT cell = {};
  GetWindowRect(&cell);
  owner_.PopupStarted();
  nodeControl_ = std::make_unique<NodeCtrlDlg>(*this, cell.left, cell.top, *mixer_, node_);
  nodeControl_->DoModal(::GetActiveWindow());
  nodeControl_.reset();
  owner_.PopupEnded(ownerWindow_);
}

void MixerCtrlDlg::CloseNodeControl() {
  if (nodeControl_ != nullptr && nodeControl_->IsWindow()) nodeControl_->EndDialog(0);
}
