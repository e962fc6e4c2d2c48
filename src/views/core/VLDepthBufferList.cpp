// The sorter's list: inserting records by depth, preparing them for the ordering (the ground
// clip, numbers, bounds, outlines, slivers, the section cut), and resetting.
#include <cmath>
#include <functional>
#include <map>
#include <unordered_map>

#include "CProgressDialog.h"
#include "DETException.h"
#include "Matrix4d.h"
#include "Memory.h"
#include "VLDepthBuffer.h"
#include "VLViewTransform.h"

namespace {

constexpr double kGroundHeight = -0.02;  // faces this far below the ground still show
constexpr double kLevelDistance = 0.001;  // an eye closer than this above the look point looks straight down

bool IsSection(DepthPolygonHandle r) { return (*r)->shade < kShadeSectionPlane; }
bool IsBackFace(double shade) { return shade > kShadeUnpainted && shade < -900.0; }

const Vector3d* FirstPoint(const DepthPolygon& r) {
  return r.points && r.pointCount > 0 ? reinterpret_cast<const Vector3d*>(*r.points) : nullptr;
}

bool ProgressShowing() { return gProgressDialog && gProgressDialog->IsShowing(); }

// Counts n units of the sorting band; false when the user stopped.
bool StepProgress(int n) {
  if (!ProgressShowing()) return true;
  for (int i = 0; i < n; ++i) gProgressDialog->Step();
  return gProgressContinue != 0;
}

}  // namespace

// The records that are not section planes, by far depth (farthest first, equal depths in list
// order), and every record's predecessor in the list. A list that only Insert has built keeps
// those records in that order, so a new record's place is before the first of them that is
// nearer; a record whose depth is not a number is never that one.
struct VLDepthBuffer::InsertIndex {
  std::multimap<double, DepthPolygonHandle, std::greater<double>> byDepth;
  std::unordered_map<DepthPolygonHandle, DepthPolygonHandle> previous;
  DepthPolygonHandle tail = nullptr;

  static bool Indexed(DepthPolygonHandle r) { return !IsSection(r) && !std::isnan((*r)->farDepth); }
  void Add(DepthPolygonHandle r, DepthPolygonHandle before) {
    previous[r] = before;
    if (Indexed(r)) byDepth.emplace((*r)->farDepth, r);
  }
};

VLDepthBuffer::VLDepthBuffer() = default;
VLDepthBuffer::~VLDepthBuffer() = default;

void VLDepthBuffer::SetActiveView(VLViewTransform* view, Boolean groundVisible) {
  activeView = view;
  groundPlaneVisible = groundVisible ? 1 : 0;
}

// ---- Inserting ----

void VLDepthBuffer::Insert(DepthPolygonHandle record) {
  (*record)->next = nullptr;
  if (!head) insertIndex_.reset();
  if (!insertIndex_) {
    // A list the ordering has changed is indexed afresh while it is still in Insert's order.
    auto index = std::make_unique<InsertIndex>();
    double last = HUGE_VAL;
    DepthPolygonHandle before = nullptr;
    for (DepthPolygonHandle r = head; r; before = r, r = (*r)->next) {
      if (InsertIndex::Indexed(r)) {
        if ((*r)->farDepth > last) {
          index.reset();
          break;
        }
        last = (*r)->farDepth;
      }
      index->Add(r, before);
      index->tail = r;
    }
    if (!index) {
      // Out of that order: the record's place by walking the list.
      DepthPolygonHandle walkedBefore = nullptr;
      DepthPolygonHandle r = head;
      for (; r; walkedBefore = r, r = (*r)->next)
        if ((*record)->farDepth > (*r)->farDepth && !IsSection(r)) break;
      (*record)->next = r;
      (walkedBefore ? (*walkedBefore)->next : head) = record;
      return;
    }
    insertIndex_ = std::move(index);
  }
  InsertIndex& index = *insertIndex_;
  const double far = (*record)->farDepth;
  auto place = std::isnan(far) ? index.byDepth.end() : index.byDepth.upper_bound(far);
  if (place == index.byDepth.end()) {
    (index.tail ? (*index.tail)->next : head) = record;
    index.Add(record, index.tail);
    index.tail = record;
    return;
  }
  DepthPolygonHandle following = place->second;
  DepthPolygonHandle before = index.previous[following];
  (*record)->next = following;
  (before ? (*before)->next : head) = record;
  index.previous[following] = record;
  index.Add(record, before);
}

