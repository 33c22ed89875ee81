// The simple mixer window of the real program, worked from outside as a user would: the four
// faders show the first device's weights, a fader move writes its whole group of nodes, keys
// reach the faders through the program's own message loop, device changes rebuild the window,
// and a failed start ends the program. Every test installs a copy of the program and drives a
// simulated device state of its own, in this process, under the state's lock.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "SimDevices.h"
#include "SimDspProtocol.h"
#include "SimFaults.h"
#include "SimLayout.h"
#include "SimRequestLog.h"
#include "SimStateStore.h"
#include "UiDriver.h"

namespace {

namespace sim = sonarixsim;

constexpr wchar_t kAppTitle[] = L"Sonarix Mixer Control";
constexpr wchar_t kSelectTitle[] = L"Select Mixer";
constexpr wchar_t kNoDeviceText[] = L"No device connected.";
constexpr wchar_t kIniMissingText[] =
    L"The configuration file for the driver DLL required to access the device is missing.";
constexpr DWORD kWaitMs = 15000;
constexpr uint32_t kMixerClosedExitCode = 2;

constexpr UINT kDevicePnpMessage = WM_APP + 3;
constexpr int kSelectSimpleButton = 1011;
constexpr int kNoDeviceId = 1029;

constexpr uint32_t kDeviceRemovedStatus = 0xEE000071;
constexpr uint32_t kWrongUnitStatus = 0xEE000044;

// Default counts of a new device, in family order DO, DI, AP, AR, APV, ARV.
constexpr sim::FamilyCounts kFourOfEach = {4, 4, 4, 4, 2, 2};

// A crosspoint in wire terms: input kind and index, output kind and index.
struct Node {
  uint32_t inputKind;
  uint32_t inputIndex;
  uint32_t outputKind;
  uint32_t outputIndex;
};

constexpr uint32_t kAppPlaybackIn = sim::wirekind::kAppPlayback;
constexpr uint32_t kDeviceInputIn = sim::wirekind::kDeviceInput;
constexpr uint32_t kAppRecordingOut = sim::wirekind::kAppRecording;
constexpr uint32_t kDeviceOutputOut = sim::wirekind::kDeviceOutput;

// One fader column as the window shows it, left to right.
struct Column {
  const wchar_t* name;
  int slider;
  int value;
  int label;
  Node firstNode;  // input 0 to output 0 of its two families
};

constexpr Column kPlayback = {L"Playback", 1014, 1018, 1025,
                              {kAppPlaybackIn, 0, kDeviceOutputOut, 0}};
constexpr Column kRecording = {L"Recording", 1015, 1019, 1026,
                               {kDeviceInputIn, 0, kAppRecordingOut, 0}};
constexpr Column kLoopback = {L"Loopback", 1017, 1020, 1027,
                              {kAppPlaybackIn, 0, kAppRecordingOut, 0}};
constexpr Column kMonitor = {L"Monitor", 1016, 1021, 1028,
                             {kDeviceInputIn, 0, kDeviceOutputOut, 0}};
const Column kColumns[] = {kPlayback, kRecording, kLoopback, kMonitor};

std::wstring BuildFile(const char* unixPath) { return uitest::WindowsPathOf(unixPath); }

std::string ConfigWith(const std::string& inner) {
  return "<?xml version=\"1.0\"?>\n<AppConfig FormatVersionMajor=\"1\" FormatVersionMinor=\"1\">" +
         inner + "</AppConfig>\n";
}

// Polls `condition` until it holds; false when `timeoutMs` passed first.
template <typename Condition>
bool WaitUntil(Condition condition, DWORD timeoutMs = kWaitMs) {
  const DWORD start = ::GetTickCount();
  while (!condition()) {
    // The tick count may wrap; the subtraction is unsigned on purpose.
    if (::GetTickCount() - start >= timeoutMs) return false;
    ::Sleep(10);
  }
  return true;
}

// --- The window as seen from outside

// The mixer window: a shown dialog with the faders (the error box shares its caption).
HWND FindMixer(const uitest::Process& process) {
  for (HWND window : uitest::TopLevelWindows(process.Id())) {
    if (uitest::WindowClass(window) == uitest::kDialogClass &&
        ::GetDlgItem(window, kPlayback.slider) != nullptr) {
      return window;
    }
  }
  return nullptr;
}

HWND WaitForMixer(const uitest::Process& process) {
  HWND mixer = nullptr;
  WaitUntil([&] { return (mixer = FindMixer(process)) != nullptr || !process.IsRunning(); });
  return mixer;
}

bool IsShown(HWND dialog, int id) { return ::IsWindowVisible(::GetDlgItem(dialog, id)) != FALSE; }

int SliderPos(HWND dialog, int sliderId) {
  DWORD_PTR position = static_cast<DWORD_PTR>(-1);
  ::SendMessageTimeoutW(::GetDlgItem(dialog, sliderId), TBM_GETPOS, 0, 0, SMTO_ABORTIFHUNG,
                        kWaitMs, &position);
  return static_cast<int>(position);
}

bool AllColumnsShown(HWND mixer) {
  for (const Column& column : kColumns) {
    if (!IsShown(mixer, column.slider) || !IsShown(mixer, column.value) ||
        !IsShown(mixer, column.label) || uitest::ControlText(mixer, column.value).empty()) {
      return false;
    }
  }
  return true;
}

bool NoColumnShown(HWND mixer) {
  for (const Column& column : kColumns) {
    if (IsShown(mixer, column.slider) || IsShown(mixer, column.value) ||
        IsShown(mixer, column.label)) {
      return false;
    }
  }
  return true;
}

std::vector<std::wstring> ValueTexts(HWND mixer) {
  std::vector<std::wstring> texts;
  for (const Column& column : kColumns) texts.push_back(uitest::ControlText(mixer, column.value));
  return texts;
}

std::vector<int> SliderPositions(HWND mixer) {
  std::vector<int> positions;
  for (const Column& column : kColumns) positions.push_back(SliderPos(mixer, column.slider));
  return positions;
}

// A fader event as the trackbar sends it to its dialog; returns once the dialog handled it.
void SendFaderEvent(HWND mixer, int sliderId, WORD code, int position) {
  const HWND slider = ::GetDlgItem(mixer, sliderId);
  DWORD_PTR ignored = 0;
  ::SendMessageTimeoutW(slider, TBM_SETPOS, TRUE, position, SMTO_ABORTIFHUNG, kWaitMs, &ignored);
  ::SendMessageTimeoutW(mixer, WM_VSCROLL, MAKEWPARAM(code, position),
                        reinterpret_cast<LPARAM>(slider), SMTO_ABORTIFHUNG, kWaitMs, &ignored);
}

// The control that has the keyboard focus in the window's thread.
HWND FocusOf(HWND mixer) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof(info);
  if (!::GetGUIThreadInfo(::GetWindowThreadProcessId(mixer, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

int FocusedId(HWND mixer) {
  const HWND focus = FocusOf(mixer);
  return focus != nullptr && ::IsChild(mixer, focus) ? ::GetDlgCtrlID(focus) : 0;
}

// --- The requests on the wire

uint32_t U32At(const std::vector<uint8_t>& bytes, size_t offset) {
  return static_cast<uint32_t>(bytes[offset]) | static_cast<uint32_t>(bytes[offset + 1]) << 8 |
         static_cast<uint32_t>(bytes[offset + 2]) << 16 |
         static_cast<uint32_t>(bytes[offset + 3]) << 24;
}

std::string NodeText(const Node& node, uint32_t weight) {
  char text[64];
  std::snprintf(text, sizeof text, "%u:%u->%u:%u=0x%08X", node.inputKind, node.inputIndex,
                node.outputKind, node.outputIndex, weight);
  return text;
}

// The records of a node weight request, each as "in:index->out:index=weight".
std::vector<std::string> NodeRecords(const sim::LoggedRequest& request) {
  std::vector<std::string> records;
  for (size_t at = sim::kRequestHeaderSize; at + sim::kNodeWeightRecordSize <= request.bytes.size();
       at += sim::kNodeWeightRecordSize) {
    const Node node = {request.bytes[at], request.bytes[at + 1], request.bytes[at + 2],
                       request.bytes[at + 3]};
    records.push_back(NodeText(node, U32At(request.bytes, at + 4)));
  }
  return records;
}

uint32_t PropertyOf(const sim::LoggedRequest& request) {
  return request.bytes.size() >= sim::kRequestHeaderSize ? U32At(request.bytes, 4) : 0;
}

bool IsNodeWeightSet(const sim::LoggedRequest& request) {
  return request.call == sim::RequestCall::Set && PropertyOf(request) == sim::property::kNodeWeight;
}

// --- The fixture: a state of the test's own and an installed copy of the program

class SimpleMixerWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    stateName_ = L"sm" + std::to_wstring(::GetCurrentProcessId()) + L".";
    for (const char* c = test->name(); *c != 0 && stateName_.size() < 64; ++c) {
      stateName_ += static_cast<wchar_t>(*c);
    }
    ::SetEnvironmentVariableW(sim::kStateFolderVariable, scratch_.Path().c_str());
    ASSERT_EQ(0u, store_.Open(stateName_));
    ASSERT_EQ(0u, Edit([](sim::SharedState& state) {
                sim::ResetState(state, false);
                return sim::status::kOk;
              }));

    ::CreateDirectoryW(folder_.c_str(), nullptr);
    ASSERT_TRUE(::CopyFileW(BuildFile(DSPMIXER_EXE).c_str(), Exe().c_str(), FALSE));
    ASSERT_TRUE(::CopyFileW(BuildFile(SONARIXAPI_DLL).c_str(), InFolder(L"sonarixapi.dll").c_str(),
                            FALSE));
    ASSERT_TRUE(::CopyFileW(BuildFile(SONARIXAPI_INI).c_str(), InFolder(L"sonarixapi.ini").c_str(),
                            FALSE));
    // Lower case on purpose: the start window's name is compared without case.
    WriteConfig(ConfigWith("<StartWindow>simple</StartWindow>"));
  }

  std::wstring Exe() const { return InFolder(L"dspmixer.exe"); }
  std::wstring InFolder(const wchar_t* name) const { return folder_ + L"\\" + name; }
  void WriteConfig(const std::string& xml) const {
    uitest::WriteFileBytes(InFolder(L"dspmixer.xml"), xml);
  }

  void Start(uitest::Process& process) {
    uitest::StartOptions options;
    options.environment = {{sim::kStateNameVariable, stateName_},
                           {sim::kStateFolderVariable, scratch_.Path()}};
    ASSERT_EQ(0u, process.Start(Exe(), L"", options));
  }

  // Starts the program and waits for its window with the four values.
  HWND StartShown(uitest::Process& process) {
    Start(process);
    const HWND mixer = WaitForMixer(process);
    if (mixer != nullptr) {
      EXPECT_TRUE(WaitUntil([&] { return AllColumnsShown(mixer); }));
    }
    return mixer;
  }

  // Closes the window as its close box would; the program ends with the window's exit code.
  void CloseAndExpectExitTwo(uitest::Process& process, HWND mixer) {
    ASSERT_TRUE(uitest::RequestClose(mixer));
    ASSERT_TRUE(process.WaitForExit(kWaitMs));
    EXPECT_EQ(kMixerClosedExitCode, process.ExitCode());
  }

  template <typename Operation>
  sim::Status Edit(Operation&& operation) {
    return store_.Run(std::forward<Operation>(operation));
  }

  uint32_t Plug(const sim::FamilyCounts& counts) {
    uint32_t id = 0;
    EXPECT_EQ(0u, Edit([&](sim::SharedState& state) {
                return sim::PlugDevice(state, sim::CountsFromFamilyOrder(counts),
                                       sim::kMixerLayoutVersion, id);
              }));
    return id;
  }
  void Unplug(uint32_t id) {
    EXPECT_EQ(0u, Edit([&](sim::SharedState& state) { return sim::UnplugDevice(state, id); }));
  }
  void Reconnect(uint32_t id) {
    EXPECT_EQ(0u, Edit([&](sim::SharedState& state) { return sim::ReconnectDevice(state, id); }));
  }
  // Writes the device's node directly, as the hardware would hold it; no notification.
  void SetWeight(uint32_t id, const Node& node, uint32_t weight) {
    EXPECT_EQ(0u, Edit([&](sim::SharedState& state) {
                sim::DeviceRecord* device = sim::FindDevice(state, id);
                if (device == nullptr) return sim::status::kNoSuchDevice;
                return sim::WriteNodeWeight(*device, {node.inputKind, node.inputIndex},
                                            {node.outputKind, node.outputIndex}, weight);
              }));
  }
  uint32_t Weight(uint32_t id, const Node& node) {
    uint32_t weight = 0xFFFFFFFF;
    EXPECT_EQ(0u, Edit([&](sim::SharedState& state) {
                sim::DeviceRecord* device = sim::FindDevice(state, id);
                if (device == nullptr) return sim::status::kNoSuchDevice;
                return sim::ReadNodeWeight(*device, {node.inputKind, node.inputIndex},
                                           {node.outputKind, node.outputIndex}, weight);
              }));
    return weight;
  }
  void AddFault(const char* entryPoint, uint32_t answer, uint32_t times) {
    EXPECT_EQ(0u, Edit([&](sim::SharedState& state) {
                return sim::AddEntryPointFault(state, entryPoint, answer, times);
              }));
  }
  // Requests logged so far; a mark for RequestsSince.
  uint32_t LogMark() {
    uint32_t count = 0;
    EXPECT_EQ(0u, Edit([&](sim::SharedState& state) {
                count = state.logCount;
                return sim::status::kOk;
              }));
    return count;
  }
  std::vector<sim::LoggedRequest> RequestsSince(uint32_t mark) {
    std::vector<sim::LoggedRequest> all;
    EXPECT_EQ(0u, Edit([&](sim::SharedState& state) {
                all = sim::ReadRequestLog(state);
                return sim::status::kOk;
              }));
    std::vector<sim::LoggedRequest> since;
    for (const sim::LoggedRequest& request : all) {
      if (request.sequence >= mark) since.push_back(request);
    }
    return since;
  }

  // Declared first so that it goes last, after the state has let go of its file.
  uitest::ScratchFolder scratch_;
  std::wstring folder_ = scratch_.File(L"Mixer");
  sim::StateStore store_;
  std::wstring stateName_;
};

}  // namespace

TEST_F(SimpleMixerWindow, ShowsTheFourWeightsAndRereadsThemOnlyWhenADeviceArrives) {
  const uint32_t device = Plug(kFourOfEach);
  SetWeight(device, kRecording.firstNode, 0x00200000);
  SetWeight(device, kLoopback.firstNode, 0x00400000);
  SetWeight(device, kMonitor.firstNode, 0x00C00000);

  uitest::Process mixerProcess;
  const ULONGLONG started = ::GetTickCount64();
  const HWND mixer = StartShown(mixerProcess);
  ASSERT_NE(nullptr, mixer);
  std::printf("[ measured ] simple mixer: start to four values shown: %llu ms\n",
              ::GetTickCount64() - started);

  EXPECT_EQ(kAppTitle, uitest::WindowText(mixer));
  EXPECT_EQ((std::vector<std::wstring>{L"100%", L"12%", L"25%", L"75%"}), ValueTexts(mixer));
  EXPECT_EQ((std::vector<int>{0, 224, 192, 64}), SliderPositions(mixer));
  for (const Column& column : kColumns) {
    EXPECT_EQ(column.name, uitest::ControlText(mixer, column.label));
  }
  EXPECT_FALSE(IsShown(mixer, kNoDeviceId));
  // Left to right: Playback, Recording, Loopback, Monitor, whatever their ids.
  int lastLeft = -100000;
  for (const Column& column : kColumns) {
    RECT place = {};
    ::GetWindowRect(::GetDlgItem(mixer, column.slider), &place);
    EXPECT_GT(place.left, lastLeft) << column.name;
    lastLeft = place.left;
  }

  // Codes other than an arrival or a removal mean nothing; an arrival rereads all four.
  const uint32_t mark = LogMark();
  ASSERT_TRUE(::PostMessageW(mixer, kDevicePnpMessage, 0, 0));
  ASSERT_TRUE(::PostMessageW(mixer, kDevicePnpMessage, 3, 0));
  SetWeight(device, kMonitor.firstNode, 0x00400000);
  ASSERT_TRUE(::PostMessageW(mixer, kDevicePnpMessage, 1, 0));
  EXPECT_TRUE(WaitUntil([&] { return uitest::ControlText(mixer, kMonitor.value) == L"25%"; }));
  EXPECT_EQ(192, SliderPos(mixer, kMonitor.slider));
  // One update: the layout read once, the four nodes read in column order, nothing written.
  int layoutReads = 0;
  std::vector<std::string> reads;
  for (const sim::LoggedRequest& request : RequestsSince(mark)) {
    EXPECT_FALSE(IsNodeWeightSet(request));
    if (PropertyOf(request) == sim::property::kMixerInfo) ++layoutReads;
    if (PropertyOf(request) != sim::property::kNodeWeight) continue;
    const Node node = {request.bytes[8], request.bytes[9], request.bytes[10], request.bytes[11]};
    reads.push_back(NodeText(node, 0));
  }
  EXPECT_EQ((std::vector<std::string>{NodeText(kPlayback.firstNode, 0),
                                      NodeText(kRecording.firstNode, 0),
                                      NodeText(kLoopback.firstNode, 0),
                                      NodeText(kMonitor.firstNode, 0)}),
            reads);
  EXPECT_EQ(1, layoutReads);

  CloseAndExpectExitTwo(mixerProcess, mixer);
}

// Two devices: the one plugged in first is shown and written, the other keeps its nodes.
TEST_F(SimpleMixerWindow, PlaybackFaderWritesItsWholeGroupToTheFirstDeviceInOneRequest) {
  const Node cross01 = {kAppPlaybackIn, 0, kDeviceOutputOut, 1};
  const Node cross10 = {kAppPlaybackIn, 1, kDeviceOutputOut, 0};
  const Node second11 = {kAppPlaybackIn, 1, kDeviceOutputOut, 1};
  const Node beyond = {kAppPlaybackIn, 2, kDeviceOutputOut, 0};
  // Family order DO, DI, AP, AR, APV, ARV: 2 device outputs, 8 application playback channels.
  const uint32_t first = Plug({2, 2, 8, 2, 1, 1});
  SetWeight(first, kPlayback.firstNode, 0x00400000);
  SetWeight(first, cross01, 0x00300000);
  SetWeight(first, cross10, 0x00300000);
  SetWeight(first, beyond, 0x00500000);
  SetWeight(first, kMonitor.firstNode, 0x00C00000);
  const uint32_t other = Plug(kFourOfEach);
  SetWeight(other, kMonitor.firstNode, 0x00200000);

  uitest::Process mixerProcess;
  const HWND mixer = StartShown(mixerProcess);
  ASSERT_NE(nullptr, mixer);
  EXPECT_EQ((std::vector<std::wstring>{L"25%", L"100%", L"0%", L"75%"}), ValueTexts(mixer));

  const uint32_t mark = LogMark();
  SendFaderEvent(mixer, kPlayback.slider, TB_THUMBPOSITION, 128);
  const std::vector<sim::LoggedRequest> moved = RequestsSince(mark);
  ASSERT_EQ(1u, moved.size());
  EXPECT_TRUE(IsNodeWeightSet(moved[0]));
  EXPECT_EQ(40u, moved[0].size);
  EXPECT_EQ(first, moved[0].deviceId);
  EXPECT_EQ(0u, moved[0].status);
  EXPECT_EQ(sim::kMixerUnitId, U32At(moved[0].bytes, 0));
  EXPECT_EQ((std::vector<std::string>{NodeText(kPlayback.firstNode, 0x00800000),
                                      NodeText(cross01, 0), NodeText(cross10, 0),
                                      NodeText(second11, 0x00800000)}),
            NodeRecords(moved[0]));
  EXPECT_EQ(L"50%", uitest::ControlText(mixer, kPlayback.value));
  EXPECT_EQ(0x00800000u, Weight(first, kPlayback.firstNode));
  EXPECT_EQ(0u, Weight(first, cross01));
  EXPECT_EQ(0u, Weight(first, cross10));
  EXPECT_EQ(0x00800000u, Weight(first, second11));
  EXPECT_EQ(0x00500000u, Weight(first, beyond));
  EXPECT_EQ(sim::kUnityWeight, Weight(other, kPlayback.firstNode));
  EXPECT_EQ(sim::kUnityWeight, Weight(other, second11));

  // Dragged to the top, paged to the bottom; the end of a drag writes nothing.
  SendFaderEvent(mixer, kPlayback.slider, TB_THUMBTRACK, 0);
  EXPECT_EQ(L"100%", uitest::ControlText(mixer, kPlayback.value));
  SendFaderEvent(mixer, kPlayback.slider, TB_PAGEDOWN, 256);
  EXPECT_EQ(L"0%", uitest::ControlText(mixer, kPlayback.value));
  SendFaderEvent(mixer, kPlayback.slider, TB_ENDTRACK, 128);
  EXPECT_EQ(L"0%", uitest::ControlText(mixer, kPlayback.value));
  const std::vector<sim::LoggedRequest> more = RequestsSince(mark + 1);
  ASSERT_EQ(2u, more.size());
  EXPECT_EQ(NodeText(kPlayback.firstNode, sim::kUnityWeight), NodeRecords(more[0]).at(0));
  EXPECT_EQ(NodeText(second11, sim::kUnityWeight), NodeRecords(more[0]).at(3));
  EXPECT_EQ(NodeText(kPlayback.firstNode, 0), NodeRecords(more[1]).at(0));
  EXPECT_EQ(0u, Weight(first, second11));

  CloseAndExpectExitTwo(mixerProcess, mixer);
}

// Keys posted to the focused fader pass the program's message loop: its filter gives them to
// the dialog manager first, which moves the focus on Tab and turns Enter and Escape into the
// window's commands; the fader itself takes the arrows and paging keys.
TEST_F(SimpleMixerWindow, KeysReachTheFocusedFaderThroughTheProgramsMessageLoop) {
  const uint32_t device = Plug(kFourOfEach);
  SetWeight(device, kRecording.firstNode, 0x00800000);

  uitest::Process mixerProcess;
  const HWND mixer = StartShown(mixerProcess);
  ASSERT_NE(nullptr, mixer);
  ASSERT_TRUE(WaitUntil([&] { return FocusedId(mixer) == kPlayback.slider; }))
      << "focus on " << FocusedId(mixer);

  // Tab: the next fader in tab order.
  ASSERT_TRUE(uitest::SendKey(::GetDlgItem(mixer, kPlayback.slider), VK_TAB));
  ASSERT_TRUE(WaitUntil([&] { return FocusedId(mixer) == kRecording.slider; }))
      << "focus on " << FocusedId(mixer);
  const HWND recording = ::GetDlgItem(mixer, kRecording.slider);
  ASSERT_EQ(128, SliderPos(mixer, kRecording.slider));

  // A line down, then a page down: each one write of the group at the new position.
  uint32_t mark = LogMark();
  ASSERT_TRUE(uitest::SendKey(recording, VK_DOWN));
  ASSERT_TRUE(WaitUntil([&] { return RequestsSince(mark).size() >= 1; }));
  EXPECT_EQ(129, SliderPos(mixer, kRecording.slider));
  ASSERT_TRUE(uitest::SendKey(recording, VK_NEXT));
  ASSERT_TRUE(WaitUntil([&] { return RequestsSince(mark).size() >= 2; }));
  const int paged = SliderPos(mixer, kRecording.slider);
  EXPECT_GT(paged, 129);
  const uint32_t pagedWeight = static_cast<uint32_t>(256 - paged) * 65536u;
  const std::vector<sim::LoggedRequest> stepped = RequestsSince(mark);
  ASSERT_EQ(2u, stepped.size());
  EXPECT_TRUE(IsNodeWeightSet(stepped[0]));
  EXPECT_EQ(NodeText(kRecording.firstNode, 0x007F0000), NodeRecords(stepped[0]).at(0));
  EXPECT_TRUE(IsNodeWeightSet(stepped[1]));
  EXPECT_EQ(NodeText(kRecording.firstNode, pagedWeight), NodeRecords(stepped[1]).at(0));
  EXPECT_EQ(pagedWeight, Weight(device, kRecording.firstNode));
  const std::wstring pagedText = std::to_wstring(pagedWeight * 100ull / sim::kUnityWeight) + L"%";
  EXPECT_EQ(pagedText, uitest::ControlText(mixer, kRecording.value));

  // Home and End move the thumb only.
  mark = LogMark();
  ASSERT_TRUE(uitest::SendKey(recording, VK_HOME));
  EXPECT_TRUE(WaitUntil([&] { return SliderPos(mixer, kRecording.slider) == 0; }));
  ASSERT_TRUE(uitest::SendKey(recording, VK_END));
  EXPECT_TRUE(WaitUntil([&] { return SliderPos(mixer, kRecording.slider) == 256; }));
  EXPECT_TRUE(RequestsSince(mark).empty());
  EXPECT_EQ(pagedText, uitest::ControlText(mixer, kRecording.value));
  EXPECT_EQ(pagedWeight, Weight(device, kRecording.firstNode));

  // Enter leaves the window as it is: the line up after it is the only write.
  ASSERT_TRUE(uitest::SendKey(recording, VK_RETURN));
  ASSERT_TRUE(uitest::SendKey(recording, VK_UP));
  ASSERT_TRUE(WaitUntil([&] { return !RequestsSince(mark).empty(); }));
  const std::vector<sim::LoggedRequest> afterEnter = RequestsSince(mark);
  ASSERT_EQ(1u, afterEnter.size());
  EXPECT_EQ(NodeText(kRecording.firstNode, 0x00010000), NodeRecords(afterEnter[0]).at(0));
  EXPECT_EQ(L"0%", uitest::ControlText(mixer, kRecording.value));
  EXPECT_TRUE(::IsWindowVisible(mixer));
  EXPECT_EQ(kRecording.slider, FocusedId(mixer));

  // Escape closes the window and ends the program.
  ASSERT_TRUE(uitest::SendKey(recording, VK_ESCAPE));
  ASSERT_TRUE(mixerProcess.WaitForExit(kWaitMs));
  EXPECT_EQ(kMixerClosedExitCode, mixerProcess.ExitCode());
}

TEST_F(SimpleMixerWindow, DeviceChangesSwitchBetweenNoDeviceTextAndFadersReadFromTheDevice) {
  uitest::Process mixerProcess;
  Start(mixerProcess);
  const HWND mixer = WaitForMixer(mixerProcess);
  ASSERT_NE(nullptr, mixer);
  EXPECT_TRUE(WaitUntil([&] { return IsShown(mixer, kNoDeviceId); }));
  EXPECT_EQ(kNoDeviceText, uitest::ControlText(mixer, kNoDeviceId));
  EXPECT_TRUE(NoColumnShown(mixer));

  // Plugged in: the faders come with the device's values.
  const uint32_t device = Plug(kFourOfEach);
  SetWeight(device, kMonitor.firstNode, 0x00C00000);
  EXPECT_TRUE(WaitUntil([&] { return AllColumnsShown(mixer); }));
  EXPECT_FALSE(IsShown(mixer, kNoDeviceId));
  EXPECT_EQ(L"75%", uitest::ControlText(mixer, kMonitor.value));
  EXPECT_EQ(64, SliderPos(mixer, kMonitor.slider));

  // Unplugged: only the text.
  Unplug(device);
  EXPECT_TRUE(WaitUntil([&] { return IsShown(mixer, kNoDeviceId); }));
  EXPECT_TRUE(NoColumnShown(mixer));

  // The device changed while away; plugged in again, the window shows what it holds now.
  SetWeight(device, kPlayback.firstNode, 0x00400000);
  SetWeight(device, kMonitor.firstNode, 0x00800000);
  Reconnect(device);
  EXPECT_TRUE(WaitUntil([&] { return AllColumnsShown(mixer); }));
  EXPECT_FALSE(IsShown(mixer, kNoDeviceId));
  EXPECT_EQ((std::vector<std::wstring>{L"25%", L"100%", L"0%", L"50%"}), ValueTexts(mixer));
  EXPECT_EQ((std::vector<int>{192, 0, 256, 128}), SliderPositions(mixer));

  CloseAndExpectExitTwo(mixerProcess, mixer);
}

TEST_F(SimpleMixerWindow, DeviceGoneDuringTheFirstUpdateEndsTheProgramWithoutABox) {
  Plug(kFourOfEach);
  AddFault("SONARIX_EnumerateDevices", kDeviceRemovedStatus, 1);
  uitest::Process mixerProcess;
  Start(mixerProcess);
  // A box would keep the program running until answered: any that shows is collected here.
  EXPECT_TRUE(uitest::DrainMessageBoxes(mixerProcess, kWaitMs).empty());
  ASSERT_TRUE(mixerProcess.WaitForExit(kWaitMs));
  EXPECT_EQ(kMixerClosedExitCode, mixerProcess.ExitCode());
}

TEST_F(SimpleMixerWindow, MissingDriverLibraryIniIsReportedAndEndsWithTwo) {
  Plug(kFourOfEach);
  ASSERT_TRUE(::DeleteFileW(InFolder(L"sonarixapi.ini").c_str()));
  uitest::Process mixerProcess;
  Start(mixerProcess);
  EXPECT_EQ(std::wstring(kIniMissingText),
            uitest::ExpectMessageBox(mixerProcess, kAppTitle, kWaitMs));
  ASSERT_TRUE(mixerProcess.WaitForExit(kWaitMs));
  EXPECT_EQ(kMixerClosedExitCode, mixerProcess.ExitCode());
  EXPECT_TRUE(RequestsSince(0).empty());
}

// While the error box is up, device changes wait for it; the box ends the program anyway.
TEST_F(SimpleMixerWindow, FailedFirstUpdateIsReportedAndDeviceChangesWaitForTheBox) {
  const uint32_t device = Plug(kFourOfEach);
  AddFault("SONARIX_EnumerateDevices", kWrongUnitStatus, 1);
  uitest::Process mixerProcess;
  Start(mixerProcess);
  HWND box = nullptr;
  ASSERT_TRUE(WaitUntil([&] {
    return (box = uitest::FindMessageBox(mixerProcess)) != nullptr || !mixerProcess.IsRunning();
  }));
  ASSERT_NE(nullptr, box);
  EXPECT_EQ(kAppTitle, uitest::WindowText(box));
  EXPECT_EQ(L"An error has occurred. The internal error description is:\n"
            L"\"OnInitDialog: UpdateDevices -> 0xEE000044\"",
            uitest::ControlText(box, uitest::kMessageBoxTextId));

  // The driver's notifications for these reach the window through the box's own loop; one more
  // posted here is handled before the box sees its answer, posted after it.
  Unplug(device);
  Plug(kFourOfEach);
  Reconnect(device);
  const HWND mixer = ::GetWindow(box, GW_OWNER);
  ASSERT_NE(nullptr, mixer);
  ASSERT_NE(nullptr, ::GetDlgItem(mixer, kPlayback.slider));
  ASSERT_TRUE(::PostMessageW(mixer, kDevicePnpMessage, 1, 0));
  ASSERT_TRUE(uitest::AnswerMessageBox(box));
  ASSERT_TRUE(mixerProcess.WaitForExit(kWaitMs));
  EXPECT_EQ(kMixerClosedExitCode, mixerProcess.ExitCode());
  EXPECT_TRUE(RequestsSince(0).empty()) << RequestsSince(0).size() << " requests";
}

TEST_F(SimpleMixerWindow, SelectWindowsSimpleButtonOpensTheSimpleMixer) {
  const uint32_t device = Plug(kFourOfEach);
  SetWeight(device, kMonitor.firstNode, 0x00C00000);
  WriteConfig(ConfigWith(""));
  uitest::Process mixerProcess;
  Start(mixerProcess);
  const HWND select =
      uitest::WaitForWindow(mixerProcess, {kSelectTitle, uitest::kDialogClass}, kWaitMs);
  ASSERT_NE(nullptr, select);
  ASSERT_TRUE(uitest::PressButton(select, kSelectSimpleButton));
  const HWND mixer = WaitForMixer(mixerProcess);
  ASSERT_NE(nullptr, mixer);
  EXPECT_TRUE(WaitUntil([&] { return AllColumnsShown(mixer); }));
  EXPECT_EQ(kAppTitle, uitest::WindowText(mixer));
  EXPECT_EQ(L"75%", uitest::ControlText(mixer, kMonitor.value));
  EXPECT_EQ(nullptr, uitest::FindProgramWindow(mixerProcess, {kSelectTitle, uitest::kDialogClass}));
  CloseAndExpectExitTwo(mixerProcess, mixer);
}
