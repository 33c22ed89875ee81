#include "SimStatus.h"

namespace sonarixsim {
namespace {

struct StatusEntry {
  Status value;
  const wchar_t* wide;
  const char* narrow;
};

#define SIM_STATUS_TEXT(code, text) \
  { status::code, L##text, text }
const StatusEntry kStatusTexts[] = {
    SIM_STATUS_TEXT(kOk, "success"),
    SIM_STATUS_TEXT(kNotImplemented, "not available in this driver"),
    SIM_STATUS_TEXT(kInvalidParameter, "invalid parameter"),
    SIM_STATUS_TEXT(kInvalidHandle, "invalid device handle"),
    SIM_STATUS_TEXT(kNoSuchDevice, "no such device"),
    SIM_STATUS_TEXT(kWrongUnit, "the request is not for the mixer unit"),
    SIM_STATUS_TEXT(kUnknownProperty, "unknown property"),
    SIM_STATUS_TEXT(kWrongRequestSize, "wrong request size"),
    SIM_STATUS_TEXT(kInvalidChannel, "invalid channel kind or index"),
    SIM_STATUS_TEXT(kWrongDirection, "the property cannot be accessed this way"),
    SIM_STATUS_TEXT(kOutOfHandles, "too many open device handles"),
    SIM_STATUS_TEXT(kDeviceTableFull, "no room for another device"),
    SIM_STATUS_TEXT(kTooManyFaults, "too many faults"),
    SIM_STATUS_TEXT(kInvalidConfiguration, "the driver interface file is invalid"),
    SIM_STATUS_TEXT(kStateUnavailable, "the device state cannot be opened"),
    SIM_STATUS_TEXT(kStateBusy, "the device state is busy"),
    SIM_STATUS_TEXT(kDeviceRemoved, "the device was removed"),
    SIM_STATUS_TEXT(kDriverIniMissing, "the driver interface file is missing"),
};
#undef SIM_STATUS_TEXT

const StatusEntry* FindStatus(Status value) {
  for (const StatusEntry& entry : kStatusTexts) {
    if (entry.value == value) return &entry;
  }
  return nullptr;
}

}  // namespace

const wchar_t* StatusText(Status value) {
  const StatusEntry* entry = FindStatus(value);
  return entry != nullptr ? entry->wide : nullptr;
}

const char* StatusTextA(Status value) {
  const StatusEntry* entry = FindStatus(value);
  return entry != nullptr ? entry->narrow : nullptr;
}

}  // namespace sonarixsim
