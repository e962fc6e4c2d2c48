#include "VL3DToolVertsChangedTask.h"

#include <utility>

#include "Memory.h"
#include "VLUser3DObject.h"

VL3DToolVertsChangedTask::~VL3DToolVertsChangedTask() { PortFreeHandle(vertexCopy); }

void VL3DToolVertsChangedTask::SetObject(VLUser3DObject* recorded) {
  object = recorded;
  Capture();
}

void VL3DToolVertsChangedTask::Capture() {
  PortFreeHandle(vertexCopy);
  vertexCopy = object ? object->CopyVertices() : nullptr;
  vertexCount = vertexCopy ? object->vertexCount : 0;
}

void VL3DToolVertsChangedTask::Undo() {
  if (!vertexCopy || !object) return;
  Handle present = object->CopyVertices();
  const SInt16 presentCount = object->vertexCount;
  // The kept count first, so that every kept vertex is written back; never past the store.
  if (vertexCount <= object->vertexCapacity) object->vertexCount = vertexCount;
  object->SetVertices(vertexCopy);
  PortFreeHandle(vertexCopy);
  vertexCopy = present;
  vertexCount = present ? presentCount : 0;
  object->CalcFacePlanes();
}
