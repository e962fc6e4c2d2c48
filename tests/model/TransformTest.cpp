#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "ModelTestSupport.h"

namespace {

using modeltest::BodyRecord;
using modeltest::BoxRecord;
using modeltest::DrawingRoles;
using modeltest::ExpectNear;
using modeltest::Normal;
using modeltest::NoticeRecorder;
using modeltest::PaletteStandIn;
using modeltest::ObjectPtr;
using modeltest::ReadObject;
using modeltest::VertexAt;
using modeltest::Vertices;
using modeltest::WorkingPlaneStandIn;

// The degree factor 0.017453292 is short of pi / 180: a quarter turn is off by 5e-8.
constexpr double kRounding = 1e-6;

// A point and a single triangle: what the rotation cases need.
ObjectPtr Marker(Vector3d at) {
  return ReadObject(BodyRecord({at, {at.x + 1, at.y, at.z}, {at.x, at.y + 1, at.z}}, {{0, 1, 2}}));
}

// A box whose faces all point out: each face's normal points away from the box's centre.
void ExpectOutward(VLUser3DObject* box, const std::string& what) {
  Vector3d centre;
  box->GetCentre(&centre);
  for (SInt16 f = 0; f < box->faceCount; ++f) {
    box->SetArrayPointers();
    const Vector3d n = Normal(box, f);
    EXPECT_LT(n.x * centre.x + n.y * centre.y + n.z * centre.z + box->faces[f].d, 0.0) << what << ", face " << f;
  }
}

TEST(Rotation, TurnsInTheDrawingPlane) {
  const struct {
    const char* what;
    SInt16 roles[3];
    double angle;
    Vector3d centre, from, to;
  } cases[] = {
      {"plan, a quarter turn", {0, 1, 2}, 90, {0, 0, 0}, {1, 0, 5}, {0, 1, 5}},
      {"plan, about a centre", {0, 1, 2}, 180, {2, 2, 9}, {3, 2, 5}, {1, 2, 5}},
      {"plan, backwards", {0, 1, 2}, -90, {0, 0, 0}, {1, 0, 5}, {0, -1, 5}},
      {"elevation x-z", {0, 2, 1}, 90, {0, 0, 0}, {1, 7, 0}, {0, 7, 1}},
  };
  for (const auto& c : cases) {
    DrawingRoles roles(c.roles[0], c.roles[1], c.roles[2]);
    ObjectPtr marker = Marker(c.from);
    marker->Rotate(c.angle, &c.centre);
    ExpectNear(VertexAt(marker.get(), 0), c.to, kRounding, c.what);
  }
}

TEST(Rotation, OnTheWorkingPlaneTurnsAboutThePlanesNormal) {
  // An upright plane through (0, 0, 0) facing -y: the centre is given in its coordinates.
  WorkingPlaneStandIn plane({0, 0, 0}, {1, 0, 0}, {0, 0, 1}, {0, -1, 0});
  DrawingRoles roles(0, 1, 2);
  ObjectPtr marker = Marker({1, 4, 0});
  const Vector3d centre{0, 0, 0};
  marker->Rotate(90, &centre);
  ExpectNear(VertexAt(marker.get(), 0), {0, 4, 1}, kRounding);
}

TEST(Rotation, AngleIsCorrectedOnceFromEachSide) {
  const struct {
    double start, turn, result;
  } cases[] = {{350, 20, 10}, {10, -30, 340}, {0, 720, 360}, {0, -360, 0}, {90, 270, 0}};
  for (const auto& c : cases) {
    ObjectPtr marker = Marker({1, 0, 0});
    marker->rotationAngle = c.start;
    const Vector3d centre{0, 0, 0};
    marker->Rotate(c.turn, &centre);
    EXPECT_DOUBLE_EQ(marker->rotationAngle, c.result) << c.start << " + " << c.turn;
  }
}

TEST(Rotation, FirstTurnMakesTheFrameFromTheDrawingAxesAndTurnsIt) {
  const struct {
    SInt16 roles[3];
    Vector3d x, y, z;
  } cases[] = {
      {{0, 1, 2}, {0, 1, 0}, {-1, 0, 0}, {0, 0, 1}},
      {{1, 2, 0}, {0, 0, 1}, {0, -1, 0}, {1, 0, 0}},
  };
  for (const auto& c : cases) {
    DrawingRoles roles(c.roles[0], c.roles[1], c.roles[2]);
    ObjectPtr marker = Marker({1, 0, 0});
    ASSERT_EQ(marker->frame, nullptr);
    const Vector3d centre{0, 0, 0};
    marker->Rotate(90, &centre);
    ASSERT_NE(marker->frame, nullptr);
    Vector3d x, y, z;
    marker->frame->GetAxes(&x, &y, &z);
    ExpectNear(x, c.x, kRounding);
    ExpectNear(y, c.y, kRounding);
    ExpectNear(z, c.z, kRounding);
    // The matrices are at the reference vertex.
    Vector3d local;
    const Vector3d reference = VertexAt(marker.get(), 0);
    marker->frame->ToLocal(&reference, &local);
    ExpectNear(local, {0, 0, 0}, 1e-12);
  }
}

TEST(Rotation, OnTheWorkingPlaneTheFrameTakesThePlanesAxes) {
  WorkingPlaneStandIn plane({7, 8, 9}, {0, 1, 0}, {0, 0, 1}, {1, 0, 0});
  ObjectPtr marker = Marker({1, 0, 0});
  marker->CreateFrame();
  ASSERT_NE(marker->frame, nullptr);
  Vector3d x, y, z;
  marker->frame->GetAxes(&x, &y, &z);
  ExpectNear(x, {0, 1, 0}, 1e-12);
  ExpectNear(y, {0, 0, 1}, 1e-12);
  ExpectNear(z, {1, 0, 0}, 1e-12);
}

TEST(PaletteNotices, MovesAndTurnsAreReportedWithTheObjectsRecord) {
  ObjectPtr box = ReadObject(BoxRecord({0, 0, 0}, {10, 4, 3}));
  box->phase = 3;
  box->materialId = 12;
  PaletteStandIn palette;
  palette.AttachToProvider(box.get());

  const Vector3d offset{1, 2, 3}, centre{1, 2, 3};
  box->Move(&offset);
  box->Rotate(30, &centre);
  ASSERT_EQ(palette.heard.size(), 2u);
  EXPECT_EQ(palette.heard[0].reason, 500);
  ExpectNear(palette.heard[0].record.position, {1, 2, 3}, 1e-12);
  ExpectNear(palette.heard[0].record.size, {10, 4, 3}, 1e-12);
  EXPECT_EQ(palette.heard[0].record.phase, 3);
  EXPECT_EQ(palette.heard[0].record.materialId, 12);
  EXPECT_EQ(palette.heard[0].record.name, "");
  EXPECT_EQ(palette.heard[1].reason, 501);
  EXPECT_DOUBLE_EQ(palette.heard[1].record.angle, 30.0);
  // Turned, the size is measured along the box's own edges.
  ExpectNear(palette.heard[1].record.size, {10, 4, 3}, 1e-9);
  palette.DetachFromProvider(box.get());
}

TEST(PaletteNotices, PaletteMovesTurnsAndResizesTheObject) {
  {
    // 500: the reference vertex goes to the typed position.
    ObjectPtr box = ReadObject(BoxRecord({0, 0, 0}, {10, 4, 3}));
    box->referenceVertex = 2;
    ObjectInfoRecord typed;
    typed.position = Vector3d{20, 20, 1};
    box->ProviderChanged(nullptr, 500, &typed);
    ExpectNear(VertexAt(box.get(), 2), {20, 20, 1}, 1e-12);
    ExpectNear(VertexAt(box.get(), 0), {10, 16, 1}, 1e-12);
  }
  {
    // 501: turns about the reference vertex by the difference and ends at the typed angle.
    ObjectPtr box = ReadObject(BoxRecord({0, 0, 0}, {10, 4, 3}));
    box->referenceVertex = 3;  // (10, 0, 0)
    box->rotationAngle = 30;
    ObjectInfoRecord typed;
    typed.angle = 45;
    box->ProviderChanged(nullptr, 501, &typed);
    EXPECT_DOUBLE_EQ(box->rotationAngle, 45.0);
    ExpectNear(VertexAt(box.get(), 3), {10, 0, 0}, 1e-12);
    const double r = 15 * 0.017453292;
    ExpectNear(VertexAt(box.get(), 0), {10 - 10 * std::cos(r), -10 * std::sin(r), 0}, 1e-12);
  }
  {
    // 505 on an unrotated box: x doubles about the reference vertex, which stays.
    ObjectPtr box = ReadObject(BoxRecord({0, 0, 0}, {10, 4, 3}));
    box->referenceVertex = 2;  // (10, 4, 0)
    ObjectInfoRecord typed;
    typed.size = Vector3d{20, 4, 3};
    box->ProviderChanged(nullptr, 505, &typed);
    ExpectNear(VertexAt(box.get(), 2), {10, 4, 0}, 1e-12);
    ExpectNear(VertexAt(box.get(), 0), {-10, 0, 0}, 1e-12);
    ExpectNear(VertexAt(box.get(), 6), {10, 4, 3}, 1e-12);
    ExpectOutward(box.get(), "resized");
  }
  {
    // 505 on a turned box resizes along its own edges.
    ObjectPtr box = ReadObject(BoxRecord({0, 0, 0}, {10, 4, 3}));
    const Vector3d origin{0, 0, 0};
    box->Rotate(30, &origin);
    ObjectInfoRecord typed;
    typed.size = Vector3d{20, 8, 3};
    box->ProviderChanged(nullptr, 505, &typed);
    Vector3d size, x, y, z;
    box->GetSize(&size, &x, &y, &z);
    ExpectNear(size, {20, 8, 3}, 1e-9);
    ExpectOutward(box.get(), "resized turned");
  }
  {
    // 505 on a flat rectangle: the face that faces +z is pushed up, nothing is scaled on z.
    ObjectPtr flat = ReadObject(BodyRecord({{0, 0, 0}, {0, 1, 0}, {2, 1, 0}, {2, 0, 0}}, {{0, 1, 2, 3}, {3, 2, 1, 0}}));
    SInt16 up = -1;
    for (SInt16 f = 0; f < flat->faceCount; ++f)
      if (Normal(flat.get(), f).z > 0.5) up = f;
    ASSERT_GE(up, 0);
    ObjectInfoRecord typed;
    typed.size = Vector3d{2, 1, 2};
    flat->ProviderChanged(nullptr, 505, &typed);
    for (SInt16 v : modeltest::Loop(flat.get(), up)) EXPECT_DOUBLE_EQ(VertexAt(flat.get(), v).z, 2.0);
  }
}

TEST(PaletteNotices, ResizingASkewedObjectScalesAlongItsEdges) {
  // A turned box sheared so that its edges at the reference vertex are no longer square: typing
  // the size it shows leaves it as it is, and doubling the width doubles that edge alone.
  DrawingRoles roles(0, 1, 2);
  ObjectPtr box = ReadObject(BoxRecord({0, 0, 0}, {10, 4, 3}));
  const Vector3d origin{0, 0, 0};
  box->Rotate(30, &origin);
  Matrix4d shear;
  SetIdentity4x4(&shear);
  shear.at(1, 0) = 0.5;   // x += y / 2
  shear.at(2, 1) = 0.25;  // y += z / 4
  box->TransformVertices(&shear);
  const std::vector<Vector3d> before = Vertices(box.get());

  ObjectInfoRecord typed;
  box->GetSize(&typed.size, nullptr, nullptr, nullptr);
  box->ProviderChanged(nullptr, 505, &typed);
  const std::vector<Vector3d> same = Vertices(box.get());
  for (std::size_t v = 0; v < before.size(); ++v) ExpectNear(same[v], before[v], 1e-9);

  // Vertex 3 ends the width edge, 1 the depth edge and 4 the height edge at vertex 0.
  typed.size.x *= 2;
  box->ProviderChanged(nullptr, 505, &typed);
  ExpectNear(VertexAt(box.get(), 3), {2 * before[3].x, 2 * before[3].y, 2 * before[3].z}, 1e-9);
  ExpectNear(VertexAt(box.get(), 1), before[1], 1e-9);
  ExpectNear(VertexAt(box.get(), 4), before[4], 1e-9);
}

TEST(PaletteNotices, OtherReasonsAndMissingRecordsChangeNothing) {
  ObjectPtr box = ReadObject(BoxRecord({0, 0, 0}, {10, 4, 3}));
  const std::vector<Vector3d> before = Vertices(box.get());
  ObjectInfoRecord typed;
  typed.position = Vector3d{5, 5, 5};
  typed.angle = 90;
  typed.size = Vector3d{1, 1, 1};
  for (long reason : {502L, 503L, 504L, 506L, 2001L}) box->ProviderChanged(nullptr, reason, &typed);
  for (long reason : {500L, 501L, 505L}) box->ProviderChanged(nullptr, reason, nullptr);
  EXPECT_EQ(Vertices(box.get()), before);
  EXPECT_EQ(box->rotationAngle, 0.0);
}

TEST(Flip, MirrorsWithinTheSameRangeAndKeepsFacesOutward) {
  // Codes 1, 2 and anything else flip x, z and y; with d the lower end and the extent as the
  // shift the box keeps its range.
  const struct {
    SInt16 code;
    SInt16 component;
  } cases[] = {{1, 0}, {2, 2}, {0, 1}, {7, 1}};
  for (const auto& c : cases) {
    ObjectPtr box = ReadObject(BoxRecord({0, 0, 0}, {10, 10, 10}));
    box->CreateDefaultFrame();
    box->referenceVertex = 0;
    // Move vertex 0 inside the range so that its mirror image is telling: 2 -> 8.
    box->SetArrayPointers();
    VectorComponent(box->vertices[0], c.component) = 2.0;
    box->GeometryChanged();
    box->Flip(c.code, 0.0, 10.0);
    const Vector3d moved = VertexAt(box.get(), 0);
    EXPECT_DOUBLE_EQ(VectorComponent(moved, c.component), 8.0) << c.code;
    // The frame's axis along the flipped component now points the other way, from the
    // mirrored reference point.
    Vector3d axes[3];
    box->frame->GetAxes(&axes[0], &axes[1], &axes[2]);
    EXPECT_DOUBLE_EQ(VectorComponent(axes[c.component], c.component), -1.0) << c.code;
    Vector3d local;
    box->frame->ToLocal(&moved, &local);
    ExpectNear(local, {0, 0, 0}, 1e-12);
    ObjectPtr unbent = ReadObject(BoxRecord({0, 0, 0}, {10, 10, 10}));
    unbent->Flip(c.code, 0.0, 10.0);
    ExpectOutward(unbent.get(), "flipped");
  }
}

TEST(Flip, APointBelowThePlaneIsMirroredToo) {
  ObjectPtr box = ReadObject(BoxRecord({-4, 0, 0}, {6, 1, 1}));
  box->Flip(1, 0.0, 0.0);
  double lo = 1e9, hi = -1e9;
  for (const Vector3d& p : Vertices(box.get())) {
    lo = std::fmin(lo, p.x);
    hi = std::fmax(hi, p.x);
  }
  EXPECT_DOUBLE_EQ(lo, -6.0);
  EXPECT_DOUBLE_EQ(hi, 4.0);
  ExpectOutward(box.get(), "mirrored across its middle");
}

TEST(Stretch, ScalesAboutTheAnchorAndPushesFlatAxes) {
  {
    // No frame: world factors about the anchor.
    ObjectPtr box = ReadObject(BoxRecord({0, 0, 0}, {10, 4, 3}));
    Vector3d anchor{0, 0, 0}, factors{2, 1, 0.5}, handle{10, 4, 3};
    box->Stretch(&anchor, &factors, &handle);
    ExpectNear(VertexAt(box.get(), 6), {20, 4, 1.5}, 1e-12);
    EXPECT_EQ(factors, (Vector3d{2, 1, 0.5})) << "arguments come back unchanged";
  }
  {
    // A flat rectangle, the handle level with the anchor on z: factor 3 is a distance.
    ObjectPtr flat = ReadObject(BodyRecord({{0, 0, 0}, {0, 1, 0}, {2, 1, 0}, {2, 0, 0}}, {{0, 1, 2, 3}, {3, 2, 1, 0}}));
    Vector3d anchor{0, 0, 0}, factors{1, 1, 3}, handle{2, 1, 0};
    flat->Stretch(&anchor, &factors, &handle);
    for (const Vector3d& p : Vertices(flat.get())) EXPECT_DOUBLE_EQ(p.z, 3.0);
  }
  {
    // A box turned a quarter turn stretches along its own edges: its width (world y now)
    // doubles when the handle is carried twice as far along the box's x.
    DrawingRoles roles(0, 1, 2);
    ObjectPtr box = ReadObject(BoxRecord({0, 0, 0}, {10, 4, 3}));
    const Vector3d origin{0, 0, 0};
    box->Rotate(90, &origin);
    Vector3d anchor = VertexAt(box.get(), 0), handle = VertexAt(box.get(), 6), factors{1, 2, 1};
    box->Stretch(&anchor, &factors, &handle);
    Vector3d size;
    box->GetSize(&size, nullptr, nullptr, nullptr);
    ExpectNear(size, {20, 4, 3}, 1e-6);
  }
}

TEST(MatrixTransform, LeavesPlanesStaleUntilGeometryChanged) {
  modeltest::ShownPhase shown;
  ObjectPtr box = ReadObject(BoxRecord({0, 0, 0}, {1, 1, 1}));
  box->changed = 0;
  const Vector3d top = Normal(box.get(), 4);
  // A quarter turn about x, as rows with the translation in column 3.
  Matrix4d m;
  SetIdentity4x4(&m);
  m.at(1, 1) = 0;
  m.at(1, 2) = -1;
  m.at(2, 1) = 1;
  m.at(2, 2) = 0;
  box->Transform(&m);
  EXPECT_EQ(Normal(box.get(), 4), top);
  EXPECT_TRUE(box->changed);
  box->GeometryChanged();
  ExpectNear(Normal(box.get(), 4), {0, -1, 0}, 1e-12);
}

TEST(FaceMode, OnlyTheCurrentFaceMoves) {
  Matrix4d lift;
  SetIdentity4x4(&lift);
  lift.at(3, 2) = 2;  // translation in row 3
  const struct {
    const char* what;
    void (*apply)(VLUser3DObject*, const Matrix4d*);
  } cases[] = {
      {"Move",
       [](VLUser3DObject* o, const Matrix4d*) {
         const Vector3d up{0, 0, 2};
         o->Move(&up);
       }},
      {"ScaleAbout",
       [](VLUser3DObject* o, const Matrix4d*) {
         const Vector3d centre{0, 0, -1}, factors{1, 1, 2};
         o->ScaleAbout(&centre, &factors);
       }},
      {"TransformVertices", [](VLUser3DObject* o, const Matrix4d* m) { o->TransformVertices(m); }},
  };
  for (const auto& c : cases) {
    ObjectPtr box = ReadObject(BoxRecord({0, 0, 0}, {1, 1, 1}));
    NoticeRecorder palette, other;
    palette.AttachToProvider(box.get());
    other.AttachToProvider(box.get());
    box->faceMode = 1;
    box->currentFace = 4;  // the top
    c.apply(box.get(), &lift);
    const std::vector<Vector3d> after = Vertices(box.get());
    for (SInt16 v = 0; v < 4; ++v) EXPECT_DOUBLE_EQ(after[std::size_t(v)].z, 0.0) << c.what;
    for (SInt16 v = 4; v < 8; ++v) EXPECT_DOUBLE_EQ(after[std::size_t(v)].z, 3.0) << c.what;
    ExpectOutward(box.get(), c.what);
    if (c.what == std::string("Move")) {
      // MoveFace tells every dependent, with only the position filled in.
      for (const NoticeRecorder* heard : {&palette, &other}) {
        ASSERT_EQ(heard->heard.size(), 1u);
        EXPECT_EQ(heard->heard[0].reason, 500);
        EXPECT_EQ(heard->heard[0].record.position, (Vector3d{0, 0, 0}));
        EXPECT_EQ(heard->heard[0].record.size, (Vector3d{0, 0, 0}));
      }
    }
    palette.DetachFromProvider(box.get());
    other.DetachFromProvider(box.get());
  }
}

TEST(ObjectSize, TurnedObjectsMeasureTheirEdgesAtTheReferenceVertex) {
  DrawingRoles roles(0, 1, 2);
  ObjectPtr box = ReadObject(BoxRecord({0, 0, 0}, {10, 4, 3}));
  const Vector3d origin{0, 0, 0};
  box->Rotate(90, &origin);
  Vector3d size, x, y, z;
  box->GetSize(&size, &x, &y, &z);
  ExpectNear(size, {10, 4, 3}, 1e-6);
  ExpectNear(x, {0, 1, 0}, kRounding);
  ExpectNear(y, {-1, 0, 0}, kRounding);
  ExpectNear(z, {0, 0, 1}, 1e-12);

  // A lone flat triangle: of its two edges at the reference vertex, neither rising, the first is
  // the height and the other the width; there is no depth.
  ObjectPtr marker = Marker({0, 0, 0});
  marker->rotationAngle = 10;
  marker->GetSize(&size, &x, &y, &z);
  EXPECT_DOUBLE_EQ(size.x, 1.0);
  EXPECT_DOUBLE_EQ(size.y, 0.0);
  EXPECT_DOUBLE_EQ(size.z, 1.0);
}

TEST(ObjectFrame, SetAndGetKeepOneOwnedFrame) {
  ObjectPtr box = ReadObject(BoxRecord({1, 2, 3}, {2, 3, 4}));
  box->CreateDefaultFrame();
  CObjectTransformer* made = box->frame;
  box->CreateDefaultFrame();
  EXPECT_EQ(box->frame, made) << "an existing frame is kept";
  CObjectTransformer* out = nullptr;
  box->GetFrame(&out);
  ASSERT_EQ(out, made);
  Vector3d local;
  const Vector3d corner{1, 2, 3};
  out->ToLocal(&corner, &local);
  ExpectNear(local, {0, 0, 0}, 1e-12);
  box->SetFrame(nullptr);  // disposes of the old frame: the sanitizer sees no leak
  box->GetFrame(&out);
  EXPECT_EQ(out, nullptr);
}

}  // namespace
