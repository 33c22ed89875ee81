#include "DspMixer.h"

#include <algorithm>
#include <cstring>

#include "LanguageTexts.h"
#include "SonarixApiDll.h"

namespace {

constexpr uint32_t kHeaderSize = 8;
constexpr uint32_t kEntrySize = 8;  // a weight record and a level table entry alike
constexpr uint32_t kMixerInfoSize = 16;
constexpr uint32_t kCountSize = 12;
constexpr uint32_t kNodeWeightSize = 16;
constexpr uint32_t kOutputGainSize = 14;  // the gain sits unaligned at offset 10
constexpr uint32_t kMeterEnableSize = 12;
constexpr uint32_t kDirectionInput = 0;
constexpr uint32_t kDirectionOutput = 1;

// The level table's blocks, in the order the device expects them.
constexpr ChannelType kLevelBlockOrder[kFamilyCount] = {
    AppPlayback, DeviceInput, AppPlaybackVirt, DeviceOutput, AppRecording, AppRecordingVirt};

bool IsInputType(uint32_t type) { return type <= AppPlaybackVirt; }
bool IsOutputType(uint32_t type) { return type >= AppRecording && type <= AppRecordingVirt; }
bool IsValidNode(const MixerNode& node) {
  return IsInputType(node.inputType) && IsOutputType(node.outputType);
}
uint32_t WireKind(uint32_t type) { return type & 3; }

// The index of a family in the count and limit arrays; -1 for a value that is no family.
int FamilySlot(uint32_t type) {
  for (int slot = 0; slot < kFamilyCount; ++slot) {
    if (kFamiliesByCountProperty[slot] == type) return slot;
  }
  return -1;
}

void PutU32(uint8_t* at, uint32_t value) { std::memcpy(at, &value, sizeof value); }
uint32_t GetU32(const uint8_t* at) {
  uint32_t value;
  std::memcpy(&value, at, sizeof value);
  return value;
}

void PutHeader(uint8_t* request, DspPropertyId property) {
  PutU32(request, kMixerUnitId);
  PutU32(request + 4, property);
}

void PutNodeId(uint8_t* at, const MixerNode& node) {
  at[0] = static_cast<uint8_t>(WireKind(node.inputType));
  at[1] = static_cast<uint8_t>(node.inputIndex & 0xFF);
  at[2] = static_cast<uint8_t>(WireKind(node.outputType));
  at[3] = static_cast<uint8_t>(node.outputIndex & 0xFF);
}

void PutOutputChannelId(uint8_t* at, uint32_t type, uint32_t index) {
  at[0] = static_cast<uint8_t>(WireKind(type));
  at[1] = static_cast<uint8_t>(index & 0xFF);
}

}  // namespace

DspMixer::DspMixer(const SonarixApiDll* api) : api_(api) {}

DspMixer::~DspMixer() { Detach(); }

StatusCode DspMixer::Attach(SONARIX_HANDLE handle) {
  Detach();
  if (handle == 0) return mixer_status::kInvalidParameter;
  handle_ = handle;
  const StatusCode read = ReadMixerLayout();
  if (read != mixer_status::kOk) Detach();
  return read;
}

void DspMixer::Detach() {
  if (handle_ != 0) {
    static_cast<void>(SetLevelMetersEnabled(false));
    handle_ = 0;
    layoutVersion_ = 0;
    infoValue_ = 0;
    std::fill(std::begin(counts_), std::end(counts_), 0u);
  }
  metersRunning_ = false;
  levelTable_.clear();  // the capacity stays for the next device
}

StatusCode DspMixer::ReadMixerLayout() {
  uint8_t info[kMixerInfoSize] = {};
  PutHeader(info, MixerInfo);
  VT_RETURN_IF_FAILED(GetProperty(info, sizeof info));
  layoutVersion_ = GetU32(info + 8);
  infoValue_ = GetU32(info + 12);
  if (layoutVersion_ != kSupportedMixerLayout) return mixer_status::kNotCompatible;

  for (int slot = 0; slot < kFamilyCount; ++slot) {
    uint8_t count[kCountSize] = {};
    PutHeader(count, static_cast<DspPropertyId>(ChannelCountDeviceOutput + slot));
    VT_RETURN_IF_FAILED(GetProperty(count, sizeof count));
    counts_[slot] = std::min(GetU32(count + 8), limits_[slot]);
  }
  return mixer_status::kOk;
}

void DspMixer::SetCountLimit(ChannelType type, uint32_t limit) {
  const int slot = FamilySlot(type);
  if (slot >= 0) limits_[slot] = limit;
}

uint32_t DspMixer::GetChannelCount(uint32_t type) const {
  const int slot = FamilySlot(type);
  return slot >= 0 ? counts_[slot] : 0;
}

StatusCode DspMixer::GetNodeWeight(const MixerNode& node, uint32_t& weight) const {
  weight = 0;
  if (!IsValidNode(node)) return mixer_status::kInvalidParameter;
  uint8_t request[kNodeWeightSize] = {};
  PutHeader(request, NodeWeight);
  PutNodeId(request + 8, node);
  VT_RETURN_IF_FAILED(GetProperty(request, sizeof request));
  weight = GetU32(request + 12);
  return mixer_status::kOk;
}

StatusCode DspMixer::SetNodeWeight(const MixerNode& node, uint32_t weight) const {
  if (!IsValidNode(node)) return mixer_status::kInvalidParameter;
  uint8_t request[kNodeWeightSize] = {};
  PutHeader(request, NodeWeight);
  PutNodeId(request + 8, node);
  PutU32(request + 12, weight);
  return SetProperty(request, sizeof request);
}

