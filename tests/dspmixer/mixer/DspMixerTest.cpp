// The DSP mixer model against a recording stand-in for the driver's two property calls: the
// exact request bytes, the answers it reads, the limits, and the conversions the windows use.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <vector>

#include "DspMixer.h"
#include "SonarixApiDll.h"

namespace {

using Bytes = std::vector<uint8_t>;

struct Call {
  bool isGet;
  SONARIX_HANDLE handle;
  Bytes bytes;  // as the model sent them
};

// The stand-in device: records every request and lets the test answer Get requests in place.
struct FakeDevice {
  std::vector<Call> calls;
  std::function<SONARIX_STATUS(Bytes& request)> answer;
  SONARIX_STATUS setStatus = 0;
};
FakeDevice* g_device = nullptr;

uint32_t U32(const Bytes& bytes, size_t at) {
  uint32_t value;
  std::memcpy(&value, bytes.data() + at, sizeof value);
  return value;
}
void PutU32(uint8_t* at, uint32_t value) { std::memcpy(at, &value, sizeof value); }

SONARIX_STATUS SONARIX_API FakeGet(SONARIX_HANDLE handle, void* request, uint32_t size) {
  Bytes bytes(static_cast<uint8_t*>(request), static_cast<uint8_t*>(request) + size);
  g_device->calls.push_back({true, handle, bytes});
  const SONARIX_STATUS status = g_device->answer ? g_device->answer(bytes) : 0;
  std::memcpy(request, bytes.data(), size);
  return status;
}

SONARIX_STATUS SONARIX_API FakeSet(SONARIX_HANDLE handle, void* request, uint32_t size) {
  Bytes bytes(static_cast<uint8_t*>(request), static_cast<uint8_t*>(request) + size);
  g_device->calls.push_back({false, handle, bytes});
  return g_device->setStatus;
}

Bytes Header(uint32_t property) {
  Bytes bytes(8);
  PutU32(bytes.data(), 77);
  PutU32(bytes.data() + 4, property);
  return bytes;
}

// Answers property 42 with `layout` and the count properties with `counts` (in the order of
// properties 100 to 105).
std::function<SONARIX_STATUS(Bytes&)> Layout(uint32_t layout, std::vector<uint32_t> counts) {
  return [layout, counts](Bytes& request) -> SONARIX_STATUS {
    const uint32_t property = U32(request, 4);
    if (property == 42) {
      PutU32(request.data() + 8, layout);
      PutU32(request.data() + 12, 0x1234);
    } else if (property >= 100 && property <= 105) {
      PutU32(request.data() + 8, counts[property - 100]);
    }
    return 0;
  };
}

class DspMixerTest : public ::testing::Test {
 protected:
  DspMixerTest() : mixer_(&api_) {
    g_device = &device_;
    api_.SONARIX_GetDspProperty = FakeGet;
    api_.SONARIX_SetDspProperty = FakeSet;
  }
  ~DspMixerTest() override {
    mixer_.Detach();  // its last request still reaches the stand-in
    g_device = nullptr;
  }

  // Attached to a device of layout 2 with these counts (properties 100 to 105), calls cleared.
  void AttachTo(std::vector<uint32_t> counts) {
    device_.answer = Layout(2, counts);
    ASSERT_EQ(0u, mixer_.Attach(0x51));
    device_.calls.clear();
  }

  FakeDevice device_;
  SonarixApiDll api_;
  DspMixer mixer_;
};

}  // namespace

TEST_F(DspMixerTest, AttachReadsTheLayoutInPropertyOrder) {
  device_.answer = Layout(2, {2, 3, 4, 5, 6, 7});
  ASSERT_EQ(0u, mixer_.Attach(0x51));
  ASSERT_EQ(7u, device_.calls.size());
  Bytes info = Header(42);
  info.resize(16);
  EXPECT_EQ(info, device_.calls[0].bytes);
  for (uint32_t i = 0; i < 6; ++i) {
    Bytes count = Header(100 + i);
    count.resize(12);
    EXPECT_EQ(count, device_.calls[1 + i].bytes) << i;
    EXPECT_EQ(0x51u, device_.calls[1 + i].handle);
  }
  EXPECT_EQ(2u, mixer_.GetChannelCount(DeviceOutput));
  EXPECT_EQ(3u, mixer_.GetChannelCount(DeviceInput));
  EXPECT_EQ(4u, mixer_.GetChannelCount(AppPlayback));
  EXPECT_EQ(5u, mixer_.GetChannelCount(AppRecording));
  EXPECT_EQ(6u, mixer_.GetChannelCount(AppPlaybackVirt));
  EXPECT_EQ(7u, mixer_.GetChannelCount(AppRecordingVirt));
  EXPECT_EQ(0u, mixer_.GetChannelCount(3));
}

