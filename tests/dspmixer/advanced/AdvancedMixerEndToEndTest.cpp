// The advanced mixer window as a user meets it: the real program over the simulated driver,
// its matrix of a device's channels and weights in colour, the node control and the faders'
// writes on the wire, the meters against the simulated signals, device changes, and the
// channel names of a language file.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "AdvancedMixerTestSupport.h"
#include "SimSignal.h"

namespace {

using advtest::AdvancedMixer;
using advtest::Ask;
using advtest::Matrix;
using advtest::ReadMatrix;
using advtest::SizeOf;
using advtest::U32At;
using advtest::WaitUntil;
using sonarixsim::RequestCall;
namespace wire = advtest::wire;

constexpr uint32_t kUnity = 0x01000000;
constexpr uint32_t kNodeWeightProperty = 200;
constexpr uint32_t kOutputGainProperty = 201;
constexpr uint32_t kLevelTableProperty = 301;
constexpr uint32_t kChannelCountProperty = 100;  // the first count a rebuild reads
constexpr uint32_t kInjectedStatus = 0xEE000045;

const std::vector<std::wstring> kRows = {L"Application Playback 1", L"Application Playback 2",
                                         L"Device Input 1", L"Device Input 2"};
const std::vector<std::wstring> kColumns = {L"Device Output 1", L"Device Output 2",
                                            L"Application Recording 1", L"Application Recording 2"};

// The colour of the cell's own background and of its value text's, when both agree.
COLORREF CellColor(HWND cell) {
  const COLORREF own = advtest::ScreenPixel(cell, 1, 1);
  const COLORREF text = advtest::ScreenPixel(::GetDlgItem(cell, advtest::kCellValue), 1, 1);
  return own == text ? own : CLR_INVALID;
}

int Position(HWND control, UINT message) { return static_cast<int>(Ask(control, message)); }
int FaderPosition(HWND fader) { return Position(fader, TBM_GETPOS); }
int MeterPosition(HWND label) { return Position(::GetDlgItem(label, advtest::kMeter), PBM_GETPOS); }

// How far a bar may lag behind its level: the program moves it only when it moves a pixel.
int MeterSlack(HWND label) {
  RECT client = {};
  ::GetClientRect(::GetDlgItem(label, advtest::kMeter), &client);
  const int pixels = std::max(client.right - client.left, client.bottom - client.top);
  return advtest::kMeterFull / std::max(pixels, 1) + 1;
}

int MeterPositionOf(int level) { return std::clamp(level + advtest::kMeterFull, 0, advtest::kMeterFull); }

// The bar positions an input channel's level takes between two moments.
std::pair<int, int> InputMeterRange(const sonarixsim::DeviceRecord& device,
                                    sonarixsim::ChannelAddress input, DWORD from, DWORD to) {
  int low = advtest::kMeterFull, high = 0;
  for (DWORD now = from; now != to + 1; ++now) {
    const int position =
        MeterPositionOf(sonarixsim::ChannelLevel(device, sonarixsim::Side::Input, input, now));
    low = std::min(low, position);
    high = std::max(high, position);
  }
  return {low, high};
}

std::vector<HWND> HandlesOf(const Matrix& matrix) {
  std::vector<HWND> handles;
  for (const auto* list : {&matrix.rows, &matrix.columns, &matrix.cells}) {
    for (const advtest::Child& child : *list) handles.push_back(child.window);
  }
  return handles;
}

bool AllGone(const std::vector<HWND>& windows) {
  return std::none_of(windows.begin(), windows.end(), [](HWND w) { return ::IsWindow(w); });
}

}  // namespace

