// The stub as a user meets it: packages made with the package tool, started under Wine, their
// message boxes read and answered, their full exit codes checked.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "StubPackage.h"
#include "UiDriver.h"

namespace {

// Writing a full-memory dump and Wine's crash report take a while.
constexpr DWORD kCrashTimeoutMs = 180000;
constexpr uint32_t kAccessViolation = 0xC0000005;

const char kArm64Only[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<SelfExtractor FormatVersionMajor=\"2\" FormatVersionMinor=\"0\"><Launch><CommandSet>"
    "<Command Id=\"arm\"><ProcessorArchitectureSet><ProcessorArchitecture>ARM64"
    "</ProcessorArchitecture></ProcessorArchitectureSet><LanguageTagSet><LanguageTag>en"
    "</LanguageTag></LanguageTagSet><CreateProcess><Executable>setup.exe</Executable>"
    "</CreateProcess></Command></CommandSet></Launch></SelfExtractor>\n";

class SfxRunner : public ::testing::Test {
 protected:
  std::wstring Package(const wchar_t* name, const char* config) {
    return MakePackage(folder_, name, config);
  }
  RunResult Run(const std::wstring& program, const std::wstring& args = L"",
                const uitest::StartOptions& options = {}, DWORD timeoutMs = kStubTimeoutMs) {
    return RunAnsweringBoxes(program, args, options, timeoutMs);
  }

  uitest::ScratchFolder folder_;
};

}  // namespace

TEST_F(SfxRunner, MalformedDocumentFailsUnderTheBareCaption) {
  const RunResult result = Run(Package(L"broken.exe", "<SelfExtractor FormatVersionMajor="));
  EXPECT_EQ(0xEE000057u, result.exitCode);
  ASSERT_EQ(1u, result.boxes.size());
  EXPECT_EQ(L"Failed.", result.boxes[0]);
  EXPECT_EQ(L" Self Extractor", result.caption);
}

TEST_F(SfxRunner, WrongVersionFailsWithItsCode) {
  const RunResult result = Run(Package(
      L"v21.exe", "<SelfExtractor FormatVersionMajor=\"2\" FormatVersionMinor=\"1\"/>"));
  EXPECT_EQ(0xEE000051u, result.exitCode);
  ASSERT_EQ(1u, result.boxes.size());
  EXPECT_EQ(L"Failed.", result.boxes[0]);
  EXPECT_EQ(L" Self Extractor", result.caption);
}

TEST_F(SfxRunner, FailureAfterTheTitleUsesTheTitle) {
  const RunResult result = Run(Package(
      L"titled.exe",
      "<SelfExtractor FormatVersionMajor=\"2\" FormatVersionMinor=\"0\"><Title>Audio Tools"
      "</Title><Extract><ProgressDialog><Enabled>maybe</Enabled></ProgressDialog></Extract>"
      "</SelfExtractor>"));
  EXPECT_EQ(0xEE000051u, result.exitCode);
  EXPECT_EQ(L" Audio Tools", result.caption);
}

TEST_F(SfxRunner, MissingVersionIsNotFound) {
  const RunResult result = Run(Package(L"nover.exe", "<SelfExtractor/>"));
  EXPECT_EQ(0xEE000039u, result.exitCode);
  ASSERT_EQ(1u, result.boxes.size());
  EXPECT_EQ(L"Failed.", result.boxes[0]);
}

TEST_F(SfxRunner, Arm64OnlyCommandsAreAnUnsupportedPlatform) {
  const RunResult result = Run(Package(L"arm64.exe", kArm64Only));
  EXPECT_EQ(1633u, result.exitCode);
  ASSERT_EQ(1u, result.boxes.size());
  EXPECT_EQ(L"The current platform is not supported.", result.boxes[0]);
  EXPECT_EQ(L" Setup", result.caption);
}

TEST_F(SfxRunner, ShippedStubWithoutArchiveFailsToExtract) {
  uitest::StartOptions options;
  const std::wstring temp = folder_.File(L"temp");
  options.environment = {{L"TEMP", temp}, {L"TMP", temp}};
  const RunResult result = Run(Package(L"Setup.exe", nullptr), L"", options);
  EXPECT_EQ(0xEE000001u, result.exitCode);
  ASSERT_EQ(1u, result.boxes.size());
  EXPECT_EQ(L"Failed.", result.boxes[0]);
  EXPECT_EQ(L" Setup", result.caption);
}

TEST_F(SfxRunner, CrashWritesAFullDumpIntoANewTempFolder) {
  const std::wstring temp = folder_.File(L"not\\yet\\there");
  uitest::StartOptions options;
  options.environment.push_back({L"TEMP", temp});
  SYSTEMTIME before;
  GetLocalTime(&before);
  const RunResult result =
      Run(BuildFile(SFXRUNNER_CRASHTEST_EXE), L"--test-crash", options, kCrashTimeoutMs);
  EXPECT_EQ(kAccessViolation, result.exitCode);
  const std::vector<std::wstring> files = uitest::ListFolder(temp);
  ASSERT_EQ(1u, files.size());
  const std::wstring& name = files[0];
  // sfxrunner_YYYYMMDDhhmmss.dmp, dated today
  ASSERT_EQ(L"sfxrunner_", name.substr(0, 10));
  ASSERT_EQ(28u, name.size());
  EXPECT_EQ(L".dmp", name.substr(24));
  wchar_t date[9];
  swprintf(date, 9, L"%04u%02u%02u", before.wYear, before.wMonth, before.wDay);
  EXPECT_EQ(date, name.substr(10, 8));
  std::string bytes;
  ASSERT_TRUE(uitest::ReadFileBytes(temp + L"\\" + name, bytes));
  EXPECT_EQ("MDMP", bytes.substr(0, 4));
  EXPECT_GT(bytes.size(), 1000000u);  // full memory, not a small dump
}

TEST_F(SfxRunner, ShippedStubHasNoCrashSwitch) {
  const std::wstring temp = folder_.File(L"dumps");
  uitest::StartOptions options;
  options.environment.push_back({L"TEMP", temp});
  const RunResult result = Run(Package(L"Setup.exe", nullptr), L"--test-crash", options);
  EXPECT_EQ(0xEE002003u, result.exitCode);  // an unknown option
  EXPECT_FALSE(uitest::FileExists(temp));
}
