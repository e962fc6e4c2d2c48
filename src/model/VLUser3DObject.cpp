// The geometry store and life cycle of a model object, its face planes, and the hooks whose base
// behaviour is to do nothing.
#include "VLUser3DObject.h"

#include <cmath>
#include <cstring>
#include <new>

#include "D3TMaterial.h"
#include "D3TMaterialList.h"
#include "DETException.h"
#include "DrawingPlane.h"
#include "Memory.h"
#include "PointLoop.h"

UInt8 gLenientOrientation = 0;

namespace {

constexpr double kUnsetCoordinate = -105600.0;
constexpr double kSearchStart = 105600.0;

// ---- Face planes ----

// Whether a face's loop names vertices the object has and three of them are distinct.
bool HasThreeDistinctPoints(const FaceRecord& face, const Vector3d* vertices, SInt16 vertexCount) {
  const SInt16* loop = LoopEntries(face);
  if (!loop || face.loopCount < 3) return false;
  for (SInt16 k = 0; k < face.loopCount; ++k)
    if (loop[k] < 0 || loop[k] >= vertexCount) return false;
  const Vector3d& p0 = vertices[loop[0]];
  const Vector3d* p1 = nullptr;
  for (SInt16 k = 1; k < face.loopCount; ++k) {
    const Vector3d& p = vertices[loop[k]];
    if (PointsEqualWithin(&p, &p0, kCoincidentTolerance)) continue;
    if (!p1)
      p1 = &p;
    else if (!PointsEqualWithin(&p, p1, kCoincidentTolerance))
      return true;
  }
  return false;
}

// The unit normal of the loop's first corner that spans a plane, and a point of that corner;
// false when no corner does. The loop has at least three entries, all naming vertices.
bool CornerNormal(const Vector3d* vertices, const SInt16* loop, int n, Vector3d* normal, const Vector3d** through) {
  // Positions below 2n wrap by one subtraction: a division per corner would cost more than the rest.
  auto at = [&](int position) -> const Vector3d& { return vertices[loop[position >= n ? position - n : position]]; };
  // A loop that repeats its first point at its end starts one place on; a repeated second point
  // is stepped over.
  int k0 = PointsEqualWithin(&at(0), &at(n - 1), kPlanarTolerance) ? 1 : 0;
  int k1 = PointsEqualWithin(&at(k0), &at(k0 + 1), kPlanarTolerance) ? (k0 + 2) % n : (k0 + 1) % n;
  int prev = n - 1;
  while (k1 != 0 && PointsCollinear(vertices, loop[prev], loop[k0], loop[k1])) {
    prev = k0;
    k0 = k1;
    k1 = k1 + 1 == n ? 0 : k1 + 1;
  }
  const Vector3d& A = at(prev);
  const Vector3d& B = at(k0);
  const Vector3d& C = at(k1);
  Vector3d ba, bc;
  VectorSubtract(&B, &A, &ba);
  VectorSubtract(&B, &C, &bc);
  VectorCross(&ba, &bc, normal);
  const double length = VectorLength(normal);
  if (!(length > 0.0) || !std::isfinite(length)) return false;
  VectorDivide(normal, length, normal);
  *through = &A;
  return true;
}

// The axes of a frame whose third axis is a face's normal (AxesFromNormal).
struct FaceFrame {
  Vector3d across, up, axis;
};

// Whether the loop runs counter-clockwise seen from the frame's third axis: the loop must run
// clockwise, and the corner with the greatest second coordinate tells. Only that coordinate is
// needed of every corner, and the others only near the corner found.
bool TurnsAgainst(const Vector3d* vertices, const SInt16* loop, int n, const FaceFrame& frame) {
  auto inFrame = [&](int k) {  // k within the loop
    const Vector3d& p = vertices[loop[k]];
    return Vector3d{FrameCoordinate(frame.across, p), FrameCoordinate(frame.up, p), FrameCoordinate(frame.axis, p)};
  };
  int top = 0;
  double topY = FrameCoordinate(frame.up, vertices[loop[0]]);
  for (int k = 1; k < n; ++k) {
    const double y = FrameCoordinate(frame.up, vertices[loop[k]]);
    if (y > topY) {
      top = k;
      topY = y;
    }
  }
  const Vector3d corner = inFrame(top);
  // Neighbours that coincide with the corner (a repeated closing point) say nothing of the turn.
  int before = top == 0 ? n - 1 : top - 1, after = top == n - 1 ? 0 : top + 1;
  Vector3d previous = inFrame(before), next = inFrame(after);
  for (int steps = 0; steps < n && PointsEqualWithin(&previous, &corner, kCoincidentTolerance); ++steps) {
    before = before == 0 ? n - 1 : before - 1;
    previous = inFrame(before);
  }
  for (int steps = 0; steps < n && PointsEqualWithin(&next, &corner, kCoincidentTolerance); ++steps) {
    after = after == n - 1 ? 0 : after + 1;
    next = inFrame(after);
  }
  const double d1x = previous.x - corner.x, d1y = previous.y - corner.y;
  const double d2x = next.x - corner.x, d2y = next.y - corner.y;
  return d1x * d2y - d1y * d2x > 0.0;
}

}  // namespace

