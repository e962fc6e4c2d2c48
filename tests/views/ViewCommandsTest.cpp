// The native document's view, display and window commands on the views layer's panes: the
// projections and display modes with their menu marks, the saved views in the views menu, and
// the sub-windows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Alerts.h"
#include "CDesktop.h"
#include "CMenuManager.h"
#include "CViewInfo.h"
#include "CWindow.h"
#include "PaneDocumentFixture.h"
#include "VLPaneDocumentViews.h"
#include "VLSubWindow.h"
#include "VLViewPane.h"
#include "VLViewTransform.h"
#include "ViewDrawingFlags.h"

namespace {

class ViewCommands : public PaneDocumentFixture {
 protected:
  void SetUp() override {
    PaneDocumentFixture::SetUp();
    ASSERT_NE(document, nullptr);
    pane = document->GetViews()->GetViewPane();
    ASSERT_NE(pane, nullptr);
  }

  static Vector3d Eye(VLViewPane* of) {
    Vector3d eye;
    of->viewTransform->GetEyePoint(&eye);
    return eye;
  }
  std::string SavedViewItem(long command) {
    Str255 text;
    if (!gMenuManager->GetCommandText(command, text)) return "(none)";
    return PStrToStd(text);
  }
  std::vector<std::string> WindowTitles() const {
    std::vector<std::string> titles;
    for (CWindow* window : gDesktop->GetWindows()) {
      Str255 title;
      window->GetTitle(title);
      titles.push_back(PStrToStd(title));
    }
    return titles;
  }

  VLViewPane* pane = nullptr;
};

const std::vector<long> kViewCommands = {6000, 6003, 6004, 6100, 6101, 6102, 6103};
const std::vector<long> kDisplayCommands = {6006, 6007, 6013, 6009};

}  // namespace

TEST_F(ViewCommands, EachProjectionSwitchesThePaneAndTheMenuMarkFollows) {
  struct Step {
    long command;
    SInt16 viewCommand;
    UInt8 perspective;
  };
  // From the new document's perspective view; the axonometric view is reachable from the plan
  // and the elevations, which leave perspective too.
  const Step steps[] = {{6000, 6000, 0}, {6101, 6101, 0}, {6004, 6004, 0}, {6003, 6003, 1},
                        {6103, 6103, 0}, {6003, 6003, 1}, {6004, 6004, 0}, {6000, 6000, 0}};
  for (const Step& step : steps) {
    SCOPED_TRACE(step.command);
    pane->showingSavedView = 1;
    document->DoCommand(step.command);
    EXPECT_EQ(pane->viewToolCommand, step.viewCommand);
    EXPECT_EQ(pane->perspectiveActive, step.perspective);
    EXPECT_EQ(pane->showingSavedView, 0) << "a projection is no saved view";
    EXPECT_EQ(Checked(kViewCommands), std::vector<long>{step.viewCommand});
  }
}

TEST_F(ViewCommands, PerspectiveAndAxonometricDoNothingWhileShown) {
  ASSERT_EQ(pane->viewToolCommand, 6003);
  const Vector3d before = Eye(pane);
  pane->showingSavedView = 1;
  document->DoCommand(6003);
  EXPECT_EQ(pane->showingSavedView, 1) << "nothing happened";
  document->DoCommand(6004);
  EXPECT_EQ(pane->viewToolCommand, 6004);
  pane->showingSavedView = 1;
  document->DoCommand(6004);
  EXPECT_EQ(pane->showingSavedView, 1) << "nothing happened";
  document->DoCommand(6003);
  EXPECT_EQ(pane->viewToolCommand, 6003);
  const Vector3d after = Eye(pane);
  EXPECT_NEAR(after.x, before.x, 1e-9);
  EXPECT_NEAR(after.z, before.z, 1e-9);
}

TEST_F(ViewCommands, DisplayModesSwitchAndToggleBackWithTheirMarks) {
  struct Case {
    std::vector<long> commands;
    std::vector<long> checked;  // of 6006, 6007, 6013, 6009
  };
  const Case cases[] = {
      {{6007}, {6007}},
      {{6007, 6007}, {6006}},
      {{6013}, {6007, 6013}},
      {{6013, 6013}, {6006}},
      {{6013, 6006}, {6006}},
      {{6007, 6013}, {6007, 6013}},
      {{6006}, {6006}},
  };
  for (const Case& c : cases) {
    document->DoCommand(6006);
    for (long command : c.commands) document->DoCommand(command);
    SCOPED_TRACE(::testing::PrintToString(c.commands));
    EXPECT_EQ(Checked(kDisplayCommands), c.checked);
    // The pane keeps what the flags say, for when it becomes current again.
    EXPECT_EQ(pane->wireframe, gWireframeMode);
    EXPECT_EQ(pane->hiddenLine, gHiddenLineMode);
    EXPECT_EQ(pane->shaded, gShadedMode);
  }
}

