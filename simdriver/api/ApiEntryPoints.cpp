// The entry points the mixer calls, over the simulated devices of the shared state.
#include "ApiContext.h"
#include "SonarixApi.h"

using sonarixsim::ApiContext;
using sonarixsim::RequestCall;

namespace {

constexpr uint32_t kApiMajor = 5;
constexpr uint32_t kApiMinor = 7;
constexpr char kUnknownStatusA[] = "unknown status";
constexpr wchar_t kUnknownStatusW[] = L"unknown status";

}  // namespace

uint32_t SONARIX_API SONARIX_GetApiVersion(void) { return kApiMajor << 16 | kApiMinor; }

uint32_t SONARIX_API SONARIX_CheckApiVersion(uint32_t major, uint32_t minor) {
  return (major < kApiMajor || (major == kApiMajor && minor <= kApiMinor)) ? 1 : 0;
}

SONARIX_STATUS SONARIX_API SONARIX_RegisterPnpNotification(HANDLE /*event*/, void* /*reserved*/,
                                                           HWND window, UINT message,
                                                           uint32_t /*flags*/) {
  return ApiContext::Instance().RegisterPnp(window, message);
}

SONARIX_STATUS SONARIX_API SONARIX_UnregisterPnpNotification(void) {
  ApiContext::Instance().UnregisterPnp();
  return sonarixsim::status::kOk;
}

SONARIX_STATUS SONARIX_API SONARIX_EnumerateDevices(void) {
  return ApiContext::Instance().EnumerateDevices();
}

uint32_t SONARIX_API SONARIX_GetDeviceCount(void) { return ApiContext::Instance().DeviceCount(); }

SONARIX_STATUS SONARIX_API SONARIX_OpenDeviceByIndex(uint32_t index, SONARIX_HANDLE* handle) {
  return ApiContext::Instance().OpenDeviceByIndex(index, handle);
}

SONARIX_STATUS SONARIX_API SONARIX_CloseDevice(SONARIX_HANDLE handle) {
  return ApiContext::Instance().CloseDevice(handle);
}

SONARIX_STATUS SONARIX_API SONARIX_GetDspProperty(SONARIX_HANDLE handle, void* request,
                                                  uint32_t size) {
  return ApiContext::Instance().DspRequest(RequestCall::Get, handle, request, size);
}

SONARIX_STATUS SONARIX_API SONARIX_SetDspProperty(SONARIX_HANDLE handle, void* request,
                                                  uint32_t size) {
  return ApiContext::Instance().DspRequest(RequestCall::Set, handle, request, size);
}

const wchar_t* SONARIX_API SONARIX_StatusCodeStringW(SONARIX_STATUS status) {
  const wchar_t* text = sonarixsim::StatusText(status);
  return text != nullptr ? text : kUnknownStatusW;
}

const char* SONARIX_API SONARIX_StatusCodeStringA(SONARIX_STATUS status) {
  const char* text = sonarixsim::StatusTextA(status);
  return text != nullptr ? text : kUnknownStatusA;
}
