// What changes a view: its views for a box and the memories of each view kind, moving the eye
// and the look point, the window and the sub-window, picking rays and the Radiance view options.
#include <cmath>
#include <cstdlib>
#include <new>

#include "CViewInfo.h"
#include "DETException.h"
#include "GeometryKernel.h"
#include "VLViewTransform.h"
#include "internal/ViewMath.h"

namespace {

using namespace vlviews;

constexpr double kFitTolerance = 0.0001;
constexpr double kWalkTolerance = 1e-5;
constexpr double kDefaultElevation = 27.5;
constexpr double kDefaultAzimuth = 60.0;
constexpr double kDefaultDistanceShare = 0.7;
constexpr SInt16 kFarPanePoint = 9998;

const Vector3d kGroundNormal{0.0, 0.0, 1.0};

// The plane through p with that normal: its offset.
double PlaneOffsetThrough(const Vector3d& normal, const Vector3d& p) { return -Dot(normal, p); }

// The best eye for a box over one pass of corners: each corner asks for the eye far enough along
// the view line for the corner's distance from the plane to fit half the window's span. A
// candidate replaces the best unless it coincides with it or lies nearer along the VPN.
void FitPass(const Vector3d corners[8], const Vector3d feet[8], const Vector3d& normal, double offset, double span,
             double eyeDistance, const Vector3d& vpn, bool* haveBest, Vector3d* best) {
  for (int k = 0; k < 8; ++k) {
    const double reach = PointPlaneDistance(&corners[k], &normal, offset) * 2 * eyeDistance / span;
    const Vector3d candidate = Plus(feet[k], Scaled(vpn, reach));
    if (!*haveBest) {
      *best = candidate;
      *haveBest = true;
      continue;
    }
    if (PointsEqualWithin(best, &candidate, kFitTolerance)) continue;
    const Vector3d towards = Unit(Minus(*best, candidate));
    if (PointsEqualWithin(&towards, &vpn, kFitTolerance)) continue;
    *best = candidate;
  }
}

// The first axis along which the VPN has a part: the walk tests the eye's side of the look point
// along it.
int LeadingAxis(const Vector3d& vpn) {
  for (int k = 0; k < 3; ++k)
    if (std::fabs(At(vpn, k)) > kWalkTolerance) return k;
  return -1;
}

bool WholeSubWindow(double x0, double x1, double y0, double y1) {
  return x0 == 0.0 && x1 == 1.0 && y0 == 0.0 && y1 == 1.0;
}

// The point on the ground at that distance from `from` (which lies below that height), along
// the horizontal part of the direction (or against it, for a negative sign). The horizontal part
// is made unit so that the distance holds; a vertical direction gives the point below `from`.
Vector3d OnGroundAt(const Vector3d& from, const Vector3d& direction, double distance, double sign) {
  const Vector3d across = Unit({direction.x, direction.y, 0.0});
  const double r = sign * std::sqrt(std::fmax(0.0, distance * distance - from.z * from.z));
  return {from.x + r * across.x, from.y + r * across.y, 0.0};
}

SInt16 PaneEdge(double value) { return SInt16(ClampPaneCoordinate(value)); }

void CheckPrinted(int result) {
  if (result < 0) throw DETException(kDEErrorErrorWritingFile, ioErr);
}

// A coordinate as written, with a negative zero written as 0.
long double Written(double value) { return (long double)(value + 0.0); }

}  // namespace

// ---- Views for a box ----

void VLViewTransform::InitViewsForBox(const Vector3d* min, const Vector3d* max) {
  perspective = 1;
  principalView = 0;
  viewKind = kPerspectiveView;
  SetDefaultView(min, max, kDefaultElevation, kDefaultAzimuth);
  UpdateScreenAxes();
  CreateViewMemories(min, max);
  BuildPerspectiveMatrix(&viewMatrix);
}

