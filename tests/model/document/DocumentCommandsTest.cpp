// The native document's change notices, phase edits, model box and edit commands, on a document
// with the stand-in views (no view pane): what the commands do to the model and its selection.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "CClipboard.h"
#include "Commands.h"
#include "CWindow.h"
#include "DocumentTestSupport.h"
#include "ModelTestSupport.h"
#include "OpeningTestSupport.h"
#include "ToolIconDisplay.h"
#include "VLOpening.h"

namespace {

// Keeps each model-changed notice's restore flag.
struct ChangeRecorder : CCollaborator {
  std::vector<int> restoreFlags;
  void ProviderChanged(CCollaborator*, long reason, void* info) override {
    if (reason == VLDocument::kModelChanged) restoreFlags.push_back(*static_cast<UInt8*>(info));
  }
};

// Counts the palette's refreshes while it is the tool icons' display.
struct RefreshCounter : ToolIconDisplay {
  int refreshes = 0;
  ToolIconDisplay* saved = gToolIconDisplay;
  RefreshCounter() { gToolIconDisplay = this; }
  ~RefreshCounter() override { gToolIconDisplay = saved; }
  void DeselectToolIcons() override {}
  void SelectToolIcon(SInt16) override {}
  void DeselectPlaneIcons() override {}
  void SelectPlaneIcon(SInt16) override {}
  void UpdateIcons() override { ++refreshes; }
};

}  // namespace

class DocumentCommandsTest : public DocumentFixture {
 protected:
  void SetUp() override {
    DocumentFixture::SetUp();
    document = NewDocument();
    ASSERT_NE(document, nullptr);
    Pump();
  }
  // A unit block at x in the phase, appended to the model.
  VLUser3DObject* AddBlock(double x, SInt16 phase) {
    auto* block = new VLUser3DObject;
    modeltest::MakeBlock(block);
    return AppendMoved(document, block, x, phase);
  }
  std::string WindowTitle() const {
    Str255 title;
    document->GetWindow()->GetTitle(title);
    return title.Std();
  }

  VLDocument* document = nullptr;
};

TEST_F(DocumentCommandsTest, EveryChangeOfTheFlagIsAnnouncedAndARestoreSaysSo) {
  ChangeRecorder recorder;
  recorder.AttachToProvider(document);
  document->SetChanged(true);
  document->RevertChanged();
  EXPECT_FALSE(document->IsChanged());
  document->SetChanged(false);
  EXPECT_EQ(recorder.restoreFlags, (std::vector<int>{0, 1, 0}));
  recorder.DetachFromProvider(document);
}

TEST_F(DocumentCommandsTest, PhaseEditsTakeTheListAndOnlyVisibilityChangesRedrawAndMarkTheDocument) {
  VLUser3DObject* inFirst = AddBlock(0, 1);
  inFirst->Select();
  ASSERT_TRUE(inFirst->selected);
  ASSERT_FALSE(document->IsChanged());
  Str255 firstName;
  document->GetPhaseName(1, firstName);

  // A rename and a new current phase: the title follows, nothing is marked.
  VLIndexedCluster edited(long(sizeof(PhaseRecord)));
  for (long i = 1; i <= document->GetPhases()->GetNumItems(); ++i) {
    PhaseRecord record;
    document->GetPhases()->GetItem(&record, i);
    if (document->GetPhases()->KeyAt(i) == 2) PStrCopy(record.name, Str255("Renamed"), 255);
    edited.Append(&record, document->GetPhases()->KeyAt(i));
  }
  PhaseEditRecord edit{2, &edited};
  document->ProviderChanged(nullptr, VLDocument::kPhasesEdited, &edit);
  EXPECT_EQ(gCurrentPhase, 2);
  EXPECT_EQ(document->GetCurrentPhase(), 2);
  EXPECT_EQ(WindowTitle(), "Untitled - Renamed");
  EXPECT_FALSE(document->IsChanged());
  EXPECT_TRUE(inFirst->selected);

  // Hiding phase 1 deselects its object and marks the document.
  PhaseRecord first;
  edited.GetItemByKey(&first, 1);
  first.visible = 0;
  edited.SetItemByKey(&first, 1);
  document->ProviderChanged(nullptr, VLDocument::kPhasesEdited, &edit);
  EXPECT_FALSE(inFirst->selected);
  EXPECT_TRUE(document->IsChanged());
  EXPECT_EQ(WindowTitle(), "Untitled - Renamed");
}

