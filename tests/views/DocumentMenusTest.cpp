// The native document's menu update on a document with the views layer's pane: which commands
// the selection, the drawing in progress, the pane's view and the open windows leave enabled,
// the check marks, and the commands whose work is not in the program yet.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "CMenuManager.h"
#include "PaneDocumentFixture.h"
#include "ModelTestSupport.h"
#include "OpeningTestSupport.h"
#include "VLOpeningOwner.h"
#include "VLPaneDocumentViews.h"
#include "VLViewPane.h"
#include "ViewDrawingFlags.h"

namespace {

// Public: the cases' set-up steps reach the document through the fixture.
class DocumentMenus : public PaneDocumentFixture {
 public:
  using PaneDocumentFixture::document;
  void SetUp() override {
    PaneDocumentFixture::SetUp();
    TakePane();
  }
  // A new document in front, its pane current.
  void Open() {
    OpenNewDocument();
    TakePane();
  }
  void TakePane() {
    ASSERT_NE(document, nullptr);
    pane = document->GetViews()->GetViewPane();
    ASSERT_NE(pane, nullptr);
  }
  // Closes the document without saving it.
  void Close() {
    answers = {2};
    document->DoCommand(cmdClose);
    Pump();
  }

  VLUser3DObject* AddBlock(double x) {
    auto* block = new VLUser3DObject;
    modeltest::MakeBlock(block);
    return AppendMoved(document, block, x, 1);
  }
  // A wall with a window, selected with the window current as a click on the window leaves it.
  VLOpeningOwner* AddWallWithWindowSelected() {
    openingtest::OwnerPtr wall = openingtest::Wall();
    VLOpening* window = openingtest::Window(wall.get(), 2, 1, 4, 2);
    if (!window) return nullptr;
    VLOpeningOwner* owner = wall.get();
    AppendMoved(document, wall.release(), 0, 1);
    owner->Select();
    owner->RefreshOpenings(window);
    return owner;
  }
  void DeselectAll() {
    for (VLUser3DObject* object : ModelObjects(document)) object->Deselect();
  }
  using PaneDocumentFixture::Enabled;
  using PaneDocumentFixture::Checked;

  VLViewPane* pane = nullptr;
};

// Cut, Copy, Paste, Clear, Select All, Duplicate, the arrays, Scale, Wallify.
const std::vector<long> kEditCommands = {18, 19, 20, 21, 23, 3000, 3001, 3002, 3003, 3005, 3008};
// The working-plane commands.
const std::vector<long> kPlaneCommands = {4200, 4201, 4202, 4203, 4204};

}  // namespace

TEST_F(DocumentMenus, TheSelectionTheDrawingAndTheViewDecideTheEditAndPlaneCommands) {
  struct Case {
    const char* name;
    // Run on a new document with a block selected and copied (the clipboard holds it).
    std::function<void(DocumentMenus*)> setUp;
    std::vector<long> editEnabled;   // of kEditCommands
    std::vector<long> planeEnabled;  // of kPlaneCommands
  };
  const auto busyWith = [](SInt16 tool) {
    return [tool](DocumentMenus* t) {
      t->document->SetToolGroup(1);
      t->document->SetGroupTool(1, tool);
      t->document->SetDrawingInProgress(1);
    };
  };
  const std::vector<long> selected = {18, 19, 20, 21, 23, 3003};
  const std::vector<long> allPlanes = kPlaneCommands;
  // Duplicate, the arrays and Wallify are never enabled: the duplicate engine is not in the
  // program yet.
  const Case cases[] = {
      {"nothing selected", [](DocumentMenus* t) { t->DeselectAll(); }, {20, 23}, {4200, 4203, 4204}},
      {"one block in perspective", [](DocumentMenus*) {}, selected, allPlanes},
      {"an unfinished polyline", busyWith(3), {}, allPlanes},
      {"an unfinished chain of blocks", busyWith(6), {}, allPlanes},
      {"a finished polyline",
       [](DocumentMenus* t) {
         t->document->SetToolGroup(1);
         t->document->SetGroupTool(1, 3);
       },
       selected, allPlanes},
      {"a wall with its window selected",
       [](DocumentMenus* t) {
         t->DeselectAll();
         VLOpeningOwner* wall = t->AddWallWithWindowSelected();
         ASSERT_NE(wall, nullptr);
         ASSERT_GE(wall->currentOpening, 0);
       },
       selected, allPlanes},
      {"an elevation", [](DocumentMenus* t) { t->document->DoCommand(6101); }, selected, {4204}},
      {"the plan with two selected",
       [](DocumentMenus* t) {
         t->document->DoCommand(6000);
         t->AddBlock(5)->Select();
       },
       selected, {4200, 4203, 4204}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    AddBlock(0)->Select();
    document->DoCommand(19);
    c.setUp(this);
    EXPECT_EQ(Enabled(kEditCommands), c.editEnabled);
    EXPECT_EQ(Enabled(kPlaneCommands), c.planeEnabled);
    Close();
    Open();
  }
}

TEST_F(DocumentMenus, CommandsNotInTheProgramYetStayDisabledAndBeep) {
  AddBlock(0)->Select();
  document->DoCommand(6000);
  // The importers and exporters and the picture files (2207 even outside perspective), the
  // duplicate engine, the info palette and the phases window; the walkthrough editor and movie
  // and the working view's heading, which the document disables.
  for (long command : {2101L, 2102L, 2201L, 2202L, 2203L, 2205L, 2207L, 3000L, 3001L, 4002L, 4013L, 5016L, 6015L,
                       6501L})
    EXPECT_EQ(Enabled({command}), std::vector<long>{}) << command;
  for (long command : {2100L, 2101L, 2102L, 2103L, 2201L, 2202L, 2203L, 2204L, 2205L, 2207L, 2208L}) {
    vlui::ResetBeepCount();
    document->DoCommand(command);
    EXPECT_EQ(vlui::BeepCount(), 1) << command;
  }
  EXPECT_TRUE(AlertIds().empty());
  // The settings, the materials and the sub-windows can be chosen.
  const std::vector<long> settings = {4000, 4001, 4011, 4100, 4102, 4103, 4104, 4106, 8000, 8110, 8601, 8602, 8603};
  EXPECT_EQ(Enabled(settings), settings);
}

TEST_F(DocumentMenus, ChecksFollowTheSnapTheGridTheSectionToolAndTheCut) {
  const std::vector<long> marks = {4000, 4001, 4014, 6001};
  gSnapToGrid = 1;
  EXPECT_EQ(Checked(marks), std::vector<long>{4000});
  document->DoCommand(4000);
  EXPECT_EQ(gSnapToGrid, 0);
  EXPECT_EQ(Checked(marks), std::vector<long>{});
  document->DoCommand(4000);
  EXPECT_EQ(gSnapToGrid, 1) << "toggled twice: as it was";
  EXPECT_FALSE(document->IsChanged()) << "snapping is no change of the document";

  pane->DoCommand(4001);
  pane->DoCommand(6001);
  document->SetToolGroup(7);
  EXPECT_EQ(Checked(marks), marks);
  pane->DoCommand(4001);
  pane->DoCommand(6001);
  document->SetToolGroup(0);
  EXPECT_EQ(Checked(marks), std::vector<long>{4000});
}
