// The entry points that only the real driver serves: the mixer binds them and never calls
// them, so each answers that this driver does not have it.
#include "SimStatus.h"
#include "SonarixApi.h"

namespace {
constexpr SONARIX_STATUS kNotImplemented = sonarixsim::status::kNotImplemented;
}  // namespace

SONARIX_STATUS SONARIX_API SONARIX_OpenDeviceByChannelIdString(const wchar_t* /*id*/,
                                                               SONARIX_HANDLE* /*handle*/) {
  return kNotImplemented;
}
SONARIX_STATUS SONARIX_API SONARIX_GetDeviceProperties(SONARIX_HANDLE /*handle*/,
                                                       void* /*properties*/, uint32_t /*size*/) {
  return kNotImplemented;
}
SONARIX_STATUS SONARIX_API SONARIX_GetDeviceInstanceIdString(SONARIX_HANDLE /*handle*/,
                                                             wchar_t* /*text*/,
                                                             uint32_t /*chars*/) {
  return kNotImplemented;
}
SONARIX_STATUS SONARIX_API SONARIX_GetDeviceContainerIdString(SONARIX_HANDLE /*handle*/,
                                                              wchar_t* /*text*/,
                                                              uint32_t /*chars*/) {
  return kNotImplemented;
}
SONARIX_STATUS SONARIX_API SONARIX_GetChannelIndexForChannelIdString(SONARIX_HANDLE /*handle*/,
                                                                     const wchar_t* /*id*/,
                                                                     uint32_t* /*index*/) {
  return kNotImplemented;
}
SONARIX_STATUS SONARIX_API SONARIX_GetChannelIdString(SONARIX_HANDLE /*handle*/, uint32_t /*index*/,
                                                      wchar_t* /*text*/, uint32_t /*chars*/) {
  return kNotImplemented;
}
SONARIX_STATUS SONARIX_API SONARIX_RegisterDeviceNotification(SONARIX_HANDLE /*handle*/,
                                                              HANDLE /*event*/) {
  return kNotImplemented;
}
SONARIX_STATUS SONARIX_API SONARIX_ReadDeviceNotification(SONARIX_HANDLE /*handle*/,
                                                          void* /*notification*/,
                                                          uint32_t /*size*/) {
  return kNotImplemented;
}
SONARIX_STATUS SONARIX_API SONARIX_GetSupportedSampleRates(SONARIX_HANDLE /*handle*/,
                                                           uint32_t* /*rates*/,
                                                           uint32_t /*capacity*/,
                                                           uint32_t* /*count*/) {
  return kNotImplemented;
}
SONARIX_STATUS SONARIX_API SONARIX_GetCurrentSampleRate(SONARIX_HANDLE /*handle*/,
                                                        uint32_t* /*rate*/) {
  return kNotImplemented;
}
SONARIX_STATUS SONARIX_API SONARIX_SetSampleRate(SONARIX_HANDLE /*handle*/, uint32_t /*rate*/) {
  return kNotImplemented;
}
SONARIX_STATUS SONARIX_API SONARIX_GetSupportedClockSources(SONARIX_HANDLE /*handle*/,
                                                            void* /*sources*/, uint32_t /*size*/,
                                                            uint32_t* /*count*/) {
  return kNotImplemented;
}
SONARIX_STATUS SONARIX_API SONARIX_GetClockSourceStatus(SONARIX_HANDLE /*handle*/,
                                                        uint32_t /*source*/, uint32_t* /*state*/) {
  return kNotImplemented;
}
SONARIX_STATUS SONARIX_API SONARIX_GetCurrentClockSource(SONARIX_HANDLE /*handle*/,
                                                         uint32_t* /*source*/) {
  return kNotImplemented;
}
SONARIX_STATUS SONARIX_API SONARIX_SetCurrentClockSource(SONARIX_HANDLE /*handle*/,
                                                         uint32_t /*source*/) {
  return kNotImplemented;
}
SONARIX_STATUS SONARIX_API SONARIX_GetSupportedStreamFormats(SONARIX_HANDLE /*handle*/,
                                                             uint32_t /*direction*/,
                                                             void* /*formats*/, uint32_t /*size*/,
                                                             uint32_t* /*count*/) {
  return kNotImplemented;
}
SONARIX_STATUS SONARIX_API SONARIX_GetCurrentStreamFormat(SONARIX_HANDLE /*handle*/,
                                                          uint32_t /*direction*/,
                                                          void* /*format*/) {
  return kNotImplemented;
}
SONARIX_STATUS SONARIX_API SONARIX_SetCurrentStreamFormat(SONARIX_HANDLE /*handle*/,
                                                          uint32_t /*direction*/,
                                                          const void* /*format*/) {
  return kNotImplemented;
}
SONARIX_STATUS SONARIX_API SONARIX_GetStreamFormatSelectionMode(SONARIX_HANDLE /*handle*/,
                                                                uint32_t* /*mode*/) {
  return kNotImplemented;
}
SONARIX_STATUS SONARIX_API SONARIX_SetSoundDeviceProfile(SONARIX_HANDLE /*handle*/,
                                                         uint32_t /*profile*/) {
  return kNotImplemented;
}
SONARIX_STATUS SONARIX_API SONARIX_GetControlPanelOptions(void* /*options*/, uint32_t /*size*/) {
  return kNotImplemented;
}
SONARIX_STATUS SONARIX_API SONARIX_GetChannelProperties(SONARIX_HANDLE /*handle*/,
                                                        uint32_t /*direction*/, uint32_t /*index*/,
                                                        void* /*properties*/) {
  return kNotImplemented;
}
SONARIX_STATUS SONARIX_API SONARIX_GetChannelInfo(SONARIX_HANDLE /*handle*/, uint32_t /*direction*/,
                                                  uint32_t /*index*/, void* /*info*/) {
  return kNotImplemented;
}
SONARIX_STATUS SONARIX_API SONARIX_GetVolumeMuteInfo(SONARIX_HANDLE /*handle*/,
                                                     uint32_t /*direction*/, uint32_t /*channel*/,
                                                     void* /*info*/) {
  return kNotImplemented;
}
SONARIX_STATUS SONARIX_API SONARIX_GetVolume(SONARIX_HANDLE /*handle*/, uint32_t /*direction*/,
                                             uint32_t /*channel*/, int32_t* /*volume*/) {
  return kNotImplemented;
}
SONARIX_STATUS SONARIX_API SONARIX_SetVolume(SONARIX_HANDLE /*handle*/, uint32_t /*direction*/,
                                             uint32_t /*channel*/, int32_t /*volume*/) {
  return kNotImplemented;
}
SONARIX_STATUS SONARIX_API SONARIX_GetMute(SONARIX_HANDLE /*handle*/, uint32_t /*direction*/,
                                           uint32_t /*channel*/, uint32_t* /*mute*/) {
  return kNotImplemented;
}
SONARIX_STATUS SONARIX_API SONARIX_SetMute(SONARIX_HANDLE /*handle*/, uint32_t /*direction*/,
                                           uint32_t /*channel*/, uint32_t /*mute*/) {
  return kNotImplemented;
}
SONARIX_STATUS SONARIX_API SONARIX_GetUsbConfigDescriptor(SONARIX_HANDLE /*handle*/,
                                                          void* /*descriptor*/, uint32_t /*size*/,
                                                          uint32_t* /*bytes*/) {
  return kNotImplemented;
}
SONARIX_STATUS SONARIX_API SONARIX_GetUsbStringDescriptorString(SONARIX_HANDLE /*handle*/,
                                                                uint32_t /*index*/,
                                                                uint32_t /*language*/,
                                                                wchar_t* /*text*/,
                                                                uint32_t /*chars*/) {
  return kNotImplemented;
}
SONARIX_STATUS SONARIX_API SONARIX_AudioControlRequestSet(SONARIX_HANDLE /*handle*/,
                                                          uint32_t /*entity*/, uint32_t /*request*/,
                                                          uint32_t /*value*/, uint32_t /*index*/,
                                                          const void* /*data*/, uint32_t /*size*/) {
  return kNotImplemented;
}
SONARIX_STATUS SONARIX_API SONARIX_AudioControlRequestGet(SONARIX_HANDLE /*handle*/,
                                                          uint32_t /*entity*/, uint32_t /*request*/,
                                                          uint32_t /*value*/, uint32_t /*index*/,
                                                          void* /*data*/, uint32_t /*size*/) {
  return kNotImplemented;
}
SONARIX_STATUS SONARIX_API SONARIX_ClassVendorRequestOut(SONARIX_HANDLE /*handle*/,
                                                         const void* /*setup*/,
                                                         const void* /*data*/, uint32_t /*size*/) {
  return kNotImplemented;
}
SONARIX_STATUS SONARIX_API SONARIX_ClassVendorRequestIn(SONARIX_HANDLE /*handle*/,
                                                        const void* /*setup*/, void* /*data*/,
                                                        uint32_t /*size*/, uint32_t* /*bytes*/) {
  return kNotImplemented;
}
SONARIX_STATUS SONARIX_API SONARIX_GetDriverInfo(void* /*info*/, uint32_t /*size*/) {
  return kNotImplemented;
}
SONARIX_STATUS SONARIX_API SONARIX_GetASIOInstanceInfo(void* /*info*/, uint32_t /*size*/) {
  return kNotImplemented;
}
SONARIX_STATUS SONARIX_API SONARIX_SetASIOBufferPreferredSize(uint32_t /*size*/) {
  return kNotImplemented;
}
SONARIX_STATUS SONARIX_API SONARIX_SetPreferredASIODevice(SONARIX_HANDLE /*handle*/) {
  return kNotImplemented;
}
SONARIX_STATUS SONARIX_API SONARIX_ClearPreferredASIODevice(void) { return kNotImplemented; }
SONARIX_STATUS SONARIX_API SONARIX_GetDeviceUsbMode(SONARIX_HANDLE /*handle*/, uint32_t* /*mode*/) {
  return kNotImplemented;
}
SONARIX_STATUS SONARIX_API SONARIX_GetClientInfo(void* /*info*/, uint32_t /*size*/) {
  return kNotImplemented;
}
SONARIX_STATUS SONARIX_API SONARIX_GetDeviceStreamingMode(SONARIX_HANDLE /*handle*/,
                                                          uint32_t* /*mode*/) {
  return kNotImplemented;
}
SONARIX_STATUS SONARIX_API SONARIX_SetDeviceStreamingMode(SONARIX_HANDLE /*handle*/,
                                                          uint32_t /*mode*/) {
  return kNotImplemented;
}
SONARIX_STATUS SONARIX_API SONARIX_LoadFirmwareImageFromBuffer(const void* /*image*/,
                                                               uint32_t /*size*/) {
  return kNotImplemented;
}
SONARIX_STATUS SONARIX_API SONARIX_LoadFirmwareImageFromFile(const wchar_t* /*path*/) {
  return kNotImplemented;
}
SONARIX_STATUS SONARIX_API SONARIX_GetFirmwareImageSize(uint32_t* /*size*/) {
  return kNotImplemented;
}
SONARIX_STATUS SONARIX_API SONARIX_UnloadFirmwareImage(void) { return kNotImplemented; }
SONARIX_STATUS SONARIX_API SONARIX_GetFirmwareImage(void* /*image*/, uint32_t /*size*/) {
  return kNotImplemented;
}
SONARIX_STATUS SONARIX_API SONARIX_StartDfuDownload(SONARIX_HANDLE /*handle*/, uint32_t /*flags*/) {
  return kNotImplemented;
}
SONARIX_STATUS SONARIX_API SONARIX_StartDfuUpload(SONARIX_HANDLE /*handle*/, uint32_t /*flags*/) {
  return kNotImplemented;
}
SONARIX_STATUS SONARIX_API SONARIX_StartDfuRevertToFactoryImage(SONARIX_HANDLE /*handle*/,
                                                                uint32_t /*flags*/) {
  return kNotImplemented;
}
SONARIX_STATUS SONARIX_API SONARIX_GetDfuStatus(SONARIX_HANDLE /*handle*/, void* /*dfuStatus*/) {
  return kNotImplemented;
}
SONARIX_STATUS SONARIX_API SONARIX_EndDfuProc(SONARIX_HANDLE /*handle*/) { return kNotImplemented; }
SONARIX_STATUS SONARIX_API SONARIX_GetExtendedInfo(SONARIX_HANDLE /*handle*/, void* /*info*/,
                                                   uint32_t /*size*/) {
  return kNotImplemented;
}
SONARIX_STATUS SONARIX_API SONARIX_SetHwChannelHiddenFlags(SONARIX_HANDLE /*handle*/,
                                                           uint32_t /*direction*/,
                                                           uint32_t /*flags*/) {
  return kNotImplemented;
}
SONARIX_STATUS SONARIX_API SONARIX_QueryDriverStatistics(void* /*statistics*/, uint32_t /*size*/) {
  return kNotImplemented;
}
SONARIX_STATUS SONARIX_API SONARIX_ResetDriverStatistics(void) { return kNotImplemented; }
SONARIX_STATUS SONARIX_API SONARIX_QueryDeviceStatistics(SONARIX_HANDLE /*handle*/,
                                                         void* /*statistics*/, uint32_t /*size*/) {
  return kNotImplemented;
}
