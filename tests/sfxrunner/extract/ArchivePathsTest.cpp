// Item paths: which ones stay inside the target folder, how they split into folders, and how
// a target folder gets its trailing backslash.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ArchivePaths.h"

TEST(IsSafeItemPath, OrdinaryRelativePathsAreAccepted) {
  for (const wchar_t* path : {L"setup.exe", L"driver\\x86\\audio.sys", L"a/b/c.txt",
                              L"name.with.dots", L"..name", L"name..", L"dir\\.hidden"}) {
    EXPECT_TRUE(IsSafeItemPath(path)) << path;
  }
}

TEST(IsSafeItemPath, ParentPartsAreRejected) {
  for (const wchar_t* path : {L"..\\x", L"../x", L"a\\..\\..\\x", L"a/../x", L"..", L"a\\.."}) {
    EXPECT_FALSE(IsSafeItemPath(path));
  }
}

TEST(IsSafeItemPath, PartsThatWindowsTrimsToParentAreRejected) {
  for (const wchar_t* path : {L"...\\x", L".. \\x", L". .\\x", L"a\\.\\x"}) {
    EXPECT_FALSE(IsSafeItemPath(path));
  }
}

TEST(IsSafeItemPath, DriveLettersAreRejected) {
  for (const wchar_t* path : {L"C:x", L"C:\\x", L"c:/windows/x"}) {
    EXPECT_FALSE(IsSafeItemPath(path));
  }
}

TEST(IsSafeItemPath, RootedAndUncPathsAreRejected) {
  for (const wchar_t* path : {L"\\x", L"/x", L"\\\\server\\share\\x", L"//server/share/x",
                              L"\\\\?\\C:\\x"}) {
    EXPECT_FALSE(IsSafeItemPath(path));
  }
}

TEST(IsSafeItemPath, StreamNamesAreRejected) {
  EXPECT_FALSE(IsSafeItemPath(L"x:stream"));
  EXPECT_FALSE(IsSafeItemPath(L"dir\\file.txt:hidden:$DATA"));
}

TEST(IsSafeItemPath, StoredBackslashesCountAsSeparators) {
  const std::wstring storedBackslash(1, wchar_t(0xF05C));
  EXPECT_FALSE(IsSafeItemPath(L".." + storedBackslash + L"x"));
  EXPECT_FALSE(IsSafeItemPath(storedBackslash + L"x"));
  EXPECT_TRUE(IsSafeItemPath(L"a" + storedBackslash + L"b"));
}

TEST(IsSafeItemPath, EmptyPathIsRejected) { EXPECT_FALSE(IsSafeItemPath(L"")); }

TEST(SplitItemPath, SplitsAtBothSeparatorsAndDropsEmptyParts) {
  const std::vector<std::wstring> parts = SplitItemPath(L"a\\b//c/");
  EXPECT_EQ((std::vector<std::wstring>{L"a", L"b", L"c"}), parts);
}

TEST(SplitItemPath, SeparatorsOnlyGiveNoParts) { EXPECT_TRUE(SplitItemPath(L"\\/").empty()); }

TEST(WithTrailingSeparator, AddsABackslashOnlyWhenMissing) {
  EXPECT_EQ(L"C:\\t\\", WithTrailingSeparator(L"C:\\t"));
  EXPECT_EQ(L"C:\\t\\", WithTrailingSeparator(L"C:\\t\\"));
  EXPECT_EQ(L"C:\\t/", WithTrailingSeparator(L"C:\\t/"));
}
