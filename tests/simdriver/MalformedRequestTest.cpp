// Requests the driver refuses: each gets its own status, changes nothing and writes nothing
// outside the buffer.
#include <gtest/gtest.h>

#include "SimDspProtocol.h"
#include "SimStatus.h"
#include "SimTestSupport.h"

namespace {

using simtest::PutNode;
using simtest::PutU32;
using simtest::Request;
using simtest::SimDriverTest;
using simtest::U32At;
namespace property = sonarixsim::property;
namespace status = sonarixsim::status;
namespace wirekind = sonarixsim::wirekind;

class MalformedRequestTest : public SimDriverTest {
 protected:
  void SetUp() override {
    SimDriverTest::SetUp();
    Plug({2, 2, 2, 2, 1, 1});
    handle_ = OpenFirstDevice();
  }

  uint32_t Get(std::vector<uint8_t>& request) {
    return api_.GetDspProperty(handle_, request.data(), static_cast<uint32_t>(request.size()));
  }
  uint32_t Set(std::vector<uint8_t>& request) {
    return api_.SetDspProperty(handle_, request.data(), static_cast<uint32_t>(request.size()));
  }
  uint32_t StoredWeight(uint8_t inputKind, uint8_t inputIndex, uint8_t outputKind,
                        uint8_t outputIndex) {
    std::vector<uint8_t> request = Request(property::kNodeWeight, 16);
    PutNode(request, 8, inputKind, inputIndex, outputKind, outputIndex);
    EXPECT_EQ(0u, Get(request));
    return U32At(request, 12);
  }

  uint32_t handle_ = 0;
};

}  // namespace

TEST_F(MalformedRequestTest, AnotherUnitIsRefused) {
  std::vector<uint8_t> request = Request(property::kMixerInfo, 16);
  PutU32(request, 0, 78);
  EXPECT_EQ(status::kWrongUnit, Get(request));
  EXPECT_EQ(0u, U32At(request, 8));
}

TEST_F(MalformedRequestTest, UnknownPropertyIsRefused) {
  for (uint32_t id : {0u, 41u, 43u, 99u, 106u, 199u, 202u, 299u, 302u}) {
    std::vector<uint8_t> request = Request(id, 16);
    EXPECT_EQ(status::kUnknownProperty, Get(request)) << "property " << id;
    EXPECT_EQ(status::kUnknownProperty, Set(request)) << "property " << id;
  }
}

TEST_F(MalformedRequestTest, ShorterThanTheHeaderIsAWrongSize) {
  std::vector<uint8_t> request = Request(property::kMixerInfo, 16);
  EXPECT_EQ(status::kWrongRequestSize, api_.GetDspProperty(handle_, request.data(), 7));
  EXPECT_EQ(status::kWrongRequestSize, api_.GetDspProperty(handle_, request.data(), 0));
}

TEST_F(MalformedRequestTest, EveryPropertyInsistsOnItsSize) {
  struct Case {
    uint32_t id;
    bool get;
    size_t wrongSize;
  };
  const Case cases[] = {{property::kMixerInfo, true, 12},
                        {property::kMixerInfo, true, 20},
                        {property::kChannelCountAppPlayback, true, 16},
                        {property::kChannelCountDeviceOutput, true, 8},
                        {property::kNodeWeight, true, 12},
                        {property::kNodeWeight, true, 24},
                        {property::kNodeWeight, false, 12},
                        {property::kNodeWeight, false, 20},
                        {property::kOutputGain, true, 16},
                        {property::kOutputGain, false, 16},
                        {property::kOutputGain, false, 12},
                        {property::kLevelMeterEnable, false, 16},
                        {property::kLevelMeterTable, true, 12},
                        {property::kLevelMeterTable, true, 20}};
  for (const Case& c : cases) {
    std::vector<uint8_t> request = Request(c.id, c.wrongSize);
    EXPECT_EQ(status::kWrongRequestSize, c.get ? Get(request) : Set(request))
        << "property " << c.id << (c.get ? " Get " : " Set ") << c.wrongSize << " bytes";
  }
}

