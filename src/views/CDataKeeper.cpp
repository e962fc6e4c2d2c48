#include "CDataKeeper.h"

#include <new>
#include <utility>
#include <vector>

#include "CGroup.h"
#include "CObjectTransformer.h"
#include "DETException.h"
#include "GeometryKernel.h"
#include "Memory.h"
#include "Unwinding.h"
#include "VLOpening.h"
#include "VLOpeningOwner.h"
#include "VLPolyline.h"
#include "VLUser3DObject.h"

namespace {

[[noreturn]] void ThrowOutOfMemory() {
  throw DETException(kDEErrorNotEnoughMemory, PortMemError() != noErr ? PortMemError() : OSErr(memFullErr));
}

CDataKeeper** KeeperSlots(Handle block) { return block ? reinterpret_cast<CDataKeeper**>(*block) : nullptr; }

void DisposeKeepers(Handle& block, SInt16& count) {
  if (block)
    for (SInt16 i = 0; i < count; ++i)
      if (CDataKeeper* child = KeeperSlots(block)[i]) child->Dispose();
  PortFreeHandle(block);
  block = nullptr;
  count = 0;
}

std::vector<VLUser3DObject*> MembersOf(VLUser3DObject* object) {
  std::vector<VLUser3DObject*> members;
  if (object->typeCode == kObjectTypeGroup)
    if (auto* group = dynamic_cast<CGroup*>(object)) members = group->Members();
  return members;
}

std::vector<VLUser3DObject*> OpeningsOf(VLUser3DObject* object) {
  std::vector<VLUser3DObject*> openings;
  if (auto* owner = dynamic_cast<VLOpeningOwner*>(object))
    for (VLOpening* opening : owner->Openings()) openings.push_back(opening);
  return openings;
}

bool IsPolylineFamily(SInt16 type) { return type == kObjectTypePolyline || type == kObjectTypeExtrusion; }

// A copy of the vertices and their count (0 without a copy).
void CopyVerticesOf(VLUser3DObject* object, Handle& copy, SInt16& count) {
  copy = object->CopyVertices();
  count = copy ? object->vertexCount : 0;
}

// Writes a vertex copy back and brings the faces up to date: planes, then orientation.
void WriteVerticesBack(VLUser3DObject* object, Handle& copy, SInt16& count) {
  if (!copy) return;
  object->SetVertices(copy);
  PortFreeHandle(copy);
  copy = nullptr;
  count = 0;
  object->CalcFacePlanes();
  object->OrientFaces();
  // Openings that no longer fit the faces written back come off as the edit took them off, so
  // that a redo leaves the object as the edit did (and the next undo gives them back).
  if (object->openings && object->openings->GetNumItems() > 0) object->GeometryChanged();
}

// ---- The whole geometry of an object, held by a bare object ----

// Copies the store with every count and the face loops into the holder, which has none. Raises
// kDEErrorNotEnoughMemory; the holder is then safe to dispose of.
void CopyGeometry(VLUser3DObject* from, VLUser3DObject* holder) {
  from->VL3DObject::Clone(holder);
  if (from->storage && !holder->storage) ThrowOutOfMemory();
  holder->faceCount = from->faceCount;
  holder->faceCapacity = from->faceCapacity;
  // Until its loops are its own the holder's face records name the object's: clear them first.
  holder->SetArrayPointers();
  for (SInt16 i = 0; i < holder->faceCapacity; ++i) holder->faces[i].loop = nullptr;
  for (SInt16 i = 0; i < from->faceCount; ++i) {
    from->SetArrayPointers();
    Handle loop = from->faces[i].loop;
    if (!loop) continue;
    PortDuplicateHandle(&loop);
    if (loop == from->faces[i].loop) ThrowOutOfMemory();
    holder->SetArrayPointers();
    holder->faces[i].loop = loop;
  }
}

// The two objects exchange their stores with every count and capacity.
void ExchangeGeometry(VLUser3DObject* a, VLUser3DObject* b) {
  std::swap(a->storage, b->storage);
  std::swap(a->vertexCount, b->vertexCount);
  std::swap(a->vertexCapacity, b->vertexCapacity);
  std::swap(a->screenPointCount, b->screenPointCount);
  std::swap(a->screenPointCapacity, b->screenPointCapacity);
  std::swap(a->viewPointCount, b->viewPointCount);
  std::swap(a->viewPointCapacity, b->viewPointCapacity);
  std::swap(a->clipPointCount, b->clipPointCount);
  std::swap(a->clipPointCapacity, b->clipPointCapacity);
  std::swap(a->edgeCount, b->edgeCount);
  std::swap(a->edgeCapacity, b->edgeCapacity);
  std::swap(a->edgeSegmentCount, b->edgeSegmentCount);
  std::swap(a->edgeSegmentCapacity, b->edgeSegmentCapacity);
  std::swap(a->faceCount, b->faceCount);
  std::swap(a->faceCapacity, b->faceCapacity);
  a->SetArrayPointers();
  b->SetArrayPointers();
}

}  // namespace

