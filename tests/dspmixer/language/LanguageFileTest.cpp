// The built-in table, language files over it, GetText and the missing-text box.
#include <gtest/gtest.h>

#include "LanguageFileReader.h"
#include "LanguageTexts.h"
#include "MessageBoxes.h"
#include "UiFiles.h"
#include "VTStringConv.h"

extern std::wstring g_titleAtStart;

namespace {

namespace key = LanguageKey;
using Bytes = std::string;

Bytes Utf16(const std::wstring& text, bool bom = true) {
  Bytes bytes = bom ? "\xFF\xFE" : "";
  for (wchar_t c : text) bytes += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
  return bytes;
}
Bytes Utf8(const std::wstring& text) { return "\xEF\xBB\xBF" + veltrano::WideToUtf8(text.c_str()); }

struct Box {
  int count = 0;
  std::wstring text, caption;
  UINT flags = 0;
  HWND owner = nullptr;
} g_box;

int WINAPI CaptureBox(HWND owner, const wchar_t* text, const wchar_t* caption, UINT flags) {
  g_box = {g_box.count + 1, text, caption, flags, owner};
  return IDOK;
}

class LanguageFileTest : public testing::Test {
 protected:
  void SetUp() override {
    table_.Build();
    g_box = Box();
    SetMessageBoxFunction(CaptureBox);
  }
  void TearDown() override { SetMessageBoxFunction(nullptr); }

  StatusCode Load(const Bytes& bytes) {
    EXPECT_TRUE(uitest::WriteFileBytes(path_, bytes));
    return table_.LoadFile(path_);
  }
  // Every key of the table with the value "text", except `leftOut`.
  std::wstring AllKeysBut(const std::wstring& leftOut) const {
    std::wstring content;
    for (const auto& section : table_.Sections()) {
      for (const auto& entry : section.entries) {
        if (entry->key != leftOut) content += std::wstring(entry->key) + L" = text\r\n";
      }
    }
    return content;
  }

  uitest::ScratchFolder scratch_;
  const std::wstring path_ = scratch_.File(L"texts.txt");
  LanguageTextTable table_;
};

TEST(LanguageTableTest, BuiltTableHoldsEveryKeyInSectionsWithItsDefault) {
  EXPECT_EQ(L"Sonarix Mixer Control", g_titleAtStart);  // defaults before any Build
  LanguageTextTable table;
  table.Build();
  std::wstring sections;
  for (const auto& s : table.Sections()) {
    sections += s.name + L":" + std::to_wstring(s.entries.size()) + L" ";
  }
  EXPECT_EQ(L"GLOBAL:2 NO_DEVICE_WINDOW:1 SELECT_MIXER_WINDOW:4 SIMPLE_MIXER_WINDOW:4 "
            L"ADVANCED_MIXER_WINDOW:193 ERROR_MESSAGE:5 ", sections);
  const auto& advanced = table.Sections()[4].entries;
  EXPECT_STREQ(L"ADVANCED_WINDOW_LABEL_APPLICATION_PLAYBACK_1", advanced[1]->key);
  EXPECT_EQ(advanced[1 + 2 * 32 + 6], key::ADVANCED_WINDOW_LABEL_DEVICE_INPUT[6]);
  EXPECT_STREQ(L"ADVANCED_WINDOW_LABEL_DEVICE_INPUT_7", advanced[1 + 2 * 32 + 6]->key);
  EXPECT_EQ(L"Device Input 7", GetText(key::ADVANCED_WINDOW_LABEL_DEVICE_INPUT[6]));
  EXPECT_EQ(L"Virtual Recording 32", GetText(key::ADVANCED_WINDOW_LABEL_VIRTUAL_RECORDING[31]));
  EXPECT_EQ(L"", GetText(LanguageTextHandle()));
}

TEST_F(LanguageFileTest, EveryEncodingAndLineEndGivesTheSameText) {
  const std::wstring lines[] = {L"; Deutsch\r\nSELECT_WINDOW_TITLE = W\u00e4hlen \u20ac\r\n",
                                L"; Deutsch\nSELECT_WINDOW_TITLE = W\u00e4hlen \u20ac\n"};
  for (const std::wstring& text : lines) {
    for (const Bytes& bytes : {Utf16(text), Utf16(text, false), Utf8(text)}) {
      table_.Build();
      ASSERT_EQ(mixer_status::kOk, Load(bytes));
      EXPECT_EQ(L"W\u00e4hlen \u20ac", GetText(key::SELECT_WINDOW_TITLE));
    }
  }
}

TEST_F(LanguageFileTest, LinesGiveTheValuesAUserExpects) {
  const std::wstring full(kMaxLanguageLineChars - 20, L'x');  // with the key: the longest line
  const struct {
    Bytes file;
    std::wstring expected;  // GetText(SELECT_WINDOW_TITLE)
  } cases[] = {
      {Utf16(L" \t SELECT_WINDOW_TITLE\t=  \v Select it \f\r\n"), L"Select it"},
      {Utf16(L"SELECT_WINDOW_TITLE = One\nSELECT_WINDOW_TITLE = Two\n"), L"Two"},
      {Utf16(L"SELECT_WINDOW_TITLE = a${UI_NL}b\n"), L"a\nb"},
      {Utf16(L"SELECT_WINDOW_TITLE = Sel\\\n\n  ect \\\n it\nAPP_TITLE = x\n"), L"Select it"},
      {Utf16(L"SELECT_WINDOW_TITLE = Sel\\\ne\\\nct\\"), L"Select"},  // short lines, file end
      {Utf16(L"SELECT_WINDOW_TITLE=B\n"), L"B"},
      {Utf16(L"APP_TITLE = x\nSELECT_WINDOW_TITLE = Last"), L"Last"},
      {Utf16(L";SELECT_WINDOW_TITLE = Commented\n"), L"Select Mixer"},
      {Utf16(L"select_window_title = Lower\nSELECT_WINDOW_TITLE Nothing\n"), L"Select Mixer"},
      {Utf16(L"=SELECT_WINDOW_TITLE = Nothing\n"), L"Select Mixer"},
      {Utf16(L"SELECT_WINDOW_TITLE=" + full), full},
      {Utf16(L"SELECT_WINDOW_TITLE = Kept\nSELECT_WINDOW_TITLE=x" + full + L"\nAPP_TITLE = x"),
       L"Kept"},  // one character too long
      {Utf16(L"APP_TITLE = \xD800\nSELECT_WINDOW_TITLE = After\n") + "A", L"After"},  // odd end
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << &c - cases);
    table_.Build();
    ASSERT_EQ(mixer_status::kOk, Load(c.file));
    EXPECT_EQ(c.expected, GetText(key::SELECT_WINDOW_TITLE));
  }
}

