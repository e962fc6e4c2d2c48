#include "CPolyhedron.h"

#include <new>

#include "BoxLayout.h"
#include "DETException.h"
#include "Memory.h"
#include "PhaseRecord.h"
#include "Unwinding.h"

void CPolyhedron::InitStorage() {
  VLPolyline::InitStorage();
  typeCode = kObjectTypePolyhedron;
  closed = 1;
  extruded = 1;
}

void CPolyhedron::BuildMesh(SInt16 m, SInt16 n, const Vector3d* points, UInt8 closedRows) {
  const bool joined = closedRows & 0xFF;
  const SInt32 vertexTotal = SInt32(m) * n;
  const SInt32 edgeTotal = SInt32(m - 1) * n + SInt32(n - 1) * m + (joined ? n : 0);
  const SInt32 faceTotal = 2 * SInt32(n - 1) * (m - 1) + (joined ? 2 * SInt32(n - 1) : 0);
  if (m < 1 || n < 1 || vertexTotal > 32767 || edgeTotal > 32767 || faceTotal > 32767)
    ThrowIfOSErr(paramErr, kDEErrorAssertionViolated);
  if (!EnsureCapacity(SInt16(vertexTotal), SInt16(edgeTotal), SInt16(faceTotal)))
    ThrowIfOSErr(memFullErr, kDEErrorNotEnoughMemory);
  closed = 1;
  extruded = 1;
  SetArrayPointers();
  vertexCount = screenPointCount = SInt16(vertexTotal);
  for (SInt32 i = 0; i < vertexTotal; ++i) vertices[i] = points[i];
  changed = 1;

  SInt16 e = 0;
  const auto at = [n](SInt32 r, SInt32 c) { return SInt16(r * n + c); };
  for (SInt32 r = 0; r < m; ++r) {
    for (SInt32 c = 0; c < n; ++c) {
      if (c > 0) edges[e++] = EdgeRecord{at(r, c - 1), at(r, c)};
      if (r > 0)
        edges[e++] = EdgeRecord{at(r - 1, c), at(r, c)};
      else if (joined)
        edges[e++] = EdgeRecord{at(m - 1, c), at(0, c)};
    }
  }
  edgeCount = e;
  ReleaseFaceLoops(0, faceCount);
  faceCount = 0;
  for (SInt32 r = joined ? 0 : 1; r < m; ++r) {
    const SInt32 q = r == 0 ? m - 1 : r - 1;
    for (SInt32 c = 1; c < n; ++c) {
      const SInt16 cells[2][4] = {{at(q, c - 1), at(q, c), at(r, c), at(r, c - 1)},
                                  {at(q, c - 1), at(r, c - 1), at(r, c), at(q, c)}};
      for (const auto& cell : cells) {
        Handle loop = boxlayout::NewLoopBlock(cell, 4);
        SetArrayPointers();
        faces[faceCount] = FaceRecord{};
        faces[faceCount].loop = loop;
        faces[faceCount].loopCount = 4;
        ++faceCount;
      }
    }
  }
  UpdateBoundingBox();
  CalcFacePlanes();
}

VLUser3DObject* CPolyhedron::MakeCopy(VLUser3DObject* target) {
  if (!target) {
    target = new (std::nothrow) CPolyhedron;
    if (!target) return nullptr;
  }
  return VLPolyline::MakeCopy(target);
}

CPolyhedron* NewPolyhedron(SInt16 v, SInt16 p, SInt16 e, SInt16 f) {
  auto* made = new (std::nothrow) CPolyhedron;
  if (!made) return nullptr;
  Owned<CPolyhedron> polyhedron(made);
  if (!CatchFailures([&] { made->AllocateStorage(v, p, e, f); }, [](std::exception_ptr) {})) return nullptr;
  made->SetArrayPointers();
  made->vertexCount = made->screenPointCount = v;
  made->changed = 1;
  made->extruded = 1;
  made->closed = 1;
  made->typeCode = kObjectTypePolyhedron;
  made->SetColor(&gDefaultObjectColor);
  made->currentOpening = -1;
  made->phase = gCurrentPhase;
  return polyhedron.release();
}