VLUser3DObject::VLUser3DObject() {
  // The current material of the document whose view pane is current; none without one.
  materialId = gCurrentMaterials ? gCurrentMaterials->GetCurrentMaterial() : 0;
}

VLUser3DObject::~VLUser3DObject() {
  delete[] name;
  name = nullptr;
  SetArrayPointers();
  ReleaseFaceLoops(0, faceCount);
  if (frame) frame->Dispose();
  frame = nullptr;
  delete materialObject;
  materialObject = nullptr;
  // Lit patches left by a shadow computation are the object's, and go with it.
  VLUser3DObject::FreeLitPatches();
}

void VLUser3DObject::ReleaseFaceLoops(SInt16 from, SInt16 to) {
  if (!faces) return;
  if (from < 0) from = 0;
  if (to > faceCapacity) to = faceCapacity;
  for (SInt16 i = from; i < to; ++i) {
    PortFreeHandle(faces[i].loop);
    faces[i].loop = nullptr;
    faces[i].loopCount = 0;
  }
}

void VLUser3DObject::SetNameText(const char* text) {
  delete[] name;
  name = nullptr;
  if (!text) return;
  const std::size_t length = std::strlen(text);
  name = new (std::nothrow) char[length + 1];
  ThrowIfNil(name);
  std::memcpy(name, text, length + 1);
}

void VLUser3DObject::SetArrayPointers() {
  if (!storage) {
    ClearStorePointers();
    faces = nullptr;
    markedEdgeSegmentsA = markedEdgeSegmentsB = markedEdgeSegmentsC = nullptr;
    markedEdgeFlagsA = markedEdgeFlagsB = markedEdgeFlagsC = nullptr;
    return;
  }
  const GeometryStoreLayout layout =
      LayoutGeometryStore(vertexCapacity, screenPointCapacity, edgeCapacity, faceCapacity);
  char* base = *storage;
  vertices = reinterpret_cast<Vector3d*>(base + layout.vertices);
  screenPoints = reinterpret_cast<Vector3d*>(base + layout.screenPoints);
  viewPoints = reinterpret_cast<Vector3d*>(base + layout.viewPoints);
  clipPoints = reinterpret_cast<Vector3d*>(base + layout.clipPoints);
  edges = reinterpret_cast<EdgeRecord*>(base + layout.edges);
  edgeSegments = reinterpret_cast<EdgeSegment*>(base + layout.edgeSegments);
  vertexUnclipped = reinterpret_cast<UInt8*>(base + layout.vertexUnclipped);
  edgeVisible = reinterpret_cast<UInt8*>(base + layout.edgeVisible);
  faces = reinterpret_cast<FaceRecord*>(base + layout.faces);
  markedEdgeSegmentsA = reinterpret_cast<EdgeSegment*>(base + layout.markedEdgeSegments[0]);
  markedEdgeSegmentsB = reinterpret_cast<EdgeSegment*>(base + layout.markedEdgeSegments[1]);
  markedEdgeSegmentsC = reinterpret_cast<EdgeSegment*>(base + layout.markedEdgeSegments[2]);
  markedEdgeFlagsA = reinterpret_cast<UInt8*>(base + layout.markedEdgeFlags[0]);
  markedEdgeFlagsB = reinterpret_cast<UInt8*>(base + layout.markedEdgeFlags[1]);
  markedEdgeFlagsC = reinterpret_cast<UInt8*>(base + layout.markedEdgeFlags[2]);
}

