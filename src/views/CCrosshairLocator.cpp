#include "CCrosshairLocator.h"

#include <cmath>

#include "CWorkingPlaneTool.h"
#include "DrawingPlane.h"
#include "Events.h"
#include "Memory.h"
#include "Selection.h"
#include "VLUser3DObject.h"
#include "VLViewPane.h"
#include "core/VLViewTransform.h"

UInt8 gTypedLock = 0;
UInt8 gTypedLockX = 0;
UInt8 gTypedLockY = 0;
UInt8 gTypedLockZ = 0;
UInt8 gAnchorHeld = 0;

namespace {

constexpr double kNoPosition = -999.0;
// Mode 2 takes a point as unchanged within this of the old one in the plane's frame.
constexpr double kFrameTolerance = 1e-5;
// The ray parameter a face hit must come nearer than.
constexpr double kFarthestHit = 99999.0;
// How far past the point the seeds of the face lines lie.
constexpr double kFaceSeedReach = 30.0;

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

Vector3d CCrosshairLocator::UnitViewDirection() const {
  const Vector3d& n = viewTransform->planeNormal;
  const double length = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
  return length > 0.0 ? Vector3d{n.x / length, n.y / length, n.z / length} : Vector3d{};
}

bool CCrosshairLocator::PointOnPlane(const Vector3d& q, const Vector3d& o, const Vector3d& r, const Vector3d& u,
                                     SInt16 kind, bool option, Vector3d* p) {
  const int i = AxisRole(gAxisX), j = AxisRole(gAxisY), k = AxisRole(gAxisZ);
  if (option) {
    // Only the normal component follows the mouse.
    double& pk = VectorComponent(*p, k);
    switch (kind) {
      case kPlanView:
      case kWestElevationView: pk = VectorComponent(*p, j) - VectorComponent(q, j); break;
      case kNorthElevationView: pk = VectorComponent(*p, i) - VectorComponent(q, i); break;
      case kSouthElevationView: pk = VectorComponent(q, i) - VectorComponent(*p, i); break;
      case kEastElevationView: pk = VectorComponent(q, j) - VectorComponent(*p, j); break;
      default: {
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
  if (!viewTransform) return false;
  if (locateMode == 1) {
    const Boolean hit = LocateOnFace(panePoint, point);
    lastPanePoint = panePoint;
    return hit;
  }
  if (locateMode == 2) return LocateOnPlaneObject(panePoint, point);
  const Vector3d old = *point;
  Vector3d q;
  viewTransform->PanePointToViewPlane(&q, &panePoint);
  viewTransform->GetPickRay(&rayOrigin, &rayVector, panePoint);
  Vector3d p = old;
  if (!PointOnPlane(q, rayOrigin, rayVector, UnitViewDirection(), viewTransform->viewKind, ModifierDown(optionKey), &p))
    return false;
  if (gSnapToGrid) SnapToGrid(&p);
  if (SamePoint(p, old)) {
    lastPanePoint = panePoint;
    return false;
  }
  Relocate(panePoint, &p, old);
  *point = p;
  return true;
}

Boolean CCrosshairLocator::LocateOnPlaneObject(Point panePoint, Vector3d* point) {
  if (!planeObject) return false;
  Vector3d old, q, qFrame;
  planeObject->WorldToPlane(point, &old);
  viewTransform->PanePointToViewPlane(&q, &panePoint);
  Vector3d origin, direction;
  viewTransform->GetPickRay(&origin, &direction, panePoint);
  planeObject->WorldToPlane(&q, &qFrame);
  planeObject->WorldToPlane(&origin, &rayOrigin);
  rayVector = {qFrame.x - rayOrigin.x, qFrame.y - rayOrigin.y, qFrame.z - rayOrigin.z};
  // In the plan and the elevations Option moves the height as in the plan, whatever the view.
  const SInt16 kind = viewTransform->principalView ? SInt16(kPlanView) : SInt16(kPerspectiveView);
  Vector3d p = old;
  if (!PointOnPlane(qFrame, rayOrigin, rayVector, UnitViewDirection(), kind, ModifierDown(optionKey), &p)) return false;
  if (gSnapToGrid) SnapToGrid(&p);
  if (std::fabs(p.x - old.x) <= kFrameTolerance && std::fabs(p.y - old.y) <= kFrameTolerance &&
      std::fabs(p.z - old.z) <= kFrameTolerance) {
    lastPanePoint = panePoint;
    return false;
  }
  Relocate(panePoint, &p, old);
  planeObject->PlaneToWorld(&p, point);
  return true;
}

void CCrosshairLocator::Relocate(Point panePoint, Vector3d* p, const Vector3d& old) {
  EraseCrosshair();
  ApplyShift(p, old);
  if (gTypedLock) {
    if (gTypedLockX) p->x = old.x;
    if (gTypedLockY) p->y = old.y;
    if (gTypedLockZ) p->z = old.z;
  }
  Vector3d sent = *p;
  NotifyDependents(PortButton() ? kPointLocatedWhileDown : kPointLocated, &sent);
  lastPanePoint = panePoint;
  // In mode 2 the arms were left in model coordinates by the last update: both are placed anew.
  PlacePoint(p, locateMode == 2);
  UpdateCrosshair(p);
  UpdateOutline();
}

// ---- Faces of the selection ----

const Matrix4d* CCrosshairLocator::FaceFrame(const std::vector<Handle>& frames, long objectIndex, SInt16 face) const {
  if (objectIndex < 1 || objectIndex > long(frames.size()) || face < 0) return nullptr;
  Handle block = frames[std::size_t(objectIndex - 1)];
  if (!block || Size(face + 1) * Size(sizeof(Matrix4d)) > PortHandleSize(block)) return nullptr;
  return reinterpret_cast<const Matrix4d*>(*block) + face;
}

Boolean CCrosshairLocator::LocateOnFace(Point panePoint, Vector3d* point) {
  viewTransform->GetPickRay(&rayOrigin, &rayVector, panePoint);
  double best = kFarthestHit;
  VLUser3DObject* hit = nullptr;
  VLArray* selection = gCurrentSelection;
  for (long n = 1; selection && n <= selection->GetNumItems(); ++n) {
    auto* object = static_cast<VLUser3DObject*>(selection->PointerAt(n));
    SInt16 face = -1;
    // Each object decides through best whether its hit is the nearer one.
    if (object && object->PickFace(panePoint, &rayOrigin, &rayVector, &best, &face) && face != -1) {
      faceIndex = face;
      faceObjectIndex = n;
      hit = object;
    }
  }
  if (!hit) return false;
  faceObject = hit;
  if (stayOnFirstFace && firstFaceRecorded && (faceIndex != lockedFaceIndex || hit != lockedFaceObject)) return false;
  const Matrix4d* toFace = FaceFrame(worldToFaceFrames, faceObjectIndex, faceIndex);
  const Matrix4d* fromFace = FaceFrame(faceToWorldFrames, faceObjectIndex, faceIndex);
  // Frames built for another selection do not hold this face: nothing is located.
  if (!toFace || !fromFace) return false;
  const Matrix4d toFrame = *toFace, fromFrame = *fromFace;
  if (faceIndex != currentFaceIndex) {
    NotifyDependents(kPlaneEntered, nullptr);
    currentFaceIndex = faceIndex;
    PreparePane();
  }
  EraseCrosshair();
  const Vector3d hitPoint{rayOrigin.x + best * rayVector.x, rayOrigin.y + best * rayVector.y,
                          rayOrigin.z + best * rayVector.z};
  Vector3d facePoint;
  TransformPoint4x4(&hitPoint, &toFrame, &facePoint);
  Vector3d at = hitPoint;
  bool shifted = false;
  if (ModifierDown(shiftKey) && !shiftSuspended) {
    if (!anchorSet) {
      anchorSet = 1;
      const Vector3d base = gAnchorHeld ? anchor : *point;
      TransformPoint4x4(&base, &toFrame, &faceAnchor);
    }
    if (std::fabs(facePoint.x - faceAnchor.x) <= std::fabs(facePoint.y - faceAnchor.y))
      facePoint.x = faceAnchor.x;
    else
      facePoint.y = faceAnchor.y;
    shifted = true;
  } else {
    anchorSet = 0;
  }
  if (gSnapToGrid) SnapToGrid(&facePoint);
  if (shifted || gSnapToGrid) TransformPoint4x4(&facePoint, &fromFrame, &at);
  Vector3d sent = facePoint;
  NotifyDependents(PortButton() ? kPointLocatedWhileDown : kPointLocated, &sent);
  PlaceFaceLines(facePoint, at, fromFrame);
  if (stayOnFirstFace) {
    if (!firstFaceRecorded) {
      lockedFaceIndex = faceIndex;
      lockedFaceObject = hit;
      firstFaceRecorded = 1;
      for (Vector3d& corner : faceOutline) corner = facePoint;
    } else {
      const Vector3d first = faceOutline[0];
      faceOutline[1] = {facePoint.x, first.y, 0.0};
      faceOutline[2] = {facePoint.x, facePoint.y, 0.0};
      faceOutline[3] = {first.x, facePoint.y, 0.0};
    }
    for (int c = 0; c < 4; ++c) TransformPoint4x4(&faceOutline[c], &fromFrame, &faceOutlineInModel[c]);
  }
  TransformPoint4x4(&facePoint, &fromFrame, point);
  return true;
}

void CCrosshairLocator::PlaceFaceLines(const Vector3d& facePoint, const Vector3d& at, const Matrix4d& fromFace) {
  // Seeds in the face plane on either side of the point along the face's x and y.
  const Vector3d seeds[4] = {{0.0, facePoint.y, 0.0},
                             {facePoint.x + kFaceSeedReach, facePoint.y, 0.0},
                             {facePoint.x, 0.0, 0.0},
                             {facePoint.x, facePoint.y + kFaceSeedReach, 0.0}};
  // The line along the face's x takes the y line's place, the one along its y the x line's.
  const int ends[4] = {kYLine, kYLine + 3, kXLine, kXLine + 3};
  for (int s = 0; s < 4; ++s) {
    Vector3d seed;
    TransformPoint4x4(&seeds[s], &fromFace, &seed);
    const Vector3d direction{seed.x - at.x, seed.y - at.y, seed.z - at.z};
    Vector3d& end = crosshairPoints[ends[s]];
    if (!faceObject->RayToFaceEdge(&at, faceIndex, &direction, &end)) end = at;
  }
  UInt8 a, b;
  for (int line : {kYLine, kXLine})
    viewTransform->ProjectSegment(&crosshairPoints[line], &crosshairPoints[line + 3], &projected[line],
                                  &projected[line + 3], &lineShown[line], &a, &b);
  lineShown[kZLine] = 0;
  groundCrossShown = 0;
  outlineShown = 0;
}

void CCrosshairLocator::PreparePane() {
  if (auto* viewPane = dynamic_cast<VLViewPane*>(pane)) viewPane->PrepareDrawingPort();
}

void CCrosshairLocator::FrameToModel(Vector3d* p) const {
  if (locateMode == 2 && planeObject) planeObject->PlaneToWorld(p, p);
}

void CCrosshairLocator::ModelToFrame(Vector3d* p) const {
  if (locateMode == 2 && planeObject) planeObject->WorldToPlane(p, p);
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
  for (int end = 6; end < 10; ++end) FrameToModel(&crosshairPoints[end]);
  for (int arm = 0; arm < 2; ++arm)
    view->ProjectSegment(&crosshairPoints[6 + 2 * arm], &crosshairPoints[7 + 2 * arm], &projected[6 + 2 * arm],
                         &projected[7 + 2 * arm], &groundArmShown[arm], &a, &b);
  // Line kYLine runs along y (component 1), kXLine along x, kZLine along z.
  static constexpr int kAlong[kLineCount] = {1, 0, 2};
  for (int line = 0; line < kLineCount; ++line) {
    const int c = kAlong[line];
    VectorComponent(crosshairPoints[line], c) = std::fmin(double(extent[c]), VectorComponent(*p, c));
    VectorComponent(crosshairPoints[line + 3], c) = std::fmax(double(extent[c + 3]), VectorComponent(*p, c));
    FrameToModel(&crosshairPoints[line]);
    FrameToModel(&crosshairPoints[line + 3]);
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
  for (int c = 0; c < 4; ++c) {
    outline[c] = k == 0 ? Vector3d{0.0, corners[c][0], corners[c][1]} : Vector3d{corners[c][0], 0.0, corners[c][1]};
    FrameToModel(&outline[c]);
  }
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
  ModelToFrame(&p);
  PlacePoint(&p, true);
  UpdateCrosshair(&p);
}

void CCrosshairLocator::SetPosition(double x, double y, double z) {
  if (x == kNoPosition && y == kNoPosition && z == kNoPosition) return;
  Vector3d p{x, y, z};
  NotifyDependents(kPointLocated, &p);
  PreparePane();
  EraseCrosshair();
  if (locateMode != 1) {
    ModelToFrame(&p);
    PlacePoint(&p, true);
    UpdateCrosshair(&p);
  }
  DrawCrosshair();
}
