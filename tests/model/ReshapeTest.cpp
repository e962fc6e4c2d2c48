#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "Memory.h"
#include "ModelTestSupport.h"

namespace {

using modeltest::BodyRecord;
using modeltest::BoxRecord;
using modeltest::DrawingRoles;
using modeltest::ExpectNear;
using modeltest::ObjectPtr;
using modeltest::ReadObject;
using modeltest::VertexAt;
using modeltest::Vertices;

SInt16 EdgeBetween(VLUser3DObject* object, SInt16 a, SInt16 b) {
  object->SetArrayPointers();
  for (SInt16 e = 0; e < object->edgeCount; ++e) {
    const EdgeRecord& edge = object->edges[e];
    if ((edge.a == a && edge.b == b) || (edge.a == b && edge.b == a)) return e;
  }
  ADD_FAILURE() << "no edge " << a << "-" << b;
  return 0;
}

void SelectFace(VLUser3DObject* object, SInt16 face) {
  object->faceMode = 1;
  object->currentFace = face;
}

bool AllFinite(VLUser3DObject* object) {
  for (const Vector3d& p : Vertices(object))
    if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) return false;
  return true;
}

// Box faces (BoxRecord): 0 x = lo, 1 y = hi, 2 x = hi, 3 y = lo, 4 top, 5 bottom.
constexpr SInt16 kSideXLo = 0, kSideYLo = 3, kTop = 4, kBottom = 5;

TEST(VertexDrag, KeepsAFaceModeVertexInItsFace) {
  const struct {
    const char* what;
    SInt16 roles[3];
    SInt16 face;  // -1: outside face mode
    SInt16 vertex;
    Vector3d target, expected;
  } cases[] = {
      {"free vertex takes the position", {0, 1, 2}, -1, 4, {3, -2, 7}, {3, -2, 7}},
      {"plan, depth-only drag off a level top", {0, 1, 2}, kTop, 4, {0, 0, 6}, {0, 0, 1}},
      {"plan, upright face: back along its normal", {0, 1, 2}, kSideXLo, 0, {3, 2, 0}, {0, 2, 0}},
      {"plan, within the top", {0, 1, 2}, kTop, 4, {0.5, 0.25, 1}, {0.5, 0.25, 1}},
      {"elevation, depth drag slides within the top", {0, 2, 1}, kTop, 4, {0, 5, 1}, {0, 5, 1}},
      {"plan, off the top: back in depth", {0, 1, 2}, kTop, 4, {1, 1, 4}, {1, 1, 1}},
      {"elevation, off the top: back along its normal", {0, 2, 1}, kTop, 4, {2, 0, 4}, {2, 0, 1}},
  };
  for (const auto& c : cases) {
    DrawingRoles roles(c.roles[0], c.roles[1], c.roles[2]);
    ObjectPtr box = ReadObject(BoxRecord({0, 0, 0}, {1, 1, 1}));
    if (c.face >= 0) SelectFace(box.get(), c.face);
    box->MoveVertex(c.vertex, &c.target, 0);
    ExpectNear(VertexAt(box.get(), c.vertex), c.expected, 1e-12, c.what);
  }
}

TEST(EdgeDrag, MovesAnEdgeAcrossItself) {
  const struct {
    const char* what;
    SInt16 face;  // -1: outside face mode
    SInt16 a, b;
    Vector3d offset, applied;
  } cases[] = {
      {"along x, dragged in plan", -1, 0, 3, {4, 3, 0}, {0, 3, 0}},
      {"along x, dragged in depth too", -1, 0, 3, {4, 3, 2}, {0, 3, 2}},
      {"in the top face", kTop, 4, 7, {4, 3, 5}, {0, 3, 0}},
      {"in the top face, no offset", kTop, 4, 7, {0, 0, 0}, {0, 0, 0}},
  };
  for (const auto& c : cases) {
    DrawingRoles roles(0, 1, 2);
    ObjectPtr box = ReadObject(BoxRecord({0, 0, 0}, {10, 4, 3}));
    if (c.face >= 0) SelectFace(box.get(), c.face);
    const Vector3d a = VertexAt(box.get(), c.a), b = VertexAt(box.get(), c.b);
    Vector3d offset = c.offset;
    box->MoveEdge(EdgeBetween(box.get(), c.a, c.b), &offset, 0);
    ExpectNear(offset, c.applied, 1e-12, c.what);
    ExpectNear(VertexAt(box.get(), c.a), {a.x + c.applied.x, a.y + c.applied.y, a.z + c.applied.z}, 1e-12, c.what);
    ExpectNear(VertexAt(box.get(), c.b), {b.x + c.applied.x, b.y + c.applied.y, b.z + c.applied.z}, 1e-12, c.what);
  }
}

