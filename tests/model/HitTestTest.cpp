#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "Memory.h"
#include "ModelTestSupport.h"
#include "QuickDraw.h"
#include "VLViewTransform.h"

namespace {

using modeltest::BodyRecord;
using modeltest::BoxRecord;
using modeltest::ExpectNear;
using modeltest::NewObject;
using modeltest::ObjectPtr;
using modeltest::ProjectAsPlan;
using modeltest::PrismRecord;
using modeltest::ReadObject;
using modeltest::ShownPhase;

// Box faces (BoxRecord): 0 x = lo, 1 y = hi, 2 x = hi, 3 y = lo, 4 top, 5 bottom; vertices 0-3
// at the bottom from lo going to (lo.x, hi.y), (hi.x, hi.y), (hi.x, lo.y), 4-7 above them.
constexpr SInt16 kSideXHi = 2, kTop = 4;

ObjectPtr UnitBox() { return ReadObject(BoxRecord({0, 0, 0}, {1, 1, 1})); }

// What the object's drawing leaves for the screen tests: each vertex's pane position and the
// rectangle around them.
void ProjectThrough(VLUser3DObject* object, const VLViewTransform& view) {
  object->SetArrayPointers();
  double top = 1e9, left = 1e9, bottom = -1e9, right = -1e9;
  for (SInt16 i = 0; i < object->vertexCount; ++i) {
    view.ProjectPoint(&object->vertices[i], &object->screenPoints[i]);
    left = std::fmin(left, object->screenPoints[i].x);
    right = std::fmax(right, object->screenPoints[i].x);
    top = std::fmin(top, object->screenPoints[i].y);
    bottom = std::fmax(bottom, object->screenPoints[i].y);
  }
  object->screenBounds = Rect{SInt16(top), SInt16(left), SInt16(bottom + 1), SInt16(right + 1)};
}

TEST(Rays, MeetTheFirstFaceBeyondTheTolerance) {
  constexpr double kFar = 100.0;
  const struct {
    const char* what;
    Vector3d origin, direction;
    double best;
    SInt16 face;  // -1: a miss
    double distance;
  } cases[] = {
      {"from inside, up: leaves by the top", {0.5, 0.5, 0.5}, {0, 0, 1}, kFar, kTop, 0.5},
      {"from inside, along x", {0.5, 0.5, 0.5}, {1, 0, 0}, kFar, kSideXHi, 0.5},
      {"from above, down: enters by the top", {0.5, 0.5, 3}, {0, 0, -1}, kFar, kTop, 2.0},
      {"a long direction counts in its own steps", {0.5, 0.5, 3}, {0, 0, -4}, kFar, kTop, 0.5},
      {"leaving the face it starts on", {0.5, 0.5, 1}, {0, 0, 1}, kFar, -1, kFar},
      {"a hit nearer than 0.0001", {0.5, 0.5, 1 - 0.00005}, {0, 0, 1}, kFar, -1, kFar},
      {"a hit just beyond 0.0001", {0.5, 0.5, 1 - 0.0002}, {0, 0, 1}, kFar, kTop, 0.0002},
      {"parallel to a face, outside it", {0.5, 2, 0.5}, {1, 0, 0}, kFar, -1, kFar},
      {"beyond the best so far", {0.5, 0.5, 3}, {0, 0, -1}, 1.5, -1, 1.5},
  };
  for (const bool faceByFace : {false, true}) {
    for (const auto& c : cases) {
      const std::string what = std::string(c.what) + (faceByFace ? ", face by face" : ", convex");
      ObjectPtr box = UnitBox();
      if (faceByFace) box->typeCode = kObjectTypeExtrusion;
      SInt16 face = -1;
      double distance = c.best;
      Vector3d normal{9, 9, 9};
      const bool hit = box->IntersectRay(&face, &distance, &c.origin, &c.direction, &normal);
      EXPECT_EQ(hit, c.face >= 0) << what;
      EXPECT_EQ(face, c.face) << what;
      EXPECT_NEAR(distance, c.distance, 1e-12) << what;
      if (hit) ExpectNear(normal, modeltest::Normal(box.get(), c.face), 0.0, what);
    }
  }
}

TEST(Rays, PickingTakesOnlyFacesTurnedToTheEye) {
  ShownPhase phase;
  ObjectPtr l = ReadObject(PrismRecord({{0, 0, 0}, {0, 2, 0}, {1, 2, 0}, {1, 1, 0}, {2, 1, 0}, {2, 0, 0}}, 0, 1));
  ASSERT_EQ(l->typeCode, kObjectTypeBlock);
  l->typeCode = kObjectTypeExtrusion;
  l->screenBounds = Rect{0, 0, 100, 100};
  const Point inside{50, 50};
  const Vector3d centre{0.5, 0.5, 0.5}, up{0, 0, 1};
  double distance = 100.0;
  SInt16 face = -1;
  Vector3d normal;
  EXPECT_TRUE(l->IntersectRay(&face, &distance, &centre, &up, &normal));
  EXPECT_EQ(face, 6);  // the top, from behind
  distance = 100.0;
  face = -1;
  EXPECT_FALSE(l->PickFace(inside, &centre, &up, &distance, &face));
  EXPECT_EQ(face, -1);

  const Vector3d above{0.5, 1.5, 3}, down{0, 0, -1};
  EXPECT_TRUE(l->PickFace(inside, &above, &down, &distance, &face));
  EXPECT_EQ(face, 6);
  EXPECT_DOUBLE_EQ(distance, 2.0);
  // Not where the object is drawn, or not selectable: not picked.
  distance = 100.0;
  EXPECT_FALSE(l->PickFace(Point{150, 50}, &above, &down, &distance, &face));
  l->phase = 2;
  EXPECT_FALSE(l->PickFace(inside, &above, &down, &distance, &face));
}

TEST(Rays, PickingThroughTheView) {
  ShownPhase phase;
  ObjectPtr box = ReadObject(BoxRecord({0, 0, 0}, {2, 1, 1}));
  VLViewTransform view;
  view.IVLViewTransform(400, 300);
  const Vector3d lo{0, 0, 0}, hi{2, 1, 1};
  view.InitViewsForBox(&lo, &hi);  // seen from +x, +y and above
  ProjectThrough(box.get(), view);
  const struct {
    Vector3d aim;
    SInt16 face;
  } cases[] = {{{1, 0.5, 1}, kTop}, {{2, 0.5, 0.5}, kSideXHi}, {{1, 1, 0.5}, 1}};
  for (const auto& c : cases) {
    Vector3d projected, origin, direction;
    view.ProjectPoint(&c.aim, &projected);
    const Point pane{SInt16(projected.y), SInt16(projected.x)};
    view.GetPickRay(&origin, &direction, pane);
    double distance = 1e9;
    SInt16 face = -1;
    EXPECT_TRUE(box->PickFace(pane, &origin, &direction, &distance, &face));
    EXPECT_EQ(face, c.face) << c.aim.x << " " << c.aim.y << " " << c.aim.z;
  }
}

TEST(Rays, ShadowRaysIgnoreThePaneAndTheColour) {
  ShownPhase phase;
  ObjectPtr box = UnitBox();
  const RGBColor red{65535, 0, 0}, unset{1, 2, 3};
  box->SetColor(&red);
  box->screenBounds = Rect{0, 0, 10, 10};
  const Vector3d origin{0.5, 0.5, 3}, down{0, 0, -1};
  const Point outside{50, 50}, inside{5, 5};
  double distance = 100.0;
  RGBColor colour = unset;
  Vector3d normal;
  EXPECT_FALSE(box->HitByRay(outside, &origin, &down, &distance, &colour, &normal, 0));
  EXPECT_TRUE(box->HitByRay(outside, &origin, &down, &distance, &colour, &normal, 1));
  EXPECT_EQ(colour, unset);
  EXPECT_EQ(normal, (Vector3d{0, 0, 1}));
  distance = 100.0;
  EXPECT_TRUE(box->HitByRay(inside, &origin, &down, &distance, &colour, &normal, 0));
  EXPECT_EQ(colour, red);
  box->hidden = 1;
  distance = 100.0;
  EXPECT_FALSE(box->HitByRay(inside, &origin, &down, &distance, &colour, &normal, 1));
}

TEST(PointInFace, InsideOutsideOnTheOutlineAndOffThePlane) {
  // The L's top (face 6, z = 1): (0,0) (0,2) (1,2) (1,1) (2,1) (2,0).
  ObjectPtr l = ReadObject(PrismRecord({{0, 0, 0}, {0, 2, 0}, {1, 2, 0}, {1, 1, 0}, {2, 1, 0}, {2, 0, 0}}, 0, 1));
  const struct {
    const char* what;
    Vector3d point;
    bool in;
  } cases[] = {
      {"inside", {0.5, 0.5, 1}, true},
      {"in the notch", {1.5, 1.5, 1}, false},
      {"beyond the outline", {3, 0.5, 1}, false},
      // The test ray runs through the inner corner's two sides: counted once, not twice.
      {"level with the inner corner", {0.5, 1, 1}, true},
      {"level with the inner corner, in the notch", {1.5, 1.2, 1}, false},
      {"level with an outer corner", {0.5, 2 - 1e-9, 1}, true},
      {"on a side", {1.5, 1, 1}, true},
      {"on a side along the test ray", {1, 1.5, 1}, true},
      {"at a corner", {0, 0, 1}, true},
      {"2e-5 off the plane", {0.5, 0.5, 1 + 2e-5}, false},
      {"5e-6 off the plane", {0.5, 0.5, 1 + 5e-6}, true},
  };
  for (const auto& c : cases) EXPECT_EQ(l->PointInFace(6, &c.point, false), c.in) << c.what;

  // Counting a side the point lies on as one crossing: on the top side of the unit square (in
  // the direction the test ray runs, +x here) nothing else is crossed; on the bottom the top
  // side is crossed too.
  ObjectPtr box = UnitBox();
  const Vector3d onFar{1, 0.5, 1}, onNear{0, 0.5, 1};
  EXPECT_TRUE(box->PointInFace(kTop, &onFar, true));
  EXPECT_FALSE(box->PointInFace(kTop, &onNear, true));
  EXPECT_TRUE(box->PointInFace(kTop, &onNear, false));
  box->SetArrayPointers();
  box->faces[kTop].degenerate = 1;
  const Vector3d centre{0.5, 0.5, 1};
  EXPECT_FALSE(box->PointInFace(kTop, &centre, false));
  EXPECT_FALSE(box->PointInFace(-1, &centre, false));
}

TEST(FaceFrames, StartAtTheVertexDrawnNearestThePanePoint) {
  ObjectPtr box = ReadObject(BoxRecord({0, 0, 0}, {2, 1, 1}));
  ProjectAsPlan(box.get());
  // The top's loop runs (0,0) (0,1) (2,1) (2,0); (0,1) is drawn at (0, 100).
  Matrix4d to, from;
  box->GetFaceFrame(Point{100, 0}, kTop, &to, &from);
  const Vector3d corner{2, 0, 1};
  Vector3d local, back;
  TransformPoint4x4(&corner, &to, &local);
  ExpectNear(local, {2, 1, 0}, 1e-12);  // x toward (2,1), y = x cross the normal: toward -y
  TransformPoint4x4(&local, &from, &back);
  ExpectNear(back, corner, 1e-12);

  // Every face's frame from the middle of the pane's left edge; degenerate faces get zeros.
  VLViewTransform view;
  view.halfPaneHeight = 100.0;
  box->SetArrayPointers();
  box->faces[1].degenerate = 1;
  Handle toFrames = nullptr, fromFrames = nullptr;
  ASSERT_TRUE(box->BuildFaceFrames(&view, &toFrames, &fromFrames));
  ASSERT_EQ(PortHandleSize(toFrames), Size(6 * sizeof(Matrix4d)));
  ASSERT_EQ(PortHandleSize(fromFrames), Size(6 * sizeof(Matrix4d)));
  for (SInt16 f = 0; f < 6; ++f) {
    Matrix4d expectedTo, expectedFrom;
    box->GetFaceFrame(Point{100, 0}, f, &expectedTo, &expectedFrom);
    const Matrix4d& builtTo = reinterpret_cast<const Matrix4d*>(*toFrames)[f];
    const Matrix4d& builtFrom = reinterpret_cast<const Matrix4d*>(*fromFrames)[f];
    for (int k = 0; k < 16; ++k) {
      EXPECT_EQ(builtTo.m[k], f == 1 ? 0.0 : expectedTo.m[k]) << "face " << f;
      EXPECT_EQ(builtFrom.m[k], f == 1 ? 0.0 : expectedFrom.m[k]) << "face " << f;
    }
  }
  PortFreeHandle(toFrames);
  PortFreeHandle(fromFrames);
}

TEST(LocalBounds, AreTakenInTheObjectsAxesOrInTheCurrentFace) {
  ObjectPtr box = ReadObject(BoxRecord({1, 2, 3}, {3, 3, 7}));
  double b[6];
  box->GetLocalBounds(b);
  EXPECT_EQ((std::vector<double>(b, b + 6)), (std::vector<double>{1, 2, 3, 3, 3, 7}));

  // In face mode, in the face's frame from the bottom-left corner of the port drawn in.
  GrafPort port;
  PortOpenPort(&port);
  PortPortSize(300, 100);
  ProjectAsPlan(box.get());  // (1,2) of the top is drawn nearest (v 100, h 0); x runs to (1,3)
  box->faceMode = 1;
  box->currentFace = kTop;
  box->GetLocalBounds(b);
  PortClosePort(&port);
  for (int i = 0; i < 6; ++i) EXPECT_NEAR(b[i], (std::vector<double>{0, 0, 0, 1, 2, 0})[std::size_t(i)], 1e-12) << i;

  ObjectPtr empty = NewObject();
  empty->GetLocalBounds(b);
  EXPECT_EQ((std::vector<double>(b, b + 6)), (std::vector<double>{105600, 105600, 105600, -105600, -105600, -105600}));
}

TEST(FarthestCorner, ChoosesTheFirstFarthestCornerAndTellsAFlatAxis) {
  const Vector3d unset{7, 7, 7};
  const struct {
    const char* what;
    std::string record;
    Vector3d from, corner, flat;
  } cases[] = {
      {"cube", BoxRecord({0, 0, 0}, {1, 1, 1}), {0, 0, 0}, {1, 1, 1}, {0, 0, 0}},
      {"from the centre: the first corner", BoxRecord({0, 0, 0}, {1, 1, 1}), {0.5, 0.5, 0.5}, {0, 0, 0}, {0, 0, 0}},
      {"flat rectangle", BodyRecord({{0, 0, 0}, {2, 0, 0}, {2, 1, 0}, {0, 1, 0}}, {{3, 2, 1, 0}, {0, 1, 2, 3}}),
       {0, 0, 0}, {2, 1, 0}, {0, 0, 1}},
      {"thin upright sheet", BodyRecord({{0, 0, 0}, {0, 4, 0}, {0, 4, 2}, {0, 0, 2}}, {{0, 1, 2, 3}, {3, 2, 1, 0}}),
       {0, 4, 0}, {0, 0, 2}, {1, 0, 0}},
  };
  for (const auto& c : cases) {
    ObjectPtr object = ReadObject(c.record);
    Vector3d corner, flat = unset;
    object->FarthestCorner(&c.from, &corner, &flat);
    ExpectNear(corner, c.corner, 1e-12, c.what);
    ExpectNear(flat, c.flat, 1e-12, c.what);
  }

  // A tilted sheet is flat only in its own axes.
  const double r = std::sqrt(0.5);
  ObjectPtr sheet =
      ReadObject(BodyRecord({{0, 0, 0}, {2, 0, 0}, {2, 1, 1}, {0, 1, 1}}, {{0, 1, 2, 3}, {3, 2, 1, 0}}));
  const Vector3d origin{0, 0, 0};
  Vector3d corner, flat;
  sheet->FarthestCorner(&origin, &corner, &flat);
  ExpectNear(flat, {0, 0, 0}, 0.0, "tilted, world axes");
  auto* frame = new CObjectTransformer;
  const Vector3d x{1, 0, 0}, y{0, r, r}, z{0, -r, r};
  frame->SetAxes(&x, &y, &z);
  sheet->SetFrame(frame);
  sheet->UpdateFrame();
  sheet->FarthestCorner(&origin, &corner, &flat);
  ExpectNear(corner, {2, 1, 1}, 1e-12, "tilted, own axes");
  ExpectNear(flat, z, 1e-12, "tilted, own axes");
}

TEST(FarthestCorner, InFaceModeTakesTheFacesRectangle) {
  ObjectPtr box = ReadObject(BoxRecord({0, 0, 0}, {2, 1, 1}));
  ProjectAsPlan(box.get());
  box->faceMode = 1;
  box->currentFace = kTop;
  const Vector3d from{0, 0, 1}, flatUnset{7, 7, 7};
  Vector3d corner, flat = flatUnset;
  box->FarthestCorner(&from, &corner, &flat);
  ExpectNear(corner, {2, 1, 1}, 1e-12);
  EXPECT_EQ(flat, flatUnset);
}

TEST(Farthest, VerticesAndEdgeMidpointsOfTheObjectOrItsFace) {
  ObjectPtr box = ReadObject(BoxRecord({0, 0, 0}, {4, 2, 1}));
  const Vector3d from{0, 0, 0};
  Vector3d vertex{7, 7, 7}, middle{7, 7, 7};
  box->FarthestVertex(&from, &vertex);
  box->FarthestEdgeMidpoint(&from, &middle);
  ExpectNear(vertex, {4, 2, 1}, 0.0);
  ExpectNear(middle, {4, 2, 0.5}, 0.0);

  box->faceMode = 1;
  box->currentFace = 5;  // the bottom
  box->FarthestVertex(&from, &vertex);
  box->FarthestEdgeMidpoint(&from, &middle);
  ExpectNear(vertex, {4, 2, 0}, 0.0);
  ExpectNear(middle, {4, 1, 0}, 0.0);

  ObjectPtr empty = NewObject();
  empty->FarthestVertex(&from, &vertex);
  ExpectNear(vertex, {4, 2, 0}, 0.0, "no candidate: unchanged");
}

}  // namespace