TEST_F(MalformedRequestTest, ReadOnlyAndWriteOnlyPropertiesRefuseTheOtherWay) {
  for (uint32_t id :
       {property::kMixerInfo, property::kChannelCountDeviceInput, property::kLevelMeterTable}) {
    std::vector<uint8_t> request = Request(id, id == property::kMixerInfo ? 16 : 12);
    EXPECT_EQ(status::kWrongDirection, Set(request)) << "property " << id;
  }
  std::vector<uint8_t> meterSwitch = Request(property::kLevelMeterEnable, 12);
  EXPECT_EQ(status::kWrongDirection, Get(meterSwitch));
}

TEST_F(MalformedRequestTest, ChannelKindThreeAndIndicesPastTheCountAreRefused) {
  std::vector<uint8_t> node = Request(property::kNodeWeight, 16);
  PutNode(node, 8, 3, 0, wirekind::kDeviceOutput, 0);
  EXPECT_EQ(status::kInvalidChannel, Get(node));
  PutNode(node, 8, wirekind::kAppPlayback, 0, 3, 0);
  EXPECT_EQ(status::kInvalidChannel, Get(node));
  PutNode(node, 8, wirekind::kAppPlaybackVirt, 1, wirekind::kDeviceOutput, 0);
  EXPECT_EQ(status::kInvalidChannel, Get(node));
  PutNode(node, 8, wirekind::kAppPlayback, 0, wirekind::kDeviceOutput, 2);
  EXPECT_EQ(status::kInvalidChannel, Set(node));

  std::vector<uint8_t> gain = Request(property::kOutputGain, 14);
  gain[8] = wirekind::kAppRecordingVirt;
  gain[9] = 1;
  EXPECT_EQ(status::kInvalidChannel, Get(gain));
  EXPECT_EQ(0u, U32At(gain, 10));
  gain[8] = 3;
  gain[9] = 0;
  EXPECT_EQ(status::kInvalidChannel, Set(gain));

  std::vector<uint8_t> table = Request(property::kLevelMeterTable, 16);
  PutU32(table, 8, 2);  // neither input nor output
  EXPECT_EQ(status::kInvalidChannel, Get(table));
}

TEST_F(MalformedRequestTest, BulkSetWithOneBadRecordChangesNothing) {
  std::vector<uint8_t> bulk = Request(property::kNodeWeight, 8 + 2 * 8);
  PutNode(bulk, 8, wirekind::kAppPlayback, 0, wirekind::kDeviceOutput, 0);
  PutU32(bulk, 12, 0x00100000);
  PutNode(bulk, 16, wirekind::kAppPlayback, 0, wirekind::kDeviceOutput, 9);
  PutU32(bulk, 20, 0x00100000);
  EXPECT_EQ(status::kInvalidChannel, Set(bulk));
  EXPECT_EQ(sonarixsim::kUnityWeight,
            StoredWeight(wirekind::kAppPlayback, 0, wirekind::kDeviceOutput, 0));
}

TEST_F(MalformedRequestTest, BytesPastTheGivenSizeAreNeverTouched) {
  // A 16-byte node weight Get in a larger buffer: the guard bytes after it stay as they were.
  std::vector<uint8_t> buffer = Request(property::kNodeWeight, 24);
  PutNode(buffer, 8, wirekind::kAppPlayback, 0, wirekind::kDeviceOutput, 0);
  for (size_t i = 16; i < 24; ++i) buffer[i] = 0xA5;
  ASSERT_EQ(0u, api_.GetDspProperty(handle_, buffer.data(), 16));
  EXPECT_EQ(sonarixsim::kUnityWeight, U32At(buffer, 12));
  for (size_t i = 16; i < 24; ++i) EXPECT_EQ(0xA5, buffer[i]) << "byte " << i;
}

TEST_F(MalformedRequestTest, MissingBufferAndAbsurdSizesAreRefusedUnread) {
  EXPECT_EQ(status::kInvalidParameter, api_.GetDspProperty(handle_, nullptr, 16));
  EXPECT_EQ(status::kInvalidParameter, api_.SetDspProperty(handle_, nullptr, 8));
  std::vector<uint8_t> small = Request(property::kLevelMeterTable, 16);
  EXPECT_EQ(status::kWrongRequestSize, api_.GetDspProperty(handle_, small.data(), 0x7FFFFFF8));
}

TEST_F(MalformedRequestTest, MeterSwitchTakesOnlyZeroOrOne) {
  std::vector<uint8_t> request = Request(property::kLevelMeterEnable, 12);
  PutU32(request, 8, 2);
  EXPECT_EQ(status::kInvalidParameter, Set(request));
}
