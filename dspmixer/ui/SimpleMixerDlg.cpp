#include "SimpleMixerDlg.h"

#include <algorithm>
#include <vector>

#include "Fader.h"

namespace {

// Left to right as the window shows them.
const SimpleMixerDlg::Path kPaths[SimpleMixerDlg::kPathCount] = {
    {&LanguageKey::SIMPLE_WINDOW_LABEL_PLAYBACK, AppPlayback, DeviceOutput,
     IDC_SIMPLE_SLIDER_PLAYBACK, IDC_SIMPLE_VALUE_PLAYBACK, IDC_SIMPLE_NAME_PLAYBACK},
    {&LanguageKey::SIMPLE_WINDOW_LABEL_RECORDING, DeviceInput, AppRecording,
     IDC_SIMPLE_SLIDER_RECORDING, IDC_SIMPLE_VALUE_RECORDING, IDC_SIMPLE_NAME_RECORDING},
    {&LanguageKey::SIMPLE_WINDOW_LABEL_LOOPBACK, AppPlayback, AppRecording,
     IDC_SIMPLE_SLIDER_LOOPBACK, IDC_SIMPLE_VALUE_LOOPBACK, IDC_SIMPLE_NAME_LOOPBACK},
    {&LanguageKey::SIMPLE_WINDOW_LABEL_MONITOR, DeviceInput, DeviceOutput,
     IDC_SIMPLE_SLIDER_MONITOR, IDC_SIMPLE_VALUE_MONITOR, IDC_SIMPLE_NAME_MONITOR},
};

}  // namespace

SimpleMixerDlg::SimpleMixerDlg(SonarixApiDll& api, const Config& config)
    : MixerDlgImpl<SimpleMixerDlg>(api, config) {}

LRESULT SimpleMixerDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
  for (int i = 0; i < kPathCount; ++i) {
    sliders_[i] = GetDlgItem(kPaths[i].sliderId);
    values_[i] = GetDlgItem(kPaths[i].valueId);
    names_[i] = GetDlgItem(kPaths[i].nameId);
    ::SetWindowTextW(names_[i], GetText(*kPaths[i].name).c_str());
  }
  noDevice_ = GetDlgItem(IDC_SIMPLE_NO_DEVICE);
  ::SetWindowTextW(noDevice_, GetText(LanguageKey::NO_DEVICE_WINDOW_TEXT).c_str());
  InitMixerWindow();
  return TRUE;
}

StatusCode SimpleMixerDlg::UpdateDevices() {
  if (DeferUpdate()) return mixer_status::kOk;
  TearDownControls();
  CloseCurrentDevice();
  bool present = false;
  VT_RETURN_IF_FAILED(OpenFirstDevice(present));
  if (!present) {
    ::ShowWindow(noDevice_, SW_SHOW);
    return mixer_status::kOk;
  }
  for (const Path& path : kPaths) {
    uint32_t weight = 0;  // a node that cannot be read shows 0
    static_cast<void>(mixer_.GetNodeWeight({path.input, 0, path.output, 0}, weight));
    ShowPath(path, weight);
  }
  ShowColumns(true);
  return mixer_status::kOk;
}

void SimpleMixerDlg::TearDownControls() {
  ShowColumns(false);
  ::ShowWindow(noDevice_, SW_HIDE);
}

void SimpleMixerDlg::ShowColumns(bool show) {
  for (int i = 0; i < kPathCount; ++i) {
    for (HWND control : {sliders_[i], values_[i], names_[i]}) {
      ::ShowWindow(control, show ? SW_SHOW : SW_HIDE);
    }
  }
}

void SimpleMixerDlg::ShowPath(const Path& path, uint32_t weight) {
  SetUpFader(GetDlgItem(path.sliderId), weight);
  SetDlgItemText(path.valueId, WeightToPercentText(weight).c_str());
}

LRESULT SimpleMixerDlg::OnVScroll(UINT, WPARAM wParam, LPARAM lParam, BOOL& handled) {
  const Path* path = PathOfSlider(reinterpret_cast<HWND>(lParam));
  if (path == nullptr) {
    handled = FALSE;
    return 0;
  }
  if (!IsFaderMove(LOWORD(wParam))) return 0;
  const uint32_t weight = FaderWeight(reinterpret_cast<HWND>(lParam));
  SetDlgItemText(path->valueId, WeightToPercentText(weight).c_str());
  WritePath(*path, weight);
  return 0;
}

// Channel k of the input family to channel k of the output family at `weight`, every other
// node between their first n channels to 0, in one request; a failed write is not shown.
void SimpleMixerDlg::WritePath(const Path& path, uint32_t weight) const {
  const uint32_t n = std::min(mixer_.GetChannelCount(path.input),
                              mixer_.GetChannelCount(path.output));
  std::vector<NodeWeightEntry> entries;
  entries.reserve(static_cast<size_t>(n) * n);
  for (uint32_t i = 0; i < n; ++i) {
    for (uint32_t j = 0; j < n; ++j) {
      entries.push_back({{path.input, i, path.output, j}, i == j ? weight : 0});
    }
  }
  static_cast<void>(mixer_.SetNodeWeights(entries));
}

const SimpleMixerDlg::Path* SimpleMixerDlg::PathOfSlider(HWND slider) const {
  for (int i = 0; i < kPathCount; ++i) {
    if (slider != nullptr && sliders_[i] == slider) return &kPaths[i];
  }
  return nullptr;
}
