#pragma once
// The simulated devices as they lie in the shared file mapping: every process that loads the
// library, the control tool and the tests read and write these same bytes under one named
// mutex. Any change of these structures goes with a new kStateLayoutVersion; a state of
// another version is reset when it is opened.
#include <windows.h>

#include <cstdint>

namespace sonarixsim {

constexpr uint32_t kStateMagic = 0x4D535853;  // "SXSM"
constexpr uint32_t kStateLayoutVersion = 1;

constexpr uint32_t kMaxDevices = 8;
constexpr uint32_t kMaxChannelsPerFamily = 32;
constexpr uint32_t kWireKinds = 3;  // per side; kind 3 is never a channel
constexpr uint32_t kFamilies = 6;
constexpr uint32_t kMaxFaults = 16;
constexpr uint32_t kLogEntries = 128;
// The largest valid request: a level table over every channel of a full device.
constexpr uint32_t kLogBytesPerEntry = 8 + 8 * kFamilies * kMaxChannelsPerFamily;
constexpr uint32_t kEntryPointNameSize = 48;

constexpr uint32_t kMixerUnitId = 77;
constexpr uint32_t kUnityWeight = 0x01000000;
constexpr int16_t kNoLevel = -12000;
constexpr uint32_t kMixerLayoutVersion = 2;  // what a current device answers in property 42

// The side of a channel; also the direction field of a level table entry.
enum class Side : uint32_t { Input = 0, Output = 1 };

// Wire kinds: the two low bits of a channel type.
namespace wirekind {
constexpr uint32_t kAppPlayback = 0;
constexpr uint32_t kDeviceInput = 1;
constexpr uint32_t kAppPlaybackVirt = 2;
constexpr uint32_t kAppRecording = 0;
constexpr uint32_t kDeviceOutput = 1;
constexpr uint32_t kAppRecordingVirt = 2;
}  // namespace wirekind

struct ChannelCounts {
  uint32_t inputs[kWireKinds];   // by wire kind: AppPlayback, DeviceInput, AppPlaybackVirt
  uint32_t outputs[kWireKinds];  // by wire kind: AppRecording, DeviceOutput, AppRecordingVirt
};

struct DeviceRecord {
  uint32_t id;          // 0: the slot is free
  uint32_t connected;   // 1 while plugged in
  uint32_t connection;  // number of the plug-in that connected it last; orders the device list
  uint32_t layoutVersion;
  uint32_t infoValue;  // the second value of property 42
  uint32_t metersRunning;
  ChannelCounts counts;
  uint32_t gains[kWireKinds][kMaxChannelsPerFamily];
  // [input kind][input index][output kind][output index]
  uint32_t weights[kWireKinds][kMaxChannelsPerFamily][kWireKinds][kMaxChannelsPerFamily];
};

enum class FaultTarget : uint32_t { None = 0, EntryPoint = 1, GetProperty = 2, SetProperty = 3 };

struct FaultRecord {
  FaultTarget target;
  uint32_t property;
  uint32_t status;
  uint32_t remaining;  // answers left; 0 = until cleared
  char entryPoint[kEntryPointNameSize];
};

enum class RequestCall : uint32_t { Get = 1, Set = 2 };

struct LogRecord {
  uint32_t sequence;
  uint32_t processId;
  uint32_t deviceId;  // 0 when the handle named no device
  RequestCall call;
  uint32_t status;
  uint32_t size;  // as the caller gave it
  uint32_t kept;  // bytes kept: the size, at most kLogBytesPerEntry, 0 without a buffer
  uint8_t bytes[kLogBytesPerEntry];
};

struct SharedState {
  uint32_t magic;
  uint32_t layoutVersion;
  uint32_t stateSize;
  // Bumped on every plug, unplug and reconnect; the notifier threads poll it without the lock.
  volatile LONG deviceChanges;
  uint32_t nextDeviceId;
  uint32_t nextConnection;
  DeviceRecord devices[kMaxDevices];
  FaultRecord faults[kMaxFaults];
  uint32_t logCount;  // requests logged since the last clear; request n lies at n % kLogEntries
  LogRecord log[kLogEntries];
};

}  // namespace sonarixsim