TEST(EdgeDrag, AnEdgeOfZeroLengthStaysPut) {
  // A wedge whose top edge has collapsed into a point: vertices 3 and 4 coincide.
  ObjectPtr wedge = ReadObject(BodyRecord({{0, 0, 0}, {2, 0, 0}, {1, 2, 0}, {1, 1, 3}, {1, 1, 3}},
                                          {{0, 3, 4, 1}, {1, 4, 2}, {2, 3, 0}, {2, 1, 0}, {2, 4, 3}}));
  for (UInt8 faceMode : {0, 1}) {
    wedge->faceMode = faceMode;
    wedge->currentFace = 0;
    const std::vector<Vector3d> before = Vertices(wedge.get());
    Vector3d offset{4, 3, 1};
    wedge->MoveEdge(EdgeBetween(wedge.get(), 3, 4), &offset, 0);
    EXPECT_EQ(offset, (Vector3d{0, 0, 0}));
    EXPECT_EQ(Vertices(wedge.get()), before);
  }
}

TEST(PushFace, MovesTheFaceThatFacesTheOffset) {
  {
    ObjectPtr box = ReadObject(BoxRecord({0, 0, 0}, {1, 1, 1}));
    SInt16 onBottom = 0, onTop = 6;
    const Vector3d up{0, 0, 2};
    box->PushFace(&up, &onBottom);
    box->PushFace(&up, &onTop);
    for (SInt16 v = 4; v < 8; ++v) EXPECT_DOUBLE_EQ(VertexAt(box.get(), v).z, 5.0);
    for (SInt16 v = 0; v < 4; ++v) EXPECT_DOUBLE_EQ(VertexAt(box.get(), v).z, 0.0);
    EXPECT_EQ(onBottom, 0);
    EXPECT_EQ(onTop, 6);
    EXPECT_DOUBLE_EQ(modeltest::Normal(box.get(), kTop).z, 1.0);
  }
  {
    // A box of no height: the top's vertices lie on the bottom's. A handle tracked on the
    // bottom follows to the top vertex that moved away from it.
    ObjectPtr flat = ReadObject(BoxRecord({0, 0, 0}, {2, 1, 0}));
    flat->SetArrayPointers();
    SInt16 top = -1;
    for (SInt16 f = 0; f < flat->faceCount; ++f)
      if (!flat->faces[f].degenerate && flat->faces[f].c > 0.5) top = f;
    ASSERT_GE(top, 0);
    const SInt16 topCorner = modeltest::Loop(flat.get(), top)[0];
    SInt16 tracked = -1;
    for (SInt16 v = 0; v < flat->vertexCount; ++v)
      if (v != topCorner && VertexAt(flat.get(), v) == VertexAt(flat.get(), topCorner)) tracked = v;
    ASSERT_GE(tracked, 0);
    const Vector3d up{0, 0, 3};
    flat->PushFace(&up, &tracked);
    EXPECT_EQ(tracked, topCorner);
  }
  {
    // A single face pushed against its normal: nothing faces the offset, so face 0 moves.
    ObjectPtr sheet = ReadObject(BodyRecord({{0, 0, 0}, {0, 1, 0}, {1, 1, 0}}, {{0, 1, 2}}));
    const Vector3d normal = modeltest::Normal(sheet.get(), 0);
    const Vector3d against{0, 0, -normal.z};
    ASSERT_EQ(std::fabs(against.z), 1.0);
    sheet->PushFace(&against, nullptr);
    for (const Vector3d& p : Vertices(sheet.get())) EXPECT_DOUBLE_EQ(p.z, against.z);
  }
}