TEST_F(AdvancedMixer, NewDeviceShowsItsNamedChannelsAndWeightsInColourWithTheWindowAround) {
  const uint32_t device = Plug({2, 2, 2, 2, 0, 0});
  // The smallest weight that still connects.
  SetNodeWeight(device, wire::kAppPlayback2, wire::kDeviceOutput1, 1);
  StartMixer();

  const Matrix matrix = ReadMatrix(window_);
  EXPECT_EQ(nullptr, matrix.panel);
  EXPECT_EQ(kRows, matrix.RowNames());
  EXPECT_EQ(kColumns, matrix.ColumnNames());
  ASSERT_EQ(16u, matrix.cells.size());
  ASSERT_EQ(4u, matrix.rows.size());
  ASSERT_EQ(4u, matrix.columns.size());

  // The top-left cell is the node of the first row and the first column.
  const auto topLeft = std::min_element(matrix.cells.begin(), matrix.cells.end(),
                                        [](const advtest::Child& a, const advtest::Child& b) {
                                          return std::make_pair(a.rect.top, a.rect.left) <
                                                 std::make_pair(b.rect.top, b.rect.left);
                                        });
  ASSERT_EQ(matrix.Cell(0, 0), &*topLeft);
  EXPECT_EQ(L"100%", topLeft->text);

  // Playback n and input n reach output n and recording n at 100 %, nothing else.
  const wchar_t* const expected[4][4] = {{L"100%", L"0%", L"0%", L"0%"},
                                         {L"0%", L"100%", L"0%", L"0%"},
                                         {L"0%", L"0%", L"100%", L"0%"},
                                         {L"0%", L"0%", L"0%", L"100%"}};
  const bool connected[4][4] = {{true, false, false, false},
                                {true, true, false, false},
                                {false, false, true, false},
                                {false, false, false, true}};
  for (size_t row = 0; row < 4; ++row) {
    for (size_t column = 0; column < 4; ++column) {
      const advtest::Child* cell = matrix.Cell(row, column);
      ASSERT_NE(nullptr, cell) << row << "," << column;
      EXPECT_EQ(expected[row][column], cell->text) << row << "," << column;
      const COLORREF want = connected[row][column] ? advtest::kGreen : advtest::kRed;
      EXPECT_TRUE(WaitUntil([&] { return CellColor(cell->window) == want; }, 3000))
          << row << "," << column << ": colour " << std::hex << CellColor(cell->window);
    }
  }

  // Labels left and below, cells between, and the client area exactly around them.
  const RECT client = advtest::ClientRectOnScreen(window_);
  const SIZE rowLabel = SizeOf(matrix.rows[0].rect);
  const SIZE cell = SizeOf(matrix.cells[0].rect);
  const SIZE columnLabel = SizeOf(matrix.columns[0].rect);
  EXPECT_EQ(client.left, matrix.rows[0].rect.left);
  EXPECT_EQ(client.top, matrix.rows[0].rect.top);
  EXPECT_EQ(matrix.rows[0].rect.right, matrix.Cell(0, 0)->rect.left);
  EXPECT_EQ(matrix.rows[3].rect.bottom, matrix.columns[0].rect.top);
  EXPECT_EQ(client.right, matrix.columns[3].rect.right);
  EXPECT_EQ(client.bottom, matrix.columns[3].rect.bottom);
  EXPECT_EQ(rowLabel.cx + 4 * columnLabel.cx, SizeOf(client).cx);
  EXPECT_EQ(4 * cell.cy + columnLabel.cy, SizeOf(client).cy);

  // Every output at full gain: the gain faders at the top.
  for (const advtest::Child& column : matrix.columns) {
    EXPECT_EQ(0, FaderPosition(::GetDlgItem(column.window, advtest::kGainFader))) << column.text;
  }
  CloseMixer();
}

