// The pane's editing drags driven through the program's own event loop on scripts of
// tests/views/scripts, in a plan of -8..8 (screen x = 400 + 27.56 x, y = 309 + 27.56 y). A test
// document sets the model up with commands of its own (numbered from 92000) and notes what the
// drags left: a turned block stretched by a handle along its own edges, a vertex dragged with the
// command key, a standing outline extruded along its depth, an edge dragged across, a move that
// snaps onto another object's vertex, the current opening moved in its wall, the working plane
// moved, drags that locate nowhere, the rotate tool's rubber band and the plane tools' clicks.
// Undo is the application's.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <new>
#include <sstream>
#include <string>
#include <vector>

#include "DrawingPlane.h"
#include "GeometryKernel.h"
#include "ObjectList.h"
#include "OpeningTestSupport.h"
#include "PaneScriptSupport.h"
#include "TaskSupport.h"
#include "VLDocument.h"
#include "VLDocumentViews.h"
#include "VLOpening.h"
#include "VLOpeningOwner.h"
#include "VLPolyline.h"
#include "VLUser3DObject.h"
#include "VLViewPane.h"
#include "VLViewTransform.h"
#include "ViewTestSupport.h"

namespace {

std::vector<std::string> gNotes;
std::vector<Vector3d> gBefore;

std::vector<Vector3d> VerticesOf(VLUser3DObject* object) {
  object->SetArrayPointers();
  return std::vector<Vector3d>(object->vertices, object->vertices + object->vertexCount);
}

bool AllFinite(const std::vector<Vector3d>& points) {
  for (const Vector3d& p : points)
    if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) return false;
  return true;
}

// The block's sides along its own edges from vertex 0 (to vertices 1, 3 and 4), whether the two
// in plan stand square, and its turn.
std::string BlockShape(VLUser3DObject* block) {
  const std::vector<Vector3d> v = VerticesOf(block);
  Vector3d width, depth, height;
  VectorSubtract(&v[1], &v[0], &width);
  VectorSubtract(&v[3], &v[0], &depth);
  VectorSubtract(&v[4], &v[0], &height);
  char text[120];
  std::snprintf(text, sizeof text, "sides %.2f %.2f %.2f square %d angle %.0f", VectorLength(&width),
                VectorLength(&depth), VectorLength(&height), std::fabs(VectorDot(&width, &depth)) < 1e-9,
                block->rotationAngle);
  return text;
}

// Which vertices moved since the set-up, and where the first of them is.
std::string MovedVertices(VLUser3DObject* object) {
  const std::vector<Vector3d> now = VerticesOf(object);
  std::string text = "moved";
  const Vector3d* first = nullptr;
  for (std::size_t i = 0; i < now.size() && i < gBefore.size(); ++i)
    if (!(now[i] == gBefore[i])) {
      text += ' ';
      text += std::to_string(i);
      if (!first) first = &now[i];
    }
  if (first) {
    char at[80];
    std::snprintf(at, sizeof at, " to %.2f %.2f %.2f", first->x, first->y, first->z);
    text += at;
  }
  return text + (AllFinite(now) ? "" : " not finite");
}

std::string Extent(VLUser3DObject* object) {
  double lo[3], hi[3];
  object->GetBounds(&lo[0], &lo[1], &lo[2], &hi[0], &hi[1], &hi[2]);
  char text[120];
  std::snprintf(text, sizeof text, "kind %d %.2f..%.2f %.2f..%.2f %.2f..%.2f", object->typeCode, lo[0], hi[0], lo[1],
                hi[1], lo[2] + 0.0, hi[2] + 0.0);
  return text;
}

