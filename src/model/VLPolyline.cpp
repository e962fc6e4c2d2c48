// Polylines: drawing point by point, extruding into solids, flattening, and copies.
#include "VLPolyline.h"

#include <cmath>
#include <new>
#include <vector>

#include "BoxLayout.h"
#include "CBoundingBox.h"
#include "DETException.h"
#include "DrawingPlane.h"
#include "GeometryKernel.h"
#include "Memory.h"
#include "PhaseRecord.h"
#include "Unwinding.h"
#include "VLOpening.h"

UInt8 gVertexEditMode = 0;
PaneSnapDistance gPaneSnapDistance = nullptr;

namespace {

// A new outline's room, and what it grows by when full.
constexpr SInt16 kOutlineChunk = 10;
// A click this fraction of the snapping distance from the first point closes the outline.
constexpr double kCloseReach = 0.49;
// A click this near the last point adds nothing.
constexpr double kRepeatReach = 0.00001;

bool Within(const Vector3d& a, const Vector3d& b, double reach, bool strictly) {
  const auto near = [&](double d) { return strictly ? std::fabs(d) < reach : std::fabs(d) <= reach; };
  return near(a.x - b.x) && near(a.y - b.y) && near(a.z - b.z);
}

}  // namespace

VLPolyline::~VLPolyline() {
  Deselect();
  DropBox();
}

void VLPolyline::DropBox() {
  if (box && ownsBox) box->Dispose();
  box = nullptr;
  ownsBox = 0;
}

// ---- Outlines ----

void VLPolyline::InitStorage() {
  underConstruction = closed = extruded = 0;
  bottomCap = topCap = 0;
  DropBox();
  trackPoint = Vector3d{};
  hidden = 0;
  ReleaseFaceLoops(0, faceCount);
  faceCount = 0;
  AllocateStorage(kOutlineChunk, kOutlineChunk, kOutlineChunk, 0);
  changed = 1;
  typeCode = kObjectTypePolyline;
  currentOpening = -1;
  SetColor(&gDefaultObjectColor);
  phase = gCurrentPhase;
  hasOwnedParts = 0;
  referenceVertex = 0;
}

void VLPolyline::SetTrackPoint(const Vector3d* point) { trackPoint = *point; }

void VLPolyline::PopVertex(Vector3d* point) {
  SetArrayPointers();
  if (vertexCount < 1) return;
  *point = vertices[--vertexCount];
}

void VLPolyline::GetLastVertex(Vector3d* point) {
  SetArrayPointers();
  if (vertexCount >= 1) *point = vertices[vertexCount - 1];
}

bool VLPolyline::EnsureCapacity(SInt16 v, SInt16 e, SInt16 f) {
  const SInt16 dv = SInt16(std::max(0, v - vertexCapacity)), dp = SInt16(std::max(0, v - screenPointCapacity));
  const SInt16 de = SInt16(std::max(0, e - edgeCapacity)), df = SInt16(std::max(0, f - faceCapacity));
  if (dv == 0 && dp == 0 && de == 0 && df == 0) return true;
  return CatchFailures([&] { GrowStorage(dv, dp, de, df); }, [](std::exception_ptr) {});
}

Boolean VLPolyline::BuildGeometry(VLViewTransform*, SInt16 continuing, const Vector3d* point, SInt16, VLViewPane* pane) {
  changed = 1;
  SetArrayPointers();
  if (!continuing || vertexCount == 0) {
    if (vertexCapacity < 1 && !EnsureCapacity(1, 0, 0)) return false;
    SetArrayPointers();
    underConstruction = 1;
    vertices[0] = *point;
    vertexCount = 1;
    trackPoint = *point;
    return true;
  }
  const double reach = (gPaneSnapDistance && pane ? gPaneSnapDistance(pane) : 0.0) * kCloseReach;
  if (vertexCount >= 3 && Within(*point, vertices[0], reach, true)) {
    closed = 1;
    return true;
  }
  if (Within(*point, vertices[vertexCount - 1], kRepeatReach, false)) return true;
  if (vertexCount == vertexCapacity &&
      !EnsureCapacity(SInt16(vertexCapacity + kOutlineChunk), SInt16(edgeCapacity + kOutlineChunk), 0))
    return false;
  SetArrayPointers();
  vertices[vertexCount++] = *point;
  hasOwnedParts = 1;
  return true;
}

