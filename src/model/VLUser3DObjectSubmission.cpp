// Handing an object's faces on: to the depth sorter for the hidden-line and shaded views (with the
// openings' holes and the lit patches of each face), and to the shadow caster as seen from the
// sun; the object's lit patches and the shadows they throw on the ground.
#include <algorithm>
#include <memory>
#include <new>
#include <utility>
#include <vector>

#include "CShadowCaster.h"
#include "DETException.h"
#include "Matrix4d.h"
#include "Memory.h"
#include "PointLoop.h"
#include "QuickDraw.h"
#include "VLDepthBuffer.h"
#include "VLUser3DObject.h"
#include "VLViewTransform.h"
#include "ViewConventions.h"
#include "ViewDrawingFlags.h"

// The projected lit patches of the object DrawHidden is submitting, in ascending face index;
// empty outside DrawHidden.
Handle gPatchDrawList = nullptr;

namespace {

constexpr double kBackFaceShade = -999.0;
constexpr double kShadowModeFactor = 0.4;

// The face being submitted: its outline clipped and projected, sized for each face.
std::vector<Vector3d> gSubmission;

void FreeChain(Handle node) {
  while (node) {
    Handle next = OverlayHeader(node)->next;
    PortFreeHandle(node);
    node = next;
  }
}

// A block released on unwinding unless kept.
struct BlockOwner {
  Handle block = nullptr;
  ~BlockOwner() { PortFreeHandle(block); }
  Handle Keep() {
    Handle kept = block;
    block = nullptr;
    return kept;
  }
};

// The store locked for the operation's life, its state given back after.
class LockedStore {
 public:
  explicit LockedStore(Handle store) : store_(store), state_(store ? PortGetHandleState(store) : 0) {
    if (store_) PortLockHandle(store_);
  }
  ~LockedStore() {
    if (store_) PortSetHandleState(store_, state_);
  }
  LockedStore(const LockedStore&) = delete;
  LockedStore& operator=(const LockedStore&) = delete;

 private:
  Handle store_;
  SInt8 state_;
};

// gPatchDrawList emptied at the end of a submission pass, whatever happens.
struct PatchListScope {
  PatchListScope() { FreeChain(std::exchange(gPatchDrawList, nullptr)); }
  ~PatchListScope() { FreeChain(std::exchange(gPatchDrawList, nullptr)); }
  PatchListScope(const PatchListScope&) = delete;
  PatchListScope& operator=(const PatchListScope&) = delete;
};

Handle NewBlockOrThrow(Size bytes) {
  Handle block = PortAllocHandle(bytes);
  if (!block) ThrowError(kDEErrorNotEnoughMemory, Str255("VLUser3DObject: no memory for a face"));
  return block;
}

// Projects a patch block in place through the view's ProjectFaceList, its point count following
// any points the clip adds; false when nothing of it shows.
bool ProjectPatch(Handle patch, VLViewTransform* view, UInt8 clip) {
  const SInt16 count = OverlayHeader(patch)->pointCount;
  BlockOwner polygon{NewPolygonBlock(count)};
  if (!polygon.block) ThrowError(kDEErrorNotEnoughMemory, Str255("VLUser3DObject: no memory for a patch"));
  std::copy_n(OverlayPoints(patch), count, PolygonBlockPoints(polygon.block));
  if (!view->ProjectFaceList(polygon.block, clip)) return false;
  const SInt16 projected = PolygonBlockCount(polygon.block);
  const Size bytes = Size(sizeof(DepthOverlay)) + Size(projected + 1) * Size(sizeof(Vector3d));
  if (PortHandleSize(patch) < bytes) {
    PortResizeHandle(patch, bytes);
    ThrowIfMemError(kDEErrorNotEnoughMemory);
  }
  std::copy_n(PolygonBlockPoints(polygon.block), projected, OverlayPoints(patch));
  OverlayHeader(patch)->pointCount = projected;
  return true;
}

// Cuts the run of patches of the face out of gPatchDrawList; null when there is none.
Handle TakePatchesOfFace(SInt16 face) {
  Handle before = nullptr;
  Handle node = gPatchDrawList;
  while (node && OverlayHeader(node)->face < face) {
    before = node;
    node = OverlayHeader(node)->next;
  }
  if (!node || OverlayHeader(node)->face != face) return nullptr;
  Handle last = node;
  while (OverlayHeader(last)->next && OverlayHeader(OverlayHeader(last)->next)->face == face)
    last = OverlayHeader(last)->next;
  Handle after = OverlayHeader(last)->next;
  OverlayHeader(last)->next = nullptr;
  (before ? OverlayHeader(before)->next : gPatchDrawList) = after;
  return node;
}

}  // namespace

