// Modal and modeless dialogs from a template, with the object wired to its dialog procedure.
#include <gtest/gtest.h>

#include <string>

#include "TestDialogs.h"

namespace {

using winui_test::TestDlg;

class MissingTemplateDlg : public winui::CDialogImpl<MissingTemplateDlg> {
 public:
  enum { IDD = 999 };
  BEGIN_MSG_MAP(MissingTemplateDlg)
  END_MSG_MAP()
};

class ChildDlg : public winui::CDialogImpl<ChildDlg> {
 public:
  enum { IDD = IDD_TEST_CHILD };
  BEGIN_MSG_MAP(ChildDlg)
  END_MSG_MAP()
};

// Deletes itself once its window is gone, as child panels owned by their window do.
class SelfDeletingDlg : public winui::CDialogImpl<SelfDeletingDlg> {
 public:
  enum { IDD = IDD_TEST_DIALOG };
  explicit SelfDeletingDlg(bool* deleted) : deleted_(deleted) {}
  ~SelfDeletingDlg() override { *deleted_ = true; }
  BEGIN_MSG_MAP(SelfDeletingDlg)
  END_MSG_MAP()
  void OnFinalMessage(HWND) override { delete this; }

 private:
  bool* deleted_;
};

TEST(DialogImpl, DoModalReturnsTheValueGivenToEndDialog) {
  TestDlg dialog;
  dialog.commandAfterInit = IDOK;
  dialog.resultOfOk = 1234;
  EXPECT_EQ(1234, dialog.DoModal(nullptr));
}

TEST(DialogImpl, InitParamArrivesWithWmInitDialogAndTheHandleIsSetByThen) {
  TestDlg dialog;
  dialog.commandAfterInit = IDCANCEL;
  EXPECT_EQ(IDCANCEL, dialog.DoModal(nullptr, 55));
  EXPECT_EQ(55, dialog.initParam);
  EXPECT_NE(nullptr, dialog.handleAtInit);
  EXPECT_TRUE(dialog.IsModal());
}

TEST(DialogImpl, ModalDialogEndsWithItsWindowGoneAndFinalMessageCalledOnce) {
  TestDlg dialog;
  dialog.commandAfterInit = IDOK;
  dialog.DoModal(nullptr);
  EXPECT_EQ(nullptr, dialog.m_hWnd);
  EXPECT_FALSE(::IsWindow(dialog.handleAtInit));
  EXPECT_EQ(1, dialog.finalMessages);
  EXPECT_EQ(dialog.handleAtInit, dialog.finalHandle);
}

TEST(DialogImpl, MissingTemplateFailsBothWays) {
  MissingTemplateDlg modal;
  EXPECT_EQ(-1, modal.DoModal(nullptr));
  MissingTemplateDlg modeless;
  EXPECT_EQ(nullptr, modeless.Create(nullptr));
  EXPECT_EQ(nullptr, modeless.m_hWnd);
}

TEST(DialogImpl, ModelessDialogLivesUntilDestroyed) {
  TestDlg dialog;
  HWND window = dialog.Create(nullptr, 7);
  ASSERT_NE(nullptr, window);
  EXPECT_EQ(window, dialog.m_hWnd);
  EXPECT_EQ(7, dialog.initParam);
  EXPECT_FALSE(dialog.IsModal());
  EXPECT_EQ(L"Layer test", dialog.GetWindowTextString());

  EXPECT_TRUE(dialog.DestroyWindow());
  EXPECT_FALSE(::IsWindow(window));
  EXPECT_EQ(nullptr, dialog.m_hWnd);
  EXPECT_EQ(1, dialog.finalMessages);
  EXPECT_EQ(window, dialog.finalHandle);
}

TEST(DialogImpl, HandledMessageAnswersWithTheHandlersResult) {
  TestDlg dialog;
  ASSERT_NE(nullptr, dialog.Create(nullptr));
  EXPECT_EQ(winui_test::kAnswer, dialog.SendMessage(winui_test::kAnswerMessage));
  dialog.DestroyWindow();
}

TEST(DialogImpl, MessageOutsideTheMapGetsTheDialogManagersDefault) {
  TestDlg dialog;
  ASSERT_NE(nullptr, dialog.Create(nullptr));
  dialog.SendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Renamed"));
  EXPECT_EQ(L"Renamed", dialog.GetWindowTextString());
  EXPECT_EQ(0, dialog.SendMessage(WM_APP + 50));
  dialog.DestroyWindow();
}

TEST(DialogImpl, ChildDialogIsCreatedInsideItsParent) {
  TestDlg parent;
  ASSERT_NE(nullptr, parent.Create(nullptr));
  ChildDlg child;
  ASSERT_NE(nullptr, child.Create(parent));
  EXPECT_EQ(parent.m_hWnd, ::GetParent(child));
  EXPECT_NE(0u, child.GetStyle() & WS_CHILD);
  EXPECT_EQ(L"Child", child.GetDlgItemTextString(IDC_TEST_LABEL));
  parent.DestroyWindow();
  EXPECT_EQ(nullptr, child.m_hWnd);  // destroyed with its parent
}

TEST(DialogImpl, DialogMayDeleteItselfInOnFinalMessage) {
  bool deleted = false;
  auto* dialog = new SelfDeletingDlg(&deleted);
  HWND window = dialog->Create(nullptr);
  ASSERT_NE(nullptr, window);
  ::DestroyWindow(window);
  EXPECT_TRUE(deleted);
}

}  // namespace