class DragDocument : public VLDocument {
 public:
  void DoCommand(long command) override {
    auto* pane = static_cast<VLViewPane*>(GetViews() ? GetViews()->GetViewPane() : nullptr);
    switch (command) {
      case 92000: {  // a block 4 by 2 by 3 turned by 30 degrees about the origin, selected
        VLUser3DObject* block = AddBox({0, 0, 0}, {4, 2, 3});
        const Vector3d origin{0, 0, 0};
        block->Rotate(30.0, &origin);
        Show(pane, block);
        break;
      }
      case 92001: {  // an outline standing on the x axis, 4 long and 3 high, selected
        auto* outline = new VLPolyline;
        outline->InitStorage();
        const Vector3d points[] = {{0, 0, 0}, {4, 0, 0}, {4, 0, 3}, {0, 0, 3}};
        for (int i = 0; i < 4; ++i) outline->BuildGeometry(nullptr, i > 0, &points[i], -1, nullptr);
        outline->closed = 1;
        outline->BuildOutlineEdges(false);
        outline->phase = 1;
        GetObjectList()->AppendPointer(outline);
        gObjectCount = SInt32(GetObjectList()->GetNumItems());
        Show(pane, outline);
        break;
      }
      case 92002:  // the block, selected, in the north elevation with the ground as drawing plane
        Show(pane, AddBox({-2, -1, 0}, {2, 1, 2}));
        pane->SetElevationView(6100);
        pane->MarkObjectsChanged();
        pane->SelectDrawingPlane(0);
        pane->Refresh();
        break;
      case 92003:  // a block, nothing selected, the rotate tool
        Show(pane, AddBox({-2, -1, 0}, {2, 1, 2}));
        Model()->Deselect();
        pane->SetToolGroup(5);
        pane->SelectOpeningTool(2);
        pane->Refresh();
        break;
      case 92004:  // the working-plane tool
        pane->SetToolGroup(6);
        break;
      case 92005: {  // a wall 10 long with a window at x 1..2, the window current, the opening-edit tool
        openingtest::OwnerPtr wall = openingtest::Wall();
        openingtest::Window(wall.get(), 1, 1, 2, 2);
        VLOpeningOwner* owner = wall.release();
        GetObjectList()->AppendPointer(owner);
        gObjectCount = SInt32(GetObjectList()->GetNumItems());
        Show(pane, owner);
        owner->Deselect();
        owner->Openings().front()->Select();
        pane->SelectEditTool(3);
        pane->Refresh();
        break;
      }
      case 92006: {  // block A at -6..-4 by -1..1 selected, block B from (2.2, 1.3), vertex snapping
        AddBox({2.2, 1.3, 0}, {4, 3, 2});
        VLUser3DObject* a = AddBox({-6, -1, 0}, {-4, 1, 2});
        Show(pane, a);
        gSnapToVertices = 1;
        break;
      }
      case 92007: {  // a block -2..2 by -1..1 selected, with its edge handles
        VLUser3DObject* block = AddBox({-2, -1, 0}, {2, 1, 2});
        block->edgeHandlesShown = 1;
        Show(pane, block);
        break;
      }
      case 92008:  // block B from (2.2, 1.3) unselected, the chain of blocks, vertex snapping
        Show(pane, AddBox({2.2, 1.3, 0}, {4, 3, 2}));
        Model()->Deselect();
        pane->SetToolGroup(1);
        pane->SelectDrawingTool(6);
        gSnapToVertices = 1;
        pane->Refresh();
        break;
      case 92010:
        gNotes.push_back(BlockShape(Model()));
        break;
      case 92011:
        gNotes.push_back(MovedVertices(Model()));
        break;
      case 92012:
        gNotes.push_back(Extent(Model()));
        break;
      case 92013: {
        const SInt16 group = GetToolGroup();
        gNotes.push_back("group " + std::to_string(group) + " tool " + std::to_string(GetGroupTool(group)) +
                         " selected " + std::to_string(Model()->selected) + " angle " +
                         std::to_string(int(Model()->rotationAngle)));
        break;
      }
      case 92014: {
        auto* owner = static_cast<VLOpeningOwner*>(Model());
        double lo[3], hi[3];
        owner->Openings().front()->GetBounds(&lo[0], &lo[1], &lo[2], &hi[0], &hi[1], &hi[2]);
        char text[120];
        std::snprintf(text, sizeof text, "tool %d owner %d selected %d window %.1f..%.1f wall %s", GetGroupTool(0),
                      pane->openingOwner == owner, owner->selected, lo[0], hi[0], MovedVertices(owner).c_str());
        gNotes.push_back(text);
        break;
      }
      case 92015: {  // where the working plane's first vertex is, and the tool
        VLUser3DObject* plane = GetWorkingPlane();
        plane->SetArrayPointers();
        // Rounding leftovers are not shown as -0.00.
        const auto shown = [](double v) { return std::fabs(v) < 0.005 ? 0.0 : v; };
        char text[120];
        std::snprintf(text, sizeof text, "group %d plane at %.2f %.2f %.2f", GetToolGroup(),
                      shown(plane->vertices[0].x), shown(plane->vertices[0].y), shown(plane->vertices[0].z));
        gNotes.push_back(text);
        break;
      }
      default:
        VLDocument::DoCommand(command);
        return;
    }
  }

 private:
  // The object set up last.
  VLUser3DObject* Model() const {
    return static_cast<VLUser3DObject*>(GetObjectList()->PointerAt(GetObjectList()->GetNumItems()));
  }
  VLUser3DObject* AddBox(Vector3d lo, Vector3d hi) { return AppendBox(GetObjectList(), lo, hi); }
  // The object alone selected in the plan, the select tool current.
  void Show(VLViewPane* pane, VLUser3DObject* object) {
    const Vector3d min{-8, -8, 0}, max{8, 8, 10};
    pane->viewTransform->InitViewsForBox(&min, &max);
    pane->SetPlanView();
    pane->SetToolGroup(0);
    pane->SelectEditTool(0);
    gSnapToVertices = 0;
    for (long i = kFirstModelObject; i <= GetObjectList()->GetNumItems(); ++i)
      if (auto* other = static_cast<VLUser3DObject*>(GetObjectList()->PointerAt(i)); other->selected) other->Deselect();
    object->Select();
    gBefore = VerticesOf(object);
    pane->MarkObjectsChanged();
    pane->Refresh();
  }
};

