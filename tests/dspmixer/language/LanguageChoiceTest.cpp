// Language tags, the choice among the language files, and the search of the language folder,
// also under real Wine UI languages and under WOW64.
#include <gtest/gtest.h>

#include <algorithm>

#include "LanguageTexts.h"
#include "UiDriver.h"
#include "VTWinUiLanguageMgr.h"

namespace {

// Records as the folder search makes them, with the tag itself for both names.
std::vector<LanguageFileRecord> RecordsOf(const std::vector<std::wstring>& tags) {
  std::vector<LanguageFileRecord> records;
  for (const std::wstring& text : tags) {
    LanguageFileRecord record;
    EXPECT_EQ(mixer_status::kOk, veltrano::ReadLanguageTag(text, veltrano::kEverySubtag, record));
    record.tag = record.englishName = record.localizedName = text;
    records.push_back(record);
  }
  return records;
}

TEST(LanguageChoiceTest, MostSpecificRuleWinsThenListOrder) {
  const struct {
    const wchar_t* user;
    std::vector<std::wstring> files;
    const wchar_t* expected;
  } cases[] = {
      {L"zh-Hans-CN", {L"zh-Hans", L"zh-Hans-CN"}, L"zh-Hans-CN"},  // language, script, region
      {L"zh-Hans-CN", {L"zh-Hant", L"zh-Hans"}, L"zh-Hans"},        // language and script
      {L"de-AT", {L"de", L"de-AT"}, L"de-AT"},                      // language and region
      {L"de-AT", {L"de", L"en"}, L"de"},                            // language
      {L"fr-FR", {L"en-GB", L"de", L"en"}, L"en"},                  // plain English
      {L"fr-FR", {L"de", L"en-GB", L"en-US"}, L"en-GB"},            // any English
      {L"fr-FR", {L"de", L"it"}, L""},                              // nothing fits
      {L"de-AT", {L"DE", L"en"}, L"en"},                            // case counts
  };
  for (const auto& c : cases) {
    LanguageFileRecord chosen;
    ASSERT_EQ(mixer_status::kOk, ChooseLanguageFile(c.user, RecordsOf(c.files), chosen));
    EXPECT_EQ(c.expected, chosen.tag) << c.user;
  }
  LanguageFileRecord chosen;
  EXPECT_EQ(mixer_status::kInvalidData, ChooseLanguageFile(L"x", RecordsOf({L"en"}), chosen));
}

void AddFiles(const uitest::ScratchFolder& folder, const std::vector<std::wstring>& names) {
  for (const std::wstring& name : names) {
    ASSERT_TRUE(uitest::WriteFileBytes(folder.File(name), "\xFF\xFE"));
  }
}

// The installer stub ignores what follows language, script and region; the mixer reads every
// subtag, so a fourth that contradicts the region makes the tag invalid here, both as a file
// name and as the user's UI language.
TEST(LanguageTagTest, MixerReadsTheSubtagsTheInstallerStubIgnores) {
  veltrano::LanguageTagInfo stub;
  ASSERT_EQ(veltrano::status::kOk, veltrano::ParseLanguageTag(L"sr-Latn-RS-CH", stub));
  EXPECT_EQ(L"sr-Latn-RS", stub.CanonicalName());

  uitest::ScratchFolder folder;
  AddFiles(folder, {L"sr-Latn-RS-CH.txt", L"sr-Latn-RS.txt"});
  LanguageFileSet files;
  ASSERT_EQ(mixer_status::kOk, files.Locate(folder.Path()));
  ASSERT_EQ(1u, files.Files().size());
  EXPECT_EQ(L"sr-Latn-RS", files.Files()[0].tag);

  LanguageFileRecord chosen;
  EXPECT_EQ(mixer_status::kInvalidData,
            ChooseLanguageFile(L"sr-Latn-RS-CH", RecordsOf({L"sr-Latn-RS"}), chosen));
  EXPECT_EQ(L"", chosen.tag);
}

TEST(LanguageFolderTest, OnlyLowerCaseTxtFilesOfKnownLocalesAreFoundOnce) {
  uitest::ScratchFolder folder;
  AddFiles(folder, {L"de.txt", L"en.txt", L"fr.TXT", L"xx.txt", L".txt", L"de-AT-CH.txt"});
  ASSERT_TRUE(CreateDirectoryW(folder.File(L"es.txt").c_str(), nullptr));
  LanguageFileSet files;
  ASSERT_EQ(mixer_status::kOk, files.Locate(folder.Path()));
  std::vector<std::wstring> tags;
  for (const LanguageFileRecord& record : files.Files()) {
    tags.push_back(record.tag);
    EXPECT_FALSE(record.englishName.empty() || record.localizedName.empty()) << record.tag;
  }
  std::sort(tags.begin(), tags.end());
  EXPECT_EQ((std::vector<std::wstring>{L"de", L"en"}), tags);
  EXPECT_EQ(folder.File(files.Chosen().tag + L".txt"), files.ChosenFilePath());
  EXPECT_EQ(mixer_status::kNothingToDo, files.Locate(folder.Path()));
}

TEST(LanguageFolderTest, MissingOrEmptyFolderChoosesNothing) {
  uitest::ScratchFolder folder;
  for (const std::wstring& path : {folder.File(L"missing"), folder.Path()}) {
    LanguageFileSet files;
    EXPECT_EQ(mixer_status::kOk, files.Locate(path));
    EXPECT_TRUE(files.Files().empty());
    EXPECT_EQ(L"", files.ChosenFilePath());
  }
}

// A 32-bit process on 64-bit Windows sees the native system folder only with the redirection
// switched off: a file placed there through "Sysnative" is found through "System32".
TEST(LanguageFolderTest, SearchUnderWow64SeesTheNativeSystemFolder) {
  BOOL wow64 = FALSE;
  ASSERT_TRUE(IsWow64Process(GetCurrentProcess(), &wow64) && wow64)
      << "registered to run in the 64-bit prefix only";
  wchar_t windows[MAX_PATH] = {};
  GetWindowsDirectoryW(windows, MAX_PATH);
  const std::wstring name = L"\\vt-language-" + std::to_wstring(GetCurrentProcessId());
  const std::wstring native = windows + (L"\\Sysnative" + name);
  ASSERT_TRUE(CreateDirectoryW(native.c_str(), nullptr));
  ASSERT_TRUE(uitest::WriteFileBytes(native + L"\\de.txt", "\xFF\xFE"));
  LanguageFileSet files;
  const StatusCode status = files.Locate(windows + (L"\\System32" + name));
  uitest::RemoveFolderTree(native);
  EXPECT_EQ(mixer_status::kOk, status);
  EXPECT_EQ(1u, files.Files().size());
}

// Wine takes a process's UI language from LC_ALL in its Unix environment, which a Windows
// child inherits from its parent unchanged; a Unix shell started from here gets the Windows
// environment block instead, so the probe runs through one. It leaves no handle to wait on:
// the answer file appears when the probe is done. The shell starts the Wine loader that the
// test scripts chose for this host (VT_WINE), which also runs a 64-bit probe.
std::string RunProbeUnder(const std::wstring& lcAll, const uitest::ScratchFolder& folder) {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  const std::wstring answerFile = folder.File(L"answer");
  const std::wstring script = L"exec ${VT_WINE:-/usr/bin/wine} '" + std::wstring(self) +
                              L"' --locate-probe '" + folder.Path() + L"' '" + answerFile + L"'";
  uitest::StartOptions options;
  options.environment = {{L"LC_ALL", lcAll}};
  uitest::Process shell;
  if (shell.Start(uitest::WindowsPathOf("/bin/sh"), L"-c \"" + script + L"\"", options) != 0) {
    return "no shell";
  }
  std::string answer;
  for (int ms = 0; ms < 60000 && !uitest::ReadFileBytes(answerFile, answer); ms += 100) Sleep(100);
  return answer;
}

TEST(LanguageFolderTest, UserUiLanguageChoosesTheFile) {
  // The probe's UI language comes from Wine's LC_ALL: the suite always runs under Wine.
  ASSERT_NE(nullptr, GetProcAddress(GetModuleHandleW(L"ntdll"), "wine_get_version"));
  const struct {
    const wchar_t* lcAll;
    std::vector<std::wstring> files;
    const char* expected;
  } cases[] = {
      {L"de_AT.UTF-8", {L"de.txt", L"en.txt"}, "00000000 de"},
      {L"de_AT.UTF-8", {L"de-DE.txt", L"de-AT.txt", L"en.txt"}, "00000000 de-AT"},
      {L"fr_FR.UTF-8", {L"de.txt", L"en.txt"}, "00000000 en"},
      {L"zh_CN.UTF-8", {L"zh-TW.txt", L"zh-CN.txt", L"en.txt"}, "00000000 zh-CN"},
  };
  for (const auto& c : cases) {
    uitest::ScratchFolder folder;
    AddFiles(folder, c.files);
    EXPECT_EQ(c.expected, RunProbeUnder(c.lcAll, folder)) << c.lcAll;
  }
}

}  // namespace
