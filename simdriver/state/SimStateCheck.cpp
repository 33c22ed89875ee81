#include "SimStateCheck.h"

#include <algorithm>
#include <cstring>

#include "SimDevices.h"
#include "SimFaults.h"

namespace sonarixsim {
namespace {

bool IsFlag(uint32_t value) { return value <= 1; }

// A device in use: ids and connection numbers are handed out counting up from 1, so each
// lies below the next one to hand out; meters run only while the device is plugged in.
bool IsDeviceSound(const SharedState& state, const DeviceRecord& device) {
  return device.id < state.nextDeviceId && device.connection != 0 &&
         device.connection < state.nextConnection && IsFlag(device.connected) &&
         IsFlag(device.metersRunning) && (device.connected != 0 || device.metersRunning == 0) &&
         CountsFit(device.counts);
}

// Handles and the device list tell devices apart by id and by connection.
bool AreDevicesDistinct(const SharedState& state) {
  for (uint32_t first = 0; first < kMaxDevices; ++first) {
    const DeviceRecord& a = state.devices[first];
    if (a.id == 0) continue;
    for (uint32_t second = first + 1; second < kMaxDevices; ++second) {
      const DeviceRecord& b = state.devices[second];
      if (b.id != 0 && (a.id == b.id || a.connection == b.connection)) return false;
    }
  }
  return true;
}

bool AreDevicesSound(const SharedState& state) {
  if (state.nextDeviceId == 0 || state.nextConnection == 0) return false;
  for (const DeviceRecord& device : state.devices) {
    if (device.id != 0 && !IsDeviceSound(state, device)) return false;
  }
  return AreDevicesDistinct(state);
}

bool IsFaultSound(const FaultRecord& fault) {
  const bool named = std::memchr(fault.entryPoint, 0, kEntryPointNameSize) != nullptr;
  switch (fault.target) {
    case FaultTarget::None:
      return true;
    case FaultTarget::EntryPoint:
      return fault.status != status::kOk && fault.property == 0 && named &&
             IsFaultableEntryPoint(fault.entryPoint);
    case FaultTarget::GetProperty:
    case FaultTarget::SetProperty:
      return fault.status != status::kOk && fault.entryPoint[0] == 0;
  }
  return false;
}

bool AreFaultsSound(const SharedState& state) {
  return std::all_of(std::begin(state.faults), std::end(state.faults), IsFaultSound);
}

// A request keeps its first bytes, at most one entry's worth, or none without a buffer.
bool IsLogRecordSound(const LogRecord& record, uint32_t sequence) {
  const bool knownCall = record.call == RequestCall::Get || record.call == RequestCall::Set;
  const bool keptFits = record.kept == 0 || record.kept == std::min(record.size, kLogBytesPerEntry);
  return knownCall && keptFits && record.sequence == sequence;
}

bool IsLogSound(const SharedState& state) {
  const uint32_t kept = std::min(state.logCount, kLogEntries);
  for (uint32_t sequence = state.logCount - kept; sequence < state.logCount; ++sequence) {
    if (!IsLogRecordSound(state.log[sequence % kLogEntries], sequence)) return false;
  }
  return true;
}

}  // namespace

bool IsStateCurrent(const SharedState& state) {
  return state.magic == kStateMagic && state.layoutVersion == kStateLayoutVersion &&
         state.stateSize == sizeof(SharedState);
}

bool IsStateSound(const SharedState& state) {
  return IsStateCurrent(state) && AreDevicesSound(state) && AreFaultsSound(state) &&
         IsLogSound(state);
}

}  // namespace sonarixsim