TEST(OffsetFace, RebuildsTheBackFaceBehindTheCap) {
  ObjectPtr box = ReadObject(BoxRecord({0, 0, 0}, {10, 4, 3}));
  const std::vector<Vector3d> original = Vertices(box.get());
  // Throw the bottom away, then offset the top by the height: every bottom corner comes back
  // under its top corner (the loops differ by one place, reversed).
  SelectFace(box.get(), kBottom);
  const Vector3d down{1, 2, -5};
  box->Move(&down);
  box->faceMode = 0;
  box->OffsetFace(kTop, kBottom, 3.0);
  const std::vector<Vector3d> rebuilt = Vertices(box.get());
  for (std::size_t v = 0; v < original.size(); ++v) ExpectNear(rebuilt[v], original[v], 1e-12);
  EXPECT_EQ(modeltest::Loop(box.get(), kBottom), (std::vector<SInt16>{1, 0, 3, 2}));
}

TEST(OffsetFace, ATargetLoopShorterThanTheSourceIsLeftAlone) {
  // A prism over a triangle: the square side is the source, the triangular cap the target.
  ObjectPtr prism = ReadObject(BodyRecord({{0, 0, 0}, {0, 1, 0}, {1, 0, 0}, {0, 0, 1}, {0, 1, 1}, {1, 0, 1}},
                                          {{0, 3, 4, 1}, {1, 4, 5, 2}, {2, 5, 3, 0}, {3, 5, 4}, {0, 1, 2}}));
  const std::vector<Vector3d> before = Vertices(prism.get());
  prism->OffsetFace(0, 3, 1.0);
  prism->OffsetFace(0, 99, 1.0);
  prism->OffsetFace(-1, 3, 1.0);
  EXPECT_EQ(Vertices(prism.get()), before);
}

// The frame of a hinge along the line y = 0, z = 1: the tilt turns about world x.
struct Hinge {
  CObjectTransformer* frame = new CObjectTransformer;
  Hinge() {
    const Vector3d x{0, 1, 0}, y{0, 0, 1}, z{1, 0, 0}, origin{0, 0, 1};
    frame->SetAxes(&x, &y, &z);
    frame->UpdateMatrices(&origin);
  }
  ~Hinge() { frame->Dispose(); }
};

TEST(TiltFace, TurnsTheCurrentFaceAboutTheFrame) {
  const double rise = std::tan(30 * 0.0174532925);
  const struct {
    const char* what;
    std::vector<Vector3d> top;  // the top face's corners, the loop in this order
    std::vector<Vector3d> expected;
  } cases[] = {
      {"a square top",
       {{0, 0, 1}, {0, 1, 1}, {1, 1, 1}, {1, 0, 1}},
       {{0, 0, 1}, {0, 1, 1 + rise}, {1, 1, 1 + rise}, {1, 0, 1}}},
      {"its first three corners in a line",
       {{0, 0, 1}, {0, 0.5, 1}, {0, 1, 1}, {1, 1, 1}, {1, 0, 1}},
       {{0, 0, 1}, {0, 0.5, 1 + rise / 2}, {0, 1, 1 + rise}, {1, 1, 1 + rise}, {1, 0, 1}}},
  };
  for (const auto& c : cases) {
    // A pyramid under the top, apex below, so that every face is planar.
    std::vector<Vector3d> vertices = c.top;
    vertices.push_back({0.5, 0.5, -1});
    const SInt16 n = SInt16(c.top.size()), apex = n;
    std::vector<std::vector<SInt16>> faces;
    std::vector<SInt16> top;
    for (SInt16 k = 0; k < n; ++k) {
      top.push_back(k);
      faces.push_back({SInt16((k + 1) % n), k, apex});
    }
    faces.push_back(top);
    modeltest::ShownPhase shown;
    ObjectPtr solid = ReadObject(BodyRecord(vertices, faces));
    solid->currentFace = SInt16(faces.size() - 1);
    solid->changed = 0;
    Hinge hinge;
    solid->TiltFace(30, hinge.frame);
    for (SInt16 k = 0; k < n; ++k) ExpectNear(VertexAt(solid.get(), k), c.expected[std::size_t(k)], 1e-9, c.what);
    EXPECT_TRUE(solid->changed);
  }
}

