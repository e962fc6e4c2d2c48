// The tasks of the pane's editing drags, driven as the pane drives them: made and handed the
// selection before the drag, then begun, kept and ended with pane points that a test pane
// locates at chosen model points. The rotate task turns the selection freely or by a handle,
// with and without the constraint, and is the undo record of the turn; the vertex record
// exchanges an object's vertices; the scaling task stretches in the object's own frame,
// extrudes a flat outline dragged along its depth, scales a face within its plane, and leaves
// the object alone when a step would not give finite coordinates.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "CObjectChangedTask.h"
#include "CPreferences.h"
#include "CScalingTask.h"
#include "DrawingPlane.h"
#include "Events.h"
#include "Selection.h"
#include "TaskSupport.h"
#include "TaskTestSupport.h"
#include "Unwinding.h"
#include "VL3DRotateTask.h"
#include "VL3DToolVertsChangedTask.h"
#include "VLDocument.h"
#include "VLViewPane.h"
#include "ViewTestSupport.h"

namespace {

using tasktest::TaskModel;

// The document's rotation settings.
class RotationPreferences : public CPreferences {
 public:
  double GetRotationConstraint() override { return constraint; }
  double GetRotationPrecision() override { return precision; }
  double constraint = 15.0;
  double precision = 1.0;
};

class PreferencesDocument : public VLDocument {
 public:
  PreferencesDocument() { itsPreferences = &preferences; }
  ~PreferencesDocument() override { itsPreferences = nullptr; }
  RotationPreferences preferences;
};

// A pane that locates every pane point at the model point the test gives it (or nowhere) and
// counts its redraws.
class DragPane : public VLViewPane {
 public:
  Boolean LocatePoint(Point, Vector3d* point, Boolean snap, VLUser3DObject*, Boolean) override {
    if (!found) return false;
    *point = currentPoint = snap ? snapped : next;
    return true;
  }
  void AutoScrollToPoint(Point) override {}
  void Refresh() override { ++refreshes; }
  Vector3d next, snapped;
  bool found = true;
  int refreshes = 0;
};

std::vector<Vector3d> VerticesOf(VLUser3DObject* object) {
  object->SetArrayPointers();
  return std::vector<Vector3d>(object->vertices, object->vertices + object->vertexCount);
}

void ExpectSameVertices(const std::vector<Vector3d>& actual, const std::vector<Vector3d>& expected, double tol) {
  ASSERT_EQ(actual.size(), expected.size());
  for (std::size_t i = 0; i < actual.size(); ++i) ExpectNear(actual[i], expected[i], tol);
}

// The points turned by the angle (degrees) about the centre in the x-y plane.
std::vector<Vector3d> Turned(const std::vector<Vector3d>& points, double angle, Vector3d centre) {
  const double r = angle * M_PI / 180.0;
  std::vector<Vector3d> turned;
  for (const Vector3d& p : points)
    turned.push_back({centre.x + (p.x - centre.x) * std::cos(r) - (p.y - centre.y) * std::sin(r),
                      centre.y + (p.x - centre.x) * std::sin(r) + (p.y - centre.y) * std::cos(r), p.z});
  return turned;
}

bool AllFinite(VLUser3DObject* object) {
  for (const Vector3d& p : VerticesOf(object))
    if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) return false;
  return true;
}

// The extent of the vertices: min x, y, z, max x, y, z.
std::vector<double> Extent(VLUser3DObject* object) {
  double b[6];
  object->GetBounds(&b[0], &b[1], &b[2], &b[3], &b[4], &b[5]);
  return std::vector<double>(b, b + 6);
}

void ExpectExtent(VLUser3DObject* object, const std::vector<double>& expected) {
  const std::vector<double> actual = Extent(object);
  for (int i = 0; i < 6; ++i) EXPECT_NEAR(actual[i], expected[i], 1e-9) << i;
}

LongPt At(SInt32 h) { return LongPt{100, h}; }

