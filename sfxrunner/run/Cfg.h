#pragma once
// The stub's configuration: the SelfExtractor document of RCDATA 222 read into a tree of
// objects, or the defaults when the stub carries no document. Built once on the main thread
// at start-up, then only read.
#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "VTStatus.h"

namespace tinyxml2 {
class XMLElement;
}

using veltrano::Status;

// Architecture codes that a command can name; 0 is any other machine.
enum ArchitectureCode : uint32_t {
  kArchitectureUnknown = 0,
  kArchitectureX86 = 1,
  kArchitectureX64 = 2,
  kArchitectureIA64 = 3,
  kArchitectureArm = 4,
  kArchitectureArm64 = 5,
};

// The code of a Windows wProcessorArchitecture value.
uint32_t ArchitectureCodeOf(uint16_t processorArchitecture);
// The code of the machine's native processor, also when the stub runs under WOW64.
uint32_t NativeArchitectureCode();

class CfgObject {
 public:
  explicit CfgObject(CfgObject* owner) : parent(owner) {}
  virtual ~CfgObject() = default;
  CfgObject(const CfgObject&) = delete;
  CfgObject& operator=(const CfgObject&) = delete;

  CfgObject* parent;
  std::wstring id;  // a command's id; empty for every other object
};

class CfgLanguageTagSet : public CfgObject {
 public:
  using CfgObject::CfgObject;
  Status Load(const tinyxml2::XMLElement* element);

  std::set<std::wstring> tags;  // kept exactly as written, case included
};

class CfgProcessorArchitectureSet : public CfgObject {
 public:
  using CfgObject::CfgObject;
  Status Load(const tinyxml2::XMLElement* element);

  std::set<uint32_t> architectures;  // ArchitectureCode values
};

class CfgCommand : public CfgObject {
 public:
  using CfgObject::CfgObject;
  Status Load(const tinyxml2::XMLElement* element);

  std::shared_ptr<CfgLanguageTagSet> languageTagSet;  // empty when the document names no tags
  std::shared_ptr<CfgProcessorArchitectureSet> processorArchitectureSet;
  bool useCreateProcess = false;  // false: the shell's "open" verb, not waited for
  std::wstring executable;        // resolved path value
  std::wstring arguments;
};

class CfgCommandSet : public CfgObject {
 public:
  explicit CfgCommandSet(CfgObject* owner);
  Status Load(const tinyxml2::XMLElement* element);
  // Picks the commands for `architectureCode` and checks how they are tagged: all tagged with
  // every tag naming one command, or exactly one without tags.
  Status SelectApplicable(uint32_t architectureCode);

  std::unordered_map<std::wstring, std::shared_ptr<CfgCommand>> commands;
  std::vector<std::wstring> applicableIds;
  std::shared_ptr<CfgLanguageTagSet> allLanguageTags;
  bool singleUntagged = false;

 private:
  std::vector<std::wstring> documentOrder_;  // ids in the order the document lists them
};

class CfgTask : public CfgObject {
 public:
  using CfgObject::CfgObject;

  bool progressDialogEnabled = false;
  std::wstring targetPath;

 protected:
  Status LoadProgressDialog(const tinyxml2::XMLElement* section);
};

class CfgExtract : public CfgTask {
 public:
  using CfgTask::CfgTask;
  Status Load(const tinyxml2::XMLElement* element);

  bool folderSelectionDialogEnabled = false;
};

class CfgLaunch : public CfgTask {
 public:
  using CfgTask::CfgTask;
  Status Load(const tinyxml2::XMLElement* element);

  bool languageSelectionDialogEnabled = false;
  std::shared_ptr<CfgCommandSet> commandSet;
};

class Cfg : public CfgObject {
 public:
  Cfg();

  Status LoadFromResource();
  Status Parse(const char* text);
  Status SetDefaults(const std::wstring& documentTitle);
  Status MakeDefaultTitle();

  std::wstring title;  // caption of every window and message box
  std::shared_ptr<CfgExtract> extract;
  std::shared_ptr<CfgLaunch> launch;
};

// The stub's one configuration.
extern Cfg g_cfg;
