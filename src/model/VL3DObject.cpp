#include "VL3DObject.h"

#include <new>

#include "Memory.h"

VL3DObject::~VL3DObject() {
  PortFreeHandle(storage);
  storage = nullptr;
}

void VL3DObject::ClearStorePointers() {
  vertices = nullptr;
  screenPoints = nullptr;
  viewPoints = nullptr;
  clipPoints = nullptr;
  edges = nullptr;
  edgeSegments = nullptr;
  vertexUnclipped = nullptr;
  edgeVisible = nullptr;
}

VL3DObject* VL3DObject::Clone(VL3DObject* target) {
  if (!target) {
    target = new (std::nothrow) VL3DObject;
    if (!target) return nullptr;
  }
  if (target == this) return target;
  PortFreeHandle(target->storage);
  target->storage = nullptr;
  target->ClearStorePointers();
  if (storage) {
    Handle copy = storage;
    PortDuplicateHandle(&copy);
    if (copy == storage) {
      // No copy: the target stays an empty store rather than counting arrays it lacks.
      target->vertexCount = target->vertexCapacity = target->screenPointCount = target->screenPointCapacity = 0;
      target->viewPointCount = target->viewPointCapacity = target->clipPointCount = target->clipPointCapacity = 0;
      target->edgeCount = target->edgeCapacity = target->edgeSegmentCount = target->edgeSegmentCapacity = 0;
      changed = 1;
      return target;
    }
    target->storage = copy;
  }
  target->vertexCount = vertexCount;
  target->vertexCapacity = vertexCapacity;
  target->screenPointCount = screenPointCount;
  target->screenPointCapacity = screenPointCapacity;
  target->viewPointCount = viewPointCount;
  target->viewPointCapacity = viewPointCapacity;
  target->clipPointCount = clipPointCount;
  target->clipPointCapacity = clipPointCapacity;
  target->edgeCount = edgeCount;
  target->edgeCapacity = edgeCapacity;
  target->edgeSegmentCount = edgeSegmentCount;
  target->edgeSegmentCapacity = edgeSegmentCapacity;
  changed = 1;
  return target;
}
