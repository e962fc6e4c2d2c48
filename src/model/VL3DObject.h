// The root of everything drawn in the 3D view. It keeps the bookkeeping of the geometry store:
// the store's block and, for each kind of array, a count, a capacity and a pointer into the
// block. The pointers are valid only right after VLUser3DObject::SetArrayPointers, since the
// block moves when memory is allocated.
#pragma once

#include "CCollaborator.h"
#include "GeometryStore.h"
#include "MacTypes.h"
#include "Vector3d.h"

class VLViewTransform;

class VL3DObject : public CCollaborator {
  VL_REGISTERED_CLASS(VL3DObject, CCollaborator)

 public:
  VL3DObject() = default;
  // Releases the store.
  ~VL3DObject() override;

  using CCollaborator::Clone;
  // Copies the store (a duplicate of its block) with every count and capacity into target, or
  // into a new VL3DObject when target is null (null when that cannot be made). The target's
  // array pointers are cleared; its own store, if any, is released first. Sets changed on this
  // object so that it projects afresh. When the block cannot be duplicated the target is left
  // without a store and PortMemError tells why.
  virtual VL3DObject* Clone(VL3DObject* target);
  // Sets the cached point pointers from the store before they are used; nothing here.
  virtual void PreparePoints() {}
  // Draws the object through the view into the current port; updateRect is only passed on.
  // Nothing here.
  virtual void Draw(VLViewTransform* view, Rect* updateRect) {}

  Handle storage = nullptr;
  SInt16 vertexCount = 0;
  SInt16 vertexCapacity = 0;
  Vector3d* vertices = nullptr;
  SInt16 screenPointCount = 0;
  SInt16 screenPointCapacity = 0;
  Vector3d* screenPoints = nullptr;
  SInt16 viewPointCount = 0;
  SInt16 viewPointCapacity = 0;
  Vector3d* viewPoints = nullptr;
  SInt16 clipPointCount = 0;
  SInt16 clipPointCapacity = 0;
  Vector3d* clipPoints = nullptr;
  SInt16 edgeCount = 0;
  SInt16 edgeCapacity = 0;
  EdgeRecord* edges = nullptr;
  SInt16 edgeSegmentCount = 0;
  SInt16 edgeSegmentCapacity = 0;
  EdgeSegment* edgeSegments = nullptr;
  UInt8* vertexUnclipped = nullptr;
  UInt8* edgeVisible = nullptr;
  UInt8 changed = 0;  // geometry or attributes changed since the last projection

 protected:
  // Forgets every pointer into the store.
  void ClearStorePointers();
};
