#include "AdornmentPoints.h"

#include <algorithm>

#include "DETException.h"
#include "Memory.h"
#include "VLViewTransform.h"
#include "ViewConventions.h"

namespace vlviews {

void AllocateAdornmentPoints(VL3DObject* object, SInt16 modelPoints, SInt16 projectedPoints) {
  const SInt16 model = std::max<SInt16>(modelPoints, 0);
  const SInt16 projected = std::max<SInt16>(projectedPoints, 0);
  Handle block = PortAllocHandle((Size(model) + Size(projected)) * Size(sizeof(Vector3d)));
  if (!block) {
    ThrowIfMemError(kDEErrorNotEnoughMemory);
    ThrowIfNil(block);
  }
  PortFreeHandle(object->storage);
  object->storage = block;
  object->vertexCount = object->vertexCapacity = model;
  object->screenPointCount = 0;
  object->screenPointCapacity = projected;
  PointAtAdornmentPoints(object);
}

void PointAtAdornmentPoints(VL3DObject* object) {
  if (!object->storage) {
    object->vertices = object->screenPoints = nullptr;
    return;
  }
  object->vertices = reinterpret_cast<Vector3d*>(*object->storage);
  object->screenPoints = object->vertices + object->vertexCapacity;
}

void RecordSegment(VL3DObject* object, const VLViewTransform* view, const Vector3d& p, const Vector3d& q) {
  Vector3d a;
  Vector3d b;
  UInt8 visible = 0;
  UInt8 aUnchanged = 0;
  UInt8 bUnchanged = 0;
  view->ProjectSegment(&p, &q, &a, &b, &visible, &aUnchanged, &bUnchanged);
  if (!visible || object->screenPointCount > object->screenPointCapacity - 2) return;
  SInt16 h1 = 0, v1 = 0, h2 = 0, v2 = 0;
  if (!PaneCoordinate(a.x, &h1) || !PaneCoordinate(a.y, &v1) || !PaneCoordinate(b.x, &h2) ||
      !PaneCoordinate(b.y, &v2))
    return;
  object->screenPoints[object->screenPointCount++] = a;
  object->screenPoints[object->screenPointCount++] = b;
  PortPenMove(h1, v1);
  PortPenLine(h2, v2);
}

void RedrawSegments(const VL3DObject* object) {
  if (!object->screenPoints) return;
  for (SInt16 i = 0; i + 1 < object->screenPointCount; i += 2) {
    const Vector3d& a = object->screenPoints[i];
    const Vector3d& b = object->screenPoints[i + 1];
    SInt16 h1 = 0, v1 = 0, h2 = 0, v2 = 0;
    if (!PaneCoordinate(a.x, &h1) || !PaneCoordinate(a.y, &v1) || !PaneCoordinate(b.x, &h2) ||
        !PaneCoordinate(b.y, &v2))
      continue;
    PortPenMove(h1, v1);
    PortPenLine(h2, v2);
  }
}

bool RecordedBounds(const VL3DObject* object, Rect* out) {
  int minH = 32767, minV = 32767, maxH = 0, maxV = 0;
  for (SInt16 i = 0; object->screenPoints && i < object->screenPointCount; ++i) {
    SInt16 h = 0, v = 0;
    if (!PaneCoordinate(object->screenPoints[i].x, &h) || !PaneCoordinate(object->screenPoints[i].y, &v)) continue;
    minH = std::min<int>(minH, h);
    maxH = std::max<int>(maxH, h);
    minV = std::min<int>(minV, v);
    maxV = std::max<int>(maxV, v);
  }
  if (minH > maxH || minV > maxV) return false;
  PortSetRect(out, minH - 4, minV - 4, maxH + 4, maxV + 4);
  return true;
}

bool BeginGridColour(const RGBColor& colour) {
  const bool colourPort = PortIsColorPort(PortCurrentPort());
  if (colourPort) PortRGBForeColor(&colour);
  else PortPenPattern(&qd.gray);
  return colourPort;
}

void EndGridColour(bool colourPort) {
  if (colourPort) PortForeColor(blackColor);
  else PortPenPattern(&qd.black);
}

}  // namespace vlviews
