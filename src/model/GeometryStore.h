// The records of a model object's geometry store and the layout of its one relocatable block.
//
// The store holds, one after the other, every array of an object at its capacity: vertices,
// screen points, view points, clip points, edges, edge segments, the per-vertex unclipped
// bytes, the per-edge visibility bytes, the face records and the three pairs of marked-edge
// arrays. Each array starts on an 8-byte boundary so that the doubles and handles in it are
// properly aligned whatever the capacities before it.
#pragma once

#include <vector>

#include "GeometryKernel.h"
#include "PointLoop.h"
#include "MacTypes.h"
#include "Vector3d.h"

// The kind of a model object (VLUser3DObject::typeCode).
enum ObjectTypeCode : SInt16 {
  kObjectTypeBoundingBox = -1,
  kObjectTypeBlock = 0,
  kObjectTypeConstructionPlane = 1,
  kObjectTypeGroup = 2,
  kObjectTypeOpening = 3,
  kObjectTypePolyline = 5,
  kObjectTypePolyhedron = 6,
  kObjectTypeExtrusion = 7,
};

// One face: its plane a*x + b*y + c*z + d = 0 with (a, b, c) the unit normal, and its loop of
// vertex indices in a block of its own. The loop runs clockwise seen from the side the normal
// points to.
struct FaceRecord {
  double a = 0.0;
  double b = 0.0;
  double c = 0.0;
  double d = 0.0;
  SInt16 loopCount = 0;
  UInt8 degenerate = 0;  // fewer than three distinct points: the plane is kept as it was
  Handle loop = nullptr;  // loopCount SInt16 vertex indices
};

// The loop entries of a face; null for a face without a loop block. Valid until the block moves.
inline SInt16* LoopEntries(const FaceRecord& face) {
  return face.loop ? reinterpret_cast<SInt16*>(*face.loop) : nullptr;
}

// The vertices a face's loop names, each once, in loop order; entries outside 0..vertexCount - 1
// are left out. An edit that moves a face moves each of its vertices once.
std::vector<SInt16> DistinctLoopVertices(const FaceRecord& face, SInt16 vertexCount);

// An edge between two vertices.
struct EdgeRecord {
  SInt16 a = 0;
  SInt16 b = 0;
};

// A clipped pane segment: horizontal and vertical coordinates of its first and second end.
struct EdgeSegment {
  SInt16 h1 = 0;
  SInt16 v1 = 0;
  SInt16 h2 = 0;
  SInt16 v2 = 0;
};

// Byte offsets of the arrays in a store of the given capacities, and its whole size.
struct GeometryStoreLayout {
  Size vertices = 0;
  Size screenPoints = 0;
  Size viewPoints = 0;
  Size clipPoints = 0;
  Size edges = 0;
  Size edgeSegments = 0;
  Size vertexUnclipped = 0;
  Size edgeVisible = 0;
  Size faces = 0;
  Size markedEdgeSegments[3] = {};
  Size markedEdgeFlags[3] = {};
  Size total = 0;
};

// Capacities below 0 count as 0. Inline: every re-derivation of an object's array pointers asks
// for it, and a call that returns the layout through memory costs more than laying it out.
inline GeometryStoreLayout LayoutGeometryStore(SInt16 vertexCapacity, SInt16 pointCapacity, SInt16 edgeCapacity,
                                               SInt16 faceCapacity) {
  const long v = vertexCapacity, p = pointCapacity, e = edgeCapacity, f = faceCapacity;
  Size next = 0;
  // Appends an array of count items of itemSize bytes at the next 8-byte boundary.
  const auto place = [&next](long count, Size itemSize) {
    const Size at = (next + 7) & ~Size(7);
    next = at + (count > 0 ? count : 0) * itemSize;
    return at;
  };
  GeometryStoreLayout layout;
  layout.vertices = place(v, sizeof(Vector3d));
  layout.screenPoints = place(p, sizeof(Vector3d));
  layout.viewPoints = place(v, sizeof(Vector3d));
  layout.clipPoints = place(p, sizeof(Vector3d));
  layout.edges = place(e, sizeof(EdgeRecord));
  layout.edgeSegments = place(e, sizeof(EdgeSegment));
  layout.vertexUnclipped = place(v, 1);
  layout.edgeVisible = place(e, 1);
  layout.faces = place(f, sizeof(FaceRecord));
  for (Size& at : layout.markedEdgeSegments) at = place(e, sizeof(EdgeSegment));
  for (Size& at : layout.markedEdgeFlags) at = place(e, 1);
  layout.total = place(0, 1);
  return layout;
}

// The most loop points one face may have: a loop is transformed into the shared point work
// buffer when its plane is computed.
constexpr SInt16 kMaxFaceLoopPoints = SInt16(kPointWorkBufferSize / Size(sizeof(Vector3d)));
// The most faces face orientation keeps states for (one 16-bit state per face in the same
// buffer); objects read from files are held to it.
constexpr SInt16 kMaxOrientableFaces = SInt16(kPointWorkBufferSize / Size(sizeof(UInt16)));

// Model tolerances.
constexpr double kCoincidentTolerance = 1e-5;   // coincident coordinates
constexpr double kEqualNormalTolerance = 0.0001;
constexpr double kPlanarTolerance = 0.001;
