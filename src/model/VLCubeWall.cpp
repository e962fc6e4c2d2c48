// Walls: continuing a block by a mitred segment, and trimming two blocks against each other in
// plan.
#include <algorithm>
#include <array>
#include <cmath>

#include "DrawingPlane.h"
#include "GeometryKernel.h"
#include "Unwinding.h"
#include "VLCube.h"

namespace {

// A turn sharper than this leaves no segment: the mitre length w / cos(t / 2) runs away as the
// turn nears a U-turn.
constexpr double kMaxTurnDegrees = 179.0;

// The corners of one end of a block seen as a wall: the block's end face (its outer corner o
// and the pivot p on the inside of the turn, low and high), and the copy's start face, which
// takes their places.
struct WallEnd {
  SInt16 outerLow, pivotLow, outerHigh, pivotHigh;
  SInt16 startOuterLow, startPivotLow, startOuterHigh, startPivotHigh;
  double turn;  // the quarter turn (a, b) -> (turn * b, -turn * a)
  SInt16 endFace;
};
constexpr WallEnd kEnd3{1, 2, 5, 6, 0, 3, 4, 7, 1.0, 3};
constexpr WallEnd kEnd1{0, 3, 4, 7, 1, 2, 5, 6, -1.0, 1};

Vector3d Minus(const Vector3d& a, const Vector3d& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Vector3d Plus(const Vector3d& a, const Vector3d& b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
Vector3d Times(const Vector3d& v, double s) { return {v.x * s, v.y * s, v.z * s}; }
Vector3d Unit(const Vector3d& v) {
  const double length = VectorLength(&v);
  return length > 0 && std::isfinite(length) ? Times(v, 1.0 / length) : Vector3d{};
}

// The eight corners of a block in drawing-plane coordinates, and back.
struct PlaneCorners {
  Vector3d at[8];
  explicit PlaneCorners(VLCube* block) {
    block->SetArrayPointers();
    for (SInt16 i = 0; i < 8; ++i) WorldToDrawingPlane(&block->vertices[i], &at[i]);
  }
  void Store(VLCube* block) const {
    block->SetArrayPointers();
    for (SInt16 i = 0; i < 8; ++i) DrawingPlaneToWorld(&at[i], &block->vertices[i]);
  }
};

// The directions and the mitre of a turn at one end toward the point, in drawing-plane
// coordinates; false when they give no segment.
struct Mitre {
  Vector3d across;  // dn: the new segment's outward side
  Vector3d along;   // m: from the pivot to the mitred outer corner
  double width = 0, length = 0;
};

bool MitreAt(const PlaneCorners& block, const WallEnd& end, const Vector3d& p, bool flat, Mitre* out) {
  const int A = AxisRole(gAxisX), B = AxisRole(gAxisY), C = AxisRole(gAxisZ);
  Vector3d side = Minus(block.at[end.outerLow], block.at[end.pivotLow]);
  Vector3d plan = side;
  VectorComponent(plan, C) = 0;
  out->width = VectorLength(&plan);
  const Vector3d d1 = Unit(side);
  Vector3d d2 = Minus(p, block.at[end.pivotLow]);
  if (!flat) VectorComponent(d2, C) = 0;
  d2 = Unit(d2);
  VectorComponent(d2, C) = 0;
  Vector3d dn;
  VectorComponent(dn, A) = end.turn * VectorComponent(d2, B);
  VectorComponent(dn, B) = -end.turn * VectorComponent(d2, A);
  // A point straight above or on the pivot gives no direction: no segment.
  if (VectorLength(&dn) < kCoincidentTolerance || VectorLength(&d1) == 0) return false;
  const double cosine = std::clamp(VectorDot(&d1, &dn), -1.0, 1.0);
  const double turn = std::acos(cosine);
  if (turn > kMaxTurnDegrees * kDegreesToRadians) return false;
  out->across = dn;
  out->along = Unit(Times(Plus(d1, dn), 0.5));
  out->length = out->width / std::cos(turn / 2);
  return std::isfinite(out->length);
}

// Moves the corners of the copy and the block for the end's construction.
void Construct(PlaneCorners* block, PlaneCorners* copy, const WallEnd& end, const Vector3d& p, bool flat,
               UInt8 topPair, const Mitre& mitre) {
  const int A = AxisRole(gAxisX), B = AxisRole(gAxisY), C = AxisRole(gAxisZ);
  Vector3d* c = copy->at;
  c[end.startOuterLow] = c[end.outerLow];
  c[end.startPivotLow] = c[end.pivotLow];
  c[end.startOuterHigh] = c[end.outerHigh];
  c[end.startPivotHigh] = c[end.pivotHigh];
  // The far end: the start face moved so that the pivots land on the point, in plan.
  const auto placeInPlan = [&](SInt16 corner, const Vector3d& at) {
    VectorComponent(c[corner], A) = VectorComponent(at, A);
    VectorComponent(c[corner], B) = VectorComponent(at, B);
  };
  placeInPlan(end.pivotHigh, p);
  placeInPlan(end.outerHigh, Plus(Minus(c[end.startOuterHigh], c[end.startPivotHigh]), p));
  placeInPlan(end.outerLow, Plus(Minus(c[end.startOuterLow], c[end.startPivotLow]), p));
  placeInPlan(end.pivotLow, p);
  const bool raiseTop = flat || topPair;
  for (SInt16 corner : raiseTop ? std::array{end.outerHigh, end.pivotHigh} : std::array{end.outerLow, end.pivotLow})
    VectorComponent(c[corner], C) = VectorComponent(p, C);
  // The mitre.
  Vector3d* b = block->at;
  b[end.outerLow] = c[end.startOuterLow] = Plus(b[end.pivotLow], Times(mitre.along, mitre.length));
  b[end.outerHigh] = c[end.startOuterHigh] = Plus(b[end.pivotHigh], Times(mitre.along, mitre.length));
  c[end.outerLow] = Plus(c[end.pivotLow], Times(mitre.across, mitre.width));
  c[end.outerHigh] = Plus(c[end.pivotHigh], Times(mitre.across, mitre.width));
}

bool Degenerate(VLCube* block, SInt16 face) {
  block->SetArrayPointers();
  return face < block->faceCount && block->faces[face].degenerate;
}

}  // namespace

namespace {

// The construction at the end toward the point, shared by both ways of choosing the end.
VLCube* ContinueAt(VLCube* block, const Vector3d* point, const WallEnd& end, bool flat, UInt8 topPair) {
  double lo[3], hi[3];
  block->GetBounds(&lo[0], &lo[1], &lo[2], &hi[0], &hi[1], &hi[2]);
  const Vector3d& w = *point;
  if (lo[0] <= w.x && w.x <= hi[0] && lo[1] <= w.y && w.y <= hi[1] && lo[2] <= w.z && w.z <= hi[2]) return nullptr;
  if (block->vertexCount != 8) return nullptr;
  Vector3d p;
  WorldToDrawingPlane(point, &p);
  PlaneCorners blockCorners(block);
  Mitre mitre;
  if (!MitreAt(blockCorners, end, p, flat, &mitre)) return nullptr;

  Owned<VLUser3DObject> made(block->MakeCopy(nullptr));
  if (!made) return nullptr;
  auto* copy = static_cast<VLCube*>(made.get());
  block->changed = 1;
  PlaneCorners copyCorners(copy);
  Construct(&blockCorners, &copyCorners, end, p, flat, topPair, mitre);
  copyCorners.Store(copy);
  blockCorners.Store(block);
  copy->CalcFacePlanes();
  copy->OrientFaces();
  block->CalcFacePlanes();
  block->OrientFaces();
  copy->Select();
  return static_cast<VLCube*>(made.release());
}

}  // namespace

VLCube* VLCube::ContinueWall(const Vector3d* point, SInt16 endFace, UInt8 topPair) {
  const bool end3 = endFace == 3;
  // The copy starts as the block, so the block's end face stands for the copy's.
  const bool flat = Degenerate(this, 4) || Degenerate(this, end3 ? 3 : 1);
  return ContinueAt(this, point, end3 ? kEnd3 : kEnd1, flat, topPair);
}

VLCube* VLCube::ContinueWallFromNearestEnd(const Vector3d* point, SInt16* endFace, UInt8 topPair) {
  SetArrayPointers();
  if (vertexCount != 8) return nullptr;
  const bool flat = Degenerate(this, 4);
  bool end3;
  if (!flat) {
    Vector3d n1, n3;
    double d1, d3;
    CalcFacePlane(1, &n1.x, &n1.y, &n1.z, &d1);
    CalcFacePlane(3, &n3.x, &n3.y, &n3.z, &d3);
    end3 = !(PointPlaneDistance(point, &n1, d1) < PointPlaneDistance(point, &n3, d3));
  } else {
    SetArrayPointers();
    const Vector3d c2 = vertices[2], c3 = vertices[3];
    const Vector3d n = Unit(Minus(c3, c2)), n2 = Unit(Minus(c2, c3));
    end3 = PointPlaneDistance(point, &n2, -VectorDot(&n2, &c2)) <= PointPlaneDistance(point, &n, -VectorDot(&n, &c3));
  }
  *endFace = end3 ? 3 : 1;
  return ContinueAt(this, point, end3 ? kEnd3 : kEnd1, flat, topPair);
}

Boolean VLCube::MeetInPlan(SInt16 f, VLCube* other, SInt16 g, SInt16 i, SInt16 j) {
  changed = 1;
  SetArrayPointers();
  other->SetArrayPointers();
  if (f < 0 || f >= faceCount || g < 0 || g >= other->faceCount) return false;
  const FaceRecord& mine = faces[f];
  const FaceRecord& theirs = other->faces[g];
  if (i < 0 || j < 0 || i >= mine.loopCount || j >= mine.loopCount || i >= theirs.loopCount || j >= theirs.loopCount)
    return false;
  const SInt16 b = LoopEntries(mine)[i], a = LoopEntries(mine)[j];
  const SInt16 d = LoopEntries(theirs)[i], c = LoopEntries(theirs)[j];
  if (b < 0 || a < 0 || b >= vertexCount || a >= vertexCount || d < 0 || c < 0 || d >= other->vertexCount ||
      c >= other->vertexCount)
    return false;
  double t = 0, s = 0;
  if (!IntersectLines2D(&vertices[b], &vertices[a], &other->vertices[d], &other->vertices[c], &t, &s)) return false;
  const auto moveNearerEnd = [](Vector3d* from, Vector3d* to, double along) {
    const Vector3d crossing{from->x + along * (to->x - from->x), from->y + along * (to->y - from->y), 0};
    Vector3d* moved = along <= 0.5 ? from : to;
    moved->x = crossing.x;
    moved->y = crossing.y;
  };
  moveNearerEnd(&vertices[b], &vertices[a], t);
  moveNearerEnd(&other->vertices[d], &other->vertices[c], s);
  return true;
}

void VLCube::JoinCorner(SInt16 faceA, SInt16 faceB, VLCube* other, SInt16 otherFaceA, SInt16 otherFaceB) {
  changed = 1;
  SetArrayPointers();
  other->SetArrayPointers();
  MeetInPlan(faceA, other, otherFaceA, 1, 2);
  MeetInPlan(faceA, other, otherFaceA, 0, 3);
  MeetInPlan(faceB, other, otherFaceB, 1, 2);
  MeetInPlan(faceB, other, otherFaceB, 0, 3);
}