TEST_F(AdvancedMixer, NodeControlOverItsCellWritesWeightsAndTheCellShowsWhatTheDeviceKeeps) {
  const uint32_t device = Plug({2, 2, 2, 2, 0, 0});
  StartMixer();
  const Matrix matrix = ReadMatrix(window_);
  ASSERT_NE(nullptr, matrix.Cell(0, 0));
  const HWND cell = matrix.Cell(0, 0)->window;
  ClearLog();

  ASSERT_TRUE(advtest::Click(cell));
  HWND popup = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (popup = NodeControl()) != nullptr; }));
  RECT cellRect = {}, popupRect = {};
  ::GetWindowRect(cell, &cellRect);
  ::GetWindowRect(popup, &popupRect);
  EXPECT_EQ(cellRect.left, popupRect.left);
  EXPECT_EQ(cellRect.top, popupRect.top);
  EXPECT_EQ(L"Hide", uitest::ControlText(popup, IDOK));
  EXPECT_EQ(L"100%", uitest::ControlText(popup, advtest::kNodeValue));
  const HWND fader = ::GetDlgItem(popup, advtest::kNodeFader);
  EXPECT_EQ(0, FaderPosition(fader));

  // One step down: the weight of that thumb position goes to the node, and the cell reads it.
  ASSERT_TRUE(uitest::SendKey(fader, VK_DOWN));
  ASSERT_TRUE(WaitUntil([&] { return uitest::ControlText(cell, advtest::kCellValue) == L"99%"; }));
  auto writes = Requests(RequestCall::Set, kNodeWeightProperty);
  ASSERT_EQ(1u, writes.size());
  EXPECT_EQ(16u, writes[0].size);
  EXPECT_EQ(0u, writes[0].status);
  ASSERT_EQ(16u, writes[0].bytes.size());
  // Input kind and index, output kind and index, then the weight.
  EXPECT_EQ((std::vector<uint8_t>{0, 0, 1, 0}),
            std::vector<uint8_t>(writes[0].bytes.begin() + 8, writes[0].bytes.begin() + 12));
  EXPECT_EQ(255u * 65536u, U32At(writes[0].bytes, 12));
  EXPECT_EQ(255u * 65536u, NodeWeight(device, wire::kAppPlayback1, wire::kDeviceOutput1));
  EXPECT_EQ(L"99%", uitest::ControlText(popup, advtest::kNodeValue));

  // Home and End move the thumb and write nothing.
  ASSERT_TRUE(uitest::SendKey(fader, VK_HOME));
  EXPECT_TRUE(WaitUntil([&] { return FaderPosition(fader) == 0; }));
  ASSERT_TRUE(uitest::SendKey(fader, VK_END));
  EXPECT_TRUE(WaitUntil([&] { return FaderPosition(fader) == advtest::kFaderBottom; }));
  EXPECT_EQ(1u, Requests(RequestCall::Set, kNodeWeightProperty).size());
  EXPECT_EQ(L"99%", uitest::ControlText(cell, advtest::kCellValue));
  EXPECT_EQ(255u * 65536u, NodeWeight(device, wire::kAppPlayback1, wire::kDeviceOutput1));

  // The device refuses the next write and holds a value set meanwhile: the cell shows that.
  SetNodeWeight(device, wire::kAppPlayback1, wire::kDeviceOutput1, kUnity / 2);
  AddFault(RequestCall::Set, kNodeWeightProperty, kInjectedStatus, 1);
  ASSERT_TRUE(uitest::SendKey(fader, VK_UP));
  EXPECT_TRUE(WaitUntil([&] { return uitest::ControlText(cell, advtest::kCellValue) == L"50%"; }))
      << uitest::ControlText(cell, advtest::kCellValue);
  writes = Requests(RequestCall::Set, kNodeWeightProperty);
  ASSERT_EQ(2u, writes.size());
  EXPECT_EQ(kInjectedStatus, writes[1].status);
  EXPECT_EQ(65536u, U32At(writes[1].bytes, 12));
  EXPECT_EQ(L"0%", uitest::ControlText(popup, advtest::kNodeValue));

  // Dragged to the bottom: 0 written, confirmed, and the cell turns to not connected.
  ASSERT_TRUE(advtest::DragFader(fader, advtest::kFaderBottom, TB_THUMBPOSITION));
  EXPECT_TRUE(
      WaitUntil([&] { return Requests(RequestCall::Set, kNodeWeightProperty).size() == 3; }));
  writes = Requests(RequestCall::Set, kNodeWeightProperty);
  ASSERT_EQ(3u, writes.size());
  EXPECT_EQ(0u, writes[2].status);
  EXPECT_EQ(0u, U32At(writes[2].bytes, 12));
  EXPECT_TRUE(WaitUntil([&] { return uitest::ControlText(cell, advtest::kCellValue) == L"0%"; }));
  EXPECT_EQ(0u, NodeWeight(device, wire::kAppPlayback1, wire::kDeviceOutput1));

  // "Hide" only closes: the cell, no longer covered, shows the not-connected colour.
  ASSERT_TRUE(uitest::PressButton(popup, IDOK));
  EXPECT_TRUE(uitest::WaitForWindowGone(popup, advtest::kWaitMs));
  EXPECT_TRUE(WaitUntil([&] { return CellColor(cell) == advtest::kRed; }, 3000))
      << std::hex << CellColor(cell);
  EXPECT_EQ(3u, Requests(RequestCall::Set, kNodeWeightProperty).size());

  // The gain fader of "Device Output 2": a step and a drag write 14 bytes, gain at offset 10;
  // End writes nothing.
  const HWND gain = ::GetDlgItem(matrix.columns[1].window, advtest::kGainFader);
  ASSERT_TRUE(uitest::SendKey(gain, VK_DOWN));
  EXPECT_TRUE(
      WaitUntil([&] { return Requests(RequestCall::Set, kOutputGainProperty).size() == 1; }));
  ASSERT_TRUE(advtest::DragFader(gain, 128, TB_THUMBTRACK));
  EXPECT_TRUE(
      WaitUntil([&] { return Requests(RequestCall::Set, kOutputGainProperty).size() == 2; }));
  ASSERT_TRUE(uitest::SendKey(gain, VK_END));
  EXPECT_TRUE(WaitUntil([&] { return FaderPosition(gain) == advtest::kFaderBottom; }));
  const auto gains = Requests(RequestCall::Set, kOutputGainProperty);
  ASSERT_EQ(2u, gains.size());
  for (const auto& request : gains) {
    EXPECT_EQ(14u, request.size);
    ASSERT_EQ(14u, request.bytes.size());
    EXPECT_EQ(1u, request.bytes[8]);  // output kind: device output
    EXPECT_EQ(1u, request.bytes[9]);  // its second channel
  }
  EXPECT_EQ(255u * 65536u, U32At(gains[0].bytes, 10));
  EXPECT_EQ(128u * 65536u, U32At(gains[1].bytes, 10));
  EXPECT_EQ(128u * 65536u, OutputGain(device, wire::kDeviceOutput2));
  EXPECT_EQ(kUnity, OutputGain(device, wire::kDeviceOutput1));
  CloseMixer();
}