class DragTask : public ::testing::Test {
 protected:
  void SetUp() override {
    pane.document = &document;
    gCurrentViewPane = &pane;
    gAxisX = 0;
    gAxisY = 1;
    gAxisZ = 2;
    vlui::SetModifiers(0);
  }
  void TearDown() override {
    vlui::SetModifiers(0);
    gCurrentViewPane = nullptr;
    gTrackingDrawing = 0;
    gSnapToVertices = 0;
  }

  // A rotate task made as the pane makes it, begun at h = 100.
  Owned<VL3DRotateTask> StartRotation(Vector3d handle, Vector3d centre, bool onHandle) {
    Owned<VL3DRotateTask> task(new VL3DRotateTask);
    task->IRotateTask(VL3DRotateTask::kRotateName, nullptr);
    task->SetRotation(&handle, &centre, onHandle);
    start = At(100);
    task->BeginTracking(&start);
    previous = start;
    return task;
  }
  // One poll at h with the mouse located at the point.
  void Poll(CMouseTask* task, SInt32 h, Vector3d located = {}) {
    LongPt current = At(h);
    pane.next = located;
    task->KeepTracking(&current, &previous, &start);
    previous = current;
  }
  static std::string AngleShown() { return vltasks::LastAngleText().text; }

  TaskModel model;
  PreferencesDocument document;
  DragPane pane;
  LongPt start{}, previous{};
};

// ---- Rotation ----

TEST_F(DragTask, AFreeRotationFollowsTheMouseAndComesBackToNothing) {
  VLCube* block = model.Block({0, 0, 0}, {4, 2, 3});
  block->Select();
  const std::vector<Vector3d> before = VerticesOf(block);
  const Vector3d centre{2, 1, 0};
  Owned<VL3DRotateTask> task = StartRotation({}, centre, false);
  EXPECT_TRUE(vltasks::LastAngleText().selected);
  Poll(task.get(), 110);
  EXPECT_DOUBLE_EQ(task->GetAccumulatedAngle(), 10.0);
  ExpectSameVertices(VerticesOf(block), Turned(before, 10.0, centre), 1e-6);
  EXPECT_EQ(AngleShown().find("10"), 0u) << AngleShown();
  Poll(task.get(), 100);
  EXPECT_DOUBLE_EQ(task->GetAccumulatedAngle(), 0.0);
  ExpectSameVertices(VerticesOf(block), before, 1e-6);
  LongPt end = At(100);
  task->EndTracking(&end, &previous, &start);
  EXPECT_FALSE(document.IsChanged()) << "a drag that turned nothing leaves the document unmarked";
  EXPECT_EQ(AngleShown(), "");
  EXPECT_FALSE(gTrackingDrawing);
}

TEST_F(DragTask, WithShiftAFreeRotationMovesInStepsOfTheConstraintAndNeverShows360) {
  VLCube* block = model.Block({0, 0, 0}, {4, 2, 3});
  block->Select();
  Owned<VL3DRotateTask> task = StartRotation({}, {0, 0, 0}, false);
  vlui::SetModifiers(shiftKey);
  // The whole travel since the start counts: 7 is nearer 0, 8 nearer 15, 359 a full turn.
  const struct {
    SInt32 h;
    double angle;
  } steps[] = {{107, 0}, {108, 15}, {131, 30}, {170, 75}, {459, 0}, {89, 345}};
  for (const auto& step : steps) {
    Poll(task.get(), step.h);
    EXPECT_DOUBLE_EQ(task->GetAccumulatedAngle(), step.angle) << step.h;
    EXPECT_DOUBLE_EQ(block->rotationAngle, step.angle) << step.h;
  }
  EXPECT_EQ(AngleShown().find("345"), 0u) << AngleShown();
}

