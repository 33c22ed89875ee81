// The message that each final status shows, if any.
#include <gtest/gtest.h>

#include "ReportStatus.h"

namespace status = veltrano::status;

TEST(ReportStatus, SuccessAndCancelShowNothing) {
  EXPECT_EQ(nullptr, StatusMessage(0));
  EXPECT_EQ(nullptr, StatusMessage(status::kCancelled));
}

TEST(ReportStatus, CodesWithMessagesOfTheirOwn) {
  EXPECT_STREQ(L"The current platform is not supported.", StatusMessage(1633));
  EXPECT_STREQ(L"Administrator privileges required.", StatusMessage(5));
  EXPECT_STREQ(L"Administrator privileges required.", StatusMessage(0x80070005));
  EXPECT_STREQ(L"The command line arguments are invalid.", StatusMessage(0xEE002003));
  EXPECT_STREQ(L"The directory name is invalid.", StatusMessage(267));
}

TEST(ReportStatus, EverythingElseIsFailed) {
  for (Status code : {status::kFailed, status::kInvalidData, status::kXmlSyntax,
                      status::kInvalidConfiguration, Status{2}, Status{0x80004005}, Status{0xEE002002}}) {
    EXPECT_STREQ(L"Failed.", StatusMessage(code)) << std::hex << code;
  }
}
