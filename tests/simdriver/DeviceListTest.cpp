// Enumeration, opening and closing devices, and what an unplugged device's handle answers.
#include <gtest/gtest.h>

#include "SimDspProtocol.h"
#include "SimStatus.h"
#include "SimTestSupport.h"

namespace {

using simtest::Request;
using simtest::SimDriverTest;
using simtest::U32At;
namespace status = sonarixsim::status;
namespace property = sonarixsim::property;

uint32_t DeviceOutputCount(simtest::SimApi& api, uint32_t handle) {
  std::vector<uint8_t> request = Request(property::kChannelCountDeviceOutput, 12);
  EXPECT_EQ(0u, api.GetDspProperty(handle, request.data(), 12));
  return U32At(request, 8);
}

}  // namespace

TEST_F(SimDriverTest, NoDeviceGivesCountZeroAndNoIndexToOpen) {
  EXPECT_EQ(0u, api_.EnumerateDevices());
  EXPECT_EQ(0u, api_.GetDeviceCount());
  uint32_t handle = 0x1234;
  EXPECT_EQ(status::kNoSuchDevice, api_.OpenDeviceByIndex(0, &handle));
  EXPECT_EQ(0u, handle);
}

TEST_F(SimDriverTest, DevicesAreListedInTheOrderTheyWerePluggedIn) {
  Plug({3, 2, 2, 2, 1, 1});
  Plug({5, 2, 2, 2, 1, 1});
  ASSERT_EQ(0u, api_.EnumerateDevices());
  ASSERT_EQ(2u, api_.GetDeviceCount());
  uint32_t first = 0;
  uint32_t second = 0;
  ASSERT_EQ(0u, api_.OpenDeviceByIndex(0, &first));
  ASSERT_EQ(0u, api_.OpenDeviceByIndex(1, &second));
  EXPECT_NE(first, second);
  EXPECT_EQ(3u, DeviceOutputCount(api_, first));
  EXPECT_EQ(5u, DeviceOutputCount(api_, second));
}

TEST_F(SimDriverTest, TheListChangesOnlyWithTheNextEnumeration) {
  ASSERT_EQ(0u, api_.EnumerateDevices());
  Plug({2, 2, 2, 2, 1, 1});
  EXPECT_EQ(0u, api_.GetDeviceCount());
  ASSERT_EQ(0u, api_.EnumerateDevices());
  EXPECT_EQ(1u, api_.GetDeviceCount());
}

TEST_F(SimDriverTest, UnpluggedDeviceAnswersDeviceRemoved) {
  const uint32_t id = Plug({2, 2, 2, 2, 1, 1});
  const uint32_t handle = OpenFirstDevice();
  Unplug(id);
  std::vector<uint8_t> request = Request(property::kMixerInfo, 16);
  EXPECT_EQ(status::kDeviceRemoved, api_.GetDspProperty(handle, request.data(), 16));
  EXPECT_EQ(0u, U32At(request, 8)) << "no answer is written";
}

TEST_F(SimDriverTest, ReconnectedDeviceNeedsANewHandle) {
  const uint32_t id = Plug({2, 2, 2, 2, 1, 1});
  const uint32_t oldHandle = OpenFirstDevice();
  Unplug(id);
  ASSERT_EQ(0u, WithState([&](sonarixsim::SharedState& state) {
              return sonarixsim::ReconnectDevice(state, id);
            }));
  std::vector<uint8_t> request = Request(property::kMixerInfo, 16);
  EXPECT_EQ(status::kDeviceRemoved, api_.GetDspProperty(oldHandle, request.data(), 16));
  const uint32_t newHandle = OpenFirstDevice();
  EXPECT_EQ(0u, api_.GetDspProperty(newHandle, request.data(), 16));
}

TEST_F(SimDriverTest, ClosedHandleIsRejected) {
  Plug({2, 2, 2, 2, 1, 1});
  const uint32_t handle = OpenFirstDevice();
  EXPECT_EQ(0u, api_.CloseDevice(handle));
  std::vector<uint8_t> request = Request(property::kMixerInfo, 16);
  EXPECT_EQ(status::kInvalidHandle, api_.GetDspProperty(handle, request.data(), 16));
  EXPECT_EQ(status::kInvalidHandle, api_.CloseDevice(handle));
  EXPECT_EQ(status::kInvalidHandle, api_.GetDspProperty(0, request.data(), 16));
}

TEST_F(SimDriverTest, OpenWithoutHandlePointerIsRejected) {
  Plug({2, 2, 2, 2, 1, 1});
  ASSERT_EQ(0u, api_.EnumerateDevices());
  EXPECT_EQ(status::kInvalidParameter, api_.OpenDeviceByIndex(0, nullptr));
}

TEST_F(SimDriverTest, DeviceStateSurvivesWhenNoProcessHoldsIt) {
  const uint32_t id = Plug({6, 2, 2, 2, 1, 1});
  api_.Unload();
  store_.reset();
  store_ = std::make_unique<sonarixsim::StateStore>();
  ASSERT_EQ(0u, store_->Open(stateName_));
  uint32_t deviceOutputs = 0;
  EXPECT_EQ(0u, WithState([&](sonarixsim::SharedState& state) {
              const sonarixsim::DeviceRecord* device = sonarixsim::FindDevice(state, id);
              if (device == nullptr) return status::kNoSuchDevice;
              deviceOutputs = device->counts.outputs[sonarixsim::wirekind::kDeviceOutput];
              return status::kOk;
            }));
  EXPECT_EQ(6u, deviceOutputs);
}