TEST_F(AdvancedMixer, MetersFollowTheSignalsAndAFailedLevelReadStopsThemUntilTheNextBuild) {
  const uint32_t device = Plug({2, 2, 2, 2, 0, 0});
  SetOutputGain(device, wire::kDeviceOutput2, 0);
  StartMixer();
  const Matrix matrix = ReadMatrix(window_);
  ASSERT_EQ(4u, matrix.rows.size());
  ASSERT_EQ(4u, matrix.columns.size());
  // A silent output's fader stands at the bottom.
  EXPECT_EQ(advtest::kFaderBottom,
            FaderPosition(::GetDlgItem(matrix.columns[1].window, advtest::kGainFader)));

  std::vector<HWND> meters;  // rows, then columns
  for (const auto& row : matrix.rows) meters.push_back(row.window);
  for (const auto& column : matrix.columns) meters.push_back(column.window);
  const auto running = [&] {
    return MeterPosition(meters[0]) > 0 && MeterPosition(meters[1]) > 0 &&
           MeterPosition(meters[2]) > 0 && MeterPosition(meters[3]) > 0 &&
           MeterPosition(meters[4]) > 0 && MeterPosition(meters[6]) > 0 &&
           MeterPosition(meters[7]) > 0;
  };
  ASSERT_TRUE(WaitUntil(running));

  // Each input's bar stands where its tone was a moment ago (the last tick may lie a while
  // back on a busy machine); the silent output's stays empty. Between samples the bars move.
  const sonarixsim::DeviceRecord record = Device(device);
  const sonarixsim::ChannelAddress inputs[4] = {wire::kAppPlayback1, wire::kAppPlayback2,
                                                wire::kDeviceInput1, wire::kDeviceInput2};
  for (int sample = 0; sample < 4; ++sample) {
    const int first = MeterPosition(meters[0]);
    for (int row = 0; row < 4; ++row) {
      const DWORD before = ::GetTickCount();
      const int shown = MeterPosition(meters[row]);
      const auto range = InputMeterRange(record, inputs[row], before - 400, ::GetTickCount());
      const int slack = MeterSlack(meters[row]);
      EXPECT_GE(shown, range.first - slack) << kRows[row] << ", sample " << sample;
      EXPECT_LE(shown, range.second + slack) << kRows[row] << ", sample " << sample;
    }
    EXPECT_EQ(0, MeterPosition(meters[5]));
    EXPECT_TRUE(WaitUntil([&] { return MeterPosition(meters[0]) != first; }, 3000));
  }

  // The level request fails once: the timer stops at that tick, even after the device
  // answers again, and the bars keep the last levels read.
  ClearLog();
  AddFault(RequestCall::Get, kLevelTableProperty, kInjectedStatus);
  ASSERT_TRUE(WaitUntil([&] {
    return !Requests(RequestCall::Get, kLevelTableProperty).empty() &&
           Requests(RequestCall::Get, kLevelTableProperty).back().status == kInjectedStatus;
  }));
  ClearFaults();
  std::vector<int> frozen;
  for (HWND meter : meters) frozen.push_back(MeterPosition(meter));
  const auto failedOnce = [&] {
    const auto reads = Requests(RequestCall::Get, kLevelTableProperty);
    return std::count_if(reads.begin(), reads.end(), [](const auto& r) { return r.status != 0; }) ==
               1 &&
           reads.back().status != 0;
  };
  EXPECT_TRUE(advtest::HoldsFor(failedOnce, 500));
  for (size_t i = 0; i < meters.size(); ++i) EXPECT_EQ(frozen[i], MeterPosition(meters[i])) << i;
  // A unity node repeats its input's level: the output bars show what their inputs show.
  EXPECT_NEAR(frozen[0], frozen[4], MeterSlack(meters[0]) + MeterSlack(meters[4]));
  EXPECT_NEAR(frozen[2], frozen[6], MeterSlack(meters[2]) + MeterSlack(meters[6]));
  EXPECT_NEAR(frozen[3], frozen[7], MeterSlack(meters[3]) + MeterSlack(meters[7]));
  EXPECT_EQ(0, frozen[5]);

  // A device arriving rebuilds the window, and the meters run again.
  Plug({1, 1, 1, 1, 0, 0});
  EXPECT_TRUE(WaitUntil([&] {
    const auto reads = Requests(RequestCall::Get, kLevelTableProperty);
    return std::count_if(reads.begin(), reads.end(), [](const auto& r) { return r.status == 0; }) >=
           3;
  }));
  EXPECT_EQ(16u, ReadMatrix(window_).cells.size());
  CloseMixer();
}

