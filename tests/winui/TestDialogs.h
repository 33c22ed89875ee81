#pragma once
// Dialog classes over the tests' own templates.
#include <windows.h>

#include "DialogImpl.h"
#include "DialogResize.h"
#include "WinUiTestResource.h"

namespace winui_test {

constexpr UINT kAnswerMessage = WM_APP + 10;
constexpr LRESULT kAnswer = 4321;

// Records what reaches it; can press a button of its own as soon as it is initialised.
class TestDlg : public winui::CDialogImpl<TestDlg> {
 public:
  enum { IDD = IDD_TEST_DIALOG };

  BEGIN_MSG_MAP(TestDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(kAnswerMessage, OnAnswer)
    COMMAND_ID_HANDLER(IDOK, OnOk)
    COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
  END_MSG_MAP()

  void OnFinalMessage(HWND hWnd) override {
    ++finalMessages;
    finalHandle = hWnd;
  }

  int commandAfterInit = 0;  // posted to itself at WM_INITDIALOG when not 0
  int resultOfOk = IDOK;
  LPARAM initParam = -1;
  HWND handleAtInit = nullptr;
  int finalMessages = 0;
  HWND finalHandle = nullptr;

 private:
  LRESULT OnInitDialog(UINT, WPARAM, LPARAM lParam, BOOL&) {
    initParam = lParam;
    handleAtInit = m_hWnd;
    if (commandAfterInit != 0) PostMessage(WM_COMMAND, MAKEWPARAM(commandAfterInit, BN_CLICKED));
    return TRUE;
  }
  LRESULT OnAnswer(UINT, WPARAM, LPARAM, BOOL&) { return kAnswer; }
  LRESULT OnOk(WORD, WORD, HWND, BOOL&) {
    EndDialog(resultOfOk);
    return 0;
  }
  LRESULT OnCancel(WORD, WORD, HWND, BOOL&) {
    EndDialog(IDCANCEL);
    return 0;
  }
};

// The test template with one resize rule per control.
class ResizeDlg : public winui::CDialogImpl<ResizeDlg>,
                  public winui::CDialogResize<ResizeDlg> {
 public:
  enum { IDD = IDD_TEST_DIALOG };

  BEGIN_MSG_MAP(ResizeDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    CHAIN_MSG_MAP(winui::CDialogResize<ResizeDlg>)
  END_MSG_MAP()

  BEGIN_DLGRESIZE_MAP(ResizeDlg)
    DLGRESIZE_CONTROL(IDC_TEST_EDIT, winui::DLSZ_SIZE_X)
    DLGRESIZE_CONTROL(IDC_TEST_BROWSE, winui::DLSZ_MOVE_X | winui::DLSZ_REPAINT)
    DLGRESIZE_CONTROL(IDC_TEST_LIST, winui::DLSZ_SIZE_X | winui::DLSZ_SIZE_Y)
    DLGRESIZE_CONTROL(IDC_TEST_TALL, winui::DLSZ_SIZE_X | winui::DLSZ_MOVE_Y)
    DLGRESIZE_CONTROL(IDC_TEST_CORNER, winui::DLSZ_MOVE_X | winui::DLSZ_MOVE_Y)
  END_DLGRESIZE_MAP()

  bool addGrip = true;
  bool useMinTrackSize = true;

 private:
  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
    DlgResize_Init(addGrip, useMinTrackSize);
    return TRUE;
  }
};

// A rectangle of a control in its dialog's client coordinates.
inline RECT ControlRect(HWND dialog, int id) {
  RECT rect = {};
  ::GetWindowRect(::GetDlgItem(dialog, id), &rect);
  ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

inline SIZE WindowSize(HWND window) {
  RECT rect = {};
  ::GetWindowRect(window, &rect);
  return {rect.right - rect.left, rect.bottom - rect.top};
}

}  // namespace winui_test
