#pragma once
// The entry points of sonarixapi.dll: stdcall, exported by their plain names. The mixer binds
// all of them and calls the first group only; the others answer 0xEE000031 in this driver.
#include <windows.h>

#include <cstdint>

extern "C" {

typedef uint32_t SONARIX_STATUS;
typedef uint32_t SONARIX_HANDLE;

#define SONARIX_API __stdcall

// Version 5.7: major in the high 16 bits, minor in the low 16 bits.
uint32_t SONARIX_API SONARIX_GetApiVersion(void);
// Non-zero for a client built for this version or an earlier one.
uint32_t SONARIX_API SONARIX_CheckApiVersion(uint32_t major, uint32_t minor);
// Posts `message` to `window` with wParam 1 when a device arrives, 2 when one goes away.
SONARIX_STATUS SONARIX_API SONARIX_RegisterPnpNotification(HANDLE event, void* reserved,
                                                           HWND window, UINT message,
                                                           uint32_t flags);
SONARIX_STATUS SONARIX_API SONARIX_UnregisterPnpNotification(void);
SONARIX_STATUS SONARIX_API SONARIX_EnumerateDevices(void);
uint32_t SONARIX_API SONARIX_GetDeviceCount(void);
SONARIX_STATUS SONARIX_API SONARIX_OpenDeviceByIndex(uint32_t index, SONARIX_HANDLE* handle);
SONARIX_STATUS SONARIX_API SONARIX_CloseDevice(SONARIX_HANDLE handle);
SONARIX_STATUS SONARIX_API SONARIX_GetDspProperty(SONARIX_HANDLE handle, void* request,
                                                  uint32_t size);
SONARIX_STATUS SONARIX_API SONARIX_SetDspProperty(SONARIX_HANDLE handle, void* request,
                                                  uint32_t size);
const wchar_t* SONARIX_API SONARIX_StatusCodeStringW(SONARIX_STATUS status);
const char* SONARIX_API SONARIX_StatusCodeStringA(SONARIX_STATUS status);

// Served by the real driver only.
SONARIX_STATUS SONARIX_API SONARIX_OpenDeviceByChannelIdString(const wchar_t* id,
                                                               SONARIX_HANDLE* handle);
SONARIX_STATUS SONARIX_API SONARIX_GetDeviceProperties(SONARIX_HANDLE handle, void* properties,
                                                       uint32_t size);
SONARIX_STATUS SONARIX_API SONARIX_GetDeviceInstanceIdString(SONARIX_HANDLE handle, wchar_t* text,
                                                             uint32_t chars);
SONARIX_STATUS SONARIX_API SONARIX_GetDeviceContainerIdString(SONARIX_HANDLE handle, wchar_t* text,
                                                              uint32_t chars);
SONARIX_STATUS SONARIX_API SONARIX_GetChannelIndexForChannelIdString(SONARIX_HANDLE handle,
                                                                     const wchar_t* id,
                                                                     uint32_t* index);
SONARIX_STATUS SONARIX_API SONARIX_GetChannelIdString(SONARIX_HANDLE handle, uint32_t index,
                                                      wchar_t* text, uint32_t chars);
SONARIX_STATUS SONARIX_API SONARIX_RegisterDeviceNotification(SONARIX_HANDLE handle, HANDLE event);
SONARIX_STATUS SONARIX_API SONARIX_ReadDeviceNotification(SONARIX_HANDLE handle, void* notification,
                                                          uint32_t size);
SONARIX_STATUS SONARIX_API SONARIX_GetSupportedSampleRates(SONARIX_HANDLE handle, uint32_t* rates,
                                                           uint32_t capacity, uint32_t* count);
SONARIX_STATUS SONARIX_API SONARIX_GetCurrentSampleRate(SONARIX_HANDLE handle, uint32_t* rate);
SONARIX_STATUS SONARIX_API SONARIX_SetSampleRate(SONARIX_HANDLE handle, uint32_t rate);
SONARIX_STATUS SONARIX_API SONARIX_GetSupportedClockSources(SONARIX_HANDLE handle, void* sources,
                                                            uint32_t size, uint32_t* count);
SONARIX_STATUS SONARIX_API SONARIX_GetClockSourceStatus(SONARIX_HANDLE handle, uint32_t source,
                                                        uint32_t* state);
SONARIX_STATUS SONARIX_API SONARIX_GetCurrentClockSource(SONARIX_HANDLE handle, uint32_t* source);
SONARIX_STATUS SONARIX_API SONARIX_SetCurrentClockSource(SONARIX_HANDLE handle, uint32_t source);
SONARIX_STATUS SONARIX_API SONARIX_GetSupportedStreamFormats(SONARIX_HANDLE handle,
                                                             uint32_t direction, void* formats,
                                                             uint32_t size, uint32_t* count);
SONARIX_STATUS SONARIX_API SONARIX_GetCurrentStreamFormat(SONARIX_HANDLE handle, uint32_t direction,
                                                          void* format);
SONARIX_STATUS SONARIX_API SONARIX_SetCurrentStreamFormat(SONARIX_HANDLE handle, uint32_t direction,
                                                          const void* format);
SONARIX_STATUS SONARIX_API SONARIX_GetStreamFormatSelectionMode(SONARIX_HANDLE handle,
                                                                uint32_t* mode);
SONARIX_STATUS SONARIX_API SONARIX_SetSoundDeviceProfile(SONARIX_HANDLE handle, uint32_t profile);
SONARIX_STATUS SONARIX_API SONARIX_GetControlPanelOptions(void* options, uint32_t size);
SONARIX_STATUS SONARIX_API SONARIX_GetChannelProperties(SONARIX_HANDLE handle, uint32_t direction,
                                                        uint32_t index, void* properties);
SONARIX_STATUS SONARIX_API SONARIX_GetChannelInfo(SONARIX_HANDLE handle, uint32_t direction,
                                                  uint32_t index, void* info);
SONARIX_STATUS SONARIX_API SONARIX_GetVolumeMuteInfo(SONARIX_HANDLE handle, uint32_t direction,
                                                     uint32_t channel, void* info);
SONARIX_STATUS SONARIX_API SONARIX_GetVolume(SONARIX_HANDLE handle, uint32_t direction,
                                             uint32_t channel, int32_t* volume);
SONARIX_STATUS SONARIX_API SONARIX_SetVolume(SONARIX_HANDLE handle, uint32_t direction,
                                             uint32_t channel, int32_t volume);
SONARIX_STATUS SONARIX_API SONARIX_GetMute(SONARIX_HANDLE handle, uint32_t direction,
                                           uint32_t channel, uint32_t* mute);
SONARIX_STATUS SONARIX_API SONARIX_SetMute(SONARIX_HANDLE handle, uint32_t direction,
                                           uint32_t channel, uint32_t mute);
SONARIX_STATUS SONARIX_API SONARIX_GetUsbConfigDescriptor(SONARIX_HANDLE handle, void* descriptor,
                                                          uint32_t size, uint32_t* bytes);
SONARIX_STATUS SONARIX_API SONARIX_GetUsbStringDescriptorString(SONARIX_HANDLE handle,
                                                                uint32_t index, uint32_t language,
                                                                wchar_t* text, uint32_t chars);
SONARIX_STATUS SONARIX_API SONARIX_AudioControlRequestSet(SONARIX_HANDLE handle, uint32_t entity,
                                                          uint32_t request, uint32_t value,
                                                          uint32_t index, const void* data,
                                                          uint32_t size);
SONARIX_STATUS SONARIX_API SONARIX_AudioControlRequestGet(SONARIX_HANDLE handle, uint32_t entity,
                                                          uint32_t request, uint32_t value,
                                                          uint32_t index, void* data,
                                                          uint32_t size);
SONARIX_STATUS SONARIX_API SONARIX_ClassVendorRequestOut(SONARIX_HANDLE handle, const void* setup,
                                                         const void* data, uint32_t size);
SONARIX_STATUS SONARIX_API SONARIX_ClassVendorRequestIn(SONARIX_HANDLE handle, const void* setup,
                                                        void* data, uint32_t size, uint32_t* bytes);
SONARIX_STATUS SONARIX_API SONARIX_GetDriverInfo(void* info, uint32_t size);
SONARIX_STATUS SONARIX_API SONARIX_GetASIOInstanceInfo(void* info, uint32_t size);
SONARIX_STATUS SONARIX_API SONARIX_SetASIOBufferPreferredSize(uint32_t size);
SONARIX_STATUS SONARIX_API SONARIX_SetPreferredASIODevice(SONARIX_HANDLE handle);
SONARIX_STATUS SONARIX_API SONARIX_ClearPreferredASIODevice(void);
SONARIX_STATUS SONARIX_API SONARIX_GetDeviceUsbMode(SONARIX_HANDLE handle, uint32_t* mode);
SONARIX_STATUS SONARIX_API SONARIX_GetClientInfo(void* info, uint32_t size);
SONARIX_STATUS SONARIX_API SONARIX_GetDeviceStreamingMode(SONARIX_HANDLE handle, uint32_t* mode);
SONARIX_STATUS SONARIX_API SONARIX_SetDeviceStreamingMode(SONARIX_HANDLE handle, uint32_t mode);
SONARIX_STATUS SONARIX_API SONARIX_LoadFirmwareImageFromBuffer(const void* image, uint32_t size);
SONARIX_STATUS SONARIX_API SONARIX_LoadFirmwareImageFromFile(const wchar_t* path);
SONARIX_STATUS SONARIX_API SONARIX_GetFirmwareImageSize(uint32_t* size);
SONARIX_STATUS SONARIX_API SONARIX_UnloadFirmwareImage(void);
SONARIX_STATUS SONARIX_API SONARIX_GetFirmwareImage(void* image, uint32_t size);
SONARIX_STATUS SONARIX_API SONARIX_StartDfuDownload(SONARIX_HANDLE handle, uint32_t flags);
SONARIX_STATUS SONARIX_API SONARIX_StartDfuUpload(SONARIX_HANDLE handle, uint32_t flags);
SONARIX_STATUS SONARIX_API SONARIX_StartDfuRevertToFactoryImage(SONARIX_HANDLE handle,
                                                                uint32_t flags);
SONARIX_STATUS SONARIX_API SONARIX_GetDfuStatus(SONARIX_HANDLE handle, void* dfuStatus);
SONARIX_STATUS SONARIX_API SONARIX_EndDfuProc(SONARIX_HANDLE handle);
SONARIX_STATUS SONARIX_API SONARIX_GetExtendedInfo(SONARIX_HANDLE handle, void* info,
                                                   uint32_t size);
SONARIX_STATUS SONARIX_API SONARIX_SetHwChannelHiddenFlags(SONARIX_HANDLE handle,
                                                           uint32_t direction, uint32_t flags);
SONARIX_STATUS SONARIX_API SONARIX_QueryDriverStatistics(void* statistics, uint32_t size);
SONARIX_STATUS SONARIX_API SONARIX_ResetDriverStatistics(void);
SONARIX_STATUS SONARIX_API SONARIX_QueryDeviceStatistics(SONARIX_HANDLE handle, void* statistics,
                                                         uint32_t size);

}  // extern "C"
