// Set-up, freeing, splitting and counting records, clipping overlay chains.
#include <algorithm>
#include <cmath>
#include <new>

#include "DETException.h"
#include "Memory.h"
#include "VLDepthBuffer.h"

VLDepthBuffer* gDepthBuffer = nullptr;

namespace {

void FreeOverlayChain(Handle node) {
  while (node) {
    Handle next = OverlayHeader(node)->next;
    PortFreeHandle(node);
    node = next;
  }
}

void FreeHandleField(Handle* field) {
  PortFreeHandle(*field);
  *field = nullptr;
}

// An overlay chain released on unwinding unless kept.
class OverlayChainGuard {
 public:
  ~OverlayChainGuard() { FreeOverlayChain(chain); }
  Handle chain = nullptr;
};

}  // namespace

// ---- Records and overlays ----

DepthPolygonHandle NewDepthPolygon() {
  Handle block = PortAllocHandle(Size(sizeof(DepthPolygon)));
  if (!block) return nullptr;
  new (*block) DepthPolygon;
  return reinterpret_cast<DepthPolygonHandle>(block);
}

void DisposeDepthPolygon(DepthPolygonHandle record) { PortFreeHandle(reinterpret_cast<Handle>(record)); }

Handle NewDepthOverlay(SInt16 count, double shade, SInt16 face) {
  if (count < 0) return nullptr;
  // Room for one point more than the count, as the clipper may hand back.
  Handle block = PortAllocHandle(Size(sizeof(DepthOverlay)) + Size(count + 1) * Size(sizeof(Vector3d)));
  if (!block) return nullptr;
  DepthOverlay* header = new (*block) DepthOverlay;
  header->shade = shade;
  header->pointCount = count;
  header->face = face;
  return block;
}

// ---- Set-up ----

void VLDepthBuffer::IVLDepthBuffer() {
  if (!fillPattern) fillPattern = PortNewPixPat();
  ThrowIfNil(fillPattern);
  keepRegions = 1;
  shadowPass = 0;
  head = nullptr;
}

void VLDepthBuffer::Dispose() {
  if (fillPattern) PortDisposePixPat(fillPattern);
  fillPattern = nullptr;
  CCollaborator::Dispose();
}

// ---- Freeing, comparing, counting ----

DepthPolygonHandle VLDepthBuffer::FreeRecordParts(DepthPolygonHandle record) {
  if (!record) return record;
  DepthPolygon* r = *record;
  // A handle goes whatever its count says: a block left behind a zero count would be lost.
  FreeHandleField(&r->points);
  r->pointCount = 0;
  FreeHandleField(&r->spare);
  r->spareCount = 0;
  FreeHandleField(&r->edges);
  r->edgeCount = 0;
  if (keepRegions) {
    FreeHandleField(&r->splitSerials);
    r->splitCount = 0;
    if (r->outline) PortFreeRegion(r->outline);
    r->outline = nullptr;
  }
  FreeOverlayChain(r->overlays);
  r->overlays = nullptr;
  return record;
}

Boolean VLDepthBuffer::SamePlane(DepthPolygonHandle a, DepthPolygonHandle b) const {
  constexpr double kTolerance = 0.0001;
  const DepthPolygon& p = **a;
  const DepthPolygon& q = **b;
  return std::fabs(p.normal.x - q.normal.x) < kTolerance && std::fabs(p.normal.y - q.normal.y) < kTolerance &&
         std::fabs(p.normal.z - q.normal.z) < kTolerance && std::fabs(p.planeD - q.planeD) < kTolerance;
}

long VLDepthBuffer::CountRecords() const {
  long count = 0;
  for (DepthPolygonHandle r = head; r; r = (*r)->next) ++count;
  return count;
}

long VLDepthBuffer::Count() const {
  const long count = CountRecords();
  // The section cut walks the list once more before the painting pass.
  return head && (*head)->shade < kShadeSectionPlane ? 2 * count : count;
}

// ---- Splitting ----

Boolean VLDepthBuffer::SplitRecord(DepthPolygonHandle before, DepthPolygonHandle* holder,
                                   DepthPolygonHandle previous) {
  DepthPolygonHandle record = *holder;
  DepthPolygonHandle made = NewDepthPolygon();
  if (!made) {
    ThrowIfMemError(kDEErrorNotEnoughMemory);
    return false;
  }
  DepthRecordOwner front(this, made);
  DepthPolygonHandle madeBack = NewDepthPolygon();
  ThrowIfNil(madeBack);
  DepthRecordOwner back(this, madeBack);
  // The parts are filled before anything is relinked, so a failure leaves the list as it was.
  SplitPolygon(before, record, made, madeBack);

  DepthPolygonHandle oldNext = (*record)->next;
  const bool beforeLedToRecord = (*before)->next == record;
  const bool frontEmpty = (*made)->pointCount == 0;
  const bool backEmpty = (*madeBack)->pointCount == 0;
  if (!frontEmpty) {
    DepthPolygonHandle nearPart = front.Keep();
    (*previous)->next = nearPart;
    if (backEmpty) {
      (*nearPart)->next = oldNext;
    } else {
      DepthPolygonHandle farPart = back.Keep();
      (*nearPart)->next = farPart;
      (*farPart)->next = oldNext;
    }
    *holder = nearPart;
  } else if (backEmpty) {
    (*previous)->next = oldNext;
    *holder = oldNext;
  } else {
    DepthPolygonHandle farPart = back.Keep();
    (*previous)->next = farPart;
    (*farPart)->next = oldNext;
    *holder = farPart;
  }
  if (beforeLedToRecord) (*before)->next = (*previous)->next;
  // The guards release the empty parts with whatever the splitter gave them.
  FreeRecordParts(record);
  DisposeDepthPolygon(record);
  return true;
}

// ---- Clipping ----

Handle VLDepthBuffer::ClipSubPolygons(Handle list, const Vector3d* normal, double d) {
  OverlayChainGuard made;
  for (Handle node = list; node; node = OverlayHeader(node)->next) {
    const SInt16 kept = ClipPointsToPlane(normal, d, OverlayPoints(node), OverlayHeader(node)->pointCount);
    if (kept <= 2) continue;
    Handle part = NewDepthOverlay(kept, OverlayHeader(node)->shade, OverlayHeader(node)->face);
    ThrowIfNil(part);
    std::copy(pointScratch.begin(), pointScratch.end(), OverlayPoints(part));
    OverlayHeader(part)->next = made.chain;
    made.chain = part;
  }
  Handle chain = made.chain;
  made.chain = nullptr;
  return chain;
}