void VLUser3DObject::AllocateStorage(SInt16 v, SInt16 p, SInt16 e, SInt16 f) {
  if (v < 0 || p < 0 || e < 0 || f < 0)
    ThrowError(kDEErrorAssertionViolated, Str255("VLUser3DObject::AllocateStorage: negative capacity"));
  if (p < v) p = v;
  if (storage) {
    SetArrayPointers();
    ReleaseFaceLoops(0, faceCount);
    PortFreeHandle(storage);
    storage = nullptr;
  }
  vertexCount = viewPointCount = edgeCount = edgeSegmentCount = faceCount = 0;
  screenPointCount = clipPointCount = 0;
  vertexCapacity = viewPointCapacity = screenPointCapacity = clipPointCapacity = 0;
  edgeCapacity = edgeSegmentCapacity = faceCapacity = 0;
  SetArrayPointers();

  Handle block = PortAllocHandle(LayoutGeometryStore(v, p, e, f).total);
  if (!block) ThrowIfOSErr(PortMemError() != noErr ? PortMemError() : OSErr(memFullErr), kDEErrorNotEnoughMemory);
  storage = block;
  vertexCapacity = viewPointCapacity = v;
  screenPointCapacity = clipPointCapacity = p;
  edgeCapacity = edgeSegmentCapacity = e;
  faceCapacity = f;
  SetArrayPointers();
}

Boolean VLUser3DObject::GrowStorage(SInt16 dv, SInt16 dp, SInt16 de, SInt16 df) {
  // The store never shrinks: live data could not be kept in less room.
  long growV = dv > 0 ? dv : 0, growP = dp > 0 ? dp : 0, growE = de > 0 ? de : 0, growF = df > 0 ? df : 0;
  const long oldV = vertexCapacity, oldP = screenPointCapacity, oldE = edgeCapacity, oldF = faceCapacity;
  if (oldP + growP < oldV + growV) growP = oldV + growV - oldP;
  if (growV + growP + growE + growF < 1) return true;
  const long newV = oldV + growV, newP = oldP + growP, newE = oldE + growE, newF = oldF + growF;
  if (newV > 32767 || newP > 32767 || newE > 32767 || newF > 32767)
    ThrowIfOSErr(OSErr(memFullErr), kDEErrorNotEnoughMemory);

  const GeometryStoreLayout to = LayoutGeometryStore(SInt16(newV), SInt16(newP), SInt16(newE), SInt16(newF));
  Handle block = PortAllocHandle(to.total);
  if (!block) ThrowIfOSErr(PortMemError() != noErr ? PortMemError() : OSErr(memFullErr), kDEErrorNotEnoughMemory);

  SetArrayPointers();
  char* dst = *block;
  auto copy = [&](Size offset, const void* from, long count, Size itemSize) {
    if (from && count > 0) std::memcpy(dst + offset, from, std::size_t(count * itemSize));
  };
  copy(to.vertices, vertices, vertexCount, sizeof(Vector3d));
  copy(to.screenPoints, screenPoints, screenPointCount, sizeof(Vector3d));
  copy(to.viewPoints, viewPoints, viewPointCount, sizeof(Vector3d));
  copy(to.clipPoints, clipPoints, clipPointCount, sizeof(Vector3d));
  copy(to.edges, edges, edgeCount, sizeof(EdgeRecord));
  copy(to.edgeSegments, edgeSegments, edgeSegmentCount, sizeof(EdgeSegment));
  copy(to.vertexUnclipped, vertexUnclipped, vertexCount, 1);
  copy(to.edgeVisible, edgeVisible, edgeCount, 1);
  copy(to.faces, faces, faceCount, sizeof(FaceRecord));
  const EdgeSegment* markedSegments[3] = {markedEdgeSegmentsA, markedEdgeSegmentsB, markedEdgeSegmentsC};
  const UInt8* markedFlags[3] = {markedEdgeFlagsA, markedEdgeFlagsB, markedEdgeFlagsC};
  for (int k = 0; k < 3; ++k) {
    copy(to.markedEdgeSegments[k], markedSegments[k], edgeCount, sizeof(EdgeSegment));
    copy(to.markedEdgeFlags[k], markedFlags[k], edgeCount, 1);
  }

  PortFreeHandle(storage);
  storage = block;
  vertexCapacity = viewPointCapacity = SInt16(newV);
  screenPointCapacity = clipPointCapacity = SInt16(newP);
  edgeCapacity = edgeSegmentCapacity = SInt16(newE);
  faceCapacity = SInt16(newF);
  SetArrayPointers();
  // Projected points were not carried over: the next draw must project again.
  changed = 1;
  return true;
}