TEST_F(DocumentCommandsTest, TheModelBoxGrowsOnlyByAnObjectOutsideIt) {
  document->RecomputeModelBounds();
  document->ExtendModelBounds(AddBlock(0, 1));
  EXPECT_FALSE(document->ExtendModelBounds(AddBlock(0.5, 1))) << "within the first block's extent";
  VLUser3DObject* far = AddBlock(500, 1);
  EXPECT_TRUE(document->ExtendModelBounds(far));
  EXPECT_DOUBLE_EQ(document->GetModelBox()[3], 501.0);
}

TEST_F(DocumentCommandsTest, PastedCopiesAreSelectedInTheCurrentPhaseAndEachPasteMakesASetOfItsOwn) {
  AddBlock(0, 1);
  AddBlock(3, 1);
  gCurrentPhase = 2;
  document->DoCommand(cmdPaste);  // nothing on the clipboard yet
  EXPECT_EQ(ModelObjects(document).size(), 2u);
  EXPECT_FALSE(document->IsChanged());

  document->DoCommand(cmdSelectAll);
  document->DoCommand(cmdCopy);
  EXPECT_FALSE(document->IsChanged());
  document->DoCommand(cmdPaste);
  document->DoCommand(cmdPaste);
  const std::vector<VLUser3DObject*> objects = ModelObjects(document);
  ASSERT_EQ(objects.size(), 6u);
  EXPECT_TRUE(document->IsChanged());
  EXPECT_EQ(gApplication->GetLastTask(), nullptr);
  for (size_t i = 0; i < objects.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(bool(objects[i]->selected), i >= 4) << "only the last paste is selected";
    EXPECT_EQ(objects[i]->phase, i < 2 ? 1 : 2);
    EXPECT_EQ(modeltest::Vertices(objects[i]), modeltest::Vertices(objects[i % 2])) << "at the same place";
  }
  EXPECT_NE(objects[2], objects[4]);
}

TEST_F(DocumentCommandsTest, AFlatClipboardFitsIntoAnOpeningWithoutDividingByItsMissingHeight) {
  // A window 4 wide and 1.5 high in a wall 1 thick, seen from the front.
  auto wall = openingtest::Wall();
  ASSERT_NE(openingtest::Window(wall.get(), 2, 1, 6, 2.5), nullptr);
  auto view = openingtest::ViewFrom({0, -1, 0}, {5, 0, 1.5});
  openingtest::CurrentView current(view.get());
  VLOpeningOwner* owner = wall.release();
  document->GetObjectList()->AppendPointer(owner);
  auto* flat = new VLUser3DObject;  // 2 by 1, no height
  modeltest::MakeFlatRectangle(flat);
  flat->phase = 1;
  document->GetObjectList()->AppendPointer(flat);
  flat->Select();
  document->DoCommand(cmdCopy);
  flat->Deselect();
  owner->Select();
  owner->currentOpening = 0;

  input.Click(7);
  input.Click(8);
  input.Click(9);
  input.Click(1);
  document->DoCommand(cmdPaste);
  EXPECT_TRUE(input.Done());
  const std::vector<VLUser3DObject*> objects = ModelObjects(document);
  ASSERT_EQ(objects.size(), 3u);
  double box[6];
  objects[2]->GetBounds(&box[0], &box[1], &box[2], &box[3], &box[4], &box[5]);
  for (double value : box) EXPECT_TRUE(std::isfinite(value));
  EXPECT_NEAR(box[0], 2.0, 1e-9);
  EXPECT_NEAR(box[3], 6.0, 1e-9);
  EXPECT_NEAR(box[4] - box[1], 1.0, 1e-9) << "the wall's thickness";
  EXPECT_NEAR(box[2], 1.0, 1e-9) << "on the opening's sill";
  EXPECT_NEAR(box[5], 1.0, 1e-9) << "still flat";
  EXPECT_TRUE(objects[2]->selected);
  EXPECT_EQ(document->pasteFit[0] + document->pasteFit[1] + document->pasteFit[2], 3);
}

TEST_F(DocumentCommandsTest, ThePaletteFollowsEachSwitchOfToolGroupAtOnce) {
  RefreshCounter palette;
  document->SetToolGroup(0);  // already current
  document->SetToolGroup(1);
  EXPECT_EQ(palette.refreshes, 0);
  struct Step {
    SInt16 group;
    int refreshes;
  };
  // Leaving the drawing group and entering group 0 each refresh; so does entering a plane group.
  for (Step step : {Step{0, 2}, Step{6, 1}, Step{6, 0}, Step{7, 1}, Step{2, 0}}) {
    SCOPED_TRACE(step.group);
    palette.refreshes = 0;
    document->SetToolGroup(step.group);
    EXPECT_EQ(palette.refreshes, step.refreshes);
  }
}
