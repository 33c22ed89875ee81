// mixerfloor.exe: the bare work under the advanced mixer window, to hold the window against.
// It creates the window's child dialogs from the mixer's own templates, with a dialog
// procedure that does nothing, in the window's layout: row labels down the left edge, the
// cells column by column, each column's label under it. The window does not draw while its
// children come or go and is painted once at the end.
//
//   mixerfloor.exe build COUNTS
//       builds and paints the matrix, then destroys it; prints build_ms= and destroy_ms=,
//       and the processor time of both: this process's (build_cpu_ms=, destroy_cpu_ms=) and,
//       with MIXERBENCH_SERVER_PID set, the wineserver's (build_server_ms=, destroy_server_ms=)
//   mixerfloor.exe meters COUNTS SECONDS
//       builds the matrix, then moves its row and column meters at 20 Hz to the levels of a
//       new simulated device; prints meters_ms=, meters_cpu_ms= (and meters_server_ms=) of
//       that span and its ticks=
//
// COUNTS are the device's six channel counts as the simulated device takes them
// (DO,DI,AP,AR,APV,ARV): rows are AP, DI, APV; columns DO, AR, ARV.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "LinuxProcessTime.h"
#include "PaintOnceWhenDone.h"
#include "SimDevices.h"
#include "SimSignal.h"
#include "Stopwatch.h"
#include "ToolArguments.h"
#include "resource.h"

namespace {

using sonarixsim::ChannelAddress;
using sonarixsim::Side;

constexpr UINT_PTR kMeterTimerId = 1;
constexpr UINT kMeterPeriodMs = 50;
constexpr int kMeterMax = 6000;  // the bar spans -60 dB .. 0 dB in hundredths of a dB

struct Channel {
  Side side;
  ChannelAddress address;
};

INT_PTR CALLBACK BareDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

HWND CreateFromTemplate(int templateId, HWND parent) {
  return ::CreateDialogParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId), parent,
                              BareDialogProc, 0);
}

SIZE WindowSize(HWND window) {
  RECT rect = {};
  ::GetWindowRect(window, &rect);
  return {rect.right - rect.left, rect.bottom - rect.top};
}

