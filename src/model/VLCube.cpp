// Blocks: the store and topology, the creating drag, corner drags, canonical numbering.
#include "VLCube.h"

#include <cmath>
#include <new>

#include "BoxLayout.h"
#include "DrawingPlane.h"
#include "GeometryKernel.h"
#include "ObjectInfoRecord.h"
#include "PhaseRecord.h"
#include "Unwinding.h"

SInt16 gBlockFixedCorner = 0;

namespace {

Vector3d Minus(const Vector3d& a, const Vector3d& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }

Vector3d ToPlane(const Vector3d& world) {
  Vector3d out;
  WorldToDrawingPlane(&world, &out);
  return out;
}

Vector3d ToWorld(const Vector3d& plane) {
  Vector3d out;
  DrawingPlaneToWorld(&plane, &out);
  return out;
}

// The matrix (rows, translation in column 3) of scaling about the centre along the drawing
// plane's axes, seen in world coordinates: the block's openings follow it through Transform.
Matrix4d ScaleInDrawingPlane(const Vector3d& centre, const Vector3d& factors) {
  const auto map = [&](const Vector3d& world) {
    Vector3d p = ToPlane(world);
    ScalePointAbout(&p, &centre, &factors);
    return ToWorld(p);
  };
  const Vector3d origin = map({0, 0, 0});
  const Vector3d axes[3] = {Minus(map({1, 0, 0}), origin), Minus(map({0, 1, 0}), origin),
                            Minus(map({0, 0, 1}), origin)};
  Matrix4d m;
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 3; ++c) m.at(r, c) = VectorComponent(axes[c], r);
    m.at(r, 3) = VectorComponent(origin, r);
  }
  m.at(3, 3) = 1.0;
  return m;
}

// The three faces that meet at each corner, in the layout's numbering.
constexpr SInt16 kCornerFaces[boxlayout::kCorners][3] = {{0, 1, 4}, {0, 3, 4}, {0, 2, 3}, {0, 1, 2},
                                                          {1, 4, 5}, {3, 4, 5}, {2, 3, 5}, {1, 2, 5}};

}  // namespace

// ---- Store and topology ----

Boolean VLCube::InitStorage() {
  boxlayout::BuildBox(this);
  if (!storage) return false;
  typeCode = kObjectTypeBlock;
  color = gDefaultObjectColor;
  rotationAngle = 0.0;
  hidden = 0;
  ownedPartsShown = 0;
  hasOwnedParts = 1;
  currentOpening = -1;
  phase = gCurrentPhase;
  changed = 1;
  needsRedraw = 1;
  referenceVertex = 0;
  return true;
}

Boolean VLCube::SetCorners(const Vector3d corners[8]) {
  if (!InitStorage()) return false;
  SetArrayPointers();
  for (SInt16 i = 0; i < boxlayout::kCorners; ++i) vertices[i] = corners[i];
  needsRedraw = 1;
  CalcFacePlanes();
  referenceVertex = 0;
  return true;
}

void VLCube::BuildTopology() {
  ReleaseFaceLoops(0, faceCount);
  boxlayout::BuildBox(this);
  currentOpening = -1;
  hasOwnedParts = 1;
  needsRedraw = 1;
}

void VLCube::RebuildTopology() {
  boxlayout::RewriteBoxTopology(this);
  currentOpening = -1;
  hasOwnedParts = 1;
  needsRedraw = 1;
}

void VLCube::SetFaceCoordinate(SInt16 i0, SInt16 i1, SInt16 i2, SInt16 i3, SInt16 axis, double value) {
  changed = 1;
  SetArrayPointers();
  for (SInt16 i : {i0, i1, i2, i3})
    if (i >= 0 && i < vertexCount) VectorComponent(vertices[i], AxisRole(axis)) = value;
  CalcFacePlanes();
}