Boolean VLViewTransform::SetDefaultView(const Vector3d* min, const Vector3d* max, double elevation, double azimuth) {
  lookPoint = {(min->x + max->x) / 2, (min->y + max->y) / 2, defaultLookHeight};
  const double e = elevation * kDegreesToRadians;
  const double a = azimuth * kDegreesToRadians;
  planeNormal = Unit({std::cos(a), std::sin(a), std::sin(e)});
  FitBox(min, max);
  Vector3d eye;
  const double distance = EyeAndDistance(&eye);
  referencePoint = Plus(lookPoint, Scaled(planeNormal, kDefaultDistanceShare * distance - EyeDistance()));
  return RebuildMatrix();
}

Boolean VLViewTransform::FitBox(const Vector3d* min, const Vector3d* max) {
  const double d = EyeDistance();
  const Vector3d corners[8] = {*min,
                               {min->x, max->y, min->z},
                               {max->x, max->y, min->z},
                               {max->x, min->y, min->z},
                               {max->x, min->y, max->z},
                               {min->x, min->y, max->z},
                               {min->x, max->y, max->z},
                               *max};
  // Planes A (across the screen's width) and B (across its height) meet in the view line.
  const Vector3d normalA = Unit(Cross(upVector, planeNormal));
  const Vector3d normalB = Cross(Cross(planeNormal, upVector), planeNormal);
  const double offsetA = PlaneOffsetThrough(normalA, lookPoint);
  const double offsetB = PlaneOffsetThrough(normalB, lookPoint);
  Vector3d feet[8];
  for (int k = 0; k < 8; ++k) {
    Vector3d onB = corners[k];
    IntersectLinePlane(&corners[k], &normalB, &normalB, offsetB, &onB);
    feet[k] = onB;
    IntersectLinePlane(&onB, &normalA, &normalA, offsetA, &feet[k]);
  }
  bool haveBest = false;
  Vector3d best;
  FitPass(corners, feet, normalA, offsetA, umax - umin, d, planeNormal, &haveBest, &best);
  FitPass(corners, feet, normalB, offsetB, vmax - vmin, d, planeNormal, &haveBest, &best);
  referencePoint = Minus(best, Scaled(planeNormal, d));

  if (Distance(referencePoint, lookPoint) >= d) {
    const Vector3d side = Unit(Minus(referencePoint, lookPoint));
    if (!PointsEqualWithin(&side, &planeNormal, kFitTolerance))
      lookPoint = Minus(referencePoint, Scaled(planeNormal, d));
  } else {
    lookPoint = Minus(referencePoint, Scaled(planeNormal, 5.0));
  }
  Vector3d ground;
  if (lookPoint.z < 0.0 && IntersectLinePlane(&lookPoint, &planeNormal, &kGroundNormal, 0.0, &ground)) {
    referencePoint = Plus(referencePoint, Minus(ground, lookPoint));
    lookPoint = ground;
  }
  return RebuildMatrix();
}

CViewInfo* VLViewTransform::Memory(SInt16 kind) {
  if (!viewMemories[kind]) viewMemories[kind] = new (std::nothrow) CViewInfo;
  if (!viewMemories[kind]) throw DETException(kDEErrorNotEnoughMemory, memFullErr);
  return viewMemories[kind];
}

