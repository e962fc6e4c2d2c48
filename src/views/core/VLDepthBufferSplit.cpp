// Plane tests between records, clipping points and edges by a plane, the bounds and outline of a
// record, and splitting a record by the plane of another.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "DETException.h"
#include "Memory.h"
#include "VLDepthBuffer.h"
#include "ViewConventions.h"

namespace {

constexpr double kPlaneSlack = 0.01;     // a point this close to a plane on each axis lies on it
constexpr double kInPlane = 1e-6;
constexpr SInt16 kBoundsStart = 9999;
constexpr double kNearStart = 99999.0;
constexpr double kFarStart = -99999.0;

double Side(const Vector3d& n, double d, const Vector3d& p) { return n.x * p.x + n.y * p.y + n.z * p.z + d; }

// The point's offset from the plane, (s / |n|^2) n, is within the slack on every axis.
bool NearPlane(const Vector3d& n, double lengthSquared, double s) {
  if (lengthSquared == 0.0) return true;  // no plane: everything lies on it
  const double k = s / lengthSquared;
  return std::fabs(k * n.x) <= kPlaneSlack && std::fabs(k * n.y) <= kPlaneSlack && std::fabs(k * n.z) <= kPlaneSlack;
}

const Vector3d* PointsOf(const DepthPolygon& r) {
  return r.points && r.pointCount > 0 ? reinterpret_cast<const Vector3d*>(*r.points) : nullptr;
}

// Every point of a passes the test against the plane.
template <typename Test>
bool AllPoints(const DepthPolygon& a, const Vector3d& n, double d, Test test) {
  const Vector3d* p = PointsOf(a);
  if (!p) return true;
  const double lengthSquared = n.x * n.x + n.y * n.y + n.z * n.z;
  for (SInt16 i = 0; i < a.pointCount; ++i)
    if (!test(Side(n, d, p[i]), lengthSquared)) return false;
  return true;
}

std::uint32_t EdgeKey(SInt16 a, SInt16 b) {
  const auto lo = std::uint32_t(std::uint16_t(std::min(a, b)));
  const auto hi = std::uint32_t(std::uint16_t(std::max(a, b)));
  return lo << 16 | hi;
}

}  // namespace

// ---- Plane tests ----

Boolean VLDepthBuffer::IsBehindPlane(const DepthPolygon& a, const DepthPolygon& b) {
  const Vector3d& n = b.normal;
  return AllPoints(a, n, b.planeD, [&](double s, double l2) { return s < 0.0 || NearPlane(n, l2, s); });
}

Boolean VLDepthBuffer::IsInFrontOf(const DepthPolygon& a, const Vector3d& n, double d) {
  return AllPoints(a, n, d, [&](double s, double l2) { return s > 0.0 || NearPlane(n, l2, s); });
}

Boolean VLDepthBuffer::IsInFrontOfPlane(const DepthPolygon& a, const DepthPolygon& b) {
  return IsInFrontOf(a, b.normal, b.planeD);
}

Boolean VLDepthBuffer::LiesInPlane(const DepthPolygon& a, const DepthPolygon& b) {
  return AllPoints(a, b.normal, b.planeD, [](double s, double) { return std::fabs(s) <= kInPlane; });
}

Boolean VLDepthBuffer::IsMostlyBehindPlane(const DepthPolygon& a, const DepthPolygon& b) {
  const Vector3d* pa = PointsOf(a);
  const Vector3d* pb = PointsOf(b);
  if (!pa) return true;
  const double d = pb ? -(b.normal.x * pb[0].x + b.normal.y * pb[0].y + b.normal.z * pb[0].z) : b.planeD;
  double sum = 0.0;
  for (SInt16 i = 0; i < a.pointCount; ++i) sum += Side(b.normal, d, pa[i]);
  return sum < 0.0;
}

Boolean VLDepthBuffer::IsSliver(const Vector3d* points, SInt16 count) {
  double area = 0.0;
  double spread = 0.0;
  for (SInt16 i = 0; i < count; ++i) {
    const Vector3d& p = points[i];
    const Vector3d& q = points[(i + 1) % count];
    area += p.x * q.y - q.x * p.y;
    spread = std::max({spread, std::fabs(q.x - p.x), std::fabs(q.y - p.y)});
  }
  return std::fabs(area) < spread;
}

// ---- Clipping ----

SInt16 VLDepthBuffer::ClipPointsToPlane(const Vector3d* normal, double d, const Vector3d* points, SInt16 count) {
  SInt16 edgesKept = 0;
  return ClipPointsAndEdgesToPlane(normal, d, points, count, nullptr, 0, &edgesKept);
}

