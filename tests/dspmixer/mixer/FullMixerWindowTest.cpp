// The advanced mixer window in-process over the stand-in driver: the matrix in its order, the
// window sized around it, the meters' timer, and a window quota that runs out while the matrix
// is built.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <new>
#include <vector>

#include "AppModule.h"
#include "Config.h"
#include "FakeDriver.h"
#include "FullMixerDlg.h"

// Counts the heap allocations of the test process while armed: a meter tick makes none.
std::atomic<bool> g_countAllocations{false};
std::atomic<int> g_allocations{0};

#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(size_t size) {
  if (g_countAllocations) ++g_allocations;
  if (void* memory = std::malloc(size != 0 ? size : 1)) return memory;
  throw std::bad_alloc();
}
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, size_t) noexcept { std::free(memory); }

namespace {

// Refuses every window created after the first `allowed` ones on this thread, as a process
// whose window quota has run out.
class WindowQuota {
 public:
  explicit WindowQuota(int allowed) {
    allowed_ = allowed;
    hook_ = ::SetWindowsHookExW(WH_CBT, Hook, nullptr, ::GetCurrentThreadId());
  }
  ~WindowQuota() { ::UnhookWindowsHookEx(hook_); }
  WindowQuota(const WindowQuota&) = delete;
  WindowQuota& operator=(const WindowQuota&) = delete;

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND && allowed_-- <= 0) return 1;
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
  }
  static int allowed_;
  HHOOK hook_;
};
int WindowQuota::allowed_ = 0;

class FullMixerWindow : public ::testing::Test {
 protected:
  FullMixerWindow() { BindFakeDriver(api_); }
  ~FullMixerWindow() override {
    if (dialog_.IsWindow()) dialog_.DestroyWindow();
  }
  void SetCounts(std::initializer_list<uint32_t> counts) {
    std::copy(counts.begin(), counts.end(), g_driver.counts);
  }
  static SIZE ClientSize(HWND window) {
    RECT client = {};
    ::GetClientRect(window, &client);
    return {client.right, client.bottom};
  }
  static POINT TopLeftIn(HWND parent, HWND child) {
    RECT rect = {};
    ::GetWindowRect(child, &rect);
    POINT corner = {rect.left, rect.top};
    ::ScreenToClient(parent, &corner);
    return corner;
  }

  SonarixApiDll api_;
  Config config_;
  winui::RegisteredMessageLoop loop_;
  FullMixerDlg dialog_{api_, config_};
};

}  // namespace

TEST_F(FullMixerWindow, MatrixStandsInItsOrderWithItsLabelsAndTheWindowAroundIt) {
  SetCounts({2, 2, 2, 2, 0, 0});
  ASSERT_NE(nullptr, dialog_.Create(nullptr));
  ASSERT_EQ(4u, dialog_.RowLabels().size());
  ASSERT_EQ(4u, dialog_.ColumnLabels().size());
  ASSERT_EQ(16u, dialog_.Cells().size());
  EXPECT_EQ(L"Application Playback 1", dialog_.RowLabels()[0]->Text());
  EXPECT_EQ(L"Device Input 2", dialog_.RowLabels()[3]->Text());
  EXPECT_EQ(L"Device Output 1", dialog_.ColumnLabels()[0]->Text());
  EXPECT_EQ(L"Application Recording 2", dialog_.ColumnLabels()[3]->Text());
  // Column by column, each from the top row down.
  const MixerNode first = dialog_.Cells()[0]->Node();
  const MixerNode fifth = dialog_.Cells()[4]->Node();
  EXPECT_EQ(AppPlayback, first.inputType);
  EXPECT_EQ(DeviceOutput, first.outputType);
  EXPECT_EQ(DeviceInput, dialog_.Cells()[2]->Node().inputType);
  EXPECT_EQ(0u, fifth.inputIndex);
  EXPECT_EQ(1u, fifth.outputIndex);
  EXPECT_EQ(AppRecording, dialog_.Cells()[15]->Node().outputType);

  // The row labels fill the left edge, the cells the rest, the column labels the foot.
  const HWND window = dialog_.m_hWnd;
  const POINT cell = TopLeftIn(window, *dialog_.Cells()[5]);
  const POINT label = TopLeftIn(window, *dialog_.ColumnLabels()[3]);
  RECT labelRect = {}, cellRect = {}, columnRect = {};
  ::GetWindowRect(*dialog_.RowLabels()[0], &labelRect);
  ::GetWindowRect(*dialog_.Cells()[0], &cellRect);
  ::GetWindowRect(*dialog_.ColumnLabels()[0], &columnRect);
  const int cellWidth = cellRect.right - cellRect.left;
  const int cellHeight = cellRect.bottom - cellRect.top;
  EXPECT_EQ(labelRect.right - labelRect.left + cellWidth, cell.x);
  EXPECT_EQ(cellHeight, cell.y);
  EXPECT_EQ(4 * cellHeight, label.y);
  const SIZE client = ClientSize(window);
  EXPECT_EQ(label.x + columnRect.right - columnRect.left, client.cx);
  EXPECT_EQ(4 * cellHeight + columnRect.bottom - columnRect.top, client.cy);
}

