#pragma once
// The device table and each device's mixer: plug, unplug, reconnect, node weights, output
// gains. Every function here expects the state's lock to be held (StateStore::Run).
#include <cstdint>
#include <vector>

#include "SimLayout.h"
#include "SimStatus.h"

namespace sonarixsim {

// The counts in the order the tool and the property ids use: DeviceOutput, DeviceInput,
// AppPlayback, AppRecording, AppPlaybackVirt, AppRecordingVirt.
using FamilyCounts = uint32_t[kFamilies];

struct ChannelAddress {
  uint32_t kind;  // wire kind, 0..2
  uint32_t index;
};

// Every count at most kMaxChannelsPerFamily.
bool CountsFit(const ChannelCounts& counts);
ChannelCounts DefaultCounts();
ChannelCounts CountsFromFamilyOrder(const FamilyCounts& counts);
void CountsToFamilyOrder(const ChannelCounts& counts, FamilyCounts& familyCounts);

// Empties the table, the faults and the log; `withDefaultDevice` plugs one device with the
// default counts, as a machine with the hardware attached.
void ResetState(SharedState& state, bool withDefaultDevice);

// A new device: unity routing of application playback to the device outputs and of the
// device inputs to application recording, index to equal index; every other node 0, every
// output gain unity. Counts above kMaxChannelsPerFamily are refused.
Status PlugDevice(SharedState& state, const ChannelCounts& counts, uint32_t layoutVersion,
                  uint32_t& id);
// The device keeps its slot and settings until the slot is needed for a new device.
Status UnplugDevice(SharedState& state, uint32_t id);
Status ReconnectDevice(SharedState& state, uint32_t id);

// A known device, connected or not; null when the id names none.
DeviceRecord* FindDevice(SharedState& state, uint32_t id);
// The connected devices in list order: the one plugged in first comes first.
std::vector<DeviceRecord*> ConnectedDevices(SharedState& state);
// One connection of a device: a device plugged in again is another connection.
struct Connection {
  uint32_t id = 0;
  uint32_t connection = 0;
  bool operator==(const Connection& other) const {
    return id == other.id && connection == other.connection;
  }
};
// The connected devices' connections in list order.
std::vector<Connection> ConnectionsOf(SharedState& state);
// The device while that connection lasts; null once it is unplugged, even if plugged in again.
DeviceRecord* FindConnected(SharedState& state, const Connection& connection);
// Every known device: the connected ones in list order, then the unplugged ones by id.
std::vector<DeviceRecord*> KnownDevices(SharedState& state);

// The channels of a kind that can be addressed: never more than kMaxChannelsPerFamily.
uint32_t ChannelCount(const DeviceRecord& device, Side side, uint32_t kind);
bool IsValidChannel(const DeviceRecord& device, Side side, const ChannelAddress& channel);

Status ReadNodeWeight(const DeviceRecord& device, const ChannelAddress& input,
                      const ChannelAddress& output, uint32_t& weight);
Status WriteNodeWeight(DeviceRecord& device, const ChannelAddress& input,
                       const ChannelAddress& output, uint32_t weight);
Status ReadOutputGain(const DeviceRecord& device, const ChannelAddress& output, uint32_t& gain);
Status WriteOutputGain(DeviceRecord& device, const ChannelAddress& output, uint32_t gain);

}  // namespace sonarixsim