TEST_F(ViewCommands, RefusedCommandsAreDisabledAndBeep) {
  app->UpdateAllMenus();
  for (long command : {2301L, 2302L, 5015L, 5016L, 6009L, 6011L, 6012L, 6015L, 10003L, 4013L}) {
    SCOPED_TRACE(command);
    EXPECT_FALSE(gMenuManager->IsCommandEnabled(command));
    vlui::ResetBeepCount();
    document->DoCommand(command);
    EXPECT_EQ(vlui::BeepCount(), 1);
  }
  for (long command : {6000L, 6003L, 6004L, 6006L, 6007L, 6013L, 8000L, 6010L})
    EXPECT_TRUE(gMenuManager->IsCommandEnabled(command)) << command;
}

TEST_F(ViewCommands, SavingAViewAddsItsItemAndGoingToAViewShowsItWithItsMark) {
  // The working view heads the list: shown in the menu, not chosen, and view 1 of the marks.
  EXPECT_EQ(SavedViewItem(6501), "Working View");
  Str255 proposed;
  Boolean replace = true;
  SInt16 number = 0;
  ASSERT_TRUE(document->ProposeSavedView(proposed, &replace, &number));
  EXPECT_EQ(PStrToStd(proposed), "View 2");
  EXPECT_FALSE(replace);
  EXPECT_EQ(number, 2);

  document->DoCommand(6000);
  const Vector3d planEye = Eye(pane);
  document->SaveCurrentView(Str255("From Above"), false);
  EXPECT_EQ(SavedViewItem(6502), "From Above");
  EXPECT_EQ(document->GetSavedViews()->GetNumItems(), 2);
  EXPECT_EQ(document->GetWalkthroughViews()->GetNumItems(), 2);
  EXPECT_TRUE(document->IsChanged());
  EXPECT_EQ(Checked({6500, 6501, 6502}), std::vector<long>{6502});

  document->DoCommand(6003);
  EXPECT_EQ(Checked({6500, 6501, 6502}), std::vector<long>{}) << "a free view marks no saved view";
  document->DoCommand(6502);
  EXPECT_EQ(pane->viewToolCommand, 6000);
  EXPECT_EQ(pane->perspectiveActive, 0);
  const Vector3d shown = Eye(pane);
  EXPECT_NEAR(shown.x, planEye.x, 1e-9);
  EXPECT_NEAR(shown.y, planEye.y, 1e-9);
  EXPECT_NEAR(shown.z, planEye.z, 1e-9);
  EXPECT_EQ(Checked({6000, 6003, 6502}), (std::vector<long>{6000, 6502}));

  // 6500 and 6501 both show view 1, the working view, in perspective. Its mark goes to 6500,
  // which no item carries: the working view's item 6501 is a heading and is never marked.
  for (long command : {6500L, 6501L}) {
    document->DoCommand(6000);
    document->DoCommand(command);
    EXPECT_EQ(pane->viewToolCommand, 6003) << command;
    EXPECT_EQ(pane->perspectiveActive, 1) << command;
    EXPECT_EQ(Checked({6500, 6501, 6502}), std::vector<long>{}) << command;
    EXPECT_EQ(document->GetActiveView(), document->GetSavedViews()->PointerAt(1)) << command;
  }

  // While a saved view other than the first is shown, saving proposes to replace it.
  document->DoCommand(6502);
  ASSERT_TRUE(document->ProposeSavedView(proposed, &replace, &number));
  EXPECT_EQ(PStrToStd(proposed), "From Above");
  EXPECT_TRUE(replace);
  document->DoCommand(6101);
  document->SaveCurrentView(Str255("From Above"), true);
  EXPECT_EQ(document->GetSavedViews()->GetNumItems(), 2) << "replaced, not added";
  document->DoCommand(6000);
  document->DoCommand(6502);
  EXPECT_EQ(pane->viewToolCommand, 6101);
}

TEST_F(ViewCommands, ANewViewFillsTheFirstGapInTheNumbers) {
  for (const char* name : {"Two", "Three", "Four"}) document->SaveCurrentView(Str255(name), false);
  VLArray* views = document->GetSavedViews();
  ASSERT_EQ(views->GetNumItems(), 4);
  // View 3 taken out leaves menu numbers 1, 2, 4.
  auto* three = static_cast<CCollaborator*>(views->PointerAt(3));
  document->ClearViewsMenu();
  views->DeleteItem(3);
  three->Dispose();
  document->SaveCurrentView(Str255("New"), false);
  ASSERT_EQ(views->GetNumItems(), 4);
  std::vector<std::string> names;
  std::vector<SInt16> numbers;
  for (long i = 1; i <= views->GetNumItems(); ++i) {
    auto* view = dynamic_cast<CViewInfo*>(static_cast<CCollaborator*>(views->PointerAt(i)));
    ASSERT_NE(view, nullptr);
    Str255 name;
    view->GetName(name);
    names.push_back(PStrToStd(name));
    numbers.push_back(view->menuNumber);
  }
  EXPECT_EQ(names, (std::vector<std::string>{"Working View", "Two", "New", "Four"}));
  EXPECT_EQ(numbers, (std::vector<SInt16>{1, 2, 3, 4}));
}

