#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "ModelTestSupport.h"
#include "VLViewTransform.h"

namespace {

using modeltest::BoxRecord;
using modeltest::ExpectNear;
using modeltest::NewObject;
using modeltest::ObjectPtr;
using modeltest::ProjectAsPlan;
using modeltest::ReadObject;
using modeltest::ShownPhase;

constexpr SInt16 kTop = 4;

ObjectPtr Box(Vector3d lo, Vector3d hi) { return ReadObject(BoxRecord(lo, hi)); }

TEST(VertexHandles, AreHitLessThanThreePixelsAwayBothWays) {
  const struct {
    double dh, dv;
    SInt16 found;
  } cases[] = {{0, 0, 2}, {3.0, 0, -1}, {2.9, 0, 2}, {-2.9, 0, 2}, {-3.0, 0, -1},
               {0, 3.0, -1}, {0, -2.9, 2}, {2.9, 2.9, 2}};
  const Point mouse{50, 100};
  for (const auto& c : cases) {
    ObjectPtr box = Box({0, 0, 0}, {1, 1, 1});
    box->SetArrayPointers();
    for (SInt16 i = 0; i < box->vertexCount; ++i) box->screenPoints[i] = Vector3d{1000, 1000, 0};
    box->screenPoints[2] = Vector3d{mouse.h + c.dh, mouse.v + c.dv, 0};
    EXPECT_EQ(box->FindVertexHandle(nullptr, mouse, false), c.found) << c.dh << ", " << c.dv;
  }

  // Checking the model point too: the first vertex less than 5.0 from it on each axis.
  ObjectPtr box = Box({0, 0, 0}, {1, 1, 1});
  box->SetArrayPointers();
  for (SInt16 i = 0; i < box->vertexCount; ++i) box->screenPoints[i] = Vector3d{double(mouse.h), double(mouse.v), 0};
  const Vector3d near{1, 5.99, 0}, far{1, 6, 0};
  EXPECT_EQ(box->FindVertexHandle(&near, mouse, true), 1);  // (0, 1, 0): 4.99 away in y
  EXPECT_EQ(box->FindVertexHandle(&far, mouse, true), -1);  // 5.0 away in y: none
}

TEST(EdgeHandles, SitAtTheProjectedMidpoints) {
  // A thin slab: the long edges at y = 0 and y = 0.001 have midpoints drawn at the same pixel.
  ObjectPtr slab = Box({0, 0, 0}, {4, 0.001, 1});
  VLViewTransform view;
  view.IVLViewTransform(400, 300);
  const Vector3d lo{0, 0, 0}, hi{4, 1, 1};
  view.InitViewsForBox(&lo, &hi);
  slab->SetArrayPointers();
  SInt16 lower = -1, upper = -1;
  for (SInt16 e = 0; e < slab->edgeCount; ++e) {
    const Vector3d& a = slab->vertices[slab->edges[e].a];
    const Vector3d& b = slab->vertices[slab->edges[e].b];
    if (a.z == 0 && b.z == 0 && a.y == b.y && a.x != b.x) (lower < 0 ? lower : upper) = e;
  }
  ASSERT_GE(upper, 0);
  Vector3d middle, projected;
  slab->GetHandlePoint(&middle, upper, false);
  EXPECT_EQ(middle.x, 2.0);
  EXPECT_EQ(middle.z, 0.0);
  view.ProjectPoint(&middle, &projected);
  const Point mouse{SInt16(projected.y), SInt16(projected.x)};

  EXPECT_EQ(slab->FindEdgeHandle(&middle, mouse, true, &view), -1) << "handles not shown";
  slab->edgeHandlesShown = 1;
  EXPECT_EQ(slab->FindEdgeHandle(&middle, mouse, true, &view), lower);
  const Vector3d away{2, 5.01, 0};
  EXPECT_EQ(slab->FindEdgeHandle(&away, mouse, true, &view), -1);
  EXPECT_EQ(slab->FindEdgeHandle(&away, mouse, false, &view), lower);
  // Edges that were clipped on screen have no handle.
  slab->clippedEdges = 1;
  slab->SetArrayPointers();
  for (SInt16 e = 0; e < slab->edgeCount; ++e) slab->edgeVisible[e] = e != lower;
  for (SInt16 v = 0; v < slab->vertexCount; ++v) slab->vertexUnclipped[v] = 1;
  EXPECT_EQ(slab->FindEdgeHandle(&middle, mouse, true, &view), upper);
}

TEST(VertexSearch, FindsTheNearestVertexWithinTheTolerance) {
  ObjectPtr box = Box({0, 0, 0}, {1, 1, 1});
  SInt16 vertex = -7;
  const Vector3d between{0.9, 0.55, 0.1};
  EXPECT_TRUE(box->FindVertexNear(&between, &vertex, 0.5));
  EXPECT_EQ(vertex, 2);  // (1, 1, 0) rather than (1, 0, 0)
  const Vector3d nowhere{3, 3, 3};
  vertex = -7;
  EXPECT_FALSE(box->FindVertexNear(&nowhere, &vertex, 0.5));
  EXPECT_EQ(vertex, -7);

  double bounds[6];
  ObjectPtr empty = NewObject();
  empty->GetBounds(&bounds[0], &bounds[1], &bounds[2], &bounds[3], &bounds[4], &bounds[5]);
  EXPECT_EQ((std::vector<double>(bounds, bounds + 6)),
            (std::vector<double>{105600, 105600, 105600, -105600, -105600, -105600}));
  box->GetBounds(&bounds[0], &bounds[1], &bounds[2], &bounds[3], &bounds[4], &bounds[5]);
  EXPECT_EQ((std::vector<double>(bounds, bounds + 6)), (std::vector<double>{0, 0, 0, 1, 1, 1}));
}

TEST(Snapping, KeepsTheNearestVertexOverSeveralObjects) {
  ShownPhase phase;
  ObjectPtr a = Box({0, 0, 0}, {1, 1, 1}), b = Box({1.15, 0, 0}, {2, 1, 1}), hidden = Box({1.1, 0, 0}, {2, 1, 1});
  hidden->hidden = 1;
  const Vector3d point{1.1, 0.05, 0.05};
  for (bool aFirst : {true, false}) {
    Vector3d position{-105600, -105600, -105600};
    double best = 105600.0;
    Boolean found = false;
    for (VLUser3DObject* o : {aFirst ? a.get() : b.get(), hidden.get(), aFirst ? b.get() : a.get()})
      EXPECT_FALSE(o->SnapToVertex(&point, &position, &best, &found, 0.5));
    EXPECT_TRUE(found);
    ExpectNear(position, {1.15, 0, 0}, 0.0, aFirst ? "a first" : "b first");
    EXPECT_NEAR(best, std::sqrt(0.0025 + 0.0025 + 0.0025), 1e-12);
  }

  // A point that is a vertex already: true, the search stops, nothing is written.
  const Vector3d vertex{1, 0, 0}, unset{-1, -1, -1};
  Vector3d position = unset;
  double best = 105600.0;
  Boolean found = false;
  EXPECT_TRUE(a->SnapToVertex(&vertex, &position, &best, &found, 0.5));
  EXPECT_EQ(position, unset);
  EXPECT_EQ(best, 105600.0);
  EXPECT_FALSE(found);
  EXPECT_FALSE(hidden->SnapToVertex(&vertex, &position, &best, &found, 0.5));
}

TEST(FaceQueries, OppositeFacesRaysToSidesAndFeet) {
  // A wall 4 long, 0.5 thick, 3 high: its front is face 3 (y = 0), its back face 1 (y = 0.5).
  ObjectPtr wall = Box({0, 0, 0}, {4, 0.5, 3});
  const Vector3d onFront{2, 0, 1.5}, offTheWall{5, 0, 1.5};
  Vector3d opposite{7, 7, 7};
  EXPECT_EQ(wall->FindOppositeFace(&onFront, 3, &opposite), 1);
  ExpectNear(opposite, {2, 0.5, 1.5}, 1e-12);
  opposite = Vector3d{7, 7, 7};
  EXPECT_EQ(wall->FindOppositeFace(&offTheWall, 3, &opposite), -1);
  EXPECT_EQ(opposite, (Vector3d{7, 7, 7}));

  ObjectPtr box = Box({0, 0, 0}, {1, 1, 1});
  const struct {
    const char* what;
    Vector3d origin, direction;
    bool met;
    Vector3d at;
  } rays[] = {
      {"from the centre along x", {0.5, 0.5, 1}, {1, 0, 0}, true, {1, 0.5, 1}},
      {"from a side, the side itself ignored", {1, 0.5, 1}, {-1, 0, 0}, true, {0, 0.5, 1}},
      {"from a side, outward", {1, 0.5, 1}, {1, 0, 0}, false, {1, 0.5, 1}},
      {"slanting to a corner", {0.5, 0.5, 1}, {1, 1, 0}, true, {1, 1, 1}},
  };
  for (const auto& r : rays) {
    Vector3d out{7, 7, 7};
    EXPECT_EQ(box->RayToFaceEdge(&r.origin, kTop, &r.direction, &out), r.met) << r.what;
    ExpectNear(out, r.at, 1e-12, r.what);
  }

  const Vector3d above{0.25, 0.5, 3}, beside{3, 0.5, 3};
  Vector3d foot{7, 7, 7};
  EXPECT_TRUE(box->ProjectOntoFace(&above, kTop, &foot));
  ExpectNear(foot, {0.25, 0.5, 1}, 1e-12);
  foot = Vector3d{7, 7, 7};
  EXPECT_FALSE(box->ProjectOntoFace(&beside, kTop, &foot));
  EXPECT_EQ(foot, (Vector3d{7, 7, 7}));

  Vector3d centre, normal;
  box->currentFace = kTop;
  box->GetFaceCentre(&centre, &normal);
  ExpectNear(centre, {0.5, 0.5, 1}, 1e-12);
  ExpectNear(normal, {0, 0, 1}, 1e-12);

  const Vector3d first{0, 0, 1}, second{1, 0, 1};
  double offset = 7;
  EXPECT_TRUE(box->EdgePlane(&first, &second, kTop, &normal, &offset));
  ExpectNear(normal, {0, 1, 0}, 1e-12);
  EXPECT_EQ(offset, 0.0);
  EXPECT_TRUE(box->FaceHasVertex(kTop, 6));
  EXPECT_FALSE(box->FaceHasVertex(kTop, 2));
}

TEST(FaceQueries, TheFaceEdgeFarthestFromTheMouseGivesACuttingPlane) {
  ObjectPtr box = Box({0, 0, 0}, {2, 1, 1});
  ProjectAsPlan(box.get());
  box->faceMode = 1;
  box->currentFace = kTop;
  const struct {
    Point mouse;
    Vector3d middle;
  } cases[] = {
      {{5, 100}, {1, 1, 1}},   // near the side y = 0: the side y = 1
      {{50, 190}, {0, 0.5, 1}}, // near x = 2: x = 0
  };
  for (const auto& c : cases) {
    Vector3d normal, point;
    double offset = 0;
    EXPECT_TRUE(box->PickFaceEdge(nullptr, c.mouse, &normal, &offset, &point));
    ExpectNear(point, c.middle, 1e-12);
    // The plane stands across that side, through its middle.
    EXPECT_NEAR(std::fabs(normal.x) + std::fabs(normal.y) + std::fabs(normal.z), 1.0, 1e-12);
    EXPECT_NEAR(normal.x * point.x + normal.y * point.y + normal.z * point.z + offset, 0.0, 1e-12);
    const bool alongX = c.middle.y == 1;
    EXPECT_NEAR(std::fabs(alongX ? normal.x : normal.y), 1.0, 1e-12);
  }
}

}  // namespace
