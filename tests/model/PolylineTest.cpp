// Polylines: drawing point by point, extruding and flattening, the handle box rule, cuts across
// an extrusion's height, pick rays, the palette, DXF text; the shapes drawn with one drag and
// polyhedra from meshes.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "CArc.h"
#include "CBoundingBox.h"
#include "CCylinder.h"
#include "CPolyhedron.h"
#include "CRectangle.h"
#include "Events.h"
#include "Memory.h"
#include "ObjectInfoRecord.h"
#include "OpeningTestSupport.h"
#include "TempFolder.h"

namespace {

using modeltest::ExpectNear;
using modeltest::ObjectDeleter;
using modeltest::VertexAt;
using PolylinePtr = std::unique_ptr<VLPolyline, ObjectDeleter>;

// A view pane stand-in whose snapping distance is 1.
double SnapOfOne(VLViewPane*) { return 1.0; }
struct SnapDistance {
  SnapDistance() { gPaneSnapDistance = SnapOfOne; }
  ~SnapDistance() { gPaneSnapDistance = nullptr; }
};
VLViewPane* const kPane = reinterpret_cast<VLViewPane*>(&gVertexEditMode);

// An outline drawn through the points (the first pressed, the others clicked), then finished.
PolylinePtr Drawn(const std::vector<Vector3d>& points, bool close = false) {
  PolylinePtr outline(new VLPolyline);
  outline->InitStorage();
  for (std::size_t i = 0; i < points.size(); ++i) outline->BuildGeometry(nullptr, i > 0, &points[i], -1, kPane);
  if (close) outline->closed = 1;
  outline->BuildOutlineEdges(false);
  return outline;
}

std::vector<Vector3d> Square(double side) { return {{0, 0, 0}, {side, 0, 0}, {side, side, 0}, {0, side, 0}}; }

std::vector<Vector3d> Polygon(int n) {
  std::vector<Vector3d> points;
  for (int i = 0; i < n; ++i) points.push_back({std::cos(6.283185307 * i / n), std::sin(6.283185307 * i / n), 0});
  return points;
}

TEST(PolylineDrawing, ClosesNearTheFirstPointSkipsRepeatsAndGrows) {
  SnapDistance snap;
  // Within 0.49 of the first point with three points: closed, no vertex added.
  PolylinePtr three = Drawn({{0, 0, 0}, {4, 0, 0}, {4, 4, 0}, {0.48, 0.1, 0}});
  EXPECT_TRUE(three->closed);
  EXPECT_EQ(three->vertexCount, 3);
  EXPECT_EQ(three->edgeCount, 3);
  // With two points such a click is an ordinary point; 0.5 away is no closing either.
  PolylinePtr two = Drawn({{0, 0, 0}, {4, 0, 0}, {0.48, 0, 0}});
  EXPECT_FALSE(two->closed);
  EXPECT_EQ(two->vertexCount, 3);
  PolylinePtr far = Drawn({{0, 0, 0}, {4, 0, 0}, {4, 4, 0}, {0.49, 0, 0}});
  EXPECT_FALSE(far->closed);
  // A click within 0.00001 of the last point adds nothing.
  PolylinePtr repeat = Drawn({{0, 0, 0}, {4, 0, 0}, {4, 0.000005, 0}});
  EXPECT_EQ(repeat->vertexCount, 2);
  // The eleventh point grows the store by 10; one point finishes without edges.
  std::vector<Vector3d> eleven;
  for (int i = 0; i < 11; ++i) eleven.push_back({double(i), double(i % 2), 0});
  PolylinePtr long_ = Drawn(eleven);
  EXPECT_EQ(long_->vertexCount, 11);
  EXPECT_EQ(long_->vertexCapacity, 20);
  EXPECT_EQ(long_->edgeCount, 10);
  PolylinePtr one = Drawn({{1, 1, 1}});
  EXPECT_EQ(one->edgeCount, 0);
}

TEST(PolylineExtrusion, CountsOfTheSolidOrNothing) {
  const struct {
    const char* what;
    std::vector<Vector3d> points;
    bool close;
    SInt16 vertices, edges, faces;
    SInt16 type;
  } cases[] = {
      {"open triangle", {{0, 0, 0}, {2, 0, 0}, {0, 2, 0}}, false, 6, 9, 5, kObjectTypeExtrusion},
      {"closed square", Square(2), true, 8, 12, 6, kObjectTypeExtrusion},
      {"open pentagon", Polygon(5), false, 10, 15, 7, kObjectTypeExtrusion},
      {"two points: a panel", {{0, 0, 0}, {3, 0, 0}}, false, 4, 4, 2, kObjectTypeExtrusion},
      {"one point: unchanged", {{1, 1, 0}}, false, 1, 0, 0, kObjectTypePolyline},
      {"no point: unchanged", {}, false, 0, 0, 0, kObjectTypePolyline},
  };
  for (const auto& c : cases) {
    PolylinePtr outline = Drawn(c.points, c.close);
    outline->Extrude(2.0);
    EXPECT_EQ(outline->vertexCount, c.vertices) << c.what;
    EXPECT_EQ(outline->edgeCount, c.edges) << c.what;
    EXPECT_EQ(outline->faceCount, c.faces) << c.what;
    EXPECT_EQ(outline->typeCode, c.type) << c.what;
    // A second extrusion changes nothing.
    const std::vector<Vector3d> before = modeltest::Vertices(outline.get());
    outline->Extrude(5.0);
    EXPECT_EQ(modeltest::Vertices(outline.get()), before) << c.what;
  }
  // The panel's two faces face opposite ways.
  PolylinePtr panel = Drawn({{0, 0, 0}, {3, 0, 0}});
  panel->Extrude(2.0);
  panel->SetArrayPointers();
  EXPECT_NEAR(panel->faces[0].b, -panel->faces[1].b, 1e-12);
  EXPECT_NEAR(std::fabs(panel->faces[0].b), 1, 1e-12);
}

TEST(PolylineExtrusion, FacesPointOutAboveAndBelowTheOutline) {
  for (double height : {2.0, -2.0}) {
    PolylinePtr prism = Drawn(Square(2), true);
    prism->Extrude(height);
    const SInt16 top = SInt16(prism->faceCount - 2), bottom = SInt16(prism->faceCount - 1);
    const double up = height > 0 ? 1 : -1;
    ExpectNear(modeltest::Normal(prism.get(), top), {0, 0, up}, 1e-12);
    ExpectNear(modeltest::Normal(prism.get(), bottom), {0, 0, -up}, 1e-12);
    for (SInt16 f = 0; f < 4; ++f) {
      prism->SetArrayPointers();
      const Vector3d stored{prism->faces[f].a, prism->faces[f].b, prism->faces[f].c};
      ExpectNear(stored, modeltest::Normal(prism.get(), f), 1e-12);
    }
  }
}

TEST(PolylineExtrusion, FlatteningRestoresTheOutlineAndKeepsTheOpeningsForTheUndo) {
  modeltest::ShownPhase phase;
  PolylinePtr wall = Drawn({{0, 0, 0}, {10, 0, 0}, {10, 1, 0}, {0, 1, 0}}, true);
  wall->Extrude(3.0);
  // A window in the wall's front (y = 0), as the opening tool places it.
  ASSERT_NE(openingtest::PlaceOpening(wall.get(), 0, {{{2, 0, 1}, {4, 0, 1}, {4, 0, 2.5}, {2, 0, 2.5}}}), nullptr);
  ASSERT_EQ(wall->Openings().size(), 1u);
  wall->Flatten();
  EXPECT_EQ(wall->typeCode, kObjectTypePolyline);
  EXPECT_TRUE(wall->closed);
  EXPECT_EQ(wall->vertexCount, 4);
  EXPECT_EQ(wall->edgeCount, 4);
  EXPECT_EQ(wall->faceCount, 0);
  EXPECT_TRUE(wall->Openings().empty());
  EXPECT_EQ(wall->RemovedOpenings().size(), 1u);
  for (SInt16 i = 0; i < 4; ++i) EXPECT_EQ(VertexAt(wall.get(), i).z, 0);
  // Flattening an outline changes nothing.
  const std::vector<Vector3d> before = modeltest::Vertices(wall.get());
  wall->Flatten();
  EXPECT_EQ(modeltest::Vertices(wall.get()), before);
}

TEST(PolylineBox, WhichOutlinesCarryAHandleBox) {
  const struct {
    const char* what;
    std::vector<Vector3d> points;
    bool close;
    bool extrude;
    bool box;
  } cases[] = {
      {"closed quadrilateral", Square(1), true, false, false},
      {"closed pentagon", Polygon(5), true, false, true},
      {"open chain of four", Square(1), false, false, true},
      {"open chain of three", {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}}, false, false, false},
      {"cube-like prism", Square(1), true, true, false},
      {"pentagonal prism", Polygon(5), true, true, true},
  };
  for (const auto& c : cases) {
    PolylinePtr outline = Drawn(c.points, c.close);
    if (c.extrude) outline->Extrude(1.0);
    EXPECT_EQ(outline->box != nullptr, c.box) << c.what;
  }
  // The pentagonal prism's box shows edge handles on the caps' faces.
  PolylinePtr prism = Drawn(Polygon(5), true);
  prism->Extrude(1.0);
  ASSERT_NE(prism->box, nullptr);
  EXPECT_TRUE(prism->box->edgeHandlesShown);
  EXPECT_EQ(prism->bottomCap, 6);
  EXPECT_EQ(prism->topCap, 5);
}