TEST_F(DragTask, AHandleTurnsInHalfDegreesAndNotForLessThanAQuarter) {
  VLCube* block = model.Block({0, 0, 0}, {4, 2, 3});
  block->Select();
  const std::vector<Vector3d> before = VerticesOf(block);
  const Vector3d centre{0, 0, 1};
  Owned<VL3DRotateTask> task = StartRotation({10, 0, 7}, centre, true);
  const auto around = [&](double degrees) {
    const double r = degrees * M_PI / 180.0;
    return Vector3d{10 * std::cos(r), 10 * std::sin(r), 5};  // the depth does not count
  };
  const int redraws = pane.refreshes;
  Poll(task.get(), 101, around(0.2));
  EXPECT_EQ(task->GetAccumulatedAngle(), 0.0);
  EXPECT_GT(pane.refreshes, redraws) << "a handle moved a little redraws only";
  Poll(task.get(), 102, around(10.3));
  EXPECT_DOUBLE_EQ(task->GetAccumulatedAngle(), 10.5);
  ExpectSameVertices(VerticesOf(block), Turned(before, 10.5, centre), 1e-6);
  Poll(task.get(), 103, around(-20.0));
  EXPECT_DOUBLE_EQ(task->GetAccumulatedAngle(), 340.0);
  // The mouse on the centre has no direction, and a mouse that is not located none either.
  Poll(task.get(), 104, centre);
  pane.found = false;
  Poll(task.get(), 105, around(90));
  EXPECT_DOUBLE_EQ(task->GetAccumulatedAngle(), 340.0);
  EXPECT_TRUE(AllFinite(block));
  pane.found = true;
  // With Shift the angle from the start snaps to the constraint.
  vlui::SetModifiers(shiftKey);
  Poll(task.get(), 106, around(40));
  EXPECT_DOUBLE_EQ(task->GetAccumulatedAngle(), 45.0);
  Poll(task.get(), 107, around(-50));
  EXPECT_DOUBLE_EQ(task->GetAccumulatedAngle(), 315.0);
  ExpectSameVertices(VerticesOf(block), Turned(before, 315.0, centre), 1e-6);
  vlui::SetModifiers(0);
  // Back along the present direction: nothing more to turn.
  Poll(task.get(), 108, around(315));
  EXPECT_DOUBLE_EQ(task->GetAccumulatedAngle(), 315.0);
  EXPECT_DOUBLE_EQ(block->rotationAngle, 315.0);
}

TEST_F(DragTask, UndoOfARotationRestoresEveryVertexTheAngleAndTheFrameAndRedoTurnsAgain) {
  VLCube* turned = model.Block({0, 0, 0}, {4, 2, 3});
  VLCube* plain = model.Block({10, 0, 0}, {12, 2, 1});
  const Vector3d origin{0, 0, 0};
  turned->Rotate(30.0, &origin);
  turned->Select();
  plain->Select();
  ASSERT_EQ(plain->frame, nullptr);
  const std::vector<Vector3d> turnedBefore = VerticesOf(turned), plainBefore = VerticesOf(plain);
  Owned<VL3DRotateTask> task = StartRotation({}, {5, 1, 0}, false);
  Poll(task.get(), 120);
  Poll(task.get(), 125);
  LongPt end = At(125);
  task->EndTracking(&end, &previous, &start);
  EXPECT_TRUE(document.IsChanged());
  const std::vector<Vector3d> turnedAfter = VerticesOf(turned);
  EXPECT_DOUBLE_EQ(turned->rotationAngle, 55.0);
  ASSERT_NE(plain->frame, nullptr) << "the first turn gives an object a frame";

  task->Undo();
  EXPECT_TRUE(task->IsUndone());
  ExpectSameVertices(VerticesOf(turned), turnedBefore, 0);
  ExpectSameVertices(VerticesOf(plain), plainBefore, 0);
  EXPECT_DOUBLE_EQ(turned->rotationAngle, 30.0);
  EXPECT_DOUBLE_EQ(plain->rotationAngle, 0.0);
  EXPECT_EQ(plain->frame, nullptr);
  Vector3d x, y, z;
  turned->frame->GetAxes(&x, &y, &z);
  ExpectNear(x, {std::cos(M_PI / 6), std::sin(M_PI / 6), 0}, 1e-6);

  task->Redo();
  EXPECT_FALSE(task->IsUndone());
  ExpectSameVertices(VerticesOf(turned), turnedAfter, 0);
  EXPECT_DOUBLE_EQ(turned->rotationAngle, 55.0);
}

