// mixerprobe.exe: drives the simulated device (the state named by SONARIX_SIM_STATE) under a
// running mixer and watches its advanced window from outside, as a user would see it.
//
//   mixerprobe.exe wait TITLE WINDOWS
//       waits for the window TITLE to hold WINDOWS windows and to have painted them
//   mixerprobe.exe unplug TITLE
//       unplugs the first connected device and waits for the no-device panel
//   mixerprobe.exe reconnect TITLE WINDOWS
//       plugs the first unplugged device in again and waits for the matrix, which must have
//       WINDOWS windows (child dialogs and their controls)
//   mixerprobe.exe requests TITLE SECONDS
//       counts the driver requests the mixer makes over SECONDS
//
// A change is complete when the window has taken its new size (its last step of a rebuild),
// the mixer has answered a message (so the rebuild has returned) and everything invalid has
// been painted. Both changes print elapsed_ms= from the change of the device's state, and the
// processor time the mixer and the wineserver spent meanwhile when their Linux process ids
// are in MIXERBENCH_MIXER_PID and MIXERBENCH_SERVER_PID.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "LinuxProcessTime.h"
#include "SimDevices.h"
#include "SimDspProtocol.h"
#include "SimRequestLog.h"
#include "SimStateStore.h"
#include "Stopwatch.h"

namespace {

using sonarixsim::SharedState;
using sonarixsim::Status;
using sonarixsim::StateStore;

constexpr DWORD kWaitLimitMs = 600000;
constexpr DWORD kPollMs = 2;
constexpr wchar_t kDialogClass[] = L"#32770";

int Fail(const char* what) {
  std::fprintf(stderr, "mixerprobe: %s\n", what);
  return 1;
}

std::wstring Widen(const char* text) {
  std::wstring wide;
  const int length = ::MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
  if (length <= 1) return wide;
  wide.resize(length - 1);
  ::MultiByteToWideChar(CP_UTF8, 0, text, -1, wide.data(), length);
  return wide;
}

SIZE ClientSize(HWND window) {
  RECT client = {};
  ::GetClientRect(window, &client);
  return {client.right, client.bottom};
}

bool SameSize(const SIZE& a, const SIZE& b) { return a.cx == b.cx && a.cy == b.cy; }

BOOL CALLBACK CountWindow(HWND, LPARAM count) {
  ++*reinterpret_cast<size_t*>(count);
  return TRUE;
}

size_t DescendantCount(HWND window) {
  size_t count = 0;
  ::EnumChildWindows(window, CountWindow, reinterpret_cast<LPARAM>(&count));
  return count;
}

size_t DirectChildCount(HWND window) {
  size_t count = 0;
  for (HWND child = ::GetWindow(window, GW_CHILD); child != nullptr;
       child = ::GetWindow(child, GW_HWNDNEXT)) {
    ++count;
  }
  return count;
}

// Waits until the window's client area is no longer `before`, then until the mixer has
// answered a message, then paints what is still invalid. False on timeout.
bool WaitForRebuild(HWND window, const SIZE& before) {
  Stopwatch waited;
  while (SameSize(ClientSize(window), before)) {
    if (waited.Milliseconds() > kWaitLimitMs || !::IsWindow(window)) return false;
    ::Sleep(kPollMs);
  }
  DWORD_PTR answer = 0;
  if (!::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, kWaitLimitMs, &answer)) {
    return false;
  }
  return ::RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN) != FALSE;
}

Status OpenState(StateStore& store) {
  return store.Open(sonarixsim::StateNameFromEnvironment());
}

// Changes the first device that `wantConnected` describes with `change`, under the lock.
Status ChangeDevice(StateStore& store, bool wantConnected,
                    Status (*change)(SharedState&, uint32_t)) {
  return store.Run([&](SharedState& state) {
    for (sonarixsim::DeviceRecord* device : sonarixsim::KnownDevices(state)) {
      if ((device->connected != 0) == wantConnected) return change(state, device->id);
    }
    return sonarixsim::status::kNoSuchDevice;
  });
}

HWND FindMixer(const std::wstring& title) {
  const HWND window = ::FindWindowW(kDialogClass, title.c_str());
  if (window == nullptr) std::fprintf(stderr, "mixerprobe: no window \"%ls\"\n", title.c_str());
  return window;
}

// Waits for the window and its windows; a start-up is long at 32 channels a family.
int RunWait(const std::wstring& title, size_t expectedWindows) {
  Stopwatch waited;
  HWND window = nullptr;
  while ((window = ::FindWindowW(kDialogClass, title.c_str())) == nullptr ||
         DescendantCount(window) != expectedWindows) {
    if (waited.Milliseconds() > kWaitLimitMs) return Fail("the window did not appear in time");
    ::Sleep(200);
  }
  DWORD_PTR answer = 0;
  ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, kWaitLimitMs, &answer);
  ::RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  std::printf("waited_ms=%.0f\n", waited.Milliseconds());
  return 0;
}

