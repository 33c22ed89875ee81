// The DSP property records on the wire: sizes, offsets, answers, the level table's blocks.
#include <gtest/gtest.h>

#include <tuple>

#include "SimDspProtocol.h"
#include "SimTestSupport.h"

namespace {

using simtest::I16At;
using simtest::PutNode;
using simtest::PutU32;
using simtest::Request;
using simtest::SimDriverTest;
using simtest::U32At;
namespace property = sonarixsim::property;
namespace wirekind = sonarixsim::wirekind;
using sonarixsim::kUnityWeight;

constexpr uint32_t kDirectionInput = 0;
constexpr uint32_t kDirectionOutput = 1;

struct LevelEntry {
  uint32_t direction;
  uint8_t kind;
  uint8_t index;
};

// The level table the mixer builds: six blocks in the mixer's order, indices ascending.
std::vector<uint8_t> LevelTable(const sonarixsim::FamilyCounts& counts) {
  // (direction, kind, count) per block: AppPlayback, DeviceInput, AppPlaybackVirt,
  // DeviceOutput, AppRecording, AppRecordingVirt.
  const uint32_t blocks[6][3] = {{0, 0, counts[2]}, {0, 1, counts[1]}, {0, 2, counts[4]},
                                 {1, 1, counts[0]}, {1, 0, counts[3]}, {1, 2, counts[5]}};
  std::vector<uint8_t> table = Request(property::kLevelMeterTable, 8);
  for (const auto& block : blocks) {
    for (uint32_t index = 0; index < block[2]; ++index) {
      const size_t offset = table.size();
      table.resize(offset + 8, 0);
      PutU32(table, offset, block[0]);
      table[offset + 4] = static_cast<uint8_t>(block[1]);
      table[offset + 5] = static_cast<uint8_t>(index);
    }
  }
  return table;
}

std::vector<uint8_t> MeterSwitch(uint32_t on) {
  std::vector<uint8_t> request = Request(property::kLevelMeterEnable, 12);
  PutU32(request, 8, on);
  return request;
}

}  // namespace

TEST_F(SimDriverTest, MixerInfoAnswersLayoutVersionAndSecondValueIn16Bytes) {
  Plug({2, 2, 2, 2, 1, 1}, 3);
  const uint32_t handle = OpenFirstDevice();
  std::vector<uint8_t> request = Request(property::kMixerInfo, 16);
  ASSERT_EQ(0u, api_.GetDspProperty(handle, request.data(), 16));
  EXPECT_EQ(77u, U32At(request, 0));
  EXPECT_EQ(42u, U32At(request, 4));
  EXPECT_EQ(3u, U32At(request, 8));
  uint32_t infoValue = 0;
  WithState([&](sonarixsim::SharedState& state) {
    infoValue = sonarixsim::ConnectedDevices(state)[0]->infoValue;
    return 0u;
  });
  EXPECT_EQ(infoValue, U32At(request, 12));
}

TEST_F(SimDriverTest, EachCountPropertyAnswersItsFamilyIn12Bytes) {
  const sonarixsim::FamilyCounts counts = {3, 5, 7, 2, 1, 4};
  Plug(counts);
  const uint32_t handle = OpenFirstDevice();
  // Properties 100..105 name the families in the same order as the counts.
  for (uint32_t i = 0; i < 6; ++i) {
    std::vector<uint8_t> request = Request(property::kChannelCountDeviceOutput + i, 12);
    ASSERT_EQ(0u, api_.GetDspProperty(handle, request.data(), 12));
    EXPECT_EQ(counts[i], U32At(request, 8)) << "property " << 100 + i;
  }
}

TEST_F(SimDriverTest, NodeWeightGetAnswersAtOffset12) {
  Plug({2, 2, 2, 2, 1, 1});
  const uint32_t handle = OpenFirstDevice();
  // A new device routes application playback 1 to device output 1 at unity, not to output 0.
  std::vector<uint8_t> routed = Request(property::kNodeWeight, 16);
  PutNode(routed, 8, wirekind::kAppPlayback, 1, wirekind::kDeviceOutput, 1);
  ASSERT_EQ(0u, api_.GetDspProperty(handle, routed.data(), 16));
  EXPECT_EQ(kUnityWeight, U32At(routed, 12));
  std::vector<uint8_t> crossed = Request(property::kNodeWeight, 16);
  PutNode(crossed, 8, wirekind::kAppPlayback, 1, wirekind::kDeviceOutput, 0);
  ASSERT_EQ(0u, api_.GetDspProperty(handle, crossed.data(), 16));
  EXPECT_EQ(0u, U32At(crossed, 12));
}

