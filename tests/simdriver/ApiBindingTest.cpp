// The library as the mixer binds it: every name, the version, the entry points it does not serve.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SimStatus.h"
#include "SimTestSupport.h"
#include "SonarixApiEntryPoints.h"

namespace {

using simtest::SimDriverTest;

// The names in the order the mixer binds them.
const std::vector<std::string> kEntryPoints = {
#define SONARIX_ENTRY_POINT_NAME(name, major, minor) #name,
    SONARIX_API_ENTRY_POINTS(SONARIX_ENTRY_POINT_NAME)
#undef SONARIX_ENTRY_POINT_NAME
};

}  // namespace

TEST_F(SimDriverTest, AllSeventyEntryPointsAreExportedByTheirPlainNames) {
  ASSERT_EQ(70u, kEntryPoints.size());
  for (const std::string& name : kEntryPoints) {
    EXPECT_NE(nullptr, GetProcAddress(api_.module, name.c_str())) << name;
  }
  // stdcall names stay undecorated: nothing answers to the decorated form.
  EXPECT_EQ(nullptr, GetProcAddress(api_.module, "_SONARIX_GetApiVersion@0"));
  EXPECT_EQ(nullptr, GetProcAddress(api_.module, "SONARIX_GetApiVersion@0"));
}

TEST_F(SimDriverTest, ReportsApiVersionFiveSeven) {
  const uint32_t version = api_.GetApiVersion();
  EXPECT_EQ(5u, version >> 16);
  EXPECT_EQ(7u, version & 0xFFFF);
}

TEST_F(SimDriverTest, ServesClientsUpToItsOwnVersion) {
  EXPECT_NE(0u, api_.CheckApiVersion(5, 7));
  EXPECT_NE(0u, api_.CheckApiVersion(5, 0));
  EXPECT_NE(0u, api_.CheckApiVersion(4, 9));
  EXPECT_EQ(0u, api_.CheckApiVersion(5, 8));
  EXPECT_EQ(0u, api_.CheckApiVersion(6, 0));
}

TEST_F(SimDriverTest, EntryPointsTheMixerNeverCallsAnswerNonZero) {
  const uint32_t handle = [&] {
    Plug({2, 2, 2, 2, 1, 1});
    return OpenFirstDevice();
  }();
  const auto getRate =
      api_.Entry<decltype(&SONARIX_GetCurrentSampleRate)>("SONARIX_GetCurrentSampleRate");
  const auto driverInfo = api_.Entry<decltype(&SONARIX_GetDriverInfo)>("SONARIX_GetDriverInfo");
  const auto resetStatistics =
      api_.Entry<decltype(&SONARIX_ResetDriverStatistics)>("SONARIX_ResetDriverStatistics");
  const auto extendedInfo =
      api_.Entry<decltype(&SONARIX_GetExtendedInfo)>("SONARIX_GetExtendedInfo");
  uint32_t rate = 0;
  uint8_t info[64] = {};
  EXPECT_EQ(sonarixsim::status::kNotImplemented, getRate(handle, &rate));
  EXPECT_EQ(sonarixsim::status::kNotImplemented, driverInfo(info, sizeof(info)));
  EXPECT_EQ(sonarixsim::status::kNotImplemented, resetStatistics());
  EXPECT_EQ(sonarixsim::status::kNotImplemented, extendedInfo(handle, info, sizeof(info)));
}

TEST_F(SimDriverTest, StatusCodeStringsNameTheRemovedDevice) {
  const auto textW = api_.Entry<decltype(&SONARIX_StatusCodeStringW)>("SONARIX_StatusCodeStringW");
  const auto textA = api_.Entry<decltype(&SONARIX_StatusCodeStringA)>("SONARIX_StatusCodeStringA");
  EXPECT_STREQ(L"the device was removed", textW(sonarixsim::status::kDeviceRemoved));
  EXPECT_STREQ("the device was removed", textA(sonarixsim::status::kDeviceRemoved));
  EXPECT_STREQ("unknown status", textA(0x12345678));
}
