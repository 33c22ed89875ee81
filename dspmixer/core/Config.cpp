#include "Config.h"
#include "VTLastError.h"

#include <tinyxml.h>

#include <cstdio>
#include <memory>
#include <string>

#include "MessageBoxes.h"
#include "VTHandles.h"
#include "VTStringConv.h"
#include "VTWinModuleFileName.h"

namespace {

constexpr const wchar_t* kInstanceNamePrefix = L"MixerApp_";
constexpr RgbColor kDefaultConnectedColor = {0x00, 0xFF, 0x00};
constexpr RgbColor kDefaultNotConnectedColor = {0xFF, 0x00, 0x00};
// Longer attribute values are cut before they are read as a number.
constexpr size_t kMaxAttributeLength = 49;
constexpr uint32_t kRequiredMajorVersion = 1;
constexpr uint32_t kMinimumMinorVersion = 1;

using veltrano::UniqueFile;

// An unsigned decimal number that fills the whole text.
bool ParseUnsigned(const std::string& text, uint32_t& value) {
  if (text.empty()) return false;
  uint64_t number = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
    number = number * 10 + static_cast<uint64_t>(c - '0');
    if (number > UINT32_MAX) return false;
  }
  value = static_cast<uint32_t>(number);
  return true;
}

std::string Trimmed(const std::string& text) {
  const char* kBlanks = " \t\r\n\v\f";
  const size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string::npos) return std::string();
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

StatusCode ReadElementText(const TiXmlElement& parent, const char* name, std::wstring& value) {
  const TiXmlElement* element = parent.FirstChildElement(name);
  const char* text = element != nullptr ? element->GetText() : nullptr;
  if (text == nullptr) return ERROR_INVALID_PARAMETER;
  value = veltrano::Utf8ToWide(text);
  return mixer_status::kOk;
}

StatusCode ReadElementNumber(const TiXmlElement& parent, const char* name, uint32_t& value) {
  const TiXmlElement* element = parent.FirstChildElement(name);
  const char* text = element != nullptr ? element->GetText() : nullptr;
  if (text == nullptr || !ParseUnsigned(text, value)) return ERROR_INVALID_PARAMETER;
  return mixer_status::kOk;
}

StatusCode ReadAttributeNumber(const TiXmlElement& element, const char* name, uint32_t& value) {
  const char* text = element.Attribute(name);
  if (text == nullptr) return ERROR_NOT_FOUND;
  const std::string cut = std::string(text).substr(0, kMaxAttributeLength);
  if (!ParseUnsigned(Trimmed(cut), value)) return ERROR_BAD_FORMAT;
  return mixer_status::kOk;
}

int HexDigitValue(wchar_t c) {
  if (c >= L'0' && c <= L'9') return c - L'0';
  if (c >= L'A' && c <= L'F') return c - L'A' + 10;
  if (c >= L'a' && c <= L'f') return c - L'a' + 10;
  return -1;
}

// RRGGBB in either case; any other text leaves the colour as it is.
void ReadColor(const TiXmlElement& colors, const char* name, RgbColor& color) {
  std::wstring text;
  if (ReadElementText(colors, name, text) != mixer_status::kOk || text.size() != 6) return;
  uint8_t bytes[3];
  for (size_t i = 0; i < 3; ++i) {
    const int high = HexDigitValue(text[2 * i]);
    const int low = HexDigitValue(text[2 * i + 1]);
    if (high < 0 || low < 0) return;
    bytes[i] = static_cast<uint8_t>(high * 16 + low);
  }
  color = RgbColor{bytes[0], bytes[1], bytes[2]};
}

// Unknown names leave the value as it is.
void ReadStartWindow(const TiXmlElement& root, uint32_t& startWindow) {
  std::wstring text;
  if (ReadElementText(root, "StartWindow", text) != mixer_status::kOk) return;
  if (_wcsicmp(text.c_str(), L"Select") == 0) startWindow = kStartWithSelectWindow;
  if (_wcsicmp(text.c_str(), L"Simple") == 0) startWindow = kStartWithSimpleMixer;
  if (_wcsicmp(text.c_str(), L"Advanced") == 0) startWindow = kStartWithAdvancedMixer;
}

StatusCode CheckFormatVersion(const TiXmlElement& root) {
  uint32_t major = 0;
  uint32_t minor = 0;
  if (ReadAttributeNumber(root, "FormatVersionMajor", major) != mixer_status::kOk ||
      ReadAttributeNumber(root, "FormatVersionMinor", minor) != mixer_status::kOk) {
    return ERROR_BAD_FORMAT;
  }
  if (major != kRequiredMajorVersion || minor < kMinimumMinorVersion) return ERROR_BAD_FORMAT;
  return mixer_status::kOk;
}

StatusCode MapXmlResult(StatusCode result) {
  if (result == ERROR_FILE_NOT_FOUND || result == ERROR_OPEN_FAILED) {
    return mixer_status::kConfigOpenFailed;
  }
  if (result == ERROR_BAD_FORMAT) return mixer_status::kConfigIncompatible;
  // A file that is not well-formed, like any other problem, leaves the defaults silently.
  return mixer_status::kOk;
}

}  // namespace

// ---- XMLParser ----

StatusCode XMLParser::LoadFile(const wchar_t* path, TiXmlDocument& document, void* context) {
  if (path == nullptr) return ERROR_INVALID_PARAMETER;
  UniqueFile file(_wfopen(path, L"rb"));
  if (file == nullptr) return ERROR_OPEN_FAILED;
  if (!document.LoadFile(file.get())) return ERROR_FUNCTION_FAILED;
  return Parse(document, context);
}