int RunDeviceChange(HWND window, bool connect, size_t expectedWindows) {
  StateStore store;
  if (OpenState(store) != sonarixsim::status::kOk) return Fail("the state cannot be opened");
  const SIZE before = ClientSize(window);
  const unsigned long mixer = LinuxProcessFromEnvironment("MIXERBENCH_MIXER_PID");
  const unsigned long server = LinuxProcessFromEnvironment("MIXERBENCH_SERVER_PID");
  const double mixerBefore = LinuxProcessCpuMilliseconds(mixer);
  const double serverBefore = LinuxProcessCpuMilliseconds(server);
  Stopwatch elapsed;
  const Status changed = connect ? ChangeDevice(store, false, &sonarixsim::ReconnectDevice)
                                 : ChangeDevice(store, true, &sonarixsim::UnplugDevice);
  if (changed != sonarixsim::status::kOk) return Fail("the device cannot be changed");
  if (!WaitForRebuild(window, before)) return Fail("the window did not change in time");
  const double elapsedMs = elapsed.Milliseconds();
  const double mixerMs = LinuxProcessCpuMilliseconds(mixer) - mixerBefore;
  const double serverMs = LinuxProcessCpuMilliseconds(server) - serverBefore;

  const size_t windows = connect ? DescendantCount(window) : DirectChildCount(window);
  std::printf("elapsed_ms=%.0f\nwindows=%zu\n", elapsedMs, windows);
  if (mixerBefore >= 0.0) std::printf("cpu_ms=%.0f\n", mixerMs);
  if (serverBefore >= 0.0) std::printf("server_ms=%.0f\n", serverMs);
  if (windows != expectedWindows) return Fail("the window does not hold what it should");
  return 0;
}

struct LogPosition {
  uint32_t count = 0;
  std::vector<sonarixsim::LoggedRequest> requests;
};

Status ReadLog(StateStore& store, LogPosition& position) {
  return store.Run([&](SharedState& state) {
    position.count = state.logCount;
    position.requests = sonarixsim::ReadRequestLog(state);
    return sonarixsim::status::kOk;
  });
}

bool IsLevelRead(const sonarixsim::LoggedRequest& request) {
  uint32_t property = 0;
  return request.call == sonarixsim::RequestCall::Get &&
         sonarixsim::RequestProperty(request.bytes, property) &&
         property == sonarixsim::property::kLevelMeterTable;
}

int RunRequests(HWND window, double seconds) {
  StateStore store;
  if (OpenState(store) != sonarixsim::status::kOk) return Fail("the state cannot be opened");
  DWORD mixerProcess = 0;
  ::GetWindowThreadProcessId(window, &mixerProcess);
  LogPosition start, end;
  if (ReadLog(store, start) != sonarixsim::status::kOk) return Fail("the log cannot be read");
  Stopwatch elapsed;
  ::Sleep(static_cast<DWORD>(seconds * 1000.0));
  if (ReadLog(store, end) != sonarixsim::status::kOk) return Fail("the log cannot be read");
  const double elapsedS = elapsed.Milliseconds() / 1000.0;

  // The log keeps the last requests only: the kinds are counted over those it still has.
  size_t kept = 0, levelReads = 0, others = 0;
  for (const sonarixsim::LoggedRequest& request : end.requests) {
    if (request.sequence < start.count) continue;
    ++kept;
    if (request.processId == mixerProcess && IsLevelRead(request)) {
      ++levelReads;
    } else {
      ++others;
    }
  }
  const uint32_t requests = end.count - start.count;
  std::printf("requests=%u\nseconds=%.2f\nper_second=%.2f\nkept=%zu\nlevel_reads=%zu\nothers=%zu\n",
              requests, elapsedS, requests / elapsedS, kept, levelReads, others);
  return 0;
}

int Usage() {
  std::fprintf(stderr,
               "usage: mixerprobe.exe wait TITLE WINDOWS\n"
               "       mixerprobe.exe unplug TITLE\n"
               "       mixerprobe.exe reconnect TITLE WINDOWS\n"
               "       mixerprobe.exe requests TITLE SECONDS\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return Usage();
  const std::string command = argv[1];
  const bool known =
      (command == "unplug" && argc == 3) ||
      ((command == "wait" || command == "reconnect" || command == "requests") && argc == 4);
  if (!known) return Usage();
  if (command == "wait") return RunWait(Widen(argv[2]), std::strtoul(argv[3], nullptr, 10));
  const HWND window = FindMixer(Widen(argv[2]));
  if (window == nullptr) return 1;
  if (command == "unplug") return RunDeviceChange(window, false, 1);
  if (command == "reconnect") {
    return RunDeviceChange(window, true, std::strtoul(argv[3], nullptr, 10));
  }
  return RunRequests(window, std::atof(argv[3]));
}
