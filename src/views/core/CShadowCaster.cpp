#include "CShadowCaster.h"

#include <new>

#include "DETException.h"
#include "Memory.h"

ShadowPolygonHandle NewShadowPolygon() {
  Handle block = PortAllocHandle(Size(sizeof(ShadowPolygon)));
  if (!block) return nullptr;
  new (*block) ShadowPolygon;
  return reinterpret_cast<ShadowPolygonHandle>(block);
}

void DisposeShadowPolygon(ShadowPolygonHandle polygon) {
  if (!polygon) return;
  PortFreeHandle((*polygon)->points);
  PortFreeHandle((*polygon)->cutBy);
  PortFreeHandle(reinterpret_cast<Handle>(polygon));
}

Handle NewShadowLoop(SInt16 count) {
  if (count < 0) return nullptr;
  Handle block = PortAllocHandle(Size(sizeof(ShadowLoop)) + Size(count) * Size(sizeof(Vector3d)));
  if (!block) return nullptr;
  new (*block) ShadowLoop;
  ShadowLoopHeader(block)->count = count;
  return block;
}

void DisposeShadowLoops(Handle loop) {
  while (loop) {
    Handle next = ShadowLoopHeader(loop)->next;
    PortFreeHandle(loop);
    loop = next;
  }
}

void CShadowCaster::AddPolygon(ShadowPolygonHandle polygon) {
  ShadowPolygonHandle before = nullptr;
  ShadowPolygonHandle r = polygons;
  for (; r && !((*r)->maxZ < (*polygon)->maxZ); r = reinterpret_cast<ShadowPolygonHandle>((*r)->next)) before = r;
  (*polygon)->next = reinterpret_cast<Handle>(r);
  if (before)
    (*before)->next = reinterpret_cast<Handle>(polygon);
  else
    polygons = polygon;
}

void CShadowCaster::Triangulate(Handle, const Vector3d*, VLArray*) {
  ThrowError(kDEErrorAssertionViolated, Str255("CShadowCaster::Triangulate: no shadow pass yet"));
}

void CShadowCaster::Dispose() {
  while (polygons) {
    auto next = reinterpret_cast<ShadowPolygonHandle>((*polygons)->next);
    DisposeShadowPolygon(polygons);
    polygons = next;
  }
  CCollaborator::Dispose();
}