void VLViewTransform::CreateViewMemories(const Vector3d* min, const Vector3d* max) {
  bool made[kViewKindCount] = {};
  try {
    for (SInt16 kind = 0; kind < kViewKindCount; ++kind) {
      made[kind] = !viewMemories[kind];
      Memory(kind);
    }
  } catch (DETException&) {
    for (SInt16 kind = 0; kind < kViewKindCount; ++kind) {
      if (made[kind] && viewMemories[kind]) viewMemories[kind]->Dispose();
      if (made[kind]) viewMemories[kind] = nullptr;
    }
    throw;
  }
  const double d = EyeDistance();
  const double keptUmax = umax, keptVmax = vmax;
  SaveCamera(viewMemories[kPerspectiveView], kPerspectiveView, CurrentHalfSize());
  FitAxonometricWindow();
  const double half = umax;

  const Vector3d c{(min->x + max->x) / 2, (min->y + max->y) / 2, (min->z + max->z) / 2};
  const Vector3d upright{0.0, 0.0, 1.0};
  struct Principal {
    SInt16 kind;
    Vector3d reference, up, normal;
  };
  const Principal principals[] = {
      {kPlanView, {c.x, c.y, max->z - d}, {0.0, -1.0, 0.0}, {0.0, 0.0, 1.0}},
      {kNorthElevationView, {c.x, min->y + d, c.z}, upright, {0.0, -1.0, 0.0}},
      {kSouthElevationView, {c.x, max->y - d, c.z}, upright, {0.0, 1.0, 0.0}},
      {kEastElevationView, {max->x - d, c.y, c.z}, upright, {1.0, 0.0, 0.0}},
      {kWestElevationView, {min->x + d, c.y, c.z}, upright, {-1.0, 0.0, 0.0}},
  };
  for (const Principal& view : principals)
    viewMemories[view.kind]->Set(&c, &view.reference, &view.up, &projectionReference, &view.normal, view.kind, half);
  SaveCamera(viewMemories[kAxonometricView], kAxonometricView, half);

  umax = keptUmax;
  vmax = keptVmax;
  umin = -umax;
  vmin = -vmax;
}

// ---- Memories and switches between kinds ----

double VLViewTransform::LoadCamera(const CViewInfo* memory) {
  if (!memory) return CurrentHalfSize();
  double half = 0.0;
  memory->Get(&lookPoint, &referencePoint, &upVector, &projectionReference, &planeNormal, &viewKind, &half);
  // The window fits that follow a load work with the loaded camera's screen axes.
  UpdateScreenAxes();
  return half;
}

void VLViewTransform::SaveCamera(CViewInfo* memory, SInt16 kind, double halfSize) {
  memory->Set(&lookPoint, &referencePoint, &upVector, &projectionReference, &planeNormal, kind, halfSize);
}

void VLViewTransform::RememberCurrentView() {
  if (viewKind == kPerspectiveView || viewKind == kAxonometricView)
    SaveCamera(Memory(viewKind), viewKind, CurrentHalfSize());
}

void VLViewTransform::SwitchToPerspective(UInt8 restore) {
  if (viewKind == kAxonometricView) SaveCamera(Memory(kAxonometricView), kAxonometricView, CurrentHalfSize());
  if (restore == 1) {
    LoadCamera(viewMemories[kPerspectiveView]);
  } else if (viewKind == kAxonometricView) {
    const double axonometric = LoadCamera(viewMemories[kAxonometricView]);
    SaveCamera(Memory(kPerspectiveView), kPerspectiveView, PerspectiveHalfSize(axonometric));
  }
  const double half = LoadCamera(viewMemories[kPerspectiveView]);
  viewKind = kPerspectiveView;
  SetWindowHalfSize(half);
  BuildPerspectiveMatrix(&viewMatrix);
  perspective = 1;
  principalView = 0;
}

void VLViewTransform::SwitchToAxonometric(UInt8 restore) {
  if (viewKind == kPerspectiveView) SaveCamera(Memory(kPerspectiveView), kPerspectiveView, CurrentHalfSize());
  double half;
  if (restore != 1) {
    LoadCamera(viewMemories[kPerspectiveView]);
    FitAxonometricWindow();
    half = CurrentHalfSize();
    SaveCamera(Memory(kAxonometricView), kAxonometricView, half);
  } else {
    half = LoadCamera(viewMemories[kAxonometricView]);
  }
  viewKind = kAxonometricView;
  SetWindowHalfSize(half);
  BuildParallelMatrix(&viewMatrix);
  perspective = 0;
  principalView = 0;
}