VLAbstractDocument* MakeDragDocument() { return new (std::nothrow) DragDocument; }

class DirectManipulation : public PaneScriptFixture {
 protected:
  DirectManipulation() : PaneScriptFixture(MakeDragDocument) {}
  void SetUp() override {
    PaneScriptFixture::SetUp();
    gNotes.clear();
  }
  void TearDown() override {
    gSnapToVertices = 0;
    PaneScriptFixture::TearDown();
  }
};

}  // namespace

TEST_F(DirectManipulation, AHandleStretchesATurnedBlockAlongItsOwnEdgesAndTheCommandKeyDragsTheVertex) {
  EXPECT_EQ(Run("drag_handles.vls"), 0);
  const std::vector<std::string> expected{
      "sides 4.00 2.00 3.00 square 1 angle 30",
      // The handle at (4, 2) dragged 2 east, which runs along the block's width and against its
      // depth: wider and shallower, still square, turned and as high.
      "sides 5.77 0.88 3.00 square 1 angle 30",
      "moved",
      // With the command key the bottom vertex under the handle goes alone to the located point.
      "moved 2 to 4.50 3.50 0.00",
      "moved",
  };
  EXPECT_EQ(gNotes, expected);
}

TEST_F(DirectManipulation, AStandingOutlineDraggedAlongItsDepthBecomesAnExtrusion) {
  EXPECT_EQ(Run("drag_extrude.vls"), 0);
  const std::vector<std::string> expected{"kind 5 0.00..4.00 0.00..0.00 0.00..3.00",
                                          "kind 7 0.00..4.00 0.00..2.00 0.00..3.00",
                                          "kind 5 0.00..4.00 0.00..0.00 0.00..3.00"};
  EXPECT_EQ(gNotes, expected);
}

TEST_F(DirectManipulation, DragsThatLocateNowhereLeaveTheObjectAndTheRotateAndPlaneToolsFallBack) {
  EXPECT_EQ(Run("drag_nowhere.vls"), 0);
  const std::vector<std::string> expected{
      // The ground seen edge on: neither a move nor a handle locates anything.
      "moved", "moved",
      // The rotate tool's drag from empty space selects by rectangle and turns nothing.
      "group 5 tool 2 selected 1 angle 0",
      // A click with the working-plane tool returns to the select tool.
      "group 0 tool 0 selected 0 angle 0"};
  EXPECT_EQ(gNotes, expected);
}

TEST_F(DirectManipulation, TheOpeningEditToolMovesTheCurrentOpeningAloneAndAPressBesideTheOwnerLetsItGo) {
  EXPECT_EQ(Run("drag_opening.vls"), 0);
  const std::vector<std::string> expected{
      "tool 3 owner 1 selected 1 window 1.0..2.0 wall moved", "tool 3 owner 1 selected 1 window 3.0..4.0 wall moved",
      "tool 3 owner 1 selected 1 window 1.0..2.0 wall moved", "tool 0 owner 0 selected 0 window 1.0..2.0 wall moved"};
  EXPECT_EQ(gNotes, expected);
}

TEST_F(DirectManipulation, ASnappedMoveLandsTheVertexOnAnotherObjectsVertex) {
  EXPECT_EQ(Run("drag_snap.vls"), 0);
  // Pressed 5 pixels from A's corner (-4, 1), released near B's (2.2, 1.3), off the grid.
  const std::vector<std::string> expected{"kind 0 0.20..2.20 -0.70..1.30 0.00..2.00",
                                          "kind 0 -6.00..-4.00 -1.00..1.00 0.00..2.00"};
  EXPECT_EQ(gNotes, expected);
}

TEST_F(DirectManipulation, AnEdgeHandleMovesTheEdgeAcrossItself) {
  EXPECT_EQ(Run("drag_edge.vls"), 0);
  // The east edge's handle dragged 2 east: the bottom edge (vertices 1 and 2) moves.
  const std::vector<std::string> expected{"moved 1 2 to 4.00 -1.00 0.00", "moved"};
  EXPECT_EQ(gNotes, expected);
}

TEST_F(DirectManipulation, TheFirstBlockOfAChainEndsOnAnotherObjectsVertexNearTheRelease) {
  EXPECT_EQ(Run("chain_snap.vls"), 0);
  const std::vector<std::string> expected{"kind 0 -4.00..2.20 0.00..1.30 0.00..0.00"};
  EXPECT_EQ(gNotes, expected);
}

TEST_F(DirectManipulation, TheWorkingPlaneToolMovesThePlaneAsOneStep) {
  EXPECT_EQ(Run("drag_plane.vls"), 0);
  // Located on the plane itself, which the crosshair's half-unit steps do not round.
  const std::vector<std::string> expected{"group 6 plane at 0.00 0.00 0.00", "group 6 plane at 2.12 0.00 0.00",
                                          "group 6 plane at 0.00 0.00 0.00"};
  EXPECT_EQ(gNotes, expected);
}