TEST(PolylineBox, ACornerPulledOffTheFlatOutlineExtrudesIt) {
  PolylinePtr outline = Drawn(Polygon(5), true);
  ASSERT_NE(outline->box, nullptr);
  SInt16 corner = 2;
  outline->box->SetArrayPointers();
  const Vector3d start = outline->box->vertices[corner];
  const Vector3d up{start.x, start.y, 1.5};
  outline->StretchToHandle(&corner, &start, nullptr, false);
  outline->StretchToHandle(&corner, &up, nullptr, true);
  EXPECT_EQ(outline->typeCode, kObjectTypeExtrusion);
  double lo[3], hi[3];
  outline->GetBounds(&lo[0], &lo[1], &lo[2], &hi[0], &hi[1], &hi[2]);
  EXPECT_NEAR(hi[2], 1.5, 1e-12);
  EXPECT_NEAR(lo[2], 0, 1e-12);
}

TEST(PolylineBox, TypingAHeightForAFlatOutlineExtrudesIt) {
  PolylinePtr outline = Drawn(Square(2), true);
  ObjectInfoRecord typed;
  outline->GetReferencePoint(&typed.position);
  typed.size = Vector3d{2, 2, 3};
  outline->ProviderChanged(nullptr, kInfoResized, &typed);
  EXPECT_EQ(outline->typeCode, kObjectTypeExtrusion);
  double lo[3], hi[3];
  outline->GetBounds(&lo[0], &lo[1], &lo[2], &hi[0], &hi[1], &hi[2]);
  EXPECT_NEAR(hi[2] - lo[2], 3, 1e-9);
  EXPECT_NEAR(hi[0] - lo[0], 2, 1e-9);
}

