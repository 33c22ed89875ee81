// A stand-in driver API library. The build makes several libraries from this one source: each
// reports its own version (FAKE_API_VERSION), answers the version check its own way
// (FAKE_CHECK_RESULT) and may lack one entry point (renamed away on the compiler's command line).
#include <cstdint>

#define FAKE_EXPORT extern "C" __declspec(dllexport)

FAKE_EXPORT uint32_t __stdcall SONARIX_GetApiVersion(void) { return FAKE_API_VERSION; }
FAKE_EXPORT uint32_t __stdcall SONARIX_CheckApiVersion(uint32_t, uint32_t) {
  return FAKE_CHECK_RESULT;
}

// The binding only takes these by name and never calls them, so one signature serves all.
#define FAKE_ENTRY_POINT(name) \
  FAKE_EXPORT uint32_t __stdcall name(void) { return 0xEE000031; }

#define FAKE_ENTRY_POINTS(X)                                                                   \
  X(SONARIX_RegisterPnpNotification) X(SONARIX_UnregisterPnpNotification)                      \
  X(SONARIX_EnumerateDevices) X(SONARIX_GetDeviceCount) X(SONARIX_OpenDeviceByIndex)           \
  X(SONARIX_OpenDeviceByChannelIdString) X(SONARIX_CloseDevice) X(SONARIX_GetDeviceProperties) \
  X(SONARIX_GetDeviceInstanceIdString) X(SONARIX_GetDeviceContainerIdString)                   \
  X(SONARIX_GetChannelIndexForChannelIdString) X(SONARIX_GetChannelIdString)                   \
  X(SONARIX_RegisterDeviceNotification) X(SONARIX_ReadDeviceNotification)                      \
  X(SONARIX_GetSupportedSampleRates) X(SONARIX_GetCurrentSampleRate) X(SONARIX_SetSampleRate)  \
  X(SONARIX_GetSupportedClockSources) X(SONARIX_GetClockSourceStatus)                          \
  X(SONARIX_GetCurrentClockSource) X(SONARIX_SetCurrentClockSource)                            \
  X(SONARIX_GetSupportedStreamFormats) X(SONARIX_GetCurrentStreamFormat)                       \
  X(SONARIX_SetCurrentStreamFormat) X(SONARIX_GetStreamFormatSelectionMode)                    \
  X(SONARIX_SetSoundDeviceProfile) X(SONARIX_GetControlPanelOptions)                           \
  X(SONARIX_GetChannelProperties) X(SONARIX_GetChannelInfo) X(SONARIX_GetVolumeMuteInfo)       \
  X(SONARIX_GetVolume) X(SONARIX_SetVolume) X(SONARIX_GetMute) X(SONARIX_SetMute)              \
  X(SONARIX_GetUsbConfigDescriptor) X(SONARIX_GetUsbStringDescriptorString)                    \
  X(SONARIX_AudioControlRequestSet) X(SONARIX_AudioControlRequestGet)                          \
  X(SONARIX_ClassVendorRequestOut) X(SONARIX_ClassVendorRequestIn) X(SONARIX_GetDriverInfo)    \
  X(SONARIX_GetASIOInstanceInfo) X(SONARIX_SetASIOBufferPreferredSize)                         \
  X(SONARIX_SetPreferredASIODevice) X(SONARIX_ClearPreferredASIODevice)                        \
  X(SONARIX_GetDeviceUsbMode) X(SONARIX_GetClientInfo) X(SONARIX_GetDeviceStreamingMode)       \
  X(SONARIX_SetDeviceStreamingMode) X(SONARIX_LoadFirmwareImageFromBuffer)                     \
  X(SONARIX_LoadFirmwareImageFromFile) X(SONARIX_GetFirmwareImageSize)                         \
  X(SONARIX_UnloadFirmwareImage) X(SONARIX_GetFirmwareImage) X(SONARIX_StartDfuDownload)       \
  X(SONARIX_StartDfuUpload) X(SONARIX_StartDfuRevertToFactoryImage) X(SONARIX_GetDfuStatus)    \
  X(SONARIX_EndDfuProc) X(SONARIX_GetDspProperty) X(SONARIX_SetDspProperty)                    \
  X(SONARIX_GetExtendedInfo) X(SONARIX_SetHwChannelHiddenFlags)                                \
  X(SONARIX_QueryDriverStatistics) X(SONARIX_ResetDriverStatistics)                            \
  X(SONARIX_QueryDeviceStatistics) X(SONARIX_StatusCodeStringW) X(SONARIX_StatusCodeStringA)

FAKE_ENTRY_POINTS(FAKE_ENTRY_POINT)
