#include "LanguageTexts.h"

#include <array>

#include "LanguageFileReader.h"
#include "MessageBoxes.h"

namespace LanguageKey {
LanguageTextHandle APP_TITLE;
LanguageTextHandle APP_VALUE_IN_PERCENT_WITH_UNIT;
LanguageTextHandle NO_DEVICE_WINDOW_TEXT;
LanguageTextHandle SELECT_WINDOW_TITLE;
LanguageTextHandle SELECT_WINDOW_BUTTON_SIMPLE;
LanguageTextHandle SELECT_WINDOW_BUTTON_ADVANCED;
LanguageTextHandle SELECT_WINDOW_BUTTON_CLOSE;
LanguageTextHandle SIMPLE_WINDOW_LABEL_PLAYBACK;
LanguageTextHandle SIMPLE_WINDOW_LABEL_RECORDING;
LanguageTextHandle SIMPLE_WINDOW_LABEL_LOOPBACK;
LanguageTextHandle SIMPLE_WINDOW_LABEL_MONITOR;
LanguageTextHandle ADVANCED_WINDOW_WEIGHT_BUTTON_HIDE;
LanguageTextHandle ADVANCED_WINDOW_LABEL_APPLICATION_PLAYBACK[kFamilySize];
LanguageTextHandle ADVANCED_WINDOW_LABEL_APPLICATION_RECORDING[kFamilySize];
LanguageTextHandle ADVANCED_WINDOW_LABEL_DEVICE_INPUT[kFamilySize];
LanguageTextHandle ADVANCED_WINDOW_LABEL_DEVICE_OUTPUT[kFamilySize];
LanguageTextHandle ADVANCED_WINDOW_LABEL_VIRTUAL_PLAYBACK[kFamilySize];
LanguageTextHandle ADVANCED_WINDOW_LABEL_VIRTUAL_RECORDING[kFamilySize];
LanguageTextHandle ERROR_MESSAGE_COMMON_ERROR;
LanguageTextHandle ERROR_MESSAGE_DRIVER_API_DLL_NOT_FOUND;
LanguageTextHandle ERROR_MESSAGE_DRIVER_API_DLL_NOT_COMPATIBLE;
LanguageTextHandle ERROR_MESSAGE_DRIVER_API_DLL_WITHOUT_INI;
LanguageTextHandle ERROR_MESSAGE_DRIVER_API_DLL_WITH_INVALID_INI;
}  // namespace LanguageKey