StatusCode DspMixer::SetNodeWeights(const std::vector<NodeWeightEntry>& entries) const {
  std::vector<uint8_t> request(kHeaderSize + kEntrySize * entries.size());
  PutHeader(request.data(), NodeWeight);
  uint8_t* at = request.data() + kHeaderSize;
  for (const NodeWeightEntry& entry : entries) {
    if (!IsValidNode(entry.node)) return mixer_status::kInvalidParameter;
    PutNodeId(at, entry.node);
    PutU32(at + 4, entry.weight);
    at += kEntrySize;
  }
  return SetProperty(request.data(), static_cast<uint32_t>(request.size()));
}

StatusCode DspMixer::GetOutputGain(uint32_t type, uint32_t index, uint32_t& gain) const {
  gain = 0;
  if (!IsOutputType(type)) return mixer_status::kInvalidParameter;
  uint8_t request[kOutputGainSize] = {};
  PutHeader(request, OutputGain);
  PutOutputChannelId(request + 8, type, index);
  VT_RETURN_IF_FAILED(GetProperty(request, sizeof request));
  gain = GetU32(request + 10);
  return mixer_status::kOk;
}

StatusCode DspMixer::SetOutputGain(uint32_t type, uint32_t index, uint32_t gain) const {
  if (!IsOutputType(type)) return mixer_status::kInvalidParameter;
  uint8_t request[kOutputGainSize] = {};
  PutHeader(request, OutputGain);
  PutOutputChannelId(request + 8, type, index);
  PutU32(request + 10, gain);
  return SetProperty(request, sizeof request);
}

StatusCode DspMixer::StartLevelMeters() {
  uint32_t channels = 0;
  for (uint32_t count : counts_) channels += count;
  levelTable_.assign(kHeaderSize + kEntrySize * channels, 0);
  PutHeader(levelTable_.data(), LevelMeterTable);
  uint8_t* at = levelTable_.data() + kHeaderSize;
  for (ChannelType type : kLevelBlockOrder) {
    const uint32_t direction = IsInputType(type) ? kDirectionInput : kDirectionOutput;
    for (uint32_t index = 0; index < GetChannelCount(type); ++index) {
      PutU32(at, direction);
      at[4] = static_cast<uint8_t>(WireKind(type));
      at[5] = static_cast<uint8_t>(index & 0xFF);
      at += kEntrySize;
    }
  }
  return SetLevelMetersEnabled(true);
}

StatusCode DspMixer::SetLevelMetersEnabled(bool enable) {
  metersRunning_ = false;
  uint8_t request[kMeterEnableSize] = {};
  PutHeader(request, LevelMeterEnable);
  PutU32(request + 8, enable ? 1 : 0);
  VT_RETURN_IF_FAILED(SetProperty(request, sizeof request));
  metersRunning_ = enable;
  return mixer_status::kOk;
}

StatusCode DspMixer::ReadLevelMeters() {
  if (!metersRunning_ || levelTable_.empty()) return mixer_status::kNotFound;
  return GetProperty(levelTable_.data(), static_cast<uint32_t>(levelTable_.size()));
}

long DspMixer::LevelBlockOffset(uint32_t type) const {
  if (!metersRunning_ || levelTable_.empty() || FamilySlot(type) < 0) return -1;
  long offset = kHeaderSize;
  for (ChannelType block : kLevelBlockOrder) {
    if (block == type) return offset;
    offset += static_cast<long>(kEntrySize * GetChannelCount(block));
  }
  return -1;
}

int16_t DspMixer::GetLevel(uint32_t type, uint32_t index) const {
  const long block = LevelBlockOffset(type);
  if (block < 0 || index >= GetChannelCount(type)) return kNoLevel;
  int16_t level;
  std::memcpy(&level, levelTable_.data() + block + kEntrySize * index + 6, sizeof level);
  return level;
}

StatusCode DspMixer::GetProperty(void* request, uint32_t size) const {
  if (api_ == nullptr || api_->SONARIX_GetDspProperty == nullptr) return mixer_status::kNotBound;
  return api_->SONARIX_GetDspProperty(handle_, request, size);
}

StatusCode DspMixer::SetProperty(void* request, uint32_t size) const {
  if (api_ == nullptr || api_->SONARIX_SetDspProperty == nullptr) return mixer_status::kNotBound;
  return api_->SONARIX_SetDspProperty(handle_, request, size);
}

int WeightToSliderPos(uint32_t weight) {
  // Weights above unity give positions above the top; the slider clamps them.
  return static_cast<int>((static_cast<int64_t>(kUnityWeight) - static_cast<int64_t>(weight)) /
                          65536);
}

uint32_t SliderPosToWeight(int position) {
  return static_cast<uint32_t>(kSliderMax - position) * 65536u;
}

uint32_t WeightToPercent(uint32_t weight) {
  // 64 bits: a weight above 128 % would overflow 32 bits and show a wrong number.
  return static_cast<uint32_t>(static_cast<uint64_t>(weight) * 100 / kUnityWeight);
}

int LevelToMeterPos(int level) { return std::clamp(level + kMeterMax, 0, kMeterMax); }

std::wstring WeightToPercentText(uint32_t weight) {
  return GetValueInPercentText(WeightToPercent(weight));
}