TEST(PolylineCut, ACutAcrossTheSidesGivesTwoExtrusionsWithCapsInThePlane) {
  PolylinePtr prism = Drawn(Polygon(6), true);
  prism->Extrude(3.0);
  const Vector3d up{0, 0, 1};
  VLArray below(VLArray::kPointerSize), above(VLArray::kPointerSize);
  ASSERT_TRUE(prism->SplitAcross(&up, -1.0, &below, &above));
  ASSERT_EQ(below.GetNumItems(), 1);
  ASSERT_EQ(above.GetNumItems(), 1);
  PolylinePtr low(static_cast<VLPolyline*>(below.PointerAt(1)));
  PolylinePtr high(static_cast<VLPolyline*>(above.PointerAt(1)));
  for (SInt16 i = 0; i < 6; ++i) {
    EXPECT_NEAR(VertexAt(low.get(), SInt16(6 + i)).z, 1, 1e-12);  // the low piece's top cap
    EXPECT_NEAR(VertexAt(high.get(), i).z, 1, 1e-12);           // the high piece's bottom cap
    EXPECT_NEAR(VertexAt(high.get(), SInt16(6 + i)).z, 3, 1e-12);
  }
  EXPECT_EQ(low->typeCode, kObjectTypeExtrusion);
  // The prism itself is not changed; a plane through the caps is left to the general cut.
  EXPECT_NEAR(VertexAt(prism.get(), 6).z, 3, 1e-12);
  const Vector3d across{1, 0, 0};
  VLArray none(VLArray::kPointerSize), none2(VLArray::kPointerSize);
  EXPECT_FALSE(prism->SplitAcross(&across, 0.0, &none, &none2));
  EXPECT_EQ(none.GetNumItems() + none2.GetNumItems(), 0);
}

