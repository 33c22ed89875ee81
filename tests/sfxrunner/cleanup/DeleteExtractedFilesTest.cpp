// The clean-up task: it always succeeds, deletes what it can, and waits a bounded time for
// files that other programs still hold open with delete sharing.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <thread>

#include "CleanupFixtures.h"
#include "DeleteExtractedFiles.h"

namespace status = veltrano::status;
using cleanuptest::Exists;
using cleanuptest::HasOriginalText;
using cleanuptest::HoldOpen;
using cleanuptest::LinkedFolder;
using cleanuptest::MakeFile;
using cleanuptest::MakeFolders;

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
constexpr DWORD kShareNoDelete = FILE_SHARE_READ | FILE_SHARE_WRITE;
constexpr uint32_t kStaleExitValue = 0xDEADBEEF;

// The retry limit is shortened for the tests; loose bounds around it, as test machines stall.
constexpr uint32_t kRetryLimitMs = 1500;
constexpr long long kGiveUpAtLeastMs = kRetryLimitMs - 50;
constexpr long long kGiveUpAtMostMs = kRetryLimitMs + 2500;
constexpr long long kNoWaitMs = 1000;
constexpr long long kReleaseAfterMs = 300;

class DeleteExtractedFilesTask : public ::testing::Test {
 protected:
  // extracted\setup.exe, extracted\drivers\x86\driver.sys, extracted\drivers\x86\driver.inf
  std::wstring MakeExtractedTree() {
    const std::wstring tree = scratch_.File(L"extracted");
    EXPECT_TRUE(MakeFolders(tree + L"\\drivers\\x86"));
    EXPECT_TRUE(MakeFile(tree + L"\\setup.exe"));
    EXPECT_TRUE(MakeFile(tree + L"\\drivers\\x86\\driver.sys", FILE_ATTRIBUTE_READONLY));
    EXPECT_TRUE(MakeFile(tree + L"\\drivers\\x86\\driver.inf"));
    return tree;
  }

  // Runs the task on `folder`; returns its status and stores its exit value and duration.
  Status RunTask(const std::wstring& folder) {
    DeleteExtractedFiles task;
    task.SetTargetFolder(folder);
    task.retryLimitMs = kRetryLimitMs;
    exitValue_ = kStaleExitValue;
    const auto start = std::chrono::steady_clock::now();
    const Status result = task.Run(&exitValue_);
    elapsedMs_ = std::chrono::duration_cast<std::chrono::milliseconds>(
                     std::chrono::steady_clock::now() - start)
                     .count();
    return result;
  }

  void Report(const char* what) const {
    std::printf("[ measured ] %s: %lld ms\n", what, elapsedMs_);
  }

  uitest::ScratchFolder scratch_;
  uint32_t exitValue_ = kStaleExitValue;
  long long elapsedMs_ = 0;
};

TEST_F(DeleteExtractedFilesTask, IsTheDeletionStepWithDefaultSettings) {
  const DeleteExtractedFiles task;
  EXPECT_EQ(L"Extracted files are being deleted. Please wait...", task.description);
  EXPECT_TRUE(task.GetTargetFolder().empty());
  EXPECT_FALSE(task.hideProgress);
  EXPECT_EQ(0u, task.minDurationMs);
}

TEST_F(DeleteExtractedFilesTask, DeletesTheWholeTreeIncludingReadOnlyFiles) {
  const std::wstring tree = MakeExtractedTree();
  EXPECT_EQ(status::kOk, RunTask(tree));
  EXPECT_EQ(0u, exitValue_);
  EXPECT_FALSE(Exists(tree));
  EXPECT_TRUE(Exists(scratch_.Path()));
}

TEST_F(DeleteExtractedFilesTask, MissingFolderSucceedsAndTouchesNothing) {
  const std::wstring neighbour = scratch_.File(L"neighbour.txt");
  ASSERT_TRUE(MakeFile(neighbour));
  EXPECT_EQ(status::kOk, RunTask(scratch_.File(L"never-extracted")));
  EXPECT_EQ(0u, exitValue_);
  EXPECT_FALSE(Exists(scratch_.File(L"never-extracted")));
  EXPECT_TRUE(HasOriginalText(neighbour));
  EXPECT_LT(elapsedMs_, kNoWaitMs);
}

TEST_F(DeleteExtractedFilesTask, UnsetFolderDeletesNothingInTheCurrentFolder) {
  const std::wstring file = scratch_.File(L"current.txt");
  ASSERT_TRUE(MakeFile(file));
  wchar_t previous[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, previous);
  ASSERT_TRUE(SetCurrentDirectoryW(scratch_.Path().c_str()));
  const Status result = RunTask(L"");
  SetCurrentDirectoryW(previous);
  EXPECT_EQ(status::kOk, result);
  EXPECT_TRUE(HasOriginalText(file));
}

TEST(DeleteExtractedFilesDefaults, RetriesForFiveSeconds) {
  EXPECT_EQ(5000u, DeleteExtractedFiles().retryLimitMs);
}