TEST_F(SimDriverTest, BulkNodeWeightSetWritesEveryRecord) {
  Plug({2, 2, 2, 2, 1, 1});
  const uint32_t handle = OpenFirstDevice();
  std::vector<uint8_t> bulk = Request(property::kNodeWeight, 8 + 3 * 8);
  PutNode(bulk, 8, wirekind::kDeviceInput, 0, wirekind::kDeviceOutput, 1);
  PutU32(bulk, 12, 0x00400000);
  PutNode(bulk, 16, wirekind::kAppPlaybackVirt, 0, wirekind::kAppRecordingVirt, 0);
  PutU32(bulk, 20, 0x01400000);
  PutNode(bulk, 24, wirekind::kAppPlayback, 0, wirekind::kDeviceOutput, 0);
  PutU32(bulk, 28, 0);
  ASSERT_EQ(0u, api_.SetDspProperty(handle, bulk.data(), static_cast<uint32_t>(bulk.size())));
  for (size_t offset = 8; offset < bulk.size(); offset += 8) {
    std::vector<uint8_t> get = Request(property::kNodeWeight, 16);
    std::copy(bulk.begin() + offset, bulk.begin() + offset + 4, get.begin() + 8);
    ASSERT_EQ(0u, api_.GetDspProperty(handle, get.data(), 16));
    EXPECT_EQ(U32At(bulk, offset + 4), U32At(get, 12)) << "record at " << offset;
  }
}

TEST_F(SimDriverTest, BulkSetOfTheHeaderAloneSucceedsAndIsLoggedWith8Bytes) {
  Plug({2, 2, 2, 2, 1, 1});
  const uint32_t handle = OpenFirstDevice();
  std::vector<uint8_t> header = Request(property::kNodeWeight, 8);
  EXPECT_EQ(0u, api_.SetDspProperty(handle, header.data(), 8));
  const auto log = RequestLog();
  ASSERT_EQ(1u, log.size());
  EXPECT_EQ(header, log[0].bytes);
  EXPECT_EQ(0u, log[0].status);
}

TEST_F(SimDriverTest, OutputGainTravelsIn14BytesWithTheGainAtOffset10) {
  Plug({2, 2, 2, 2, 1, 1});
  const uint32_t handle = OpenFirstDevice();
  std::vector<uint8_t> set = Request(property::kOutputGain, 14);
  set[8] = wirekind::kDeviceOutput;
  set[9] = 1;
  PutU32(set, 10, 0x00C00000);
  ASSERT_EQ(0u, api_.SetDspProperty(handle, set.data(), 14));
  uint32_t stored = 0;
  WithState([&](sonarixsim::SharedState& state) {
    return sonarixsim::ReadOutputGain(*sonarixsim::ConnectedDevices(state)[0],
                                      {wirekind::kDeviceOutput, 1}, stored);
  });
  EXPECT_EQ(0x00C00000u, stored);

  std::vector<uint8_t> get = Request(property::kOutputGain, 14);
  get[8] = wirekind::kDeviceOutput;
  get[9] = 1;
  ASSERT_EQ(0u, api_.GetDspProperty(handle, get.data(), 14));
  EXPECT_EQ(wirekind::kDeviceOutput, get[8]);
  EXPECT_EQ(1u, get[9]);
  EXPECT_EQ(0x00C00000u, U32At(get, 10));
}

