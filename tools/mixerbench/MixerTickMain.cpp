// mixertick.exe DLL SECONDS [MIXER]: runs the program's own advanced mixer window in this
// process over the driver API library DLL, with the default configuration or the one beside
// the program MIXER (dspmixer.exe of an installation), and lets its meters run for
// SECONDS. It prints the meter ticks of that span, the driver requests the simulated device
// logged meanwhile, and the heap allocations of this process's code (operator new and the C
// runtime's malloc family, counted at the link) made meanwhile by the whole running program;
// then those of the tick's handler alone, called directly.
#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <new>

#include "AppModule.h"
#include "Config.h"
#include "FullMixerDlg.h"
#include "SimStateStore.h"
#include "SonarixApiDll.h"
#include "Stopwatch.h"

namespace {

std::atomic<bool> g_counting{false};
std::atomic<long> g_allocations{0};

void CountAllocation() {
  if (g_counting) ++g_allocations;
}

}  // namespace

// The link routes every malloc, calloc and realloc of this program through these.
extern "C" {
void* __real_malloc(size_t size);
void* __real_calloc(size_t count, size_t size);
void* __real_realloc(void* memory, size_t size);
void* __wrap_malloc(size_t size) {
  CountAllocation();
  return __real_malloc(size);
}
void* __wrap_calloc(size_t count, size_t size) {
  CountAllocation();
  return __real_calloc(count, size);
}
void* __wrap_realloc(void* memory, size_t size) {
  CountAllocation();
  return __real_realloc(memory, size);
}
}

namespace {

// Counts the meter ticks of one window on their way to it.
class TickCounter : public winui::CMessageFilter {
 public:
  explicit TickCounter(HWND window) : window_(window) {}
  BOOL PreTranslateMessage(MSG* message) override {
    if (message->hwnd == window_ && message->message == WM_TIMER &&
        message->wParam == FullMixerDlg::kMeterTimerId) {
      ++ticks_;
    }
    return FALSE;
  }
  long Ticks() const { return ticks_; }

 private:
  HWND window_;
  long ticks_ = 0;
};

void CALLBACK EndLoop(HWND, UINT, UINT_PTR timer, DWORD) {
  ::KillTimer(nullptr, timer);
  ::PostQuitMessage(0);
}

// Runs the thread's message loop for `milliseconds`.
void RunFor(winui::RegisteredMessageLoop& loop, UINT milliseconds) {
  ::SetTimer(nullptr, 0, milliseconds, EndLoop);
  loop.Run();
}

uint32_t LoggedRequests(sonarixsim::StateStore& store) {
  uint32_t count = 0;
  store.Run([&](sonarixsim::SharedState& state) {
    count = state.logCount;
    return sonarixsim::status::kOk;
  });
  return count;
}

int Fail(const char* what) {
  std::fprintf(stderr, "mixertick: %s\n", what);
  return 1;
}

// Counts the allocations of what `work` does.
template <typename Work>
long AllocationsOf(Work&& work) {
  g_allocations = 0;
  g_counting = true;
  work();
  g_counting = false;
  return g_allocations.exchange(0);
}

struct Figures {
  double buildMs = 0.0;
  size_t cells = 0;
  long buildAllocations = 0;
  double seconds = 0.0;
  long ticks = 0;
  uint32_t requests = 0;
  long loopAllocations = 0;
  long handlerAllocations = 0;
};

constexpr int kDirectTicks = 100;

// The window's build; false when it could not be made or its meters do not run.
bool MeasureBuild(FullMixerDlg& window, Figures& figures) {
  bool created = false;
  Stopwatch build;
  // The build allocates: a count above 0 shows that the counting works.
  figures.buildAllocations = AllocationsOf([&] { created = window.Create(nullptr) != nullptr; });
  figures.buildMs = build.Milliseconds();
  figures.cells = window.Cells().size();
  return created && window.MetersRunning();
}

// The running program for `seconds`: its ticks, the requests and what the loop allocates.
void MeasureRunning(FullMixerDlg& window, winui::RegisteredMessageLoop& loop,
                    sonarixsim::StateStore& store, double seconds, Figures& figures) {
  TickCounter ticks(window.m_hWnd);
  winui::AppModule().GetMessageLoop()->AddMessageFilter(&ticks);
  RunFor(loop, 1000);  // the first paint and the first ticks
  const long ticksBefore = ticks.Ticks();
  const uint32_t requestsBefore = LoggedRequests(store);
  Stopwatch elapsed;
  figures.loopAllocations =
      AllocationsOf([&] { RunFor(loop, static_cast<UINT>(seconds * 1000.0)); });
  figures.seconds = elapsed.Milliseconds() / 1000.0;
  figures.ticks = ticks.Ticks() - ticksBefore;
  figures.requests = LoggedRequests(store) - requestsBefore;
  winui::AppModule().GetMessageLoop()->RemoveMessageFilter(&ticks);
}

// The tick's handler alone, called directly: what the window itself allocates.
void MeasureHandler(FullMixerDlg& window, Figures& figures) {
  figures.handlerAllocations = AllocationsOf([&] {
    for (int tick = 0; tick < kDirectTicks; ++tick) {
      window.SendMessage(WM_TIMER, FullMixerDlg::kMeterTimerId);
    }
  });
}

double PerTick(double value, long ticks) { return ticks > 0 ? value / ticks : 0.0; }

void Print(const Figures& figures) {
  std::printf("build_ms=%.0f\ncells=%zu\nbuild_allocations=%ld\n", figures.buildMs, figures.cells,
              figures.buildAllocations);
  std::printf("seconds=%.2f\nticks=%ld\nrequests=%u\nallocations=%ld\n", figures.seconds,
              figures.ticks, figures.requests, figures.loopAllocations);
  std::printf("requests_per_tick=%.3f\nallocations_per_tick=%.3f\n",
              PerTick(figures.requests, figures.ticks),
              PerTick(figures.loopAllocations, figures.ticks));
  std::printf("direct_ticks=%d\nhandler_allocations=%ld\n", kDirectTicks,
              figures.handlerAllocations);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 3 && argc != 4) {
    std::fprintf(stderr, "usage: mixertick.exe DLL SECONDS [MIXER]\n");
    return 2;
  }
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_BAR_CLASSES};
  ::InitCommonControlsEx(&controls);
  winui::AppModule().Init(::GetModuleHandleW(nullptr));
  SonarixApiDll api;
  if (api.Load(argv[1], true, 5, 7) != 0) return Fail("the driver API library cannot be bound");
  sonarixsim::StateStore store;
  if (store.Open(sonarixsim::StateNameFromEnvironment()) != sonarixsim::status::kOk) {
    return Fail("the simulated device's state cannot be opened");
  }
  Config config(argc == 4 ? argv[3] : L"");
  if (argc == 4 && config.Load(nullptr) != 0) return Fail("the configuration cannot be read");

  winui::RegisteredMessageLoop loop;
  FullMixerDlg window(api, config);
  Figures figures;
  if (!MeasureBuild(window, figures)) return Fail("no window with running meters: no device?");
  window.ShowWindow(SW_SHOWNORMAL);
  MeasureRunning(window, loop, store, _wtof(argv[2]), figures);
  MeasureHandler(window, figures);
  window.DestroyWindow();
  Print(figures);
  return 0;
}