SInt16 VLDepthBuffer::ClipPointsAndEdgesToPlane(const Vector3d* normal, double d, const Vector3d* points,
                                                SInt16 count, const DepthEdge* edges, SInt16 edgeCount,
                                                SInt16* edgesKept) {
  pointScratch.clear();
  edgeScratch.clear();
  *edgesKept = 0;
  if (count < 1 || !points) return 0;
  // The sides of the polygon each output point lies on (side j runs from point j to j + 1): a
  // kept point on the two that meet there, a crossing on the one it cuts.
  struct Sides {
    int a, b;
  };
  std::vector<Sides> sides;
  const bool withEdges = edges && edgeCount > 0;
  int s = count - 1;
  double sSide = Side(*normal, d, points[s]);
  for (int i = 0; i < count; ++i) {
    const Vector3d& p = points[i];
    const double pSide = Side(*normal, d, p);
    if ((pSide >= 0.0) != (sSide >= 0.0)) {
      // The crossing, from the previous point toward this one.
      const Vector3d& from = points[s];
      const Vector3d delta{p.x - from.x, p.y - from.y, p.z - from.z};
      const double denominator = normal->x * delta.x + normal->y * delta.y + normal->z * delta.z;
      const double t = denominator == 0.0 ? 0.0 : -sSide / denominator;
      pointScratch.push_back({from.x + t * delta.x, from.y + t * delta.y, from.z + t * delta.z});
      if (withEdges) sides.push_back({s, -1});
    }
    if (pSide >= 0.0) {
      pointScratch.push_back(p);
      if (withEdges) sides.push_back({s, i});
    }
    s = i;
    sSide = pSide;
  }
  if (pointScratch.size() > 32767)
    ThrowError(kDEErrorAssertionViolated, Str255("VLDepthBuffer::ClipPointsToPlane: too many points"));
  const int kept = int(pointScratch.size());
  if (!withEdges || kept < 2) return SInt16(kept);

  std::vector<std::uint32_t> drawn;
  drawn.reserve(std::size_t(edgeCount));
  for (SInt16 e = 0; e < edgeCount; ++e) drawn.push_back(EdgeKey(edges[e].from, edges[e].to));
  std::sort(drawn.begin(), drawn.end());
  auto isDrawn = [&](int side) {
    const auto key = EdgeKey(SInt16(side), SInt16((side + 1) % count));
    return std::binary_search(drawn.begin(), drawn.end(), key);
  };
  auto common = [](const Sides& x, const Sides& y) {
    for (int u : {x.a, x.b})
      if (u >= 0 && (u == y.a || u == y.b)) return u;
    return -1;
  };
  const int pairs = kept == 2 ? 1 : kept;
  for (int k = 0; k < pairs; ++k) {
    const int next = (k + 1) % kept;
    const int side = common(sides[std::size_t(k)], sides[std::size_t(next)]);
    if (side >= 0 && isDrawn(side)) edgeScratch.push_back({SInt16(k), SInt16(next)});
  }
  *edgesKept = SInt16(edgeScratch.size());
  return SInt16(kept);
}

// ---- Bounds and outline ----

void VLDepthBuffer::RecordBounds(DepthPolygon* r) {
  r->nearDepth = kNearStart;
  Rect b{kBoundsStart, kBoundsStart, -kBoundsStart, -kBoundsStart};
  const Vector3d* p = PointsOf(*r);
  for (SInt16 i = 0; p && i < r->pointCount; ++i) {
    if (p[i].z < r->nearDepth) r->nearDepth = p[i].z;
    SInt16 h = 0, v = 0;
    if (!PaneCoordinate(p[i].x, &h) || !PaneCoordinate(p[i].y, &v)) continue;
    b.left = std::min(b.left, h);
    b.right = std::max(b.right, h);
    b.top = std::min(b.top, v);
    b.bottom = std::max(b.bottom, v);
  }
  r->bounds = b;
}

void VLDepthBuffer::RecordOutline(DepthPolygonHandle record) {
  if ((*record)->outline) PortFreeRegion((*record)->outline);
  (*record)->outline = nullptr;
  RgnHandle outline = PortNewRegion();
  if (!outline) return;  // no outline: the record counts as overlapping everything
  (*record)->outline = outline;
  const DepthPolygon& r = **record;
  const Vector3d* p = PointsOf(r);
  if (!p) return;
  std::vector<Point> corners(std::size_t(r.pointCount));
  for (SInt16 i = 0; i < r.pointCount; ++i)
    if (!PaneCoordinate(p[i].x + 0.5, &corners[std::size_t(i)].h) ||
        !PaneCoordinate(p[i].y + 0.5, &corners[std::size_t(i)].v))
      return;  // a point off every pane: left empty
  PortBeginRegion();
  PortPenMove(corners[0].h, corners[0].v);
  for (std::size_t i = 1; i < corners.size(); ++i) PortPenLine(corners[i].h, corners[i].v);
  PortPenLine(corners[0].h, corners[0].v);
  PortEndRegion(outline);
}

