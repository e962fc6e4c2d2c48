// The tool palette made by the application's initialiser: its window and icons, the icon states,
// the palette events on the application's broker and the notices it follows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Alerts.h"
#include "AppResources.h"
#include "CDesktop.h"
#include "CTask.h"
#include "CToolBackgroundPane.h"
#include "CWindow.h"
#include "DCEventSink.h"
#include "EventBroker.h"
#include "Events.h"
#include "ObjectList.h"
#include "PString.h"
#include "PaletteViewActions.h"
#include "Resources.h"
#include "Screen.h"
#include "Selection.h"
#include "StandardFile.h"
#include "VLApplication.h"
#include "VLCube.h"
#include "VLDocument.h"
#include "VLIconPaneF.h"
#include "VLPaneDocumentViews.h"
#include "VLToolPalette.h"
#include "VLViewPane.h"
#include "VLZoomPane.h"

namespace {

// Records the palette events posted on channel 2.
class PaletteListener : public DCEventSink {
 public:
  PaletteListener() { Broker()->Subscribe(this, PaletteEvent()); }
  void HandleEvent(const BrokerRecord& record) override {
    const auto& event = static_cast<const PaletteEvent&>(record);
    numbers.push_back(event.word2);
    senders.push_back(event.sender);
  }
  std::vector<int> numbers;
  std::vector<const void*> senders;
};

class ToolPaletteTest : public ::testing::Test {
 protected:
  void SetUp() override {
    vlres::ResetResourceChain();
    vlres::InstallApplicationResources();
    vlui::ResetEvents();
    vlui::InitScreen();
    InstallNativeDocument();
    InstallPaneDocumentViews();
    InstallToolPalette();
    app = new VLApplication;
    app->IVLApplication();
    palette = gToolPalette;
    ASSERT_NE(palette, nullptr);
  }
  void TearDown() override {
    delete app;
    EXPECT_EQ(gToolPalette, nullptr);
    gToolPaletteMaker = nullptr;
    vlui::ShutdownScreen();
    vlui::ResetEvents();
    vlres::ResetResourceChain();
  }
  std::vector<SInt16> SelectedCodes() const {
    std::vector<SInt16> codes;
    for (SInt16 i = 0; i < VLToolPalette::kToolIconCount; ++i)
      if (palette->GetToolIcon(i)->IsIconSelected()) codes.push_back(palette->GetToolIcon(i)->GetCode());
    for (SInt16 i = 0; i < VLToolPalette::kPlaneIconCount; ++i)
      if (palette->GetPlaneIcon(i)->IsIconSelected()) codes.push_back(palette->GetPlaneIcon(i)->GetCode());
    return codes;
  }