TEST(PolylineCut, OpeningsGoToThePieceThatHoldsThemAndNoneIsLeftOver) {
  modeltest::ShownPhase phase;
  // A wall of five corners (so that it has its handle box and caps), its front in two faces.
  PolylinePtr wall = Drawn({{0, 0, 0}, {5, 0, 0}, {10, 0, 0}, {10, 1, 0}, {0, 1, 0}}, true);
  wall->Extrude(3.0);
  ASSERT_NE(openingtest::PlaceOpening(wall.get(), 0, {{{1, 0, 0.2}, {2, 0, 0.2}, {2, 0, 0.8}, {1, 0, 0.8}}}), nullptr);
  ASSERT_NE(openingtest::PlaceOpening(wall.get(), 1, {{{6, 0, 1}, {8, 0, 1}, {8, 0, 2.5}, {6, 0, 2.5}}}), nullptr);
  ASSERT_EQ(wall->Openings().size(), 2u);
  const long handles = PortLiveHandleCount();
  {
    const Vector3d up{0, 0, 1};
    VLArray below(VLArray::kPointerSize), above(VLArray::kPointerSize);
    ASSERT_TRUE(wall->SplitAcross(&up, -2.0, &below, &above));
    PolylinePtr low(static_cast<VLPolyline*>(below.PointerAt(1)));
    PolylinePtr high(static_cast<VLPolyline*>(above.PointerAt(1)));
    // The low window lies wholly below the cut; the other crosses it and fits neither piece.
    EXPECT_EQ(low->Openings().size(), 1u);
    EXPECT_EQ(high->Openings().size(), 0u);
    EXPECT_EQ(wall->Openings().size(), 2u);
  }
  EXPECT_EQ(PortLiveHandleCount(), handles);
}

TEST(PolylinePicking, ARayMeetsTheNearestOutlineSegment) {
  // The square's sides at y = 0 and y = 2 pass under a vertical ray at x = 1, y = -1: the
  // closest approach counts (the caller's pane rectangle test stands for the distance).
  PolylinePtr outline = Drawn(Square(2), true);
  const Vector3d origin{1, -1, 5}, down{0, 0, -1}, up{0, 0, 1};
  SInt16 face = 7;
  double distance = 1e30;
  EXPECT_TRUE(outline->IntersectRay(&face, &distance, &origin, &down, nullptr));
  EXPECT_EQ(face, -1);
  EXPECT_NEAR(distance, 5, 1e-9);
  // Nothing behind the origin, and nothing beyond the best distance so far.
  distance = 1e30;
  EXPECT_FALSE(outline->IntersectRay(&face, &distance, &origin, &up, nullptr));
  distance = 4;
  EXPECT_FALSE(outline->IntersectRay(&face, &distance, &origin, &down, nullptr));
}

// ---- DXF ----