TEST_F(SimDriverTest, LevelTableForCounts222211AnswersEveryEntryInPlace) {
  const sonarixsim::FamilyCounts counts = {2, 2, 2, 2, 1, 1};
  Plug(counts);
  const uint32_t handle = OpenFirstDevice();
  std::vector<uint8_t> on = MeterSwitch(1);
  ASSERT_EQ(0u, api_.SetDspProperty(handle, on.data(), 12));
  std::vector<uint8_t> table = LevelTable(counts);
  ASSERT_EQ(88u, table.size());
  const std::vector<uint8_t> sent = table;
  ASSERT_EQ(0u, api_.GetDspProperty(handle, table.data(), 88));

  const LevelEntry expected[10] = {{0, 0, 0}, {0, 0, 1}, {0, 1, 0}, {0, 1, 1}, {0, 2, 0},
                                   {1, 1, 0}, {1, 1, 1}, {1, 0, 0}, {1, 0, 1}, {1, 2, 0}};
  for (size_t i = 0; i < 10; ++i) {
    const size_t offset = 8 + 8 * i;
    EXPECT_EQ(expected[i].direction, U32At(table, offset)) << "entry " << i;
    EXPECT_EQ(expected[i].kind, table[offset + 4]) << "entry " << i;
    EXPECT_EQ(expected[i].index, table[offset + 5]) << "entry " << i;
    // Every input of this device carries signal; every output has an input routed to it
    // except the virtual recording channel.
    const bool silent = expected[i].direction == kDirectionOutput && expected[i].kind == 2;
    EXPECT_EQ(silent, I16At(table, offset + 6) == sonarixsim::kNoLevel) << "entry " << i;
  }
  const auto log = RequestLog();
  ASSERT_EQ(2u, log.size());
  EXPECT_EQ(sent, log[1].bytes) << "the log keeps the request as it was sent";
  EXPECT_EQ(88u, log[1].size);
  EXPECT_EQ(kDirectionInput, U32At(sent, 8));
}

TEST_F(SimDriverTest, MeterSwitchIsTwelveBytesAndStopsTheLevels) {
  const sonarixsim::FamilyCounts counts = {2, 2, 2, 2, 1, 1};
  Plug(counts);
  const uint32_t handle = OpenFirstDevice();
  std::vector<uint8_t> on = MeterSwitch(1);
  std::vector<uint8_t> off = MeterSwitch(0);
  std::vector<uint8_t> table = LevelTable(counts);
  ASSERT_EQ(0u, api_.SetDspProperty(handle, on.data(), 12));
  ASSERT_EQ(0u, api_.GetDspProperty(handle, table.data(), 88));
  EXPECT_NE(sonarixsim::kNoLevel, I16At(table, 8 + 6));
  ASSERT_EQ(0u, api_.SetDspProperty(handle, off.data(), 12));
  ASSERT_EQ(0u, api_.GetDspProperty(handle, table.data(), 88));
  for (size_t offset = 8; offset < table.size(); offset += 8) {
    EXPECT_EQ(sonarixsim::kNoLevel, I16At(table, offset + 6)) << "entry at " << offset;
  }
}

TEST_F(SimDriverTest, RequestLogRecordsBytesStatusAndDevice) {
  const uint32_t id = Plug({2, 2, 2, 2, 1, 1});
  const uint32_t handle = OpenFirstDevice();
  std::vector<uint8_t> good = Request(property::kMixerInfo, 16);
  std::vector<uint8_t> bad = Request(property::kMixerInfo, 12);
  const std::vector<uint8_t> goodSent = good;
  ASSERT_EQ(0u, api_.GetDspProperty(handle, good.data(), 16));
  const uint32_t badStatus = api_.GetDspProperty(handle, bad.data(), 12);
  const auto log = RequestLog();
  ASSERT_EQ(2u, log.size());
  EXPECT_EQ(goodSent, log[0].bytes);
  EXPECT_EQ(0u, log[0].status);
  EXPECT_EQ(sonarixsim::RequestCall::Get, log[0].call);
  EXPECT_EQ(id, log[0].deviceId);
  EXPECT_EQ(GetCurrentProcessId(), log[0].processId);
  EXPECT_EQ(bad, log[1].bytes);
  EXPECT_EQ(badStatus, log[1].status);
  EXPECT_NE(0u, badStatus);
  EXPECT_EQ(log[0].sequence + 1, log[1].sequence);
}