// ---- CDataKeeper ----

CDataKeeper::~CDataKeeper() {
  DisposeKeepers(memberKeepers, memberKeeperCount);
  DisposeKeepers(openingKeepers, openingKeeperCount);
}

void CDataKeeper::CaptureChildren(const std::vector<VLUser3DObject*>& objects, Handle* block, SInt16* count) {
  if (objects.empty()) return;
  *block = PortAllocHandle(Size(objects.size() * sizeof(CDataKeeper*)));
  if (!*block) ThrowOutOfMemory();
  *count = SInt16(objects.size());
  for (std::size_t i = 0; i < objects.size(); ++i) {
    CDataKeeper* child = NewChildKeeper();
    if (!child) ThrowOutOfMemory();
    KeeperSlots(*block)[i] = child;
    child->Capture(objects[i]);
  }
}

void CDataKeeper::Capture(VLUser3DObject* recorded) {
  CaptureChildren(MembersOf(recorded), &memberKeepers, &memberKeeperCount);
  CaptureChildren(OpeningsOf(recorded), &openingKeepers, &openingKeeperCount);
  object = recorded;
}

void CDataKeeper::Restore() {
  if (!object) return;
  for (SInt16 i = 0; i < memberKeeperCount; ++i)
    if (CDataKeeper* child = KeeperSlots(memberKeepers)[i]) child->Restore();
  auto* owner = dynamic_cast<VLOpeningOwner*>(object);
  if (owner && owner->removedOpenings && owner->removedOpenings->GetNumItems() > 0) owner->RestoreRemovedOpenings();
  if (openingKeeperCount == 0 || !owner) return;
  // Only an opening the object holds now is written back: one that went elsewhere since the
  // record was made may no longer exist.
  const std::vector<VLUser3DObject*> present = OpeningsOf(object);
  for (SInt16 i = 0; i < openingKeeperCount; ++i) {
    CDataKeeper* child = KeeperSlots(openingKeepers)[i];
    if (!child) continue;
    for (VLUser3DObject* opening : present)
      if (opening == child->GetObject()) child->Restore();
  }
}

// ---- CColorKeeper ----

void CColorKeeper::Capture(VLUser3DObject* recorded) {
  CDataKeeper::Capture(recorded);
  recorded->GetColor(&colour);
}

void CColorKeeper::Restore() {
  // The group's colour goes to every member first; the members' keepers then put their own back.
  if (object) object->SetColor(&colour);
  CDataKeeper::Restore();
}

CDataKeeper* CColorKeeper::NewChildKeeper() { return new (std::nothrow) CColorKeeper; }

// ---- CVertsKeeper ----

CVertsKeeper::~CVertsKeeper() { PortFreeHandle(vertexCopy); }

void CVertsKeeper::Capture(VLUser3DObject* recorded) {
  CDataKeeper::Capture(recorded);
  CopyVerticesOf(recorded, vertexCopy, vertexCount);
}

void CVertsKeeper::RestoreVertices() { WriteVerticesBack(object, vertexCopy, vertexCount); }

void CVertsKeeper::Restore() {
  CDataKeeper::Restore();
  if (object) RestoreVertices();
}

CDataKeeper* CVertsKeeper::NewChildKeeper() { return new (std::nothrow) CVertsKeeper; }

// ---- CRotationKeeper ----

CRotationKeeper::~CRotationKeeper() {
  if (frameCopy) frameCopy->Dispose();
}

void CRotationKeeper::Capture(VLUser3DObject* recorded) {
  CVertsKeeper::Capture(recorded);
  rotationAngle = recorded->rotationAngle;
  CObjectTransformer* frame = nullptr;
  recorded->GetFrame(&frame);
  if (frame) {
    frameCopy = frame->ReplaceCopy(nullptr);
    if (!frameCopy) ThrowOutOfMemory();
  }
}

void CRotationKeeper::Restore() {
  CVertsKeeper::Restore();
  if (!object) return;
  object->rotationAngle = rotationAngle;
  CObjectTransformer* frame = frameCopy;
  frameCopy = nullptr;  // the object's from now on
  object->SetFrame(frame);
  auto* polyline = dynamic_cast<VLPolyline*>(object);
  if (polyline && IsPolylineFamily(object->typeCode) && polyline->box && frame) {
    Vector3d u, v, w;
    frame->GetAxes(&u, &v, &w);
    polyline->UpdateBoundingBoxInFrame(&u, &v, &w);
  }
}

CDataKeeper* CRotationKeeper::NewChildKeeper() { return new (std::nothrow) CRotationKeeper; }

// ---- CFlipKeeper ----