void VLPolyline::BuildRingEdges(SInt16 n) {
  SetArrayPointers();
  for (SInt16 i = 0; i + 1 < n; ++i) edges[i] = EdgeRecord{i, SInt16(i + 1)};
  if (closed && n > 1) edges[n - 1] = EdgeRecord{SInt16(n - 1), 0};
}

void VLPolyline::BuildOutlineEdges(Boolean select) {
  UpdateBoundingBox();
  const SInt16 n = vertexCount;
  if (!EnsureCapacity(n, n, 0)) return;
  edgeCount = SInt16(n <= 1 ? 0 : closed ? n : n - 1);
  if (n <= 1) return;
  BuildRingEdges(n);
  hasOwnedParts = 1;
  changed = 1;
  underConstruction = 0;
  if (select) Select();
  CalcFacePlanes();
  MarkChanged();
}

Boolean VLPolyline::TrackDraggedShape(SInt16 continuing, const Vector3d* point) {
  SetArrayPointers();
  changed = 1;
  Vector3d& anchor = stretchPoints[1];
  if (!continuing) {
    WorldToDrawingPlane(point, &anchor);
    SetArrayPointers();
    for (SInt16 i = 0; i < vertexCount; ++i) vertices[i] = *point;
    closed = 1;
    hasOwnedParts = 1;
    BuildOutlineEdges(true);
    return true;
  }
  Vector3d p;
  WorldToDrawingPlane(point, &p);
  LayOutShape(anchor, p);
  SetArrayPointers();
  for (SInt16 i = 0; i < vertexCount; ++i) DrawingPlaneToWorld(&vertices[i], &vertices[i]);
  CalcFacePlanes();
  UpdateBoundingBox();
  return true;
}

void VLPolyline::LayOutShape(const Vector3d&, const Vector3d&) {}

// ---- Solids ----

void VLPolyline::BuildExtrusionTopology(SInt16 n) {
  SetArrayPointers();
  for (SInt16 i = 0; i < n; ++i) {
    const SInt16 next = SInt16((i + 1) % n);
    edges[i] = EdgeRecord{i, next};
    edges[n + i] = EdgeRecord{SInt16(n + i), SInt16(n + next)};
    edges[2 * n + i] = EdgeRecord{i, SInt16(n + i)};
  }
  ReleaseFaceLoops(0, faceCount);
  faceCount = 0;
  std::vector<SInt16> loop(4);
  for (SInt16 j = 0; j < n; ++j) {
    if (j < n - 1)
      loop = {SInt16(j + 1), j, SInt16(n + j), SInt16(n + j + 1)};
    else
      loop = {0, SInt16(n - 1), SInt16(2 * n - 1), n};
    Handle block = boxlayout::NewLoopBlock(loop.data(), 4);
    SetArrayPointers();
    faces[j] = FaceRecord{};
    faces[j].loop = block;
    faces[j].loopCount = 4;
    faceCount = SInt16(j + 1);
  }
  std::vector<SInt16> top(static_cast<std::size_t>(n)), bottom(static_cast<std::size_t>(n));
  for (SInt16 i = 0; i < n; ++i) {
    top[std::size_t(i)] = SInt16(2 * n - 1 - i);
    bottom[std::size_t(i)] = i;
  }
  for (const std::vector<SInt16>* cap : {&top, &bottom}) {
    Handle block = boxlayout::NewLoopBlock(cap->data(), n);
    SetArrayPointers();
    faces[faceCount] = FaceRecord{};
    faces[faceCount].loop = block;
    faces[faceCount].loopCount = n;
    ++faceCount;
  }
}

void VLPolyline::Extrude(double height) { ExtrudeBy(nullptr, height); }

void VLPolyline::ExtrudeAlong(const Vector3d* vector) { ExtrudeBy(vector, 0.0); }

