#include "Cfg.h"

#include <windows.h>
#include <objbase.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "ArchivePaths.h"
#include "CfgXml.h"
#include "ConfigPath.h"
#include "VTLastError.h"
#include "VTStringConv.h"
#include "VTWinModuleFileName.h"
#include "VTXmlDocument.h"
#include "resource.h"

namespace status = veltrano::status;
using veltrano::LastErrorOr;
using tinyxml2::XMLElement;

Cfg g_cfg;

namespace {

constexpr wchar_t kTitleSuffix[] = L" Self Extractor";
constexpr wchar_t kLaunchTitle[] = L" Setup";
constexpr unsigned kFormatVersionMajor = 2;
constexpr unsigned kFormatVersionMinor = 0;
constexpr DWORD kTempPathBufferSize = 261;
constexpr wchar_t kIdBlanks[] = L" \t\r\n";

struct ArchitectureName {
  const wchar_t* text;
  uint32_t code;
};
const ArchitectureName kArchitectureNames[] = {
    {L"x86", kArchitectureX86}, {L"x64", kArchitectureX64},     {L"IA64", kArchitectureIA64},
    {L"ARM", kArchitectureArm}, {L"ARM64", kArchitectureArm64},
};

// An absolute, canonical form of `path`, relative ones taken against the current folder.
Status MakeAbsolute(const std::wstring& path, std::wstring& absolute) {
  const DWORD needed = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (needed == 0) return LastErrorOr();
  std::wstring buffer(needed, L'\0');
  const DWORD length = GetFullPathNameW(path.c_str(), needed, &buffer[0], nullptr);
  if (length == 0 || length >= needed) return length == 0 ? LastErrorOr() : status::kFailed;
  buffer.resize(length);
  absolute.swap(buffer);
  return status::kOk;
}

bool IsAbsolutePath(const std::wstring& path) {
  auto isSlash = [](wchar_t c) { return c == L'\\' || c == L'/'; };
  if (path.size() >= 2 && isSlash(path[0]) && isSlash(path[1])) return true;
  return path.size() >= 3 && path[1] == L':' && isSlash(path[2]);
}

// The command's id: trimmed, without white space around it, lower-cased (A-Z only).
Status ReadCommandId(const XMLElement* command, std::wstring& id) {
  const char* attribute = command->Attribute("Id");
  if (attribute == nullptr) return status::kNotFound;
  const std::wstring raw = veltrano::Utf8ToWide(attribute);
  const size_t first = raw.find_first_not_of(kIdBlanks);
  if (first == std::wstring::npos) return status::kNotFound;
  const size_t last = raw.find_last_not_of(kIdBlanks);
  if (first != 0 || last != raw.size() - 1) return status::kInvalidData;
  id = raw;
  for (wchar_t& c : id) {
    if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
  }
  return status::kOk;
}

// The new folder of a Launch run: the temporary folder joined with a fresh GUID.
Status MakeLaunchFolder(std::wstring& folder) {
  wchar_t temp[kTempPathBufferSize] = {};
  const DWORD length = GetTempPathW(kTempPathBufferSize, temp);
  if (length >= kTempPathBufferSize) return status::kFailed;
  if (length == 0) return LastErrorOr();
  GUID guid;
  const HRESULT created = CoCreateGuid(&guid);
  if (FAILED(created)) return static_cast<Status>(created);
  wchar_t guidText[39] = {};
  if (StringFromGUID2(guid, guidText, 39) == 0) return status::kFailed;
  folder = JoinPath(temp, guidText);
  return status::kOk;
}

}  // namespace

uint32_t ArchitectureCodeOf(uint16_t processorArchitecture) {
  switch (processorArchitecture) {
    case PROCESSOR_ARCHITECTURE_INTEL: return kArchitectureX86;
    case PROCESSOR_ARCHITECTURE_AMD64: return kArchitectureX64;
    case PROCESSOR_ARCHITECTURE_IA64: return kArchitectureIA64;
    case PROCESSOR_ARCHITECTURE_ARM: return kArchitectureArm;
    case PROCESSOR_ARCHITECTURE_ARM64: return kArchitectureArm64;
    default: return kArchitectureUnknown;
  }
}

