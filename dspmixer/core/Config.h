#pragma once
// The mixer's product settings, read from the XML file beside the executable (same base name,
// ".xml"): driver interface, first window, node colours and channel limits. Every value has a
// default, and a missing or unusable file never stops the program. Config also owns the
// language texts, which it loads in the same call.
#include <windows.h>

#include <cstdint>
#include <string>

#include "LanguageTexts.h"
#include "StatusCode.h"

class TiXmlDocument;

// The instance name when the configuration gives no driver interface.
constexpr const wchar_t* kDefaultInstanceName = L"MixerApp_{7923A8A9-CCB9-4a66-912E-B32255451876}";

// Reads an XML document with TinyXML and hands it to Parse.
class XMLParser {
 public:
  virtual ~XMLParser() = default;
  // ERROR_OPEN_FAILED when the file cannot be opened, ERROR_FUNCTION_FAILED when TinyXML
  // reports an error, else Parse's result.
  virtual StatusCode LoadFile(const wchar_t* path, TiXmlDocument& document, void* context);
  // The same from a zero-terminated UTF-8 text.
  virtual StatusCode LoadBuffer(const char* text, TiXmlDocument& document, void* context);
  virtual StatusCode SaveFile(TiXmlDocument& document, const wchar_t* path);
  virtual StatusCode Parse(TiXmlDocument& document, void* context) = 0;
};

struct RgbColor {
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
};

enum StartWindowKind : uint32_t {
  kStartWithSelectWindow = 0,
  kStartWithSimpleMixer = 1,
  kStartWithAdvancedMixer = 2,
};

class Config : public XMLParser {
 public:
  Config();
  // Behaves as if the running executable were `executablePath` (tests place their files
  // beside a path of their own). Empty: the real executable.
  explicit Config(std::wstring executablePath);

  // Loads the settings (and, on the first call, locates the language files). `path` null or
  // empty: the file beside the executable. 0, kConfigOpenFailed, kConfigIncompatible, or the
  // Windows error of the executable's path or of the language-file search.
  StatusCode Load(const wchar_t* path);
  StatusCode Parse(TiXmlDocument& document, void* context) override;

  const std::wstring& InstanceName() const { return instanceName_; }
  const std::wstring& DriverInterfaceGUID() const { return driverInterfaceGuid_; }
  uint32_t StartWindow() const { return startWindow_; }
  RgbColor ConnectedColor() const { return connectedColor_; }
  RgbColor NotConnectedColor() const { return notConnectedColor_; }
  uint32_t MaxChannelCountDeviceOutput() const { return maxChannelCountDeviceOutput_; }
  uint32_t MaxChannelCountDeviceInput() const { return maxChannelCountDeviceInput_; }
  uint32_t MaxChannelCountAppPlayback() const { return maxChannelCountAppPlayback_; }
  uint32_t MaxChannelCountAppRecording() const { return maxChannelCountAppRecording_; }
  uint32_t MaxChannelCountAppPlaybackVirt() const { return maxChannelCountAppPlaybackVirt_; }
  uint32_t MaxChannelCountAppRecordingVirt() const { return maxChannelCountAppRecordingVirt_; }
  bool LanguagesLocated() const { return languagesLocated_; }
  const LanguageFileSet& LanguageFiles() const { return languageFiles_; }
  const LanguageTextTable& LanguageTexts() const { return languageTexts_; }

 private:
  StatusCode ExecutableStem(std::wstring& stem) const;
  void ResetToDefaults();
  // Builds the text table and reads the chosen language file over it, with its warning boxes.
  void LoadLanguageTexts();

  std::wstring executablePath_;  // empty: the real executable
  std::wstring instanceName_ = kDefaultInstanceName;
  std::wstring driverInterfaceGuid_;
  uint32_t startWindow_ = kStartWithSelectWindow;
  RgbColor connectedColor_;
  RgbColor notConnectedColor_;
  uint32_t maxChannelCountDeviceOutput_ = 8;
  uint32_t maxChannelCountDeviceInput_ = 8;
  uint32_t maxChannelCountAppPlayback_ = 8;
  uint32_t maxChannelCountAppRecording_ = 8;
  uint32_t maxChannelCountAppPlaybackVirt_ = 4;
  uint32_t maxChannelCountAppRecordingVirt_ = 4;
  bool languagesLocated_ = false;
  LanguageFileSet languageFiles_;
  LanguageTextTable languageTexts_;
};

