#pragma once
// The mixer's window texts: a table of named texts with built-in English defaults, replaced by
// the texts of the one language file (beside the executable) that best fits the user's UI
// language. Windows ask for a text by its key handle whenever they set a caption or label.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "StatusCode.h"
#include "VTLanguageTag.h"

// One entry of the table.
struct WnUiLanguageText {
  const wchar_t* key = nullptr;
  std::wstring loadedText;  // the text the file gave
  bool loaded = false;      // set when the file gave the key
  const wchar_t* defaultText = nullptr;
};

// The table keeps one reference; the key's global handle keeps another.
using LanguageTextHandle = std::shared_ptr<WnUiLanguageText>;

// One global handle per key of the built-in table; LanguageTextTable::Build stores the new
// entries in them. The numbered families are arrays: index n - 1 holds the key ending in n.
namespace LanguageKey {
constexpr int kFamilySize = 32;

extern LanguageTextHandle APP_TITLE;
extern LanguageTextHandle APP_VALUE_IN_PERCENT_WITH_UNIT;
extern LanguageTextHandle NO_DEVICE_WINDOW_TEXT;
extern LanguageTextHandle SELECT_WINDOW_TITLE;
extern LanguageTextHandle SELECT_WINDOW_BUTTON_SIMPLE;
extern LanguageTextHandle SELECT_WINDOW_BUTTON_ADVANCED;
extern LanguageTextHandle SELECT_WINDOW_BUTTON_CLOSE;
extern LanguageTextHandle SIMPLE_WINDOW_LABEL_PLAYBACK;
extern LanguageTextHandle SIMPLE_WINDOW_LABEL_RECORDING;
extern LanguageTextHandle SIMPLE_WINDOW_LABEL_LOOPBACK;
extern LanguageTextHandle SIMPLE_WINDOW_LABEL_MONITOR;
extern LanguageTextHandle ADVANCED_WINDOW_WEIGHT_BUTTON_HIDE;
extern LanguageTextHandle ADVANCED_WINDOW_LABEL_APPLICATION_PLAYBACK[kFamilySize];
extern LanguageTextHandle ADVANCED_WINDOW_LABEL_APPLICATION_RECORDING[kFamilySize];
extern LanguageTextHandle ADVANCED_WINDOW_LABEL_DEVICE_INPUT[kFamilySize];
extern LanguageTextHandle ADVANCED_WINDOW_LABEL_DEVICE_OUTPUT[kFamilySize];
extern LanguageTextHandle ADVANCED_WINDOW_LABEL_VIRTUAL_PLAYBACK[kFamilySize];
extern LanguageTextHandle ADVANCED_WINDOW_LABEL_VIRTUAL_RECORDING[kFamilySize];
extern LanguageTextHandle ERROR_MESSAGE_COMMON_ERROR;
extern LanguageTextHandle ERROR_MESSAGE_DRIVER_API_DLL_NOT_FOUND;
extern LanguageTextHandle ERROR_MESSAGE_DRIVER_API_DLL_NOT_COMPATIBLE;
extern LanguageTextHandle ERROR_MESSAGE_DRIVER_API_DLL_WITHOUT_INI;
extern LanguageTextHandle ERROR_MESSAGE_DRIVER_API_DLL_WITH_INVALID_INI;
}  // namespace LanguageKey

// The current text of a key: the loaded text when the file gave one, else the default (before
// any table is built, the built-in one; empty for a handle that is no key's), without "${F_NL}"
// marks and with "${UI_NL}" as line feeds.
std::wstring GetText(const LanguageTextHandle& key);
// The value text of a percentage: APP_VALUE_IN_PERCENT_WITH_UNIT with every "${ValueInPercent}"
// replaced by the number.
std::wstring GetValueInPercentText(uint32_t percent);

class LanguageTextTable {
 public:
  struct Section {
    std::wstring name;
    bool optional = false;  // all-missing optional sections stay out of the missing-text box
    std::vector<LanguageTextHandle> entries;
  };

  // Drops every section and rebuilds the table from the built-in one, storing each new entry
  // in its key's global handle.
  void Build();
  // Reads a language file over the table. 0, kFileOpenFailed or kFileReadFailed.
  StatusCode LoadFile(const std::wstring& path);
  // The keys the last LoadFile did not give, section by section in table order.
  std::vector<std::wstring> MissingKeys() const;
  // Shows the missing-text warning box when keys are missing.
  void ReportMissing(const std::wstring& path) const;

  const std::vector<Section>& Sections() const { return sections_; }

 private:
  // The entry of `key` (exact comparison, case included), or null for a key not in the table.
  WnUiLanguageText* FindEntry(const std::wstring& key) const;

  std::vector<Section> sections_;
};

// One language file found in the language folder.
struct LanguageFileRecord : veltrano::LanguageSubtags {
  std::wstring tag;  // the file name without ".txt"
  std::wstring englishName;
  std::wstring localizedName;
};

// Chooses among `files` (in their order) for a user whose UI language is the locale name
// `userLocale`: the first record of the first rule that gives one, from same language, script
// and region down to English; an empty `chosen` when none fits. kInvalidData when `userLocale`
// is no valid tag (read to its last subtag, like the file names).
StatusCode ChooseLanguageFile(const std::wstring& userLocale,
                              const std::vector<LanguageFileRecord>& files,
                              LanguageFileRecord& chosen);

class LanguageFileSet {
 public:
  // Finds the language files in `folder` and chooses the one that fits the user's UI
  // language. Only once: a second call returns kNothingToDo.
  StatusCode Locate(const std::wstring& folder);
  bool HasChosenFile() const { return !chosen_.tag.empty(); }
  // folder "\" tag ".txt" of the chosen file; empty when none was chosen.
  std::wstring ChosenFilePath() const;

  const std::vector<LanguageFileRecord>& Files() const { return files_; }
  const LanguageFileRecord& Chosen() const { return chosen_; }

 private:
  std::vector<LanguageFileRecord> files_;
  LanguageFileRecord chosen_;
  std::wstring folder_;
  std::wstring extension_ = L".txt";
  bool located_ = false;
};
