// The mixer's configuration file: versions, values, defaults, file locations, repeated loads.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "Config.h"
#include "MessageBoxes.h"
#include "UiFiles.h"
#include "VTHandles.h"

using uitest::WriteFileBytes;

namespace {

constexpr char kGuid[] = "{11111111-2222-3333-4444-555555555555}";
const std::wstring kInstance = L"MixerApp_{11111111-2222-3333-4444-555555555555}";

std::string Version(const std::string& major, const std::string& minor) {
  return "FormatVersionMajor=\"" + major + "\" FormatVersionMinor=\"" + minor + "\"";
}
std::string Document(const std::string& body, const std::string& version = Version("1", "1")) {
  return "<?xml version=\"1.0\"?>\n<AppConfig " + version + ">" + body + "</AppConfig>\n";
}
std::string Tag(const std::string& name, const std::string& text) {
  return "<" + name + ">" + text + "</" + name + ">";
}
std::string Mixer(const std::string& colors, const std::string& channels = "") {
  return Tag("AdvancedMixer", Tag("Node", Tag("Colors", colors)) + Tag("Channels", channels));
}
const std::string kGuidElement = Tag("DriverInterfaceGUID", kGuid);
uint32_t Packed(RgbColor c) { return c.red << 16 | c.green << 8 | c.blue; }

// Each box as caption, text and flags.
std::vector<std::wstring> g_boxes;
int WINAPI RecordBox(HWND, const wchar_t* text, const wchar_t* caption, UINT flags) {
  g_boxes.push_back(std::wstring(caption) + L"|" + text + L"|" + std::to_wstring(flags));
  return IDOK;
}

// Each test has a folder for an executable "app.exe"; message boxes are recorded, not shown.
class ConfigFile : public ::testing::Test {
 protected:
  void SetUp() override { previousBox_ = SetMessageBoxFunction(&RecordBox); }
  void TearDown() override { SetMessageBoxFunction(previousBox_); }
  StatusCode LoadDocument(Config& config, const std::string& xml, const wchar_t* base = L"app") {
    EXPECT_TRUE(WriteFileBytes(folder_.File(std::wstring(base) + L".xml"), xml));
    return config.Load(nullptr);
  }

  uitest::ScratchFolder folder_;
  Config config_{folder_.File(L"app.exe")};
  MessageBoxFunction previousBox_ = nullptr;
};

}  // namespace

TEST_F(ConfigFile, DocumentsGiveTheirStatusAndOnlyValidValuesReplaceTheDefaults) {
  using Value = std::function<uint32_t(const Config&)>;
  // 1: the configured instance name and GUID, 0: the defaults, 2: anything else.
  const Value named = [](const Config& c) {
    if (c.InstanceName() == kInstance && c.DriverInterfaceGUID() == kInstance.substr(9)) return 1;
    return c.InstanceName() == kDefaultInstanceName && c.DriverInterfaceGUID().empty() ? 0 : 2;
  };
  const Value start = [](const Config& c) { return c.StartWindow(); };
  const Value connected = [](const Config& c) { return Packed(c.ConnectedColor()); };
  const Value notConnected = [](const Config& c) { return Packed(c.NotConnectedColor()); };
  const Value playback = [](const Config& c) { return c.MaxChannelCountAppPlayback(); };
  const StatusCode incompatible = mixer_status::kConfigIncompatible;
  struct Case {
    std::string xml;
    StatusCode status;
    Value value;
    uint32_t expected;
  } const cases[] = {
      {Document(kGuidElement, Version(" 1 ", "1 ")), 0, named, 1},
      {Document(kGuidElement, Version("1", "0")), incompatible, named, 0},
      {Document(kGuidElement, Version("2", "1")), incompatible, named, 0},
      {Document(kGuidElement, "FormatVersionMinor=\"1\""), incompatible, named, 0},
      {Document(kGuidElement, Version("one", "1")), incompatible, named, 0},
      {"<AppConfig " + Version("1", "1") + ">" + kGuidElement, 0, named, 0},  // not well-formed
      {Tag("Settings", kGuidElement), 0, named, 0},
      {Document(Tag("DriverInterfaceGUID", "")), 0, named, 0},
      {Document(Tag("StartWindow", "advanced")), 0, start, kStartWithAdvancedMixer},
      {Document(Tag("StartWindow", "Full")), 0, start, kStartWithSelectWindow},
      {Document(Tag("StartWindow", "SIMPLE")), 0, start, kStartWithSimpleMixer},
      {Document(Mixer(Tag("Connected", "12ff00"))), 0, connected, 0x12FF00},
      {Document(Mixer(Tag("Connected", "12ff0"))), 0, connected, 0x00FF00},
      {Document(Mixer(Tag("Connected", "GGGGGG"))), 0, connected, 0x00FF00},
      {Document(Mixer(Tag("NotConnected", "0000ff0"))), 0, notConnected, 0xFF0000},
      {Document(Mixer("", Tag("MaxChannelCountAppPlayback", "16"))), 0, playback, 16},
      {Document(Mixer("", Tag("MaxChannelCountAppPlayback", "17x"))), 0, playback, 16},
      {Document(Mixer("", Tag("MaxChannelCountAppPlayback", "abc"))), 0, playback, 16},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.status, LoadDocument(config_, c.xml)) << c.xml;
    EXPECT_EQ(c.expected, c.value(config_)) << c.xml;
  }
}