double VLCube::ExtremeCoordinate(SInt16 axis, Boolean largest) {
  SetArrayPointers();
  double extreme = largest ? -kGeomSearchStart : kGeomSearchStart;
  for (SInt16 i = 0; i < vertexCount; ++i) {
    const double c = VectorComponent(vertices[i], AxisRole(axis));
    extreme = largest ? std::max(extreme, c) : std::min(extreme, c);
  }
  return extreme;
}

void VLCube::PutLongSideFirst() {
  SetArrayPointers();
  if (vertexCount < boxlayout::kCorners) return;
  if (VectorDistance(&vertices[0], &vertices[1]) >= VectorDistance(&vertices[1], &vertices[2])) return;
  for (SInt16 ring : {0, 4}) {
    const Vector3d first = vertices[ring];
    for (SInt16 i = 0; i < 3; ++i) vertices[ring + i] = vertices[ring + i + 1];
    vertices[ring + 3] = first;
  }
}

SInt16 VLCube::OppositeCorner(SInt16 corner) { return boxlayout::OppositeCorner(corner); }

Boolean VLCube::AlwaysTrue() { return true; }

SInt16 VLCube::OppositeFace(SInt16 face) { return boxlayout::OppositeFace(face); }

void VLCube::Canonicalize() {
  SetArrayPointers();
  if (faceCount != boxlayout::kFaces) return;
  // New index of the face with the smallest, then the largest, normal component per axis.
  struct AxisSides {
    int axis;
    SInt16 low, high;
  };
  constexpr AxisSides kSides[3] = {{2, 0, 5}, {1, 4, 2}, {0, 1, 3}};
  SInt16 recordFor[boxlayout::kFaces] = {-1, -1, -1, -1, -1, -1};
  bool given[boxlayout::kFaces] = {};
  for (const AxisSides& side : kSides) {
    SInt16 low = -1, high = -1;
    double lowest = 1.0, highest = -1.0;
    for (SInt16 f = 0; f < faceCount; ++f) {
      const double n = VectorComponent(Vector3d{faces[f].a, faces[f].b, faces[f].c}, side.axis);
      if (n < lowest) lowest = n, low = f;
      if (n > highest) highest = n, high = f;
    }
    for (const auto& [face, index] : {std::pair{low, side.low}, std::pair{high, side.high}}) {
      if (face < 0 || given[face]) return;
      given[face] = true;
      recordFor[index] = face;
    }
  }
  // The corners by the faces that meet there, found before the records move.
  if (vertexCount != boxlayout::kCorners) return;
  Vector3d corners[boxlayout::kCorners];
  for (SInt16 c = 0; c < boxlayout::kCorners; ++c) {
    const FaceRecord* meeting[3];
    for (int k = 0; k < 3; ++k) meeting[k] = &faces[recordFor[kCornerFaces[c][k]]];
    SInt16 shared = -1;
    const SInt16* first = LoopEntries(*meeting[0]);
    for (SInt16 i = 0; first && i < meeting[0]->loopCount && shared < 0; ++i) {
      const bool inOthers = FaceHasVertex(recordFor[kCornerFaces[c][1]], first[i]) &&
                            FaceHasVertex(recordFor[kCornerFaces[c][2]], first[i]);
      if (inOthers && first[i] >= 0 && first[i] < vertexCount) shared = first[i];
      SetArrayPointers();
      first = LoopEntries(*meeting[0]);
    }
    if (shared < 0) return;
    corners[c] = vertices[shared];
  }
  FaceRecord records[boxlayout::kFaces];
  for (SInt16 i = 0; i < boxlayout::kFaces; ++i) records[i] = faces[recordFor[i]];
  for (SInt16 i = 0; i < boxlayout::kFaces; ++i) faces[i] = records[i];
  for (SInt16 c = 0; c < boxlayout::kCorners; ++c) vertices[c] = corners[c];
  RebuildTopology();
  CalcFacePlanes();
  OrientFaces();
}

// ---- Drags ----

void VLCube::VerticesToPlane() {
  SetArrayPointers();
  for (SInt16 i = 0; i < vertexCount; ++i) vertices[i] = ToPlane(vertices[i]);
}