// ---- Faces to the depth sorter ----

void VLUser3DObject::DrawHidden(VLViewTransform* view) {
  if (!projectedVisible) return;
  LockedStore locked(storage);
  SetArrayPointers();
  PatchListScope patches;
  Handle* tail = &gPatchDrawList;
  for (Handle patch = litPatches; patch; patch = OverlayHeader(patch)->next) {
    BlockOwner copy{patch};
    PortDuplicateHandle(&copy.block);
    if (copy.block == patch) ThrowError(kDEErrorNotEnoughMemory, Str255("VLUser3DObject::DrawHidden"));
    OverlayHeader(copy.block)->next = nullptr;
    if (!ProjectPatch(copy.block, view, clippedEdges)) continue;
    *tail = copy.Keep();
    tail = &OverlayHeader(*tail)->next;
  }
  SetArrayPointers();
  for (SInt16 i = 0; i < faceCount; ++i) {
    const FaceRecord face = faces[i];
    if (face.degenerate || face.loopCount < 1 || !face.loop) continue;
    const SInt16 n = face.loopCount;
    UInt8 turned = 0;
    Vector3d normal;
    bool submit = false;
    if (clippedEdges) {
      const UInt16 capacity = VLViewTransform::ClippedPointBound(n);
      gSubmission.resize(capacity);
      UInt8 behind = 0;
      UInt16 count = 0;
      const bool front = view->ClipPolygon(viewPoints, n, face.loop, &behind, gSubmission.data(), capacity, &count,
                                           &turned, &normal);
      gSubmission.resize(count);
      // An opening's faces seen from behind stay out of a clipped view.
      submit = front || (!gCullBackFaces && turned && typeCode != kObjectTypeOpening);
    } else {
      gSubmission.resize(std::size_t(n));
      const SInt16* loop = LoopEntries(face);
      for (SInt16 k = 0; k < n; ++k) gSubmission[std::size_t(k)] = screenPoints[loop[k]];
      turned = view->PolygonPlane(gSubmission.data(), n, &normal) ? 1 : 0;
      submit = !(turned && gCullBackFaces);
    }
    if (!submit) continue;
    double shade = kBackFaceShade;
    if (gCullBackFaces || !turned) {
      const Vector3d faceNormal{face.a, face.b, face.c};
      shade = view->DistanceToViewPoint(&faceNormal) * (gShadowMode ? kShadowModeFactor : 1.0);
    }
    ClipViewPolygons(shade, i, &normal);
    SetArrayPointers();
  }
}