TEST(PolylineDxf, AClosedTriangleIsOnePolylineInInchesWithYReversed) {
  modeltest::ShownPhase phase;
  PolylinePtr triangle = Drawn({{0, 0, 0}, {1, 0, 0.5}, {0, 2, 0}}, true);
  triangle->phase = 1;
  const std::string text = modeltest::WrittenText([&](std::FILE* file) { triangle->WriteDXFFaces(file); });
  const std::string layer = triangle->LayerNameOfPhase(1);
  EXPECT_EQ(text, "0\nPOLYLINE\n66\n1\n8\n" + layer +
                      "\n70\n1\n"
                      "0\nVERTEX\n8\n0\n10\n0.000\n20\n-0.000\n30\n0.000\n70\n32\n"
                      "0\nVERTEX\n8\n0\n10\n12.000\n20\n-0.000\n30\n6.000\n70\n32\n"
                      "0\nVERTEX\n8\n0\n10\n0.000\n20\n-24.000\n30\n0.000\n70\n32\n"
                      "0\nSEQEND\n");
  const std::string outline = modeltest::WrittenText([&](std::FILE* file) { triangle->WriteDXFOutline(file); });
  EXPECT_NE(outline.find("10\n12.000\n20\n-0.000\n30\n0.000\n"), std::string::npos);
  // An open one says 0 in its header; a flat outline writes no Radiance.
  PolylinePtr open = Drawn({{0, 0, 0}, {1, 0, 0}}, false);
  open->phase = 1;
  EXPECT_NE(modeltest::WrittenText([&](std::FILE* file) { open->WriteDXFFaces(file); }).find("\n70\n0\n"),
            std::string::npos);
  EXPECT_EQ(modeltest::WrittenText([&](std::FILE* file) {
              open->WriteRadiance(file, file, nullptr, nullptr, "x", nullptr);
            }),
            "");

  if (!modeltest::IndependentDxfReaderPresent()) GTEST_SKIP() << "python3-ezdxf is not installed";
  const std::vector<modeltest::DxfEntityRead> read = modeltest::ReadWithIndependentDxfReader(text);
  ASSERT_FALSE(read.empty());
  const std::string line = read[0].type + " " + std::to_string(read[0].closed) + " " + read[0].points;
  EXPECT_EQ(line, "POLYLINE 1 0.000 -0.000 0.000;12.000 -0.000 6.000;0.000 -24.000 0.000");
}

// ---- Shapes drawn with one drag ----

template <class Shape>
std::unique_ptr<Shape, ObjectDeleter> DragShape(Shape* shape, const Vector3d& from, const Vector3d& to) {
  std::unique_ptr<Shape, ObjectDeleter> held(shape);
  shape->BuildGeometry(nullptr, false, &from, -1, nullptr);
  shape->BuildGeometry(nullptr, true, &to, -1, nullptr);
  return held;
}

TEST(DraggedShapes, RectanglesAndCylindersGiveTheirCorners) {
  auto* rectangle = new CRectangle;
  rectangle->InitRectangle();
  auto r = DragShape(rectangle, {0, 0, 1}, {2, 3, 1});
  const Vector3d corners[4] = {{0, 0, 1}, {2, 0, 1}, {2, 3, 1}, {0, 3, 1}};
  for (SInt16 i = 0; i < 4; ++i) ExpectNear(VertexAt(r.get(), i), corners[i], 1e-12);
  EXPECT_TRUE(r->closed);
  EXPECT_EQ(r->edgeCount, 4);

  // Four facets: the dragged square, vertex 0 at the corner (m + h, m + h).
  auto* square = new CCylinder;
  square->InitCylinder(4);
  auto s = DragShape(square, {0, 0, 0}, {2, 2, 0});
  const Vector3d squareCorners[4] = {{2, 2, 0}, {0, 2, 0}, {0, 0, 0}, {2, 0, 0}};
  for (SInt16 i = 0; i < 4; ++i) ExpectNear(VertexAt(s.get(), i), squareCorners[i], 1e-7);

  // A drag of (4, 1) uses the square of side 1.
  auto* narrow = new CCylinder;
  narrow->InitCylinder(4);
  auto n = DragShape(narrow, {0, 0, 0}, {4, 1, 0});
  double lo[3], hi[3];
  n->GetBounds(&lo[0], &lo[1], &lo[2], &hi[0], &hi[1], &hi[2]);
  EXPECT_NEAR(hi[0] - lo[0], 1, 1e-7);
  EXPECT_NEAR(lo[0], 0, 1e-7);

  // Eight facets: an octagon whose sides touch the inscribed circle of radius 1.
  auto* octagon = new CCylinder;
  octagon->InitCylinder(8);
  auto o = DragShape(octagon, {0, 0, 0}, {2, 2, 0});
  for (SInt16 i = 0; i < 8; ++i) {
    const Vector3d a = VertexAt(o.get(), i), b = VertexAt(o.get(), SInt16((i + 1) % 8));
    const Vector3d mid{(a.x + b.x) / 2 - 1, (a.y + b.y) / 2 - 1, 0};
    EXPECT_NEAR(VectorLength(&mid), 1, 1e-7) << i;
  }

  // A drag that ends where it began leaves every vertex at the press point.
  auto* still = new CCylinder;
  still->InitCylinder(6);
  auto z = DragShape(still, {1, 1, 0}, {1, 1, 0});
  for (const Vector3d& v : modeltest::Vertices(z.get())) ExpectNear(v, {1, 1, 0}, 1e-12);
}

