#include "MixerDlgBase.h"

#include "Config.h"
#include "ErrorMessage.h"
#include "MessageBoxes.h"
#include "SonarixApiDll.h"

MixerDlgBase::MixerDlgBase(SonarixApiDll& api, const Config& config)
    : api_(api), config_(config), mixer_(&api) {}

MixerDlgBase::~MixerDlgBase() { CloseCurrentDevice(); }

StatusCode MixerDlgBase::OpenDevice(uint32_t index) {
  CloseCurrentDevice();
  mixer_.SetCountLimit(DeviceOutput, config_.MaxChannelCountDeviceOutput());
  mixer_.SetCountLimit(DeviceInput, config_.MaxChannelCountDeviceInput());
  mixer_.SetCountLimit(AppPlayback, config_.MaxChannelCountAppPlayback());
  mixer_.SetCountLimit(AppRecording, config_.MaxChannelCountAppRecording());
  mixer_.SetCountLimit(AppPlaybackVirt, config_.MaxChannelCountAppPlaybackVirt());
  mixer_.SetCountLimit(AppRecordingVirt, config_.MaxChannelCountAppRecordingVirt());
  if (api_.SONARIX_OpenDeviceByIndex == nullptr) return mixer_status::kNotBound;
  VT_RETURN_IF_FAILED(api_.SONARIX_OpenDeviceByIndex(index, &device_));
  // A device whose mixer cannot be read stays open; the model then shows no channels.
  static_cast<void>(mixer_.Attach(device_));
  return mixer_status::kOk;
}

void MixerDlgBase::CloseCurrentDevice() {
  if (device_ == 0) return;
  mixer_.Detach();
  if (api_.SONARIX_CloseDevice != nullptr) api_.SONARIX_CloseDevice(device_);
  device_ = 0;
}

StatusCode MixerDlgBase::OpenFirstDevice(bool& present) {
  present = false;
  if (api_.SONARIX_EnumerateDevices == nullptr) return mixer_status::kNotBound;
  VT_RETURN_IF_FAILED(api_.SONARIX_EnumerateDevices());
  if (api_.SONARIX_GetDeviceCount == nullptr || api_.SONARIX_GetDeviceCount() == 0) {
    return mixer_status::kOk;
  }
  VT_RETURN_IF_FAILED(OpenDevice(0));
  present = true;
  return mixer_status::kOk;
}

bool MixerDlgBase::DeferUpdate() {
  if (messageBoxOpen_) {
    boxUpdatePending_ = true;
    return true;
  }
  if (popupOpen_) {
    popupUpdatePending_ = true;
    EndPopups();  // the popup's end posts the update
    return true;
  }
  return false;
}

StatusCode MixerDlgBase::RegisterForDeviceChanges(HWND window) {
  if (api_.SONARIX_RegisterPnpNotification == nullptr) return mixer_status::kNotBound;
  return api_.SONARIX_RegisterPnpNotification(nullptr, nullptr, window, WM_DEVICE_PNP, 0);
}

void MixerDlgBase::UnregisterFromDeviceChanges() {
  if (api_.SONARIX_UnregisterPnpNotification != nullptr) api_.SONARIX_UnregisterPnpNotification();
}

void MixerDlgBase::ReplayDeferredUpdate(HWND window, bool& pending) {
  if (!pending) return;
  pending = false;
  ::PostMessageW(window, WM_UPDATE_DEVICES, 0, 0);
}

void MixerDlgBase::ReportError(HWND window, const wchar_t* where, const wchar_t* call,
                               StatusCode status) {
  // A device that went away while the window was built is no error to report.
  if (status == mixer_status::kDeviceRemoved) return;
  std::wstring text;
  if (status == mixer_status::kDriverIniMissing) {
    text = GetText(LanguageKey::ERROR_MESSAGE_DRIVER_API_DLL_WITHOUT_INI);
  } else if (status == mixer_status::kInvalidConfiguration) {
    text = GetText(LanguageKey::ERROR_MESSAGE_DRIVER_API_DLL_WITH_INVALID_INI);
  } else {
    text = FormatErrorMessage(where, call, status);
  }
  if (messageBoxOpen_) return;
  messageBoxOpen_ = true;
  ShowMessageBox(window, text, GetText(LanguageKey::APP_TITLE), MB_ICONERROR);
  messageBoxOpen_ = false;
  ReplayDeferredUpdate(window, boxUpdatePending_);
}
