// Diagnostic output: the 512-byte buffer, its truncation status and the cut line.
#include <gtest/gtest.h>

#include <string>

#include "DiagnosticCapture.h"
#include "VTDebug.h"

namespace status = veltrano::status;

namespace {
veltrano::Status FormatInto(char (&buffer)[veltrano::kDiagnosticBufferSize], const char* format,
                            ...) {
  va_list args;
  va_start(args, format);
  const veltrano::Status result = veltrano::FormatToBuffer(buffer, format, args);
  va_end(args);
  return result;
}
}  // namespace

TEST(FormatToBuffer, ShortTextFits) {
  char buffer[veltrano::kDiagnosticBufferSize];
  EXPECT_EQ(0u, FormatInto(buffer, "%s=%d %S", "x", 42, L"wide"));
  EXPECT_STREQ("x=42 wide", buffer);
}

TEST(FormatToBuffer, TextOf511CharactersStillFits) {
  char buffer[veltrano::kDiagnosticBufferSize];
  const std::string text(511, 'a');
  EXPECT_EQ(0u, FormatInto(buffer, "%s", text.c_str()));
  EXPECT_EQ(text, buffer);
}

TEST(FormatToBuffer, LongerTextIsCutWithItsStatus) {
  char buffer[veltrano::kDiagnosticBufferSize];
  const std::string text(600, 'b');
  EXPECT_EQ(status::kTruncated, FormatInto(buffer, "%s", text.c_str()));
  EXPECT_EQ(std::string(511, 'b'), buffer);
}

TEST(FormatToBuffer, MissingFormatIsAnInvalidValue) {
  char buffer[veltrano::kDiagnosticBufferSize];
  EXPECT_EQ(status::kInvalidParameter, FormatInto(buffer, nullptr));
}

TEST(DebugPrint, LongLineIsCutAndStillDelivered) {
  DiagnosticCapture capture;
  const std::string text(700, 'c');
  veltrano::DebugPrint("ERROR: %s\n", text.c_str());
  ASSERT_EQ(1u, capture.Lines().size());
  EXPECT_EQ(511u, capture.Lines()[0].size());
  EXPECT_EQ(0u, capture.Lines()[0].rfind("ERROR: ccc", 0));
}

TEST(DebugPrint, SinkSeesLinesOnlyWhileInstalled) {
  {
    DiagnosticCapture capture;
    veltrano::DebugPrint("WARNING: %s: %u\n", "x", 7u);
    ASSERT_EQ(1u, capture.Lines().size());
    EXPECT_EQ("WARNING: x: 7\n", capture.Lines()[0]);
  }
  DiagnosticCapture later;
  EXPECT_TRUE(later.Lines().empty());
}
