// Message maps route each message to the first entry that takes it, in the order listed.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "MessageMap.h"

namespace {

constexpr UINT kFirstAppMessage = WM_APP + 1;
constexpr UINT kDeclinedMessage = WM_APP + 2;
constexpr WORD kButtonId = 300;
constexpr WORD kEditId = 301;
constexpr UINT_PTR kListId = 302;

class ChainedBase {
 public:
  BEGIN_MSG_MAP(ChainedBase)
    MESSAGE_HANDLER(kDeclinedMessage, OnDeclinedInBase)
  END_MSG_MAP()

  LRESULT OnDeclinedInBase(UINT, WPARAM, LPARAM, BOOL&) {
    baseCalls.push_back("base");
    return 77;
  }
  std::vector<std::string> baseCalls;
};

class Mapped : public winui::CMessageMap, public ChainedBase {
 public:
  BEGIN_MSG_MAP(Mapped)
    MESSAGE_HANDLER(kFirstAppMessage, OnApp)
    MESSAGE_HANDLER(kDeclinedMessage, OnDeclined)
    COMMAND_HANDLER(kEditId, EN_CHANGE, OnEditChange)
    COMMAND_ID_HANDLER(kButtonId, OnButton)
    NOTIFY_HANDLER(kListId, NM_CLICK, OnListClick)
    CHAIN_MSG_MAP(ChainedBase)
  ALT_MSG_MAP(1)
    MESSAGE_HANDLER(kFirstAppMessage, OnAppInAlternateMap)
  END_MSG_MAP()

  LRESULT OnApp(UINT msg, WPARAM wParam, LPARAM lParam, BOOL&) {
    calls.push_back("app " + std::to_string(msg - WM_APP) + " " + std::to_string(wParam) + " " +
                    std::to_string(lParam));
    return 5;
  }
  LRESULT OnDeclined(UINT, WPARAM, LPARAM, BOOL& handled) {
    calls.push_back("declined");
    handled = FALSE;
    return 0;
  }
  LRESULT OnEditChange(WORD code, WORD id, HWND, BOOL&) {
    calls.push_back("edit " + std::to_string(code) + " " + std::to_string(id));
    return 0;
  }
  LRESULT OnButton(WORD code, WORD id, HWND control, BOOL&) {
    calls.push_back("button " + std::to_string(code) + " " + std::to_string(id) + " " +
                    std::to_string(reinterpret_cast<UINT_PTR>(control)));
    return 0;
  }
  LRESULT OnListClick(int id, NMHDR* header, BOOL&) {
    calls.push_back("list " + std::to_string(id) + " " + std::to_string(header->idFrom));
    return 9;
  }
  LRESULT OnAppInAlternateMap(UINT, WPARAM, LPARAM, BOOL&) {
    calls.push_back("alternate");
    return 0;
  }

  BOOL Send(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result, DWORD mapId = 0) {
    *result = -1;
    return ProcessWindowMessage(nullptr, msg, wParam, lParam, *result, mapId);
  }

  std::vector<std::string> calls;
};

TEST(MessageMap, MessageHandlerGetsItsArgumentsAndGivesItsResult) {
  Mapped map;
  LRESULT result;
  EXPECT_TRUE(map.Send(kFirstAppMessage, 12, 34, &result));
  EXPECT_EQ(5, result);
  EXPECT_EQ(std::vector<std::string>{"app 1 12 34"}, map.calls);
}

TEST(MessageMap, CommandIdHandlerGetsCodeIdAndControl) {
  Mapped map;
  LRESULT result;
  EXPECT_TRUE(map.Send(WM_COMMAND, MAKEWPARAM(kButtonId, BN_CLICKED), 0x1234, &result));
  EXPECT_EQ(std::vector<std::string>{"button 0 300 4660"}, map.calls);
}

TEST(MessageMap, CommandHandlerTakesOnlyItsNotificationCode) {
  Mapped map;
  LRESULT result;
  EXPECT_FALSE(map.Send(WM_COMMAND, MAKEWPARAM(kEditId, EN_SETFOCUS), 0, &result));
  EXPECT_TRUE(map.Send(WM_COMMAND, MAKEWPARAM(kEditId, EN_CHANGE), 0, &result));
  EXPECT_EQ(std::vector<std::string>{"edit 768 301"}, map.calls);
}

TEST(MessageMap, NotifyHandlerMatchesIdAndCode) {
  Mapped map;
  NMHDR click = {nullptr, kListId, static_cast<UINT>(NM_CLICK)};
  NMHDR other = {nullptr, kListId, static_cast<UINT>(NM_DBLCLK)};
  LRESULT result;
  EXPECT_FALSE(map.Send(WM_NOTIFY, kListId, reinterpret_cast<LPARAM>(&other), &result));
  EXPECT_TRUE(map.Send(WM_NOTIFY, kListId, reinterpret_cast<LPARAM>(&click), &result));
  EXPECT_EQ(9, result);
  EXPECT_EQ(std::vector<std::string>{"list 302 302"}, map.calls);
}

TEST(MessageMap, DeclinedMessageGoesOnToTheChainedMap) {
  Mapped map;
  LRESULT result;
  EXPECT_TRUE(map.Send(kDeclinedMessage, 0, 0, &result));
  EXPECT_EQ(77, result);
  EXPECT_EQ(std::vector<std::string>{"declined"}, map.calls);
  EXPECT_EQ(std::vector<std::string>{"base"}, map.baseCalls);
}

TEST(MessageMap, MessageOutsideTheMapIsNotHandled) {
  Mapped map;
  LRESULT result;
  EXPECT_FALSE(map.Send(WM_APP + 40, 0, 0, &result));
  EXPECT_FALSE(map.Send(WM_COMMAND, MAKEWPARAM(999, BN_CLICKED), 0, &result));
  EXPECT_TRUE(map.calls.empty());
}

TEST(MessageMap, AlternateMapIsChosenByItsId) {
  Mapped map;
  LRESULT result;
  EXPECT_TRUE(map.Send(kFirstAppMessage, 0, 0, &result, 1));
  EXPECT_FALSE(map.Send(WM_COMMAND, MAKEWPARAM(kButtonId, 0), 0, &result, 1));
  EXPECT_EQ(std::vector<std::string>{"alternate"}, map.calls);
}

}  // namespace