// ---- The vertex record of a moving drag ----

TEST_F(DragTask, TheVertexRecordExchangesTheVerticesAndTheirCountOnEveryToggle) {
  VLCube* block = model.Block({0, 0, 0}, {4, 2, 3});
  const std::vector<Vector3d> before = VerticesOf(block);
  Owned<VL3DToolVertsChangedTask> record(new VL3DToolVertsChangedTask);
  record->IToolVertsChangedTask(1);
  record->SetObject(block);
  const Vector3d offset{1, 2, 3};
  block->Move(&offset);
  --block->vertexCount;  // as an edit that dropped a vertex
  const std::vector<Vector3d> moved = VerticesOf(block);

  record->Undo();
  ExpectSameVertices(VerticesOf(block), before, 0);
  record->Redo();
  ExpectSameVertices(VerticesOf(block), moved, 0);
  record->Undo();
  ExpectSameVertices(VerticesOf(block), before, 0);
  EXPECT_FALSE(record->IsUndone()) << "the record leaves the undone flag alone";
}

// ---- Scaling ----

class ScalingDrag : public DragTask {
 protected:
  // The pane's scaling drag: the undo record of the whole drag (the kind too for a polyline),
  // then the task begun at the start point.
  void Begin(VLUser3DObject* object, Vector3d from) {
    if (object->typeCode == kObjectTypePolyline) {
      auto* record = new CVertsAndTypeChangedTask;
      undoRecord.reset(record);
      record->IVertsAndTypeChangedTask(CScalingTask::kScalingName);
    } else {
      auto* record = new CVertsChangedTask;
      undoRecord.reset(record);
      record->IVertsChangedTask(CScalingTask::kScalingName);
    }
    task.reset(new CScalingTask);
    task->IScalingTask(CScalingTask::kScalingName, nullptr);
    task->SetObject(object);
    start = previous = At(100);
    pane.next = from;
    task->BeginTracking(&start);
  }
  void DragTo(SInt32 h, Vector3d p) { Poll(task.get(), h, p); }
  void End() {
    LongPt end = previous;
    task->EndTracking(&end, &previous, &start);
  }
  // The face of the block whose normal is the one given.
  static SInt16 FaceFacing(VLUser3DObject* object, Vector3d normal) {
    for (SInt16 f = 0; f < object->faceCount; ++f) {
      Vector3d n;
      object->GetFaceNormal(f, &n);
      if (DotOf(n, normal) > 0.999) return f;
    }
    return -1;
  }

  Owned<CObjectChangedTask> undoRecord;
  Owned<CScalingTask> task;
};

TEST_F(ScalingDrag, AHandleStretchesFromTheFarthestCornerAndEveryStepStartsFromTheDragsStart) {
  VLCube* block = model.Block({0, 0, 0}, {10, 4, 3});
  block->Select();
  const std::vector<Vector3d> before = VerticesOf(block);
  Begin(block, {10, 4, 3});
  ExpectNear(task->GetAnchor(), {0, 0, 0}, 1e-9);
  EXPECT_FALSE(task->CanExtrude());
  DragTo(110, {20, 4, 3});
  ExpectExtent(block, {0, 0, 0, 20, 4, 3});
  DragTo(90, {5, 2, 3});
  ExpectExtent(block, {0, 0, 0, 5, 2, 3});
  // A release near another object's vertex ends there; within 0.0001 of the last point it adds
  // no step.
  gSnapToVertices = 1;
  pane.snapped = {5.00001, 2, 3};
  End();
  ExpectExtent(block, {0, 0, 0, 5, 2, 3});
  EXPECT_FALSE(gTrackingDrawing);
  undoRecord->Undo();
  ExpectSameVertices(VerticesOf(block), before, 0);
}