TEST_F(AdvancedMixer, PluggingInReplacesThePanelAndUnpluggingClosesTheNodeControlFirst) {
  StartMixer();
  const HWND panel = advtest::WaitForPanel(window_);
  ASSERT_NE(nullptr, panel);
  EXPECT_EQ(L"No device connected.", uitest::ControlText(panel, advtest::kNoDeviceText));
  RECT before = {};
  ::GetWindowRect(window_, &before);

  const uint32_t device = Plug({2, 2, 2, 2, 0, 0});
  Matrix matrix = advtest::WaitForMatrix(window_, 4, 4);
  ASSERT_EQ(16u, matrix.cells.size());
  EXPECT_FALSE(::IsWindow(panel));
  EXPECT_EQ(kColumns, matrix.ColumnNames());
  RECT after = {};
  ::GetWindowRect(window_, &after);
  EXPECT_EQ(before.left, after.left);
  EXPECT_EQ(before.top, after.top);
  const RECT client = advtest::ClientRectOnScreen(window_);
  EXPECT_EQ(SizeOf(matrix.rows[0].rect).cx + 4 * SizeOf(matrix.columns[0].rect).cx,
            SizeOf(client).cx);
  EXPECT_EQ(4 * SizeOf(matrix.cells[0].rect).cy + SizeOf(matrix.columns[0].rect).cy,
            SizeOf(client).cy);

  // The click arrives as the value text's notification this time.
  const HWND cell = matrix.Cell(1, 1)->window;
  ASSERT_TRUE(::PostMessageW(cell, WM_COMMAND, MAKEWPARAM(advtest::kCellValue, STN_CLICKED),
                             reinterpret_cast<LPARAM>(::GetDlgItem(cell, advtest::kCellValue))));
  HWND popup = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (popup = NodeControl()) != nullptr; }));
  EXPECT_EQ(L"100%", uitest::ControlText(popup, advtest::kNodeValue));

  Unplug(device);
  EXPECT_TRUE(uitest::WaitForWindowGone(popup, advtest::kWaitMs));
  const HWND again = advtest::WaitForPanel(window_);
  ASSERT_NE(nullptr, again);
  EXPECT_EQ(L"No device connected.", uitest::ControlText(again, advtest::kNoDeviceText));
  EXPECT_FALSE(::IsWindow(cell));
  EXPECT_EQ(nullptr, NodeControl());
  EXPECT_TRUE(::IsWindowEnabled(window_));
  CloseMixer();
}