void VLUser3DObject::GetPlanCentre(Vector3d* point) {
  if (!point || point->x != kUnsetCoordinate || point->y != kUnsetCoordinate || point->z != kUnsetCoordinate)
    return;
  SetArrayPointers();
  double minX = kSearchStart, minY = kSearchStart, maxX = -kSearchStart, maxY = -kSearchStart;
  for (SInt16 i = 0; i < vertexCount; ++i) {
    Vector3d p;
    WorldToDrawingPlane(&vertices[i], &p);
    const double x = VectorComponent(p, gAxisX), y = VectorComponent(p, gAxisY);
    if (x < minX) minX = x;
    if (x > maxX) maxX = x;
    if (y < minY) minY = y;
    if (y > maxY) maxY = y;
  }
  if (vertexCount <= 0) minX = maxX = minY = maxY = 0.0;
  VectorComponent(*point, gAxisX) = minX + (maxX - minX) * 0.5;
  VectorComponent(*point, gAxisY) = minY + (maxY - minY) * 0.5;
  VectorComponent(*point, gAxisZ) = 0.0;
}

void VLUser3DObject::GetCentre(Vector3d* out) {
  SetArrayPointers();
  if (vertexCount <= 0) {
    *out = Vector3d{};
    return;
  }
  Vector3d lo{kSearchStart, kSearchStart, kSearchStart}, hi{-kSearchStart, -kSearchStart, -kSearchStart};
  for (SInt16 i = 0; i < vertexCount; ++i) {
    const Vector3d& p = vertices[i];
    if (p.x < lo.x) lo.x = p.x;
    if (p.y < lo.y) lo.y = p.y;
    if (p.z < lo.z) lo.z = p.z;
    if (p.x > hi.x) hi.x = p.x;
    if (p.y > hi.y) hi.y = p.y;
    if (p.z > hi.z) hi.z = p.z;
  }
  out->x = (hi.x - lo.x) * 0.5 + lo.x;
  out->y = (hi.y - lo.y) * 0.5 + lo.y;
  out->z = (hi.z - lo.z) * 0.5 + lo.z;
}

void VLUser3DObject::CalcFacePlane(SInt16 face, double* a, double* b, double* c, double* d) {
  SetArrayPointers();
  if (face < 0 || face >= faceCount) return;
  PlaneOfFace(face, a, b, c, d);
}

void VLUser3DObject::PlaneOfFace(SInt16 face, double* a, double* b, double* c, double* d) const {
  const FaceRecord& record = faces[face];
  *a = record.a;
  *b = record.b;
  *c = record.c;
  *d = record.d;
  const SInt16* loop = LoopEntries(record);
  const int n = record.loopCount;
  if (!loop || n < 3) return;
  for (int k = 0; k < n; ++k)
    if (loop[k] < 0 || loop[k] >= vertexCount) return;
  Vector3d normal;
  const Vector3d* through = nullptr;
  // No corner that spans a plane: the face keeps the plane it had.
  if (!CornerNormal(vertices, loop, n, &normal, &through)) return;
  Vector3d axis = normal, across, up;
  AxesFromNormal(&axis, &across, &up);
  if (TurnsAgainst(vertices, loop, n, FaceFrame{across, up, axis})) VectorNegate(&normal);
  *a = normal.x;
  *b = normal.y;
  *c = normal.z;
  *d = -VectorDot(&normal, through);
}

