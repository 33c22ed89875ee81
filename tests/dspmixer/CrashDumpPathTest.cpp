// Where a crash dump goes: the settings made from the installation's arguments, the folder
// from a shell folder, a dump folder or the executable's folder, and the dump's file name.
#include <gtest/gtest.h>

#include <windows.h>

#include <shlobj.h>

#include <string>

#include "CrashHandler.h"
#include "CrashTestSupport.h"

namespace {

// 14 March 2026, 09:15:02 local time: every field below ten shows its padding.
constexpr SYSTEMTIME kCrashTime = {2026, 3, 6, 14, 9, 15, 2, 0};
constexpr wchar_t kCrashTimeSuffix[] = L"_20260314091502.dmp";

CrashHandlerSettings Settings(const wchar_t* name, const wchar_t* dumpFolder, int specialFolderId) {
  CrashHandlerSettings settings = {};
  EXPECT_EQ(0u, MakeCrashHandlerSettings(name, dumpFolder, specialFolderId, settings));
  return settings;
}

struct DumpPath {
  DWORD status = ERROR_SUCCESS;
  std::wstring folder;
  std::wstring file;
};

DumpPath Build(const CrashHandlerSettings& settings) {
  CrashText folder = {};
  CrashText file = {};
  DumpPath result;
  result.status = BuildCrashDumpPath(settings, kCrashTime, folder, file);
  result.folder = folder;
  result.file = file;
  return result;
}

std::wstring ShellFolder(int id) {
  wchar_t path[MAX_PATH] = {};
  SHGetSpecialFolderPathW(nullptr, path, id, FALSE);
  return path;
}

std::wstring BaseNameOf(const std::wstring& path) {
  const std::wstring name = path.substr(FolderOf(path).size() + 1);
  return name.substr(0, name.rfind(L'.'));
}

// Sets an environment variable for one test and removes it again.
class EnvironmentScope {
 public:
  EnvironmentScope(const wchar_t* name, const std::wstring& value) : name_(name) {
    SetEnvironmentVariableW(name, value.c_str());
  }
  ~EnvironmentScope() { SetEnvironmentVariableW(name_, nullptr); }

 private:
  const wchar_t* name_;
};

}  // namespace

TEST(CrashHandlerSettings, NullNameIsTheExecutablesBaseName) {
  const CrashHandlerSettings settings = Settings(nullptr, L"dumps", kNoSpecialFolder);
  EXPECT_EQ(BaseNameOf(ExecutablePath()), settings.applicationName);
  EXPECT_STREQ(L"dumps", settings.dumpFolder);
}

TEST(CrashHandlerSettings, NullDumpFolderIsTemp) {
  const CrashHandlerSettings settings = Settings(L"probe", nullptr, CSIDL_LOCAL_APPDATA);
  EXPECT_STREQ(L"probe", settings.applicationName);
  EXPECT_STREQ(L"%TEMP%", settings.dumpFolder);
  EXPECT_EQ(CSIDL_LOCAL_APPDATA, settings.specialFolderId);
}

TEST(CrashHandlerSettings, TextsUpTo259CharactersAreKept) {
  const std::wstring longest(259, L'n');
  const CrashHandlerSettings settings = Settings(longest.c_str(), longest.c_str(), -1);
  EXPECT_EQ(longest, settings.applicationName);
  EXPECT_EQ(longest, settings.dumpFolder);
}

TEST(CrashHandlerSettings, NameOrFolderOver259CharactersIsRefused) {
  const std::wstring tooLong(260, L'n');
  CrashHandlerSettings settings = {};
  EXPECT_EQ(static_cast<DWORD>(ERROR_FILENAME_EXCED_RANGE),
            MakeCrashHandlerSettings(tooLong.c_str(), L"%TEMP%", -1, settings));
  EXPECT_EQ(static_cast<DWORD>(ERROR_FILENAME_EXCED_RANGE),
            MakeCrashHandlerSettings(L"probe", tooLong.c_str(), -1, settings));
}

TEST(CrashHandlerSettings, TooLongNameInstallsNothing) {
  const std::wstring tooLong(300, L'n');
  EXPECT_EQ(static_cast<DWORD>(ERROR_FILENAME_EXCED_RANGE),
            InstallCrashHandler(tooLong.c_str(), nullptr, -1));
  EXPECT_EQ(nullptr, InstalledCrashHandlerSettings());
}

TEST(CrashDumpPath, FileNameIsTheNameAndTheLocalTime) {
  const DumpPath path = Build(Settings(L"SonarixMixerControlPanel", L"C:\\dumps", -1));
  ASSERT_EQ(0u, path.status);
  EXPECT_EQ(L"C:\\dumps", path.folder);
  EXPECT_EQ(L"C:\\dumps\\SonarixMixerControlPanel_20260314091502.dmp", path.file);
}