TEST_F(FullMixerWindow, ChannelsPastTheNumberedTextsStillHaveANameWithTheirNumber) {
  EXPECT_EQ(L"Device Output 32", ChannelLabel(DeviceOutput, 31));
  EXPECT_EQ(L"Device Output 33", ChannelLabel(DeviceOutput, 32));
  EXPECT_EQ(L"Virtual Recording 96", ChannelLabel(AppRecordingVirt, 95));
}

TEST_F(FullMixerWindow, OneMeterTickIsOneRequestAndNoAllocation) {
  SetCounts({2, 2, 2, 2, 1, 1});
  ASSERT_NE(nullptr, dialog_.Create(nullptr));
  ASSERT_TRUE(dialog_.MetersRunning());
  const int gets = g_driver.gets;
  g_allocations = 0;
  g_countAllocations = true;
  for (int tick = 0; tick < 3; ++tick) dialog_.SendMessage(WM_TIMER, FullMixerDlg::kMeterTimerId);
  g_countAllocations = false;
  EXPECT_EQ(3, g_driver.gets - gets);
  EXPECT_EQ(3, g_driver.levelReads);
  EXPECT_EQ(0, g_allocations.load());
  // -30 dB on a -60 .. 0 dB bar: the middle.
  EXPECT_EQ(3000, ::SendMessageW(dialog_.RowLabels()[0]->Meter(), PBM_GETPOS, 0, 0));
  EXPECT_EQ(3000, ::SendMessageW(dialog_.ColumnLabels()[4]->Meter(), PBM_GETPOS, 0, 0));
}

// The ticks as the program gets them: through the message loop, its filter and idle handler.
TEST_F(FullMixerWindow, MeterTicksThroughTheMessageLoopAllocateNothing) {
  ASSERT_NE(nullptr, dialog_.Create(nullptr));
  const int levelReads = g_driver.levelReads;
  for (int tick = 0; tick < 3; ++tick) {
    dialog_.PostMessage(WM_TIMER, FullMixerDlg::kMeterTimerId);
  }
  ::PostQuitMessage(0);
  g_allocations = 0;
  g_countAllocations = true;
  loop_.Run();
  g_countAllocations = false;
  EXPECT_LE(3, g_driver.levelReads - levelReads);  // the window's own timer may add some
  EXPECT_EQ(0, g_allocations.load());
}

TEST_F(FullMixerWindow, ALevelReadThatFailsStopsTheTimerAfterOneTick) {
  ASSERT_NE(nullptr, dialog_.Create(nullptr));
  g_driver.levelStatus = 0xEE000071;
  dialog_.SendMessage(WM_TIMER, FullMixerDlg::kMeterTimerId);
  EXPECT_FALSE(dialog_.MetersRunning());
  EXPECT_EQ(1, g_driver.levelReads);
  g_driver.levelStatus = 0;
  dialog_.SendMessage(0x8003, 1);  // a rebuild starts the meters again
  EXPECT_TRUE(dialog_.MetersRunning());
}

