#include "AdvancedMixerTestSupport.h"

#include <commctrl.h>

#include <algorithm>

#include "SimFaults.h"

namespace advtest {
namespace {

using sonarixsim::SharedState;
namespace simstatus = sonarixsim::status;

// A program that stops answering must not hang the test that reads it.
constexpr UINT kSendTimeoutMs = 5000;

std::wstring BuildFile(const char* unixPath) { return uitest::WindowsPathOf(unixPath); }

std::wstring StateNameOf(const ::testing::TestInfo& test) {
  std::wstring name = L"adv" + std::to_wstring(::GetCurrentProcessId()) + L".";
  for (const char* c = test.name(); *c != 0; ++c) {
    const bool plain =
        (*c >= 'a' && *c <= 'z') || (*c >= 'A' && *c <= 'Z') || (*c >= '0' && *c <= '9');
    name += plain ? static_cast<wchar_t>(*c) : L'_';
  }
  return name.substr(0, 64);
}

Child ChildOf(HWND window, int textId) {
  Child child;
  child.window = window;
  ::GetWindowRect(window, &child.rect);
  child.text = uitest::ControlText(window, textId);
  return child;
}

std::vector<std::wstring> NamesOf(const std::vector<Child>& labels) {
  std::vector<std::wstring> names;
  for (const Child& label : labels) names.push_back(label.text);
  return names;
}

}  // namespace

const Child* Matrix::Cell(size_t row, size_t column) const {
  if (row >= rows.size() || column >= columns.size()) return nullptr;
  for (const Child& cell : cells) {
    if (cell.rect.top == rows[row].rect.top && cell.rect.left == columns[column].rect.left) {
      return &cell;
    }
  }
  return nullptr;
}

std::vector<std::wstring> Matrix::RowNames() const { return NamesOf(rows); }
std::vector<std::wstring> Matrix::ColumnNames() const { return NamesOf(columns); }

Matrix ReadMatrix(HWND mixerWindow) {
  Matrix matrix;
  for (HWND child = ::GetWindow(mixerWindow, GW_CHILD); child != nullptr;
       child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (::GetDlgItem(child, kCellValue) != nullptr) {
      matrix.cells.push_back(ChildOf(child, kCellValue));
    } else if (::GetDlgItem(child, kRowName) != nullptr) {
      matrix.rows.push_back(ChildOf(child, kRowName));
    } else if (::GetDlgItem(child, kColumnName) != nullptr) {
      matrix.columns.push_back(ChildOf(child, kColumnName));
    } else if (::GetDlgItem(child, kNoDeviceText) != nullptr) {
      matrix.panel = child;
    }
  }
  std::sort(matrix.rows.begin(), matrix.rows.end(),
            [](const Child& a, const Child& b) { return a.rect.top < b.rect.top; });
  std::sort(matrix.columns.begin(), matrix.columns.end(),
            [](const Child& a, const Child& b) { return a.rect.left < b.rect.left; });
  return matrix;
}

Matrix WaitForMatrix(HWND mixerWindow, size_t rowCount, size_t columnCount) {
  Matrix matrix;
  const bool built = WaitUntil([&] {
    matrix = ReadMatrix(mixerWindow);
    if (matrix.panel != nullptr || matrix.rows.size() != rowCount ||
        matrix.columns.size() != columnCount || matrix.cells.size() != rowCount * columnCount) {
      return false;
    }
    // The window is sized last.
    const RECT client = ClientRectOnScreen(mixerWindow);
    return columnCount == 0 || (matrix.columns.back().rect.right == client.right &&
                                matrix.columns.back().rect.bottom == client.bottom);
  });
  return built ? matrix : Matrix();
}

HWND WaitForPanel(HWND mixerWindow) {
  HWND panel = nullptr;
  const bool shown = WaitUntil([&] {
    const Matrix matrix = ReadMatrix(mixerWindow);
    panel = matrix.panel;
    if (panel == nullptr || !matrix.cells.empty() || !matrix.rows.empty() ||
        !matrix.columns.empty()) {
      return false;
    }
    RECT rect = {};
    ::GetWindowRect(panel, &rect);
    const RECT client = ClientRectOnScreen(mixerWindow);
    return rect.left == client.left && rect.top == client.top && rect.right == client.right &&
           rect.bottom == client.bottom;
  });
  return shown ? panel : nullptr;
}

RECT ClientRectOnScreen(HWND window) {
  RECT client = {};
  ::GetClientRect(window, &client);
  ::MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
  return client;
}

SIZE SizeOf(const RECT& rect) { return {rect.right - rect.left, rect.bottom - rect.top}; }

COLORREF ScreenPixel(HWND window, int x, int y) {
  POINT point = {x, y};
  ::ClientToScreen(window, &point);
  HDC screen = ::GetDC(nullptr);
  const COLORREF color = ::GetPixel(screen, point.x, point.y);
  ::ReleaseDC(nullptr, screen);
  return color;
}

LRESULT Ask(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  if (::SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kSendTimeoutMs,
                            &result) == 0) {
    return -1;
  }
  return static_cast<LRESULT>(result);
}

