#pragma once
// The advanced mixer window: the whole matrix of the first device, one row per mixer input,
// one column per mixer output, a crosspoint cell at every intersection, row labels with level
// meters, column labels with level meters and output-gain faders. It sizes itself to the
// matrix, and shows the no-device panel instead while no device is connected.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "MixerCtrlDlg.h"
#include "MixerDlgBase.h"
#include "MixerLabelDlg.h"
#include "NoDeviceDlg.h"

class FullMixerDlg : public MixerDlgImpl<FullMixerDlg> {
 public:
  enum { IDD = IDD_FULL_MIXER };
  // The timer that refreshes the meters, and its period.
  static constexpr UINT_PTR kMeterTimerId = 1;
  static constexpr UINT kMeterPeriodMs = 50;

  FullMixerDlg(SonarixApiDll& api, const Config& config);
  ~FullMixerDlg() override;

  BEGIN_MSG_MAP(FullMixerDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_TIMER, OnTimer)
    CHAIN_MSG_MAP(MixerDlgImpl<FullMixerDlg>)
  END_MSG_MAP()

  StatusCode UpdateDevices() override;
  void EndPopups() override;
  // Takes the matrix and the no-device panel down (the window's part of its teardown).
  void TearDownControls();

  const std::vector<std::unique_ptr<MixerCtrlDlg>>& Cells() const { return cells_; }
  const std::vector<std::unique_ptr<MixerLabelHDlg>>& RowLabels() const { return rowLabels_; }
  const std::vector<std::unique_ptr<MixerLabelVDlg>>& ColumnLabels() const {
    return columnLabels_;
  }
  bool ShowsNoDevicePanel() const { return noDevice_ != nullptr; }
  bool MetersRunning() const { return meterTimer_ != 0; }

 private:
  struct Channel {
    ChannelType type;
    uint32_t index;
  };

  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnTimer(UINT, WPARAM, LPARAM, BOOL&);

  // The channels of the three families of one side, in the order the matrix shows them.
  std::vector<Channel> ChannelsOf(const ChannelType (&families)[3]) const;
  void BuildMatrix();
  // The row labels it could create, top to bottom; `labelSize` is their size.
  size_t BuildRowLabels(const std::vector<Channel>& rows, SIZE& labelSize);
  // One column of the matrix at `left`: its cells over the first `rowCount` rows, then its
  // label under them. False, with nothing of the column left, when a child cannot be created.
  bool BuildColumn(const std::vector<Channel>& rows, size_t rowCount, const Channel& column,
                   int left, SIZE& cellSize, SIZE& labelSize);
  void DropCellsFrom(size_t count);
  void TearDownMatrix();
  void ShowNoDevicePanel();
  void DestroyNoDevicePanel();
  void ResizeClientTo(int width, int height);

  std::vector<std::unique_ptr<MixerCtrlDlg>> cells_;
  std::vector<std::unique_ptr<MixerLabelHDlg>> rowLabels_;
  std::vector<std::unique_ptr<MixerLabelVDlg>> columnLabels_;
  std::unique_ptr<NoDeviceDlg> noDevice_;
  UINT_PTR meterTimer_ = 0;
};

// The name of channel `index` of a family: its language text; past the numbered texts, the
// family's first text with the channel's number in place of its own.
std::wstring ChannelLabel(ChannelType type, uint32_t index);
