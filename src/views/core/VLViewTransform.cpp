// Set-up, copies, the two view matrices and the screen axes.
#include "VLViewTransform.h"

#include <cmath>
#include <new>

#include "CViewInfo.h"
#include "DETException.h"
#include "Measurement.h"
#include "Memory.h"
#include "NameToUnitTable.h"
#include "Resources.h"
#include "internal/ViewMath.h"

UInt8 gDepthSortPainted = 0;

namespace {

using namespace vlviews;

constexpr SInt16 kDefaultStrings = 2700;
constexpr SInt16 kLookHeightItem = 6;
constexpr SInt16 kMinimumDistanceItem = 8;
constexpr double kFallbackFeet = 5.0;

// A length of the defaults list in the model's unit (feet; a bare number is in feet). The
// fallback covers a missing list or item and any text the measurement parser refuses.
double DefaultViewLength(SInt16 item) {
  Str255 text;
  PortGetListString(text, kDefaultStrings, item);
  if (PortResError() != noErr) return kFallbackFeet;
  try {
    const double feet = Measurement::Parse(PStrToStd(text), gShortLengthNameTable, gFeet).ValueIn(gFeet);
    return std::isfinite(feet) && feet > 0.0 ? feet : kFallbackFeet;
  } catch (Measurement::Error) {
  } catch (UnitBase::Error) {
  }
  return kFallbackFeet;
}

Matrix4d Identity() {
  Matrix4d m;
  SetIdentity4x4(&m);
  return m;
}

Matrix4d Translation(double x, double y, double z) {
  Matrix4d m = Identity();
  m.at(0, 3) = x;
  m.at(1, 3) = y;
  m.at(2, 3) = z;
  return m;
}

Matrix4d Product(const Matrix4d& a, const Matrix4d& b) {
  Matrix4d out;
  MatrixMultiply(&a, &b, MatrixShape{4, 4}, MatrixShape{4, 4}, &out);
  return out;
}

// The shear that moves the window's centre onto the line from the PRP.
Matrix4d WindowShear(double umin, double umax, double vmin, double vmax, const Vector3d& prp) {
  const Vector3d dop = Minus({(umin + umax) / 2, (vmin + vmax) / 2, 0.0}, prp);
  Matrix4d m = Identity();
  m.at(0, 2) = -dop.x / dop.z;
  m.at(1, 2) = -dop.y / dop.z;
  return m;
}

bool IsFiniteMatrix(const Matrix4d& m) {
  for (double e : m.m)
    if (!std::isfinite(e)) return false;
  return true;
}

}  // namespace

// ---- Polygon blocks ----

Handle NewPolygonBlock(SInt16 count) {
  if (count < 0) return nullptr;
  Handle block = PortAllocHandle(kPolygonBlockPoints + Size(count) * Size(sizeof(Vector3d)));
  if (block) *reinterpret_cast<SInt16*>(*block) = count;
  return block;
}

SInt16 PolygonBlockCount(Handle block) { return *reinterpret_cast<const SInt16*>(*block); }

Vector3d* PolygonBlockPoints(Handle block) { return reinterpret_cast<Vector3d*>(*block + kPolygonBlockPoints); }

// ---- Set-up and copies ----

void VLViewTransform::IVLViewTransform(SInt16 width, SInt16 height) {
  ThrowIfFalse(width > 0 && height > 0, Str255("VLViewTransform::IVLViewTransform: empty pane"));
  projectionReference = {0.0, 0.0, 5.0};
  referencePoint = {0.0, 60.0, 35.0};
  lookPoint = {0.0, 0.0, 5.0};
  planeNormal = Unit(Minus(referencePoint, lookPoint));
  upVector = {0.0, 0.0, 1.0};
  umin = -3.0;
  umax = 3.0;
  vmin = -3.0;
  vmax = 3.0;
  SetWholeSubWindow();
  perspective = 1;
  viewKind = kPerspectiveView;
  backDistance = 10000.0;
  frontDistance = 4.5;
  const double d = EyeDistance();
  hither = -(frontDistance - d) / (backDistance - d);
  lightDirection = Unit({1.0, 1.0, 1.0});
  paneWidth = width;
  paneHeight = height;
  halfPaneWidth = width * 0.5;
  halfPaneHeight = height * 0.5;
  defaultLookHeight = DefaultViewLength(kLookHeightItem);
  minimumEyeDistance = DefaultViewLength(kMinimumDistanceItem);
}

VLViewTransform::VLViewTransform(const VLViewTransform& other)
    : CCollaborator(),
      viewMatrix(other.viewMatrix),
      referencePoint(other.referencePoint),
      projectionReference(other.projectionReference),
      planeNormal(other.planeNormal),
      upVector(other.upVector),
      lookPoint(other.lookPoint),
      perspective(other.perspective),
      principalView(other.principalView),
      viewKind(other.viewKind),
      paneWidth(other.paneWidth),
      paneHeight(other.paneHeight),
      fullWindow(other.fullWindow),
      screenRight(other.screenRight),
      screenUp(other.screenUp),
      lightDirection(other.lightDirection),
      halfPaneWidth(other.halfPaneWidth),
      halfPaneHeight(other.halfPaneHeight),
      umin(other.umin),
      umax(other.umax),
      vmin(other.vmin),
      vmax(other.vmax),
      x0(other.x0),
      x1(other.x1),
      y0(other.y0),
      y1(other.y1),
      ox(other.ox),
      oy(other.oy),
      kx(other.kx),
      ky(other.ky),
      hither(other.hither),
      backDistance(other.backDistance),
      frontDistance(other.frontDistance),
      defaultLookHeight(other.defaultLookHeight),
      minimumEyeDistance(other.minimumEyeDistance) {
  for (int i = 0; i < 4; ++i) subWindowPlanes[i] = other.subWindowPlanes[i];
  for (int kind = 0; kind < kViewKindCount; ++kind)
    if (other.viewMemories[kind]) viewMemories[kind] = other.viewMemories[kind]->Clone();
}