TEST(CrashDumpPath, LateInTheYearNeedsNoPadding) {
  CrashText folder;
  CrashText file;
  const SYSTEMTIME late = {2031, 12, 3, 31, 23, 59, 58, 999};
  ASSERT_EQ(0u, BuildCrashDumpPath(Settings(L"probe", L"C:\\d", -1), late, folder, file));
  EXPECT_STREQ(L"C:\\d\\probe_20311231235958.dmp", file);
}

TEST(CrashDumpPath, DumpFolderAloneHasItsVariablesExpanded) {
  EnvironmentScope variable(L"CRASHTEST_ROOT", L"C:\\crash root");
  const DumpPath path = Build(Settings(L"probe", L"%CRASHTEST_ROOT%\\dumps", -1));
  ASSERT_EQ(0u, path.status);
  EXPECT_EQ(L"C:\\crash root\\dumps", path.folder);
  EXPECT_EQ(path.folder + L"\\probe" + kCrashTimeSuffix, path.file);
}

TEST(CrashDumpPath, DefaultDumpFolderIsTheExpandedTemp) {
  wchar_t temp[MAX_PATH] = {};
  ASSERT_NE(0u, GetEnvironmentVariableW(L"TEMP", temp, MAX_PATH));
  std::wstring expected = temp;
  while (!expected.empty() && expected.back() == L'\\') expected.pop_back();
  const DumpPath path = Build(Settings(L"probe", nullptr, -1));
  ASSERT_EQ(0u, path.status);
  EXPECT_EQ(expected, path.folder);
  EXPECT_EQ(expected + L"\\probe" + kCrashTimeSuffix, path.file);
}

TEST(CrashDumpPath, NoFolderAtAllIsTheExecutablesFolder) {
  const DumpPath path = Build(Settings(L"probe", L"", -1));
  ASSERT_EQ(0u, path.status);
  EXPECT_EQ(FolderOf(ExecutablePath()), path.folder);
  EXPECT_EQ(FolderOf(ExecutablePath()) + L"\\probe" + kCrashTimeSuffix, path.file);
}

TEST(CrashDumpPath, ShellFolderAlone) {
  const DumpPath path = Build(Settings(L"probe", L"", CSIDL_LOCAL_APPDATA));
  ASSERT_EQ(0u, path.status);
  ASSERT_FALSE(ShellFolder(CSIDL_LOCAL_APPDATA).empty());
  EXPECT_EQ(ShellFolder(CSIDL_LOCAL_APPDATA), path.folder);
  EXPECT_EQ(ShellFolder(CSIDL_LOCAL_APPDATA) + L"\\probe" + kCrashTimeSuffix, path.file);
}

TEST(CrashDumpPath, ShellFolderWithDumpFolderBelowIt) {
  EnvironmentScope variable(L"CRASHTEST_PRODUCT", L"Probe Product");
  const DumpPath path =
      Build(Settings(L"probe", L"%CRASHTEST_PRODUCT%\\CrashDumps", CSIDL_LOCAL_APPDATA));
  ASSERT_EQ(0u, path.status);
  const std::wstring expected = ShellFolder(CSIDL_LOCAL_APPDATA) + L"\\Probe Product\\CrashDumps";
  EXPECT_EQ(expected, path.folder);
  EXPECT_EQ(expected + L"\\probe" + kCrashTimeSuffix, path.file);
  // Building the path creates nothing below the shell folder.
  EXPECT_FALSE(FolderExists(ShellFolder(CSIDL_LOCAL_APPDATA) + L"\\Probe Product"));
}

TEST(CrashDumpPath, TrailingBackslashGivesNoDoubleBackslash) {
  const DumpPath path = Build(Settings(L"probe", L"C:\\dumps\\", -1));
  ASSERT_EQ(0u, path.status);
  EXPECT_EQ(L"C:\\dumps", path.folder);
  EXPECT_EQ(std::wstring(L"C:\\dumps\\probe") + kCrashTimeSuffix, path.file);
}

TEST(CrashDumpPath, VariableEndingInABackslashGivesNoDoubleBackslash) {
  EnvironmentScope variable(L"CRASHTEST_ROOT", L"C:\\crash root\\");
  const DumpPath path = Build(Settings(L"probe", L"%CRASHTEST_ROOT%", -1));
  ASSERT_EQ(0u, path.status);
  EXPECT_EQ(L"C:\\crash root", path.folder);
  EXPECT_EQ(std::wstring(L"C:\\crash root\\probe") + kCrashTimeSuffix, path.file);
}