  VLApplication* app = nullptr;
  VLToolPalette* palette = nullptr;
};

TEST_F(ToolPaletteTest, TheInitialiserMakesTheFloatingToolsWindowWithItsIcons) {
  CWindow* window = palette->GetWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(window->IsFloating());
  EXPECT_TRUE(window->IsVisible());
  Str255 title;
  window->GetTitle(title);
  EXPECT_EQ(title.Std(), "Tools");
  // Each icon is found by its code and lies where the table puts it.
  struct Place {
    SInt16 code, h, v;
  };
  for (Place p : {Place{500, 1, 2}, Place{503, 27, 20}, Place{603, 27, 57}, Place{803, 27, 149}, Place{1203, 27, 225},
                  Place{1101, 27, 278}}) {
    VLIconPaneF* icon = palette->FindIcon(p.code);
    ASSERT_NE(icon, nullptr) << p.code;
    LongPt place;
    icon->GetPlace(&place);
    EXPECT_EQ(place.h, p.h) << p.code;
    EXPECT_EQ(place.v, p.v) << p.code;
    EXPECT_EQ(icon->GetWidth(), 27);
    EXPECT_EQ(icon->GetHeight(), 19);
  }
  // Every icon starts enabled; the selection tool and the plan plane start selected.
  EXPECT_EQ(SelectedCodes(), (std::vector<SInt16>{500, 1200}));
  EXPECT_TRUE(palette->FindIcon(600)->IsIconEnabled());
  Str255 zoom;
  palette->GetZoomField()->GetTextString(zoom);
  EXPECT_EQ(zoom.Std(), "100");
}

TEST_F(ToolPaletteTest, SelectionsArePostedAsPaletteEventsOnTheApplicationsBroker) {
  PaletteListener listener;
  palette->DeselectToolIcons();
  palette->SelectToolIcon(2);   // 601
  palette->SelectToolIcon(-1);  // nothing selected, but posted
  palette->SelectToolIcon(29);  // beyond the table: code 0, no icon
  palette->DeselectPlaneIcons();
  palette->SelectPlaneIcon(18);  // 1202
  EXPECT_EQ(SelectedCodes(), (std::vector<SInt16>{601, 1202}));
  EXPECT_EQ(listener.numbers, (std::vector<int>{2, -1, 29, 18}));
  EXPECT_EQ(listener.senders[0], palette);
  EXPECT_EQ(VLIconPaneF::ToolCodeOfIndex(28), 1116);
  EXPECT_EQ(VLIconPaneF::ToolCodeOfIndex(29), 0);
}

TEST_F(ToolPaletteTest, IconStatesChangeOnlyThroughTheirOperations) {
  VLIconPaneF* icon = palette->FindIcon(606);
  icon->DisableIcon();
  ASSERT_FALSE(icon->IsIconEnabled());
  icon->SelectIcon();  // selecting a disabled icon enables it too
  EXPECT_TRUE(icon->IsIconEnabled());
  EXPECT_TRUE(icon->IsIconSelected());
  icon->DisableIcon();
  EXPECT_FALSE(icon->IsIconSelected());
  icon->EnableIcon();
  EXPECT_TRUE(icon->IsIconEnabled());
  EXPECT_FALSE(icon->IsIconSelected());
}

TEST_F(ToolPaletteTest, NoticesShowTheZoomAndTheScenesIcons) {
  double factor = 0.5;
  palette->ProviderChanged(nullptr, VLToolPalette::kZoomChanged, &factor);
  Str255 zoom;
  palette->GetZoomField()->GetTextString(zoom);
  EXPECT_EQ(zoom.Std(), " 50");  // at least three characters wide

  palette->ProviderChanged(nullptr, VLToolPalette::kSceneActivated, nullptr);
  for (SInt16 i = 0; i < VLToolPalette::kToolIconCount; ++i) {
    const SInt16 code = palette->GetToolIcon(i)->GetCode();
    const bool sceneIcon = code == 500 || code == 1000 || code == 1001 || code == 1100 || code == 1101;
    EXPECT_EQ(bool(palette->GetToolIcon(i)->IsIconEnabled()), sceneIcon) << code;
  }
  PaletteListener listener;
  SInt32 mode = 5;
  palette->ProviderChanged(nullptr, VLToolPalette::kSceneModeChosen, &mode);
  EXPECT_TRUE(palette->FindIcon(1001)->IsIconSelected());
  palette->ProviderChanged(nullptr, VLToolPalette::kSceneModeLeft, &mode);
  EXPECT_FALSE(palette->FindIcon(1001)->IsIconSelected());
  mode = 3;  // no icon
  palette->ProviderChanged(nullptr, VLToolPalette::kSceneModeChosen, &mode);
  EXPECT_EQ(listener.numbers, (std::vector<int>{1001, -1}));
}

TEST_F(ToolPaletteTest, IconsFollowTheViewPaneAndGoWithoutOne) {
  // Without a document window every icon is disabled and the zoom field takes no clicks.
  palette->UpdateIcons();
  for (SInt16 i = 0; i < VLToolPalette::kToolIconCount; ++i) EXPECT_FALSE(palette->GetToolIcon(i)->IsIconEnabled());
  for (SInt16 i = 0; i < VLToolPalette::kPlaneIconCount; ++i) EXPECT_FALSE(palette->GetPlaneIcon(i)->IsIconEnabled());
  EXPECT_FALSE(palette->GetZoomField()->WantsClicks());

  app->CreateDocument();
  ASSERT_NE(gCurrentViewPane, nullptr);
  palette->UpdateIcons();
  EXPECT_TRUE(palette->GetZoomField()->WantsClicks());
  // An eye view (6003) offers the vertical plane across the view only.
  gCurrentViewPane->viewToolCommand = 6003;
  palette->UpdateIcons();
  std::vector<bool> planes;
  for (SInt16 i = 0; i < VLToolPalette::kPlaneIconCount; ++i)
    planes.push_back(palette->GetPlaneIcon(i)->IsIconEnabled());
  EXPECT_EQ(planes, (std::vector<bool>{false, true, false, false}));
  gCurrentViewPane->viewToolCommand = VLViewPane::kPlanCommand;
  palette->UpdateIcons();
  planes.clear();
  for (SInt16 i = 0; i < VLToolPalette::kPlaneIconCount; ++i)
    planes.push_back(palette->GetPlaneIcon(i)->IsIconEnabled());
  EXPECT_EQ(planes, (std::vector<bool>{true, false, false, true}));
}

TEST_F(ToolPaletteTest, AClickChoosesTheIconsToolAndASecondClickReturnsToSelection) {
  app->CreateDocument();
  for (int i = 0; i < 4; ++i) app->ProcessOneEvent();
  VLViewPane* pane = gCurrentViewPane;
  ASSERT_NE(pane, nullptr);
  PaletteListener listener;
  struct Case {
    SInt16 code, group, tool, index;
  };
  // Block (606, index 7), line (600, index 1), rectangular opening (800, index 11).
  for (Case c : {Case{606, 1, 0, 7}, Case{600, 1, 4, 1}, Case{800, 5, 0, 11}}) {
    SCOPED_TRACE(c.code);
    listener.numbers.clear();
    VLIconPaneF* icon = palette->FindIcon(c.code);
    icon->EnableIcon();
    icon->DoClick(Point{5, 5}, 0, 0);
    EXPECT_EQ(pane->document->GetToolGroup(), c.group);
    EXPECT_EQ(pane->document->GetGroupTool(c.group), c.tool);
    EXPECT_TRUE(icon->IsIconSelected());
    ASSERT_FALSE(listener.numbers.empty());
    EXPECT_EQ(listener.numbers.back(), c.index);
    icon->DoClick(Point{5, 5}, 0, 0);
    EXPECT_EQ(pane->document->GetToolGroup(), 0);
    EXPECT_EQ(pane->document->GetGroupTool(0), 0);
    EXPECT_FALSE(icon->IsIconSelected());
    EXPECT_TRUE(palette->FindIcon(500)->IsIconSelected());
    EXPECT_EQ(listener.numbers.back(), 0);
  }
  // A disabled icon ignores the click.
  VLIconPaneF* rectangle = palette->FindIcon(601);
  rectangle->DisableIcon();
  rectangle->DoClick(Point{5, 5}, 0, 0);
  EXPECT_EQ(pane->document->GetToolGroup(), 0);
}

TEST_F(ToolPaletteTest, AZoomOfZeroOrLessIsRefusedWithABeepAndTheValueStays) {
  VLZoomPane* zoom = palette->GetZoomField();
  EventRecord e;
  zoom->DoKeyDown('5', 0, &e);  // without a view pane the field takes no keys at all
  Str255 text;
  zoom->GetTextString(text);
  EXPECT_EQ(text.Std(), "100");

  app->CreateDocument();
  ASSERT_NE(gCurrentViewPane, nullptr);
  for (const char* typed : {"0", "-50", "", "0.0"}) {
    vlui::ResetBeepCount();
    zoom->SetTextString(Str255(typed));
    zoom->DoKeyDown(kReturnChar, kReturnKeyCode, &e);
    EXPECT_EQ(vlui::BeepCount(), 1) << typed;
    EXPECT_DOUBLE_EQ(zoom->GetValue(), 100.0) << typed;
    zoom->GetTextString(text);
    EXPECT_EQ(text.Std(), "100") << typed;
  }
}

bool SameColour(const RGBColor& a, const RGBColor& b) {
  return a.red == b.red && a.green == b.green && a.blue == b.blue;
}

TEST_F(ToolPaletteTest, TheSwatchRecoloursTheSelectionUndoablyAndACancelledChoiceChangesNothing) {
  app->CreateDocument();
  for (int i = 0; i < 4; ++i) app->ProcessOneEvent();  // the window's activation publishes its lists
  ASSERT_NE(gCurrentSelection, nullptr);
  VLViewPane* pane = gCurrentViewPane;
  ASSERT_NE(pane, nullptr);
  std::vector<VLCube*> blocks;
  for (double x : {0.0, 10.0}) {
    auto* block = new VLCube;
    ASSERT_TRUE(block->InitStorage());
    const Vector3d from{x, 0, 0}, to{x + 4, 4, 4};
    block->BuildGeometry(nullptr, false, &from, -1, nullptr);
    block->BuildGeometry(nullptr, true, &to, -1, nullptr);
    gCurrentObjectList->AppendPointer(block);
    block->Select();
    blocks.push_back(block);
  }
  ASSERT_TRUE(blocks[0]->selected && blocks[1]->selected);
  const RGBColor saved = gDefaultObjectColor, red{65535, 0, 0}, blue{0, 0, 65535};
  auto colourOf = [](VLCube* block) {
    RGBColor c;
    block->GetColor(&c);
    return c;
  };

  // A single click gives every selected object the current colour, as one undoable task.
  gDefaultObjectColor = red;
  ASSERT_TRUE(vlpalettes::RecolourSelection(pane, false));
  CTask* recoloured = app->GetLastTask();
  ASSERT_NE(recoloured, nullptr);
  for (VLCube* block : blocks) EXPECT_TRUE(SameColour(colourOf(block), red));

  // A double click whose colour dialog is cancelled changes nothing and makes no task.
  vlui::StandardDialogAnswer answer;
  auto previous = vlui::SetStandardDialogAnswerer(
      [&answer](const vlui::StandardDialogRequest& request, vlui::StandardDialogAnswer* a) {
        *a = answer;
        return request.kind == "color";
      });
  answer.chosen = false;
  ASSERT_TRUE(vlpalettes::RecolourSelection(pane, true));
  EXPECT_EQ(app->GetLastTask(), recoloured);
  for (VLCube* block : blocks) EXPECT_TRUE(SameColour(colourOf(block), red));
  EXPECT_TRUE(SameColour(gDefaultObjectColor, red));

  // Chosen: both objects and the current colour take it; Undo gives back the colours before.
  answer.chosen = true;
  answer.color = blue;
  ASSERT_TRUE(vlpalettes::RecolourSelection(pane, true));
  for (VLCube* block : blocks) EXPECT_TRUE(SameColour(colourOf(block), blue));
  EXPECT_TRUE(SameColour(gDefaultObjectColor, blue));
  ASSERT_NE(app->GetLastTask(), recoloured);
  app->GetLastTask()->Undo();
  for (VLCube* block : blocks) EXPECT_TRUE(SameColour(colourOf(block), red));
  EXPECT_TRUE(SameColour(gDefaultObjectColor, red));
  vlui::SetStandardDialogAnswerer(previous);
  gDefaultObjectColor = saved;
}

TEST_F(ToolPaletteTest, AQuitThatClosesThePaletteLeavesNothingForTheTearDown) {
  EXPECT_TRUE(app->CloseDirectors(true));
  EXPECT_EQ(gToolPalette, nullptr);
  app->Quit();  // tears down once, without the palette
}

}  // namespace