TEST_F(ViewCommands, NoViewIsSavedBeyondFifty) {
  while (document->GetSavedViews()->GetNumItems() < VLDocument::kMaxViews)
    document->SaveCurrentView(Str255("More"), false);
  Str255 proposed;
  Boolean replace = false;
  SInt16 number = 0;
  EXPECT_FALSE(document->ProposeSavedView(proposed, &replace, &number));
  document->SaveCurrentView(Str255("Too many"), false);
  EXPECT_EQ(document->GetSavedViews()->GetNumItems(), VLDocument::kMaxViews);
  EXPECT_EQ(SavedViewItem(6550), "More");
}

TEST_F(ViewCommands, ASubWindowStartsOnTheSameViewThenChangesOnItsOwnAndClosesWithTheDocument) {
  document->SaveCurrentView(Str255("Corner"), false);
  const Vector3d mainEye = Eye(pane);
  document->DoCommand(8000);
  Pump();
  ASSERT_EQ(document->GetSubWindowCount(), 1);
  auto* subWindow = dynamic_cast<VLSubWindow*>(document->GetSubWindow(1));
  ASSERT_NE(subWindow, nullptr);
  VLViewPane* second = subWindow->GetPane();
  ASSERT_NE(second, nullptr);
  EXPECT_NE(second->viewTransform, pane->viewTransform);
  const Vector3d secondEye = Eye(second);
  EXPECT_NEAR(secondEye.x, mainEye.x, 1e-9);
  EXPECT_NEAR(secondEye.y, mainEye.y, 1e-9);
  EXPECT_NEAR(secondEye.z, mainEye.z, 1e-9);
  const std::vector<std::string> titles = WindowTitles();
  EXPECT_NE(std::find(titles.begin(), titles.end(), "Untitled - Corner - 2"), titles.end());

  // The sub-window is active: the commands act on its pane alone.
  EXPECT_EQ(gCurrentViewPane, second);
  document->DoCommand(6000);
  EXPECT_EQ(second->viewToolCommand, 6000);
  EXPECT_EQ(pane->viewToolCommand, 6003);
  EXPECT_EQ(Checked(kViewCommands), std::vector<long>{6000});

  // Closing the document (without saving its new view) closes its sub-windows.
  answers = {2};
  document->DoCommand(cmdClose);
  Pump();
  EXPECT_TRUE(Documents().empty());
  for (const std::string& title : WindowTitles()) EXPECT_EQ(title.find("Untitled"), std::string::npos) << title;
}

TEST_F(ViewCommands, FiveSubWindowsFillTheSlotsAndASixthIsCountedButNotKept) {
  for (int i = 0; i < VLDocument::kSubWindowSlots; ++i) {
    document->DoCommand(8000);
    Pump();
  }
  EXPECT_EQ(document->GetSubWindowCount(), 5);
  app->UpdateAllMenus();
  EXPECT_FALSE(gMenuManager->IsCommandEnabled(8000));

  SInt16 number = 0, slot = -1;
  CCollaborator extra;
  document->AddSubWindow(&extra, &number, &slot);
  EXPECT_EQ(slot, 0);
  EXPECT_EQ(number, 7) << "the document's own window is view 1";
  EXPECT_EQ(document->GetSubWindowCount(), 6);
  document->RemoveSubWindow(number, slot, nullptr);

  // Closing one frees its slot for the next.
  auto* third = dynamic_cast<VLSubWindow*>(document->GetSubWindow(3));
  ASSERT_NE(third, nullptr);
  third->Close(false);
  Pump();
  EXPECT_EQ(document->GetSubWindowCount(), 4);
  EXPECT_EQ(document->GetSubWindow(3), nullptr);
  app->UpdateAllMenus();
  EXPECT_TRUE(gMenuManager->IsCommandEnabled(8000));
  document->DoCommand(8000);
  Pump();
  auto* again = dynamic_cast<VLSubWindow*>(document->GetSubWindow(3));
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(again->GetNumber(), 8);
}

TEST_F(ViewCommands, AnEditInOneWindowRedrawsTheOtherWhenItIsActivated) {
  document->DoCommand(8000);
  Pump();
  auto* subWindow = dynamic_cast<VLSubWindow*>(document->GetSubWindow(1));
  ASSERT_NE(subWindow, nullptr);
  // Back to the document's window: an edit there leaves the sub-window to refresh.
  document->GetWindow()->Select();
  Pump();
  EXPECT_EQ(document->GetCurrentSubWindow(), nullptr);
  EXPECT_EQ(gCurrentViewPane, pane);
  document->Notify(nullptr);
  EXPECT_EQ(subWindow->NeedsRefresh(), 1);
  subWindow->GetWindow()->Select();
  Pump();
  EXPECT_EQ(subWindow->NeedsRefresh(), 0);
  EXPECT_EQ(document->GetCurrentSubWindow(), subWindow);
  EXPECT_EQ(gCurrentViewPane, subWindow->GetPane());
}