bool Click(HWND window) {
  const LPARAM point = MAKELPARAM(1, 1);
  return ::PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, point) &&
         ::PostMessageW(window, WM_LBUTTONUP, 0, point);
}

bool DragFader(HWND fader, int position, WORD scrollCode) {
  return ::PostMessageW(fader, TBM_SETPOS, TRUE, position) &&
         ::PostMessageW(::GetParent(fader), WM_VSCROLL, MAKEWPARAM(scrollCode, position),
                        reinterpret_cast<LPARAM>(fader));
}

uint32_t U32At(const std::vector<uint8_t>& bytes, size_t offset) {
  if (offset + 4 > bytes.size()) return 0xFFFFFFFF;
  return static_cast<uint32_t>(bytes[offset]) | static_cast<uint32_t>(bytes[offset + 1]) << 8 |
         static_cast<uint32_t>(bytes[offset + 2]) << 16 |
         static_cast<uint32_t>(bytes[offset + 3]) << 24;
}

void AdvancedMixer::SetUp() {
  stateName_ = StateNameOf(*::testing::UnitTest::GetInstance()->current_test_info());
  // The program inherits both, so its driver library meets this test's devices only.
  ::SetEnvironmentVariableW(sonarixsim::kStateNameVariable, stateName_.c_str());
  ::SetEnvironmentVariableW(sonarixsim::kStateFolderVariable, scratch_.Path().c_str());
  ASSERT_EQ(0u, store_.Open(stateName_));
  ASSERT_EQ(0u, store_.Run([](SharedState& state) {
    sonarixsim::ResetState(state, false);
    return simstatus::kOk;
  }));

  installFolder_ = scratch_.File(L"Mixer");
  ASSERT_TRUE(::CreateDirectoryW(installFolder_.c_str(), nullptr));
  const std::pair<std::wstring, const wchar_t*> files[] = {
      {BuildFile(DSPMIXER_EXE), L"dspmixer.exe"},
      {BuildFile(SONARIXAPI_DLL), L"sonarixapi.dll"},
      {BuildFile(SONARIXAPI_INI), L"sonarixapi.ini"},
  };
  for (const auto& file : files) {
    ASSERT_TRUE(
        ::CopyFileW(file.first.c_str(), (installFolder_ + L"\\" + file.second).c_str(), FALSE))
        << file.second;
  }
  // No driver interface named: the library beside the program is the driver.
  ASSERT_TRUE(uitest::WriteFileBytes(
      installFolder_ + L"\\dspmixer.xml",
      "<?xml version=\"1.0\"?>\n<AppConfig FormatVersionMajor=\"1\" FormatVersionMinor=\"1\">"
      "<StartWindow>Advanced</StartWindow></AppConfig>\n"));
}

uint32_t AdvancedMixer::Plug(std::initializer_list<uint32_t> counts) {
  sonarixsim::FamilyCounts family = {};
  std::copy(counts.begin(), counts.end(), family);
  uint32_t id = 0;
  EXPECT_EQ(0u, store_.Run([&](SharedState& state) {
    return sonarixsim::PlugDevice(state, sonarixsim::CountsFromFamilyOrder(family),
                                  sonarixsim::kMixerLayoutVersion, id);
  }));
  return id;
}

void AdvancedMixer::Unplug(uint32_t id) {
  EXPECT_EQ(0u,
            store_.Run([&](SharedState& state) { return sonarixsim::UnplugDevice(state, id); }));
}

void AdvancedMixer::Reconnect(uint32_t id) {
  EXPECT_EQ(0u,
            store_.Run([&](SharedState& state) { return sonarixsim::ReconnectDevice(state, id); }));
}

void AdvancedMixer::SetNodeWeight(uint32_t device, sonarixsim::ChannelAddress input,
                                  sonarixsim::ChannelAddress output, uint32_t weight) {
  EXPECT_EQ(0u, store_.Run([&](SharedState& state) {
    sonarixsim::DeviceRecord* record = sonarixsim::FindDevice(state, device);
    if (record == nullptr) return simstatus::kStateUnavailable;
    return sonarixsim::WriteNodeWeight(*record, input, output, weight);
  }));
}

uint32_t AdvancedMixer::NodeWeight(uint32_t device, sonarixsim::ChannelAddress input,
                                   sonarixsim::ChannelAddress output) {
  uint32_t weight = 0xFFFFFFFF;
  EXPECT_EQ(0u, store_.Run([&](SharedState& state) {
    sonarixsim::DeviceRecord* record = sonarixsim::FindDevice(state, device);
    if (record == nullptr) return simstatus::kStateUnavailable;
    return sonarixsim::ReadNodeWeight(*record, input, output, weight);
  }));
  return weight;
}

void AdvancedMixer::SetOutputGain(uint32_t device, sonarixsim::ChannelAddress output,
                                  uint32_t gain) {
  EXPECT_EQ(0u, store_.Run([&](SharedState& state) {
    sonarixsim::DeviceRecord* record = sonarixsim::FindDevice(state, device);
    if (record == nullptr) return simstatus::kStateUnavailable;
    return sonarixsim::WriteOutputGain(*record, output, gain);
  }));
}