TEST_F(LanguageFileTest, MissingFileFailsToOpenAndKeepsTheDefaults) {
  ASSERT_EQ(mixer_status::kOk, Load(Utf16(L"SELECT_WINDOW_TITLE = Earlier\n")));
  EXPECT_EQ(mixer_status::kFileOpenFailed, table_.LoadFile(scratch_.File(L"none.txt")));
  EXPECT_EQ(L"Select Mixer", GetText(key::SELECT_WINDOW_TITLE));
}

// A file far larger than any language file is refused before it is read into memory.
TEST_F(LanguageFileTest, HugeFileFailsToReadAndKeepsTheDefaults) {
  Bytes huge = Utf16(L"SELECT_WINDOW_TITLE = Huge\n");
  huge.resize(17 * 1024 * 1024, ' ');
  EXPECT_EQ(mixer_status::kFileReadFailed, Load(huge));
  EXPECT_EQ(L"Select Mixer", GetText(key::SELECT_WINDOW_TITLE));
}

TEST_F(LanguageFileTest, OneMissingKeyIsListedAloneAndShowsItsDefault) {
  ASSERT_EQ(mixer_status::kOk, Load(Utf16(AllKeysBut(L""))));
  table_.ReportMissing(path_);
  EXPECT_EQ(0, g_box.count);  // a complete file shows no box
  ASSERT_EQ(mixer_status::kOk, Load(Utf16(AllKeysBut(L"ADVANCED_WINDOW_LABEL_DEVICE_OUTPUT_3"))));
  table_.ReportMissing(path_);
  EXPECT_EQ(1, g_box.count);
  EXPECT_EQ(L"The following language texts are missing in file\n" + path_ +
                L":\n\nADVANCED_WINDOW_LABEL_DEVICE_OUTPUT_3", g_box.text);
  EXPECT_EQ(L"text", g_box.caption);  // the loaded title
  EXPECT_EQ(static_cast<UINT>(MB_ICONWARNING), g_box.flags);
  EXPECT_EQ(nullptr, g_box.owner);
  EXPECT_EQ(L"Device Output 3", GetText(key::ADVANCED_WINDOW_LABEL_DEVICE_OUTPUT[2]));
  EXPECT_EQ(L"text", GetText(key::ADVANCED_WINDOW_LABEL_DEVICE_OUTPUT[3]));
}

TEST_F(LanguageFileTest, CommentOnlyFileListsEveryKeyInTableOrder) {
  ASSERT_EQ(mixer_status::kOk, Load(Utf16(L"; nothing translated yet\r\n;APP_TITLE = x\r\n")));
  table_.ReportMissing(path_);
  std::wstring keys;
  for (const auto& section : table_.Sections()) {
    for (const auto& entry : section.entries) {
      keys += (keys.empty() ? L"" : L",\n") + std::wstring(entry->key);
    }
  }
  EXPECT_EQ(1, g_box.count);
  EXPECT_EQ(L"The following language texts are missing in file\n" + path_ + L":\n\n" + keys,
            g_box.text);
  EXPECT_EQ(209u, table_.MissingKeys().size());
  EXPECT_EQ(L"Sonarix Mixer Control", g_box.caption);
  EXPECT_EQ(static_cast<UINT>(MB_ICONWARNING), g_box.flags);
}

}  // namespace
