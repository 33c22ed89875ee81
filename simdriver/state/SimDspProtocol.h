#pragma once
// The DSP property requests of the mixer unit: packed little-endian buffers that start with
// the unit id and the property id. A Get answers in place; a Set changes the device. Every
// request is checked in full before anything is answered or changed: a request that fails
// changes nothing.
#include <cstdint>
#include <vector>

#include "SimLayout.h"
#include "SimStatus.h"

namespace sonarixsim {

namespace property {
constexpr uint32_t kMixerInfo = 42;
constexpr uint32_t kChannelCountDeviceOutput = 100;
constexpr uint32_t kChannelCountDeviceInput = 101;
constexpr uint32_t kChannelCountAppPlayback = 102;
constexpr uint32_t kChannelCountAppRecording = 103;
constexpr uint32_t kChannelCountAppPlaybackVirt = 104;
constexpr uint32_t kChannelCountAppRecordingVirt = 105;
constexpr uint32_t kNodeWeight = 200;
constexpr uint32_t kOutputGain = 201;
constexpr uint32_t kLevelMeterEnable = 300;
constexpr uint32_t kLevelMeterTable = 301;
}  // namespace property

constexpr uint32_t kRequestHeaderSize = 8;
constexpr uint32_t kMixerInfoRequestSize = 16;
constexpr uint32_t kChannelCountRequestSize = 12;
constexpr uint32_t kNodeWeightRequestSize = 16;
constexpr uint32_t kNodeWeightRecordSize = 8;
constexpr uint32_t kOutputGainRequestSize = 14;
constexpr uint32_t kOutputGainOffset = 10;
constexpr uint32_t kLevelMeterEnableRequestSize = 12;
constexpr uint32_t kLevelMeterEntrySize = 8;
// Larger requests are refused before a byte is read: no device has a table that long.
constexpr uint32_t kMaxRequestSize = 64 * 1024;

// The property id of a request that has at least the header; false otherwise.
bool RequestProperty(const std::vector<uint8_t>& request, uint32_t& property);

// Fills the answer fields of a Get request in place; `nowMs` is the moment the meters show.
Status AnswerGet(DeviceRecord& device, std::vector<uint8_t>& request, uint32_t nowMs);
Status ApplySet(DeviceRecord& device, const std::vector<uint8_t>& request);

}  // namespace sonarixsim