uint32_t NativeArchitectureCode() {
  SYSTEM_INFO info = {};
  GetNativeSystemInfo(&info);
  return ArchitectureCodeOf(info.wProcessorArchitecture);
}

// ---- sets ----

Status CfgLanguageTagSet::Load(const XMLElement* element) {
  if (CountChildElements(element, "LanguageTag") == 0) return status::kInvalidData;
  for (const XMLElement* e = element->FirstChildElement("LanguageTag"); e != nullptr;
       e = e->NextSiblingElement("LanguageTag")) {
    std::wstring tag;
    VT_RETURN_IF_FAILED(ReadText(e, tag));
    if (!tags.insert(tag).second) return status::kAlreadyPresent;
  }
  return status::kOk;
}

Status CfgProcessorArchitectureSet::Load(const XMLElement* element) {
  if (CountChildElements(element, "ProcessorArchitecture") == 0) return status::kInvalidData;
  for (const XMLElement* e = element->FirstChildElement("ProcessorArchitecture"); e != nullptr;
       e = e->NextSiblingElement("ProcessorArchitecture")) {
    std::wstring text;
    VT_RETURN_IF_FAILED(ReadText(e, text));
    const auto match = std::find_if(std::begin(kArchitectureNames), std::end(kArchitectureNames),
                                    [&](const ArchitectureName& a) { return text == a.text; });
    if (match == std::end(kArchitectureNames)) return status::kInvalidData;
    if (!architectures.insert(match->code).second) return status::kAlreadyPresent;
  }
  return status::kOk;
}

// ---- commands ----

Status CfgCommand::Load(const XMLElement* element) {
  const XMLElement* child = nullptr;
  processorArchitectureSet = std::make_shared<CfgProcessorArchitectureSet>(this);
  VT_RETURN_IF_FAILED(FindRequiredChild(element, "ProcessorArchitectureSet", &child));
  VT_RETURN_IF_FAILED(processorArchitectureSet->Load(child));

  languageTagSet = std::make_shared<CfgLanguageTagSet>(this);
  const Status tagsFound = FindSingleChild(element, "LanguageTagSet", &child);
  if (tagsFound != status::kNotFound) {
    VT_RETURN_IF_FAILED(tagsFound);
    VT_RETURN_IF_FAILED(languageTagSet->Load(child));
  }

  const XMLElement* shellExecute = nullptr;
  const XMLElement* createProcess = nullptr;
  const Status shellFound = FindSingleChild(element, "ShellExecute", &shellExecute);
  if (shellFound != status::kNotFound) VT_RETURN_IF_FAILED(shellFound);
  const Status processFound = FindSingleChild(element, "CreateProcess", &createProcess);
  if (processFound != status::kNotFound) VT_RETURN_IF_FAILED(processFound);
  if ((shellExecute == nullptr) == (createProcess == nullptr)) return status::kInvalidData;
  useCreateProcess = createProcess != nullptr;
  const XMLElement* method = useCreateProcess ? createProcess : shellExecute;

  std::wstring executableText;
  VT_RETURN_IF_FAILED(FindRequiredChild(method, "Executable", &child));
  VT_RETURN_IF_FAILED(ReadText(child, executableText));
  VT_RETURN_IF_FAILED(ExpandConfigPath(executableText, executable));

  const Status argumentsFound = FindSingleChild(method, "Arguments", &child);
  if (argumentsFound == status::kNotFound) return status::kOk;
  VT_RETURN_IF_FAILED(argumentsFound);
  return ReadText(child, arguments);
}

