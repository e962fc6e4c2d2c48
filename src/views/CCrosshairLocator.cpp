#include "CCrosshairLocator.h"

#include <cmath>

#include "DrawingPlane.h"
#include "Events.h"
#include "core/VLViewTransform.h"

UInt8 gSnapToGrid = 1;
UInt8 gTypedLock = 0;
UInt8 gTypedLockX = 0;
UInt8 gTypedLockY = 0;
UInt8 gTypedLockZ = 0;
UInt8 gAnchorHeld = 0;

namespace {

constexpr double kNoPosition = -999.0;

bool SamePoint(const Vector3d& a, const Vector3d& b) { return a.x == b.x && a.y == b.y && a.z == b.z; }

bool ModifierDown(UInt16 key) { return (vlui::CurrentModifiers() & key) != 0; }

}  // namespace

bool RoundToGrid(Vector3d* p, double spacing, unsigned mask) {
  if (!(spacing > 0.0) || !std::isfinite(spacing)) return false;
  bool changed = false;
  for (int i = 0; i < 3; ++i) {
    if (!(mask & (1u << i))) continue;
    double& c = VectorComponent(*p, i);
    const double r = std::fmod(c, spacing);
    if (r == 0.0 || std::isnan(r)) continue;
    changed = true;
    // Nearest multiple; an exact half goes toward zero.
    if (r > 0.0)
      c = c - r + (r > spacing / 2.0 ? spacing : 0.0);
    else
      c = c - r - (r < -spacing / 2.0 ? spacing : 0.0);
  }
  return changed;
}

Boolean CCrosshairLocator::SnapToGrid(Vector3d*) { return true; }

// ---- Locating ----

bool CCrosshairLocator::PointOnWorkingPlane(Point panePoint, Vector3d* p, bool option) {
  const int i = AxisRole(gAxisX), j = AxisRole(gAxisY), k = AxisRole(gAxisZ);
  VLViewTransform& view = *viewTransform;
  Vector3d q;
  view.PanePointToViewPlane(&q, &panePoint);
  view.GetPickRay(&rayOrigin, &rayVector, panePoint);
  const Vector3d& o = rayOrigin;
  const Vector3d& r = rayVector;
  if (option) {
    // Only the normal component follows the mouse.
    double& pk = VectorComponent(*p, k);
    switch (view.viewKind) {
      case kPlanView:
      case kWestElevationView: pk = VectorComponent(*p, j) - VectorComponent(q, j); break;
      case kNorthElevationView: pk = VectorComponent(*p, i) - VectorComponent(q, i); break;
      case kSouthElevationView: pk = VectorComponent(q, i) - VectorComponent(*p, i); break;
      case kEastElevationView: pk = VectorComponent(q, j) - VectorComponent(*p, j); break;
      default: {
        const Vector3d& n = view.planeNormal;
        const double length = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
        const Vector3d u = length > 0.0 ? Vector3d{n.x / length, n.y / length, n.z / length} : Vector3d{};
        const double ui = VectorComponent(u, i), uj = VectorComponent(u, j);
        const double denominator = VectorComponent(r, i) * ui + VectorComponent(r, j) * uj;
        // Looking straight along the normal leaves the height where it is.
        if (denominator == 0.0) break;
        const double t = ((VectorComponent(*p, i) - VectorComponent(o, i)) * ui +
                          (VectorComponent(*p, j) - VectorComponent(o, j)) * uj) /
                         denominator;
        pk = VectorComponent(o, k) + t * VectorComponent(r, k);
      }
    }
    return std::isfinite(pk);
  }
  const double rk = VectorComponent(r, k), ok = VectorComponent(o, k), pk = VectorComponent(*p, k);
  // The plane must lie ahead along the ray.
  if (!((rk > 0.0 && ok < pk) || (rk < 0.0 && ok > pk))) return false;
  const double t = (pk - ok) / rk;
  const double pi = VectorComponent(o, i) + t * VectorComponent(r, i);
  const double pj = VectorComponent(o, j) + t * VectorComponent(r, j);
  if (!std::isfinite(pi) || !std::isfinite(pj)) return false;
  VectorComponent(*p, i) = pi;
  VectorComponent(*p, j) = pj;
  return true;
}

void CCrosshairLocator::ApplyShift(Vector3d* p, const Vector3d& old) {
  if (!ModifierDown(shiftKey) || shiftSuspended) {
    anchorSet = 0;
    return;
  }
  if (!anchorSet) {
    anchorSet = 1;
    if (!gAnchorHeld) anchor = old;
  }
  const int i = AxisRole(gAxisX), j = AxisRole(gAxisY);
  const double di = std::fabs(VectorComponent(*p, i) - VectorComponent(anchor, i));
  const double dj = std::fabs(VectorComponent(*p, j) - VectorComponent(anchor, j));
  const int kept = di <= dj ? i : j;
  VectorComponent(*p, kept) = VectorComponent(anchor, kept);
}