void VLUser3DObject::GetFaceNormal(SInt16 face, Vector3d* out) {
  SetArrayPointers();
  if (face < 0 || face >= faceCount) return;
  VectorSet(out, faces[face].a, faces[face].b, faces[face].c);
}

void VLUser3DObject::CalcFacePlanes() {
  SetArrayPointers();
  // A few faces at a time, each step over all of them: the square roots and divisions of one
  // face's normal and frame wait on each other, those of different faces need not.
  constexpr int kBatch = 8;
  for (int first = 0; first < faceCount; first += kBatch) {
    const int count = faceCount - first < kBatch ? faceCount - first : kBatch;
    FaceRecord* batch = faces + first;
    Vector3d normal[kBatch];
    FaceFrame frame[kBatch];
    const Vector3d* through[kBatch] = {};
    bool spans[kBatch] = {};
    for (int j = 0; j < count; ++j) {
      const bool distinct = HasThreeDistinctPoints(batch[j], vertices, vertexCount);
      batch[j].degenerate = distinct ? 0 : 1;
      // A face without a corner that spans a plane keeps the plane it had.
      spans[j] = distinct && CornerNormal(vertices, LoopEntries(batch[j]), batch[j].loopCount, &normal[j], &through[j]);
    }
    for (int j = 0; j < count; ++j) {
      if (!spans[j]) continue;
      frame[j].axis = normal[j];
      AxesFromNormal(&frame[j].axis, &frame[j].across, &frame[j].up);
    }
    for (int j = 0; j < count; ++j) {
      if (!spans[j]) continue;
      const SInt16* loop = LoopEntries(batch[j]);
      if (TurnsAgainst(vertices, loop, batch[j].loopCount, frame[j])) VectorNegate(&normal[j]);
      batch[j].a = normal[j].x;
      batch[j].b = normal[j].y;
      batch[j].c = normal[j].z;
      batch[j].d = -VectorDot(&normal[j], through[j]);
    }
  }
}