StatusCode XMLParser::LoadBuffer(const char* text, TiXmlDocument& document, void* context) {
  document.Parse(text);
  if (document.Error()) return ERROR_FUNCTION_FAILED;
  return Parse(document, context);
}

StatusCode XMLParser::SaveFile(TiXmlDocument& document, const wchar_t* path) {
  if (path == nullptr) return ERROR_INVALID_PARAMETER;
  UniqueFile file(_wfopen(path, L"wb"));
  if (file == nullptr) return ERROR_OPEN_FAILED;
  if (!document.SaveFile(file.get()) || fflush(file.get()) != 0) return ERROR_FUNCTION_FAILED;
  return mixer_status::kOk;
}

// ---- Config ----

Config::Config() : Config(std::wstring()) {}

Config::Config(std::wstring executablePath) : executablePath_(std::move(executablePath)) {}

// The executable's folder and base name: the stem of the XML file and the language folder.
StatusCode Config::ExecutableStem(std::wstring& stem) const {
  veltrano::VTWinModuleFileName parts;
  if (!executablePath_.empty()) {
    parts.fullPath = executablePath_;
  } else {
    wchar_t buffer[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, buffer, MAX_PATH);
    if (length == 0) return veltrano::LastErrorOr();
    if (length == MAX_PATH) return ERROR_INSUFFICIENT_BUFFER;
    parts.fullPath = buffer;
  }
  VT_RETURN_IF_FAILED(parts.InitPathComponents());
  stem = parts.drive + parts.directory + parts.fileName;
  return mixer_status::kOk;
}

void Config::ResetToDefaults() {
  instanceName_ = kDefaultInstanceName;
  driverInterfaceGuid_.clear();
  startWindow_ = kStartWithSelectWindow;
  connectedColor_ = kDefaultConnectedColor;
  notConnectedColor_ = kDefaultNotConnectedColor;
}

void Config::LoadLanguageTexts() {
  languageTexts_.Build();
  if (!languageFiles_.HasChosenFile()) return;
  const std::wstring path = languageFiles_.ChosenFilePath();
  if (languageTexts_.LoadFile(path) != mixer_status::kOk) {
    ShowMessageBox(nullptr, L"Failed to load language texts from file\n" + path,
                   GetText(LanguageKey::APP_TITLE), MB_ICONWARNING);
  } else {
    languageTexts_.ReportMissing(path);
  }
}

StatusCode Config::Load(const wchar_t* path) {
  StatusCode searchStatus = mixer_status::kOk;
  std::wstring stem;  // found at most once per load
  if (!languagesLocated_) {
    VT_RETURN_IF_FAILED(ExecutableStem(stem));
    // A failed search is returned at the end: texts, colours and settings still load.
    searchStatus = languageFiles_.Locate(stem + L".strings");
    languagesLocated_ = searchStatus == mixer_status::kOk;
  }
  ResetToDefaults();
  LoadLanguageTexts();

  std::wstring xmlPath;
  if (path != nullptr && path[0] != L'\0') {
    xmlPath = path;
  } else {
    if (stem.empty()) VT_RETURN_IF_FAILED(ExecutableStem(stem));
    xmlPath = stem + L".xml";
  }
  TiXmlDocument document;
  const StatusCode xmlStatus = MapXmlResult(LoadFile(xmlPath.c_str(), document, nullptr));
  // The configuration file's own problem comes first: the start-up shows a box for it.
  return xmlStatus != mixer_status::kOk ? xmlStatus : searchStatus;
}

StatusCode Config::Parse(TiXmlDocument& document, void* /*context*/) {
  const TiXmlElement* root = document.FirstChildElement("AppConfig");
  if (root == nullptr) return mixer_status::kOk;
  VT_RETURN_IF_FAILED(CheckFormatVersion(*root));

  std::wstring guid;
  if (ReadElementText(*root, "DriverInterfaceGUID", guid) == mixer_status::kOk && !guid.empty()) {
    driverInterfaceGuid_ = guid;
    instanceName_ = kInstanceNamePrefix + guid;
  }
  ReadStartWindow(*root, startWindow_);

  const TiXmlElement* mixer = root->FirstChildElement("AdvancedMixer");
  if (mixer == nullptr) return mixer_status::kOk;
  const TiXmlElement* node = mixer->FirstChildElement("Node");
  const TiXmlElement* colors = node != nullptr ? node->FirstChildElement("Colors") : nullptr;
  if (colors != nullptr) {
    ReadColor(*colors, "Connected", connectedColor_);
    ReadColor(*colors, "NotConnected", notConnectedColor_);
  }
  if (const TiXmlElement* channels = mixer->FirstChildElement("Channels")) {
    // No range check: the mixer model takes the smaller of the device's count and the limit.
    ReadElementNumber(*channels, "MaxChannelCountDeviceOutput", maxChannelCountDeviceOutput_);
    ReadElementNumber(*channels, "MaxChannelCountDeviceInput", maxChannelCountDeviceInput_);
    ReadElementNumber(*channels, "MaxChannelCountAppPlayback", maxChannelCountAppPlayback_);
    ReadElementNumber(*channels, "MaxChannelCountAppRecording", maxChannelCountAppRecording_);
    ReadElementNumber(*channels, "MaxChannelCountAppPlaybackVirt", maxChannelCountAppPlaybackVirt_);
    ReadElementNumber(*channels, "MaxChannelCountAppRecordingVirt",
                      maxChannelCountAppRecordingVirt_);
  }
  return mixer_status::kOk;
}