Boolean CCrosshairLocator::Locate(Point panePoint, Vector3d* point) {
  if (panePoint.h == lastPanePoint.h && panePoint.v == lastPanePoint.v && !forceLocate && !forceLocateByPane)
    return false;
  forceLocate = forceLocateByPane = 0;
  const Vector3d old = *point;
  // The face and plane-object modes need the cursor's frames.
  if (locateMode != 0 || !viewTransform) return false;
  const bool option = ModifierDown(optionKey);
  Vector3d p = old;
  if (!PointOnWorkingPlane(panePoint, &p, option)) return false;
  if (gSnapToGrid) SnapToGrid(&p);
  if (SamePoint(p, old)) {
    lastPanePoint = panePoint;
    return false;
  }
  EraseCrosshair();
  ApplyShift(&p, old);
  if (gTypedLock) {
    if (gTypedLockX) p.x = old.x;
    if (gTypedLockY) p.y = old.y;
    if (gTypedLockZ) p.z = old.z;
  }
  Vector3d sent = p;
  NotifyDependents(PortButton() ? kPointLocatedWhileDown : kPointLocated, &sent);
  lastPanePoint = panePoint;
  *point = p;
  PlacePoint(&p, false);
  UpdateCrosshair(&p);
  UpdateOutline();
  return true;
}

// ---- The crosshair ----

void CCrosshairLocator::EraseCrosshair() {
  if (skipErase)
    skipErase = 0;
  else
    DrawCrosshair();
}

void CCrosshairLocator::PlacePoint(const Vector3d* p, bool allArms) {
  for (Vector3d& end : crosshairPoints) end = *p;
  for (int a = 6; a < 10; ++a) crosshairPoints[a].z = 0.0;
  const SInt16 k = AxisRole(gAxisZ);
  // The ground arms keep their place across the axis they do not run along.
  if (allArms || k == 2 || k == 0) {
    crosshairPoints[6].x = p->x - snapSpacing;
    crosshairPoints[7].x = p->x + snapSpacing;
  }
  if (allArms || k == 2 || k == 1) {
    crosshairPoints[8].y = p->y - snapSpacing;
    crosshairPoints[9].y = p->y + snapSpacing;
  }
}

void CCrosshairLocator::UpdateCrosshair(const Vector3d* p) {
  VLViewTransform* view = viewTransform;
  if (!view) return;
  UInt8 a, b;
  groundCrossShown = p->z != 0.0;
  for (int arm = 0; arm < 2; ++arm)
    view->ProjectSegment(&crosshairPoints[6 + 2 * arm], &crosshairPoints[7 + 2 * arm], &projected[6 + 2 * arm],
                         &projected[7 + 2 * arm], &groundArmShown[arm], &a, &b);
  // Line kYLine runs along y (component 1), kXLine along x, kZLine along z.
  static constexpr int kAlong[kLineCount] = {1, 0, 2};
  for (int line = 0; line < kLineCount; ++line) {
    const int c = kAlong[line];
    VectorComponent(crosshairPoints[line], c) = std::fmin(double(extent[c]), VectorComponent(*p, c));
    VectorComponent(crosshairPoints[line + 3], c) = std::fmax(double(extent[c + 3]), VectorComponent(*p, c));
    view->ProjectSegment(&crosshairPoints[line], &crosshairPoints[line + 3], &projected[line], &projected[line + 3],
                         &lineShown[line], &a, &b);
  }
}

void CCrosshairLocator::UpdateOutline() {
  const SInt16 k = AxisRole(gAxisZ);
  outlineShown = 0;
  if (k == 2 || !viewTransform || viewTransform->principalView) return;
  outlineShown = 1;
  const double hMin = extent[0], hMax = extent[3], zMin = extent[2], zMax = extent[5];
  const double corners[4][2] = {{hMin, zMin}, {hMax, zMin}, {hMax, zMax}, {hMin, zMax}};
  for (int c = 0; c < 4; ++c)
    outline[c] = k == 0 ? Vector3d{0.0, corners[c][0], corners[c][1]} : Vector3d{corners[c][0], 0.0, corners[c][1]};
  UInt8 a, b;
  for (int e = 0; e < 4; ++e)
    viewTransform->ProjectSegment(&outline[e], &outline[(e + 1) % 4], &projected[10 + e], &projected[14 + e],
                                  &outlineEdgeShown[e], &a, &b);
}

void CCrosshairLocator::MoveTo(double x, double y, double z) {
  if (x == kNoPosition && y == kNoPosition && z == kNoPosition) return;
  Vector3d p{x, y, z};
  NotifyDependents(kPointLocated, &p);
  if (locateMode == 1) return;
  PlacePoint(&p, true);
  UpdateCrosshair(&p);
}

void CCrosshairLocator::SetPosition(double x, double y, double z) {
  if (x == kNoPosition && y == kNoPosition && z == kNoPosition) return;
  Vector3d p{x, y, z};
  NotifyDependents(kPointLocated, &p);
  EraseCrosshair();
  if (locateMode != 1) {
    PlacePoint(&p, true);
    UpdateCrosshair(&p);
  }
  DrawCrosshair();
}
