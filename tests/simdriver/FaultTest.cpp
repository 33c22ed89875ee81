// Injected faults: an entry point or one property answers a chosen status instead of working.
#include <gtest/gtest.h>

#include "SimDspProtocol.h"
#include "SimFaults.h"
#include "SimTestSupport.h"

namespace {

using simtest::Request;
using simtest::SimDriverTest;
namespace property = sonarixsim::property;

constexpr uint32_t kInjected = 0xEE0000AB;

}  // namespace

TEST_F(SimDriverTest, EntryPointFaultAnswersItsStatusUntilCleared) {
  Plug({2, 2, 2, 2, 1, 1});
  ASSERT_EQ(0u, WithState([](sonarixsim::SharedState& state) {
              return sonarixsim::AddEntryPointFault(state, "SONARIX_EnumerateDevices", kInjected,
                                                    0);
            }));
  EXPECT_EQ(kInjected, api_.EnumerateDevices());
  EXPECT_EQ(kInjected, api_.EnumerateDevices());
  WithState([](sonarixsim::SharedState& state) {
    sonarixsim::ClearFaults(state);
    return 0u;
  });
  EXPECT_EQ(0u, api_.EnumerateDevices());
}

TEST_F(SimDriverTest, PropertyFaultForOneCallIsAnsweredOnceAndLogged) {
  Plug({2, 2, 2, 2, 1, 1});
  const uint32_t handle = OpenFirstDevice();
  ASSERT_EQ(0u, WithState([](sonarixsim::SharedState& state) {
              return sonarixsim::AddPropertyFault(state, sonarixsim::RequestCall::Get,
                                                  property::kMixerInfo, kInjected, 1);
            }));
  std::vector<uint8_t> request = Request(property::kMixerInfo, 16);
  EXPECT_EQ(kInjected, api_.GetDspProperty(handle, request.data(), 16));
  EXPECT_EQ(0u, api_.GetDspProperty(handle, request.data(), 16));
  const auto log = RequestLog();
  ASSERT_EQ(2u, log.size());
  EXPECT_EQ(kInjected, log[0].status);
  EXPECT_EQ(0u, log[1].status);
}

TEST_F(SimDriverTest, FaultSetByTheToolReachesTheLibrary) {
  Plug({2, 2, 2, 2, 1, 1});
  const simtest::ToolRun fault = RunTool(L"fault SONARIX_OpenDeviceByIndex 0xEE000071 --times 1");
  ASSERT_EQ(0u, fault.exitCode) << fault.errors;
  ASSERT_EQ(0u, api_.EnumerateDevices());
  uint32_t handle = 0;
  EXPECT_EQ(0xEE000071u, api_.OpenDeviceByIndex(0, &handle));
  EXPECT_EQ(0u, api_.OpenDeviceByIndex(0, &handle));
}
