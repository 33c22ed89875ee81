// The extraction task over real archives: every method the stub decodes, the target folder's
// creation, replaced and removed files, missing names and times, and every way to fail.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "ExtractFiles.h"
#include "ExtractFixtures.h"
#include "UiFiles.h"

using extracttest::Extract;
using extracttest::FixturePath;
using extracttest::SameTree;
using veltrano::status::kFailed;
using veltrano::status::kOk;

namespace {

class ExtractFilesTest : public ::testing::Test {
 protected:
  std::wstring Target() const { return scratch_.File(L"target"); }
  std::wstring TargetFile(const std::wstring& name) const { return Target() + L"\\" + name; }
  std::wstring Scratch(const std::wstring& name) const { return scratch_.File(name); }
  const std::wstring& ScratchRoot() const { return scratch_.Path(); }

 private:
  uitest::ScratchFolder scratch_;
};

class ExtractMethodTest : public ExtractFilesTest,
                          public ::testing::WithParamInterface<const char*> {};

bool ContentOf(const std::wstring& path, std::string& bytes) {
  return uitest::ReadFileBytes(path, bytes);
}

}  // namespace

TEST_P(ExtractMethodTest, EveryFileIsByteIdentical) {
  ASSERT_EQ(kOk, Extract(FixturePath(std::string(GetParam()) + ".7z"), Target()));
  EXPECT_TRUE(SameTree(FixturePath("input/main"), Target()));
}

INSTANTIATE_TEST_SUITE_P(Methods, ExtractMethodTest,
                         ::testing::Values("lzma2bcj", "lzma", "ppmd", "bcj2", "delta", "swap4",
                                           "copy"));

TEST_F(ExtractFilesTest, PackageWithAppendedArchiveIsExtracted) {
  const std::wstring package = Scratch(L"package.exe");
  ASSERT_TRUE(extracttest::MakePackage(FixturePath("lzma2bcj.7z"), package));
  ASSERT_EQ(kOk, Extract(package, Target()));
  EXPECT_TRUE(SameTree(FixturePath("input/main"), Target()));
}

TEST_F(ExtractFilesTest, NestedFoldersAreCreated) {
  ASSERT_EQ(kOk, Extract(FixturePath("copy.7z"), Target()));
  std::string expected;
  std::string actual;
  ASSERT_TRUE(ContentOf(FixturePath("input/main/nested/deeper/deepest/leaf.txt"), expected));
  ASSERT_TRUE(ContentOf(TargetFile(L"nested\\deeper\\deepest\\leaf.txt"), actual));
  EXPECT_EQ(expected, actual);
}

TEST_F(ExtractFilesTest, TargetWithoutTrailingBackslashAndMissingParentsIsCreated) {
  const std::wstring target = Scratch(L"one\\two\\three");
  ASSERT_EQ(kOk, Extract(FixturePath("copy.7z"), target));
  EXPECT_TRUE(SameTree(FixturePath("input/main"), target));
}

TEST_F(ExtractFilesTest, TargetEndingInSlashIsUsedAsItIs) {
  ASSERT_EQ(kOk, Extract(FixturePath("copy.7z"), Target() + L"/"));
  EXPECT_TRUE(SameTree(FixturePath("input/main"), Target()));
}

TEST_F(ExtractFilesTest, TargetBelowAFileFailsWithTheWindowsError) {
  ASSERT_TRUE(uitest::WriteFileBytes(Scratch(L"file"), "x"));
  const veltrano::Status status = Extract(FixturePath("copy.7z"), Scratch(L"file\\sub"));
  EXPECT_NE(kOk, status);
  EXPECT_NE(kFailed, status);
  EXPECT_LT(status, 0x10000u) << "a Windows error code";
}

TEST_F(ExtractFilesTest, ReadOnlyFileOnDiskIsReplaced) {
  ASSERT_TRUE(CreateDirectoryW(Target().c_str(), nullptr));
  ASSERT_TRUE(uitest::WriteFileBytes(TargetFile(L"text.txt"), "old content"));
  ASSERT_TRUE(SetFileAttributesW(TargetFile(L"text.txt").c_str(), FILE_ATTRIBUTE_READONLY));
  ASSERT_EQ(kOk, Extract(FixturePath("copy.7z"), Target()));
  EXPECT_TRUE(SameTree(FixturePath("input/main"), Target()));
}

TEST_F(ExtractFilesTest, FilesTheArchiveDoesNotHoldAreLeftAlone) {
  ASSERT_TRUE(CreateDirectoryW(Target().c_str(), nullptr));
  ASSERT_TRUE(uitest::WriteFileBytes(TargetFile(L"mine.txt"), "mine"));
  ASSERT_EQ(kOk, Extract(FixturePath("copy.7z"), Target()));
  std::string mine;
  ASSERT_TRUE(ContentOf(TargetFile(L"mine.txt"), mine));
  EXPECT_EQ("mine", mine);
}

TEST_F(ExtractFilesTest, StoredModificationTimesAreApplied) {
  ASSERT_EQ(kOk, Extract(FixturePath("copy.7z"), Target()));
  FILETIME stored{};
  FILETIME extracted{};
  ASSERT_TRUE(extracttest::GetLastWriteTime(FixturePath("input/main/text.txt"), stored));
  ASSERT_TRUE(extracttest::GetLastWriteTime(TargetFile(L"text.txt"), extracted));
  EXPECT_EQ(0, CompareFileTime(&stored, &extracted));
}

TEST_F(ExtractFilesTest, ItemWithoutNameIsWrittenAsDefault) {
  ASSERT_EQ(kOk, Extract(FixturePath("crafted/noname.7z"), Target()));
  EXPECT_TRUE(SameTree(FixturePath("crafted/noname.expected"), Target()));
}

