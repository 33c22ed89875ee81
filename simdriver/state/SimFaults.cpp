#include "SimFaults.h"

#include <algorithm>
#include <cstring>

namespace sonarixsim {
namespace {

bool SameTarget(const FaultRecord& a, const FaultRecord& b) {
  return a.target == b.target && a.property == b.property &&
         std::strncmp(a.entryPoint, b.entryPoint, kEntryPointNameSize) == 0;
}

Status StoreFault(SharedState& state, const FaultRecord& fault) {
  FaultRecord* freeSlot = nullptr;
  for (FaultRecord& slot : state.faults) {
    if (slot.target != FaultTarget::None && SameTarget(slot, fault)) {
      slot = fault;
      return status::kOk;
    }
    if (slot.target == FaultTarget::None && freeSlot == nullptr) freeSlot = &slot;
  }
  if (freeSlot == nullptr) return status::kTooManyFaults;
  *freeSlot = fault;
  return status::kOk;
}

Status Take(FaultRecord& fault) {
  const Status answer = fault.status;
  if (fault.remaining != 0 && --fault.remaining == 0) fault = FaultRecord{};
  return answer;
}

const std::vector<std::string>& FaultableEntryPoints() {
  static const std::vector<std::string> names = {
      "SONARIX_RegisterPnpNotification", "SONARIX_EnumerateDevices", "SONARIX_OpenDeviceByIndex",
      "SONARIX_GetDspProperty", "SONARIX_SetDspProperty"};
  return names;
}

}  // namespace

bool IsFaultableEntryPoint(const std::string& name) {
  const auto& names = FaultableEntryPoints();
  return std::find(names.begin(), names.end(), name) != names.end();
}

Status AddEntryPointFault(SharedState& state, const std::string& entryPoint, Status answer,
                          uint32_t times) {
  if (!IsFaultableEntryPoint(entryPoint) || answer == status::kOk) {
    return status::kInvalidParameter;
  }
  FaultRecord fault = {};
  fault.target = FaultTarget::EntryPoint;
  fault.status = answer;
  fault.remaining = times;
  std::strncpy(fault.entryPoint, entryPoint.c_str(), kEntryPointNameSize - 1);
  return StoreFault(state, fault);
}

Status AddPropertyFault(SharedState& state, RequestCall call, uint32_t property, Status answer,
                        uint32_t times) {
  if (answer == status::kOk) return status::kInvalidParameter;
  FaultRecord fault = {};
  fault.target = call == RequestCall::Get ? FaultTarget::GetProperty : FaultTarget::SetProperty;
  fault.property = property;
  fault.status = answer;
  fault.remaining = times;
  return StoreFault(state, fault);
}

void ClearFaults(SharedState& state) {
  for (FaultRecord& fault : state.faults) fault = FaultRecord{};
}

std::vector<FaultRecord> ListFaults(const SharedState& state) {
  std::vector<FaultRecord> faults;
  for (const FaultRecord& fault : state.faults) {
    if (fault.target != FaultTarget::None) faults.push_back(fault);
  }
  return faults;
}

std::string FaultEntryPoint(const FaultRecord& fault) {
  const char* end = static_cast<const char*>(std::memchr(fault.entryPoint, 0, kEntryPointNameSize));
  return std::string(fault.entryPoint,
                     end != nullptr ? end : fault.entryPoint + kEntryPointNameSize);
}

Status TakeEntryPointFault(SharedState& state, const char* entryPoint) {
  for (FaultRecord& fault : state.faults) {
    if (fault.target == FaultTarget::EntryPoint &&
        std::strncmp(fault.entryPoint, entryPoint, kEntryPointNameSize) == 0) {
      return Take(fault);
    }
  }
  return status::kOk;
}

Status TakePropertyFault(SharedState& state, RequestCall call, uint32_t property) {
  const FaultTarget target =
      call == RequestCall::Get ? FaultTarget::GetProperty : FaultTarget::SetProperty;
  for (FaultRecord& fault : state.faults) {
    if (fault.target == target && fault.property == property) return Take(fault);
  }
  return status::kOk;
}

}  // namespace sonarixsim
