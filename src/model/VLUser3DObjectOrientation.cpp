// Face orientation (every normal pointing out of the solid) and the convexity test that ray
// picking relies on.
#include <cmath>

#include "PointLoop.h"
#include "VLUser3DObject.h"

namespace {

// Orientation states, one per face, while OrientFaces runs.
enum : UInt16 { kStateDegenerate = 0, kStateUnknown = 1, kStateNotPlanar = 2, kStateSettled = 3 };

constexpr double kSideTolerance = 1e-5;
constexpr double kFrontDistance = 1e-6;

Vector3d NormalOf(const FaceRecord& face) { return Vector3d{face.a, face.b, face.c}; }

bool LoopHas(const FaceRecord& face, SInt16 vertex) {
  const SInt16* loop = LoopEntries(face);
  for (SInt16 k = 0; loop && k < face.loopCount; ++k)
    if (loop[k] == vertex) return true;
  return false;
}

// Whether face B's plane lies in front of face A (FacePlaneInFront), on arrays already set.
bool PlaneInFront(const Vector3d* vertices, const FaceRecord& A, const FaceRecord& B, bool includeFacing) {
  const SInt16* loopA = LoopEntries(A);
  if (A.degenerate || B.degenerate || !loopA || A.loopCount <= 0) return true;

  SInt16 chosen = loopA[A.loopCount - 1];
  for (SInt16 k = 0; k < A.loopCount; ++k) {
    if (!LoopHas(B, loopA[k])) {
      chosen = loopA[k];
      break;
    }
  }
  const Vector3d& P = vertices[chosen];
  const Vector3d nA = NormalOf(A), nB = NormalOf(B);
  const double s = VectorDot(&nA, &nB);
  if (s > 0.0 && !includeFacing) return false;
  if (s == 0.0) {
    Vector3d ahead;
    VectorAdd(&P, &nA, &ahead);
    return PlaneEvaluate(&ahead, &nB, B.d) > 0.0;
  }
  const double t = -(VectorDot(&nB, &P) + B.d) / s;
  return t > kFrontDistance;
}

}  // namespace

void VLUser3DObject::ReverseFace(SInt16 face) {
  SetArrayPointers();
  if (face < 0 || face >= faceCount) return;
  SInt16* loop = LoopEntries(faces[face]);
  const SInt16 n = faces[face].loopCount;
  for (SInt16 k = 0; loop && k < n / 2; ++k) {
    const SInt16 keep = loop[k];
    loop[k] = loop[n - 1 - k];
    loop[n - 1 - k] = keep;
  }
}

SInt16 VLUser3DObject::CompareFaceOrientation(const FaceRecord* faceA, const FaceRecord* faceB) {
  const SInt16* a = LoopEntries(*faceA);
  const SInt16* b = LoopEntries(*faceB);
  const int nA = a ? faceA->loopCount : 0, nB = b ? faceB->loopCount : 0;
  for (int k = 0; k < nA; ++k) {
    const SInt16 aNext = a[(k + 1) % nA], aPrev = a[(k + nA - 1) % nA];
    for (int m = 0; m < nB; ++m) {
      if (a[k] != b[m]) continue;
      const SInt16 bNext = b[(m + 1) % nB], bPrev = b[(m + nB - 1) % nB];
      if (aNext == bNext) return 1;
      if (aNext == bPrev || aPrev == bNext) return -1;
    }
  }
  return 0;
}

Boolean VLUser3DObject::CheckFaceOrientation(SInt16 face) {
  SetArrayPointers();
  if (face < 0 || face >= faceCount || faces[face].degenerate) return false;
  double a = 0, b = 0, c = 0, d = 0;
  CalcFacePlane(face, &a, &b, &c, &d);
  SetArrayPointers();
  const FaceRecord& record = faces[face];
  if (std::fabs(a - record.a) <= kEqualNormalTolerance && std::fabs(b - record.b) <= kEqualNormalTolerance &&
      std::fabs(c - record.c) <= kEqualNormalTolerance)
    return false;
  ReverseFace(face);
  return true;
}

void VLUser3DObject::OrientFaces() {
  if (OrientFaceLoops() != Orientation::kUnsettled) CalcFacePlanes();
}