void VLDepthBuffer::ResetList() {
  insertIndex_.reset();
  while (head) {
    DepthPolygonHandle next = (*head)->next;
    FreeRecordParts(head);
    DisposeDepthPolygon(head);
    head = next;
  }
}

DepthPolygonHandle VLDepthBuffer::RemoveAfter(DepthPolygonHandle previous, DepthPolygonHandle record) {
  DepthPolygonHandle next = (*record)->next;
  (previous ? (*previous)->next : head) = next;
  FreeRecordParts(record);
  DisposeDepthPolygon(record);
  return next;
}

// ---- Preparing ----

Boolean VLDepthBuffer::GroundClipPlane(Vector3d* normal, double* d) const {
  if (!activeView) return false;
  const VLViewTransform& view = *activeView;
  Vector3d eye;
  view.GetEyePoint(&eye);
  Vector3d look = view.lookPoint;
  if (!view.perspective || std::hypot(look.x - eye.x, look.y - eye.y) < kLevelDistance) {
    eye = {0, 0, 0};
    look = {1, 0, 0};
  }
  const double dx = look.x - eye.x, dy = look.y - eye.y;
  Vector3d e{eye.x, eye.y, kGroundHeight};
  Vector3d l{look.x, look.y, kGroundHeight};
  Vector3d x{eye.x - dy, eye.y + dx, kGroundHeight};
  if (view.perspective) {
    // A ground point under the eye may lie on the eye plane, where nothing projects: the same
    // plane is taken through points further along the line of sight, ahead of the eye.
    auto ahead = [&](const Vector3d& p) {
      Vector3d v;
      TransformPoint3x4(&view.viewMatrix, &p, &v);
      return v.z > view.hither;
    };
    double shift = 0.0;
    for (int attempt = 0; !(ahead(e) && ahead(l) && ahead(x)); ++attempt) {
      if (attempt == 24) return false;
      const double step = shift == 0.0 ? 1.0 : shift;
      for (Vector3d* p : {&e, &l, &x}) {
        p->x += dx * step;
        p->y += dy * step;
      }
      shift += step;
    }
  }
  Vector3d pe, pl, px;
  view.ProjectPoint(&e, &pe);
  view.ProjectPoint(&l, &pl);
  view.ProjectPoint(&x, &px);
  const Vector3d u{px.x - pe.x, px.y - pe.y, px.z - pe.z};
  const Vector3d w{pl.x - pe.x, pl.y - pe.y, pl.z - pe.z};
  Vector3d n{u.y * w.z - u.z * w.y, u.z * w.x - u.x * w.z, u.x * w.y - u.y * w.x};
  const double length = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
  if (!std::isfinite(length) || length == 0.0) return false;
  n = {n.x / length, n.y / length, n.z / length};
  *normal = n;
  *d = -(n.x * pe.x + n.y * pe.y + n.z * pe.z);
  return true;
}