void VLPolyline::ExtrudeBy(const Vector3d* vector, double height) {
  SetArrayPointers();
  const SInt16 n = vertexCount;
  // A solid stays as it is, and fewer than two points make no solid.
  if (typeCode == kObjectTypeExtrusion || typeCode == kObjectTypePolyhedron || n < 2) return;
  const bool panel = !closed && n == 2;
  const SInt32 wantedEdges = panel ? 4 : 3 * SInt32(n);
  if (wantedEdges > 32767 || !EnsureCapacity(SInt16(panel ? 4 : 2 * n), SInt16(wantedEdges), SInt16(panel ? 2 : n + 2)))
    return;
  SetArrayPointers();
  const SInt8 state = PortGetHandleState(storage);
  // The top ring: each base vertex raised.
  for (SInt16 i = 0; i < n; ++i) {
    Vector3d top;
    if (vector) {
      VectorAdd(&vertices[i], vector, &top);
    } else {
      WorldToDrawingPlane(&vertices[i], &top);
      VectorComponent(top, AxisRole(gAxisZ)) += height;
      DrawingPlaneToWorld(&top, &top);
    }
    vertices[n + i] = top;
  }
  vertexCount = screenPointCount = SInt16(2 * n);
  if (panel) {
    edges[0] = {0, 1};
    edges[1] = {2, 3};
    edges[2] = {0, 2};
    edges[3] = {1, 3};
    edgeCount = 4;
    ReleaseFaceLoops(0, faceCount);
    faceCount = 0;
    const SInt16 loops[2][4] = {{0, 1, 3, 2}, {2, 3, 1, 0}};
    for (SInt16 f = 0; f < 2; ++f) {
      Handle block = boxlayout::NewLoopBlock(loops[f], 4);
      SetArrayPointers();
      faces[f] = FaceRecord{};
      faces[f].loop = block;
      faces[f].loopCount = 4;
      faceCount = SInt16(f + 1);
    }
  } else {
    closed = 1;
    edgeCount = SInt16(3 * n);
    BuildExtrusionTopology(n);
    OrientCapsAndSides();
  }
  PortSetHandleState(storage, state);
  extruded = 1;
  typeCode = kObjectTypeExtrusion;
  changed = 1;
  CalcFacePlanes();
  OrientFaces();
  CheckConvexity();
  DropBox();
  UpdateBoundingBox();
}

void VLPolyline::OrientCapsAndSides() {
  SetArrayPointers();
  if (faceCount < 3) return;
  CalcFacePlanes();
  const SInt16 T = SInt16(faceCount - 2), B = SInt16(faceCount - 1);
  for (const auto& [cap, other] : {std::pair{T, B}, std::pair{B, T}}) {
    if (!FacePlaneInFront(cap, other, true)) continue;
    ReverseFace(cap);
    CalcFacePlanes();
    SetArrayPointers();
    const SInt16 turns = SInt16(faces[cap].loopCount - 1);
    for (SInt16 k = 0; k < turns && FacePlaneInFront(cap, other, true); ++k) {
      RotateFaceLoop(cap);
      CalcFacePlanes();
      if (!FacePlaneInFront(cap, other, true)) break;
      ReverseFace(cap);
      CalcFacePlanes();
    }
  }
  // The sides are all turned when every side has another side in front of it.
  SetArrayPointers();
  const SInt16 sides = SInt16(faceCount - 2);
  bool allInside = sides > 0;
  for (SInt16 f = 0; f < sides && allInside; ++f) {
    if (faces[f].degenerate) continue;
    bool found = false;
    for (SInt16 g = 0; g < sides && !found; ++g)
      if (g != f && !faces[g].degenerate && FacePlaneInFront(f, g, false)) found = true;
    allInside = found;
  }
  if (!allInside) return;
  for (SInt16 f = 0; f < sides; ++f) ReverseFace(f);
  CalcFacePlanes();
}

void VLPolyline::RotateFaceLoop(SInt16 face) {
  SetArrayPointers();
  if (face < 0 || face >= faceCount) return;
  SInt16* loop = LoopEntries(faces[face]);
  const SInt16 n = faces[face].loopCount;
  if (!loop || n < 2) return;
  const SInt16 first = loop[0];
  for (SInt16 k = 0; k + 1 < n; ++k) loop[k] = loop[k + 1];
  loop[n - 1] = first;
}

