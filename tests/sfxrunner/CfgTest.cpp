// The configuration document: every rule of its elements and the status each violation gives,
// with small documents as test data.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <string>

#include "Cfg.h"
#include "VTWow64FsRedirection.h"

namespace status = veltrano::status;

namespace {

std::string Root(const std::string& body, const std::string& versions =
                                              "FormatVersionMajor=\"2\" FormatVersionMinor=\"0\"") {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<SelfExtractor " + versions + ">" + body +
         "</SelfExtractor>";
}

std::string Architectures(const std::string& list) {
  std::string xml = "<ProcessorArchitectureSet>";
  size_t start = 0;
  while (start <= list.size()) {
    const size_t comma = list.find(',', start);
    const std::string item = list.substr(start, comma == std::string::npos ? std::string::npos
                                                                           : comma - start);
    xml += "<ProcessorArchitecture>" + item + "</ProcessorArchitecture>";
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return xml + "</ProcessorArchitectureSet>";
}

std::string Tags(const std::string& list) {
  if (list.empty()) return "";
  std::string xml = "<LanguageTagSet>";
  size_t start = 0;
  while (true) {
    const size_t comma = list.find(',', start);
    xml += "<LanguageTag>" + list.substr(start, comma == std::string::npos ? std::string::npos
                                                                            : comma - start) +
           "</LanguageTag>";
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return xml + "</LanguageTagSet>";
}

// One command; `archs` and `tags` are comma-separated lists.
std::string Command(const std::string& id, const std::string& archs, const std::string& tags,
                    const std::string& method = "<ShellExecute><Executable>setup.exe</Executable>"
                                                "</ShellExecute>") {
  return "<Command Id=\"" + id + "\">" + Architectures(archs) + Tags(tags) + method + "</Command>";
}

std::string Launch(const std::string& commands, const std::string& extra = "") {
  return Root("<Launch>" + extra + "<CommandSet>" + commands + "</CommandSet></Launch>");
}

std::string Extract(const std::string& body) { return Root("<Extract>" + body + "</Extract>"); }

std::wstring CurrentFolder() {
  wchar_t buffer[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, buffer);
  return buffer;
}

std::wstring ExeBaseName() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring name = path;
  name = name.substr(name.find_last_of(L'\\') + 1);
  return name.substr(0, name.find_last_of(L'.'));
}


std::wstring KnownFolder(REFKNOWNFOLDERID id) {
  PWSTR path = nullptr;
  std::wstring result;
  if (SUCCEEDED(SHGetKnownFolderPath(id, KF_FLAG_CREATE | KF_FLAG_INIT, nullptr, &path))) {
    result = path;
  }
  CoTaskMemFree(path);
  return result;
}

Status ParseDoc(Cfg& cfg, const std::string& text) { return cfg.Parse(text.c_str()); }

}  // namespace

// ---- the shipped document, read from this test program's own RCDATA 222 ----

TEST(ShippedDocument, LoadsAsLaunchModeWithOneEnglishCommand) {
  Cfg cfg;
  ASSERT_EQ(0u, cfg.LoadFromResource());
  EXPECT_EQ(L" Setup", cfg.title);
  EXPECT_FALSE(cfg.extract);
  ASSERT_TRUE(cfg.launch);
  EXPECT_TRUE(cfg.launch->progressDialogEnabled);
  EXPECT_FALSE(cfg.launch->languageSelectionDialogEnabled);
  const CfgCommandSet& set = *cfg.launch->commandSet;
  ASSERT_EQ(1u, set.commands.size());
  const CfgCommand& command = *set.commands.begin()->second;
  EXPECT_EQ(35u, command.id.size());
  EXPECT_EQ(0u, command.id.rfind(L"cmd", 0));
  EXPECT_EQ(std::wstring::npos, command.id.find_first_of(L"ABCDEF"));  // lower-cased
  EXPECT_FALSE(command.useCreateProcess);
  EXPECT_EQ(L"SonarixUsbAudioDriver\\setup.exe", command.executable);
  EXPECT_EQ(L"", command.arguments);
  EXPECT_EQ((std::set<std::wstring>{L"en"}), command.languageTagSet->tags);
  EXPECT_EQ((std::set<uint32_t>{kArchitectureX86, kArchitectureX64}),
            command.processorArchitectureSet->architectures);
  // Both x86 and x64 machines (the test prefixes) find it; it is tagged.
  ASSERT_EQ(1u, set.applicableIds.size());
  EXPECT_FALSE(set.singleUntagged);
  EXPECT_EQ((std::set<std::wstring>{L"en"}), set.allLanguageTags->tags);
}

TEST(ShippedDocument, HasNoCommandForArm64) {
  Cfg cfg;
  ASSERT_EQ(0u, cfg.LoadFromResource());
  CfgCommandSet& set = *cfg.launch->commandSet;
  EXPECT_EQ(0u, set.SelectApplicable(kArchitectureArm64));
  EXPECT_TRUE(set.applicableIds.empty());
}

// ---- the root ----

TEST(CfgDocument, TextThatIsNotXmlIsASyntaxError) {
  Cfg cfg;
  EXPECT_EQ(status::kXmlSyntax, ParseDoc(cfg, ""));
  EXPECT_EQ(status::kXmlSyntax, ParseDoc(cfg, "<SelfExtractor"));
  EXPECT_EQ(status::kXmlSyntax, ParseDoc(cfg, "<a></b>"));
}

TEST(CfgDocument, WrongRootIsInvalid) {
  Cfg cfg;
  EXPECT_EQ(status::kInvalidData,
            ParseDoc(cfg, "<Selfextractor FormatVersionMajor=\"2\" FormatVersionMinor=\"0\"/>"));
}

TEST(CfgDocument, VersionAttributes) {
  Cfg cfg;
  EXPECT_EQ(0u, ParseDoc(cfg, Root("")));
  EXPECT_EQ(0u, ParseDoc(cfg, Root("", "FormatVersionMajor=\"2.5\" FormatVersionMinor=\"0\"")));
  EXPECT_EQ(0u, ParseDoc(cfg, Root("", "FormatVersionMajor=\" 2\" FormatVersionMinor=\"0x\"")));
  EXPECT_EQ(status::kInvalidData,
            ParseDoc(cfg, Root("", "FormatVersionMajor=\"2\" FormatVersionMinor=\"1\"")));
  EXPECT_EQ(status::kInvalidData,
            ParseDoc(cfg, Root("", "FormatVersionMajor=\"3\" FormatVersionMinor=\"0\"")));
  EXPECT_EQ(status::kInvalidData,
            ParseDoc(cfg, Root("", "FormatVersionMajor=\"two\" FormatVersionMinor=\"0\"")));
  EXPECT_EQ(status::kNotFound, ParseDoc(cfg, Root("", "FormatVersionMinor=\"0\"")));
  EXPECT_EQ(status::kNotFound, ParseDoc(cfg, Root("", "FormatVersionMajor=\"2\"")));
  // The major version is read and checked for a number before the minor one is looked at.
  EXPECT_EQ(status::kInvalidData, ParseDoc(cfg, Root("", "FormatVersionMajor=\"\"")));
}

// ---- titles and modes ----

TEST(CfgTitle, TitleIsABlankAndTheTextAsWritten) {
  Cfg cfg;
  ASSERT_EQ(0u, ParseDoc(cfg, Root("<Title>  Driver &amp; Tools </Title>")));
  EXPECT_EQ(L"   Driver & Tools ", cfg.title);
  ASSERT_EQ(0u, ParseDoc(cfg, Root("<Title>\r\n  <![CDATA[Setup <1>]]>\r\n</Title>")));
  EXPECT_EQ(L" Setup <1>", cfg.title);
  ASSERT_EQ(0u, ParseDoc(cfg, Root("<Title>Gr\xc3\xbc\xc3\x9f" "e</Title>")));
  EXPECT_EQ(L" Gr\u00fc\u00dfe", cfg.title);
}

TEST(CfgTitle, TextElementRules) {
  Cfg cfg;
  EXPECT_EQ(status::kNoContent, ParseDoc(cfg, Root("<Title/>")));
  EXPECT_EQ(status::kNoContent, ParseDoc(cfg, Root("<Title></Title>")));
  EXPECT_EQ(status::kInvalidData, ParseDoc(cfg, Root("<Title><!-- note -->Setup</Title>")));
  EXPECT_EQ(status::kInvalidData, ParseDoc(cfg, Root("<Title><!-- note --></Title>")));
  EXPECT_EQ(status::kInvalidData, ParseDoc(cfg, Root("<Title><b>Setup</b></Title>")));
  EXPECT_EQ(status::kInvalidData, ParseDoc(cfg, Root("<Title>a</Title><Title>b</Title>")));
  // Comments and unknown elements between elements are ignored.
  EXPECT_EQ(0u, ParseDoc(cfg, Root("<!-- c --><Other>x</Other><Title>T</Title><!-- d -->")));
  EXPECT_EQ(L" T", cfg.title);
}

TEST(CfgTitle, NoSectionMeansExtractDefaults) {
  Cfg cfg;
  ASSERT_EQ(0u, ParseDoc(cfg, Root("<Title>Tools</Title>")));
  EXPECT_EQ(L" Tools", cfg.title);
  ASSERT_TRUE(cfg.extract);
  EXPECT_FALSE(cfg.launch);
  EXPECT_TRUE(cfg.extract->progressDialogEnabled);
  EXPECT_TRUE(cfg.extract->folderSelectionDialogEnabled);
  EXPECT_EQ(CurrentFolder(), cfg.extract->targetPath);

  Cfg untitled;
  ASSERT_EQ(0u, ParseDoc(untitled, Root("")));
  EXPECT_EQ(ExeBaseName() + L" Self Extractor", untitled.title);
}

TEST(CfgTitle, SectionsWithoutTitle) {
  Cfg extract;
  ASSERT_EQ(0u, ParseDoc(extract, Extract("")));
  EXPECT_EQ(ExeBaseName() + L" Self Extractor", extract.title);
  Cfg launch;
  ASSERT_EQ(0u, ParseDoc(launch, Launch(Command("a", "x86,x64", ""))));
  EXPECT_EQ(L" Setup", launch.title);
  Cfg titled;
  ASSERT_EQ(0u, ParseDoc(titled, Root("<Title>Mine</Title><Extract/>")));
  EXPECT_EQ(L" Mine", titled.title);
}

TEST(CfgTitle, TitleBeforeLoadingIsTheBareSuffix) {
  Cfg cfg;
  EXPECT_EQ(L" Self Extractor", cfg.title);
}

TEST(CfgModes, ExtractAndLaunchTogetherAreInvalid) {
  Cfg cfg;
  EXPECT_EQ(status::kInvalidData,
            ParseDoc(cfg, Root("<Extract/><Launch><CommandSet>" + Command("a", "x86,x64", "") +
                               "</CommandSet></Launch>")));
  EXPECT_EQ(status::kInvalidData, ParseDoc(cfg, Root("<Extract/><Extract/>")));
}

// ---- Extract ----

TEST(CfgExtract, DialogSwitches) {
  Cfg cfg;
  ASSERT_EQ(0u, ParseDoc(cfg, Extract("<ProgressDialog><Enabled>FALSE</Enabled></ProgressDialog>"
                                      "<FolderSelectionDialog><Enabled>TRUE</Enabled>"
                                      "</FolderSelectionDialog>")));
  EXPECT_FALSE(cfg.extract->progressDialogEnabled);
  EXPECT_TRUE(cfg.extract->folderSelectionDialogEnabled);
  ASSERT_EQ(0u, ParseDoc(cfg, Extract("<FolderSelectionDialog><Enabled>false</Enabled>"
                                      "</FolderSelectionDialog>")));
  EXPECT_TRUE(cfg.extract->progressDialogEnabled);
  EXPECT_FALSE(cfg.extract->folderSelectionDialogEnabled);
}

TEST(CfgExtract, BadSwitchesAreInvalid) {
  Cfg cfg;
  EXPECT_EQ(status::kInvalidData,
            ParseDoc(cfg, Extract("<ProgressDialog><Enabled>yes</Enabled></ProgressDialog>")));
  EXPECT_EQ(status::kInvalidData,
            ParseDoc(cfg, Extract("<ProgressDialog><Enabled> true</Enabled></ProgressDialog>")));
  EXPECT_EQ(status::kInvalidData, ParseDoc(cfg, Extract("<ProgressDialog/>")));
  EXPECT_EQ(status::kInvalidData,
            ParseDoc(cfg, Extract("<ProgressDialog><Enabled>true</Enabled><Enabled>true</Enabled>"
                                  "</ProgressDialog>")));
  EXPECT_EQ(status::kInvalidData,
            ParseDoc(cfg, Extract("<ProgressDialog><Enabled>true</Enabled></ProgressDialog>"
                                  "<ProgressDialog><Enabled>true</Enabled></ProgressDialog>")));
  EXPECT_EQ(status::kNoContent,
            ParseDoc(cfg, Extract("<FolderSelectionDialog><Enabled/></FolderSelectionDialog>")));
}

TEST(CfgExtract, TargetPathIsResolved) {
  Cfg cfg;
  ASSERT_EQ(0u, ParseDoc(cfg, Extract("<TargetPath>C:\\Drivers\\Audio</TargetPath>")));
  EXPECT_EQ(L"C:\\Drivers\\Audio", cfg.extract->targetPath);
  ASSERT_EQ(0u, ParseDoc(cfg, Extract("<TargetPath>unpacked\\here</TargetPath>")));
  EXPECT_EQ(CurrentFolder() + L"\\unpacked\\here", cfg.extract->targetPath);
  SetEnvironmentVariableW(L"VT_CFG_TEST_ROOT", L"C:\\vt root");
  ASSERT_EQ(0u, ParseDoc(cfg, Extract("<TargetPath>%VT_CFG_TEST_ROOT%\\x</TargetPath>")));
  EXPECT_EQ(L"C:\\vt root\\x", cfg.extract->targetPath);
  ASSERT_EQ(0u, ParseDoc(cfg, Extract("<TargetPath>${FOLDERID_LocalAppData}\\Vendor</TargetPath>")));
  EXPECT_EQ(KnownFolder(FOLDERID_LocalAppData) + L"\\Vendor", cfg.extract->targetPath);
  EXPECT_EQ(status::kNoContent, ParseDoc(cfg, Extract("<TargetPath/>")));
}

TEST(CfgExtract, BadFolderNamesAreInvalid) {
  Cfg cfg;
  EXPECT_EQ(status::kInvalidData, ParseDoc(cfg, Extract("<TargetPath>${FOLDERID_LocalAppData\\x</TargetPath>")));
  EXPECT_EQ(status::kInvalidData, ParseDoc(cfg, Extract("<TargetPath>${FOLDERID_Nowhere}\\x</TargetPath>")));
  EXPECT_EQ(status::kInvalidData, ParseDoc(cfg, Extract("<TargetPath>${folderid_localappdata}</TargetPath>")));
  EXPECT_EQ(status::kInvalidData, ParseDoc(cfg, Extract("<TargetPath>${LocalAppData}</TargetPath>")));
  EXPECT_EQ(status::kInvalidData, ParseDoc(cfg, Extract("<TargetPath>${}</TargetPath>")));
}

TEST(CfgExtract, ProgramFilesIsTheNativeFolder) {
  Cfg cfg;
  ASSERT_EQ(0u, ParseDoc(cfg, Extract("<TargetPath>${PROGRAM_FILES}\\Vendor</TargetPath>")));
  wchar_t expected[MAX_PATH] = {};
  ExpandEnvironmentStringsW(veltrano::RunsUnderWow64() ? L"%ProgramW6432%" : L"%ProgramFiles%",
                            expected, MAX_PATH);
  EXPECT_EQ(std::wstring(expected) + L"\\Vendor", cfg.extract->targetPath);
  // Native, whether the stub runs on 32-bit Windows, under WOW64 or as an x64 program.
  EXPECT_EQ(L"C:\\Program Files\\Vendor", cfg.extract->targetPath);
}

// ---- Launch ----

TEST(CfgLaunch, TargetIsANewGuidFolderInTheTemporaryFolder) {
  Cfg first, second;
  ASSERT_EQ(0u, ParseDoc(first, Launch(Command("a", "x86,x64", ""))));
  ASSERT_EQ(0u, ParseDoc(second, Launch(Command("a", "x86,x64", ""))));
  wchar_t temp[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH, temp);
  const std::wstring& path = first.launch->targetPath;
  ASSERT_EQ(std::wstring(temp).size() + 38, path.size());
  EXPECT_EQ(0u, path.rfind(temp, 0));
  EXPECT_EQ(L'{', path[path.size() - 38]);
  EXPECT_EQ(L'}', path.back());
  EXPECT_EQ(std::wstring::npos, path.substr(path.size() - 38).find_first_of(L"abcdef"));
  EXPECT_NE(path, second.launch->targetPath);
}

TEST(CfgLaunch, DialogSwitchDefaults) {
  Cfg cfg;
  ASSERT_EQ(0u, ParseDoc(cfg, Launch(Command("a", "x86,x64", ""))));
  EXPECT_TRUE(cfg.launch->progressDialogEnabled);
  EXPECT_FALSE(cfg.launch->languageSelectionDialogEnabled);
  ASSERT_EQ(0u, ParseDoc(cfg, Launch(Command("a", "x86,x64", ""),
                                     "<LanguageSelectionDialog><Enabled>True</Enabled>"
                                     "</LanguageSelectionDialog><ProgressDialog><Enabled>false"
                                     "</Enabled></ProgressDialog>")));
  EXPECT_TRUE(cfg.launch->languageSelectionDialogEnabled);
  EXPECT_FALSE(cfg.launch->progressDialogEnabled);
}

TEST(CfgLaunch, CommandSetCounts) {
  Cfg cfg;
  EXPECT_EQ(status::kInvalidData, ParseDoc(cfg, Root("<Launch/>")));
  EXPECT_EQ(status::kInvalidData, ParseDoc(cfg, Launch("")));
  const std::string set = "<CommandSet>" + Command("a", "x86,x64", "") + "</CommandSet>";
  EXPECT_EQ(status::kInvalidData, ParseDoc(cfg, Root("<Launch>" + set + set + "</Launch>")));
}

TEST(CfgLaunch, CommandIdRules) {
  Cfg cfg;
  EXPECT_EQ(status::kNotFound,
            ParseDoc(cfg, Launch("<Command>" + Architectures("x86") + "</Command>")));
  EXPECT_EQ(status::kNotFound, ParseDoc(cfg, Launch(Command(" \t ", "x86", ""))));
  EXPECT_EQ(status::kNotFound, ParseDoc(cfg, Launch(Command("", "x86", ""))));
  EXPECT_EQ(status::kInvalidData, ParseDoc(cfg, Launch(Command(" a", "x86", ""))));
  EXPECT_EQ(status::kInvalidData, ParseDoc(cfg, Launch(Command("a&#10;", "x86", ""))));
  EXPECT_EQ(status::kInvalidData,
            ParseDoc(cfg, Launch(Command("Setup", "x86", "en") + Command("SETUP", "x64", "de"))));
  ASSERT_EQ(0u, ParseDoc(cfg, Launch(Command("Setup-\xc3\x84", "x86,x64", ""))));
  EXPECT_EQ(1u, cfg.launch->commandSet->commands.count(L"setup-\u00c4"));
}

TEST(CfgLaunch, ArchitectureRules) {
  Cfg cfg;
  EXPECT_EQ(status::kAlreadyPresent, ParseDoc(cfg, Launch(Command("a", "x86,x86", ""))));
  EXPECT_EQ(status::kInvalidData, ParseDoc(cfg, Launch(Command("a", "X86", ""))));
  EXPECT_EQ(status::kInvalidData, ParseDoc(cfg, Launch(Command("a", "amd64", ""))));
  EXPECT_EQ(status::kNoContent, ParseDoc(cfg, Launch(Command("a", "", ""))));
  EXPECT_EQ(status::kInvalidData,
            ParseDoc(cfg, Launch("<Command Id=\"a\"><ProcessorArchitectureSet/><ShellExecute>"
                                 "<Executable>x</Executable></ShellExecute></Command>")));
  EXPECT_EQ(status::kInvalidData,
            ParseDoc(cfg, Launch("<Command Id=\"a\"><ShellExecute><Executable>x</Executable>"
                                 "</ShellExecute></Command>")));
  ASSERT_EQ(0u, ParseDoc(cfg, Launch(Command("a", "IA64,ARM,ARM64,x64,x86", ""))));
  EXPECT_EQ((std::set<uint32_t>{1, 2, 3, 4, 5}),
            cfg.launch->commandSet->commands.at(L"a")->processorArchitectureSet->architectures);
}

TEST(CfgLaunch, LanguageTagRules) {
  Cfg cfg;
  EXPECT_EQ(status::kAlreadyPresent, ParseDoc(cfg, Launch(Command("a", "x86,x64", "en,en"))));
  ASSERT_EQ(0u, ParseDoc(cfg, Launch(Command("a", "x86,x64", "en,EN,en-US"))));
  EXPECT_EQ((std::set<std::wstring>{L"EN", L"en", L"en-US"}),
            cfg.launch->commandSet->allLanguageTags->tags);
  const std::string twoSets = "<Command Id=\"a\">" + Architectures("x86") + Tags("en") + Tags("de") +
                              "<ShellExecute><Executable>x</Executable></ShellExecute></Command>";
  EXPECT_EQ(status::kInvalidData, ParseDoc(cfg, Launch(twoSets)));
  const std::string emptySet = "<Command Id=\"a\">" + Architectures("x86") + "<LanguageTagSet/>" +
                               "<ShellExecute><Executable>x</Executable></ShellExecute></Command>";
  EXPECT_EQ(status::kInvalidData, ParseDoc(cfg, Launch(emptySet)));
}

TEST(CfgLaunch, LaunchMethodAndItsTexts) {
  Cfg cfg;
  const char* kCreate =
      "<CreateProcess><Executable>${PROGRAM_FILES}\\..\\bin\\setup.exe</Executable>"
      "<Arguments> /quiet  /norestart </Arguments></CreateProcess>";
  ASSERT_EQ(0u, ParseDoc(cfg, Launch(Command("a", "x86,x64", "", kCreate))));
  const CfgCommand& command = *cfg.launch->commandSet->commands.at(L"a");
  EXPECT_TRUE(command.useCreateProcess);
  EXPECT_EQ(L"C:\\Program Files\\..\\bin\\setup.exe", command.executable);  // not made absolute
  EXPECT_EQ(L" /quiet  /norestart ", command.arguments);

  ASSERT_EQ(0u, ParseDoc(cfg, Launch(Command("a", "x86,x64", "",
                                             "<ShellExecute><Executable>setup.exe</Executable>"
                                             "<Arguments><![CDATA[]]></Arguments></ShellExecute>"))));
  EXPECT_EQ(L"", cfg.launch->commandSet->commands.at(L"a")->arguments);
}

TEST(CfgLaunch, LaunchMethodRules) {
  Cfg cfg;
  const std::string shell = "<ShellExecute><Executable>x</Executable></ShellExecute>";
  const std::string create = "<CreateProcess><Executable>x</Executable></CreateProcess>";
  EXPECT_EQ(status::kInvalidData, ParseDoc(cfg, Launch(Command("a", "x86", "", ""))));
  EXPECT_EQ(status::kInvalidData, ParseDoc(cfg, Launch(Command("a", "x86", "", shell + create))));
  EXPECT_EQ(status::kInvalidData, ParseDoc(cfg, Launch(Command("a", "x86", "", shell + shell))));
  EXPECT_EQ(status::kInvalidData,
            ParseDoc(cfg, Launch(Command("a", "x86", "", "<ShellExecute/>"))));
  EXPECT_EQ(status::kNoContent,
            ParseDoc(cfg, Launch(Command("a", "x86", "",
                                         "<ShellExecute><Executable/></ShellExecute>"))));
  EXPECT_EQ(status::kNoContent,
            ParseDoc(cfg, Launch(Command("a", "x86", "",
                                         "<ShellExecute><Executable>x</Executable><Arguments/>"
                                         "</ShellExecute>"))));
  EXPECT_EQ(status::kInvalidData,
            ParseDoc(cfg, Launch(Command("a", "x86", "",
                                         "<ShellExecute><Executable>${Windows</Executable>"
                                         "</ShellExecute>"))));
}

// ---- which commands apply ----

TEST(CfgApplicable, TaggedCommandsEachNameTheirOwnTags) {
  Cfg cfg;
  ASSERT_EQ(0u, ParseDoc(cfg, Launch(Command("en", "x86,x64", "en,en-GB") +
                                     Command("de", "x86,x64", "de") +
                                     Command("arm", "ARM64", "en"))));
  const CfgCommandSet& set = *cfg.launch->commandSet;
  EXPECT_EQ((std::vector<std::wstring>{L"en", L"de"}), set.applicableIds);
  EXPECT_FALSE(set.singleUntagged);
  EXPECT_EQ((std::set<std::wstring>{L"de", L"en", L"en-GB"}), set.allLanguageTags->tags);
}

TEST(CfgApplicable, SameTagOnTwoApplicableCommandsIsDuplicate) {
  Cfg cfg;
  EXPECT_EQ(status::kAlreadyPresent,
            ParseDoc(cfg, Launch(Command("a", "x86,x64", "en") + Command("b", "x86,x64", "en"))));
  // On different architectures the same tag is fine.
  ASSERT_EQ(0u, ParseDoc(cfg, Launch(Command("a", "x86,IA64", "en") + Command("b", "x64,IA64", "de") +
                                     Command("c", "ARM", "en"))));
  CfgCommandSet& set = *cfg.launch->commandSet;
  EXPECT_EQ(0u, set.SelectApplicable(kArchitectureX86));
  EXPECT_EQ(std::vector<std::wstring>{L"a"}, set.applicableIds);
  EXPECT_EQ(0u, set.SelectApplicable(kArchitectureArm));
  EXPECT_EQ(std::vector<std::wstring>{L"c"}, set.applicableIds);
  EXPECT_EQ(0u, set.SelectApplicable(kArchitectureIA64));
  EXPECT_EQ((std::set<std::wstring>{L"de", L"en"}), set.allLanguageTags->tags);
}

TEST(CfgApplicable, OneUntaggedCommandStandsAlone) {
  Cfg cfg;
  ASSERT_EQ(0u, ParseDoc(cfg, Launch(Command("only", "x86,x64", "") +
                                     Command("other", "ARM64", ""))));
  const CfgCommandSet& set = *cfg.launch->commandSet;
  EXPECT_TRUE(set.singleUntagged);
  EXPECT_EQ(std::vector<std::wstring>{L"only"}, set.applicableIds);
  EXPECT_TRUE(set.allLanguageTags->tags.empty());
}

TEST(CfgApplicable, UntaggedWithAnyOtherApplicableCommandIsInvalid) {
  Cfg cfg;
  EXPECT_EQ(status::kInvalidData,
            ParseDoc(cfg, Launch(Command("a", "x86,x64", "") + Command("b", "x86,x64", ""))));
  EXPECT_EQ(status::kInvalidData,
            ParseDoc(cfg, Launch(Command("a", "x86,x64", "en") + Command("b", "x86,x64", ""))));
  EXPECT_EQ(status::kInvalidData,
            ParseDoc(cfg, Launch(Command("a", "x86,x64", "") + Command("b", "x86,x64", "en"))));
}

TEST(CfgApplicable, NoCommandForThisMachineIsNotAnError) {
  Cfg cfg;
  ASSERT_EQ(0u, ParseDoc(cfg, Launch(Command("a", "ARM64", "en") + Command("b", "ARM64", "en"))));
  EXPECT_TRUE(cfg.launch->commandSet->applicableIds.empty());
  // Commands for other architectures are not checked against each other.
  EXPECT_EQ(0u, cfg.launch->commandSet->SelectApplicable(kArchitectureUnknown));
  EXPECT_TRUE(cfg.launch->commandSet->applicableIds.empty());
}

TEST(CfgArchitecture, WindowsValuesMapToCodes) {
  EXPECT_EQ(kArchitectureX86, ArchitectureCodeOf(PROCESSOR_ARCHITECTURE_INTEL));
  EXPECT_EQ(kArchitectureX64, ArchitectureCodeOf(PROCESSOR_ARCHITECTURE_AMD64));
  EXPECT_EQ(kArchitectureIA64, ArchitectureCodeOf(PROCESSOR_ARCHITECTURE_IA64));
  EXPECT_EQ(kArchitectureArm, ArchitectureCodeOf(PROCESSOR_ARCHITECTURE_ARM));
  EXPECT_EQ(kArchitectureArm64, ArchitectureCodeOf(PROCESSOR_ARCHITECTURE_ARM64));
  EXPECT_EQ(kArchitectureUnknown, ArchitectureCodeOf(PROCESSOR_ARCHITECTURE_UNKNOWN));
  EXPECT_EQ(kArchitectureUnknown, ArchitectureCodeOf(14));
  // The native processor, not the 32-bit view of it.
  EXPECT_EQ(veltrano::RunsUnderWow64() || veltrano::kIsX64Build ? kArchitectureX64 : kArchitectureX86,
            NativeArchitectureCode());
}

TEST(CfgDefaults, SetDefaultsKeepsAGivenTitle) {
  Cfg cfg;
  cfg.title = L" Kept";
  ASSERT_EQ(0u, cfg.SetDefaults(L"Kept"));
  EXPECT_EQ(L" Kept", cfg.title);
  ASSERT_EQ(0u, cfg.SetDefaults(L""));
  EXPECT_EQ(ExeBaseName() + L" Self Extractor", cfg.title);
}
