#pragma once
// Dialog resizing: a dialog lists how each control follows the window's size between
// BEGIN_DLGRESIZE_MAP and END_DLGRESIZE_MAP, calls DlgResize_Init() from WM_INITDIALOG and
// chains this class's map (CHAIN_MSG_MAP(CDialogResize<T>)) for WM_SIZE and WM_GETMINMAXINFO.
// Each control keeps its initial rectangle; a move or size rule adds the change of the client
// area's width or height to it.
#include <windows.h>

#include <vector>

#include "MessageMap.h"

namespace winui {

enum : DWORD {
  DLSZ_SIZE_X = 0x00000001,  // the right edge follows the window's width
  DLSZ_SIZE_Y = 0x00000002,  // the bottom edge follows the window's height
  DLSZ_MOVE_X = 0x00000004,  // the control moves with the right edge
  DLSZ_MOVE_Y = 0x00000008,  // the control moves with the bottom edge
  DLSZ_REPAINT = 0x00000010, // the control is repainted after each change
};

struct DlgResizeRule {
  int id;  // -1 ends the map
  DWORD flags;
};

// The control id of the size grip.
constexpr int kSizeGripId = 0xE801;

// The state and the work of dialog resizing, apart from the dialog class.
class DlgResizeLayout {
 public:
  // Records the initial layout of `dialog`'s controls named by `rules`. With `addGrip` a size
  // grip goes into the bottom-right corner; with `useMinTrackSize` the window cannot be made
  // smaller than it is now. `forceStyle` is added to the window's style.
  void Init(HWND dialog, const DlgResizeRule* rules, bool addGrip, bool useMinTrackSize,
            DWORD forceStyle);
  // Lays the controls out for a client area of `width` x `height`.
  void UpdateLayout(int width, int height) const;
  // WM_SIZE: hides the grip when maximised, shows it again otherwise, and lays the controls
  // out; a minimised window is left alone.
  void OnSize(WPARAM sizeType, int width, int height) const;
  // WM_GETMINMAXINFO: applies the minimum tracking size once it is known.
  void OnGetMinMaxInfo(MINMAXINFO* info) const;

  HWND grip() const { return grip_; }
  POINT minTrackSize() const { return minTrackSize_; }
  SIZE initialClientSize() const { return initialClient_; }

 private:
  struct Item {
    int id;
    DWORD flags;
    RECT initial;  // in client coordinates
  };

  HWND dialog_ = nullptr;
  HWND grip_ = nullptr;
  SIZE initialClient_ = {0, 0};
  POINT minTrackSize_ = {-1, -1};  // -1: not known, no minimum applied
  std::vector<Item> items_;
};

template <class T>
class CDialogResize {
 public:
  BEGIN_MSG_MAP(CDialogResize)
    MESSAGE_HANDLER(WM_SIZE, OnSize)
    MESSAGE_HANDLER(WM_GETMINMAXINFO, OnGetMinMaxInfo)
  END_MSG_MAP()

  void DlgResize_Init(bool addGrip = true, bool useMinTrackSize = true,
                      DWORD forceStyle = WS_CLIPCHILDREN) {
    T* self = static_cast<T*>(this);
    m_resizeLayout.Init(self->m_hWnd, T::GetDlgResizeMap(), addGrip, useMinTrackSize,
                        forceStyle);
  }
  void DlgResize_UpdateLayout(int width, int height) {
    m_resizeLayout.UpdateLayout(width, height);
  }

  LRESULT OnSize(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
    m_resizeLayout.OnSize(wParam, LOWORD(lParam), HIWORD(lParam));
    return 0;
  }
  LRESULT OnGetMinMaxInfo(UINT, WPARAM, LPARAM lParam, BOOL&) {
    m_resizeLayout.OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam));
    return 0;
  }

  DlgResizeLayout m_resizeLayout;
};

}  // namespace winui

#define BEGIN_DLGRESIZE_MAP(thisClass)                                                             \
  static const ::winui::DlgResizeRule* GetDlgResizeMap() {                                         \
    static const ::winui::DlgResizeRule theMap[] = {
#define DLGRESIZE_CONTROL(id, flags) {(id), (flags)},
#define END_DLGRESIZE_MAP() \
  {-1, 0}                   \
  }                         \
  ;                         \
  return theMap;            \
  }