TEST_F(FullMixerWindow, NoDeviceShowsThePanelAndTheWindowKeepsItsSize) {
  g_driver.deviceCount = 0;
  ASSERT_NE(nullptr, dialog_.Create(nullptr));
  EXPECT_TRUE(dialog_.ShowsNoDevicePanel());
  EXPECT_TRUE(dialog_.Cells().empty());
  EXPECT_FALSE(dialog_.MetersRunning());
  g_driver.deviceCount = 1;
  dialog_.SendMessage(0x8003, 1);
  EXPECT_FALSE(dialog_.ShowsNoDevicePanel());
  EXPECT_EQ(9u, dialog_.Cells().size());
}

// Every quota that runs out somewhere in the build leaves a matrix in which every cell has its
// row and column label, and which keeps working: meters tick, devices change, the window goes.
TEST_F(FullMixerWindow, WindowQuotaRunningOutLeavesAConsistentSmallerMatrix) {
  SetCounts({3, 3, 3, 3, 0, 0});
  // The window and its input context (2), then 6 row labels of 3 windows each (20 in all),
  // then per column 6 cells of 2 windows and a label of 4 (16 a column): the quota runs out
  // among the row labels, among a column's cells, at a column's label, and not at all.
  std::vector<size_t> cellsBuilt;
  for (int allowed : {1, 13, 20, 30, 50, 67, 115, 116}) {
    BindFakeDriver(api_);
    SetCounts({3, 3, 3, 3, 0, 0});
    {
      WindowQuota quota(allowed);
      ASSERT_NE(nullptr, dialog_.Create(nullptr)) << allowed;
    }
    const size_t rows = dialog_.RowLabels().size();
    const size_t columns = dialog_.ColumnLabels().size();
    EXPECT_EQ(rows * columns, dialog_.Cells().size()) << allowed;
    cellsBuilt.push_back(dialog_.Cells().size());
    for (const auto& cell : dialog_.Cells()) {
      EXPECT_TRUE(cell->IsWindow());
      EXPECT_LT(cell->Node().inputIndex, 3u);
    }
    dialog_.SendMessage(WM_TIMER, FullMixerDlg::kMeterTimerId);
    dialog_.SendMessage(0x8003, 1);  // with the quota back, the whole matrix
    EXPECT_EQ(36u, dialog_.Cells().size()) << allowed;
    dialog_.DestroyWindow();
  }
  // Smaller quotas end the build earlier: none of the matrix, whole columns of it, all of it.
  EXPECT_EQ(0u, cellsBuilt.front());
  EXPECT_EQ(36u, cellsBuilt.back());
  EXPECT_TRUE(std::is_sorted(cellsBuilt.begin(), cellsBuilt.end()));
  EXPECT_TRUE(std::any_of(cellsBuilt.begin(), cellsBuilt.end(),
                          [](size_t cells) { return cells > 0 && cells < 36; }));
}

// A cell has its client edge inside the outer size that its template (44 x 20 dialog units)
// gives without one: the edge takes its room from the inside.
TEST_F(FullMixerWindow, CellsHaveAClientEdgeInsideTheirTemplateSize) {
  SetCounts({1, 1, 1, 1, 0, 0});
  ASSERT_NE(nullptr, dialog_.Create(nullptr));
  ASSERT_FALSE(dialog_.Cells().empty());
  const HWND cell = *dialog_.Cells()[0];
  const DWORD style = ::GetWindowLongW(cell, GWL_STYLE);
  const DWORD exStyle = ::GetWindowLongW(cell, GWL_EXSTYLE);
  EXPECT_NE(0u, exStyle & WS_EX_CLIENTEDGE);
  RECT expected = {0, 0, 44, 20};
  ::MapDialogRect(cell, &expected);
  ::AdjustWindowRectEx(&expected, style, FALSE, exStyle & ~WS_EX_CLIENTEDGE);
  RECT window = {};
  ::GetWindowRect(cell, &window);
  EXPECT_EQ(expected.right - expected.left, window.right - window.left);
  EXPECT_EQ(expected.bottom - expected.top, window.bottom - window.top);
  RECT frame = {};
  ::AdjustWindowRectEx(&frame, style, FALSE, exStyle);
  const SIZE client = ClientSize(cell);
  EXPECT_EQ(window.right - window.left - (frame.right - frame.left), client.cx);
  EXPECT_EQ(window.bottom - window.top - (frame.bottom - frame.top), client.cy);
}
