#include "BoxLayout.h"

#include <cstring>

#include "DETException.h"
#include "Memory.h"
#include "Unwinding.h"
#include "VLUser3DObject.h"

namespace boxlayout {

const EdgeRecord kEdgeList[kEdges] = {{0, 1}, {1, 2}, {2, 3}, {3, 0}, {4, 5}, {5, 6},
                                      {6, 7}, {7, 4}, {0, 4}, {1, 5}, {2, 6}, {3, 7}};
const SInt16 kFaceLoops[kFaces][4] = {{0, 1, 2, 3}, {0, 3, 7, 4}, {3, 2, 6, 7},
                                      {2, 1, 5, 6}, {1, 0, 4, 5}, {4, 7, 6, 5}};

SInt16 OppositeCorner(SInt16 corner) {
  static constexpr SInt16 kOpposite[kCorners] = {6, 7, 4, 5, 2, 3, 0, 1};
  return corner >= 0 && corner < kCorners ? kOpposite[corner] : SInt16(-1);
}

SInt16 OppositeFace(SInt16 face) {
  static constexpr SInt16 kOpposite[kFaces] = {5, 3, 4, 1, 2, 0};
  return face >= 0 && face < kFaces ? kOpposite[face] : SInt16(-1);
}

void CornersOfExtent(const Vector3d& lo, const Vector3d& hi, Vector3d corners[kCorners]) {
  corners[0] = {lo.x, lo.y, lo.z};
  corners[1] = {hi.x, lo.y, lo.z};
  corners[2] = {hi.x, hi.y, lo.z};
  corners[3] = {lo.x, hi.y, lo.z};
  corners[4] = {lo.x, lo.y, hi.z};
  corners[5] = {hi.x, lo.y, hi.z};
  corners[6] = {hi.x, hi.y, hi.z};
  corners[7] = {lo.x, hi.y, hi.z};
}

Handle NewLoopBlock(const SInt16* indices, SInt16 count) {
  Handle loop = PortAllocHandle(Size(count) * Size(sizeof(SInt16)));
  ThrowIfMemError(kDEErrorNotEnoughMemory);
  if (!loop) ThrowIfOSErr(memFullErr, kDEErrorNotEnoughMemory);
  std::memcpy(*loop, indices, std::size_t(count) * sizeof(SInt16));
  return loop;
}

void BuildBox(VLUser3DObject* object) {
  object->AllocateStorage(kCorners, kCorners, kEdges, kFaces);
  // The loops are made first and given to the object all at once: a loop that cannot be had
  // takes the store and the loops made so far with it.
  Handle loops[kFaces] = {};
  CatchFailures(
      [&] {
        for (SInt16 f = 0; f < kFaces; ++f) loops[f] = NewLoopBlock(kFaceLoops[f], 4);
      },
      [&](std::exception_ptr failure) {
        for (Handle loop : loops) PortFreeHandle(loop);
        PortFreeHandle(object->storage);
        object->storage = nullptr;
        object->SetArrayPointers();
        std::rethrow_exception(failure);
      });
  object->SetArrayPointers();
  object->vertexCount = kCorners;
  object->screenPointCount = kCorners;
  object->edgeCount = kEdges;
  object->edgeSegmentCount = kEdges;
  for (SInt16 e = 0; e < kEdges; ++e) object->edges[e] = kEdgeList[e];
  for (SInt16 f = 0; f < kFaces; ++f) {
    object->faces[f] = FaceRecord{};
    object->faces[f].loop = loops[f];
    object->faces[f].loopCount = 4;
  }
  object->faceCount = kFaces;
}

void RewriteBoxTopology(VLUser3DObject* object) {
  object->SetArrayPointers();
  for (SInt16 e = 0; e < kEdges && e < object->edgeCapacity; ++e) object->edges[e] = kEdgeList[e];
  for (SInt16 f = 0; f < kFaces && f < object->faceCount; ++f) {
    if (SInt16* loop = LoopEntries(object->faces[f])) {
      if (object->faces[f].loopCount >= 4) std::memcpy(loop, kFaceLoops[f], sizeof kFaceLoops[f]);
    }
  }
}

}  // namespace boxlayout