// ---- Splitting ----

void VLDepthBuffer::SplitPolygon(DepthPolygonHandle planeSource, DepthPolygonHandle record,
                                 DepthPolygonHandle nearPart, DepthPolygonHandle farPart) {
  const Vector3d normal = (*planeSource)->normal;
  const double d = (*planeSource)->planeD;
  const SInt32 splitter = (*planeSource)->serial;
  const Vector3d* first = PointsOf(**planeSource);
  const Vector3d reversed{-normal.x, -normal.y, -normal.z};
  const double reversedD = first ? -(reversed.x * first->x + reversed.y * first->y + reversed.z * first->z) : -d;

  bool nearMade = true;
  if ((*planeSource)->shade > kShadeUnpainted)
    nearMade = MakePart(record, normal, d, splitter, nearPart);
  else
    (*nearPart)->pointCount = 0;
  const bool farMade = MakePart(record, reversed, reversedD, splitter, farPart);
  if (!nearMade || !farMade) {
    // No memory for the near part empties both; for the far part only that one.
    if (!nearMade) FreeRecordParts(farPart);
    (*farPart)->pointCount = 0;
  }
}

Boolean VLDepthBuffer::MakePart(DepthPolygonHandle record, const Vector3d& normal, double d, SInt32 splitter,
                                DepthPolygonHandle part) {
  (*part)->pointCount = 0;
  SInt16 edgesKept = 0;
  const SInt16 kept = ClipPointsAndEdgesToPlane(&normal, d, PointsOf(**record), (*record)->pointCount,
                                                (*record)->edges && (*record)->edgeCount > 0
                                                    ? RecordEdges(*record)
                                                    : nullptr,
                                                (*record)->edgeCount, &edgesKept);
  if (kept == 0) return true;

  Handle points = PortAllocHandle(Size(kept) * Size(sizeof(Vector3d)));
  Handle edgeBlock = edgesKept > 0 ? PortAllocHandle(Size(edgesKept) * Size(sizeof(DepthEdge))) : nullptr;
  const SInt16 splitCount = SInt16(std::min<int>((*record)->splitCount + 1, 32767));
  Handle splits = PortAllocHandle(Size(splitCount) * Size(sizeof(SInt32)));
  if (!points || (edgesKept > 0 && !edgeBlock) || !splits) {
    PortFreeHandle(points);
    PortFreeHandle(edgeBlock);
    PortFreeHandle(splits);
    return false;
  }
  std::copy(pointScratch.begin(), pointScratch.end(), reinterpret_cast<Vector3d*>(*points));
  if (edgeBlock) std::copy(edgeScratch.begin(), edgeScratch.end(), reinterpret_cast<DepthEdge*>(*edgeBlock));
  auto* serials = reinterpret_cast<SInt32*>(*splits);
  const SInt16 inherited = SInt16(splitCount - 1);
  if (inherited > 0) std::copy_n(reinterpret_cast<const SInt32*>(*(*record)->splitSerials), inherited, serials);
  serials[inherited] = splitter;

  const DepthPolygon& q = **record;
  DepthPolygon& r = **part;
  // The record's attributes; the bounds and near depth are made afresh below.
  r.colour = q.colour;
  r.serial = q.serial;
  r.shade = q.shade;
  r.ownerSelected = q.ownerSelected;
  r.owner = q.owner;
  r.normal = q.normal;
  r.planeD = q.planeD;
  r.overlays = nullptr;
  r.spare = nullptr;
  r.spareCount = 0;
  r.points = points;
  r.pointCount = kept;
  r.edges = edgeBlock;
  r.edgeCount = edgesKept;
  r.splitSerials = splits;
  r.splitCount = splitCount;
  r.farDepth = kFarStart;
  for (const Vector3d& p : pointScratch) r.farDepth = std::max(r.farDepth, p.z);
  RecordBounds(&r);
  if (IsSliver(reinterpret_cast<const Vector3d*>(*points), kept)) {
    FreeRecordParts(part);
    return true;
  }
  RecordOutline(part);
  if ((*record)->overlays) {
    Handle clipped = ClipSubPolygons((*record)->overlays, &normal, d);
    (*part)->overlays = clipped;
  }
  (*part)->moved = 0;
  return true;
}