void VLViewTransform::FitAxonometricWindow() {
  const Vector3d right = Unit(screenRight);
  Vector3d eye;
  GetEyePoint(&eye);
  const Vector3d left = Plus(referencePoint, Scaled(right, umin));
  const Vector3d rightEdge = Plus(referencePoint, Scaled(right, umax));
  const double rise = lookPoint.z - eye.z;
  const double leftDrop = left.z - eye.z, rightDrop = rightEdge.z - eye.z;
  double width = 0.0;
  if (leftDrop != 0.0 && rightDrop != 0.0) {
    const Vector3d p1 = Plus(eye, Scaled(Minus(left, eye), rise / leftDrop));
    const Vector3d p2 = Plus(eye, Scaled(Minus(rightEdge, eye), rise / rightDrop));
    width = Distance(p1, p2);
  }
  // Level edge rays never reach the look point's height: take the window's width at the look
  // point's distance instead, which is what tilted rays tend to as they level out.
  if (!std::isfinite(width) || width <= 0.0) width = (umax - umin) * Distance(eye, lookPoint) / EyeDistance();
  umin = vmin = -width / 2;
  umax = vmax = width / 2;
}

double VLViewTransform::PerspectiveHalfSize(double axonometricHalfSize) {
  const Vector3d right = Unit(screenRight);
  const Vector3d left = Minus(lookPoint, Scaled(right, axonometricHalfSize));
  const Vector3d rightEdge = Plus(lookPoint, Scaled(right, axonometricHalfSize));
  Vector3d eye;
  GetEyePoint(&eye);
  const double offset = PlaneOffsetThrough(planeNormal, referencePoint);
  const auto onViewPlane = [&](const Vector3d& through) {
    const Vector3d direction = Minus(through, eye);
    Vector3d hit;
    double t;
    if (!IntersectLinePlaneParam(&eye, &direction, &planeNormal, offset, &hit, &t))
      hit = Plus(eye, Scaled(direction, -1.0));
    return hit;
  };
  return Distance(onViewPlane(left), onViewPlane(rightEdge)) * 0.5 / (double(paneWidth) / paneHeight);
}

void VLViewTransform::SetAxonometric() {
  upVector = {0.0, 0.0, 1.0};
  perspective = 0;
  principalView = 0;
  viewKind = kAxonometricView;
  SaveCamera(Memory(kAxonometricView), kAxonometricView, CurrentHalfSize());
}

void VLViewTransform::ShowPrincipalView(SInt16 kind) {
  const double half = LoadCamera(viewMemories[kind]);
  viewKind = kind;
  perspective = 0;
  principalView = 1;
  SetWindowHalfSize(half);
  BuildParallelMatrix(&viewMatrix);
}

void VLViewTransform::UpdateForViewKind() {
  RememberCurrentView();
  ShowPrincipalView(kPlanView);
}

void VLViewTransform::SetElevationView(SInt16 command) {
  if (command < kCmdNorthElevation || command > kCmdWestElevation) return;
  RememberCurrentView();
  ShowPrincipalView(SInt16(kNorthElevationView + (command - kCmdNorthElevation)));
}

void VLViewTransform::SaveView(CViewInfo* record) {
  if (record) SaveCamera(record, viewKind, CurrentHalfSize());
}

void VLViewTransform::RestoreView(CViewInfo* record) {
  // A kind outside the table would leave a camera without a matching matrix.
  if (!record || record->GetViewType() < 0 || record->GetViewType() >= kViewKindCount) return;
  LoadCamera(record);
  const CViewInfo* sizeFrom = viewMemories[viewKind == kPerspectiveView ? kPerspectiveView : kPlanView];
  SetWindowHalfSize(sizeFrom ? sizeFrom->GetZoom() : CurrentHalfSize());
  perspective = viewKind == kPerspectiveView;
  principalView = viewKind != kPerspectiveView && viewKind != kAxonometricView;
  RebuildMatrix();
}

// ---- Moving the camera ----

