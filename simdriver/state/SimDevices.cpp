#include "SimDevices.h"

#include <algorithm>
#include <cstring>

namespace sonarixsim {
namespace {

constexpr FamilyCounts kDefaultFamilyCounts = {4, 4, 4, 4, 2, 2};
constexpr uint32_t kDefaultInfoValue = 1;

void MarkDeviceChange(SharedState& state) { InterlockedIncrement(&state.deviceChanges); }

void SetFactoryMixer(DeviceRecord& device) {
  std::memset(device.weights, 0, sizeof(device.weights));
  for (uint32_t kind = 0; kind < kWireKinds; ++kind) {
    for (uint32_t index = 0; index < kMaxChannelsPerFamily; ++index) {
      device.gains[kind][index] = kUnityWeight;
    }
  }
  for (uint32_t index = 0; index < kMaxChannelsPerFamily; ++index) {
    device.weights[wirekind::kAppPlayback][index][wirekind::kDeviceOutput][index] = kUnityWeight;
    device.weights[wirekind::kDeviceInput][index][wirekind::kAppRecording][index] = kUnityWeight;
  }
}

// A free slot, else the slot of the unplugged device that was connected longest ago.
DeviceRecord* SlotForNewDevice(SharedState& state) {
  DeviceRecord* oldestUnplugged = nullptr;
  for (DeviceRecord& device : state.devices) {
    if (device.id == 0) return &device;
    if (device.connected == 0 &&
        (oldestUnplugged == nullptr || device.connection < oldestUnplugged->connection)) {
      oldestUnplugged = &device;
    }
  }
  return oldestUnplugged;
}

void Connect(SharedState& state, DeviceRecord& device) {
  device.connected = 1;
  device.connection = state.nextConnection++;
  device.metersRunning = 0;
  MarkDeviceChange(state);
}

}  // namespace

bool CountsFit(const ChannelCounts& counts) {
  for (uint32_t kind = 0; kind < kWireKinds; ++kind) {
    if (counts.inputs[kind] > kMaxChannelsPerFamily) return false;
    if (counts.outputs[kind] > kMaxChannelsPerFamily) return false;
  }
  return true;
}

ChannelCounts DefaultCounts() { return CountsFromFamilyOrder(kDefaultFamilyCounts); }

ChannelCounts CountsFromFamilyOrder(const FamilyCounts& counts) {
  ChannelCounts result = {};
  result.outputs[wirekind::kDeviceOutput] = counts[0];
  result.inputs[wirekind::kDeviceInput] = counts[1];
  result.inputs[wirekind::kAppPlayback] = counts[2];
  result.outputs[wirekind::kAppRecording] = counts[3];
  result.inputs[wirekind::kAppPlaybackVirt] = counts[4];
  result.outputs[wirekind::kAppRecordingVirt] = counts[5];
  return result;
}

void CountsToFamilyOrder(const ChannelCounts& counts, FamilyCounts& familyCounts) {
  familyCounts[0] = counts.outputs[wirekind::kDeviceOutput];
  familyCounts[1] = counts.inputs[wirekind::kDeviceInput];
  familyCounts[2] = counts.inputs[wirekind::kAppPlayback];
  familyCounts[3] = counts.outputs[wirekind::kAppRecording];
  familyCounts[4] = counts.inputs[wirekind::kAppPlaybackVirt];
  familyCounts[5] = counts.outputs[wirekind::kAppRecordingVirt];
}

void ResetState(SharedState& state, bool withDefaultDevice) {
  // Notifier threads compare this counter with what they saw last; it keeps running.
  const LONG changes = state.deviceChanges;
  std::memset(&state, 0, sizeof(state));
  state.magic = kStateMagic;
  state.layoutVersion = kStateLayoutVersion;
  state.stateSize = sizeof(SharedState);
  state.deviceChanges = changes + 1;
  state.nextDeviceId = 1;
  state.nextConnection = 1;
  if (withDefaultDevice) {
    uint32_t id = 0;
    PlugDevice(state, DefaultCounts(), kMixerLayoutVersion, id);
  }
}

Status PlugDevice(SharedState& state, const ChannelCounts& counts, uint32_t layoutVersion,
                  uint32_t& id) {
  id = 0;
  if (!CountsFit(counts)) return status::kInvalidParameter;
  DeviceRecord* device = SlotForNewDevice(state);
  if (device == nullptr) return status::kDeviceTableFull;
  std::memset(device, 0, sizeof(*device));
  device->id = state.nextDeviceId++;
  device->layoutVersion = layoutVersion;
  device->infoValue = kDefaultInfoValue;
  device->counts = counts;
  SetFactoryMixer(*device);
  Connect(state, *device);
  id = device->id;
  return status::kOk;
}

Status UnplugDevice(SharedState& state, uint32_t id) {
  DeviceRecord* device = FindDevice(state, id);
  if (device == nullptr || device->connected == 0) return status::kNoSuchDevice;
  device->connected = 0;
  device->metersRunning = 0;
  MarkDeviceChange(state);
  return status::kOk;
}

Status ReconnectDevice(SharedState& state, uint32_t id) {
  DeviceRecord* device = FindDevice(state, id);
  if (device == nullptr || device->connected != 0) return status::kNoSuchDevice;
  Connect(state, *device);
  return status::kOk;
}

DeviceRecord* FindDevice(SharedState& state, uint32_t id) {
  if (id == 0) return nullptr;
  for (DeviceRecord& device : state.devices) {
    if (device.id == id) return &device;
  }
  return nullptr;
}

std::vector<DeviceRecord*> ConnectedDevices(SharedState& state) {
  std::vector<DeviceRecord*> devices;
  for (DeviceRecord& device : state.devices) {
    if (device.id != 0 && device.connected != 0) devices.push_back(&device);
  }
  std::sort(devices.begin(), devices.end(), [](const DeviceRecord* a, const DeviceRecord* b) {
    return a->connection < b->connection;
  });
  return devices;
}

std::vector<Connection> ConnectionsOf(SharedState& state) {
  std::vector<Connection> connections;
  for (const DeviceRecord* device : ConnectedDevices(state)) {
    connections.push_back({device->id, device->connection});
  }
  return connections;
}

DeviceRecord* FindConnected(SharedState& state, const Connection& connection) {
  DeviceRecord* device = FindDevice(state, connection.id);
  if (device == nullptr || device->connected == 0 || device->connection != connection.connection) {
    return nullptr;
  }
  return device;
}

std::vector<DeviceRecord*> KnownDevices(SharedState& state) {
  std::vector<DeviceRecord*> devices = ConnectedDevices(state);
  std::vector<DeviceRecord*> unplugged;
  for (DeviceRecord& device : state.devices) {
    if (device.id != 0 && device.connected == 0) unplugged.push_back(&device);
  }
  std::sort(unplugged.begin(), unplugged.end(),
            [](const DeviceRecord* a, const DeviceRecord* b) { return a->id < b->id; });
  devices.insert(devices.end(), unplugged.begin(), unplugged.end());
  return devices;
}

uint32_t ChannelCount(const DeviceRecord& device, Side side, uint32_t kind) {
  if (kind >= kWireKinds) return 0;
  const uint32_t count =
      side == Side::Input ? device.counts.inputs[kind] : device.counts.outputs[kind];
  // Checked when the state was opened, but another process can write the file since; the
  // arrays never grow with it.
  return std::min(count, kMaxChannelsPerFamily);
}

bool IsValidChannel(const DeviceRecord& device, Side side, const ChannelAddress& channel) {
  return channel.kind < kWireKinds && channel.index < ChannelCount(device, side, channel.kind);
}

Status ReadNodeWeight(const DeviceRecord& device, const ChannelAddress& input,
                      const ChannelAddress& output, uint32_t& weight) {
  if (!IsValidChannel(device, Side::Input, input) ||
      !IsValidChannel(device, Side::Output, output)) {
    return status::kInvalidChannel;
  }
  weight = device.weights[input.kind][input.index][output.kind][output.index];
  return status::kOk;
}

Status WriteNodeWeight(DeviceRecord& device, const ChannelAddress& input,
                       const ChannelAddress& output, uint32_t weight) {
  if (!IsValidChannel(device, Side::Input, input) ||
      !IsValidChannel(device, Side::Output, output)) {
    return status::kInvalidChannel;
  }
  device.weights[input.kind][input.index][output.kind][output.index] = weight;
  return status::kOk;
}

Status ReadOutputGain(const DeviceRecord& device, const ChannelAddress& output, uint32_t& gain) {
  if (!IsValidChannel(device, Side::Output, output)) return status::kInvalidChannel;
  gain = device.gains[output.kind][output.index];
  return status::kOk;
}

Status WriteOutputGain(DeviceRecord& device, const ChannelAddress& output, uint32_t gain) {
  if (!IsValidChannel(device, Side::Output, output)) return status::kInvalidChannel;
  device.gains[output.kind][output.index] = gain;
  return status::kOk;
}

}  // namespace sonarixsim
