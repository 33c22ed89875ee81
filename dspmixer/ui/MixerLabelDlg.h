#pragma once
// The labels of the advanced window's matrix: a row label (an input channel's name and a
// horizontal level meter) and a column label (an output channel's name, a vertical level meter
// and the channel's output-gain fader). Both keep their template's layout.
#include <windows.h>

#include <string>

#include "DialogImpl.h"
#include "DialogResize.h"
#include "DspMixer.h"
#include "resource.h"

// What both labels share: the channel, its name and its meter.
class MixerLabelDlgBase {
 public:
  MixerLabelDlgBase(const DspMixer& mixer, ChannelType type, uint32_t index, std::wstring text)
      : text_(std::move(text)), mixer_(&mixer), type_(type), index_(index) {}

  // Shows the channel's last read level. A position that would not move the bar by a pixel
  // is not set: meters are the window's steady cost.
  void UpdateMeter();

  ChannelType Type() const { return type_; }
  uint32_t Index() const { return index_; }
  const std::wstring& Text() const { return text_; }
  HWND Meter() const { return meter_; }

 protected:
  // The name text and the meter's range, once the dialog `window` exists.
  void Init(HWND window, int nameId);

  std::wstring text_;
  HWND name_ = nullptr;
  HWND meter_ = nullptr;
  const DspMixer* mixer_;
  ChannelType type_;
  uint32_t index_;

 private:
  int meterPixels_ = 0;  // the bar's length on screen
  int shownPixel_ = -1;  // the pixel the bar shows now; -1 before the first update
};

class MixerLabelHDlg : public MixerLabelDlgBase,
                       public winui::CDialogImpl<MixerLabelHDlg>,
                       public winui::CDialogResize<MixerLabelHDlg> {
 public:
  enum { IDD = IDD_LABEL_ROW };
  using MixerLabelDlgBase::MixerLabelDlgBase;

  BEGIN_MSG_MAP(MixerLabelHDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    CHAIN_MSG_MAP(winui::CDialogResize<MixerLabelHDlg>)
  END_MSG_MAP()

  BEGIN_DLGRESIZE_MAP(MixerLabelHDlg)
  END_DLGRESIZE_MAP()

 private:
  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
};

class MixerLabelVDlg : public MixerLabelDlgBase,
                       public winui::CDialogImpl<MixerLabelVDlg>,
                       public winui::CDialogResize<MixerLabelVDlg> {
 public:
  enum { IDD = IDD_LABEL_COLUMN };
  using MixerLabelDlgBase::MixerLabelDlgBase;

  BEGIN_MSG_MAP(MixerLabelVDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_VSCROLL, OnVScroll)
    CHAIN_MSG_MAP(winui::CDialogResize<MixerLabelVDlg>)
  END_MSG_MAP()

  BEGIN_DLGRESIZE_MAP(MixerLabelVDlg)
  END_DLGRESIZE_MAP()

  HWND GainFader() const { return gain_; }

 private:
  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnVScroll(UINT, WPARAM, LPARAM, BOOL&);

  HWND gain_ = nullptr;
};