VLUser3DObject* VLUser3DObject::MakeCopy(VLUser3DObject* target) {
  if (!target) {
    target = new (std::nothrow) VLUser3DObject;
    if (!target) return nullptr;
  }
  if (target == this) return target;
  // A target that was already given geometry drops it: its loops and material are its own.
  target->SetArrayPointers();
  target->ReleaseFaceLoops(0, target->faceCount);
  target->faceCount = 0;
  delete target->materialObject;
  target->materialObject = nullptr;

  VL3DObject::Clone(target);
  if (storage && !target->storage) {
    const OSErr err = PortMemError() != noErr ? PortMemError() : OSErr(memFullErr);
    target->faceCount = target->faceCapacity = 0;
    target->faces = nullptr;
    target->Dispose();
    ThrowIfOSErr(err, kDEErrorNotEnoughMemory);
  }

  target->openingCount = openingCount;
  target->currentFace = currentFace;
  target->referenceVertex = referenceVertex;
  target->typeCode = typeCode;
  target->hasOwnedParts = hasOwnedParts;
  target->edgeHandlesShown = edgeHandlesShown;
  target->projectedVisible = projectedVisible;
  target->nonConvex = nonConvex;
  target->screenBounds = screenBounds;
  target->faceCount = faceCount;
  target->faceCapacity = faceCapacity;
  target->color = color;
  target->drawColor = drawColor;
  target->rotationAngle = rotationAngle;
  target->materialId = materialId;
  target->stretchPoints[0] = stretchPoints[0];
  target->stretchPoints[1] = stretchPoints[1];
  target->stretchPoints[2] = stretchPoints[2];
  target->phase = phase;
  target->needsRedraw = 1;
  target->openings = nullptr;
  target->removedOpenings = nullptr;
  target->litPatches = nullptr;
  target->selected = target->faceMode = target->ownedPartsShown = target->hidden = 0;
  target->tracking = target->clippedEdges = 0;

  // Until its loops are its own, the copy's face records name the source's blocks: clear them
  // before anything can fail, so that disposing of the copy never frees the source's loops.
  target->SetArrayPointers();
  SetArrayPointers();
  for (SInt16 i = 0; i < target->faceCount; ++i) {
    target->faces[i].loop = nullptr;
    target->faces[i].degenerate = faces[i].degenerate;
  }

  target->MarkChanged();
  target->currentOpening = -1;

  if (name) {
    target->name = new (std::nothrow) char[std::strlen(name) + 1];
    if (!target->name) {
      target->Dispose();
      return nullptr;
    }
    std::strcpy(target->name, name);
  }
  // Each object owns its material copy, so that disposing of one never frees the other's.
  if (materialObject) {
    target->materialObject = new (std::nothrow) D3TMaterial(*materialObject);
    if (!target->materialObject) {
      target->Dispose();
      return nullptr;
    }
  }
  if (frame) {
    target->frame = frame->Clone();
    if (!target->frame) {
      target->Dispose();
      return nullptr;
    }
  }

  SetArrayPointers();
  for (SInt16 i = 0; i < faceCount; ++i) {
    Handle loop = faces[i].loop;
    if (!loop) continue;
    PortDuplicateHandle(&loop);
    if (loop == faces[i].loop) {
      const OSErr err = PortMemError() != noErr ? PortMemError() : OSErr(memFullErr);
      target->Dispose();
      ThrowIfOSErr(err, kDEErrorNotEnoughMemory);
    }
    target->SetArrayPointers();
    target->faces[i].loop = loop;
    SetArrayPointers();
  }
  // The duplicated blocks already hold every loop index; the planes are recomputed from them.
  if (target->faceCount > 0) target->CalcFacePlanes();
  return target;
}

SInt32 VLUser3DObject::CountObjects() { return 1; }

SInt32 VLUser3DObject::CountLeafObjects() { return 1; }

// ---- Hooks: the object classes that need them override these ----

Boolean VLUser3DObject::FindHandle(const Vector3d*, Point, SInt16*, SInt16*, Boolean, VLViewTransform*) {
  return false;
}
Boolean VLUser3DObject::BuildGeometry(VLViewTransform*, SInt16, const Vector3d*, SInt16, VLViewPane*) {
  return false;
}
void VLUser3DObject::StretchToHandle(SInt16*, const Vector3d*, VLViewTransform*, Boolean) {}
void VLUser3DObject::CreateOpening(const Vector3d*) {}
Boolean VLUser3DObject::DeleteCurrentOpening() { return false; }
SInt16 VLUser3DObject::OppositeFace(SInt16) { return -1; }
void VLUser3DObject::BuildOutlineEdges(Boolean) {}
void VLUser3DObject::ProjectEdges(VLViewTransform*, Boolean) {}
Handle VLUser3DObject::OutlineOnFace(SInt16, UInt8, SInt16*, Handle, UInt8*, SInt16*, Handle*) { return nullptr; }
Handle VLUser3DObject::ViewOutlineOnFace(SInt16) { return nullptr; }
void VLUser3DObject::SetOutline(const Vector3d*, SInt16, SInt32) {}
Boolean VLUser3DObject::ValidateOutline(Boolean, const Vector3d*) { return false; }
Boolean VLUser3DObject::AppendHoleOutline(SInt16, Handle*) { return false; }
VLArray* VLUser3DObject::CopyOpenings() { return nullptr; }
void VLUser3DObject::AlignFacesWith(VLUser3DObject*, const SInt16*) {}
void VLUser3DObject::Extrude(double) {}
void VLUser3DObject::ExtrudeAlong(const Vector3d*) {}
void VLUser3DObject::DuplicateMoved(VLUser3DObject**, const Vector3d*) {}
