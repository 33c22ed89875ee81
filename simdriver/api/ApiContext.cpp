#include "ApiContext.h"

#include "DriverIni.h"
#include "SimDevices.h"
#include "SimDspProtocol.h"
#include "SimFaults.h"
#include "SimRequestLog.h"

namespace sonarixsim {
namespace {

// Handles read 0x5Dggssss: a tag, the slot's generation, the slot number plus one; a handle
// kept after its close therefore does not reach the next device opened in that slot.
constexpr uint32_t kHandleTag = 0x5D000000;
constexpr uint32_t kHandleTagMask = 0xFF000000;

const char* EntryPointOf(RequestCall call) {
  return call == RequestCall::Get ? "SONARIX_GetDspProperty" : "SONARIX_SetDspProperty";
}

}  // namespace

ApiContext& ApiContext::Instance() {
  static ApiContext context;
  return context;
}

Status ApiContext::Ready() {
  if (!iniChecked_) {
    iniStatus_ = CheckDriverIni(IniPathOfModule(LibraryModule()));
    iniChecked_ = true;
  }
  VT_RETURN_IF_FAILED(iniStatus_);
  // The environment names the state only once: an open state stays this process's state.
  if (!store_.IsOpen()) VT_RETURN_IF_FAILED(store_.Open(StateNameFromEnvironment()));
  return status::kOk;
}

Status ApiContext::RegisterPnp(HWND window, UINT message) {
  CriticalSectionLock lock(lock_);
  if (window == nullptr || !IsWindow(window)) return status::kInvalidParameter;
  VT_RETURN_IF_FAILED(Ready());
  VT_RETURN_IF_FAILED(store_.Run([](SharedState& state) {
    return TakeEntryPointFault(state, "SONARIX_RegisterPnpNotification");
  }));
  return notifier_.Start(store_, window, message);
}

void ApiContext::UnregisterPnp() {
  CriticalSectionLock lock(lock_);
  notifier_.Stop();
}

Status ApiContext::EnumerateDevices() {
  CriticalSectionLock lock(lock_);
  VT_RETURN_IF_FAILED(Ready());
  return store_.Run([this](SharedState& state) {
    VT_RETURN_IF_FAILED(TakeEntryPointFault(state, "SONARIX_EnumerateDevices"));
    return Enumerate(state);
  });
}

Status ApiContext::Enumerate(SharedState& state) {
  devices_ = ConnectionsOf(state);
  enumerated_ = true;
  return status::kOk;
}

uint32_t ApiContext::DeviceCount() {
  CriticalSectionLock lock(lock_);
  if (Ready() != status::kOk) return 0;
  if (!enumerated_) {
    store_.Run([this](SharedState& state) { return Enumerate(state); });
  }
  return static_cast<uint32_t>(devices_.size());
}

Status ApiContext::OpenDeviceByIndex(uint32_t index, uint32_t* handle) {
  CriticalSectionLock lock(lock_);
  if (handle == nullptr) return status::kInvalidParameter;
  *handle = 0;
  VT_RETURN_IF_FAILED(Ready());
  return store_.Run([&](SharedState& state) {
    VT_RETURN_IF_FAILED(TakeEntryPointFault(state, "SONARIX_OpenDeviceByIndex"));
    if (index >= devices_.size()) return status::kNoSuchDevice;
    if (FindConnected(state, devices_[index]) == nullptr) return status::kDeviceRemoved;
    return AllocateHandle(devices_[index], *handle);
  });
}

Status ApiContext::CloseDevice(uint32_t handle) {
  CriticalSectionLock lock(lock_);
  HandleSlot* slot = SlotOf(handle);
  if (slot == nullptr) return status::kInvalidHandle;
  slot->open = false;
  return status::kOk;
}

Status ApiContext::DspRequest(RequestCall call, uint32_t handle, void* buffer, uint32_t size) {
  CriticalSectionLock lock(lock_);
  if (buffer == nullptr && size != 0) return status::kInvalidParameter;
  if (size > kMaxRequestSize) return status::kWrongRequestSize;
  VT_RETURN_IF_FAILED(Ready());

  const uint8_t* callerBytes = static_cast<const uint8_t*>(buffer);
  std::vector<uint8_t> request(callerBytes, callerBytes + size);
  const HandleSlot* slot = SlotOf(handle);
  const Status result = store_.Run([&](SharedState& state) {
    DeviceRecord* device = slot == nullptr ? nullptr : FindConnected(state, slot->device);
    Status answer = TakeEntryPointFault(state, EntryPointOf(call));
    uint32_t property = 0;
    if (answer == status::kOk && slot == nullptr) answer = status::kInvalidHandle;
    if (answer == status::kOk && device == nullptr) answer = status::kDeviceRemoved;
    if (answer == status::kOk && RequestProperty(request, property)) {
      answer = TakePropertyFault(state, call, property);
    }
    if (answer == status::kOk) {
      answer = call == RequestCall::Get ? AnswerGet(*device, request, GetTickCount())
                                        : ApplySet(*device, request);
    }
    AppendRequest(state, call, device == nullptr ? 0 : device->id, callerBytes, size, answer);
    return answer;
  });
  if (result == status::kOk && call == RequestCall::Get && size != 0) {
    CopyMemory(buffer, request.data(), size);
  }
  return result;
}

Status ApiContext::AllocateHandle(const Connection& device, uint32_t& handle) {
  for (uint32_t index = 0; index < kMaxOpenHandles; ++index) {
    HandleSlot& slot = handles_[index];
    if (slot.open) continue;
    slot.open = true;
    ++slot.generation;
    slot.device = device;
    handle = kHandleTag | static_cast<uint32_t>(slot.generation) << 16 | (index + 1);
    return status::kOk;
  }
  return status::kOutOfHandles;
}

ApiContext::HandleSlot* ApiContext::SlotOf(uint32_t handle) {
  if ((handle & kHandleTagMask) != kHandleTag) return nullptr;
  const uint32_t number = handle & 0xFFFF;
  if (number == 0 || number > kMaxOpenHandles) return nullptr;
  HandleSlot& slot = handles_[number - 1];
  const uint32_t generation = (handle >> 16) & 0xFF;
  if (!slot.open || slot.generation != generation) return nullptr;
  return &slot;
}

}  // namespace sonarixsim
