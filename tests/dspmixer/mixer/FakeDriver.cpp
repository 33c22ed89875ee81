#include "FakeDriver.h"

#include <cstring>

FakeDriver g_driver;

namespace {

uint32_t ReadU32(const uint8_t* at) {
  uint32_t value;
  std::memcpy(&value, at, sizeof value);
  return value;
}
void WriteU32(uint8_t* at, uint32_t value) { std::memcpy(at, &value, sizeof value); }

SONARIX_STATUS SONARIX_API Register(HANDLE, void*, HWND, UINT, uint32_t) {
  ++g_driver.registrations;
  return 0;
}
SONARIX_STATUS SONARIX_API Unregister() {
  ++g_driver.unregistrations;
  return 0;
}
SONARIX_STATUS SONARIX_API Enumerate() {
  ++g_driver.enumerations;
  return g_driver.enumerateStatus;
}
uint32_t SONARIX_API Count() { return g_driver.deviceCount; }
SONARIX_STATUS SONARIX_API Open(uint32_t, SONARIX_HANDLE* handle) {
  ++g_driver.opens;
  *handle = 0x77;
  return 0;
}
SONARIX_STATUS SONARIX_API Close(SONARIX_HANDLE) {
  ++g_driver.closes;
  return 0;
}

SONARIX_STATUS SONARIX_API Get(SONARIX_HANDLE, void* request, uint32_t size) {
  ++g_driver.gets;
  auto* bytes = static_cast<uint8_t*>(request);
  const uint32_t property = ReadU32(bytes + 4);
  if (property == 42) {
    WriteU32(bytes + 8, 2);
  } else if (property >= 100 && property <= 105) {
    WriteU32(bytes + 8, g_driver.counts[property - 100]);
  } else if (property == 200) {
    const auto node = std::make_tuple(bytes[8], bytes[9], bytes[10], bytes[11]);
    const auto found = g_driver.weights.find(node);
    WriteU32(bytes + 12, found == g_driver.weights.end() ? 0 : found->second);
  } else if (property == 201) {
    WriteU32(bytes + 10, 0x01000000);
  } else if (property == 301) {
    ++g_driver.levelReads;
    // Every channel at -30 dB.
    for (uint32_t at = 8; at + 8 <= size; at += 8) {
      const int16_t level = -3000;
      std::memcpy(bytes + at + 6, &level, sizeof level);
    }
    return g_driver.levelStatus;
  }
  return 0;
}

SONARIX_STATUS SONARIX_API Set(SONARIX_HANDLE, void* request, uint32_t size) {
  ++g_driver.sets;
  const auto* bytes = static_cast<const uint8_t*>(request);
  if (ReadU32(bytes + 4) == 200) {
    for (uint32_t at = 8; at + 8 <= size; at += 8) {
      g_driver.weights[std::make_tuple(bytes[at], bytes[at + 1], bytes[at + 2], bytes[at + 3])] =
          ReadU32(bytes + at + 4);
    }
  }
  return 0;
}

}  // namespace

void BindFakeDriver(SonarixApiDll& api) {
  g_driver = FakeDriver();
  api.SONARIX_RegisterPnpNotification = Register;
  api.SONARIX_UnregisterPnpNotification = Unregister;
  api.SONARIX_EnumerateDevices = Enumerate;
  api.SONARIX_GetDeviceCount = Count;
  api.SONARIX_OpenDeviceByIndex = Open;
  api.SONARIX_CloseDevice = Close;
  api.SONARIX_GetDspProperty = Get;
  api.SONARIX_SetDspProperty = Set;
}
