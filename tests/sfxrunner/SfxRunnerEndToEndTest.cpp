// The stub as a user meets it: packages made with the package tool, started under Wine, their
// message boxes read and answered, their full exit codes checked.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "UiDriver.h"

namespace {

constexpr DWORD kTimeoutMs = 30000;
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

struct RunResult {
  std::vector<std::wstring> boxes;  // texts of the message boxes, in order
  std::wstring caption;             // caption of the first box
  uint32_t exitCode = 0;
};

class SfxRunner : public ::testing::Test {
 protected:
  // A package of the stub with `config` as its document ("" removes it, null keeps the
  // shipped one), named `name`.
  std::wstring Package(const wchar_t* name, const char* config) {
    const std::wstring package = folder_.File(name);
    std::wstring args = L"--stub " + uitest::QuoteArgument(uitest::WindowsPathOf(SFXRUNNER_EXE)) +
                        L" --out " + uitest::QuoteArgument(package);
    if (config == nullptr) {
      args += L" --keep-config";
    } else if (*config == '\0') {
      args += L" --no-config";
    } else {
      const std::wstring doc = folder_.File(L"config.xml");
      EXPECT_TRUE(uitest::WriteFileBytes(doc, config));
      args += L" --config " + uitest::QuoteArgument(doc);
    }
    uitest::Process tool;
    EXPECT_EQ(0u, tool.Start(uitest::WindowsPathOf(SFXPACK_EXE), args));
    EXPECT_TRUE(tool.WaitForExit(kTimeoutMs));
    EXPECT_EQ(0u, tool.ExitCode());
    return package;
  }

  // Starts the program, answers every message box it shows and waits for its end.
  RunResult Run(const std::wstring& program, const std::wstring& args = L"",
                const uitest::StartOptions& options = {}, DWORD timeoutMs = kTimeoutMs) {
    RunResult result;
    uitest::Process process;
    EXPECT_EQ(0u, process.Start(program, args, options));
    const DWORD start = GetTickCount();
    while (!process.WaitForExit(100) && GetTickCount() - start < timeoutMs) {
      if (HWND box = uitest::FindMessageBox(process)) {
        if (result.boxes.empty()) result.caption = uitest::WindowText(box);
        result.boxes.push_back(uitest::ControlText(box, uitest::kMessageBoxTextId));
        uitest::AnswerMessageBox(box);
      }
    }
    EXPECT_TRUE(process.WaitForExit(0)) << "the program did not end";
    result.exitCode = process.ExitCode();
    return result;
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

TEST_F(SfxRunner, WithoutDocumentItRunsInExtractModeQuietly) {
  const RunResult result = Run(Package(L"NoConfig.exe", ""));
  EXPECT_EQ(0u, result.exitCode);
  EXPECT_TRUE(result.boxes.empty());
}

TEST_F(SfxRunner, ShippedDocumentPassesEveryCheckOnThisMachine) {
  const RunResult result = Run(Package(L"Setup.exe", nullptr));
  EXPECT_EQ(0u, result.exitCode);
  EXPECT_TRUE(result.boxes.empty());
}

TEST_F(SfxRunner, CrashWritesAFullDumpIntoANewTempFolder) {
  const std::wstring temp = folder_.File(L"not\\yet\\there");
  uitest::StartOptions options;
  options.environment.push_back({L"TEMP", temp});
  SYSTEMTIME before;
  GetLocalTime(&before);
  const RunResult result =
      Run(uitest::WindowsPathOf(SFXRUNNER_CRASHTEST_EXE), L"--test-crash", options, kCrashTimeoutMs);
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
  EXPECT_NE(kAccessViolation, result.exitCode);
  EXPECT_FALSE(uitest::FileExists(temp));
}
