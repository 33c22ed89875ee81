#pragma once
// Message maps: a class lists the messages it handles between BEGIN_MSG_MAP and END_MSG_MAP,
// which together define ProcessWindowMessage. Handlers have the familiar signatures:
//   LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled);
//   LRESULT OnCommand(WORD notifyCode, WORD id, HWND control, BOOL& handled);
//   LRESULT OnNotify(int id, NMHDR* header, BOOL& handled);
// `handled` arrives TRUE; a handler that sets it FALSE lets the search go on, so a later
// entry or a chained map (or the default processing) sees the message too.
#include <windows.h>

namespace winui {

class CMessageMap {
 public:
  // TRUE when the map handled the message; `result` is then its answer.
  virtual BOOL ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam,
                                    LRESULT& lResult, DWORD dwMsgMapID = 0) = 0;
  virtual ~CMessageMap() = default;
};

}  // namespace winui

// Not declared virtual here: in a class derived from CMessageMap the function overrides the
// base's, and in a mix-in such as CDialogResize it stays an ordinary member for chaining.
#define BEGIN_MSG_MAP(theClass)                                                                    \
 public:                                                                                           \
  BOOL ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam,                    \
                            LRESULT& lResult, DWORD dwMsgMapID = 0) {                              \
    BOOL bHandled = TRUE;                                                                          \
    (void)hWnd;                                                                                    \
    (void)uMsg;                                                                                    \
    (void)wParam;                                                                                  \
    (void)lParam;                                                                                  \
    (void)lResult;                                                                                 \
    (void)bHandled;                                                                                \
    switch (dwMsgMapID) {                                                                          \
      case 0:

// An alternate map of the same class, selected by `dwMsgMapID`.
#define ALT_MSG_MAP(mapId)                                                                         \
  break;                                                                                           \
  case mapId:

#define MESSAGE_HANDLER(msg, func)                                                                 \
  if (uMsg == (msg)) {                                                                             \
    bHandled = TRUE;                                                                               \
    lResult = func(uMsg, wParam, lParam, bHandled);                                                \
    if (bHandled) return TRUE;                                                                     \
  }

#define MESSAGE_RANGE_HANDLER(msgFirst, msgLast, func)                                             \
  if (uMsg >= (msgFirst) && uMsg <= (msgLast)) {                                                   \
    bHandled = TRUE;                                                                               \
    lResult = func(uMsg, wParam, lParam, bHandled);                                                \
    if (bHandled) return TRUE;                                                                     \
  }

#define COMMAND_HANDLER(id, notifyCode, func)                                                      \
  if (uMsg == WM_COMMAND && (id) == LOWORD(wParam) && (notifyCode) == HIWORD(wParam)) {            \
    bHandled = TRUE;                                                                               \
    lResult = func(HIWORD(wParam), LOWORD(wParam), reinterpret_cast<HWND>(lParam),                 \
                   bHandled);                                                                      \
    if (bHandled) return TRUE;                                                                     \
  }

#define COMMAND_ID_HANDLER(id, func)                                                               \
  if (uMsg == WM_COMMAND && (id) == LOWORD(wParam)) {                                              \
    bHandled = TRUE;                                                                               \
    lResult = func(HIWORD(wParam), LOWORD(wParam), reinterpret_cast<HWND>(lParam),                 \
                   bHandled);                                                                      \
    if (bHandled) return TRUE;                                                                     \
  }

#define COMMAND_CODE_HANDLER(notifyCode, func)                                                     \
  if (uMsg == WM_COMMAND && (notifyCode) == HIWORD(wParam)) {                                      \
    bHandled = TRUE;                                                                               \
    lResult = func(HIWORD(wParam), LOWORD(wParam), reinterpret_cast<HWND>(lParam),                 \
                   bHandled);                                                                      \
    if (bHandled) return TRUE;                                                                     \
  }

#define COMMAND_RANGE_HANDLER(idFirst, idLast, func)                                               \
  if (uMsg == WM_COMMAND && LOWORD(wParam) >= (idFirst) && LOWORD(wParam) <= (idLast)) {           \
    bHandled = TRUE;                                                                               \
    lResult = func(HIWORD(wParam), LOWORD(wParam), reinterpret_cast<HWND>(lParam),                 \
                   bHandled);                                                                      \
    if (bHandled) return TRUE;                                                                     \
  }

#define NOTIFY_HANDLER(id, notifyCode, func)                                                       \
  if (uMsg == WM_NOTIFY && (id) == reinterpret_cast<NMHDR*>(lParam)->idFrom &&                     \
      (notifyCode) == reinterpret_cast<NMHDR*>(lParam)->code) {                                    \
    bHandled = TRUE;                                                                               \
    lResult = func(static_cast<int>(wParam), reinterpret_cast<NMHDR*>(lParam), bHandled);          \
    if (bHandled) return TRUE;                                                                     \
  }

#define NOTIFY_ID_HANDLER(id, func)                                                                \
  if (uMsg == WM_NOTIFY && (id) == reinterpret_cast<NMHDR*>(lParam)->idFrom) {                     \
    bHandled = TRUE;                                                                               \
    lResult = func(static_cast<int>(wParam), reinterpret_cast<NMHDR*>(lParam), bHandled);          \
    if (bHandled) return TRUE;                                                                     \
  }

#define NOTIFY_CODE_HANDLER(notifyCode, func)                                                      \
  if (uMsg == WM_NOTIFY && (notifyCode) == reinterpret_cast<NMHDR*>(lParam)->code) {               \
    bHandled = TRUE;                                                                               \
    lResult = func(static_cast<int>(wParam), reinterpret_cast<NMHDR*>(lParam), bHandled);          \
    if (bHandled) return TRUE;                                                                     \
  }

// Hands the message to the map of a base class (called by name, so not virtually).
#define CHAIN_MSG_MAP(theChainClass)                                                               \
  {                                                                                                \
    if (theChainClass::ProcessWindowMessage(hWnd, uMsg, wParam, lParam, lResult))                  \
      return TRUE;                                                                                 \
  }

// Hands the message to the map of a member object.
#define CHAIN_MSG_MAP_MEMBER(theChainMember)                                                       \
  {                                                                                                \
    if ((theChainMember).ProcessWindowMessage(hWnd, uMsg, wParam, lParam, lResult))                \
      return TRUE;                                                                                 \
  }

#define END_MSG_MAP()                                                                              \
  break;                                                                                           \
  default:                                                                                         \
    break;                                                                                         \
    }                                                                                              \
    return FALSE;                                                                                  \
    }