uint32_t AdvancedMixer::OutputGain(uint32_t device, sonarixsim::ChannelAddress output) {
  uint32_t gain = 0xFFFFFFFF;
  EXPECT_EQ(0u, store_.Run([&](SharedState& state) {
    sonarixsim::DeviceRecord* record = sonarixsim::FindDevice(state, device);
    if (record == nullptr) return simstatus::kStateUnavailable;
    return sonarixsim::ReadOutputGain(*record, output, gain);
  }));
  return gain;
}

sonarixsim::DeviceRecord AdvancedMixer::Device(uint32_t id) {
  sonarixsim::DeviceRecord copy = {};
  EXPECT_EQ(0u, store_.Run([&](SharedState& state) {
    sonarixsim::DeviceRecord* record = sonarixsim::FindDevice(state, id);
    if (record == nullptr) return simstatus::kStateUnavailable;
    copy = *record;
    return simstatus::kOk;
  }));
  return copy;
}

void AdvancedMixer::AddFault(sonarixsim::RequestCall call, uint32_t property, uint32_t status,
                             uint32_t times) {
  EXPECT_EQ(0u, store_.Run([&](SharedState& state) {
    return sonarixsim::AddPropertyFault(state, call, property, status, times);
  }));
}

void AdvancedMixer::ClearFaults() {
  EXPECT_EQ(0u, store_.Run([](SharedState& state) {
    sonarixsim::ClearFaults(state);
    return simstatus::kOk;
  }));
}

void AdvancedMixer::ClearLog() {
  EXPECT_EQ(0u, store_.Run([](SharedState& state) {
    sonarixsim::ClearRequestLog(state);
    return simstatus::kOk;
  }));
}

std::vector<sonarixsim::LoggedRequest> AdvancedMixer::AllRequests() {
  std::vector<sonarixsim::LoggedRequest> all;
  EXPECT_EQ(0u, store_.Run([&](SharedState& state) {
    all = sonarixsim::ReadRequestLog(state);
    return simstatus::kOk;
  }));
  std::vector<sonarixsim::LoggedRequest> mine;
  for (auto& request : all) {
    if (request.processId == mixer_.Id()) mine.push_back(std::move(request));
  }
  return mine;
}

std::vector<sonarixsim::LoggedRequest> AdvancedMixer::Requests(sonarixsim::RequestCall call,
                                                               uint32_t property) {
  std::vector<sonarixsim::LoggedRequest> matching;
  for (auto& request : AllRequests()) {
    if (request.call == call && U32At(request.bytes, 4) == property) {
      matching.push_back(std::move(request));
    }
  }
  return matching;
}

std::wstring AdvancedMixer::DeliveredEnglishTexts() {
  std::string bytes;
  EXPECT_TRUE(uitest::ReadFileBytes(BuildFile(DSPMIXER_STRINGS) + L"\\en.txt", bytes));
  // UTF-16LE after its byte-order mark.
  std::wstring text;
  for (size_t at = 2; at + 1 < bytes.size(); at += 2) {
    text += static_cast<wchar_t>(static_cast<uint8_t>(bytes[at]) |
                                 static_cast<uint8_t>(bytes[at + 1]) << 8);
  }
  return text;
}

void AdvancedMixer::InstallEnglishTexts(const std::wstring& text) {
  const std::wstring folder = installFolder_ + L"\\dspmixer.strings";
  ASSERT_TRUE(::CreateDirectoryW(folder.c_str(), nullptr));
  std::string bytes = "\xFF\xFE";
  for (wchar_t c : text) {
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>(c >> 8);
  }
  ASSERT_TRUE(uitest::WriteFileBytes(folder + L"\\en.txt", bytes));
}

void AdvancedMixer::StartMixer() {
  uitest::StartOptions options;
  options.environment = {{sonarixsim::kStateNameVariable, stateName_},
                         {sonarixsim::kStateFolderVariable, scratch_.Path()}};
  ASSERT_EQ(0u, mixer_.Start(installFolder_ + L"\\dspmixer.exe", L"", options));
  window_ = uitest::WaitForWindow(mixer_, {kAppTitle, uitest::kDialogClass}, kWaitMs);
  ASSERT_NE(nullptr, window_) << "no mixer window; message boxes: "
                              << uitest::DrainMessageBoxes(mixer_, 100).size();
}

HWND AdvancedMixer::NodeControl() const {
  for (HWND window : uitest::TopLevelWindows(mixer_.Id())) {
    if (window != window_ && uitest::WindowClass(window) == uitest::kDialogClass &&
        ::GetDlgItem(window, kNodeFader) != nullptr) {
      return window;
    }
  }
  return nullptr;
}

void AdvancedMixer::CloseMixer() {
  ASSERT_TRUE(::PostMessageW(window_, WM_COMMAND, IDCANCEL, 0));
  ASSERT_TRUE(mixer_.WaitForExit(kWaitMs));
  EXPECT_EQ(2u, mixer_.ExitCode());
}

}  // namespace advtest