TEST_F(DspMixerTest, OtherLayoutVersionsAreNotCompatibleAndLeaveTheModelDetached) {
  for (uint32_t version : {1u, 3u}) {
    device_.answer = Layout(version, {2, 2, 2, 2, 2, 2});
    EXPECT_EQ(0xEE000060u, mixer_.Attach(0x51)) << version;
    EXPECT_EQ(0u, mixer_.Handle());
    EXPECT_EQ(0u, mixer_.GetChannelCount(DeviceOutput));
  }
}

TEST_F(DspMixerTest, AttachWithoutAHandleOrWithoutTheBindingFails) {
  EXPECT_EQ(0xEE000041u, mixer_.Attach(0));
  EXPECT_TRUE(device_.calls.empty());
  api_.SONARIX_GetDspProperty = nullptr;
  EXPECT_EQ(0xEE000030u, mixer_.Attach(0x51));
  EXPECT_EQ(0u, mixer_.Handle());
}

TEST_F(DspMixerTest, DriverErrorPassesUnchangedAndCountsReadBeforeItStay) {
  AttachTo({1, 1, 1, 1, 1, 1});
  device_.answer = [](Bytes& request) -> SONARIX_STATUS {
    const uint32_t property = U32(request, 4);
    if (property == 42) PutU32(request.data() + 8, 2);
    if (property == 100 || property == 101) PutU32(request.data() + 8, 4);
    return property == 102 ? 0xEE000071 : 0;
  };
  EXPECT_EQ(0xEE000071u, mixer_.ReadMixerLayout());
  EXPECT_EQ(4u, mixer_.GetChannelCount(DeviceOutput));
  EXPECT_EQ(4u, mixer_.GetChannelCount(DeviceInput));
  EXPECT_EQ(4u, device_.calls.size());  // 42, 100, 101, 102: the error ends the sequence

  EXPECT_EQ(0xEE000071u, mixer_.Attach(0x51));
  EXPECT_EQ(0u, mixer_.Handle());  // a failed attach detaches
  EXPECT_EQ(0u, mixer_.GetChannelCount(DeviceOutput));
}

TEST_F(DspMixerTest, CountsAreCutToTheirLimits) {
  mixer_.SetCountLimit(DeviceOutput, 8);
  mixer_.SetCountLimit(DeviceInput, 0);
  AttachTo({16, 16, 16, 3, 2, 2});
  EXPECT_EQ(8u, mixer_.GetChannelCount(DeviceOutput));
  EXPECT_EQ(0u, mixer_.GetChannelCount(DeviceInput));
  EXPECT_EQ(16u, mixer_.GetChannelCount(AppPlayback));  // no limit set
}

TEST_F(DspMixerTest, NodeWeightRequestsCarryTheNodeIdentifier) {
  AttachTo({2, 2, 2, 2, 2, 2});
  device_.answer = [](Bytes& request) -> SONARIX_STATUS {
    PutU32(request.data() + 12, 0x00C00000);
    return 0;
  };
  uint32_t weight = 0;
  ASSERT_EQ(0u, mixer_.GetNodeWeight({AppPlaybackVirt, 300, AppRecordingVirt, 1}, weight));
  EXPECT_EQ(0x00C00000u, weight);
  Bytes get = Header(200);
  get.insert(get.end(), {2, 44, 2, 1, 0, 0, 0, 0});  // index 300 goes as its low byte, 44
  EXPECT_EQ(get, device_.calls.back().bytes);

  ASSERT_EQ(0u, mixer_.SetNodeWeight({DeviceInput, 1, DeviceOutput, 0}, kUnityWeight));
  Bytes set = Header(200);
  set.insert(set.end(), {1, 1, 1, 0, 0, 0, 0, 1});
  EXPECT_FALSE(device_.calls.back().isGet);
  EXPECT_EQ(set, device_.calls.back().bytes);
}

TEST_F(DspMixerTest, InvalidNodesAreRefusedWithoutARequest) {
  AttachTo({2, 2, 2, 2, 2, 2});
  uint32_t weight = 99;
  EXPECT_EQ(0xEE000041u, mixer_.GetNodeWeight({3, 0, DeviceOutput, 0}, weight));
  EXPECT_EQ(0u, weight);
  EXPECT_EQ(0xEE000041u, mixer_.SetNodeWeight({AppPlayback, 0, 3, 0}, 1));
  EXPECT_EQ(0xEE000041u, mixer_.SetNodeWeight({AppPlayback, 0, AppPlayback, 0}, 1));
  EXPECT_TRUE(device_.calls.empty());
}

