// The trace log: file rotation at the size limit, CR LF line ends, the line prefix.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "UiFiles.h"
#include "WnTraceLog.h"

using uitest::ReadFileBytes;
using uitest::WriteFileBytes;

namespace {

std::string FileText(const std::wstring& path) {
  std::string bytes;
  return ReadFileBytes(path, bytes) ? bytes : "(unreadable)";
}

// A context of its own that writes only to `path`.
class TraceFile : public ::testing::Test {
 protected:
  void SwitchOn(uint32_t limit) {
    context_.SetDebuggerOutput(false);
    ASSERT_TRUE(context_.SetLogFilePath(log_));
    context_.SetSizeLimit(limit);
    ASSERT_TRUE(context_.SetFileOutput(true));
  }

  uitest::ScratchFolder folder_;
  const std::wstring log_ = folder_.File(L"mixer.log");
  WnTraceLogContext context_;
};

}  // namespace

TEST_F(TraceFile, FullFileMovesToTheBackupReplacingAnOlderOneAndANewFileGoesOn) {
  ASSERT_TRUE(WriteFileBytes(log_, std::string(600, 'p')));  // appended to
  ASSERT_TRUE(WriteFileBytes(log_ + L".bak", "older backup"));
  SetFileAttributesW((log_ + L".bak").c_str(), FILE_ATTRIBUTE_READONLY);
  SwitchOn(1000);
  for (int line = 0; line < 3; ++line) context_.Write(std::string(100, 'a').c_str());
  EXPECT_EQ("older backup", FileText(log_ + L".bak"));
  context_.Write(std::string(100, 'b').c_str());  // reaches 1000 bytes
  context_.Write("next file");
  EXPECT_EQ(std::string(600, 'p') + std::string(300, 'a') + std::string(100, 'b'),
            FileText(log_ + L".bak"));
  EXPECT_EQ("next file", FileText(log_));
}

TEST_F(TraceFile, LineFeedsGetOneCarriageReturnAcrossCallsAndPieces) {
  SwitchOn(0);
  context_.Write("one\r");
  context_.Write("\ntwo\nthree\r\n");
  context_.Write(std::string(600, '\n').c_str());  // more than one 512-byte piece
  std::string expected = "one\r\ntwo\r\nthree\r\n";
  for (int i = 0; i < 600; ++i) expected += "\r\n";
  EXPECT_EQ(expected, FileText(log_));
}

TEST(TracePrefix, ThreadIdAndLevelNameCutToTheBuffer) {
  WnTraceLogContext context;
  const std::string thread = "(" + std::to_string(GetCurrentThreadId()) + ") ";
  struct Case {
    int level;
    size_t size;
    std::string expected;
  } const cases[] = {
      {2, 64, thread + "INFO "}, {0, 64, thread + "ERROR "},  {1, 64, thread + "WARNING "},
      {3, 64, thread + "INFO "}, {4, 64, thread + " "},       {32, 64, thread + " "},
      {-1, 64, thread},          {2, 5, thread.substr(0, 4)}, {2, 1, ""},
  };
  for (const Case& c : cases) {
    char buffer[64];
    memset(buffer, 'x', sizeof buffer);
    const int length = context.FormatPrefix(c.level, buffer, c.size);
    EXPECT_EQ(c.expected, std::string(buffer)) << "level " << c.level << ", size " << c.size;
    EXPECT_EQ(static_cast<int>(c.expected.size()), length);
  }
}

TEST(TracePrefix, ProcessWideContextExistsAndWritesNoFile) {
  ASSERT_TRUE(TraceLog().IsValid());
  TraceLog().Write("to the debugger only\n");
  EXPECT_FALSE(TraceLog().LogFile().IsOpen());
  EXPECT_TRUE(TraceLog().LogFile().Path().empty());
}
