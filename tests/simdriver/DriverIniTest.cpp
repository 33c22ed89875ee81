// The library's own configuration file beside it decides whether device calls work.
#include <gtest/gtest.h>

#include "SimStatus.h"
#include "SimTestSupport.h"

namespace {

using simtest::SimApi;
namespace status = sonarixsim::status;

// A copy of the library in a folder of its own, with or without a configuration file; the
// scratch folder takes both away.
class DriverIniTest : public simtest::SimDriverTest {
 protected:
  void TearDown() override {
    copy_.Unload();
    SimDriverTest::TearDown();
  }

  void LoadCopy(const char* iniText) {
    folder_ = scratch_.File(L"copy");
    CreateDirectoryW(folder_.c_str(), nullptr);
    ASSERT_TRUE(
        CopyFileW(simtest::LibraryPath().c_str(), (folder_ + L"\\sonarixapi.dll").c_str(), FALSE));
    if (iniText != nullptr) {
      ASSERT_TRUE(uitest::WriteFileBytes(folder_ + L"\\sonarixapi.ini", iniText));
    }
    ASSERT_TRUE(copy_.Load(folder_ + L"\\sonarixapi.dll"));
    ASSERT_NE(api_.module, copy_.module) << "the copy is a library of its own";
  }

  std::wstring folder_;
  SimApi copy_;
};

}  // namespace

TEST_F(DriverIniTest, MissingFileMakesDeviceCallsAnswer0xEE001006) {
  Plug({2, 2, 2, 2, 1, 1});
  LoadCopy(nullptr);
  EXPECT_EQ(status::kDriverIniMissing, copy_.EnumerateDevices());
  EXPECT_EQ(0u, copy_.GetDeviceCount());
  uint32_t handle = 0;
  EXPECT_EQ(status::kDriverIniMissing, copy_.OpenDeviceByIndex(0, &handle));
  EXPECT_EQ(0x00050007u, copy_.GetApiVersion()) << "the version does not need the file";
}

TEST_F(DriverIniTest, FileWithoutAGuidAnswers0xEE000052) {
  LoadCopy("[DriverInterface]\r\nInterfaceGUID=not-a-guid\r\n");
  EXPECT_EQ(status::kInvalidConfiguration, copy_.EnumerateDevices());
}

TEST_F(DriverIniTest, FileWithoutTheSectionAnswers0xEE000052) {
  LoadCopy("[Other]\r\nInterfaceGUID={7923A8A9-CCB9-4a66-912E-B32255451876}\r\n");
  EXPECT_EQ(status::kInvalidConfiguration, copy_.EnumerateDevices());
}

TEST_F(DriverIniTest, FileWithAGuidLetsDeviceCallsWork) {
  Plug({2, 2, 2, 2, 1, 1});
  LoadCopy("[DriverInterface]\r\nInterfaceGUID={12345678-9ABC-def0-1234-56789ABCDEF0}\r\n");
  EXPECT_EQ(0u, copy_.EnumerateDevices());
  EXPECT_EQ(1u, copy_.GetDeviceCount());
}

TEST_F(DriverIniTest, TheBuiltLibraryHasItsFileBesideIt) { EXPECT_EQ(0u, api_.EnumerateDevices()); }