TEST_F(DspMixerTest, BulkWeightsGoInOneRequestOrNotAtAll) {
  AttachTo({2, 2, 2, 2, 2, 2});
  ASSERT_EQ(0u, mixer_.SetNodeWeights({}));
  ASSERT_EQ(1u, device_.calls.size());
  EXPECT_EQ(Header(200), device_.calls[0].bytes);  // the header alone

  ASSERT_EQ(0u, mixer_.SetNodeWeights({{{AppPlayback, 0, DeviceOutput, 0}, 0x00800000},
                                       {{AppPlayback, 1, DeviceOutput, 0}, 0}}));
  Bytes two = Header(200);
  two.insert(two.end(), {0, 0, 1, 0, 0, 0, 0x80, 0, 0, 1, 1, 0, 0, 0, 0, 0});
  EXPECT_EQ(two, device_.calls.back().bytes);

  device_.calls.clear();
  EXPECT_EQ(0xEE000041u, mixer_.SetNodeWeights({{{AppPlayback, 0, DeviceOutput, 0}, 1},
                                                {{AppRecording, 0, DeviceOutput, 0}, 1}}));
  EXPECT_TRUE(device_.calls.empty());
}

TEST_F(DspMixerTest, OutputGainRequestsAreFourteenBytesWithTheGainAtOffsetTen) {
  AttachTo({2, 2, 2, 2, 2, 2});
  ASSERT_EQ(0u, mixer_.SetOutputGain(DeviceOutput, 257, 0x00A0B0C0));
  Bytes set = Header(201);
  set.insert(set.end(), {1, 1, 0xC0, 0xB0, 0xA0, 0x00});
  EXPECT_EQ(set, device_.calls.back().bytes);

  device_.answer = [](Bytes& request) -> SONARIX_STATUS {
    PutU32(request.data() + 10, 0x01400000);
    return 0;
  };
  uint32_t gain = 0;
  ASSERT_EQ(0u, mixer_.GetOutputGain(AppRecordingVirt, 3, gain));
  EXPECT_EQ(0x01400000u, gain);
  EXPECT_EQ(14u, device_.calls.back().bytes.size());
  EXPECT_TRUE(device_.calls.back().isGet);

  device_.calls.clear();
  gain = 7;
  EXPECT_EQ(0xEE000041u, mixer_.GetOutputGain(AppPlaybackVirt, 0, gain));
  EXPECT_EQ(0u, gain);
  EXPECT_EQ(0xEE000041u, mixer_.SetOutputGain(AppPlayback, 0, 1));
  EXPECT_TRUE(device_.calls.empty());
}

TEST_F(DspMixerTest, LevelTableIsBuiltOnceInBlockOrderAndReusedByEveryRead) {
  AttachTo({2, 2, 2, 2, 1, 1});
  EXPECT_EQ(0xEE000039u, mixer_.ReadLevelMeters());  // not running yet
  EXPECT_EQ(kNoLevel, mixer_.GetLevel(AppPlayback, 0));
  ASSERT_EQ(0u, mixer_.StartLevelMeters());
  Bytes enable = Header(300);
  enable.insert(enable.end(), {1, 0, 0, 0});
  ASSERT_EQ(1u, device_.calls.size());
  EXPECT_EQ(enable, device_.calls[0].bytes);

  const Bytes& table = mixer_.LevelTable();
  ASSERT_EQ(88u, table.size());
  EXPECT_EQ(Header(301), Bytes(table.begin(), table.begin() + 8));
  const uint8_t expected[10][3] = {{0, 0, 0}, {0, 0, 1}, {0, 1, 0}, {0, 1, 1}, {0, 2, 0},
                                   {1, 1, 0}, {1, 1, 1}, {1, 0, 0}, {1, 0, 1}, {1, 2, 0}};
  for (size_t entry = 0; entry < 10; ++entry) {
    const size_t at = 8 + 8 * entry;
    EXPECT_EQ(expected[entry][0], U32(table, at)) << entry;
    EXPECT_EQ(expected[entry][1], table[at + 4]) << entry;
    EXPECT_EQ(expected[entry][2], table[at + 5]) << entry;
  }

  // The device answers each entry's level in place: -100 times its position.
  device_.answer = [](Bytes& request) -> SONARIX_STATUS {
    for (size_t entry = 0; 8 + 8 * entry < request.size(); ++entry) {
      const int16_t level = static_cast<int16_t>(-100 * static_cast<int>(entry));
      std::memcpy(request.data() + 8 + 8 * entry + 6, &level, sizeof level);
    }
    return 0;
  };
  const uint8_t* storage = table.data();
  for (int tick = 0; tick < 3; ++tick) ASSERT_EQ(0u, mixer_.ReadLevelMeters());
  EXPECT_EQ(storage, mixer_.LevelTable().data());
  ASSERT_EQ(4u, device_.calls.size());
  EXPECT_EQ(88u, device_.calls[3].bytes.size());
  EXPECT_EQ(-500, mixer_.GetLevel(DeviceOutput, 0));    // block 4 follows the inputs
  EXPECT_EQ(-800, mixer_.GetLevel(AppRecording, 1));    // block 5
  EXPECT_EQ(-900, mixer_.GetLevel(AppRecordingVirt, 0));
  EXPECT_EQ(-400, mixer_.GetLevel(AppPlaybackVirt, 0));
  EXPECT_EQ(kNoLevel, mixer_.GetLevel(DeviceOutput, 5));
  EXPECT_EQ(kNoLevel, mixer_.GetLevel(3, 0));
}

