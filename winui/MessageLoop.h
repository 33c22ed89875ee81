#pragma once
// The message loop of a user-interface thread, with message filters (which see every message
// before it is translated and dispatched) and idle handlers (which run when the queue is
// empty).
#include <windows.h>

#include <vector>

namespace winui {

class CMessageFilter {
 public:
  // TRUE when the filter has dealt with the message: it is then neither translated nor
  // dispatched.
  virtual BOOL PreTranslateMessage(MSG* pMsg) = 0;
  virtual ~CMessageFilter() = default;
};

class CIdleHandler {
 public:
  // The result is not used; every handler runs once per idle period.
  virtual BOOL OnIdle() = 0;
  virtual ~CIdleHandler() = default;
};

class CMessageLoop {
 public:
  CMessageLoop() = default;
  virtual ~CMessageLoop() = default;
  CMessageLoop(const CMessageLoop&) = delete;
  CMessageLoop& operator=(const CMessageLoop&) = delete;

  // Adding one that is already there, or removing one that is not, returns FALSE.
  BOOL AddMessageFilter(CMessageFilter* filter);
  BOOL RemoveMessageFilter(CMessageFilter* filter);
  BOOL AddIdleHandler(CIdleHandler* handler);
  BOOL RemoveIdleHandler(CIdleHandler* handler);

  // Runs until WM_QUIT and returns its wParam. A failing GetMessageW (-1) is skipped.
  virtual int Run();

  // The filters in the reverse order of adding (the latest first); the first that returns
  // TRUE takes the message.
  virtual BOOL PreTranslateMessage(MSG* pMsg);
  // Runs every idle handler in the order of adding. FALSE: no more idle calls until a
  // message that counts as activity arrives.
  virtual BOOL OnIdle(int idleCount);
  // Mouse moves, paints and the caret's blink timer do not end an idle period.
  static BOOL IsIdleMessage(const MSG* pMsg);

  MSG m_msg = {};

 private:
  std::vector<CMessageFilter*> filters_;
  std::vector<CIdleHandler*> idleHandlers_;
};

}  // namespace winui