VLViewTransform::~VLViewTransform() {
  for (CViewInfo*& memory : viewMemories) {
    if (memory) memory->Dispose();
    memory = nullptr;
  }
}

VLViewTransform* VLViewTransform::Clone() const { return new (std::nothrow) VLViewTransform(*this); }

// ---- Matrices ----

Boolean VLViewTransform::BuildPerspectiveMatrix(Matrix4d* out) {
  const Vector3d n = Unit(planeNormal);
  Vector3d up = upVector;
  double c = Dot(up, n);
  if (c == 1.0) {  // looking along the up vector: north takes its place
    up = {0.0, -1.0, 0.0};
    c = Dot(up, n);
  }
  const Vector3d v = Unit(Minus(up, Scaled(n, c)));
  const Vector3d u = Unit(Cross(v, n));
  Matrix4d rotation = Identity();
  MatrixFromAxes(&rotation, &u, &v, &n);
  const Matrix4d toReference = Translation(-referencePoint.x, -referencePoint.y, -referencePoint.z);
  const Matrix4d toEye = Translation(-projectionReference.x, -projectionReference.y, -projectionReference.z);
  const Matrix4d shearToEye = Product(WindowShear(umin, umax, vmin, vmax, projectionReference), toEye);
  const double zv = shearToEye.at(2, 3);  // the z of the origin after the shear and the move: -d
  const double zb = backDistance + zv;
  Matrix4d scale = Identity();
  SetScale4x4(&scale, 2 * zv / ((umax - umin) * zb), 2 * zv / ((vmax - vmin) * zb), -1 / zb);
  *out = Product(scale, Product(shearToEye, Product(rotation, toReference)));
  return IsFiniteMatrix(*out);
}

Boolean VLViewTransform::BuildParallelMatrix(Matrix4d* out) {
  const Vector3d n = Unit(planeNormal);
  Vector3d w = Cross(n, upVector);
  if (IsZero(w)) w = Cross(n, {0.0, -1.0, 0.0});
  const Vector3d r0 = Unit(w);
  const Vector3d r1 = Cross(n, r0);
  Matrix4d rotation = Identity();
  MatrixFromAxes(&rotation, &r0, &r1, &n);
  const Matrix4d toReference = Translation(-referencePoint.x, -referencePoint.y, -referencePoint.z);
  const Matrix4d shear = WindowShear(umin, umax, vmin, vmax, projectionReference);
  const double tx = umin == -umax ? 0.0 : -(umin + umax) / 2;
  const double ty = vmax == -vmin ? 0.0 : -(vmin + vmax) / 2;
  const Matrix4d toFront = Translation(tx, ty, -frontDistance);
  Matrix4d scale = Identity();
  SetScale4x4(&scale, 2 / (umax - umin), 2 / (vmax - vmin), 1 / (frontDistance - backDistance));
  *out = Product(scale, Product(toFront, Product(shear, Product(rotation, toReference))));
  return IsFiniteMatrix(*out);
}

Boolean VLViewTransform::RebuildMatrix() {
  return perspective ? BuildPerspectiveMatrix(&viewMatrix) : BuildParallelMatrix(&viewMatrix);
}

// ---- Screen axes, light, eye ----

void VLViewTransform::UpdateScreenAxes() {
  Vector3d up = upVector;
  Vector3d upright = Minus(up, Scaled(planeNormal, Dot(planeNormal, up)));
  // An up vector along the view direction has no upright part; both matrices then take north
  // as up, and the axes must agree with them or picking would lose its plane.
  if (IsZero(upright)) {
    up = {0.0, -1.0, 0.0};
    upright = Minus(up, Scaled(planeNormal, Dot(planeNormal, up)));
  }
  screenUp = Unit(upright);
  screenRight = Cross(planeNormal, screenUp);
  const double length = Length(screenRight);
  if (length != 1.0) screenRight = Unit(screenRight);
}

void VLViewTransform::SetLightDirection(double x, double y, double z) { lightDirection = {x, y, z}; }

Vector3d* VLViewTransform::GetEyePoint(Vector3d* out) const {
  *out = Plus(referencePoint, Scaled(planeNormal, EyeDistance()));
  return out;
}

void VLViewTransform::SetReferenceFromEye(const Vector3d* eye) {
  referencePoint = Minus(*eye, Scaled(planeNormal, EyeDistance()));
}

double VLViewTransform::DistanceToViewPoint(const Vector3d* v) const { return Dot(*v, lightDirection); }

double VLViewTransform::CurrentHalfSize() const { return umax < vmax ? umax : vmax; }
