#include "MixerLabelDlg.h"

#include <commctrl.h>

#include "Fader.h"

namespace {

// The client length of a bar along the direction it fills.
int BarLength(HWND bar) {
  RECT client = {};
  ::GetClientRect(bar, &client);
  const bool vertical = (::GetWindowLongW(bar, GWL_STYLE) & PBS_VERTICAL) != 0;
  return vertical ? client.bottom - client.top : client.right - client.left;
}

}  // namespace

void MixerLabelDlgBase::Init(HWND window, int nameId) {
  name_ = ::GetDlgItem(window, nameId);
  meter_ = ::GetDlgItem(window, IDC_LABEL_METER);
  ::SetWindowTextW(name_, text_.c_str());
  ::SendMessageW(meter_, PBM_SETRANGE32, 0, kMeterMax);
  ::SendMessageW(meter_, PBM_SETSTEP, 1, 0);
  meterPixels_ = BarLength(meter_);
}

void MixerLabelDlgBase::UpdateMeter() {
  const int position = LevelToMeterPos(mixer_->GetLevel(type_, index_));
  const int pixel = meterPixels_ > 0 ? position * meterPixels_ / kMeterMax : position;
  if (pixel == shownPixel_) return;
  shownPixel_ = pixel;
  ::SendMessageW(meter_, PBM_SETPOS, position, 0);
}

LRESULT MixerLabelHDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
  DlgResize_Init(false);
  ModifyStyleEx(0, WS_EX_CLIENTEDGE, SWP_FRAMECHANGED);
  Init(m_hWnd, IDC_LABEL_ROW_NAME);
  return TRUE;
}

LRESULT MixerLabelVDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
  DlgResize_Init(false);
  ModifyStyleEx(0, WS_EX_CLIENTEDGE, SWP_FRAMECHANGED);
  Init(m_hWnd, IDC_LABEL_COLUMN_NAME);
  gain_ = GetDlgItem(IDC_LABEL_GAIN);
  uint32_t gain = 0;  // a gain that cannot be read shows at the bottom
  static_cast<void>(mixer_->GetOutputGain(type_, index_, gain));
  SetUpFader(gain_, gain);
  return TRUE;
}

LRESULT MixerLabelVDlg::OnVScroll(UINT, WPARAM wParam, LPARAM lParam, BOOL& handled) {
  if (reinterpret_cast<HWND>(lParam) != gain_ || gain_ == nullptr) {
    handled = FALSE;
    return 0;
  }
  if (IsFaderMove(LOWORD(wParam))) {
    static_cast<void>(mixer_->SetOutputGain(type_, index_, FaderWeight(gain_)));
  }
  return 0;
}
