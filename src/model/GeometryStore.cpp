#include "GeometryStore.h"

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