TEST(DraggedShapes, AnArcWithShiftIsCircular) {
  vlui::ResetEvents();
  vlui::SetModifiers(shiftKey);
  auto* arc = new CArc;
  arc->InitArc(6);
  auto a = DragShape(arc, {0, 0, 0}, {3, 1, 0});
  vlui::SetModifiers(0);
  EXPECT_EQ(a->vertexCount, 8);
  for (SInt16 i = 0; i <= 6; ++i) {
    const Vector3d v = VertexAt(a.get(), i);
    EXPECT_NEAR(VectorLength(&v), 1, 1e-9) << i;
  }
  ExpectNear(VertexAt(a.get(), 7), {0, 0, 0}, 0);
  // Without Shift the arc is a quarter ellipse from (3, 0) to (0, 1).
  auto* ellipse = new CArc;
  ellipse->InitArc(6);
  auto e = DragShape(ellipse, {0, 0, 0}, {3, 1, 0});
  ExpectNear(VertexAt(e.get(), 0), {3, 0, 0}, 1e-9);
  ExpectNear(VertexAt(e.get(), 6), {0, 1, 0}, 1e-9);
}

TEST(DraggedShapes, FacetingIsHeldToItsRange) {
  for (const auto& [asked, kept] : {std::pair<SInt16, SInt16>{2, 3}, {0, 3}, {-5, 3}, {32000, 10920}, {16, 16}}) {
    CCylinder cylinder;
    cylinder.InitCylinder(asked);
    EXPECT_EQ(cylinder.segmentCount, kept);
    CArc arc;
    arc.InitArc(asked);
    EXPECT_EQ(arc.vertexCount, kept + 2);
  }
}

// ---- Polyhedra ----

TEST(Polyhedra, MeshesHaveTheirCounts) {
  const struct {
    SInt16 m, n;
    UInt8 closed;
    SInt16 edges, faces;
  } cases[] = {{2, 3, 0, 7, 4}, {2, 3, 1, 10, 8}, {3, 1, 0, 2, 0}, {1, 4, 0, 3, 0}};
  for (const auto& c : cases) {
    std::vector<Vector3d> points;
    for (int r = 0; r < c.m; ++r)
      for (int k = 0; k < c.n; ++k) points.push_back({double(k), double(r), double(r * k % 2)});
    PolylinePtr mesh(new CPolyhedron);
    static_cast<CPolyhedron*>(mesh.get())->InitStorage();
    static_cast<CPolyhedron*>(mesh.get())->BuildMesh(c.m, c.n, points.data(), c.closed);
    EXPECT_EQ(mesh->vertexCount, c.m * c.n);
    EXPECT_EQ(mesh->edgeCount, c.edges) << c.m << "x" << c.n;
    EXPECT_EQ(mesh->faceCount, c.faces) << c.m << "x" << c.n;
    EXPECT_EQ(mesh->typeCode, kObjectTypePolyhedron);
    EXPECT_TRUE(mesh->extruded);
  }
  PolylinePtr made(NewPolyhedron(8, 8, 12, 6));
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(made->vertexCount, 8);
  EXPECT_EQ(made->typeCode, kObjectTypePolyhedron);
}

}  // namespace
