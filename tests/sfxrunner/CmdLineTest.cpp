// The stub's command line: the gui option, pass-through text and ignored arguments.
#include <gtest/gtest.h>

#include "CmdLine.h"

namespace status = veltrano::status;

namespace {

class CommandLine : public ::testing::Test {
 protected:
  CommandLine() { Reset(); }
  ~CommandLine() override { Reset(); }
  static void Reset() {
    guiMode = CmdLine::GuiAsConfigured;
    passThroughArguments.clear();
    extraArguments.clear();
  }
};

}  // namespace

TEST_F(CommandLine, NoArgumentsChangeNothing) {
  EXPECT_EQ(0u, ParseCommandLineText(L"\"C:\\Downloads\\Setup.exe\""));
  EXPECT_EQ(CmdLine::GuiAsConfigured, guiMode);
  EXPECT_TRUE(passThroughArguments.empty());
  EXPECT_TRUE(extraArguments.empty());
}

TEST_F(CommandLine, GuiValuesIgnoreAsciiCase) {
  EXPECT_EQ(0u, ParseCommandLineText(L"stub.exe --gui OFF"));
  EXPECT_EQ(CmdLine::GuiOff, guiMode);
  EXPECT_EQ(0u, ParseCommandLineText(L"stub.exe --gui On"));
  EXPECT_EQ(CmdLine::GuiOn, guiMode);
  EXPECT_EQ(0u, ParseCommandLineText(L"stub.exe --gui on --gui off"));
  EXPECT_EQ(CmdLine::GuiOff, guiMode);
}

TEST_F(CommandLine, BadGuiUseIsRejected) {
  EXPECT_EQ(status::kInvalidParameter, ParseCommandLineText(L"stub.exe --gui silent"));
  EXPECT_EQ(CmdLine::GuiAsConfigured, guiMode);
  EXPECT_EQ(status::kMissingOptionValue, ParseCommandLineText(L"stub.exe --gui"));
  EXPECT_EQ(status::kUnknownOption, ParseCommandLineText(L"stub.exe -gui on"));
  EXPECT_EQ(status::kUnknownOption, ParseCommandLineText(L"stub.exe --GUI on"));
  EXPECT_EQ(status::kUnknownOption, ParseCommandLineText(L"stub.exe --silent"));
  EXPECT_EQ(status::kUnknownOption, ParseCommandLineText(L"stub.exe --gui=off"));
}

TEST_F(CommandLine, OtherArgumentsAreCollectedAndIgnored) {
  EXPECT_EQ(0u, ParseCommandLineText(L"stub.exe /S /v\"/qn\" - 42 Gr\u00fc\u00dfe"));
  EXPECT_EQ((std::vector<std::wstring>{L"/S", L"/v/qn", L"-", L"42", L"Gr\u00fc\u00dfe"}),
            extraArguments);
  EXPECT_EQ(CmdLine::GuiAsConfigured, guiMode);
}

TEST_F(CommandLine, PassThroughTakesTheRestTrimmed) {
  EXPECT_EQ(0u, ParseCommandLineText(L"stub.exe --gui off passthrough  /quiet \"a b\"  \t\r\n"));
  EXPECT_EQ(CmdLine::GuiOff, guiMode);
  EXPECT_EQ(L"/quiet \"a b\"", passThroughArguments);
  EXPECT_TRUE(extraArguments.empty());
}

TEST_F(CommandLine, PassThroughWithNothingAfterIt) {
  EXPECT_EQ(0u, ParseCommandLineText(L"stub.exe passthrough   "));
  EXPECT_TRUE(passThroughArguments.empty());
}

TEST_F(CommandLine, WhatPrecedesTheWordStaysOnTheCommandLine) {
  EXPECT_EQ(0u, ParseCommandLineText(L"stub.exe --passthrough --gui on"));
  EXPECT_EQ(std::vector<std::wstring>{L"--"}, extraArguments);
  EXPECT_EQ(L"--gui on", passThroughArguments);
  EXPECT_EQ(CmdLine::GuiAsConfigured, guiMode);  // options after the word are not parsed
}

TEST_F(CommandLine, WordInsideAQuotedPathCutsThere) {
  EXPECT_EQ(0u, ParseCommandLineText(L"stub.exe \"C:\\my passthrough files\\x\" --gui off"));
  EXPECT_EQ(L"files\\x\" --gui off", passThroughArguments);
  EXPECT_EQ(std::vector<std::wstring>{L"C:\\my "}, extraArguments);
  EXPECT_EQ(CmdLine::GuiAsConfigured, guiMode);
}

TEST_F(CommandLine, WordIsCaseSensitive) {
  EXPECT_EQ(0u, ParseCommandLineText(L"stub.exe PassThrough x"));
  EXPECT_TRUE(passThroughArguments.empty());
  EXPECT_EQ((std::vector<std::wstring>{L"PassThrough", L"x"}), extraArguments);
}
