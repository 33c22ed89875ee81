#include "SimDspProtocol.h"

#include "SimDevices.h"
#include "SimSignal.h"

namespace sonarixsim {
namespace {

uint32_t ReadU32(const std::vector<uint8_t>& bytes, size_t offset) {
  return static_cast<uint32_t>(bytes[offset]) | static_cast<uint32_t>(bytes[offset + 1]) << 8 |
         static_cast<uint32_t>(bytes[offset + 2]) << 16 |
         static_cast<uint32_t>(bytes[offset + 3]) << 24;
}

void WriteU32(std::vector<uint8_t>& bytes, size_t offset, uint32_t value) {
  for (size_t i = 0; i < 4; ++i) bytes[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}

void WriteI16(std::vector<uint8_t>& bytes, size_t offset, int16_t value) {
  const uint16_t bits = static_cast<uint16_t>(value);
  bytes[offset] = static_cast<uint8_t>(bits);
  bytes[offset + 1] = static_cast<uint8_t>(bits >> 8);
}

struct NodeAddress {
  ChannelAddress input;
  ChannelAddress output;
};

// Node identifier: input kind, input index, output kind, output index, one byte each.
NodeAddress NodeAt(const std::vector<uint8_t>& bytes, size_t offset) {
  return {{bytes[offset], bytes[offset + 1]}, {bytes[offset + 2], bytes[offset + 3]}};
}

// Output channel identifier: kind, index, one byte each.
ChannelAddress OutputAt(const std::vector<uint8_t>& bytes, size_t offset) {
  return {bytes[offset], bytes[offset + 1]};
}

bool IsKnownProperty(uint32_t id) {
  return id == property::kMixerInfo ||
         (id >= property::kChannelCountDeviceOutput &&
          id <= property::kChannelCountAppRecordingVirt) ||
         id == property::kNodeWeight || id == property::kOutputGain ||
         id == property::kLevelMeterEnable || id == property::kLevelMeterTable;
}

// Checks what every request shares: the header, the unit, a property the unit has.
Status CheckHeader(const std::vector<uint8_t>& request, uint32_t& id) {
  if (!RequestProperty(request, id)) return status::kWrongRequestSize;
  if (ReadU32(request, 0) != kMixerUnitId) return status::kWrongUnit;
  if (!IsKnownProperty(id)) return status::kUnknownProperty;
  return status::kOk;
}

Status CheckSize(const std::vector<uint8_t>& request, uint32_t expected) {
  return request.size() == expected ? status::kOk : status::kWrongRequestSize;
}

// A header followed by whole records of `recordSize` bytes, none at all allowed.
Status CheckRecords(const std::vector<uint8_t>& request, uint32_t recordSize) {
  return (request.size() - kRequestHeaderSize) % recordSize == 0 ? status::kOk
                                                                 : status::kWrongRequestSize;
}

// The channel-count properties follow the family order; `id` is one of them.
uint32_t CountOfProperty(const DeviceRecord& device, uint32_t id) {
  FamilyCounts counts = {};
  CountsToFamilyOrder(device.counts, counts);
  return counts[id - property::kChannelCountDeviceOutput];
}

Status GetMixerInfo(const DeviceRecord& device, std::vector<uint8_t>& request) {
  VT_RETURN_IF_FAILED(CheckSize(request, kMixerInfoRequestSize));
  WriteU32(request, 8, device.layoutVersion);
  WriteU32(request, 12, device.infoValue);
  return status::kOk;
}

Status GetChannelCount(const DeviceRecord& device, uint32_t id, std::vector<uint8_t>& request) {
  VT_RETURN_IF_FAILED(CheckSize(request, kChannelCountRequestSize));
  WriteU32(request, 8, CountOfProperty(device, id));
  return status::kOk;
}

Status GetNodeWeight(const DeviceRecord& device, std::vector<uint8_t>& request) {
  VT_RETURN_IF_FAILED(CheckSize(request, kNodeWeightRequestSize));
  const NodeAddress node = NodeAt(request, 8);
  uint32_t weight = 0;
  VT_RETURN_IF_FAILED(ReadNodeWeight(device, node.input, node.output, weight));
  WriteU32(request, 12, weight);
  return status::kOk;
}

Status GetOutputGain(const DeviceRecord& device, std::vector<uint8_t>& request) {
  VT_RETURN_IF_FAILED(CheckSize(request, kOutputGainRequestSize));
  uint32_t gain = 0;
  VT_RETURN_IF_FAILED(ReadOutputGain(device, OutputAt(request, 8), gain));
  WriteU32(request, kOutputGainOffset, gain);
  return status::kOk;
}

// Entry: u32 direction, u8 kind, u8 index, i16 level (answered).
Status GetLevelTable(const DeviceRecord& device, std::vector<uint8_t>& request, uint32_t nowMs) {
  VT_RETURN_IF_FAILED(CheckRecords(request, kLevelMeterEntrySize));
  for (size_t offset = kRequestHeaderSize; offset < request.size();
       offset += kLevelMeterEntrySize) {
    const uint32_t direction = ReadU32(request, offset);
    const ChannelAddress channel = {request[offset + 4], request[offset + 5]};
    if (direction > static_cast<uint32_t>(Side::Output)) return status::kInvalidChannel;
    if (!IsValidChannel(device, static_cast<Side>(direction), channel)) {
      return status::kInvalidChannel;
    }
  }
  for (size_t offset = kRequestHeaderSize; offset < request.size();
       offset += kLevelMeterEntrySize) {
    const Side side = static_cast<Side>(ReadU32(request, offset));
    const ChannelAddress channel = {request[offset + 4], request[offset + 5]};
    WriteI16(request, offset + 6, ChannelLevel(device, side, channel, nowMs));
  }
  return status::kOk;
}

Status SetNodeWeights(DeviceRecord& device, const std::vector<uint8_t>& request) {
  VT_RETURN_IF_FAILED(CheckRecords(request, kNodeWeightRecordSize));
  for (size_t offset = kRequestHeaderSize; offset < request.size();
       offset += kNodeWeightRecordSize) {
    const NodeAddress node = NodeAt(request, offset);
    if (!IsValidChannel(device, Side::Input, node.input) ||
        !IsValidChannel(device, Side::Output, node.output)) {
      return status::kInvalidChannel;
    }
  }
  for (size_t offset = kRequestHeaderSize; offset < request.size();
       offset += kNodeWeightRecordSize) {
    const NodeAddress node = NodeAt(request, offset);
    WriteNodeWeight(device, node.input, node.output, ReadU32(request, offset + 4));
  }
  return status::kOk;
}

Status SetOutputGain(DeviceRecord& device, const std::vector<uint8_t>& request) {
  VT_RETURN_IF_FAILED(CheckSize(request, kOutputGainRequestSize));
  return WriteOutputGain(device, OutputAt(request, 8), ReadU32(request, kOutputGainOffset));
}

Status SetLevelMeters(DeviceRecord& device, const std::vector<uint8_t>& request) {
  VT_RETURN_IF_FAILED(CheckSize(request, kLevelMeterEnableRequestSize));
  const uint32_t enable = ReadU32(request, 8);
  if (enable > 1) return status::kInvalidParameter;
  device.metersRunning = enable;
  return status::kOk;
}

}  // namespace

bool RequestProperty(const std::vector<uint8_t>& request, uint32_t& property) {
  if (request.size() < kRequestHeaderSize) return false;
  property = ReadU32(request, 4);
  return true;
}

Status AnswerGet(DeviceRecord& device, std::vector<uint8_t>& request, uint32_t nowMs) {
  uint32_t id = 0;
  VT_RETURN_IF_FAILED(CheckHeader(request, id));
  switch (id) {
    case property::kMixerInfo:
      return GetMixerInfo(device, request);
    case property::kNodeWeight:
      return GetNodeWeight(device, request);
    case property::kOutputGain:
      return GetOutputGain(device, request);
    case property::kLevelMeterTable:
      return GetLevelTable(device, request, nowMs);
    case property::kLevelMeterEnable:
      return status::kWrongDirection;
    default:
      return GetChannelCount(device, id, request);
  }
}

Status ApplySet(DeviceRecord& device, const std::vector<uint8_t>& request) {
  uint32_t id = 0;
  VT_RETURN_IF_FAILED(CheckHeader(request, id));
  switch (id) {
    case property::kNodeWeight:
      return SetNodeWeights(device, request);
    case property::kOutputGain:
      return SetOutputGain(device, request);
    case property::kLevelMeterEnable:
      return SetLevelMeters(device, request);
    default:
      return status::kWrongDirection;
  }
}

}  // namespace sonarixsim