TEST(TiltFace, KeepsThePlaneWhenTheTiltIsUndefined) {
  const struct {
    const char* what;
    std::vector<Vector3d> vertices;
    std::vector<SInt16> loop;
    double angle;
    bool withMatrices;
  } cases[] = {
      {"two distinct points", {{0, 0, 1}, {0, 0, 1}, {1, 0, 1}}, {0, 1, 2}, 30, true},
      {"all in one line", {{0, 0, 1}, {1, 0, 1}, {2, 0, 1}, {3, 0, 1}}, {0, 1, 2, 3}, 30, true},
      {"a right angle", {{0, 0, 1}, {0, 1, 1}, {1, 1, 1}, {1, 0, 1}}, {0, 1, 2, 3}, 90, true},
      {"a frame without matrices", {{0, 0, 1}, {0, 1, 1}, {1, 1, 1}, {1, 0, 1}}, {0, 1, 2, 3}, 30, false},
  };
  for (const auto& c : cases) {
    ObjectPtr sheet = ReadObject(BodyRecord(c.vertices, {c.loop}));
    sheet->currentFace = 0;
    Hinge hinge;
    if (!c.withMatrices) hinge.frame->ForgetMatrices();
    const std::vector<Vector3d> before = Vertices(sheet.get());
    sheet->TiltFace(c.angle, hinge.frame);
    EXPECT_EQ(Vertices(sheet.get()), before) << c.what;
    EXPECT_TRUE(AllFinite(sheet.get())) << c.what;
  }
  ObjectPtr sheet = ReadObject(BoxRecord({0, 0, 0}, {1, 1, 1}));
  sheet->currentFace = kTop;
  const std::vector<Vector3d> before = Vertices(sheet.get());
  sheet->TiltFace(30, nullptr);
  EXPECT_EQ(Vertices(sheet.get()), before) << "no frame";
}

TEST(VertexCopies, RestoreWhatBothHold) {
  modeltest::ShownPhase shown;
  ObjectPtr box = ReadObject(BoxRecord({0, 0, 0}, {10, 4, 3}));
  const std::vector<Vector3d> original = Vertices(box.get());
  Handle copy = box->CopyVertices();
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(PortHandleSize(copy), Size(8 * sizeof(Vector3d)));
  const Vector3d offset{1.5, -2.25, 3};
  box->Move(&offset);
  box->changed = 0;
  box->SetVertices(copy);
  EXPECT_EQ(Vertices(box.get()), original);
  EXPECT_TRUE(box->changed);

  // A copy of more vertices than the object has restores only the object's; one of fewer
  // restores only its own.
  ObjectPtr triangle = ReadObject(BodyRecord({{7, 7, 7}, {8, 7, 7}, {7, 8, 7}}, {{0, 1, 2}}));
  const auto restOfStore = [&triangle] {
    triangle->SetArrayPointers();
    const char* from = reinterpret_cast<const char*>(triangle->vertices + triangle->vertexCount);
    return std::string(from, std::size_t(*triangle->storage + PortHandleSize(triangle->storage) - from));
  };
  const std::string rest = restOfStore();
  triangle->SetVertices(copy);
  EXPECT_EQ(Vertices(triangle.get()), std::vector<Vector3d>(original.begin(), original.begin() + 3));
  EXPECT_EQ(restOfStore(), rest) << "nothing written past the vertices";
  ObjectPtr other = ReadObject(BodyRecord({{7, 7, 7}, {8, 7, 7}, {7, 8, 7}}, {{0, 1, 2}}));
  Handle small = other->CopyVertices();
  box->SetVertices(small);
  std::vector<Vector3d> expected = Vertices(other.get());
  expected.insert(expected.end(), original.begin() + 3, original.end());
  EXPECT_EQ(Vertices(box.get()), expected);
  PortFreeHandle(small);
  PortFreeHandle(copy);
  box->SetVertices(nullptr);
}

TEST(VertexCopies, SetFaceVerticesFollowsTheLoop) {
  ObjectPtr box = ReadObject(BoxRecord({0, 0, 0}, {1, 1, 1}));
  const std::vector<SInt16> loop = modeltest::Loop(box.get(), kSideYLo);
  const Vector3d points[4] = {{5, 5, 5}, {6, 5, 5}, {6, 6, 5}, {5, 6, 5}};
  box->SetFaceVertices(kSideYLo, points);
  for (std::size_t k = 0; k < loop.size(); ++k) EXPECT_EQ(VertexAt(box.get(), loop[k]), points[k]);
}

}  // namespace