void ShowAt(HWND child, int x, int y) {
  ::SetWindowPos(child, nullptr, x, y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void ResizeClientTo(HWND window, int width, int height) {
  RECT outer = {}, client = {};
  ::GetWindowRect(window, &outer);
  ::GetClientRect(window, &client);
  ::SetWindowPos(window, nullptr, 0, 0, width + (outer.right - outer.left) - client.right,
                 height + (outer.bottom - outer.top) - client.bottom,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The channels of one side of the matrix in the window's order.
std::vector<Channel> ChannelsOf(Side side, const uint32_t (&kinds)[3],
                                const sonarixsim::DeviceRecord& device) {
  std::vector<Channel> channels;
  for (uint32_t kind : kinds) {
    for (uint32_t index = 0; index < sonarixsim::ChannelCount(device, side, kind); ++index) {
      channels.push_back({side, {kind, index}});
    }
  }
  return channels;
}

// A simulated device of its own, with its meters on: the levels the mixer would show.
class SignalSource {
 public:
  explicit SignalSource(const sonarixsim::ChannelCounts& counts)
      : state_(std::make_unique<sonarixsim::SharedState>()) {
    sonarixsim::ResetState(*state_, false);
    uint32_t id = 0;
    sonarixsim::PlugDevice(*state_, counts, sonarixsim::kMixerLayoutVersion, id);
    device_ = sonarixsim::FindDevice(*state_, id);
    device_->metersRunning = 1;
    // Rows: application playback, device inputs, virtual playback (wire kinds 0, 1, 2).
    rows_ = ChannelsOf(Side::Input, {0, 1, 2}, *device_);
    // Columns: device outputs, application recording, virtual recording (kinds 1, 0, 2).
    columns_ = ChannelsOf(Side::Output, {1, 0, 2}, *device_);
  }
  const std::vector<Channel>& Rows() const { return rows_; }
  const std::vector<Channel>& Columns() const { return columns_; }
  int MeterPosition(const Channel& channel, uint32_t nowMs) const {
    const int level = sonarixsim::ChannelLevel(*device_, channel.side, channel.address, nowMs);
    return std::clamp(level + kMeterMax, 0, kMeterMax);
  }

 private:
  std::unique_ptr<sonarixsim::SharedState> state_;
  sonarixsim::DeviceRecord* device_ = nullptr;
  std::vector<Channel> rows_;
  std::vector<Channel> columns_;
};

// The top-level window and its matrix of child dialogs; the children go with the object.
class BareMatrix {
 public:
  BareMatrix() : window_(CreateFromTemplate(IDD_FULL_MIXER, nullptr)) {
    if (window_ == nullptr) return;
    // A title of its own: the probe finds the mixer by its title.
    ::SetWindowTextW(window_, L"mixerfloor");
    ::ShowWindow(window_, SW_SHOWNORMAL);
  }
  ~BareMatrix() {
    Destroy();
    if (window_ != nullptr) ::DestroyWindow(window_);
  }
  BareMatrix(const BareMatrix&) = delete;
  BareMatrix& operator=(const BareMatrix&) = delete;

  HWND Window() const { return window_; }

  // False when a child could not be created.
  bool Build(size_t rows, size_t columns) {
    const winui::PaintOnceWhenDone paint(window_);
    SIZE rowLabel = {}, cell = {}, columnLabel = {};
    int y = 0;
    for (size_t row = 0; row < rows; ++row) {
      if (!Add(IDD_LABEL_ROW, 0, y, rowLabels_, rowLabel)) return false;
      y += rowLabel.cy;
    }
    int x = rowLabel.cx;
    for (size_t column = 0; column < columns; ++column) {
      y = 0;
      for (size_t row = 0; row < rows; ++row) {
        if (!Add(IDD_MIXER_CELL, x, y, cells_, cell)) return false;
        y += cell.cy;
      }
      if (!Add(IDD_LABEL_COLUMN, x, y, columnLabels_, columnLabel)) return false;
      x += columnLabel.cx;
    }
    ResizeClientTo(window_, x, static_cast<int>(rows) * cell.cy + columnLabel.cy);
    return true;
  }

  // Cells first, then row labels, then column labels, as the window takes them down.
  void Destroy() {
    if (window_ == nullptr) return;
    const winui::PaintOnceWhenDone paint(window_);
    for (auto* list : {&cells_, &rowLabels_, &columnLabels_}) {
      for (HWND child : *list) ::DestroyWindow(child);
      list->clear();
    }
  }

  // The meters of the row labels, then of the column labels.
  std::vector<HWND> Meters() const {
    std::vector<HWND> meters;
    for (const auto* list : {&rowLabels_, &columnLabels_}) {
      for (HWND label : *list) meters.push_back(::GetDlgItem(label, IDC_LABEL_METER));
    }
    return meters;
  }

 private:
  bool Add(int templateId, int x, int y, std::vector<HWND>& list, SIZE& size) {
    const HWND child = CreateFromTemplate(templateId, window_);
    if (child == nullptr) return false;
    ShowAt(child, x, y);
    size = WindowSize(child);
    list.push_back(child);
    return true;
  }

  HWND window_;
  std::vector<HWND> cells_;
  std::vector<HWND> rowLabels_;
  std::vector<HWND> columnLabels_;
};

void PumpPendingMessages() {
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
}

int Fail(const char* what) {
  std::fprintf(stderr, "mixerfloor: %s (error %lu)\n", what, ::GetLastError());
  return 1;
}

// The wall and processor time of one step of work.
class StepTimer {
 public:
  explicit StepTimer(unsigned long server)
      : server_(server),
        processBefore_(ProcessCpuMilliseconds()),
        serverBefore_(LinuxProcessCpuMilliseconds(server)) {}
  void Print(const char* step) const {
    std::printf("%s_ms=%.0f\n%s_cpu_ms=%.0f\n", step, wall_.Milliseconds(), step,
                ProcessCpuMilliseconds() - processBefore_);
    if (serverBefore_ >= 0.0) {
      std::printf("%s_server_ms=%.0f\n", step, LinuxProcessCpuMilliseconds(server_) - serverBefore_);
    }
  }

 private:
  unsigned long server_;
  double processBefore_;
  double serverBefore_;
  Stopwatch wall_;
};

int RunBuild(const SignalSource& source) {
  BareMatrix matrix;
  if (matrix.Window() == nullptr) return Fail("the window could not be created");
  // The classes, the font and the room for this many windows cost once, and the mixer has
  // paid for them before its rebuilds: the same matrix once untimed.
  if (!matrix.Build(source.Rows().size(), source.Columns().size())) {
    return Fail("a child could not be created");
  }
  matrix.Destroy();
  PumpPendingMessages();

  const unsigned long server = LinuxProcessFromEnvironment("MIXERBENCH_SERVER_PID");
  const StepTimer build(server);
  if (!matrix.Build(source.Rows().size(), source.Columns().size())) {
    return Fail("a child could not be created");
  }
  build.Print("build");
  PumpPendingMessages();
  const StepTimer destroy(server);
  matrix.Destroy();
  destroy.Print("destroy");
  return 0;
}

void MoveMeters(const std::vector<HWND>& meters, const std::vector<Channel>& channels,
                const SignalSource& source) {
  const uint32_t now = ::GetTickCount();
  for (size_t i = 0; i < meters.size(); ++i) {
    ::SendMessageW(meters[i], PBM_SETPOS, source.MeterPosition(channels[i], now), 0);
  }
}

// Moves the meters at every tick of the window's timer for `seconds`; the number of ticks.
int TickMeters(HWND window, const std::vector<HWND>& meters, const std::vector<Channel>& channels,
               const SignalSource& source, double seconds) {
  int ticks = 0;
  Stopwatch elapsed;
  MSG message;
  while (elapsed.Milliseconds() < seconds * 1000.0 && ::GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (message.message == WM_TIMER && message.hwnd == window) {
      MoveMeters(meters, channels, source);
      ++ticks;
      continue;
    }
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  return ticks;
}

int RunMeters(const SignalSource& source, double seconds) {
  BareMatrix matrix;
  if (matrix.Window() == nullptr) return Fail("the window could not be created");
  if (!matrix.Build(source.Rows().size(), source.Columns().size())) {
    return Fail("a child could not be created");
  }
  const std::vector<HWND> meters = matrix.Meters();
  std::vector<Channel> channels = source.Rows();
  channels.insert(channels.end(), source.Columns().begin(), source.Columns().end());
  for (HWND meter : meters) ::SendMessageW(meter, PBM_SETRANGE32, 0, kMeterMax);
  PumpPendingMessages();

  ::SetTimer(matrix.Window(), kMeterTimerId, kMeterPeriodMs, nullptr);
  const StepTimer span(LinuxProcessFromEnvironment("MIXERBENCH_SERVER_PID"));
  const int ticks = TickMeters(matrix.Window(), meters, channels, source, seconds);
  span.Print("meters");
  std::printf("ticks=%d\n", ticks);
  return 0;
}

int Usage() {
  std::fprintf(stderr,
               "usage: mixerfloor.exe build COUNTS\n"
               "       mixerfloor.exe meters COUNTS SECONDS\n"
               "COUNTS: DO,DI,AP,AR,APV,ARV\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return Usage();
  const std::string command = argv[1];
  sonarixsim::ChannelCounts counts = {};
  if (!sonarixsim::ParseCounts(argv[2], counts)) return Usage();
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_BAR_CLASSES | ICC_PROGRESS_CLASS};
  ::InitCommonControlsEx(&controls);
  const SignalSource source(counts);
  if (command == "build" && argc == 3) return RunBuild(source);
  if (command == "meters" && argc == 4) return RunMeters(source, std::atof(argv[3]));
  return Usage();
}