void VLViewTransform::FinishMove(const Vector3d* eye) {
  SetReferenceFromEye(eye);
  RebuildMatrix();
  UpdateScreenAxes();
}

void VLViewTransform::SetEyePoint(Vector3d* p) {
  const double d = EyeDistance();
  if (p->z < 0.0) p->z = 0.0;
  if (Distance(*p, lookPoint) < d) {
    lookPoint = Minus(*p, Scaled(planeNormal, d));
    if (lookPoint.z < 0.0) lookPoint = OnGroundAt(*p, planeNormal, d, -1.0);
    if (Distance(*p, lookPoint) < d) *p = Plus(lookPoint, Scaled(planeNormal, d));
  }
  planeNormal = Unit(Minus(*p, lookPoint));
  FinishMove(p);
}

void VLViewTransform::PlaceEyeFromLook(Vector3d eye) {
  const double d = EyeDistance();
  if (Distance(eye, lookPoint) < d) {
    eye = Plus(lookPoint, Scaled(planeNormal, d));
    if (eye.z < 0.0) {
      eye = OnGroundAt(lookPoint, planeNormal, d, 1.0);
      planeNormal = Unit(Minus(eye, lookPoint));
    }
  } else {
    planeNormal = Unit(Minus(eye, lookPoint));
  }
  FinishMove(&eye);
}

void VLViewTransform::SetLookPoint(Vector3d* p) {
  if (p->z < 0.0) p->z = 0.0;
  Vector3d eye;
  GetEyePoint(&eye);
  lookPoint = *p;
  PlaceEyeFromLook(eye);
}

void VLViewTransform::LookAtBox(const Vector3d* min, const Vector3d* max) {
  Vector3d eye;
  GetEyePoint(&eye);
  lookPoint = {(min->x + max->x) / 2, (min->y + max->y) / 2, (min->z + max->z) / 2};
  if (lookPoint.z < 0.0) lookPoint.z = 0.0;
  PlaceEyeFromLook(eye);
}

Boolean VLViewTransform::MoveEye(double s) {
  Vector3d eye;
  GetEyePoint(&eye);
  if (eye.z + s * planeNormal.z < 0.0) return false;
  eye = Plus(eye, Scaled(planeNormal, s));
  double distance = Distance(eye, lookPoint);
  const int k = LeadingAxis(planeNormal);
  if (k >= 0 && std::fabs(At(lookPoint, k) + At(planeNormal, k) * distance - At(eye, k)) > kWalkTolerance) {
    eye = lookPoint;  // walked past the look point
    distance = 0.0;
  }
  const double m = minimumEyeDistance;
  if (distance < m) {
    lookPoint = Minus(eye, Scaled(planeNormal, m));
    if (lookPoint.z < 0.0) lookPoint = OnGroundAt(eye, planeNormal, m, -1.0);
  }
  planeNormal = Unit(Minus(eye, lookPoint));
  FinishMove(&eye);
  return true;
}

Boolean VLViewTransform::MoveLookPoint(double s) {
  Vector3d eye;
  GetEyePoint(&eye);
  if (lookPoint.z + s * planeNormal.z < 0.0) return false;
  lookPoint = Plus(lookPoint, Scaled(planeNormal, s));
  double distance = Distance(eye, lookPoint);
  const int k = LeadingAxis(planeNormal);
  if (k >= 0 && std::fabs(At(eye, k) - At(planeNormal, k) * distance - At(lookPoint, k)) > kWalkTolerance) {
    lookPoint = eye;  // moved past the eye
    distance = 0.0;
  }
  const double m = minimumEyeDistance;
  if (distance < m) {
    eye = Plus(lookPoint, Scaled(planeNormal, m));
    if (eye.z < 0.0) {
      eye = OnGroundAt(lookPoint, planeNormal, m, 1.0);
      planeNormal = Unit(Minus(eye, lookPoint));
    }
  }
  FinishMove(&eye);
  return true;
}

