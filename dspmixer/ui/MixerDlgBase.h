#pragma once
// What the two mixer windows share: the open device and its DSP mixer model, the device-change
// handling that never interrupts a modal box or popup, the error box, and (in MixerDlgImpl) the
// window messages both answer and the start and end of the window.
#include <windows.h>

#include "AppModule.h"
#include "DialogImpl.h"
#include "DspMixer.h"
#include "LanguageTexts.h"
#include "MessageLoop.h"
#include "MixerMessages.h"
#include "StatusCode.h"
#include "WindowIcons.h"
#include "resource.h"

class Config;
class SonarixApiDll;

class MixerDlgBase {
 public:
  MixerDlgBase(SonarixApiDll& api, const Config& config);
  virtual ~MixerDlgBase();
  MixerDlgBase(const MixerDlgBase&) = delete;
  MixerDlgBase& operator=(const MixerDlgBase&) = delete;

  // Rebuilds the window from the first device; each mixer window supplies its own.
  virtual StatusCode UpdateDevices() { return mixer_status::kOk; }
  // Ends every running node control popup of the window (it has none by default).
  virtual void EndPopups() {}

  // Opens device `index` (closing the one open before) and attaches the model to it; 0 once
  // the device is open, even when the model could not read its layout.
  StatusCode OpenDevice(uint32_t index);
  void CloseCurrentDevice();
  // The error box of the mixer windows, owned by `window`. Statuses that the driver reports
  // itself show no box or their own text; a second error while a box is open is dropped.
  void ReportError(HWND window, const wchar_t* where, const wchar_t* call, StatusCode status);

  // A node control popup of the window runs (device updates wait for it) or has ended (a
  // device change that arrived meanwhile runs now).
  void PopupStarted() { popupOpen_ = true; }
  void PopupEnded(HWND window) {
    popupOpen_ = false;
    ReplayDeferredUpdate(window, popupUpdatePending_);
  }
  bool IsPopupOpen() const { return popupOpen_; }

  const DspMixer& Mixer() const { return mixer_; }
  SONARIX_HANDLE DeviceHandle() const { return device_; }

 protected:
  // The first step of every update: while a modal box or popup runs, the update waits for
  // it (true: remember it and do nothing now).
  bool DeferUpdate();
  // Enumerates the devices and opens the first; `present` false when there is none.
  StatusCode OpenFirstDevice(bool& present);
  StatusCode RegisterForDeviceChanges(HWND window);
  void UnregisterFromDeviceChanges();
  // A modal loop of the window has ended: a device change that arrived meanwhile runs now.
  void ReplayDeferredUpdate(HWND window, bool& pending);

  SonarixApiDll& api_;
  const Config& config_;
  DspMixer mixer_;
  SONARIX_HANDLE device_ = 0;
  bool popupOpen_ = false;
  bool popupUpdatePending_ = false;
  bool messageBoxOpen_ = false;
  bool boxUpdatePending_ = false;
};