VLUser3DObject::Orientation VLUser3DObject::OrientFaceLoops() {
  SetArrayPointers();
  const SInt16 count = faceCount;
  if (count <= 0) return Orientation::kUnsettled;
  // One state per face in the shared work buffer: no other user of it runs until the planes
  // are recomputed at the end.
  const long points = (long(count) * long(sizeof(UInt16)) + long(sizeof(Vector3d)) - 1) / long(sizeof(Vector3d));
  UInt16* state = reinterpret_cast<UInt16*>(ReservePointWorkBuffer(points));
  if (!state) return Orientation::kUnsettled;
  bool turned = false;

  // Pass 1: what each face's plane says about the rest of the solid.
  bool anySettled = false;
  for (SInt16 i = 0; i < count; ++i) {
    const FaceRecord& face = faces[i];
    if (face.degenerate) {
      state[i] = kStateDegenerate;
      continue;
    }
    const Vector3d n = NormalOf(face);
    const SInt16* loop = LoopEntries(face);
    bool planar = true;
    for (SInt16 k = 0; planar && loop && k < face.loopCount; ++k)
      planar = std::fabs(PlaneEvaluate(&vertices[loop[k]], &n, face.d)) <= kPlanarTolerance;
    if (!planar) {
      state[i] = kStateNotPlanar;
      continue;
    }
    bool noneInFront = true, noneBehind = true;
    for (SInt16 v = 0; v < vertexCount && (noneInFront || noneBehind); ++v) {
      const double e = PlaneEvaluate(&vertices[v], &n, face.d);
      if (e > kSideTolerance) noneInFront = false;
      if (e < -kSideTolerance) noneBehind = false;
    }
    if (noneBehind && noneInFront) {
      // Every vertex lies in the face's plane: a flat object has no inside to point away from,
      // so its loop stays as it was built or read.
      state[i] = kStateUnknown;
    } else if (noneBehind) {
      // Every vertex lies in front: the face points into the solid.
      ReverseFace(i);
      turned = true;
      state[i] = kStateSettled;
    } else if (noneInFront) {
      state[i] = kStateSettled;
    } else {
      state[i] = kStateUnknown;
    }
    anySettled = anySettled || state[i] == kStateSettled;
  }
  if (!anySettled) return Orientation::kUnsettled;

  // Pass 2: faces of concave corners take their sense from settled neighbours through shared
  // edges, walking the faces in a ring until every orientable face is settled.
  SInt16 orientable = 0;
  for (SInt16 i = 0; i < count; ++i)
    if (state[i] != kStateDegenerate && state[i] != kStateNotPlanar) ++orientable;
  long run = 0;
  for (long rounds = 0, i = 0; rounds < count;) {
    if (state[i] == kStateUnknown) {
      for (SInt16 j = 0; j < count; ++j) {
        if (state[j] != kStateSettled) continue;
        const SInt16 sense = CompareFaceOrientation(&faces[i], &faces[j]);
        if (sense == 0) continue;
        if (sense == 1) {
          ReverseFace(SInt16(i));
          turned = true;
        }
        state[i] = kStateSettled;
        break;
      }
      if (state[i] == kStateUnknown && gLenientOrientation) state[i] = kStateSettled;
      run = state[i] == kStateSettled ? 1 : 0;
    } else if (state[i] == kStateSettled) {
      if (++run >= orientable) break;
    }
    if (++i == count) {
      i = 0;
      ++rounds;
    }
  }

  // Pass 3: a face that is not planar follows its settled neighbours, keeping its state.
  for (SInt16 i = 0; i < count; ++i) {
    if (state[i] != kStateNotPlanar) continue;
    for (SInt16 j = 0; j < count; ++j)
      if (state[j] == kStateSettled && CompareFaceOrientation(&faces[i], &faces[j]) == 1) {
        ReverseFace(i);
        turned = true;
      }
  }
  return turned ? Orientation::kTurned : Orientation::kKept;
}

Boolean VLUser3DObject::FacePlaneInFront(SInt16 faceA, SInt16 faceB, Boolean includeFacing) {
  SetArrayPointers();
  if (faceA < 0 || faceA >= faceCount || faceB < 0 || faceB >= faceCount) return false;
  return PlaneInFront(vertices, faces[faceA], faces[faceB], includeFacing);
}

Boolean VLUser3DObject::CheckConvexity() {
  SetArrayPointers();
  nonConvex = 0;
  // Nothing here allocates: the arrays stay where they are for every pair.
  for (SInt16 i = 0; i < faceCount && !nonConvex; ++i) {
    if (faces[i].degenerate) continue;
    for (SInt16 j = 0; j < faceCount; ++j) {
      if (j != i && PlaneInFront(vertices, faces[i], faces[j], false)) {
        nonConvex = 1;
        break;
      }
    }
  }
  return nonConvex != 0;
}