CfgCommandSet::CfgCommandSet(CfgObject* owner)
    : CfgObject(owner), allLanguageTags(std::make_shared<CfgLanguageTagSet>(this)) {}

Status CfgCommandSet::Load(const XMLElement* element) {
  if (CountChildElements(element, "Command") == 0) return status::kInvalidData;
  for (const XMLElement* e = element->FirstChildElement("Command"); e != nullptr;
       e = e->NextSiblingElement("Command")) {
    std::wstring commandId;
    VT_RETURN_IF_FAILED(ReadCommandId(e, commandId));
    auto command = std::make_shared<CfgCommand>(this);
    command->id = commandId;
    VT_RETURN_IF_FAILED(command->Load(e));
    if (!commands.emplace(commandId, command).second) return status::kInvalidData;
    documentOrder_.push_back(commandId);
  }
  return SelectApplicable(NativeArchitectureCode());
}

Status CfgCommandSet::SelectApplicable(uint32_t architectureCode) {
  applicableIds.clear();
  allLanguageTags->tags.clear();
  singleUntagged = false;
  // Document order keeps the checks below deterministic.
  for (const std::wstring& commandId : documentOrder_) {
    if (commands.at(commandId)->processorArchitectureSet->architectures.count(architectureCode)) {
      applicableIds.push_back(commandId);
    }
  }
  for (const std::wstring& commandId : applicableIds) {
    const std::set<std::wstring>& tags = commands.at(commandId)->languageTagSet->tags;
    if (tags.empty()) {
      if (singleUntagged || !allLanguageTags->tags.empty()) return status::kInvalidData;
      singleUntagged = true;
      continue;
    }
    if (singleUntagged) return status::kInvalidData;
    for (const std::wstring& tag : tags) {
      if (!allLanguageTags->tags.insert(tag).second) return status::kAlreadyPresent;
    }
  }
  return status::kOk;
}

// ---- sections ----

Status CfgTask::LoadProgressDialog(const XMLElement* section) {
  progressDialogEnabled = true;
  return ReadEnabledSwitch(section, "ProgressDialog", progressDialogEnabled);
}

Status CfgExtract::Load(const XMLElement* element) {
  VT_RETURN_IF_FAILED(LoadProgressDialog(element));

  const XMLElement* child = nullptr;
  const Status found = FindSingleChild(element, "TargetPath", &child);
  if (found == status::kNotFound) {
    VT_RETURN_IF_FAILED(MakeAbsolute(L".", targetPath));
  } else {
    VT_RETURN_IF_FAILED(found);
    std::wstring text;
    std::wstring resolved;
    VT_RETURN_IF_FAILED(ReadText(child, text));
    VT_RETURN_IF_FAILED(ExpandConfigPath(text, resolved));
    if (IsAbsolutePath(resolved)) {
      targetPath = resolved;
    } else {
      VT_RETURN_IF_FAILED(MakeAbsolute(resolved, targetPath));
    }
  }

  folderSelectionDialogEnabled = true;
  return ReadEnabledSwitch(element, "FolderSelectionDialog", folderSelectionDialogEnabled);
}

Status CfgLaunch::Load(const XMLElement* element) {
  VT_RETURN_IF_FAILED(LoadProgressDialog(element));
  VT_RETURN_IF_FAILED(MakeLaunchFolder(targetPath));
  languageSelectionDialogEnabled = false;
  VT_RETURN_IF_FAILED(
      ReadEnabledSwitch(element, "LanguageSelectionDialog", languageSelectionDialogEnabled));

  auto set = std::make_shared<CfgCommandSet>(this);
  const XMLElement* child = nullptr;
  VT_RETURN_IF_FAILED(FindRequiredChild(element, "CommandSet", &child));
  VT_RETURN_IF_FAILED(set->Load(child));
  commandSet = set;
  return status::kOk;
}

// ---- the document ----

Cfg::Cfg() : CfgObject(nullptr), title(kTitleSuffix) {}