void VLCube::VerticesToWorld() {
  SetArrayPointers();
  for (SInt16 i = 0; i < vertexCount; ++i) vertices[i] = ToWorld(vertices[i]);
}

Boolean VLCube::BuildGeometry(VLViewTransform*, SInt16 continuing, const Vector3d* point, SInt16, VLViewPane*) {
  changed = 1;
  SetArrayPointers();
  if (!continuing) {
    typeCode = kObjectTypeBlock;
    SetColor(&gDefaultObjectColor);
    Anchor() = *point;
    SetArrayPointers();
    for (SInt16 i = 0; i < vertexCount; ++i) vertices[i] = *point;
    Select();
  }
  const Vector3d p = ToPlane(*point), anchor = ToPlane(Anchor());
  VerticesToPlane();
  // Per drawing axis, the corners on the max side and those on the min side.
  struct AxisCorners {
    SInt16 role;
    SInt16 high[4], low[4];
  };
  const AxisCorners kAxes[3] = {{AxisRole(gAxisX), {1, 2, 5, 6}, {0, 3, 4, 7}},
                                {AxisRole(gAxisY), {2, 3, 6, 7}, {0, 1, 4, 5}},
                                {AxisRole(gAxisZ), {4, 5, 6, 7}, {0, 1, 2, 3}}};
  for (const AxisCorners& axis : kAxes) {
    const double to = VectorComponent(p, axis.role), from = VectorComponent(anchor, axis.role);
    const double high = to - from <= 0 ? from : to, low = to - from <= 0 ? to : from;
    for (int k = 0; k < 4; ++k) {
      VectorComponent(vertices[axis.high[k]], axis.role) = high;
      VectorComponent(vertices[axis.low[k]], axis.role) = low;
    }
  }
  VerticesToWorld();
  CalcFacePlanes();
  OrientFaces();
  return true;
}

void VLCube::StretchToHandle(SInt16* corner, const Vector3d* point, VLViewTransform* view, Boolean continuing) {
  if (HasCurrentOpening())
    VLOpeningOwner::StretchToHandle(corner, point, view, continuing);
  else
    DragCorner(corner, point, continuing);
  MarkChanged();
  CalcFacePlanes();
}