TEST_F(ScalingDrag, ASnappedReleaseMakesTheLastStepToTheVertex) {
  VLCube* block = model.Block({0, 0, 0}, {10, 4, 3});
  block->Select();
  Begin(block, {10, 4, 3});
  DragTo(110, {19.6, 4, 3});
  gSnapToVertices = 1;
  pane.snapped = {20, 4, 3};
  End();
  ExpectExtent(block, {0, 0, 0, 20, 4, 3});
}

TEST_F(ScalingDrag, ATurnedBlockStretchesAlongItsOwnEdges) {
  VLCube* block = model.Block({0, 0, 0}, {10, 4, 3});
  const std::vector<Vector3d> unturned = VerticesOf(block);
  const Vector3d origin{0, 0, 0};
  block->Rotate(30.0, &origin);
  block->Select();
  const std::vector<Vector3d> before = VerticesOf(block);
  const Vector3d handle = Turned({{10, 4, 3}}, 30.0, origin)[0];
  Begin(block, handle);
  ExpectNear(task->GetAnchor(), origin, 1e-9);
  // Ten along the block's own x edge.
  DragTo(110, Add(handle, {10 * std::cos(M_PI / 6), 10 * std::sin(M_PI / 6), 0}));
  std::vector<Vector3d> stretched;
  for (const Vector3d& v : unturned) stretched.push_back({2 * v.x, v.y, v.z});
  ExpectSameVertices(VerticesOf(block), Turned(stretched, 30.0, origin), 1e-6);
  End();
  undoRecord->Undo();
  ExpectSameVertices(VerticesOf(block), before, 0);
}

TEST_F(ScalingDrag, AFlatBlockDraggedUpIsPushedOutAlongItsFlatAxisAndScaledAcrossIt) {
  VLCube* block = model.Block({0, 0, 0}, {10, 4, 0});
  block->Select();
  const std::vector<Vector3d> before = VerticesOf(block);
  // The press lands a little off the block, as a located mouse point does in an elevation.
  Begin(block, {10, 4, 0.01});
  ExpectNear(task->GetDirection(), {0, 0, 1}, 0);
  DragTo(110, {10, 4, 3});
  ExpectExtent(block, {0, 0, 0, 10, 4, 2.99});
  DragTo(120, {15, 4, 5.01});
  ExpectExtent(block, {0, 0, 0, 15, 4, 5});
  // Down through the ground the face facing down moves instead.
  DragTo(130, {10, 4, -1.99});
  ExpectExtent(block, {0, 0, -2, 10, 4, 0});
  End();
  undoRecord->Undo();
  ExpectSameVertices(VerticesOf(block), before, 0);
}

TEST_F(ScalingDrag, AReleaseSeenBeforeAnyPollEndsTheDragWhereTheButtonWasLetGo) {
  // A quick drag: the button is up before the program first polls it.
  VLCube* block = model.Block({0, 0, 0}, {10, 4, 0});
  block->Select();
  Begin(block, {10, 4, 0.01});
  pane.next = {10, 4, 3};
  LongPt release = At(110);
  task->EndTracking(&release, &previous, &start);
  ExpectExtent(block, {0, 0, 0, 10, 4, 2.99});
  // A release where the last poll was changes nothing more.
  Begin(block, {10, 4, 2.99});
  DragTo(120, {10, 4, 5.01});
  pane.next = {10, 4, 8};
  End();
  ExpectExtent(block, {0, 0, 0, 10, 4, 5.01});
}

