// The shadow caster's side that the model objects meet: the polygons they hand it as seen from
// the sun, and the triangulation of faces with holes. The shadow pass itself (ordering the
// polygons toward the sun, cutting what nearer faces cover, giving the objects their lit patches,
// drawing the shadow mode) is the caster's own and comes with it; until then the caster keeps
// every polygon handed to it in its list, ordered as the pass wants them, and refuses to
// triangulate.
#pragma once

#include "CCollaborator.h"
#include "MacTypes.h"
#include "Vector3d.h"

class VLArray;
class VLUser3DObject;

// One face, or one triangle of a face with holes, in the sun frame (z grows toward the sun), in
// a relocatable block of its own.
struct ShadowPolygon {
  SInt32 id = 0;
  double maxX = 0, minX = 0, maxY = 0, minY = 0;
  double maxZ = 0;  // the point nearest the sun: the sort key
  double minZ = 0;
  double shade = 0;  // (n.z + 1) / 2 of the face normal n in the sun frame
  RGBColor colour;
  SInt16 pointCount = 0;
  Handle points = nullptr;  // pointCount Vector3d
  Vector3d normal;
  double planeD = 0;
  VLUser3DObject* owner = nullptr;
  SInt16 faceIndex = 0;
  SInt16 cutCount = 0;
  Handle cutBy = nullptr;  // cutCount SInt16
  Handle next = nullptr;   // the next ShadowPolygon block
  VLArray* triangles = nullptr;
};
using ShadowPolygonHandle = ShadowPolygon**;

// A zero-filled polygon block, or null with the memory error set.
ShadowPolygonHandle NewShadowPolygon();
// Frees the block with its points and cut list.
void DisposeShadowPolygon(ShadowPolygonHandle polygon);

// One loop of a face outline with holes: a relocatable block holding the next loop (or none),
// the point count and the points (ShadowLoopPoints).
struct ShadowLoop {
  Handle next = nullptr;
  SInt16 count = 0;
};
// A loop block for count points (points zero), or null with the memory error set.
Handle NewShadowLoop(SInt16 count);
inline ShadowLoop* ShadowLoopHeader(Handle loop) { return reinterpret_cast<ShadowLoop*>(*loop); }
inline Vector3d* ShadowLoopPoints(Handle loop) { return reinterpret_cast<Vector3d*>(*loop + sizeof(ShadowLoop)); }
// Frees a loop and every loop after it.
void DisposeShadowLoops(Handle loop);

class CShadowCaster : public CCollaborator {
  VL_REGISTERED_CLASS(CShadowCaster, CCollaborator)

 public:
  CShadowCaster() = default;
  // Takes ownership of the polygon and links it in before the first polygon whose maxZ is smaller,
  // after every polygon of equal maxZ.
  virtual void AddPolygon(ShadowPolygonHandle polygon);
  // Cuts the outer loop, with the holes chained after it, into triangles seen along the normal,
  // appended to triangles (items of three Vector3d). Raises kDEErrorAssertionViolated until the
  // shadow pass comes.
  virtual void Triangulate(Handle loops, const Vector3d* normal, VLArray* triangles);
  // Frees every polygon of the list, then the caster.
  void Dispose() override;

  ShadowPolygonHandle polygons = nullptr;
};