void VLCube::DragCorner(SInt16* corner, const Vector3d* point, Boolean continuing) {
  SetArrayPointers();
  SInt16 d = *corner;
  if (d < 0 || d >= vertexCount || vertexCount != boxlayout::kCorners) return;
  if (!continuing) {
    gBlockFixedCorner = OppositeCorner(d);
    FixedCorner() = ToPlane(vertices[gBlockFixedCorner]);
    Anchor() = ToPlane(vertices[d]);
    Diagonal() = Minus(Anchor(), FixedCorner());
  }
  Vector3d p = ToPlane(*point);
  // A flat block is pushed out along each flat axis the point leaves first.
  {
    const Vector3d at = ToPlane(vertices[d]), fixed = ToPlane(vertices[gBlockFixedCorner]);
    Vector3d push;
    bool any = false;
    for (int k = 0; k < 3; ++k) {
      if (VectorComponent(fixed, k) == VectorComponent(at, k) && VectorComponent(p, k) != VectorComponent(at, k)) {
        VectorComponent(push, k) = VectorComponent(p, k) - VectorComponent(at, k);
        any = true;
      }
    }
    if (any) {
      const Vector3d worldPush = Minus(ToWorld(push), ToWorld({0, 0, 0}));
      PushFace(&worldPush, &d);
      *corner = d;
      gBlockFixedCorner = OppositeCorner(d);
      SetArrayPointers();
    }
  }
  const Vector3d at = ToPlane(vertices[d]);
  if (HasCurrentFace()) {
    // The corner stays in the plane through it parallel to the selected face.
    const FaceRecord& face = faces[currentFace];
    const Vector3d worldNormal{face.a, face.b, face.c};
    Vector3d n = Minus(ToPlane(worldNormal), ToPlane({0, 0, 0}));
    const double offset = -VectorDot(&n, &at);
    const int A = AxisRole(gAxisX), B = AxisRole(gAxisY), C = AxisRole(gAxisZ);
    const bool onlyAlongC =
        VectorComponent(p, A) == VectorComponent(at, A) && VectorComponent(p, B) == VectorComponent(at, B);
    const double nA = VectorComponent(n, A), nB = VectorComponent(n, B), nC = VectorComponent(n, C);
    if (onlyAlongC) {
      if (nA == 0 && nB == 0) {
        p = at;
      } else {
        const double rhs = -(nC * VectorComponent(p, C) + offset);
        if (nB == 0) {
          VectorComponent(p, B) = VectorComponent(at, B);
          VectorComponent(p, A) = rhs / nA;
        } else {
          // The foot of the corner on the line nA a + nB b = rhs.
          const double excess = (nA * VectorComponent(at, A) + nB * VectorComponent(at, B) - rhs) / (nA * nA + nB * nB);
          VectorComponent(p, A) = VectorComponent(at, A) - excess * nA;
          VectorComponent(p, B) = VectorComponent(at, B) - excess * nB;
        }
      }
    } else if (std::fabs(PlaneEvaluate(&p, &n, offset)) > kCoincidentTolerance) {
      Vector3d alongC;
      VectorComponent(alongC, C) = 1.0;
      Vector3d onPlane;
      if (nC != 0 && IntersectLinePlane(&p, &alongC, &n, offset, &onPlane)) p = onPlane;
      if (std::fabs(PlaneEvaluate(&p, &n, offset)) > kCoincidentTolerance && IntersectLinePlane(&p, &n, &n, offset, &onPlane))
        p = onPlane;
    }
  }
  Vector3d factors{1, 1, 1};
  for (int k = 0; k < 3; ++k) {
    const double diagonal = VectorComponent(Diagonal(), k);
    if (diagonal != 0) VectorComponent(factors, k) = (VectorComponent(p, k) - VectorComponent(FixedCorner(), k)) / diagonal;
  }
  if (gWorkingPlaneOn) {
    const Matrix4d m = ScaleInDrawingPlane(FixedCorner(), factors);
    Transform(&m);
    GeometryChanged();
  } else {
    ScaleAbout(&FixedCorner(), &factors);
  }
  SetArrayPointers();
  Diagonal() = Minus(ToPlane(vertices[d]), FixedCorner());
}

// ---- Overrides ----

Boolean VLCube::FindHandle(const Vector3d* modelPoint, Point panePoint, SInt16* handle, SInt16* unused,
                           Boolean checkModel, VLViewTransform* view) {
  if (HasCurrentOpening()) return VLOpeningOwner::FindHandle(modelPoint, panePoint, handle, unused, checkModel, view);
  *handle = FindVertexHandle(modelPoint, panePoint, checkModel);
  if (*handle >= 0) return true;
  if (unused) *unused = FindEdgeHandle(modelPoint, panePoint, checkModel, view);
  return unused && *unused >= 0;
}

void VLCube::MoveVertex(SInt16 vertex, const Vector3d* position, long unused) {
  changed = 1;
  VLOpeningOwner::MoveVertex(vertex, position, unused);
  CalcFacePlanes();
}

void VLCube::MoveEdge(SInt16 edge, Vector3d* offset, long unused) {
  MarkChanged();
  VLOpeningOwner::MoveEdge(edge, offset, unused);
  CalcFacePlanes();
  OrientFaces();
}

void VLCube::Flip(SInt16 axisCode, double planeOffset, double shift) {
  VLOpeningOwner::Flip(axisCode, planeOffset, shift);
  NotifyInfoBox(kInfoChanged);
}

VLUser3DObject* VLCube::MakeCopy(VLUser3DObject* target) {
  if (!target) {
    target = new (std::nothrow) VLCube;
    if (!target) return nullptr;
  }
  return VLOpeningOwner::MakeCopy(target);
}
