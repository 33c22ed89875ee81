#pragma once
// The advanced mixer window driven from outside: an installed copy of the program that starts
// in that window over the simulated driver library beside it, the simulated devices' state and
// request log read and changed directly, and the window's matrix read the way a user sees it:
// child dialogs by their place, texts, bars, faders and screen pixels.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "SimDevices.h"
#include "SimLayout.h"
#include "SimRequestLog.h"
#include "SimStateStore.h"
#include "UiDriver.h"

namespace advtest {

constexpr wchar_t kAppTitle[] = L"Sonarix Mixer Control";
constexpr DWORD kWaitMs = 15000;

// Control ids of the matrix's child dialogs and of the node control.
constexpr int kCellValue = 1006;
constexpr int kRowName = 1005;
constexpr int kColumnName = 1010;
constexpr int kMeter = 1022;
constexpr int kGainFader = 1023;
constexpr int kNodeFader = 1007;
constexpr int kNodeValue = 1009;
constexpr int kNoDeviceText = 1024;
constexpr UINT kDevicePnpMessage = 0x8003;

// Trackbar and bar range ends as the program sets them.
constexpr int kFaderBottom = 256;
constexpr int kMeterFull = 6000;

constexpr COLORREF kGreen = RGB(0x00, 0xFF, 0x00);
constexpr COLORREF kRed = RGB(0xFF, 0x00, 0x00);

// Polls `condition` until it holds; false when `timeoutMs` passed first.
template <typename Condition>
bool WaitUntil(Condition&& condition, DWORD timeoutMs = kWaitMs) {
  const DWORD start = ::GetTickCount();
  for (;;) {
    if (condition()) return true;
    // The tick count may wrap; the subtraction is unsigned on purpose.
    if (::GetTickCount() - start >= timeoutMs) return false;
    ::Sleep(10);
  }
}

// Watches `condition` for `periodMs`; false as soon as it fails.
template <typename Condition>
bool HoldsFor(Condition&& condition, DWORD periodMs) {
  const DWORD start = ::GetTickCount();
  while (::GetTickCount() - start < periodMs) {
    if (!condition()) return false;
    ::Sleep(10);
  }
  return condition();
}

// One child dialog of the mixer window, with its screen rectangle and its name or value text.
struct Child {
  HWND window = nullptr;
  RECT rect = {};
  std::wstring text;
};

// The mixer window's children as they stand now.
struct Matrix {
  std::vector<Child> rows;     // row labels, top to bottom
  std::vector<Child> columns;  // column labels, left to right
  std::vector<Child> cells;
  HWND panel = nullptr;  // the no-device panel

  // The cell beside row label `row` and above column label `column`; null when none is there.
  const Child* Cell(size_t row, size_t column) const;
  std::vector<std::wstring> RowNames() const;
  std::vector<std::wstring> ColumnNames() const;
};

Matrix ReadMatrix(HWND mixerWindow);
// The matrix once the window has finished building it (another thread may read it half-built):
// the given numbers of rows and columns, every cell, and the window sized around them. Empty
// when that does not come about in time.
Matrix WaitForMatrix(HWND mixerWindow, size_t rowCount, size_t columnCount);
// The no-device panel once the window shows it alone and is sized around it; null otherwise.
HWND WaitForPanel(HWND mixerWindow);
// The window's client area in screen coordinates.
RECT ClientRectOnScreen(HWND window);
SIZE SizeOf(const RECT& rect);
// The colour the screen shows at client point (x, y) of `window`.
COLORREF ScreenPixel(HWND window, int x, int y);
// A control message answered by the program, -1 when it does not answer.
LRESULT Ask(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
// The pressed and released left button at client point (1, 1), as a click on the window.
bool Click(HWND window);
// The trackbar's thumb put at `position`, then the scroll message it sends its dialog.
bool DragFader(HWND fader, int position, WORD scrollCode);

// Node and channel addresses in the simulation's wire terms.
namespace wire {
constexpr sonarixsim::ChannelAddress kAppPlayback1 = {0, 0};
constexpr sonarixsim::ChannelAddress kAppPlayback2 = {0, 1};
constexpr sonarixsim::ChannelAddress kDeviceInput1 = {1, 0};
constexpr sonarixsim::ChannelAddress kDeviceInput2 = {1, 1};
constexpr sonarixsim::ChannelAddress kDeviceOutput1 = {1, 0};
constexpr sonarixsim::ChannelAddress kDeviceOutput2 = {1, 1};
constexpr sonarixsim::ChannelAddress kAppRecording1 = {0, 0};
constexpr sonarixsim::ChannelAddress kAppRecording2 = {0, 1};
}  // namespace wire

uint32_t U32At(const std::vector<uint8_t>& bytes, size_t offset);

// Each test: an installed program in a scratch folder, and a device state of its own (named
// after the test and this process) that starts with no device.
class AdvancedMixer : public ::testing::Test {
 protected:
  void SetUp() override;

  // Devices, in family order DO, DI, AP, AR, APV, ARV.
  uint32_t Plug(std::initializer_list<uint32_t> counts);
  void Unplug(uint32_t id);
  void Reconnect(uint32_t id);
  void SetNodeWeight(uint32_t device, sonarixsim::ChannelAddress input,
                     sonarixsim::ChannelAddress output, uint32_t weight);
  uint32_t NodeWeight(uint32_t device, sonarixsim::ChannelAddress input,
                      sonarixsim::ChannelAddress output);
  void SetOutputGain(uint32_t device, sonarixsim::ChannelAddress output, uint32_t gain);
  uint32_t OutputGain(uint32_t device, sonarixsim::ChannelAddress output);
  sonarixsim::DeviceRecord Device(uint32_t id);
  // Faults on one property: `times` 0 stays until cleared.
  void AddFault(sonarixsim::RequestCall call, uint32_t property, uint32_t status,
                uint32_t times = 0);
  void ClearFaults();
  void ClearLog();
  // The program's logged requests of one call and property since the last clear.
  std::vector<sonarixsim::LoggedRequest> Requests(sonarixsim::RequestCall call, uint32_t property);
  // Every logged request of the program since the last clear.
  std::vector<sonarixsim::LoggedRequest> AllRequests();

  // Installs a language folder with this one English file (UTF-16LE, as delivered).
  void InstallEnglishTexts(const std::wstring& text);
  // The delivered English texts.
  static std::wstring DeliveredEnglishTexts();

  // Starts the program and waits for its window; the test fails without one.
  void StartMixer();
  // The node control popup the program shows now, or null.
  HWND NodeControl() const;
  // Closes the mixer window as Escape would; the program ends with 2.
  void CloseMixer();

  // Declared first so that it goes last, after the program and the state let go of its files.
  uitest::ScratchFolder scratch_;
  sonarixsim::StateStore store_;
  std::wstring stateName_;
  std::wstring installFolder_;
  uitest::Process mixer_;
  HWND window_ = nullptr;
};

}  // namespace advtest
