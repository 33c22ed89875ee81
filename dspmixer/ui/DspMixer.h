#pragma once
// The device's DSP matrix mixer: its layout, node weights, output gains and level meters, each
// read or written as one fixed-layout property request through the driver API. The windows own
// no mixer state: they ask this model and show the answer.
#include <cstdint>
#include <string>
#include <vector>

#include "SonarixApi.h"
#include "StatusCode.h"

class SonarixApiDll;

// The six channel families; inputs 0 to 2, outputs 4 to 6. The two low bits are the wire kind.
enum ChannelType : uint32_t {
  AppPlayback = 0,
  DeviceInput = 1,
  AppPlaybackVirt = 2,
  AppRecording = 4,
  DeviceOutput = 5,
  AppRecordingVirt = 6,
};

// One crosspoint of the matrix.
struct MixerNode {
  uint32_t inputType;
  uint32_t inputIndex;
  uint32_t outputType;
  uint32_t outputIndex;
};

// The element of a bulk weight write.
struct NodeWeightEntry {
  MixerNode node;
  uint32_t weight;
};

enum DspPropertyId : uint32_t {
  MixerInfo = 42,
  ChannelCountDeviceOutput = 100,
  ChannelCountDeviceInput = 101,
  ChannelCountAppPlayback = 102,
  ChannelCountAppRecording = 103,
  ChannelCountAppPlaybackVirt = 104,
  ChannelCountAppRecordingVirt = 105,
  NodeWeight = 200,
  OutputGain = 201,
  LevelMeterEnable = 300,
  LevelMeterTable = 301,
};

constexpr uint32_t kMixerUnitId = 77;
// Weights and gains are linear factors with 24 fraction bits: this one is 100 %.
constexpr uint32_t kUnityWeight = 0x01000000;
// A level in hundredths of a decibel that stands for no value.
constexpr int16_t kNoLevel = -12000;
// The mixer layout this program understands (property 42).
constexpr uint32_t kSupportedMixerLayout = 2;
constexpr uint32_t kNoCountLimit = 0xFFFFFFFF;
constexpr int kFamilyCount = 6;

// The families in the order of their count properties (100 to 105), which is also the order
// of the counts and limits that the model keeps.
constexpr ChannelType kFamiliesByCountProperty[kFamilyCount] = {
    DeviceOutput, DeviceInput, AppPlayback, AppRecording, AppPlaybackVirt, AppRecordingVirt};

class DspMixer {
 public:
  explicit DspMixer(const SonarixApiDll* api);
  ~DspMixer();
  DspMixer(const DspMixer&) = delete;
  DspMixer& operator=(const DspMixer&) = delete;

  // Attaches to an open device (the caller keeps the handle) and reads its layout; a failure
  // leaves the model detached.
  StatusCode Attach(SONARIX_HANDLE handle);
  // Stops the meters and forgets the device; the limits stay.
  void Detach();
  StatusCode ReadMixerLayout();

  // The channel limit of a family; counts read from the device are cut to it.
  void SetCountLimit(ChannelType type, uint32_t limit);
  uint32_t GetChannelCount(uint32_t type) const;
  SONARIX_HANDLE Handle() const { return handle_; }
  uint32_t LayoutVersion() const { return layoutVersion_; }

  StatusCode GetNodeWeight(const MixerNode& node, uint32_t& weight) const;
  StatusCode SetNodeWeight(const MixerNode& node, uint32_t weight) const;
  // One request for every node of the list; nothing is sent when one node is invalid.
  StatusCode SetNodeWeights(const std::vector<NodeWeightEntry>& entries) const;
  StatusCode GetOutputGain(uint32_t type, uint32_t index, uint32_t& gain) const;
  StatusCode SetOutputGain(uint32_t type, uint32_t index, uint32_t gain) const;

  // Builds the level table once and starts the meters; every read reuses the table.
  StatusCode StartLevelMeters();
  StatusCode SetLevelMetersEnabled(bool enable);
  // One request for every channel's level, answered in place.
  StatusCode ReadLevelMeters();
  // The last level read of a channel, or kNoLevel.
  int16_t GetLevel(uint32_t type, uint32_t index) const;
  bool MetersRunning() const { return metersRunning_; }
  const std::vector<uint8_t>& LevelTable() const { return levelTable_; }

 private:
  StatusCode GetProperty(void* request, uint32_t size) const;
  StatusCode SetProperty(void* request, uint32_t size) const;
  // The byte offset of a family's block in the level table, or -1 when it has none.
  long LevelBlockOffset(uint32_t type) const;

  const SonarixApiDll* api_;
  SONARIX_HANDLE handle_ = 0;
  uint32_t layoutVersion_ = 0;
  uint32_t infoValue_ = 0;  // the second value of property 42: kept, not interpreted
  uint32_t counts_[kFamilyCount] = {};
  uint32_t limits_[kFamilyCount] = {kNoCountLimit, kNoCountLimit, kNoCountLimit,
                                    kNoCountLimit, kNoCountLimit, kNoCountLimit};
  bool metersRunning_ = false;
  std::vector<uint8_t> levelTable_;
};

// Slider range 0 (top, 100 %) to 256 (bottom, 0 %).
constexpr int kSliderMax = 256;
// Meter bars range 0 (-60 dB and below) to 6000 (0 dB and above).
constexpr int kMeterMax = 6000;

int WeightToSliderPos(uint32_t weight);
uint32_t SliderPosToWeight(int position);
uint32_t WeightToPercent(uint32_t weight);
int LevelToMeterPos(int level);
// The value text of a weight: the language's percent text with the number put in.
std::wstring WeightToPercentText(uint32_t weight);