TEST_F(DeleteExtractedFilesTask, NullExitValueIsAccepted) {
  const std::wstring tree = MakeExtractedTree();
  DeleteExtractedFiles task;
  task.SetTargetFolder(tree);
  EXPECT_EQ(status::kOk, task.Run(nullptr));
  EXPECT_FALSE(Exists(tree));
}

TEST_F(DeleteExtractedFilesTask, FileHeldWithoutDeleteSharingStaysAndTheTaskDoesNotWait) {
  const std::wstring tree = MakeExtractedTree();
  const std::wstring held = tree + L"\\drivers\\x86\\driver.inf";
  const uitest::UniqueHandle holder = HoldOpen(held, kShareNoDelete);
  ASSERT_TRUE(holder.IsValid());
  EXPECT_EQ(status::kOk, RunTask(tree));
  Report("held without delete sharing");
  EXPECT_EQ(0u, exitValue_);
  EXPECT_LT(elapsedMs_, kNoWaitMs);
  EXPECT_TRUE(HasOriginalText(held));
  EXPECT_FALSE(Exists(tree + L"\\setup.exe"));
  EXPECT_FALSE(Exists(tree + L"\\drivers\\x86\\driver.sys"));
}

TEST_F(DeleteExtractedFilesTask, FileReleasedSoonAfterIsWaitedForAndEverythingGoes) {
  const std::wstring tree = MakeExtractedTree();
  uitest::UniqueHandle holder = HoldOpen(tree + L"\\drivers\\x86\\driver.inf", kShareAll);
  ASSERT_TRUE(holder.IsValid());
  std::thread releaser([&holder] {
    Sleep(kReleaseAfterMs);
    holder.Reset();
  });
  const Status result = RunTask(tree);
  releaser.join();
  Report("released after 300 ms");
  EXPECT_EQ(status::kOk, result);
  EXPECT_EQ(0u, exitValue_);
  EXPECT_FALSE(Exists(tree));
  EXPECT_GE(elapsedMs_, kReleaseAfterMs - 50);
  EXPECT_LT(elapsedMs_, kGiveUpAtLeastMs);
}

TEST_F(DeleteExtractedFilesTask, FileNeverReleasedIsGivenUpAfterTheRetryLimit) {
  const std::wstring tree = MakeExtractedTree();
  uitest::UniqueHandle holder = HoldOpen(tree + L"\\drivers\\x86\\driver.inf", kShareAll);
  ASSERT_TRUE(holder.IsValid());
  const Status result = RunTask(tree);
  Report("never released");
  EXPECT_EQ(status::kOk, result);
  EXPECT_EQ(0u, exitValue_);
  EXPECT_GE(elapsedMs_, kGiveUpAtLeastMs);
  EXPECT_LT(elapsedMs_, kGiveUpAtMostMs);
  EXPECT_TRUE(Exists(tree + L"\\drivers\\x86"));
  EXPECT_FALSE(Exists(tree + L"\\setup.exe"));
  holder.Reset();
}

TEST_F(DeleteExtractedFilesTask, SystemFileStaysWithItsFoldersAndTheTaskSucceeds) {
  const std::wstring tree = MakeExtractedTree();
  const std::wstring systemFile = tree + L"\\drivers\\x86\\catalog.dat";
  ASSERT_TRUE(MakeFile(systemFile, FILE_ATTRIBUTE_SYSTEM));
  ASSERT_NE(0u, GetFileAttributesW(systemFile.c_str()) & FILE_ATTRIBUTE_SYSTEM)
      << "Wine keeps the system attribute in the file's extended attributes";
  EXPECT_EQ(status::kOk, RunTask(tree));
  Report("system file");
  EXPECT_EQ(0u, exitValue_);
  EXPECT_LT(elapsedMs_, kNoWaitMs);
  EXPECT_TRUE(HasOriginalText(systemFile));
  EXPECT_FALSE(Exists(tree + L"\\drivers\\x86\\driver.inf"));
  EXPECT_FALSE(Exists(tree + L"\\setup.exe"));
}

TEST_F(DeleteExtractedFilesTask, LinkedFolderInTheTreeKeepsItsTarget) {
  const std::wstring target = scratch_.File(L"user-data");
  ASSERT_TRUE(MakeFolders(target));
  ASSERT_TRUE(MakeFile(target + L"\\settings.ini"));
  const std::wstring tree = MakeExtractedTree();
  const LinkedFolder link(tree + L"\\drivers\\data", target);
  ASSERT_TRUE(link.IsMade()) << "a Unix symbolic link in the prefix shows as a linked folder";
  EXPECT_EQ(status::kOk, RunTask(tree));
  EXPECT_EQ(0u, exitValue_);
  EXPECT_TRUE(HasOriginalText(target + L"\\settings.ini"));
  EXPECT_FALSE(Exists(tree + L"\\drivers\\x86"));
}

}  // namespace
