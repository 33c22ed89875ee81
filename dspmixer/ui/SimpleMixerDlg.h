#pragma once
// The small mixer window: four faders for the four basic paths of the first device's mixer
// (Playback, Recording, Loopback, Monitor), each with its value above and its name below.
// One fader move writes the whole group of nodes between the two families of its path.
#include <windows.h>

#include "MixerDlgBase.h"

class SimpleMixerDlg : public MixerDlgImpl<SimpleMixerDlg> {
 public:
  enum { IDD = IDD_SIMPLE_MIXER };

  SimpleMixerDlg(SonarixApiDll& api, const Config& config);

  BEGIN_MSG_MAP(SimpleMixerDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_VSCROLL, OnVScroll)
    CHAIN_MSG_MAP(MixerDlgImpl<SimpleMixerDlg>)
  END_MSG_MAP()

  StatusCode UpdateDevices() override;
  // Hides the faders and the no-device text (the window's part of its teardown).
  void TearDownControls();

  // One of the four paths: a fader joins channel k of one family with channel k of the other.
  struct Path {
    const LanguageTextHandle* name;
    ChannelType input;
    ChannelType output;
    int sliderId;
    int valueId;
    int nameId;
  };
  static constexpr int kPathCount = 4;

 private:
  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnVScroll(UINT, WPARAM, LPARAM, BOOL&);

  void ShowColumns(bool show);
  void ShowPath(const Path& path, uint32_t weight);
  void WritePath(const Path& path, uint32_t weight) const;
  const Path* PathOfSlider(HWND slider) const;

  HWND sliders_[kPathCount] = {};
  HWND values_[kPathCount] = {};
  HWND names_[kPathCount] = {};
  HWND noDevice_ = nullptr;
};