TEST_F(ScalingDrag, AClosedOutlineDraggedAlongItsDepthExtrudesAndAcrossItScales) {
  VLPolyline* outline = model.Outline({{0, 0, 0}, {4, 0, 0}, {4, 4, 0}, {0, 4, 0}}, true);
  outline->Select();
  const std::string before = tasktest::RecordOf(outline);
  Begin(outline, {4, 4, 0});
  ASSERT_TRUE(task->CanExtrude());
  ExpectNear(task->GetDirection(), {0, 0, 1}, 0);
  DragTo(101, {4, 4, 3});
  EXPECT_EQ(outline->typeCode, kObjectTypeExtrusion);
  ExpectExtent(outline, {0, 0, 0, 4, 4, 3});
  // Each extrusion step starts again from the outline.
  DragTo(102, {4.5, 4, 3.2});
  ExpectExtent(outline, {0, 0, 0, 4.5, 4, 3.2});
  DragTo(103, {8, 4, 0});
  EXPECT_EQ(outline->typeCode, kObjectTypePolyline);
  ExpectExtent(outline, {0, 0, 0, 8, 4, 0});
  DragTo(104, {8, 4, 2});
  EXPECT_EQ(outline->typeCode, kObjectTypeExtrusion);
  ExpectExtent(outline, {0, 0, 0, 8, 4, 2});
  End();
  EXPECT_EQ(outline->typeCode, kObjectTypeExtrusion) << "the object keeps its last shape";
  undoRecord->Undo();
  EXPECT_EQ(outline->typeCode, kObjectTypePolyline);
  EXPECT_EQ(tasktest::RecordOf(outline), before);
}

TEST_F(ScalingDrag, InFaceModeOnlyTheFaceIsScaledWithinItsPlaneAndNeverMirrored) {
  VLCube* block = model.Block({0, 0, 0}, {10, 4, 3});
  const SInt16 top = FaceFacing(block, {0, 0, 1});
  ASSERT_GE(top, 0);
  block->SelectFace(top);
  ASSERT_TRUE(block->HasCurrentFace());
  const std::vector<Vector3d> before = VerticesOf(block);
  Begin(block, {10, 4, 3});
  ExpectNear(task->GetAnchor(), {5, 2, 3}, 1e-9);
  EXPECT_FALSE(task->CanExtrude());
  // The drag's part across the face does not count.
  DragTo(110, {15, 6, 7});
  std::vector<Vector3d> after = VerticesOf(block);
  for (std::size_t i = 0; i < after.size(); ++i) {
    if (before[i].z == 0) {
      ExpectNear(after[i], before[i], 0);
    } else {
      ExpectNear(after[i], {before[i].x == 0 ? -5.0 : 15.0, before[i].y == 0 ? -2.0 : 6.0, 3}, 1e-9);
    }
  }
  // Dragged through the face's centre the face flattens there.
  DragTo(120, {-5, 4, 3});
  after = VerticesOf(block);
  for (std::size_t i = 0; i < after.size(); ++i)
    if (before[i].z == 3) ExpectNear(after[i], {5, before[i].y, 3}, 1e-9);
  End();
  undoRecord->Undo();
  ExpectSameVertices(VerticesOf(block), before, 0);
}

TEST_F(ScalingDrag, NoStepLeavesCoordinatesThatAreNotFinite) {
  VLCube* block = model.Block({0, 0, 0}, {10, 4, 3});
  const SInt16 top = FaceFacing(block, {0, 0, 1});
  const double inf = std::numeric_limits<double>::infinity(), nan = std::numeric_limits<double>::quiet_NaN();
  const struct {
    const char* name;
    bool faceMode;
    Vector3d from, to;
    bool located;
  } cases[] = {
      {"an infinite point", false, {10, 4, 3}, {inf, 4, 3}, true},
      {"a point that is no number", false, {10, 4, 3}, {nan, 4, 3}, true},
      // The far side lies beyond the handle: 10 / 9 of the largest double is none.
      {"a vertex carried past the largest double", false, {9, 4, 3}, {1.7e308, 4, 3}, true},
      {"a drag along the view that the pane cannot locate", false, {10, 4, 3}, {20, 4, 3}, false},
      {"a handle on the anchor (the face's centre)", true, {5, 2, 3}, {20, 9, 3}, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    model.DeselectAll();
    if (c.faceMode)
      block->SelectFace(top);
    else
      block->Select();
    const std::vector<Vector3d> before = VerticesOf(block);
    pane.found = true;
    Begin(block, c.from);
    pane.found = c.located;
    DragTo(110, c.to);
    End();
    EXPECT_TRUE(AllFinite(block));
    ExpectSameVertices(VerticesOf(block), before, 0);
    block->faceMode = 0;
  }
}

}  // namespace