void VLUser3DObject::ClipViewPolygons(double shade, SInt16 face, const Vector3d* normal) {
  if (!gDepthBuffer) return;  // no sorter (a program without views): nothing is painted
  const auto n = SInt16(gSubmission.size());
  DepthPolygonHandle made = NewDepthPolygon();
  if (!made) ThrowError(kDEErrorNotEnoughMemory, Str255("VLUser3DObject::ClipViewPolygons"));
  DepthRecordOwner record(gDepthBuffer, made);
  DepthPolygon* r = *made;
  r->farDepth = kBackFaceShade;
  for (const Vector3d& p : gSubmission) r->farDepth = std::max(r->farDepth, p.z);
  r->colour = color;
  r->shade = shade;
  r->ownerSelected = selected;
  r->normal = *normal;
  r->owner = this;

  // The holes the openings cut into the face, joined to the outline.
  SInt16 h = 0, e = 0;
  BlockOwner holePoints, holeEdges;
  if (!gInteractiveDrawing && openings) {
    for (long k = 1; k <= openings->GetNumItems(); ++k) {
      auto* opening = static_cast<VLUser3DObject*>(openings->PointerAt(k));
      if (!opening || !opening->projectedVisible) continue;
      UInt8 close = 0;
      holePoints.block = opening->OutlineOnFace(face, 1, &h, holePoints.block, &close, &e, &holeEdges.block);
      if (close && holePoints.block && h > 0 && n > 0)
        reinterpret_cast<Vector3d*>(*holePoints.block)[h - 1] = gSubmission[std::size_t(n - 1)];
    }
  }
  if (!holePoints.block) h = 0;
  if (!holeEdges.block) e = 0;

  const SInt16 edgeCount = gHiddenLineMode ? SInt16(n + e) : 0;
  const SInt16 pointCount = h >= 1 ? SInt16(n + h + 1) : n;
  BlockOwner points{NewBlockOrThrow(Size(pointCount) * Size(sizeof(Vector3d)))};
  BlockOwner edgeBlock;
  if (edgeCount > 0) edgeBlock.block = NewBlockOrThrow(Size(edgeCount) * Size(sizeof(DepthEdge)));
  auto* out = reinterpret_cast<Vector3d*>(*points.block);
  std::copy(gSubmission.begin(), gSubmission.end(), out);
  if (h > 0) {
    std::copy_n(reinterpret_cast<const Vector3d*>(*holePoints.block), h, out + n);
    out[n + h] = out[n - 1];
  }
  if (edgeCount > 0) {
    auto* edges = reinterpret_cast<DepthEdge*>(*edgeBlock.block);
    for (SInt16 k = 0; k < n; ++k) edges[k] = {k, SInt16((k + 1) % n)};
    if (h > 0) edges[n - 1] = {SInt16(n + h), 0};
    if (e > 0) {
      edges[n + e - 1] = edges[n - 1];
      const auto* hole = reinterpret_cast<const DepthEdge*>(*holeEdges.block);
      for (SInt16 k = 0; k < e; ++k) edges[n - 1 + k] = {SInt16(hole[k].from + n), SInt16(hole[k].to + n)};
    }
  }
  r = *made;
  r->points = points.Keep();
  r->pointCount = pointCount;
  r->edges = edgeBlock.Keep();
  r->edgeCount = edgeCount;
  r->overlays = gPatchDrawList && shade != kBackFaceShade ? TakePatchesOfFace(face) : nullptr;
  gDepthBuffer->Insert(record.Keep());
}

// ---- Faces to the shadow caster ----

void VLUser3DObject::TransformToView(const Matrix4d* matrix, CShadowCaster* caster) {
  LockedStore locked(storage);
  SetArrayPointers();
  for (SInt16 v = 0; v < vertexCount; ++v) TransformPoint3x4(matrix, &vertices[v], &viewPoints[v]);
  for (SInt16 i = 0; i < faceCount; ++i) {
    if (faces[i].degenerate) continue;
    const Vector3d n{faces[i].a, faces[i].b, faces[i].c};
    Vector3d turned;
    TransformPoint3x4(matrix, &n, &turned);
    if (turned.z > 0.0) AddFaceToSorter((turned.z + 1.0) * 0.5, i, &turned, caster);
    SetArrayPointers();
  }
}

namespace {

// A ShadowPolygon of the points, handed to the caster.
void AddShadowPolygon(CShadowCaster* caster, const Vector3d* points, SInt16 count, double shade, SInt16 face,
                      const Vector3d& normal, VLUser3DObject* owner) {
  ShadowPolygonHandle made = NewShadowPolygon();
  if (!made) ThrowError(kDEErrorNotEnoughMemory, Str255("VLUser3DObject::AddFaceToSorter"));
  std::unique_ptr<ShadowPolygon*, void (*)(ShadowPolygonHandle)> polygon(made, DisposeShadowPolygon);
  Handle block = NewBlockOrThrow(Size(count) * Size(sizeof(Vector3d)));
  std::copy_n(points, count, reinterpret_cast<Vector3d*>(*block));
  ShadowPolygon& s = **made;
  s.points = block;
  s.pointCount = count;
  s.maxZ = kBackFaceShade;
  for (SInt16 i = 0; i < count; ++i) s.maxZ = std::max(s.maxZ, points[i].z);
  s.cutCount = 0;
  s.cutBy = nullptr;
  s.colour = owner->color;
  s.shade = shade;
  s.normal = normal;
  s.faceIndex = face;
  s.owner = owner;
  caster->AddPolygon(polygon.release());
}

struct LoopChain {
  Handle first = nullptr;
  ~LoopChain() { DisposeShadowLoops(first); }
};

}  // namespace

