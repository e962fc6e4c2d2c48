// Polylines edited through their handle box: cap tilting about the box's hinge, the partner of
// a cap vertex, the palette's typed position, vertex editing, and the rubber band while an
// outline is drawn.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "CBoundingBox.h"
#include "CurrentWorld.h"
#include "ObjectInfoRecord.h"
#include "OpeningTestSupport.h"
#include "QuickDraw.h"
#include "VLPolyline.h"

namespace {

using modeltest::ExpectNear;
using modeltest::VertexAt;
using PolylinePtr = std::unique_ptr<VLPolyline, modeltest::ObjectDeleter>;

// A hexagonal prism of radius 1 around the origin from z = 0 to z = 2: base ring 0 to 5, top
// ring 6 to 11, top cap face 6 and bottom cap face 7.
PolylinePtr HexPrism() {
  PolylinePtr prism(new VLPolyline);
  prism->InitStorage();
  for (int i = 0; i < 6; ++i) {
    const Vector3d p{std::cos(1.0471975512 * i), std::sin(1.0471975512 * i), 0};
    prism->BuildGeometry(nullptr, i > 0, &p, -1, nullptr);
  }
  prism->closed = 1;
  prism->BuildOutlineEdges(false);
  prism->Extrude(2.0);
  return prism;
}

TEST(PolylineCaps, EachCapVertexHasItsPartnerOnTheOtherCap) {
  PolylinePtr prism = HexPrism();
  ASSERT_EQ(prism->topCap, 6);
  ASSERT_EQ(prism->bottomCap, 7);
  for (SInt16 v = 0; v < 6; ++v) {
    SInt16 partner = -1;
    prism->FindCapPartner(0, v, &partner);
    EXPECT_EQ(partner, v + 6);
    prism->FindCapPartner(1, SInt16(v + 6), &partner);
    EXPECT_EQ(partner, v);
  }
  SInt16 untouched = 42;
  prism->FindCapPartner(0, 99, &untouched);  // no edge holds it
  EXPECT_EQ(untouched, 42);
}

TEST(PolylineCaps, DraggingABoxEdgeTiltsTheCapAboutTheHinge) {
  PolylinePtr prism = HexPrism();
  CBoundingBox* box = prism->box;
  ASSERT_NE(box, nullptr);
  ASSERT_TRUE(box->edgeHandlesShown);
  // The box spans x from -1 to 1: grab the top face's edge at x = 1 (its midpoint (1, 0, 2)).
  const Vector3d grab{1, 0, 2};
  ASSERT_TRUE(prism->PickCapHandle(&grab));
  EXPECT_EQ(box->activeFace, 1);  // face B stands for the top cap
  EXPECT_EQ(box->hingeStart.x, -1);  // the hinge: the top edge at x = -1
  // Raise the grabbed edge by 1: the top cap turns about the hinge through (1, y, 3).
  SInt16 edge = -1;
  box->SetArrayPointers();
  for (SInt16 e = 0; e < box->edgeCount; ++e) {
    const Vector3d a = box->vertices[box->edges[e].a], b = box->vertices[box->edges[e].b];
    if (a.x == 1 && b.x == 1 && a.z == 2 && b.z == 2) edge = e;
  }
  ASSERT_GE(edge, 0);
  Vector3d offset{0, 0, 1};
  box->MoveEdge(edge, &offset, 0);
  ASSERT_TRUE(prism->DragCapFace(edge, &offset));
  // Each top vertex rose along z onto the plane z = 2.5 + 0.5 x.
  for (SInt16 v = 6; v < 12; ++v) {
    const Vector3d p = VertexAt(prism.get(), v);
    EXPECT_NEAR(p.z, 2.5 + 0.5 * p.x, 1e-9) << v;
  }
  for (SInt16 v = 0; v < 6; ++v) EXPECT_EQ(VertexAt(prism.get(), v).z, 0);  // the bottom stays

  // Across the active face's normal there is nothing to tilt; an outline has no caps.
  const Vector3d sideways{1, 0, 0};
  EXPECT_FALSE(prism->DragCapFace(edge, &sideways));
  PolylinePtr flat(new VLPolyline);
  flat->InitStorage();
  EXPECT_FALSE(flat->PickCapHandle(&grab));
  EXPECT_FALSE(flat->DragCapFace(0, &offset));
}

TEST(PolylineBoxFrame, ABoxInAFrameFitsATurnedOutline) {
  // A pentagon turned by 45 degrees measured along the turned axes: the box's faces follow them.
  PolylinePtr outline(new VLPolyline);
  outline->InitStorage();
  const double r = std::sqrt(0.5);
  const std::vector<Vector3d> points = {{0, 0, 0}, {r, r, 0}, {0, 2 * r, 0}, {-r, r, 0}, {-r / 2, r / 2, 0}};
  for (std::size_t i = 0; i < points.size(); ++i) outline->BuildGeometry(nullptr, i > 0, &points[i], -1, nullptr);
  outline->closed = 1;
  outline->BuildOutlineEdges(false);
  const Vector3d u{r, r, 0}, v{-r, r, 0}, w{0, 0, 1};
  outline->UpdateBoundingBoxInFrame(&u, &v, &w);
  ASSERT_NE(outline->box, nullptr);
  ASSERT_NE(outline->box->frame, nullptr);
  // The corners of the square the pentagon spans are corners of the box.
  for (const Vector3d& corner : {points[0], points[1], points[2], points[3]}) {
    bool found = false;
    for (const Vector3d& b : modeltest::Vertices(outline->box))
      found = found || (std::fabs(b.x - corner.x) < 1e-9 && std::fabs(b.y - corner.y) < 1e-9);
    EXPECT_TRUE(found) << corner.x << " " << corner.y;
  }
  // A refit keeps the frame.
  outline->UpdateBoundingBox();
  ASSERT_NE(outline->box->frame, nullptr);
}

TEST(PolylineBoxCorner, DraggingPastTheAnchorKeepsTheFacesOutward) {
  PolylinePtr prism = HexPrism();
  SInt16 corner = 6;
  prism->box->SetArrayPointers();
  const Vector3d start = prism->box->vertices[corner];
  // Beyond the anchor corner 0 in x only: the solid turns over and must be turned outward again.
  const Vector3d past{-3, start.y, 2};
  prism->StretchToHandle(&corner, &start, nullptr, false);
  prism->StretchToHandle(&corner, &past, nullptr, true);
  const SInt16 top = 6, bottom = 7;
  prism->SetArrayPointers();
  EXPECT_GT(prism->faces[top].c, 0.99);
  EXPECT_LT(prism->faces[bottom].c, -0.99);
  // Every side's stored normal points away from the prism's axis.
  double lo[3], hi[3];
  prism->GetBounds(&lo[0], &lo[1], &lo[2], &hi[0], &hi[1], &hi[2]);
  const Vector3d centre{(lo[0] + hi[0]) / 2, (lo[1] + hi[1]) / 2, 1};
  for (SInt16 f = 0; f < 6; ++f) {
    prism->SetArrayPointers();
    const SInt16* loop = LoopEntries(prism->faces[f]);
    const Vector3d a = prism->vertices[loop[0]];
    const Vector3d out{a.x - centre.x, a.y - centre.y, 0};
    const Vector3d n{prism->faces[f].a, prism->faces[f].b, prism->faces[f].c};
    EXPECT_GT(VectorDot(&out, &n), 0) << f;
  }
}

TEST(PolylinePalette, ATypedPositionMovesTheObjectAndItsBox) {
  PolylinePtr prism = HexPrism();
  ASSERT_NE(prism->box, nullptr);
  ObjectInfoRecord typed;
  prism->box->GetReferencePoint(&typed.position);
  const Vector3d before = VertexAt(prism.get(), 0);
  typed.position.x += 5;
  prism->ProviderChanged(nullptr, kInfoMoved, &typed);
  ExpectNear(VertexAt(prism.get(), 0), {before.x + 5, before.y, before.z}, 1e-12);
  double lo[3], hi[3];
  prism->box->GetBounds(&lo[0], &lo[1], &lo[2], &hi[0], &hi[1], &hi[2]);
  EXPECT_NEAR(lo[0], 4, 1e-9);
  EXPECT_NEAR(hi[0], 6, 1e-9);
}

TEST(PolylineHandles, VertexEditingOfALoneSelectionBypassesTheBox) {
  modeltest::ShownPhase phase;
  modeltest::SelectionList selection;
  PolylinePtr prism = HexPrism();
  prism->phase = 1;
  prism->Select();
  const Vector3d to{0, 0, 5};
  prism->MoveVertex(6, &to, 0);  // vertex handles belong to the box
  EXPECT_NE(VertexAt(prism.get(), 6).z, 5);
  gVertexEditMode = 1;
  prism->MoveVertex(6, &to, 0);
  EXPECT_FALSE(prism->BoxEditing());
  gVertexEditMode = 0;
  ExpectNear(VertexAt(prism.get(), 6), to, 0);
  // A box-corner drag does nothing while vertex editing is on.
  gVertexEditMode = 1;
  const std::vector<Vector3d> before = modeltest::Vertices(prism.get());
  SInt16 corner = 6;
  const Vector3d far{9, 9, 9};
  prism->StretchToHandle(&corner, &far, nullptr, false);
  prism->StretchToHandle(&corner, &far, nullptr, true);
  gVertexEditMode = 0;
  EXPECT_EQ(modeltest::Vertices(prism.get()), before);
}

TEST(PolylineDrawing, TheRubberBandRunsFromTheLastPointToTheMouse) {
  modeltest::ShownPhase phase;
  CurrentWorld pane(200, 200);
  auto view = openingtest::ViewFrom({0, 0, 1}, {0, 0, 0});
  PolylinePtr outline(new VLPolyline);
  outline->InitStorage();
  outline->phase = 1;
  const Vector3d first{-1, -1, 0}, mouse{1, 1, 0};
  outline->BuildGeometry(nullptr, false, &first, -1, nullptr);
  outline->SetTrackPoint(&mouse);
  Rect update{0, -9999, 0, 0};
  outline->Draw(view.get(), &update);
  Vector3d a, b;
  view->ProjectPoint(&first, &a);
  view->ProjectPoint(&mouse, &b);
  // The band is drawn, and the first band also covers (0, 0), where no band ended before.
  const int midH = int((a.x + b.x) / 2), midV = int((a.y + b.y) / 2);
  EXPECT_NE(pane.At(midH, midV), kWhitePixel);
  EXPECT_EQ(update.left, 0);
  EXPECT_EQ(update.top, 0);
  EXPECT_GE(update.right, SInt16(std::max(a.x, b.x)));
  EXPECT_GE(update.bottom, SInt16(std::max(a.y, b.y)));
  EXPECT_FALSE(outline->changed);
}

}  // namespace
