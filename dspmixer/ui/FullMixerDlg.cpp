#include "FullMixerDlg.h"

#include <cwctype>

#include "Config.h"
#include "PaintOnceWhenDone.h"

namespace {

constexpr ChannelType kRowFamilies[3] = {AppPlayback, DeviceInput, AppPlaybackVirt};
constexpr ChannelType kColumnFamilies[3] = {DeviceOutput, AppRecording, AppRecordingVirt};

const LanguageTextHandle* LabelKeysOf(ChannelType type) {
  switch (type) {
    case AppPlayback:
      return LanguageKey::ADVANCED_WINDOW_LABEL_APPLICATION_PLAYBACK;
    case DeviceInput:
      return LanguageKey::ADVANCED_WINDOW_LABEL_DEVICE_INPUT;
    case AppPlaybackVirt:
      return LanguageKey::ADVANCED_WINDOW_LABEL_VIRTUAL_PLAYBACK;
    case AppRecording:
      return LanguageKey::ADVANCED_WINDOW_LABEL_APPLICATION_RECORDING;
    case DeviceOutput:
      return LanguageKey::ADVANCED_WINDOW_LABEL_DEVICE_OUTPUT;
    case AppRecordingVirt:
      return LanguageKey::ADVANCED_WINDOW_LABEL_VIRTUAL_RECORDING;
  }
  return nullptr;
}

COLORREF ColorOf(const RgbColor& color) { return RGB(color.red, color.green, color.blue); }

SIZE WindowSize(HWND window) {
  RECT rect = {};
  ::GetWindowRect(window, &rect);
  return {rect.right - rect.left, rect.bottom - rect.top};
}

// Creates `dialog` as a child of `parent` and shows it at (x, y) with its template's size.
template <class Dialog>
bool PlaceChild(Dialog& dialog, HWND parent, int x, int y) {
  if (dialog.Create(parent) == nullptr) return false;
  dialog.SetWindowPos(nullptr, x, y, 0, 0,
                      SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  return true;
}

// The outer size of `window` without its client edge. The cell template carries the edge,
// so that no cell changes its style once made (a round trip to the window server under Wine,
// for every cell); a cell keeps the size its template gives without the edge, and the edge
// takes its room from the inside, as when it is added to a finished window.
SIZE OuterSizeWithoutEdge(HWND window) {
  const DWORD style = static_cast<DWORD>(::GetWindowLongW(window, GWL_STYLE));
  const DWORD exStyle = static_cast<DWORD>(::GetWindowLongW(window, GWL_EXSTYLE));
  RECT withEdge = {}, withoutEdge = {};
  ::AdjustWindowRectEx(&withEdge, style, FALSE, exStyle);
  ::AdjustWindowRectEx(&withoutEdge, style, FALSE, exStyle & ~WS_EX_CLIENTEDGE);
  SIZE size = WindowSize(window);
  size.cx -= (withEdge.right - withEdge.left) - (withoutEdge.right - withoutEdge.left);
  size.cy -= (withEdge.bottom - withEdge.top) - (withoutEdge.bottom - withoutEdge.top);
  return size;
}

// Creates a crosspoint cell as a child of `parent` and shows it at (x, y).
bool PlaceCell(MixerCtrlDlg& cell, HWND parent, int x, int y) {
  if (cell.Create(parent) == nullptr) return false;
  const SIZE size = OuterSizeWithoutEdge(cell);
  cell.SetWindowPos(nullptr, x, y, size.cx, size.cy,
                    SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  return true;
}

// Destroys the windows of a list of child dialogs, then the objects.
template <class Dialog>
void DestroyAll(std::vector<std::unique_ptr<Dialog>>& dialogs) {
  for (auto& dialog : dialogs) {
    if (dialog->IsWindow()) dialog->DestroyWindow();
  }
  dialogs.clear();
}

}  // namespace

std::wstring ChannelLabel(ChannelType type, uint32_t index) {
  const LanguageTextHandle* keys = LabelKeysOf(type);
  if (keys == nullptr) return std::wstring();
  if (index < static_cast<uint32_t>(LanguageKey::kFamilySize)) return GetText(keys[index]);
  // "Device Output 1" becomes "Device Output 33"; a first text without its number gets one.
  std::wstring text = GetText(keys[0]);
  const std::wstring number = std::to_wstring(index + 1);
  const bool endsInOne = !text.empty() && text.back() == L'1' &&
                         (text.size() == 1 || !std::iswdigit(text[text.size() - 2]));
  if (endsInOne) return text.substr(0, text.size() - 1) + number;
  return text.empty() ? number : text + L" " + number;
}

FullMixerDlg::FullMixerDlg(SonarixApiDll& api, const Config& config)
    : MixerDlgImpl<FullMixerDlg>(api, config) {}

FullMixerDlg::~FullMixerDlg() = default;

LRESULT FullMixerDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
  InitMixerWindow();
  return TRUE;
}

StatusCode FullMixerDlg::UpdateDevices() {
  if (DeferUpdate()) return mixer_status::kOk;
  const winui::PaintOnceWhenDone paint(m_hWnd);
  TearDownControls();
  bool present = false;
  VT_RETURN_IF_FAILED(OpenFirstDevice(present));
  if (!present) {
    ShowNoDevicePanel();
    return mixer_status::kOk;
  }
  // Meters that do not start stop the timer at its first tick.
  static_cast<void>(mixer_.StartLevelMeters());
  BuildMatrix();
  return mixer_status::kOk;
}

void FullMixerDlg::EndPopups() {
  for (auto& cell : cells_) cell->CloseNodeControl();
}

void FullMixerDlg::TearDownControls() {
  TearDownMatrix();
  DestroyNoDevicePanel();
}

std::vector<FullMixerDlg::Channel> FullMixerDlg::ChannelsOf(
    const ChannelType (&families)[3]) const {
  std::vector<Channel> channels;
  for (ChannelType family : families) {
    for (uint32_t index = 0; index < mixer_.GetChannelCount(family); ++index) {
      channels.push_back({family, index});
    }
  }
  return channels;
}

// Children that cannot be created (the process's window quota is finite) end the build where
// it stands: what was built is a consistent smaller matrix, every cell under its column's
// label and beside its row's. So each column gets its label before the next column starts.
void FullMixerDlg::BuildMatrix() {
  const std::vector<Channel> rows = ChannelsOf(kRowFamilies);
  const std::vector<Channel> columns = ChannelsOf(kColumnFamilies);
  SIZE rowLabel = {0, 0}, cell = {0, 0}, columnLabel = {0, 0};
  const size_t rowCount = BuildRowLabels(rows, rowLabel);
  int x = rowLabel.cx;
  for (const Channel& column : columns) {
    if (!BuildColumn(rows, rowCount, column, x, cell, columnLabel)) break;
    x += columnLabel.cx;
  }
  ResizeClientTo(x, static_cast<int>(rowCount) * cell.cy + columnLabel.cy);
  meterTimer_ = SetTimer(kMeterTimerId, kMeterPeriodMs);
}

size_t FullMixerDlg::BuildRowLabels(const std::vector<Channel>& rows, SIZE& labelSize) {
  int y = 0;
  for (const Channel& row : rows) {
    auto label = std::make_unique<MixerLabelHDlg>(mixer_, row.type, row.index,
                                                  ChannelLabel(row.type, row.index));
    if (!PlaceChild(*label, m_hWnd, 0, y)) break;
    labelSize = WindowSize(*label);
    y += labelSize.cy;
    rowLabels_.push_back(std::move(label));
  }
  return rowLabels_.size();
}

bool FullMixerDlg::BuildColumn(const std::vector<Channel>& rows, size_t rowCount,
                               const Channel& column, int left, SIZE& cellSize, SIZE& labelSize) {
  const COLORREF connected = ColorOf(config_.ConnectedColor());
  const COLORREF notConnected = ColorOf(config_.NotConnectedColor());
  const size_t cellsBefore = cells_.size();
  int y = 0;
  for (size_t row = 0; row < rowCount; ++row) {
    const MixerNode node = {rows[row].type, rows[row].index, column.type, column.index};
    auto cell =
        std::make_unique<MixerCtrlDlg>(*this, m_hWnd, mixer_, node, connected, notConnected);
    if (!PlaceCell(*cell, m_hWnd, left, y)) {
      DropCellsFrom(cellsBefore);
      return false;
    }
    cellSize = WindowSize(*cell);
    y += cellSize.cy;
    cells_.push_back(std::move(cell));
  }
  // The label goes under the column's cells.
  auto label = std::make_unique<MixerLabelVDlg>(mixer_, column.type, column.index,
                                                ChannelLabel(column.type, column.index));
  if (!PlaceChild(*label, m_hWnd, left, y)) {
    DropCellsFrom(cellsBefore);
    return false;
  }
  labelSize = WindowSize(*label);
  columnLabels_.push_back(std::move(label));
  return true;
}

// The cells from position `count` of the list on go again.
void FullMixerDlg::DropCellsFrom(size_t count) {
  while (cells_.size() > count) {
    if (cells_.back()->IsWindow()) cells_.back()->DestroyWindow();
    cells_.pop_back();
  }
}

void FullMixerDlg::TearDownMatrix() {
  if (meterTimer_ != 0) {
    KillTimer(kMeterTimerId);
    meterTimer_ = 0;
  }
  DestroyAll(cells_);
  DestroyAll(rowLabels_);
  DestroyAll(columnLabels_);
  CloseCurrentDevice();
}

void FullMixerDlg::ShowNoDevicePanel() {
  DestroyNoDevicePanel();
  auto panel = std::make_unique<NoDeviceDlg>();
  if (!PlaceChild(*panel, m_hWnd, 0, 0)) return;
  const SIZE size = WindowSize(*panel);
  noDevice_ = std::move(panel);
  ResizeClientTo(size.cx, size.cy);
}

void FullMixerDlg::DestroyNoDevicePanel() {
  if (noDevice_ == nullptr) return;
  if (noDevice_->IsWindow()) noDevice_->DestroyWindow();
  noDevice_.reset();
}

// The window keeps its top-left corner; the frame is added to the client size.
void FullMixerDlg::ResizeClientTo(int width, int height) {
  RECT window = {}, client = {};
  GetWindowRect(&window);
  GetClientRect(&client);
  const int frameWidth = (window.right - window.left) - (client.right - client.left);
  const int frameHeight = (window.bottom - window.top) - (client.bottom - client.top);
  SetWindowPos(nullptr, 0, 0, width + frameWidth, height + frameHeight,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT FullMixerDlg::OnTimer(UINT, WPARAM id, LPARAM, BOOL& handled) {
  if (id != kMeterTimerId) {
    handled = FALSE;
    return 0;
  }
  // A device that stops answering keeps its meters still until the next rebuild.
  if (mixer_.ReadLevelMeters() != mixer_status::kOk && meterTimer_ != 0) {
    KillTimer(kMeterTimerId);
    meterTimer_ = 0;
  }
  for (auto& label : rowLabels_) label->UpdateMeter();
  for (auto& label : columnLabels_) label->UpdateMeter();
  return 0;
}
