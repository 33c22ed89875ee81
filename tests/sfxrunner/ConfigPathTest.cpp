// Path values: known folders by name, program files, environment variables.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include "ConfigPath.h"

namespace status = veltrano::status;

TEST(ConfigPath, PlainTextOnlyExpandsVariables) {
  SetEnvironmentVariableW(L"VT_PATH_TEST", L"D:\\x");
  std::wstring path;
  ASSERT_EQ(0u, ExpandConfigPath(L"%VT_PATH_TEST%\\y;%VT_PATH_UNSET%", path));
  EXPECT_EQ(L"D:\\x\\y;%VT_PATH_UNSET%", path);
  ASSERT_EQ(0u, ExpandConfigPath(L"relative\\a${FOLDERID_Windows}", path));
  EXPECT_EQ(L"relative\\a${FOLDERID_Windows}", path);  // "${" counts only at the start
}

TEST(ConfigPath, KnownFolderPrefixHasNoSeparatorAdded) {
  std::wstring path;
  ASSERT_EQ(0u, ExpandConfigPath(L"${FOLDERID_Windows}x", path));
  wchar_t windows[MAX_PATH] = {};
  GetWindowsDirectoryW(windows, MAX_PATH);
  EXPECT_EQ(std::wstring(windows) + L"x", path);
}

TEST(ConfigPath, AllKnownFolderNamesAreMapped) {
  const wchar_t* samples[] = {L"FOLDERID_AccountPictures", L"FOLDERID_SEARCH_CSC",
                              L"FOLDERID_VideosLibrary", L"FOLDERID_Windows",
                              L"FOLDERID_ProgramFilesX64", L"FOLDERID_SkyDriveCameraRoll"};
  for (const wchar_t* name : samples) EXPECT_NE(nullptr, FindKnownFolder(name)) << name;
  EXPECT_EQ(&FOLDERID_LocalAppData, FindKnownFolder(L"FOLDERID_LocalAppData"));
  EXPECT_EQ(nullptr, FindKnownFolder(L"FOLDERID_localappdata"));
  EXPECT_EQ(nullptr, FindKnownFolder(L"LocalAppData"));
  EXPECT_EQ(nullptr, FindKnownFolder(L"FOLDERID_"));
}

TEST(ConfigPath, KnownFolderFailureIsTheShellsHresult) {
  // Some known folders do not exist on every system (ProgramFilesX64 on 32-bit Windows): the
  // shell's own answer is passed on either way.
  PWSTR direct = nullptr;
  const HRESULT expected =
      SHGetKnownFolderPath(FOLDERID_ProgramFilesX64, KF_FLAG_CREATE | KF_FLAG_INIT, nullptr, &direct);
  std::wstring path;
  const Status result = ExpandConfigPath(L"${FOLDERID_ProgramFilesX64}\\x", path);
  if (FAILED(expected)) {
    EXPECT_EQ(static_cast<Status>(expected), result);
  } else {
    EXPECT_EQ(0u, result);
    EXPECT_EQ(std::wstring(direct) + L"\\x", path);
  }
  CoTaskMemFree(direct);
}

TEST(ConfigPath, UnclosedOrUnknownNameIsInvalid) {
  std::wstring path;
  EXPECT_EQ(status::kInvalidData, ExpandConfigPath(L"${PROGRAM_FILES", path));
  EXPECT_EQ(status::kInvalidData, ExpandConfigPath(L"${Program_Files}", path));
  EXPECT_EQ(status::kInvalidData, ExpandConfigPath(L"${ FOLDERID_Windows}", path));
}