namespace {

namespace key = LanguageKey;

constexpr wchar_t kUiLineBreak[] = L"${UI_NL}";
constexpr wchar_t kMissingTextsIntro[] = L"The following language texts are missing in file\n";

struct BuiltInSection {
  const wchar_t* name;
  bool optional;
};

struct BuiltInText {
  const BuiltInSection* section;
  const wchar_t* key;
  const wchar_t* defaultText;
  LanguageTextHandle* handle;
};

constexpr BuiltInSection kGlobal{L"GLOBAL", false};
constexpr BuiltInSection kNoDeviceWindow{L"NO_DEVICE_WINDOW", false};
constexpr BuiltInSection kSelectWindow{L"SELECT_MIXER_WINDOW", false};
constexpr BuiltInSection kSimpleWindow{L"SIMPLE_MIXER_WINDOW", false};
constexpr BuiltInSection kAdvancedWindow{L"ADVANCED_MIXER_WINDOW", false};
constexpr BuiltInSection kErrorMessage{L"ERROR_MESSAGE", false};

// One numbered family of the advanced window: key and default end in " n" / "_n", n = 1..32.
struct NumberedFamily {
  const wchar_t* keyPrefix;
  const wchar_t* textPrefix;
  LanguageTextHandle* handles;
};

constexpr std::array<NumberedFamily, 6> kFamilies = {{
    {L"ADVANCED_WINDOW_LABEL_APPLICATION_PLAYBACK_", L"Application Playback ",
     key::ADVANCED_WINDOW_LABEL_APPLICATION_PLAYBACK},
    {L"ADVANCED_WINDOW_LABEL_APPLICATION_RECORDING_", L"Application Recording ",
     key::ADVANCED_WINDOW_LABEL_APPLICATION_RECORDING},
    {L"ADVANCED_WINDOW_LABEL_DEVICE_INPUT_", L"Device Input ",
     key::ADVANCED_WINDOW_LABEL_DEVICE_INPUT},
    {L"ADVANCED_WINDOW_LABEL_DEVICE_OUTPUT_", L"Device Output ",
     key::ADVANCED_WINDOW_LABEL_DEVICE_OUTPUT},
    {L"ADVANCED_WINDOW_LABEL_VIRTUAL_PLAYBACK_", L"Virtual Playback ",
     key::ADVANCED_WINDOW_LABEL_VIRTUAL_PLAYBACK},
    {L"ADVANCED_WINDOW_LABEL_VIRTUAL_RECORDING_", L"Virtual Recording ",
     key::ADVANCED_WINDOW_LABEL_VIRTUAL_RECORDING},
}};

// The built-in table in table order, with the generated keys and defaults of the numbered
// families, which the rows and the entries point into.
struct BuiltInTable {
  std::vector<std::wstring> familyStrings;
  std::vector<BuiltInText> rows;
};

void AddFamilies(BuiltInTable& table) {
  table.familyStrings.reserve(kFamilies.size() * key::kFamilySize * 2);  // no reallocation
  for (const NumberedFamily& family : kFamilies) {
    for (int n = 1; n <= key::kFamilySize; ++n) {
      table.familyStrings.push_back(family.keyPrefix + std::to_wstring(n));
      const wchar_t* keyText = table.familyStrings.back().c_str();
      table.familyStrings.push_back(family.textPrefix + std::to_wstring(n));
      const wchar_t* defaultText = table.familyStrings.back().c_str();
      table.rows.push_back({&kAdvancedWindow, keyText, defaultText, &family.handles[n - 1]});
    }
  }
}

BuiltInTable* MakeBuiltInTable() {
  auto* table = new BuiltInTable;
  table->rows = {
      {&kGlobal, L"APP_TITLE", L"Sonarix Mixer Control", &key::APP_TITLE},
      {&kGlobal, L"APP_VALUE_IN_PERCENT_WITH_UNIT", L"${ValueInPercent}%",
       &key::APP_VALUE_IN_PERCENT_WITH_UNIT},
      {&kNoDeviceWindow, L"NO_DEVICE_WINDOW_TEXT", L"No device connected.",
       &key::NO_DEVICE_WINDOW_TEXT},
      {&kSelectWindow, L"SELECT_WINDOW_TITLE", L"Select Mixer", &key::SELECT_WINDOW_TITLE},
      {&kSelectWindow, L"SELECT_WINDOW_BUTTON_SIMPLE", L"Simple",
       &key::SELECT_WINDOW_BUTTON_SIMPLE},
      {&kSelectWindow, L"SELECT_WINDOW_BUTTON_ADVANCED", L"Advanced",
       &key::SELECT_WINDOW_BUTTON_ADVANCED},
      {&kSelectWindow, L"SELECT_WINDOW_BUTTON_CLOSE", L"Quit", &key::SELECT_WINDOW_BUTTON_CLOSE},
      {&kSimpleWindow, L"SIMPLE_WINDOW_LABEL_PLAYBACK", L"Playback",
       &key::SIMPLE_WINDOW_LABEL_PLAYBACK},
      {&kSimpleWindow, L"SIMPLE_WINDOW_LABEL_RECORDING", L"Recording",
       &key::SIMPLE_WINDOW_LABEL_RECORDING},
      {&kSimpleWindow, L"SIMPLE_WINDOW_LABEL_LOOPBACK", L"Loopback",
       &key::SIMPLE_WINDOW_LABEL_LOOPBACK},
      {&kSimpleWindow, L"SIMPLE_WINDOW_LABEL_MONITOR", L"Monitor",
       &key::SIMPLE_WINDOW_LABEL_MONITOR},
      {&kAdvancedWindow, L"ADVANCED_WINDOW_WEIGHT_BUTTON_HIDE", L"Hide",
       &key::ADVANCED_WINDOW_WEIGHT_BUTTON_HIDE},
  };
  AddFamilies(*table);
  table->rows.insert(
      table->rows.end(),
      {
          {&kErrorMessage, L"ERROR_MESSAGE_COMMON_ERROR",
           L"An error has occurred. The internal error description is:",
           &key::ERROR_MESSAGE_COMMON_ERROR},
          {&kErrorMessage, L"ERROR_MESSAGE_DRIVER_API_DLL_NOT_FOUND",
           L"The driver DLL required to access the device is missing.",
           &key::ERROR_MESSAGE_DRIVER_API_DLL_NOT_FOUND},
          {&kErrorMessage, L"ERROR_MESSAGE_DRIVER_API_DLL_NOT_COMPATIBLE",
           L"The driver DLL required to access the device is not compatible with this "
           L"application version.",
           &key::ERROR_MESSAGE_DRIVER_API_DLL_NOT_COMPATIBLE},
          {&kErrorMessage, L"ERROR_MESSAGE_DRIVER_API_DLL_WITHOUT_INI",
           L"The configuration file for the driver DLL required to access the device is missing.",
           &key::ERROR_MESSAGE_DRIVER_API_DLL_WITHOUT_INI},
          {&kErrorMessage, L"ERROR_MESSAGE_DRIVER_API_DLL_WITH_INVALID_INI",
           L"The configuration file for the driver DLL required to access the device is invalid.",
           &key::ERROR_MESSAGE_DRIVER_API_DLL_WITH_INVALID_INI},
      });
  return table;
}

// Never destroyed: entries point into it for as long as the process runs.
const BuiltInTable& TheBuiltInTable() {
  static const BuiltInTable* table = MakeBuiltInTable();
  return *table;
}

LanguageTextHandle NewEntry(const BuiltInText& row) {
  auto entry = std::make_shared<WnUiLanguageText>();
  entry->key = row.key;
  entry->defaultText = row.defaultText;
  *row.handle = entry;
  return entry;
}

// Until a table is built the key handles hold no entry; their texts are then the built-in
// defaults, so that every window text has one even when the language search failed.
const wchar_t* DefaultTextOf(const LanguageTextHandle& key) {
  for (const BuiltInText& row : TheBuiltInTable().rows) {
    if (row.handle == &key) return row.defaultText;
  }
  return L"";
}

void ReplaceAll(std::wstring& text, const std::wstring& from, const std::wstring& to) {
  size_t at = text.find(from);
  while (at != std::wstring::npos) {
    text.replace(at, from.size(), to);
    at = text.find(from, at + to.size());
  }
}

std::wstring JoinKeys(const std::vector<std::wstring>& keys) {
  std::wstring joined;
  for (const std::wstring& name : keys) {
    if (!joined.empty()) joined += L",\n";
    joined += name;
  }
  return joined;
}

}  // namespace

