#include "ToolCommands.h"

#include <cstdio>

#include "SimDevices.h"
#include "SimDspProtocol.h"
#include "SimFaults.h"
#include "SimRequestLog.h"
#include "SimSignal.h"
#include "ToolArguments.h"

namespace sonarixsim {
namespace {

// Pops "--name VALUE" out of the arguments; false with a message when the value is missing.
bool TakeOption(Arguments& arguments, const char* name, std::string& value, bool& present) {
  present = false;
  for (size_t i = 0; i < arguments.size(); ++i) {
    if (arguments[i] != name) continue;
    if (i + 1 >= arguments.size()) return false;
    value = arguments[i + 1];
    arguments.erase(arguments.begin() + i, arguments.begin() + i + 2);
    present = true;
    return true;
  }
  return true;
}

bool TakeFlag(Arguments& arguments, const char* name) {
  for (size_t i = 0; i < arguments.size(); ++i) {
    if (arguments[i] == name) {
      arguments.erase(arguments.begin() + i);
      return true;
    }
  }
  return false;
}

int WrongCount(const char* command) {
  return UsageError(std::string("wrong number of arguments for \"") + command + "\"");
}

// False, after the usage message, when `text` is not a device id.
bool TakeDeviceId(const std::string& text, uint32_t& id) {
  if (ParseUnsigned(text, id) && id != 0) return true;
  UsageError("invalid device id \"" + text + "\"");
  return false;
}

std::string CountsText(const ChannelCounts& counts) {
  FamilyCounts values = {};
  CountsToFamilyOrder(counts, values);
  char text[96];
  std::snprintf(text, sizeof(text), "%u,%u,%u,%u,%u,%u", values[0], values[1], values[2], values[3],
                values[4], values[5]);
  return text;
}

// Runs `operation(DeviceRecord&)` under the lock on the device of an id, connected or not, for
// the commands that read or set its mixer.
template <typename Operation>
Status OnDevice(StateStore& store, uint32_t id, Operation&& operation) {
  return store.Run([&](SharedState& state) {
    DeviceRecord* device = FindDevice(state, id);
    if (device == nullptr) return status::kNoSuchDevice;
    return operation(*device);
  });
}

int RunList(StateStore& store, const Arguments& arguments) {
  if (!arguments.empty()) return WrongCount("list");
  std::vector<DeviceRecord> devices;
  const Status result = store.Run([&](SharedState& state) {
    for (const DeviceRecord* device : KnownDevices(state)) devices.push_back(*device);
    return status::kOk;
  });
  if (result != status::kOk) return OperationFailed("list", result);
  uint32_t index = 0;
  for (const DeviceRecord& device : devices) {
    const std::string position =
        device.connected != 0 ? "index " + std::to_string(index++) : std::string("unplugged");
    std::printf("device %u: %s, counts %s, layout %u, meters %s\n", device.id, position.c_str(),
                CountsText(device.counts).c_str(), device.layoutVersion,
                device.metersRunning != 0 ? "on" : "off");
  }
  if (devices.empty()) std::printf("no devices\n");
  return kExitOk;
}

int RunPlug(StateStore& store, const Arguments& given) {
  Arguments arguments = given;
  std::string layoutText;
  bool hasLayout = false;
  if (!TakeOption(arguments, "--layout", layoutText, hasLayout)) {
    return UsageError("--layout needs a value");
  }
  uint32_t layout = kMixerLayoutVersion;
  if (hasLayout && !ParseUnsigned(layoutText, layout)) {
    return UsageError("invalid layout version \"" + layoutText + "\"");
  }
  if (arguments.size() > 1) return WrongCount("plug");
  ChannelCounts counts = DefaultCounts();
  if (arguments.size() == 1 && !ParseCounts(arguments[0], counts)) {
    return UsageError("invalid counts \"" + arguments[0] + "\": six numbers 0.." +
                      std::to_string(kMaxChannelsPerFamily) + " separated by commas");
  }
  uint32_t id = 0;
  const Status result =
      store.Run([&](SharedState& state) { return PlugDevice(state, counts, layout, id); });
  if (result != status::kOk) return OperationFailed("plug", result);
  std::printf("device %u plugged in\n", id);
  return kExitOk;
}

int RunConnectionChange(StateStore& store, const Arguments& arguments, const char* command,
                        Status (*change)(SharedState&, uint32_t), const char* done) {
  if (arguments.size() != 1) return WrongCount(command);
  uint32_t id = 0;
  if (!TakeDeviceId(arguments[0], id)) return kExitUsage;
  const Status result = store.Run([&](SharedState& state) { return change(state, id); });
  if (result != status::kOk) return OperationFailed(command, result);
  std::printf("device %u %s\n", id, done);
  return kExitOk;
}

int RunUnplug(StateStore& store, const Arguments& arguments) {
  return RunConnectionChange(store, arguments, "unplug", &UnplugDevice, "unplugged");
}

int RunReconnect(StateStore& store, const Arguments& arguments) {
  return RunConnectionChange(store, arguments, "reconnect", &ReconnectDevice, "plugged in again");
}

int RunNode(StateStore& store, const Arguments& arguments) {
  if (arguments.size() != 3 && arguments.size() != 4) return WrongCount("node");
  uint32_t id = 0;
  ChannelAddress input = {};
  ChannelAddress output = {};
  uint32_t weight = 0;
  if (!TakeDeviceId(arguments[0], id)) return kExitUsage;
  if (!ParseChannel(arguments[1], Side::Input, input)) {
    return UsageError("invalid input channel \"" + arguments[1] + "\"");
  }
  if (!ParseChannel(arguments[2], Side::Output, output)) {
    return UsageError("invalid output channel \"" + arguments[2] + "\"");
  }
  const bool write = arguments.size() == 4;
  if (write && !ParseWeight(arguments[3], weight)) {
    return UsageError("invalid weight \"" + arguments[3] + "\"");
  }
  const Status result = OnDevice(store, id, [&](DeviceRecord& device) {
    return write ? WriteNodeWeight(device, input, output, weight)
                 : ReadNodeWeight(device, input, output, weight);
  });
  if (result != status::kOk) return OperationFailed("node", result);
  std::printf("%s -> %s: %s\n", ChannelName(Side::Input, input).c_str(),
              ChannelName(Side::Output, output).c_str(), WeightText(weight).c_str());
  return kExitOk;
}

int RunGain(StateStore& store, const Arguments& arguments) {
  if (arguments.size() != 2 && arguments.size() != 3) return WrongCount("gain");
  uint32_t id = 0;
  ChannelAddress output = {};
  uint32_t gain = 0;
  if (!TakeDeviceId(arguments[0], id)) return kExitUsage;
  if (!ParseChannel(arguments[1], Side::Output, output)) {
    return UsageError("invalid output channel \"" + arguments[1] + "\"");
  }
  const bool write = arguments.size() == 3;
  if (write && !ParseWeight(arguments[2], gain)) {
    return UsageError("invalid gain \"" + arguments[2] + "\"");
  }
  const Status result = OnDevice(store, id, [&](DeviceRecord& device) {
    return write ? WriteOutputGain(device, output, gain) : ReadOutputGain(device, output, gain);
  });
  if (result != status::kOk) return OperationFailed("gain", result);
  std::printf("%s gain: %s\n", ChannelName(Side::Output, output).c_str(), WeightText(gain).c_str());
  return kExitOk;
}

void PrintLevels(const DeviceRecord& device, Side side, uint32_t nowMs) {
  for (uint32_t kind = 0; kind < kWireKinds; ++kind) {
    for (uint32_t index = 0; index < ChannelCount(device, side, kind); ++index) {
      const ChannelAddress channel = {kind, index};
      const int level = ChannelLevel(device, side, channel, nowMs);
      std::printf("  %-20s %7d (%.2f dB)\n", ChannelName(side, channel).c_str(), level,
                  level / 100.0);
    }
  }
}

int RunLevels(StateStore& store, const Arguments& arguments) {
  if (arguments.size() != 1) return WrongCount("levels");
  uint32_t id = 0;
  if (!TakeDeviceId(arguments[0], id)) return kExitUsage;
  DeviceRecord device = {};
  const Status result = OnDevice(store, id, [&](DeviceRecord& found) {
    device = found;
    return status::kOk;
  });
  if (result != status::kOk) return OperationFailed("levels", result);
  std::printf("device %u, meters %s; levels as the running meters show them now:\n", id,
              device.metersRunning != 0 ? "on" : "off");
  device.metersRunning = 1;
  const uint32_t now = GetTickCount();
  std::printf("inputs\n");
  PrintLevels(device, Side::Input, now);
  std::printf("outputs\n");
  PrintLevels(device, Side::Output, now);
  return kExitOk;
}

int RunFault(StateStore& store, const Arguments& given) {
  Arguments arguments = given;
  std::string timesText;
  bool hasTimes = false;
  if (!TakeOption(arguments, "--times", timesText, hasTimes))
    return UsageError("--times needs a value");
  uint32_t times = 0;
  if (hasTimes && (!ParseUnsigned(timesText, times) || times == 0)) {
    return UsageError("invalid --times \"" + timesText + "\": a number from 1");
  }
  const bool forProperty = !arguments.empty() && (arguments[0] == "get" || arguments[0] == "set");
  if (arguments.size() != (forProperty ? 3u : 2u)) return WrongCount("fault");
  uint32_t answer = 0;
  const std::string& statusText = arguments.back();
  if (!ParseUnsigned(statusText, answer) || answer == 0) {
    return UsageError("invalid status \"" + statusText + "\": a non-zero number");
  }
  uint32_t property = 0;
  if (forProperty && !ParseUnsigned(arguments[1], property)) {
    return UsageError("invalid property \"" + arguments[1] + "\"");
  }
  if (!forProperty && !IsFaultableEntryPoint(arguments[0])) {
    return UsageError("\"" + arguments[0] + "\" is not an entry point that a fault can replace");
  }
  const Status result = store.Run([&](SharedState& state) {
    if (!forProperty) return AddEntryPointFault(state, arguments[0], answer, times);
    const RequestCall call = arguments[0] == "get" ? RequestCall::Get : RequestCall::Set;
    return AddPropertyFault(state, call, property, answer, times);
  });
  if (result != status::kOk) return OperationFailed("fault", result);
  std::printf("fault set\n");
  return kExitOk;
}

int RunFaults(StateStore& store, const Arguments& arguments) {
  if (!arguments.empty()) return WrongCount("faults");
  std::vector<FaultRecord> faults;
  const Status result = store.Run([&](SharedState& state) {
    faults = ListFaults(state);
    return status::kOk;
  });
  if (result != status::kOk) return OperationFailed("faults", result);
  for (const FaultRecord& fault : faults) {
    std::string target = FaultEntryPoint(fault);
    if (fault.target == FaultTarget::GetProperty) target = "get " + std::to_string(fault.property);
    if (fault.target == FaultTarget::SetProperty) target = "set " + std::to_string(fault.property);
    const std::string times = fault.remaining == 0 ? std::string("until cleared")
                                                   : std::to_string(fault.remaining) + " more";
    std::printf("%s -> 0x%08X, %s\n", target.c_str(), static_cast<unsigned>(fault.status),
                times.c_str());
  }
  if (faults.empty()) std::printf("no faults\n");
  return kExitOk;
}

int RunClearFaults(StateStore& store, const Arguments& arguments) {
  if (!arguments.empty()) return WrongCount("clearfaults");
  const Status result = store.Run([](SharedState& state) {
    ClearFaults(state);
    return status::kOk;
  });
  if (result != status::kOk) return OperationFailed("clearfaults", result);
  std::printf("faults cleared\n");
  return kExitOk;
}

int RunLog(StateStore& store, const Arguments& arguments) {
  if (!arguments.empty()) return WrongCount("log");
  std::vector<LoggedRequest> requests;
  const Status result = store.Run([&](SharedState& state) {
    requests = ReadRequestLog(state);
    return status::kOk;
  });
  if (result != status::kOk) return OperationFailed("log", result);
  for (const LoggedRequest& request : requests) {
    std::printf("#%u pid %u device %u %s size %u status 0x%08X:", request.sequence,
                request.processId, request.deviceId,
                request.call == RequestCall::Get ? "Get" : "Set", request.size,
                static_cast<unsigned>(request.status));
    for (uint8_t byte : request.bytes) std::printf(" %02X", byte);
    std::printf("\n");
  }
  if (requests.empty()) std::printf("no requests\n");
  return kExitOk;
}

int RunClearLog(StateStore& store, const Arguments& arguments) {
  if (!arguments.empty()) return WrongCount("clearlog");
  const Status result = store.Run([](SharedState& state) {
    ClearRequestLog(state);
    return status::kOk;
  });
  if (result != status::kOk) return OperationFailed("clearlog", result);
  std::printf("log cleared\n");
  return kExitOk;
}

int RunReset(StateStore& store, const Arguments& given) {
  Arguments arguments = given;
  const bool empty = TakeFlag(arguments, "--empty");
  if (!arguments.empty()) return WrongCount("reset");
  const Status result = store.Run([&](SharedState& state) {
    ResetState(state, !empty);
    return status::kOk;
  });
  if (result != status::kOk) return OperationFailed("reset", result);
  std::printf(empty ? "state reset, no devices\n" : "state reset, one device\n");
  return kExitOk;
}

}  // namespace

const std::vector<ToolCommand>& ToolCommands() {
  static const std::vector<ToolCommand> commands = {
      {"list", "list",
       "Lists the devices: the connected ones in the order the library lists them (index 0\n"
       "is the one the mixer opens), then the unplugged ones.",
       &RunList},
      {"plug", "plug [DO,DI,AP,AR,APV,ARV] [--layout N]",
       "Plugs in a new device and prints its id. The counts are, in this order: device\n"
       "outputs, device inputs, application playback, application recording, virtual\n"
       "playback, virtual recording (each 0..32; default 4,4,4,4,2,2). --layout sets the\n"
       "mixer layout version that property 42 answers (default 2, the mixer's own).\n"
       "A new device routes playback n to output n and input n to recording n at 100%.",
       &RunPlug},
      {"unplug", "unplug ID", "Unplugs a device; it keeps its settings for \"reconnect\".",
       &RunUnplug},
      {"reconnect", "reconnect ID",
       "Plugs an unplugged device in again, with its settings; it goes to the end of the list.",
       &RunReconnect},
      {"node", "node ID INPUT OUTPUT [WEIGHT]",
       "Reads or sets the weight of a node. INPUT is AppPlayback:N, DeviceInput:N or\n"
       "AppPlaybackVirt:N; OUTPUT is AppRecording:N, DeviceOutput:N or AppRecordingVirt:N\n"
       "(N counts from 0). WEIGHT is an 8.24 factor, decimal or 0x hexadecimal\n"
       "(0x01000000 = 100%), or a percentage such as 50%.",
       &RunNode},
      {"gain", "gain ID OUTPUT [GAIN]",
       "Reads or sets the gain of an output channel, written like a node weight.", &RunGain},
      {"levels", "levels ID",
       "Shows the level of every channel as running meters would show it now, in hundredths\n"
       "of a dB (-12000 = no signal).",
       &RunLevels},
      {"fault", "fault ENTRYPOINT STATUS [--times N] | fault get|set PROPERTY STATUS [--times N]",
       "Makes an entry point, or a Get or Set of one property, answer STATUS (non-zero)\n"
       "instead of doing its work, for N calls or until cleared. Entry points:\n"
       "SONARIX_RegisterPnpNotification, SONARIX_EnumerateDevices,\n"
       "SONARIX_OpenDeviceByIndex, SONARIX_GetDspProperty, SONARIX_SetDspProperty.",
       &RunFault},
      {"faults", "faults", "Lists the faults in force.", &RunFaults},
      {"clearfaults", "clearfaults", "Removes every fault.", &RunClearFaults},
      {"log", "log",
       "Dumps the request log, oldest first: every Get and Set of a DSP property with its\n"
       "process, device, size, status and the bytes as the caller sent them.",
       &RunLog},
      {"clearlog", "clearlog", "Empties the request log.", &RunClearLog},
      {"reset", "reset [--empty]",
       "Forgets every device, fault and logged request; then plugs in one device with the\n"
       "default counts, or none with --empty.",
       &RunReset},
  };
  return commands;
}

const ToolCommand* FindToolCommand(const std::string& name) {
  for (const ToolCommand& command : ToolCommands()) {
    if (name == command.name) return &command;
  }
  return nullptr;
}

int UsageError(const std::string& message) {
  std::fprintf(stderr, "sonarixsim: %s\nRun \"sonarixsim help\" for the commands.\n",
               message.c_str());
  return kExitUsage;
}

int OperationFailed(const std::string& what, Status result) {
  const char* text = StatusTextA(result);
  std::fprintf(stderr, "sonarixsim: %s failed: 0x%08X (%s)\n", what.c_str(),
               static_cast<unsigned>(result), text != nullptr ? text : "system error");
  return kExitFailed;
}

}  // namespace sonarixsim
