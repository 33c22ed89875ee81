// The level meters: inputs carry moving test signals, outputs the mix through the nodes.
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <set>

#include "SimDspProtocol.h"
#include "SimTestSupport.h"

namespace {

using simtest::I16At;
using simtest::PutNode;
using simtest::PutU32;
using simtest::Request;
using simtest::SimDriverTest;
namespace property = sonarixsim::property;
namespace wirekind = sonarixsim::wirekind;
using sonarixsim::kNoLevel;
using sonarixsim::kUnityWeight;

constexpr uint32_t kInput = 0;
constexpr uint32_t kOutput = 1;

class MeterTest : public SimDriverTest {
 protected:
  void SetUp() override {
    SimDriverTest::SetUp();
    Plug({2, 2, 2, 2, 1, 1});
    handle_ = OpenFirstDevice();
    std::vector<uint8_t> on = Request(property::kLevelMeterEnable, 12);
    PutU32(on, 8, 1);
    ASSERT_EQ(0u, api_.SetDspProperty(handle_, on.data(), 12));
  }

  void SetNode(uint8_t inputKind, uint8_t inputIndex, uint8_t outputKind, uint8_t outputIndex,
               uint32_t weight) {
    std::vector<uint8_t> request = Request(property::kNodeWeight, 16);
    PutNode(request, 8, inputKind, inputIndex, outputKind, outputIndex);
    PutU32(request, 12, weight);
    ASSERT_EQ(0u, api_.SetDspProperty(handle_, request.data(), 16));
  }

  void SetGain(uint8_t outputKind, uint8_t outputIndex, uint32_t gain) {
    std::vector<uint8_t> request = Request(property::kOutputGain, 14);
    request[8] = outputKind;
    request[9] = outputIndex;
    PutU32(request, 10, gain);
    ASSERT_EQ(0u, api_.SetDspProperty(handle_, request.data(), 14));
  }

  // Reads the given channels in one request; levels in the same order.
  std::vector<int16_t> Levels(const std::vector<std::array<uint32_t, 3>>& channels) {
    std::vector<uint8_t> table = Request(property::kLevelMeterTable, 8 + 8 * channels.size());
    for (size_t i = 0; i < channels.size(); ++i) {
      PutU32(table, 8 + 8 * i, channels[i][0]);
      table[8 + 8 * i + 4] = static_cast<uint8_t>(channels[i][1]);
      table[8 + 8 * i + 5] = static_cast<uint8_t>(channels[i][2]);
    }
    EXPECT_EQ(0u, api_.GetDspProperty(handle_, table.data(), static_cast<uint32_t>(table.size())));
    std::vector<int16_t> levels;
    for (size_t i = 0; i < channels.size(); ++i) levels.push_back(I16At(table, 8 + 8 * i + 6));
    return levels;
  }

  uint32_t handle_ = 0;
};

}  // namespace

TEST_F(MeterTest, UnityNodeRoutesAnInputsLevelToTheOutput) {
  // Device output 1 hears application playback 1 on a new device; take that away and route
  // the virtual playback channel instead.
  SetNode(wirekind::kAppPlayback, 1, wirekind::kDeviceOutput, 1, 0);
  SetNode(wirekind::kAppPlaybackVirt, 0, wirekind::kDeviceOutput, 1, kUnityWeight);
  const auto levels =
      Levels({{kInput, wirekind::kAppPlaybackVirt, 0}, {kOutput, wirekind::kDeviceOutput, 1}});
  EXPECT_NE(kNoLevel, levels[0]);
  EXPECT_EQ(levels[0], levels[1]);
}

TEST_F(MeterTest, HalfWeightLowersTheOutputBySixDecibels) {
  SetNode(wirekind::kDeviceInput, 0, wirekind::kAppRecording, 0, kUnityWeight / 2);
  const auto levels =
      Levels({{kInput, wirekind::kDeviceInput, 0}, {kOutput, wirekind::kAppRecording, 0}});
  EXPECT_NEAR(levels[0] - 602, levels[1], 1);
}

TEST_F(MeterTest, TwoUnityInputsOfOneSignalAddUp) {
  SetNode(wirekind::kDeviceInput, 0, wirekind::kAppRecordingVirt, 0, kUnityWeight);
  SetGain(wirekind::kAppRecordingVirt, 0, kUnityWeight * 2);
  const auto levels =
      Levels({{kInput, wirekind::kDeviceInput, 0}, {kOutput, wirekind::kAppRecordingVirt, 0}});
  EXPECT_NEAR(levels[0] + 602, levels[1], 1) << "a gain of 2 raises the level by 6 dB";
}

TEST_F(MeterTest, ZeroGainSilencesTheOutput) {
  SetGain(wirekind::kDeviceOutput, 0, 0);
  const auto levels =
      Levels({{kOutput, wirekind::kDeviceOutput, 0}, {kOutput, wirekind::kDeviceOutput, 1}});
  EXPECT_EQ(kNoLevel, levels[0]);
  EXPECT_NE(kNoLevel, levels[1]);
}

TEST_F(MeterTest, OutputWithoutConnectedNodesShowsNoLevel) {
  const auto before = Levels({{kOutput, wirekind::kAppRecordingVirt, 0}});
  EXPECT_EQ(kNoLevel, before[0]);
  SetNode(wirekind::kAppPlayback, 0, wirekind::kAppRecordingVirt, 0, kUnityWeight);
  const auto after = Levels({{kOutput, wirekind::kAppRecordingVirt, 0}});
  EXPECT_NE(kNoLevel, after[0]);
}

TEST_F(MeterTest, InputsDifferPerChannelAndMoveOverTime) {
  const std::vector<std::array<uint32_t, 3>> inputs = {
      {kInput, 0, 0}, {kInput, 0, 1}, {kInput, 1, 0}, {kInput, 1, 1}, {kInput, 2, 0}};
  const auto first = Levels(inputs);
  Sleep(700);
  const auto later = Levels(inputs);
  std::set<int16_t> distinct(first.begin(), first.end());
  EXPECT_GE(distinct.size(), 4u) << "channels carry different signals";
  size_t moved = 0;
  for (size_t i = 0; i < inputs.size(); ++i) {
    EXPECT_NE(kNoLevel, first[i]);
    if (std::abs(first[i] - later[i]) >= 10) ++moved;
  }
  EXPECT_GE(moved, 3u) << "levels move within a second";
}