std::wstring GetText(const LanguageTextHandle& key) {
  std::wstring text = !key          ? DefaultTextOf(key)
                      : key->loaded ? key->loadedText
                                    : std::wstring(key->defaultText ? key->defaultText : L"");
  ReplaceAll(text, kContinuedLineMark, L"");
  ReplaceAll(text, kUiLineBreak, L"\n");
  return text;
}

std::wstring GetValueInPercentText(uint32_t percent) {
  std::wstring text = GetText(LanguageKey::APP_VALUE_IN_PERCENT_WITH_UNIT);
  ReplaceAll(text, L"${ValueInPercent}", std::to_wstring(percent));
  return text;
}

void LanguageTextTable::Build() {
  sections_.clear();
  for (const BuiltInText& row : TheBuiltInTable().rows) {
    if (sections_.empty() || sections_.back().name != row.section->name) {
      sections_.push_back({row.section->name, row.section->optional, {}});
    }
    sections_.back().entries.push_back(NewEntry(row));
  }
}

WnUiLanguageText* LanguageTextTable::FindEntry(const std::wstring& key) const {
  for (const Section& section : sections_) {
    for (const LanguageTextHandle& entry : section.entries) {
      if (key == entry->key) return entry.get();
    }
  }
  return nullptr;
}

StatusCode LanguageTextTable::LoadFile(const std::wstring& path) {
  for (Section& section : sections_) {
    for (LanguageTextHandle& entry : section.entries) {
      entry->loadedText.clear();
      entry->loaded = false;
    }
  }
  std::vector<std::wstring> lines;
  VT_RETURN_IF_FAILED(ReadLanguageFileLines(path, lines));
  // In file order, so that a key given twice keeps its later value.
  for (LanguageFileValue& value : ParseLanguageLines(lines)) {
    WnUiLanguageText* entry = FindEntry(value.key);
    if (entry == nullptr) continue;
    entry->loadedText = std::move(value.value);
    entry->loaded = true;
  }
  return mixer_status::kOk;
}

std::vector<std::wstring> LanguageTextTable::MissingKeys() const {
  std::vector<std::wstring> missing;
  for (const Section& section : sections_) {
    std::vector<std::wstring> sectionMissing;
    for (const LanguageTextHandle& entry : section.entries) {
      if (!entry->loaded) sectionMissing.push_back(entry->key);
    }
    if (section.optional && sectionMissing.size() == section.entries.size()) continue;
    missing.insert(missing.end(), sectionMissing.begin(), sectionMissing.end());
  }
  return missing;
}

void LanguageTextTable::ReportMissing(const std::wstring& path) const {
  const std::vector<std::wstring> missing = MissingKeys();
  if (missing.empty()) return;
  const std::wstring text = kMissingTextsIntro + path + L":\n\n" + JoinKeys(missing);
  ShowMessageBox(nullptr, text, GetText(LanguageKey::APP_TITLE), MB_ICONWARNING);
}