TEST_F(AdvancedMixer, ALanguageFileRenamesTheColumnLabel) {
  const std::wstring delivered = DeliveredEnglishTexts();
  const std::wstring from = L"= Device Output 1\r\n";
  const size_t at = delivered.find(from);
  ASSERT_NE(std::wstring::npos, at);
  std::wstring renamed = delivered;
  renamed.replace(at, from.size(), L"= Main Out Left\r\n");
  InstallEnglishTexts(renamed);
  Plug({2, 2, 2, 2, 0, 0});
  StartMixer();
  const Matrix matrix = ReadMatrix(window_);
  EXPECT_EQ((std::vector<std::wstring>{L"Main Out Left", L"Device Output 2",
                                       L"Application Recording 1", L"Application Recording 2"}),
            matrix.ColumnNames());
  EXPECT_EQ(kRows, matrix.RowNames());
  CloseMixer();
}

TEST_F(AdvancedMixer, TheFirstListedDeviceIsShownAndOtherNotificationsChangeNothing) {
  const uint32_t first = Plug({2, 2, 2, 2, 0, 0});
  Plug({1, 1, 1, 1, 0, 0});
  StartMixer();
  Matrix matrix = ReadMatrix(window_);
  EXPECT_EQ(16u, matrix.cells.size());
  EXPECT_EQ(kRows, matrix.RowNames());
  const std::vector<HWND> shown = HandlesOf(matrix);

  // Codes other than arrival and removal: the matrix stays as built. Posted messages go
  // before the timer's, so a level read after them says they have been handled.
  ClearLog();
  ASSERT_TRUE(::PostMessageW(window_, advtest::kDevicePnpMessage, 0, 0));
  ASSERT_TRUE(::PostMessageW(window_, advtest::kDevicePnpMessage, 3, 0));
  ASSERT_TRUE(WaitUntil([&] { return !Requests(RequestCall::Get, kLevelTableProperty).empty(); }));
  EXPECT_TRUE(Requests(RequestCall::Get, kChannelCountProperty).empty());
  EXPECT_EQ(shown, HandlesOf(ReadMatrix(window_)));

  // An arrival code rebuilds: new children, the counts read again.
  ASSERT_TRUE(::PostMessageW(window_, advtest::kDevicePnpMessage, 1, 0));
  EXPECT_TRUE(WaitUntil([&] { return AllGone(shown); }));
  EXPECT_EQ(16u, advtest::WaitForMatrix(window_, 4, 4).cells.size());
  EXPECT_EQ(1u, Requests(RequestCall::Get, kChannelCountProperty).size());

  // The first device goes: the other one is shown. Back again, it comes second in the list.
  Unplug(first);
  matrix = advtest::WaitForMatrix(window_, 2, 2);
  EXPECT_EQ((std::vector<std::wstring>{L"Application Playback 1", L"Device Input 1"}),
            matrix.RowNames());
  const std::vector<HWND> second = HandlesOf(matrix);
  ASSERT_EQ(8u, second.size());
  Reconnect(first);
  EXPECT_TRUE(WaitUntil([&] { return AllGone(second); }));
  EXPECT_EQ(4u, advtest::WaitForMatrix(window_, 2, 2).cells.size());
  CloseMixer();
}