Status Cfg::LoadFromResource() {
  HRSRC resource = FindResourceExW(nullptr, RT_RCDATA,
                                   MAKEINTRESOURCEW(IDR_SFX_CONFIG), IDR_SFX_CONFIG_LANGUAGE);
  if (resource == nullptr) {
    const Status error = LastErrorOr();
    return error == ERROR_RESOURCE_TYPE_NOT_FOUND ? status::kNoConfigResource : error;
  }
  HGLOBAL loaded = LoadResource(nullptr, resource);
  if (loaded == nullptr) return LastErrorOr();
  const DWORD size = SizeofResource(nullptr, resource);
  if (size == 0) return LastErrorOr(status::kNoConfigResource);
  std::vector<char> text;
  try {
    text.resize(size + 1);
  } catch (const std::bad_alloc&) {
    return status::kOutOfMemory;
  }
  const void* bytes = LockResource(loaded);
  if (bytes == nullptr) return LastErrorOr();
  std::memcpy(text.data(), bytes, size);
  text[size] = '\0';
  return Parse(text.data());
}

Status Cfg::Parse(const char* text) {
  extract.reset();
  launch.reset();

  veltrano::VTXmlDocument xml;
  if (xml.LoadBuffer(text) != status::kOk) return status::kXmlSyntax;
  const XMLElement* root = xml.document.RootElement();
  if (root == nullptr || std::strcmp(root->Name(), "SelfExtractor") != 0) {
    return status::kInvalidData;
  }
  unsigned major = 0;
  unsigned minor = 0;
  VT_RETURN_IF_FAILED(ReadUnsignedAttribute(root, "FormatVersionMajor", major));
  VT_RETURN_IF_FAILED(ReadUnsignedAttribute(root, "FormatVersionMinor", minor));
  if (major != kFormatVersionMajor || minor != kFormatVersionMinor) return status::kInvalidData;

  std::wstring documentTitle;
  const XMLElement* child = nullptr;
  const Status titleFound = FindSingleChild(root, "Title", &child);
  if (titleFound != status::kNotFound) {
    VT_RETURN_IF_FAILED(titleFound);
    VT_RETURN_IF_FAILED(ReadText(child, documentTitle));
    title = L" " + documentTitle;
  }

  const Status extractFound = FindSingleChild(root, "Extract", &child);
  if (extractFound != status::kNotFound) {
    VT_RETURN_IF_FAILED(extractFound);
    auto section = std::make_shared<CfgExtract>(this);
    VT_RETURN_IF_FAILED(section->Load(child));
    extract = section;
    if (documentTitle.empty()) VT_RETURN_IF_FAILED(MakeDefaultTitle());
  }

  const Status launchFound = FindSingleChild(root, "Launch", &child);
  if (launchFound != status::kNotFound) {
    VT_RETURN_IF_FAILED(launchFound);
    auto section = std::make_shared<CfgLaunch>(this);
    VT_RETURN_IF_FAILED(section->Load(child));
    launch = section;
    if (documentTitle.empty()) title = kLaunchTitle;
  }

  if (extract && launch) return status::kInvalidData;
  if (!extract && !launch) return SetDefaults(documentTitle);
  return status::kOk;
}

Status Cfg::SetDefaults(const std::wstring& documentTitle) {
  extract.reset();
  launch.reset();
  auto section = std::make_shared<CfgExtract>(this);
  VT_RETURN_IF_FAILED(MakeAbsolute(L".", section->targetPath));
  section->progressDialogEnabled = true;
  section->folderSelectionDialogEnabled = true;
  extract = section;
  if (documentTitle.empty()) return MakeDefaultTitle();
  return status::kOk;
}

Status Cfg::MakeDefaultTitle() {
  veltrano::VTWinModuleFileName module;
  VT_RETURN_IF_FAILED(module.InitWithModuleHandle());
  title = module.fileName + kTitleSuffix;
  return status::kOk;
}