TEST(CrashDumpPath, DriveRootAsDumpFolder) {
  const DumpPath path = Build(Settings(L"probe", L"C:\\", -1));
  ASSERT_EQ(0u, path.status);
  EXPECT_EQ(std::wstring(L"C:\\probe") + kCrashTimeSuffix, path.file);
}

TEST(CrashDumpPath, UndefinedVariableStaysAsWritten) {
  SetEnvironmentVariableW(L"CRASHTEST_UNDEFINED", nullptr);
  const DumpPath path = Build(Settings(L"probe", L"C:\\%CRASHTEST_UNDEFINED%", -1));
  ASSERT_EQ(0u, path.status);
  EXPECT_EQ(L"C:\\%CRASHTEST_UNDEFINED%", path.folder);
}

TEST(CrashDumpPath, EmptyExpansionFails) {
  EnvironmentScope variable(L"CRASHTEST_EMPTY", L"");
  wchar_t probe[8] = {};
  ASSERT_EQ(1u, ExpandEnvironmentStringsW(L"%CRASHTEST_EMPTY%", probe, 8))
      << "the variable must expand to nothing for this test";
  EXPECT_EQ(static_cast<DWORD>(ERROR_BAD_PATHNAME),
            Build(Settings(L"probe", L"%CRASHTEST_EMPTY%", -1)).status);
}

TEST(CrashDumpPath, ExpansionOver260CharactersFails) {
  EnvironmentScope variable(L"CRASHTEST_LONG", L"C:\\" + std::wstring(200, L'x'));
  // 203 + 1 + 56 = 260 characters: one more than fits with the terminator.
  const std::wstring folder = L"%CRASHTEST_LONG%\\" + std::wstring(56, L'y');
  EXPECT_EQ(static_cast<DWORD>(ERROR_FILENAME_EXCED_RANGE),
            Build(Settings(L"p", folder.c_str(), -1)).status);
}

TEST(CrashDumpPath, ShellFolderAndDumpFolderTooLongTogetherFail) {
  const std::wstring folder(259 - ShellFolder(CSIDL_LOCAL_APPDATA).size(), L'y');
  EXPECT_EQ(static_cast<DWORD>(ERROR_FILENAME_EXCED_RANGE),
            Build(Settings(L"p", folder.c_str(), CSIDL_LOCAL_APPDATA)).status);
}

TEST(CrashDumpPath, FilePathOver259CharactersFails) {
  const std::wstring folder = L"C:\\" + std::wstring(200, L'x');
  // Folder (203), backslash, name and "_YYYYMMDDhhmmss.dmp" (19): 259 characters fit.
  const std::wstring fitting(259 - 203 - 1 - 19, L'n');
  const DumpPath fits = Build(Settings(fitting.c_str(), folder.c_str(), -1));
  ASSERT_EQ(0u, fits.status);
  EXPECT_EQ(259u, fits.file.size());

  const std::wstring tooLong = fitting + L"n";
  EXPECT_EQ(static_cast<DWORD>(ERROR_FILENAME_EXCED_RANGE),
            Build(Settings(tooLong.c_str(), folder.c_str(), -1)).status);
}

TEST(CrashDumpPath, UnknownShellFolderFails) {
  EXPECT_EQ(static_cast<DWORD>(ERROR_PATH_NOT_FOUND), Build(Settings(L"probe", L"", 0x7f)).status);
}

TEST(CreateFolderPath, CreatesEveryMissingFolderAlongThePath) {
  TestFolder root;
  const std::wstring nested = root.Sub(L"one\\two\\three");
  CreateFolderPath(nested.c_str());
  EXPECT_TRUE(FolderExists(root.Sub(L"one")));
  EXPECT_TRUE(FolderExists(root.Sub(L"one\\two")));
  EXPECT_TRUE(FolderExists(nested));
}

TEST(CreateFolderPath, ExistingFoldersAndATrailingBackslashAreFine) {
  TestFolder root;
  ASSERT_TRUE(CreateDirectoryW(root.Sub(L"one").c_str(), nullptr));
  const std::wstring nested = root.Sub(L"one\\two\\");
  CreateFolderPath(nested.c_str());
  EXPECT_TRUE(FolderExists(root.Sub(L"one\\two")));
}

TEST(CreateFolderPath, FileInTheWayLeavesTheRestUncreated) {
  TestFolder root;
  ASSERT_TRUE(WriteTextFile(root.Sub(L"one"), "a file, not a folder"));
  CreateFolderPath(root.Sub(L"one\\two").c_str());
  EXPECT_TRUE(FileExists(root.Sub(L"one")));
  EXPECT_FALSE(FolderExists(root.Sub(L"one\\two")));
}