void CFlipKeeper::Capture(VLUser3DObject* recorded) {
  CVertsKeeper::Capture(recorded);
  CObjectTransformer* frame = nullptr;
  recorded->GetFrame(&frame);
  if (frame) {
    hasFrame = 1;
    frame->GetAxes(&axes[0], &axes[1], &axes[2]);
  }
}

void CFlipKeeper::Restore() {
  CVertsKeeper::Restore();
  if (!object) return;
  if (!hasFrame) return;
  const SInt16 type = object->typeCode;
  if (IsPolylineFamily(type) || type == kObjectTypePolyhedron) {
    if (auto* polyline = dynamic_cast<VLPolyline*>(object))
      polyline->UpdateBoundingBoxInFrame(&axes[0], &axes[1], &axes[2]);
    return;
  }
  CObjectTransformer* frame = nullptr;
  object->GetFrame(&frame);
  if (!frame) return;
  frame->ForgetMatrices();
  frame->SetAxes(&axes[0], &axes[1], &axes[2]);
  Vector3d reference;
  object->GetReferencePoint(&reference);
  frame->UpdateMatrices(&reference);
}

CDataKeeper* CFlipKeeper::NewChildKeeper() { return new (std::nothrow) CFlipKeeper; }

// ---- CVertsAndTypeKeeper ----

CVertsAndTypeKeeper::~CVertsAndTypeKeeper() {
  if (geometry) geometry->Dispose();
}

void CVertsAndTypeKeeper::Capture(VLUser3DObject* recorded) {
  CDataKeeper::Capture(recorded);
  // No half-copied geometry is kept: a failure leaves the keeper without any, type -1.
  typeCode = -1;
  Owned<VLUser3DObject> holder(new (std::nothrow) VLUser3DObject);
  if (!holder) ThrowOutOfMemory();
  CopyGeometry(recorded, holder.get());
  geometry = holder.release();
  vertexCount = recorded->vertexCount;
  edgeCount = recorded->edgeCount;
  auto* polyline = dynamic_cast<VLPolyline*>(recorded);
  if (polyline) closed = polyline->closed;
  if (recorded->typeCode == kObjectTypeExtrusion && recorded->vertexCount >= 2) {
    // The top ring lies over the base ring: vertex n over vertex 0.
    recorded->SetArrayPointers();
    VectorSubtract(&recorded->vertices[recorded->vertexCount / 2], &recorded->vertices[0], &extrusionVector);
  }
  typeCode = recorded->typeCode;
}

void CVertsAndTypeKeeper::Restore() {
  CDataKeeper::Restore();
  if (!object || typeCode < 0 || !geometry) return;
  auto* polyline = dynamic_cast<VLPolyline*>(object);
  const SInt16 present = object->typeCode;
  if (polyline && present == kObjectTypeExtrusion && typeCode == kObjectTypePolyline) {
    // The edit extruded an outline: flatten it back, open again when it was open.
    polyline->Flatten();
    if (!closed) {
      polyline->closed = 0;
      polyline->vertexCount = vertexCount;
      polyline->screenPointCount = vertexCount;
      polyline->edgeCount = edgeCount;
    }
    WriteRecordedVertices();
    polyline->UpdateBoundingBox();
    polyline->CalcScreenBounds();
    return;
  }
  if (polyline && present == kObjectTypePolyline && typeCode == kObjectTypeExtrusion) {
    polyline->ExtrudeAlong(&extrusionVector);
    WriteRecordedVertices();
    return;
  }
  ExchangeGeometry(object, geometry);
  // The type and, for the outline family, what tells an outline from a solid go with the geometry.
  const SInt16 presentType = object->typeCode;
  object->typeCode = typeCode;
  typeCode = presentType;
  if (polyline) {
    const UInt8 presentClosed = polyline->closed;
    polyline->closed = closed;
    closed = presentClosed;
    polyline->extruded = object->typeCode == kObjectTypeExtrusion || object->typeCode == kObjectTypePolyhedron;
    if (polyline->extruded && object->faceCount >= 2) {
      polyline->topCap = SInt16(object->faceCount - 2);
      polyline->bottomCap = SInt16(object->faceCount - 1);
    }
  }
  object->CalcFacePlanes();
  object->OrientFaces();
  if (polyline && IsPolylineFamily(object->typeCode)) {
    polyline->UpdateBoundingBox();
    polyline->CalcScreenBounds();
  }
  object->MarkChanged();
}

void CVertsAndTypeKeeper::WriteRecordedVertices() {
  // An edit may have moved the vertices as well as changing the kind (a scaling drag that ends
  // in an extrusion): the positions recorded come back too.
  Handle recorded = geometry->CopyVertices();
  if (!recorded) return;
  object->SetVertices(recorded);
  PortFreeHandle(recorded);
  // The faces keep the orientation the flattening or extruding gave them.
  object->CalcFacePlanes();
}

CDataKeeper* CVertsAndTypeKeeper::NewChildKeeper() { return new (std::nothrow) CVertsAndTypeKeeper; }
