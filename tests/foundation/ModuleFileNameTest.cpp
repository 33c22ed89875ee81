// The running module's path and its parts, and the failures of both steps.
#include <gtest/gtest.h>

#include <windows.h>

#include "DiagnosticCapture.h"
#include "VTWinModuleFileName.h"

using veltrano::VTWinModuleFileName;

TEST(ModuleFileName, RunningExecutableSplitsIntoItsParts) {
  VTWinModuleFileName name;
  ASSERT_EQ(0u, name.InitWithModuleHandle());
  EXPECT_EQ(L"foundation_tests", name.fileName);
  EXPECT_EQ(L".exe", name.extension);
  EXPECT_EQ(2u, name.drive.size());
  EXPECT_EQ(L':', name.drive[1]);
  ASSERT_FALSE(name.directory.empty());
  EXPECT_EQ(L'\\', name.directory.front());
  EXPECT_EQ(L'\\', name.directory.back());
  EXPECT_EQ(name.fullPath, name.drive + name.directory + name.fileName + name.extension);
}

TEST(ModuleFileName, OtherModuleByHandle) {
  VTWinModuleFileName name;
  ASSERT_EQ(0u, name.InitWithModuleHandle(GetModuleHandleW(L"kernel32.dll")));
  EXPECT_EQ(0, _wcsicmp(L"kernel32", name.fileName.c_str()));
  EXPECT_EQ(0, _wcsicmp(L".dll", name.extension.c_str()));
}

TEST(ModuleFileName, UnknownHandleFailsWithItsErrorAndALine) {
  DiagnosticCapture capture;
  VTWinModuleFileName name;
  name.fullPath = L"stale";
  const veltrano::Status result = name.InitWithModuleHandle(reinterpret_cast<HMODULE>(0x10));
  EXPECT_NE(0u, result);
  EXPECT_EQ(0u, result & 0xFFFF0000u);  // a Windows error code
  EXPECT_TRUE(name.fullPath.empty());
  ASSERT_EQ(1u, capture.Lines().size());
  char expected[160];
  std::snprintf(expected, sizeof expected,
                "ERROR: veltrano::VTWinModuleFileName::InitWithModuleHandle: GetModuleFileName "
                "failed, err=0x%08x\n",
                static_cast<unsigned>(result));
  EXPECT_EQ(expected, capture.Lines()[0]);
}

TEST(ModuleFileName, PathsWithoutSomePartsSplit) {
  VTWinModuleFileName name;
  name.fullPath = L"\\\\server\\share\\tools\\README";
  ASSERT_EQ(0u, name.InitPathComponents());
  EXPECT_EQ(L"", name.drive);
  EXPECT_EQ(L"\\\\server\\share\\tools\\", name.directory);
  EXPECT_EQ(L"README", name.fileName);
  EXPECT_EQ(L"", name.extension);

  name.fullPath = L"C:\\a.b\\archive.tar.gz";
  ASSERT_EQ(0u, name.InitPathComponents());
  EXPECT_EQ(L"archive.tar", name.fileName);
  EXPECT_EQ(L".gz", name.extension);
}

TEST(ModuleFileName, FileNameOver255CharactersFailsWithErrno) {
  DiagnosticCapture capture;
  VTWinModuleFileName name;
  name.fullPath = L"C:\\dir\\" + std::wstring(300, L'n') + L".exe";
  const veltrano::Status result = name.InitPathComponents();
  EXPECT_EQ(0xE0010000u, result & 0xFFFF0000u);
  EXPECT_EQ(0xE0010000u | 34u, result);  // ERANGE
  ASSERT_EQ(1u, capture.Lines().size());
  EXPECT_EQ(0u, capture.Lines()[0].rfind(
                    "ERROR: veltrano::VTWinModuleFileName::InitPathComponents: _wsplitpath_s(C:\\dir\\nnn",
                    0))
      << capture.Lines()[0];
  EXPECT_NE(std::string::npos, capture.Lines()[0].find(") failed, err=34\n"));
}