TEST_F(DspMixerTest, FailedMeterStartLeavesTheTableAndReadsNothing) {
  AttachTo({1, 1, 1, 1, 0, 0});
  device_.setStatus = 0xEE000044;
  EXPECT_EQ(0xEE000044u, mixer_.StartLevelMeters());
  EXPECT_EQ(40u, mixer_.LevelTable().size());
  EXPECT_FALSE(mixer_.MetersRunning());
  EXPECT_EQ(0xEE000039u, mixer_.ReadLevelMeters());
  EXPECT_EQ(kNoLevel, mixer_.GetLevel(AppPlayback, 0));
}

TEST_F(DspMixerTest, DetachStopsTheMetersAndForgetsTheDevice) {
  AttachTo({1, 1, 1, 1, 0, 0});
  ASSERT_EQ(0u, mixer_.StartLevelMeters());
  mixer_.Detach();
  Bytes disable = Header(300);
  disable.insert(disable.end(), {0, 0, 0, 0});
  EXPECT_EQ(disable, device_.calls.back().bytes);
  EXPECT_EQ(0u, mixer_.Handle());
  EXPECT_TRUE(mixer_.LevelTable().empty());
  EXPECT_EQ(0u, mixer_.GetChannelCount(AppPlayback));
  device_.calls.clear();
  mixer_.Detach();  // nothing attached: no request
  EXPECT_TRUE(device_.calls.empty());
}

TEST(DspMixerConversions, SliderPositionsAndWeights) {
  EXPECT_EQ(0, WeightToSliderPos(0x01000000));
  EXPECT_EQ(256, WeightToSliderPos(0));
  EXPECT_EQ(128, WeightToSliderPos(0x00800000));
  EXPECT_EQ(64, WeightToSliderPos(0x00C00000));
  EXPECT_EQ(-64, WeightToSliderPos(0x01400000));  // above the top; the slider clamps it
  EXPECT_EQ(0x10000u, SliderPosToWeight(255));
  EXPECT_EQ(kUnityWeight, SliderPosToWeight(0));
  EXPECT_EQ(0u, SliderPosToWeight(256));
  for (int position = 0; position <= 256; ++position) {
    EXPECT_EQ(position, WeightToSliderPos(SliderPosToWeight(position)));
  }
}

TEST(DspMixerConversions, PercentAndMeterPositions) {
  EXPECT_EQ(99u, WeightToPercent(0x00FFFFFF));
  EXPECT_EQ(125u, WeightToPercent(0x01400000));
  EXPECT_EQ(75u, WeightToPercent(0x00C00000));
  EXPECT_EQ(300u, WeightToPercent(0x03000000));  // past 128 %, where 32 bits would overflow
  EXPECT_EQ(25599u, WeightToPercent(0xFFFFFFFF));
  EXPECT_EQ(L"75%", WeightToPercentText(0x00C00000));
  EXPECT_EQ(0, LevelToMeterPos(-7000));
  EXPECT_EQ(0, LevelToMeterPos(kNoLevel));
  EXPECT_EQ(4750, LevelToMeterPos(-1250));
  EXPECT_EQ(6000, LevelToMeterPos(300));
}
