// uidriver.exe, the driver's command-line front end: windows printed as they appear, message
// boxes answered on request, the full exit code printed, and a bounded run.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "UiDriver.h"

namespace {

constexpr DWORD kRunTimeoutMs = 60000;

struct CliResult {
  uint32_t exitCode = 0;
  std::string output;
  std::string errorText;
};

CliResult RunCli(const std::vector<std::wstring>& arguments) {
  uitest::ScratchFolder folder;
  uitest::StartOptions options;
  options.standardOutputFile = folder.File(L"out.txt");
  options.standardErrorFile = folder.File(L"err.txt");
  CliResult result;
  {
    uitest::Process cli;
    EXPECT_EQ(0u, cli.Start(uitest::WindowsPathOf(UIDRIVER_EXE), uitest::JoinArguments(arguments),
                            options));
    EXPECT_TRUE(cli.WaitForExit(kRunTimeoutMs));
    result.exitCode = cli.ExitCode();
  }
  uitest::ReadFileBytes(options.standardOutputFile, result.output);
  uitest::ReadFileBytes(options.standardErrorFile, result.errorText);
  return result;
}

std::wstring BoxProbe() { return uitest::WindowsPathOf(BOXPROBE_EXE); }

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

}  // namespace

TEST(UiDriverCli, AnsweredBoxesArePrintedAndTheFullExitCodeFollows) {
  const CliResult result =
      RunCli({L"run", L"--answer-boxes", L"--timeout", L"50", L"--", BoxProbe(), L"--box",
              L"Cli caption", L"Cli text", L"--exit", L"0xEE000051"});
  EXPECT_EQ(0u, result.exitCode) << result.errorText;
  EXPECT_TRUE(Contains(result.output, "class=\"#32770\" caption=\"Cli caption\"")) << result.output;
  // The handle printed as wide as this build's pointers.
  const size_t handle = result.output.find("window 0x");
  ASSERT_NE(std::string::npos, handle) << result.output;
  EXPECT_EQ(" class=", result.output.substr(handle + 9 + sizeof(HWND) * 2, 7)) << result.output;
  EXPECT_TRUE(
      Contains(result.output, "id=0xFFFF class=\"Static\" visible enabled text=\"Cli text\""))
      << result.output;
  EXPECT_TRUE(Contains(result.output, "answered box \"Cli caption\"")) << result.output;
  EXPECT_TRUE(Contains(result.output, "exit=0xEE000051\n")) << result.output;
}

TEST(UiDriverCli, ProgramThatOutlivesTheTimeoutIsTerminated) {
  const CliResult result =
      RunCli({L"run", L"--timeout", L"1", L"--", BoxProbe(), L"--sleep", L"30000"});
  EXPECT_EQ(1u, result.exitCode);
  EXPECT_TRUE(Contains(result.errorText, "timeout")) << result.errorText;
  EXPECT_FALSE(Contains(result.output, "exit=")) << result.output;
}

TEST(UiDriverCli, CommandLineWithoutProgramIsRejected) {
  const CliResult result = RunCli({L"run", L"--answer-boxes"});
  EXPECT_EQ(2u, result.exitCode);
  EXPECT_TRUE(Contains(result.errorText, "Usage: uidriver.exe run")) << result.errorText;
}