double VLViewTransform::EyeAndDistance(Vector3d* eye) const {
  GetEyePoint(eye);
  return Distance(*eye, lookPoint);
}

Boolean VLViewTransform::OrbitEye(double polar, double azimuth) {
  Vector3d eye;
  const double distance = EyeAndDistance(&eye);
  if (lookPoint.z + distance * std::cos(polar) < 0.0) return false;
  const Vector3d around{std::sin(azimuth) * std::sin(polar), std::cos(azimuth) * std::sin(polar), std::cos(polar)};
  eye = Plus(lookPoint, Scaled(around, distance));
  planeNormal = Unit(Minus(eye, lookPoint));
  FinishMove(&eye);
  return true;
}

Boolean VLViewTransform::TurnLook(double polar, double azimuth) {
  Vector3d eye;
  const double distance = EyeAndDistance(&eye);
  lookPoint = {eye.x + distance * std::sin(azimuth) * std::sin(polar),
               eye.y + distance * std::cos(azimuth) * std::sin(polar), eye.z - distance * std::cos(polar)};
  Vector3d toEye = Minus(eye, lookPoint);
  if (lookPoint.z < 0.0 && toEye.z != 0.0) {
    const double t = eye.z / toEye.z;
    lookPoint = {eye.x - t * toEye.x, eye.y - t * toEye.y, 0.0};
    toEye = Minus(eye, lookPoint);
  }
  planeNormal = Unit(toEye);
  FinishMove(&eye);
  return true;
}

// ---- Window and sub-window ----

void VLViewTransform::SetWindowHalfSize(double s) {
  if (paneHeight >= paneWidth) {
    umin = -s;
    umax = s;
    vmax = s * paneHeight / paneWidth;
    vmin = -vmax;
  } else {
    vmin = -s;
    vmax = s;
    umax = s * paneWidth / paneHeight;
    umin = -umax;
  }
  UpdateScreenAxes();
}

Boolean VLViewTransform::ResizePane(SInt16 width, SInt16 height) {
  if (width < 1 || height < 1) return false;
  if (std::abs(width - paneWidth) >= std::abs(height - paneHeight)) {
    umin = vmin * width / height;
    umax = vmax * width / height;
  } else {
    vmin = umin * height / width;
    vmax = umax * height / width;
  }
  paneWidth = width;
  paneHeight = height;
  halfPaneWidth = width * 0.5;
  halfPaneHeight = height * 0.5;
  return RebuildMatrix();
}

Boolean VLViewTransform::ZoomToRect(Rect* rect) {
  const int w = rect->right - rect->left;
  const int h = rect->bottom - rect->top;
  if (w <= 0 || h <= 0) return false;
  const double paneAspect = double(paneWidth) / paneHeight;
  if (double(w) / h < paneAspect) {
    const int centre = (rect->left + rect->right) / 2;
    const int half = int(h * paneAspect * 0.5);
    rect->left = PaneEdge(centre - half);
    rect->right = PaneEdge(centre + half);
  } else {
    const int centre = (rect->top + rect->bottom) / 2;
    const int half = int(w * (1.0 / paneAspect) * 0.5);
    rect->top = PaneEdge(centre - half);
    rect->bottom = PaneEdge(centre + half);
  }
  const double oldX0 = x0, oldY0 = y0;
  const double spanX = x1 - x0, spanY = y1 - y0;
  x0 = oldX0 + rect->left * spanX / paneWidth;
  x1 = oldX0 + rect->right * spanX / paneWidth;
  y0 = oldY0 + rect->top * spanY / paneHeight;
  y1 = oldY0 + rect->bottom * spanY / paneHeight;
  UpdateSubWindow();
  return true;
}

void VLViewTransform::ScrollSubWindow(SInt16 dh, SInt16 dv) {
  const double spanX = x1 - x0, spanY = y1 - y0;
  x0 += dh * spanX / paneWidth;
  x1 = x0 + spanX;
  y0 += dv * spanY / paneHeight;
  y1 = y0 + spanY;
  UpdateSubWindow();
}

