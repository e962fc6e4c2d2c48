#include "GeometryStore.h"

namespace {

Size Aligned(Size offset) { return (offset + 7) & ~Size(7); }

// Appends an array of count items of itemSize bytes at the next aligned offset.
Size Place(Size* next, long count, Size itemSize) {
  const Size at = Aligned(*next);
  *next = at + (count > 0 ? count : 0) * itemSize;
  return at;
}

}  // namespace

GeometryStoreLayout LayoutGeometryStore(SInt16 vertexCapacity, SInt16 pointCapacity, SInt16 edgeCapacity,
                                        SInt16 faceCapacity) {
  const long v = vertexCapacity, p = pointCapacity, e = edgeCapacity, f = faceCapacity;
  GeometryStoreLayout layout;
  Size next = 0;
  layout.vertices = Place(&next, v, sizeof(Vector3d));
  layout.screenPoints = Place(&next, p, sizeof(Vector3d));
  layout.viewPoints = Place(&next, v, sizeof(Vector3d));
  layout.clipPoints = Place(&next, p, sizeof(Vector3d));
  layout.edges = Place(&next, e, sizeof(EdgeRecord));
  layout.edgeSegments = Place(&next, e, sizeof(EdgeSegment));
  layout.vertexUnclipped = Place(&next, v, 1);
  layout.edgeVisible = Place(&next, e, 1);
  layout.faces = Place(&next, f, sizeof(FaceRecord));
  for (Size& at : layout.markedEdgeSegments) at = Place(&next, e, sizeof(EdgeSegment));
  for (Size& at : layout.markedEdgeFlags) at = Place(&next, e, 1);
  layout.total = Aligned(next);
  return layout;
}

std::vector<SInt16> DistinctLoopVertices(const FaceRecord& face, SInt16 vertexCount) {
  std::vector<SInt16> found;
  const SInt16* loop = LoopEntries(face);
  for (SInt16 k = 0; loop && k < face.loopCount; ++k) {
    const SInt16 vertex = loop[k];
    bool seen = vertex < 0 || vertex >= vertexCount;
    for (std::size_t i = 0; i < found.size() && !seen; ++i) seen = found[i] == vertex;
    if (!seen) found.push_back(vertex);
  }
  return found;
}
