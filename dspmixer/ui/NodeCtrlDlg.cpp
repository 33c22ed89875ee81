#include "NodeCtrlDlg.h"

#include "Fader.h"
#include "LanguageTexts.h"
#include "MixerCtrlDlg.h"

namespace {
constexpr int kHidden = 1;     // "Hide" or Enter
constexpr int kCancelled = 2;  // Escape
}  // namespace

NodeCtrlDlg::NodeCtrlDlg(MixerCtrlDlg& cell, int x, int y, const DspMixer& mixer,
                         const MixerNode& node)
    : cell_(cell), x_(x), y_(y), mixer_(&mixer), node_(node) {}

LRESULT NodeCtrlDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
  fader_ = GetDlgItem(IDC_NODE_FADER);
  value_ = GetDlgItem(IDC_NODE_VALUE);
  hide_ = GetDlgItem(IDOK);
  ::SetWindowTextW(hide_, GetText(LanguageKey::ADVANCED_WINDOW_WEIGHT_BUTTON_HIDE).c_str());
  static_cast<void>(mixer_->GetNodeWeight(node_, weight_));  // 0 when it cannot be read
  ShowWeight();
  SetUpFader(fader_, weight_);
  // Exactly over the cell: its top-left corner on the cell's.
  SetWindowPos(nullptr, x_, y_, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
  return FALSE;
}

LRESULT NodeCtrlDlg::OnVScroll(UINT, WPARAM wParam, LPARAM lParam, BOOL& handled) {
  if (reinterpret_cast<HWND>(lParam) != fader_) {
    handled = FALSE;
    return 0;
  }
  if (!IsFaderMove(LOWORD(wParam))) return 0;
  weight_ = FaderWeight(fader_);
  static_cast<void>(mixer_->SetNodeWeight(node_, weight_));
  ShowWeight();
  // The cell shows what the device holds now, which may differ from what was written.
  cell_.Refresh();
  return 0;
}

LRESULT NodeCtrlDlg::OnHide(WORD, WORD id, HWND, BOOL&) {
  EndDialog(id == IDOK ? kHidden : kCancelled);
  return 0;
}

void NodeCtrlDlg::ShowWeight() { ::SetWindowTextW(value_, WeightToPercentText(weight_).c_str()); }