void VLPolyline::OrientExtrusion() {
  SetArrayPointers();
  if (faceCount < 2) return;
  const FaceRecord& top = faces[faceCount - 2];
  double a = 0, b = 0, c = 0, d = 0;
  CalcFacePlane(SInt16(faceCount - 1), &a, &b, &c, &d);
  SetArrayPointers();
  const Vector3d N{top.a, top.b, top.c}, bottomNormal{a, b, c};
  const double facing = VectorDot(&N, &bottomNormal);
  if (facing >= 0) return;
  const SInt16* loop = LoopEntries(top);
  if (!loop || top.loopCount < 1) return;
  const Vector3d p = vertices[loop[0]];
  const double s = VectorDot(&bottomNormal, &p);
  if (s == 0) return;
  const double t = -(s + d) / facing;
  if (t <= 0.00001) return;
  for (SInt16 f = 0; f < faceCount; ++f) ReverseFace(f);
  CalcFacePlanes();
}

Boolean VLPolyline::InitExtrusion(SInt16 n) {
  closed = 1;
  hidden = 0;
  extruded = 1;
  typeCode = kObjectTypeExtrusion;
  changed = 1;
  DropBox();
  currentOpening = -1;
  SetColor(&gDefaultObjectColor);
  hasOwnedParts = 0;
  referenceVertex = 0;
  phase = gCurrentPhase;
  if (n < 2 || 3 * SInt32(n) > 32767) return false;
  return CatchFailures(
      [&] {
        ReleaseFaceLoops(0, faceCount);
        faceCount = 0;
        AllocateStorage(SInt16(2 * n), SInt16(2 * n), SInt16(3 * n), SInt16(n + 2));
        vertexCount = screenPointCount = SInt16(2 * n);
        edgeCount = SInt16(3 * n);
        BuildExtrusionTopology(n);
      },
      [](std::exception_ptr) {});
}

void VLPolyline::Flatten() {
  if (typeCode != kObjectTypeExtrusion) return;
  // The openings come off the faces that go; the edit's record can give them back.
  for (VLOpening* opening : Openings()) {
    RemoveOpening(opening);
    KeepRemoved(opening);
  }
  openingCount = 0;
  typeCode = kObjectTypePolyline;
  extruded = 0;
  closed = 1;
  SetArrayPointers();
  vertexCount = faceCount >= 1 ? faces[faceCount - 1].loopCount : vertexCount;
  ReleaseFaceLoops(0, faceCount);
  faceCount = 0;
  edgeCount = vertexCount;
  bottomCap = topCap = 0;
  if (box) box->faceA = box->faceB = -1, box->edgeHandlesShown = 0;
  changed = 1;
  MarkChanged();
}

// ---- Copies ----

VLUser3DObject* VLPolyline::MakeCopy(VLUser3DObject* target) {
  if (!target) {
    target = new (std::nothrow) VLPolyline;
    if (!target) return nullptr;
  }
  auto* copy = static_cast<VLPolyline*>(VLOpeningOwner::MakeCopy(target));
  if (!copy) return nullptr;
  copy->box = nullptr;
  copy->ownsBox = 0;
  copy->extruded = extruded;
  copy->closed = closed;
  copy->bottomCap = bottomCap;
  copy->topCap = topCap;
  copy->underConstruction = 0;
  if (box) {
    if (box->frame) {
      Vector3d u, v, w;
      box->frame->GetAxes(&u, &v, &w);
      copy->UpdateBoundingBoxInFrame(&u, &v, &w);
    } else {
      copy->UpdateBoundingBox();
    }
  }
  return copy;
}

void VLPolyline::SetVertices(Handle copy) {
  VLOpeningOwner::SetVertices(copy);
  UpdateBoundingBox();
}

VLPolyline* MakePolyline(SInt16 vertices, SInt16 points, SInt16 edges, SInt16 faces) {
  auto* made = new (std::nothrow) VLPolyline;
  if (!made) return nullptr;
  Owned<VLPolyline> polyline(made);
  if (!CatchFailures([&] { made->AllocateStorage(vertices, points, edges, faces); }, [](std::exception_ptr) {}))
    return nullptr;
  made->SetArrayPointers();
  made->changed = 1;
  made->typeCode = kObjectTypePolyline;
  made->currentOpening = -1;
  made->SetColor(&gDefaultObjectColor);
  made->phase = gCurrentPhase;
  return polyline.release();
}
