#pragma once
// The driver API's entry points as an X-macro list: the library's clients bind them from it and
// the tests check the library's exports against it, so the names are written only here.

// Every entry point in binding order, with the API version from which on it is bound.
// Version 0.0 marks the pair that every library must have, bound before the version is known.
#define SONARIX_API_ENTRY_POINTS(X)                 \
  X(SONARIX_GetApiVersion, 0, 0)                    \
  X(SONARIX_CheckApiVersion, 0, 0)                  \
  X(SONARIX_RegisterPnpNotification, 5, 0)          \
  X(SONARIX_UnregisterPnpNotification, 5, 0)        \
  X(SONARIX_EnumerateDevices, 5, 0)                 \
  X(SONARIX_GetDeviceCount, 5, 0)                   \
  X(SONARIX_OpenDeviceByIndex, 5, 0)                \
  X(SONARIX_OpenDeviceByChannelIdString, 5, 0)      \
  X(SONARIX_CloseDevice, 5, 0)                      \
  X(SONARIX_GetDeviceProperties, 5, 0)              \
  X(SONARIX_GetDeviceInstanceIdString, 5, 0)        \
  X(SONARIX_GetDeviceContainerIdString, 5, 0)       \
  X(SONARIX_GetChannelIndexForChannelIdString, 5, 0) \
  X(SONARIX_GetChannelIdString, 5, 0)               \
  X(SONARIX_RegisterDeviceNotification, 5, 0)       \
  X(SONARIX_ReadDeviceNotification, 5, 0)           \
  X(SONARIX_GetSupportedSampleRates, 5, 0)          \
  X(SONARIX_GetCurrentSampleRate, 5, 0)             \
  X(SONARIX_SetSampleRate, 5, 0)                    \
  X(SONARIX_GetSupportedClockSources, 5, 0)         \
  X(SONARIX_GetClockSourceStatus, 5, 0)             \
  X(SONARIX_GetCurrentClockSource, 5, 0)            \
  X(SONARIX_SetCurrentClockSource, 5, 0)            \
  X(SONARIX_GetSupportedStreamFormats, 5, 0)        \
  X(SONARIX_GetCurrentStreamFormat, 5, 0)           \
  X(SONARIX_SetCurrentStreamFormat, 5, 0)           \
  X(SONARIX_GetStreamFormatSelectionMode, 5, 0)     \
  X(SONARIX_SetSoundDeviceProfile, 5, 6)            \
  X(SONARIX_GetControlPanelOptions, 5, 4)           \
  X(SONARIX_GetChannelProperties, 5, 0)             \
  X(SONARIX_GetChannelInfo, 5, 0)                   \
  X(SONARIX_GetVolumeMuteInfo, 5, 0)                \
  X(SONARIX_GetVolume, 5, 0)                        \
  X(SONARIX_SetVolume, 5, 0)                        \
  X(SONARIX_GetMute, 5, 0)                          \
  X(SONARIX_SetMute, 5, 0)                          \
  X(SONARIX_GetUsbConfigDescriptor, 5, 0)           \
  X(SONARIX_GetUsbStringDescriptorString, 5, 0)     \
  X(SONARIX_AudioControlRequestSet, 5, 0)           \
  X(SONARIX_AudioControlRequestGet, 5, 0)           \
  X(SONARIX_ClassVendorRequestOut, 5, 0)            \
  X(SONARIX_ClassVendorRequestIn, 5, 0)             \
  X(SONARIX_GetDriverInfo, 5, 0)                    \
  X(SONARIX_GetASIOInstanceInfo, 5, 0)              \
  X(SONARIX_SetASIOBufferPreferredSize, 5, 0)       \
  X(SONARIX_SetPreferredASIODevice, 5, 1)           \
  X(SONARIX_ClearPreferredASIODevice, 5, 1)         \
  X(SONARIX_GetDeviceUsbMode, 5, 0)                 \
  X(SONARIX_GetClientInfo, 5, 0)                    \
  X(SONARIX_GetDeviceStreamingMode, 5, 0)           \
  X(SONARIX_SetDeviceStreamingMode, 5, 0)           \
  X(SONARIX_LoadFirmwareImageFromBuffer, 5, 0)      \
  X(SONARIX_LoadFirmwareImageFromFile, 5, 0)        \
  X(SONARIX_GetFirmwareImageSize, 5, 0)             \
  X(SONARIX_UnloadFirmwareImage, 5, 0)              \
  X(SONARIX_GetFirmwareImage, 5, 0)                 \
  X(SONARIX_StartDfuDownload, 5, 0)                 \
  X(SONARIX_StartDfuUpload, 5, 0)                   \
  X(SONARIX_StartDfuRevertToFactoryImage, 5, 0)     \
  X(SONARIX_GetDfuStatus, 5, 0)                     \
  X(SONARIX_EndDfuProc, 5, 0)                       \
  X(SONARIX_GetDspProperty, 5, 0)                   \
  X(SONARIX_SetDspProperty, 5, 0)                   \
  X(SONARIX_GetExtendedInfo, 5, 5)                  \
  X(SONARIX_SetHwChannelHiddenFlags, 5, 7)          \
  X(SONARIX_QueryDriverStatistics, 5, 0)            \
  X(SONARIX_ResetDriverStatistics, 5, 0)            \
  X(SONARIX_QueryDeviceStatistics, 5, 2)            \
  X(SONARIX_StatusCodeStringW, 5, 0)                \
  X(SONARIX_StatusCodeStringA, 5, 0)