// The mixer window `T`: a modeless dialog over MixerDlgBase whose message filter hands every
// message to the dialog manager, so Tab, the arrow keys, Enter and Escape work as in a dialog.
// `T` provides TearDownControls() and calls InitMixerWindow() at the end of its WM_INITDIALOG.
template <class T>
class MixerDlgImpl : public MixerDlgBase,
                     public winui::CDialogImpl<T>,
                     public winui::CMessageFilter,
                     public winui::CIdleHandler {
 public:
  using MixerDlgBase::MixerDlgBase;

  BOOL PreTranslateMessage(MSG* msg) override { return ::IsDialogMessageW(this->m_hWnd, msg); }
  BOOL OnIdle() override { return FALSE; }

  BEGIN_MSG_MAP(MixerDlgImpl)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    MESSAGE_HANDLER(WM_ENDSESSION, OnEndSession)
    MESSAGE_HANDLER(WM_MIXER_START, OnMixerStart)
    MESSAGE_HANDLER(WM_DEVICE_PNP, OnDevicePnp)
    MESSAGE_HANDLER(WM_UPDATE_DEVICES, OnUpdateDevices)
    COMMAND_ID_HANDLER(IDOK, OnOk)
    COMMAND_ID_HANDLER(IDCANCEL, OnClose)
    COMMAND_ID_HANDLER(ID_APP_EXIT, OnClose)
    COMMAND_ID_HANDLER(ID_ACTIVATE_MIXER, OnActivate)
  END_MSG_MAP()

 protected:
  // Title, device notifications, the first update, centring, icons and the message loop's
  // filter. FALSE when a failure ended the window (reported, destroyed, WM_QUIT 2 posted).
  BOOL InitMixerWindow() {
    this->SetWindowText(GetText(LanguageKey::APP_TITLE).c_str());
    const StatusCode registered = RegisterForDeviceChanges(this->m_hWnd);
    if (registered != mixer_status::kOk) {
      return EndAfterError(L"Initialize", L"SONARIX_RegisterPnpNotification", registered);
    }
    const StatusCode updated = UpdateDevices();
    if (updated != mixer_status::kOk) return EndAfterError(L"OnInitDialog", L"UpdateDevices", updated);
    this->CenterWindow();
    SetWindowIcons(*this, IDI_MIXER);
    if (winui::CMessageLoop* loop = winui::AppModule().GetMessageLoop()) {
      loop->AddMessageFilter(this);
      loop->AddIdleHandler(this);
    }
    return TRUE;
  }

 private:
  BOOL EndAfterError(const wchar_t* where, const wchar_t* call, StatusCode status) {
    ReportError(this->m_hWnd, where, call, status);
    this->DestroyWindow();
    ::PostQuitMessage(kMixerClosedExitCode);
    return FALSE;
  }

  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled) {
    static_cast<T*>(this)->TearDownControls();
    CloseCurrentDevice();
    UnregisterFromDeviceChanges();
    if (winui::CMessageLoop* loop = winui::AppModule().GetMessageLoop()) {
      loop->RemoveMessageFilter(this);
      loop->RemoveIdleHandler(this);
    }
    handled = FALSE;  // the dialog layer has its own work on WM_DESTROY
    return 0;
  }

  // The session ends: the window goes, and the process with the session.
  LRESULT OnEndSession(UINT, WPARAM ending, LPARAM, BOOL& handled) {
    handled = ending != 0;
    if (ending == 0 || CloseAfterPopups(WM_ENDSESSION, ending)) return 0;
    this->DestroyWindow();
    return 0;
  }

  LRESULT OnMixerStart(UINT, WPARAM, LPARAM, BOOL&) { return 0; }

  LRESULT OnDevicePnp(UINT, WPARAM change, LPARAM, BOOL&) {
    // 1: a device arrived, 2: one went away; the driver's other codes mean nothing here.
    if (change == 1 || change == 2) static_cast<void>(UpdateDevices());
    return 0;
  }

  LRESULT OnUpdateDevices(UINT, WPARAM, LPARAM, BOOL&) {
    static_cast<void>(UpdateDevices());
    return 0;
  }

  // Enter does not close a mixer window.
  LRESULT OnOk(WORD, WORD, HWND, BOOL&) { return 0; }

  LRESULT OnClose(WORD, WORD id, HWND, BOOL&) {
    if (CloseAfterPopups(WM_COMMAND, id)) return 0;
    this->DestroyWindow();
    ::PostQuitMessage(kMixerClosedExitCode);
    return 0;
  }

  // A popup's modal loop runs on the stack of one of the window's children: the window goes
  // only once that loop has ended, so the request is ended first and then made again.
  bool CloseAfterPopups(UINT message, WPARAM wParam) {
    if (!IsPopupOpen()) return false;
    EndPopups();
    this->PostMessage(message, wParam);
    return true;
  }

  LRESULT OnActivate(WORD, WORD, HWND, BOOL&) {
    this->ShowWindow(SW_SHOW);
    this->SetForegroundWindow();
    return 0;
  }
};