void VLUser3DObject::AddFaceToSorter(double shade, SInt16 face, const Vector3d* normal, CShadowCaster* caster) {
  SetArrayPointers();
  if (face < 0 || face >= faceCount || !faces[face].loop) return;
  const SInt16 n = faces[face].loopCount;
  std::vector<Vector3d> loop(std::size_t(std::max<SInt16>(n, 0)));
  for (SInt16 k = 0; k < n; ++k) loop[std::size_t(k)] = viewPoints[LoopEntries(faces[face])[k]];

  LoopChain chain;
  Handle* tail = nullptr;
  if (openings) {
    for (long k = 1; k <= openings->GetNumItems(); ++k) {
      auto* opening = static_cast<VLUser3DObject*>(openings->PointerAt(k));
      Handle hole = opening ? opening->ViewOutlineOnFace(face) : nullptr;
      if (!hole) continue;
      if (!chain.first) {
        chain.first = NewShadowLoop(n);
        if (!chain.first) {
          DisposeShadowLoops(hole);
          ThrowIfNil(chain.first);
        }
        std::copy(loop.begin(), loop.end(), ShadowLoopPoints(chain.first));
        tail = &ShadowLoopHeader(chain.first)->next;
      }
      *tail = hole;
      tail = &ShadowLoopHeader(hole)->next;
    }
  }
  if (!chain.first) {
    AddShadowPolygon(caster, loop.data(), n, shade, face, *normal, this);
    return;
  }
  std::unique_ptr<VLArray> triangles(new (std::nothrow) VLArray(long(3 * sizeof(Vector3d))));
  if (!triangles) return;
  caster->Triangulate(chain.first, normal, triangles.get());
  for (long t = 1; t <= triangles->GetNumItems(); ++t) {
    Vector3d corners[3];
    triangles->GetItem(corners, t);
    AddShadowPolygon(caster, corners, 3, shade, face, *normal, this);
  }
}

// ---- Lit patches and ground shadows ----

void VLUser3DObject::InsertLitPatch(Handle patch) {
  const SInt16 face = OverlayHeader(patch)->face;
  Handle before = nullptr;
  Handle node = litPatches;
  while (node && OverlayHeader(node)->face < face) {
    before = node;
    node = OverlayHeader(node)->next;
  }
  OverlayHeader(patch)->next = node;
  (before ? OverlayHeader(before)->next : litPatches) = patch;
}

void VLUser3DObject::FreeLitPatches() { FreeChain(std::exchange(litPatches, nullptr)); }

void VLUser3DObject::DrawGroundShadows(VLViewTransform* view) {
  for (Handle patch = litPatches; patch; patch = OverlayHeader(patch)->next) DrawGroundShadow(patch, view);
}

void VLUser3DObject::DrawGroundShadow(Handle patch, VLViewTransform* view) {
  const Vector3d up{0, 0, 1};
  Handle kept = nullptr;
  SInt16 keptCount = 0;
  SplitPolygonByPlane(&up, 0.0, OverlayPoints(patch), OverlayHeader(patch)->pointCount, &kept, &keptCount);
  BlockOwner keptOwner{kept};
  if (!kept || keptCount < 3) return;
  BlockOwner polygon{NewPolygonBlock(keptCount)};
  if (!polygon.block) ThrowError(kDEErrorNotEnoughMemory, Str255("VLUser3DObject::DrawGroundShadow"));
  // Each point goes down along the sun's rays to the ground.
  const Vector3d down{-view->lightDirection.x, -view->lightDirection.y, -view->lightDirection.z};
  const auto* above = reinterpret_cast<const Vector3d*>(*kept);
  Vector3d* onGround = PolygonBlockPoints(polygon.block);
  for (SInt16 i = 0; i < keptCount; ++i)
    if (!IntersectLinePlane(&above[i], &down, &up, 0.0, &onGround[i])) return;  // level sun: no shadow
  const UInt8 wasFull = view->fullWindow;
  view->fullWindow = 1;
  const bool shows = view->ProjectFaceList(polygon.block, 1);
  view->fullWindow = wasFull;
  if (!shows) return;
  const SInt16 count = PolygonBlockCount(polygon.block);
  const Vector3d* pane = PolygonBlockPoints(polygon.block);
  std::vector<Point> corners(static_cast<std::size_t>(count));
  for (SInt16 i = 0; i < count; ++i)
    if (!PaneCoordinate(pane[i].x + 0.5, &corners[std::size_t(i)].h) ||
        !PaneCoordinate(pane[i].y + 0.5, &corners[std::size_t(i)].v))
      return;
  PolyHandle shadow = PortOpenPolygon();
  PortPenMove(corners.back().h, corners.back().v);
  for (const Point& c : corners) PortPenLine(c.h, c.v);
  PortClosePolygon();
  PortPaintPolygon(shadow);
  PortFreePolygon(shadow);
}