TEST_F(ConfigFile, ExplicitPathWinsAndAMissingFileLeavesTheDefaults) {
  ASSERT_TRUE(WriteFileBytes(folder_.File(L"app.xml"), Document(Tag("StartWindow", "Simple"))));
  ASSERT_TRUE(WriteFileBytes(folder_.File(L"b.xml"), Document(Tag("StartWindow", "Advanced"))));
  EXPECT_EQ(0u, config_.Load(folder_.File(L"b.xml").c_str()));
  EXPECT_EQ(kStartWithAdvancedMixer, config_.StartWindow());
  EXPECT_EQ(0u, config_.Load(L""));
  EXPECT_EQ(kStartWithSimpleMixer, config_.StartWindow());
  EXPECT_EQ(mixer_status::kConfigOpenFailed, config_.Load(folder_.File(L"none.xml").c_str()));
  EXPECT_EQ(kStartWithSelectWindow, config_.StartWindow());
  EXPECT_EQ(0xFF0000u, Packed(config_.NotConnectedColor()));
}

TEST_F(ConfigFile, TwoExecutablesInOneFolderReadTheirOwnFilesButShareTheInstanceName) {
  Config second(folder_.File(L"second.exe"));
  ASSERT_EQ(0u, LoadDocument(config_, Document(Tag("StartWindow", "Simple"))));
  ASSERT_EQ(0u, LoadDocument(second, Document(Tag("StartWindow", "Advanced")), L"second"));
  EXPECT_EQ(kStartWithSimpleMixer, config_.StartWindow());
  EXPECT_EQ(kStartWithAdvancedMixer, second.StartWindow());
  EXPECT_EQ(config_.InstanceName(), second.InstanceName());
}

TEST_F(ConfigFile, SecondLoadResetsTheSettingsButKeepsTheChannelLimits) {
  const std::string mixer =
      Mixer(Tag("Connected", "010203"), Tag("MaxChannelCountDeviceInput", "3"));
  ASSERT_EQ(0u,
            LoadDocument(config_, Document(kGuidElement + Tag("StartWindow", "Simple") + mixer)));
  ASSERT_EQ(0x010203u, Packed(config_.ConnectedColor()));
  ASSERT_EQ(0u, LoadDocument(config_, Document("")));
  EXPECT_EQ(kDefaultInstanceName, config_.InstanceName());
  EXPECT_EQ(kStartWithSelectWindow, config_.StartWindow());
  EXPECT_EQ(0x00FF00u, Packed(config_.ConnectedColor()));
  EXPECT_EQ(3u, config_.MaxChannelCountDeviceInput());
}

TEST_F(ConfigFile, LanguageFolderThatCannotBeSearchedStillLeavesTextsColoursAndSettings) {
  // A file where the language folder belongs: the search fails with an error, not "not found".
  ASSERT_TRUE(WriteFileBytes(folder_.File(L"app.strings"), "not a folder"));
  const StatusCode status = LoadDocument(config_, Document(kGuidElement));
  EXPECT_NE(0u, status);
  EXPECT_EQ(0u, status & 0xFFFF0000u);  // the search's Windows error
  EXPECT_NE(static_cast<StatusCode>(ERROR_PATH_NOT_FOUND), status);
  EXPECT_EQ(L"Sonarix Mixer Control", GetText(LanguageKey::APP_TITLE));
  EXPECT_EQ(0x00FF00u, Packed(config_.ConnectedColor()));
  EXPECT_EQ(kInstance, config_.InstanceName());
}

TEST_F(ConfigFile, UnreadableLanguageFileShowsTheWarningWithItsPath) {
  ASSERT_TRUE(CreateDirectoryW(folder_.File(L"app.strings").c_str(), nullptr));
  const std::wstring english = folder_.File(L"app.strings\\en.txt");
  ASSERT_TRUE(WriteFileBytes(english, "APP_TITLE = Mixer"));
  g_boxes.clear();
  {
    // Held open without sharing, so that the language reader cannot open it.
    veltrano::UniqueHandle held(
        CreateFileW(english.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held.IsValid());
    EXPECT_EQ(mixer_status::kConfigOpenFailed, config_.Load(nullptr));
  }
  const std::wstring warning = L"Sonarix Mixer Control|Failed to load language texts from file\n" +
                               english + L"|" + std::to_wstring(MB_ICONWARNING);
  EXPECT_EQ(std::vector<std::wstring>{warning}, g_boxes);
}
