// The box layout that blocks, groups, handle boxes and openings share: eight corners (min and
// max of each axis), twelve edges and six four-sided faces whose loops run clockwise seen from
// outside, so that the computed normals point out.
//
//   corner  0 (min, min, min)  1 (max, min, min)  2 (max, max, min)  3 (min, max, min)
//           4 (min, min, max)  5 (max, min, max)  6 (max, max, max)  7 (min, max, max)
//   face    0 bottom, 1 min x, 2 max y, 3 max x, 4 min y, 5 top
#pragma once

#include "GeometryStore.h"
#include "MacTypes.h"
#include "Vector3d.h"

class VLUser3DObject;

namespace boxlayout {

constexpr SInt16 kCorners = 8;
constexpr SInt16 kEdges = 12;
constexpr SInt16 kFaces = 6;

extern const EdgeRecord kEdgeList[kEdges];
extern const SInt16 kFaceLoops[kFaces][4];

// 0-6, 1-7, 2-4, 3-5; -1 for any other number.
SInt16 OppositeCorner(SInt16 corner);
// 0-5, 1-3, 2-4; -1 for any other number.
SInt16 OppositeFace(SInt16 face);
// The eight corners of the extent, in corner order.
void CornersOfExtent(const Vector3d& minimum, const Vector3d& maximum, Vector3d corners[kCorners]);

// A new loop block holding the indices. Raises kDEErrorNotEnoughMemory.
Handle NewLoopBlock(const SInt16* indices, SInt16 count);

// Gives the object a store for the box (8 vertices and points, 12 edges, 6 faces, every count
// full), writes the edges and gives each face a new loop block of the layout with its flag
// clear. The vertices are left to the caller. Raises kDEErrorNotEnoughMemory; the object then
// keeps no store and no loop block.
void BuildBox(VLUser3DObject* object);
// Writes the edge list and the loops into the face loop blocks that exist.
void RewriteBoxTopology(VLUser3DObject* object);

}  // namespace boxlayout