Boolean VLDepthBuffer::PreparePolygons() {
  insertIndex_.reset();
  const bool sectionHead = head && IsSection(head);
  Vector3d groundNormal;
  double groundD = 0.0;
  const bool ground = groundPlaneVisible && GroundClipPlane(&groundNormal, &groundD);
  // A record dropped here is counted for the section cut too, which will not see it.
  const int dropSteps = sectionHead ? 2 : 1;
  SInt32 serial = 0;
  DepthPolygonHandle previous = nullptr;
  for (DepthPolygonHandle r = head; r;) {
    if (ground && !IsInFrontOf(**r, groundNormal, groundD)) {
      SInt16 edgesKept = 0;
      const SInt16 kept = ClipPointsAndEdgesToPlane(
          &groundNormal, groundD, FirstPoint(**r), (*r)->pointCount,
          (*r)->edges && (*r)->edgeCount > 0 ? RecordEdges(*r) : nullptr, (*r)->edgeCount, &edgesKept);
      if (kept <= 2) {
        r = RemoveAfter(previous, r);
        if (!StepProgress(dropSteps)) return false;
        continue;
      }
      const Size pointBytes = Size(kept) * Size(sizeof(Vector3d));
      if (PortHandleSize((*r)->points) < pointBytes) {
        PortResizeHandle((*r)->points, pointBytes);
        ThrowIfMemError(kDEErrorNotEnoughMemory);
      }
      std::copy(pointScratch.begin(), pointScratch.end(), RecordPoints(*r));
      (*r)->pointCount = kept;
      if ((*r)->edges) {
        const Size edgeBytes = Size(edgesKept) * Size(sizeof(DepthEdge));
        if (PortHandleSize((*r)->edges) < edgeBytes) {
          PortResizeHandle((*r)->edges, edgeBytes);
          ThrowIfMemError(kDEErrorNotEnoughMemory);
        }
        std::copy(edgeScratch.begin(), edgeScratch.end(), RecordEdges(*r));
        (*r)->edgeCount = edgesKept;
      }
      if ((*r)->overlays) {
        Handle clipped = ClipSubPolygons((*r)->overlays, &groundNormal, groundD);
        Handle old = (*r)->overlays;
        (*r)->overlays = clipped;
        while (old) {
          Handle next = OverlayHeader(old)->next;
          PortFreeHandle(old);
          old = next;
        }
      }
    }
    DepthPolygon& q = **r;
    q.serial = serial++;
    q.splitCount = 0;
    if (IsBackFace(q.shade)) q.normal = {-q.normal.x, -q.normal.y, -q.normal.z};
    const Vector3d* points = FirstPoint(q);
    if (IsSection(r))
      for (SInt16 i = 0; points && i < q.pointCount; ++i) q.farDepth = std::max(q.farDepth, points[i].z);
    RecordBounds(&q);
    RecordOutline(r);
    DepthPolygon& prepared = **r;
    points = FirstPoint(prepared);
    prepared.planeD = points ? -(prepared.normal.x * points->x + prepared.normal.y * points->y +
                                 prepared.normal.z * points->z)
                             : 0.0;
    prepared.moved = 0;
    if (points && IsSliver(points, prepared.pointCount)) {
      r = RemoveAfter(previous, r);
      if (!StepProgress(dropSteps)) return false;
      continue;
    }
    if (!StepProgress(1)) return false;
    previous = r;
    r = (*r)->next;
  }
  if (sectionHead && head && IsSection(head)) return CutWithSectionPlane();
  return true;
}

Boolean VLDepthBuffer::CutWithSectionPlane() {
  DepthPolygonHandle section = head;
  DepthPolygonHandle scratch = NewDepthPolygon();  // the near part, which the section makes none of
  ThrowIfMemError(kDEErrorNotEnoughMemory);
  DepthRecordOwner scratchGuard(this, scratch);
  DepthPolygonHandle previous = section;
  for (DepthPolygonHandle q = (*section)->next; q;) {
    if (IsInFrontOfPlane(**q, **section)) {
      q = RemoveAfter(previous, q);
    } else if (IsBehindPlane(**q, **section)) {
      previous = q;
      q = (*q)->next;
    } else {
      DepthRecordOwner far(this, NewDepthPolygon());
      if (far.get()) SplitPolygon(section, q, scratch, far.get());
      if (!far.get() || (*far.get())->pointCount == 0) {
        q = RemoveAfter(previous, q);
      } else {
        DepthPolygonHandle piece = far.Keep();
        (*piece)->next = (*q)->next;
        (*previous)->next = piece;
        FreeRecordParts(q);
        DisposeDepthPolygon(q);
        previous = piece;
        q = (*piece)->next;
      }
    }
    if (!StepProgress(1)) return false;
  }
  RemoveAfter(nullptr, section);
  return true;
}