TEST_F(ExtractFilesTest, ItemWithoutTimeGetsTheSourceFilesLastWriteTime) {
  const std::wstring source = Scratch(L"notime.7z");
  ASSERT_TRUE(CopyFileW(FixturePath("crafted/notime.7z").c_str(), source.c_str(), FALSE));
  SYSTEMTIME chosen{2019, 5, 0, 17, 8, 30, 15, 0};
  FILETIME sourceTime{};
  ASSERT_TRUE(SystemTimeToFileTime(&chosen, &sourceTime));
  ASSERT_TRUE(extracttest::SetLastWriteTime(source, sourceTime));

  ASSERT_EQ(kOk, Extract(source, Target()));
  FILETIME extracted{};
  ASSERT_TRUE(extracttest::GetLastWriteTime(TargetFile(L"notime.txt"), extracted));
  EXPECT_EQ(0, CompareFileTime(&sourceTime, &extracted));
  EXPECT_TRUE(SameTree(FixturePath("crafted/notime.expected"), Target()));
}

TEST_F(ExtractFilesTest, AntiItemsRemoveTheirFileAndFolder) {
  ASSERT_TRUE(CreateDirectoryW(Target().c_str(), nullptr));
  ASSERT_TRUE(uitest::WriteFileBytes(TargetFile(L"gone.txt"), "to be removed"));
  ASSERT_TRUE(CreateDirectoryW(TargetFile(L"gonedir").c_str(), nullptr));
  ASSERT_EQ(kOk, Extract(FixturePath("crafted/anti.7z"), Target()));
  EXPECT_TRUE(SameTree(FixturePath("crafted/anti.expected"), Target()));
}

TEST_F(ExtractFilesTest, FolderRemovedByAnAntiItemIsMadeAgainForALaterFile) {
  ASSERT_EQ(kOk, Extract(FixturePath("crafted/regrown.7z"), Target()));
  EXPECT_TRUE(SameTree(FixturePath("crafted/regrown.expected"), Target()));
}

TEST_F(ExtractFilesTest, ExistingFileOnDiskIsReplaced) {
  ASSERT_TRUE(CreateDirectoryW(Target().c_str(), nullptr));
  ASSERT_TRUE(uitest::WriteFileBytes(TargetFile(L"text.txt"), "old content, longer than the new"));
  ASSERT_EQ(kOk, Extract(FixturePath("copy.7z"), Target()));
  EXPECT_TRUE(SameTree(FixturePath("input/main"), Target()));
}

TEST_F(ExtractFilesTest, EncryptedItemFailsAndEarlierFilesStay) {
  EXPECT_EQ(kFailed, Extract(FixturePath("encrypted.7z"), Target()));
  std::string expected;
  std::string actual;
  ASSERT_TRUE(ContentOf(FixturePath("input/enc/a_plain.txt"), expected));
  ASSERT_TRUE(ContentOf(TargetFile(L"a_plain.txt"), actual));
  EXPECT_EQ(expected, actual);
}

TEST_F(ExtractFilesTest, CrcErrorFailsAndEarlierFilesStay) {
  EXPECT_EQ(kFailed, Extract(FixturePath("crafted/crcerror.7z"), Target()));
  std::string expected;
  std::string actual;
  ASSERT_TRUE(ContentOf(FixturePath("crafted/crcerror.expected/good.txt"), expected));
  ASSERT_TRUE(ContentOf(TargetFile(L"good.txt"), actual));
  EXPECT_EQ(expected, actual);
}

TEST_F(ExtractFilesTest, TruncatedArchiveFails) {
  EXPECT_EQ(kFailed, Extract(FixturePath("crafted/truncated.7z"), Target()));
}

TEST_F(ExtractFilesTest, ExecutableWithNothingAppendedFails) {
  const std::wstring plain = Scratch(L"plain.exe");
  ASSERT_TRUE(extracttest::CopyOwnExecutable(plain));
  EXPECT_EQ(kFailed, Extract(plain, Target()));
}

TEST_F(ExtractFilesTest, RunningExecutableIsTheDefaultSource) {
  // This test program carries no archive, so extracting "itself" fails like a bare stub.
  EXPECT_EQ(kFailed, Extract(L"", Target()));
}

TEST_F(ExtractFilesTest, MissingSourceFails) {
  EXPECT_EQ(kFailed, Extract(Scratch(L"absent.exe"), Target()));
  EXPECT_FALSE(uitest::FileExists(Target()));
}

TEST_F(ExtractFilesTest, SuccessLeavesTheExitValueAtZero) {
  ExtractFiles task;
  task.sourcePath = FixturePath("copy.7z");
  task.targetFolder = Target();
  uint32_t exitValue = 0;
  ASSERT_EQ(kOk, task.Run(&exitValue));
  EXPECT_EQ(0u, exitValue);
}

class HostilePathTest : public ExtractFilesTest,
                        public ::testing::WithParamInterface<const char*> {};

TEST_P(HostilePathTest, ItemFailsAndNothingIsWrittenOutsideTheTarget) {
  const std::string name = std::string("crafted/hostile_") + GetParam();
  EXPECT_EQ(kFailed, Extract(FixturePath(name + ".7z"), Target()));
  EXPECT_EQ(std::vector<std::wstring>{L"target"}, uitest::ListFolder(ScratchRoot()));
  EXPECT_TRUE(SameTree(FixturePath(name + ".expected"), Target()));
}

INSTANTIATE_TEST_SUITE_P(StoredPaths, HostilePathTest,
                         ::testing::Values("parent", "parent_inner", "drive", "rooted", "unc",
                                           "stream", "parent_backslash", "rooted_backslash",
                                           "unc_backslash", "dots"));