void VLViewTransform::UpdateSubWindow() {
  ox = 1 - 2 * x0;
  oy = 1 - 2 * y0;
  kx = 2 * (x1 - x0);
  ky = 2 * (y1 - y0);
  const double a = 2 * x0 - 1, b = 2 * x1 - 1, c = 2 * y0 - 1, e = 2 * y1 - 1;
  const Vector3d origin;
  const Vector3d through[4][2] = {
      {{a, c, 1.0}, {a, e, 1.0}}, {{b, e, 1.0}, {b, c, 1.0}}, {{b, c, 1.0}, {a, c, 1.0}}, {{a, e, 1.0}, {b, e, 1.0}}};
  for (int plane = 0; plane < 4; ++plane)
    PlaneFromThreePoints(&origin, &through[plane][0], &through[plane][1], &subWindowPlanes[plane].normal,
                         &subWindowPlanes[plane].offset);
  if (!WholeSubWindow(x0, x1, y0, y1)) fullWindow = 0;
}

Boolean VLViewTransform::ResetSubWindow() {
  if (WholeSubWindow(x0, x1, y0, y1)) return false;
  SetWholeSubWindow();
  return true;
}

void VLViewTransform::SetWholeSubWindow() {
  x0 = 0.0;
  x1 = 1.0;
  y0 = 0.0;
  y1 = 1.0;
  ox = 1.0;
  oy = 1.0;
  kx = 2.0;
  ky = 2.0;
  fullWindow = 1;
}

// ---- Picking ----

void VLViewTransform::PanePointToViewPlane(Vector3d* out, Point* panePoint) const {
  if (panePoint->h > kFarPanePoint) panePoint->h = paneWidth;
  if (panePoint->v > kFarPanePoint) panePoint->v = paneHeight;
  const double w = paneWidth, h = paneHeight;
  const double spanU = umax - umin, spanV = vmax - vmin;
  double across, up;
  if (WholeSubWindow(x0, x1, y0, y1)) {
    across = (panePoint->h - w / 2) * spanU / w;
    up = (h / 2 - panePoint->v) * spanV / h;
  } else {
    across = umin + x0 * spanU + panePoint->h * (x1 - x0) * spanU / w;
    up = vmax - y0 * spanV - panePoint->v * (y1 - y0) * spanV / h;
  }
  *out = Plus(referencePoint, Plus(Scaled(screenRight, across), Scaled(screenUp, up)));
}

void VLViewTransform::GetPickRay(Vector3d* origin, Vector3d* direction, Point panePoint) const {
  Vector3d onPlane;
  PanePointToViewPlane(&onPlane, &panePoint);
  if (perspective)
    GetEyePoint(origin);
  else
    *origin = Plus(onPlane, Scaled(planeNormal, EyeDistance()));
  *direction = Minus(onPlane, *origin);
}

// ---- Radiance ----

void VLViewTransform::WriteRadianceView(std::FILE* file) const {
  Vector3d eye;
  GetEyePoint(&eye);
  // Radiance's y runs the other way.
  const Vector3d toLook = Minus(lookPoint, eye);
  CheckPrinted(std::fprintf(file, "-vtv -vp %Lg %Lg %Lg ", Written(eye.x), Written(-eye.y), Written(eye.z)));
  CheckPrinted(std::fprintf(file, "-vd %Lg %Lg %Lg ", Written(toLook.x), Written(-toLook.y), Written(toLook.z)));
  CheckPrinted(std::fprintf(file, "-vu %Lg %Lg %Lg ", Written(upVector.x), Written(-upVector.y), Written(upVector.z)));
  CheckPrinted(std::fprintf(file, "-vh 75 -vv 75 -vs 0 -vl 0"));
  ThrowIfFileError(file, kDEErrorErrorWritingFile);
}
