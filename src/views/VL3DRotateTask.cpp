#include "VL3DRotateTask.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <exception>
#include <new>

#include "CDataKeeper.h"
#include "CPreferences.h"
#include "DrawingPlane.h"
#include "GeometryKernel.h"
#include "Measurement.h"
#include "ObjectList.h"
#include "Selection.h"
#include "TaskSupport.h"
#include "ToolboxUtilities.h"
#include "UnitToNameTable.h"
#include "Unwinding.h"
#include "VLCrosshairCursor.h"
#include "VLDocument.h"
#include "VLUser3DObject.h"
#include "VLViewPane.h"
#include "ViewDrawingFlags.h"

namespace {

constexpr double kRadiansToDegrees = 57.29577951;
// A handle turned less than this from its present direction does not turn the selection.
constexpr double kSmallestHandleTurn = 0.25;
constexpr double kFullTurn = 360.0;

CPreferences* ActivePreferences() {
  VLDocument* document = gCurrentViewPane ? gCurrentViewPane->document : nullptr;
  return document ? document->GetPreferences() : nullptr;
}

double RotationPrecision() {
  CPreferences* preferences = ActivePreferences();
  return preferences ? preferences->GetRotationPrecision() : 1.0;
}

double RotationConstraint() {
  CPreferences* preferences = ActivePreferences();
  return preferences ? preferences->GetRotationConstraint() : 0.0;
}

// The angle rounded to the nearest step of the rotation constraint; a full turn is none.
double SnappedAngle(double angle) {
  const double snapped = RoundToStep(angle, RotationConstraint());
  return snapped == kFullTurn ? 0.0 : snapped;
}

// The unit vector from the centre to the point in the plane of the view (the point taken to
// the centre's depth); false, with a zero vector, when the point lies on the centre there.
bool DirectionInViewPlane(const Vector3d& centre, Vector3d point, Vector3d* out) {
  VectorComponent(point, AxisRole(gAxisZ)) = VectorComponent(centre, AxisRole(gAxisZ));
  VectorSubtract(&point, &centre, out);
  const double length = VectorLength(out);
  if (!(length > 0.0) || !std::isfinite(length)) {
    *out = Vector3d{};
    return false;
  }
  VectorDivide(out, length, out);
  return true;
}

// The angle between two unit directions in degrees. Rounding can carry their dot product just
// past 1, where the arc cosine has no value: it is held to [-1, 1].
double DegreesBetween(const Vector3d& a, const Vector3d& b) {
  return std::acos(std::clamp(VectorDot(&a, &b), -1.0, 1.0)) * kRadiansToDegrees;
}

// The depth component of a x b: its sign tells which way b lies from a in the view's plane.
double DepthOfCross(const Vector3d& a, const Vector3d& b) {
  Vector3d cross;
  VectorCross(&a, &b, &cross);
  return VectorComponent(cross, AxisRole(gAxisZ));
}

}  // namespace

void VL3DRotateTask::IRotateTask(SInt16 nameIndex, VLViewTransform* view) {
  viewTransform = view;
  IObjectChangedTask(nameIndex);
  RecordSelection(true);
  gTrackingDrawing = 1;
  accumulatedAngle = 0.0;
}

CDataKeeper* VL3DRotateTask::NewKeeper() { return new (std::nothrow) CRotationKeeper; }

void VL3DRotateTask::SetRotation(const Vector3d* handle, const Vector3d* centre, Boolean handleHit) {
  handlePoint = *handle;
  rotationCentre = *centre;
  onHandle = handleHit ? 1 : 0;
}

// ---- Tracking ----

void VL3DRotateTask::BeginTracking(LongPt*) {
  ShowAngle(0.0);
  if (onHandle) {
    VectorComponent(handlePoint, AxisRole(gAxisZ)) = VectorComponent(rotationCentre, AxisRole(gAxisZ));
    DirectionInViewPlane(rotationCentre, handlePoint, &startDirection);
    currentDirection = startDirection;
  }
  if (gCurrentViewPane && gCurrentViewPane->crosshair) gCurrentViewPane->crosshair->SuspendShiftConstraint();
}

void VL3DRotateTask::KeepTracking(LongPt* currPt, LongPt* prevPt, LongPt* startPt) {
  VLViewPane* pane = gCurrentViewPane;
  if (!pane) return;
  pane->AutoScrollToPoint(vltasks::PanePoint(currPt));
  Vector3d located;
  const Boolean found = pane->LocateMousePoint(vltasks::PanePoint(currPt), &located, false, nullptr, false);
  if (!onHandle)
    FreeStep(currPt, prevPt, startPt, found);
  else if (found)
    HandleStep(located);
}

void VL3DRotateTask::FreeStep(const LongPt* curr, const LongPt* prev, const LongPt* start, Boolean located) {
  const double precision = RotationPrecision();
  if (!IsShiftKeyDown()) {
    const double delta = precision * double(curr->h - prev->h);
    if (delta != 0.0) {
      TurnSelection(delta);
      AddToAngle(delta);
      ShowAngle(accumulatedAngle);
      return;
    }
  } else {
    // The whole travel since the start, in steps: the angle never drifts from the steps.
    double travelled = std::fmod(precision * double(curr->h - start->h), kFullTurn);
    if (travelled < 0.0) travelled += kFullTurn;
    const double snapped = SnappedAngle(travelled);
    if (snapped != accumulatedAngle) {
      TurnSelection(snapped - accumulatedAngle);
      accumulatedAngle = snapped;
      ShowAngle(accumulatedAngle);
      return;
    }
  }
  if (located) vltasks::RedrawActivePane();
}

void VL3DRotateTask::HandleStep(Vector3d located) {
  // The mouse on the centre, or a handle that started there, gives no direction to turn to.
  if (!DirectionInViewPlane(rotationCentre, located, &workDirection) || VectorLength(&startDirection) == 0.0) {
    vltasks::RedrawActivePane();
    return;
  }
  if (!IsShiftKeyDown()) {
    double angle = DegreesBetween(currentDirection, workDirection);
    if (std::fabs(angle) < kSmallestHandleTurn) {
      vltasks::RedrawActivePane();
      return;
    }
    angle = RoundToHalf(angle);
    if (DepthOfCross(currentDirection, workDirection) < 0.0) angle = -angle;
    TurnSelection(angle);
    AddToAngle(angle);
    TurnStartDirection(accumulatedAngle);
    ShowAngle(accumulatedAngle);
    return;
  }
  double angle = DegreesBetween(startDirection, workDirection);
  if (DepthOfCross(startDirection, workDirection) < 0.0) angle = kFullTurn - angle;
  const double snapped = SnappedAngle(angle);
  if (snapped == accumulatedAngle) {
    vltasks::RedrawActivePane();
    return;
  }
  TurnSelection(snapped - accumulatedAngle);
  accumulatedAngle = snapped;
  TurnStartDirection(snapped);
  ShowAngle(accumulatedAngle);
}

void VL3DRotateTask::EndTracking(LongPt*, LongPt*, LongPt*) {
  gTrackingDrag = 0;
  vltasks::ShowAngleText("", false);
  gTrackingDrawing = 0;
  for (long i = 1; gCurrentSelection && i <= gCurrentSelection->GetNumItems(); ++i)
    if (auto* object = static_cast<VLUser3DObject*>(gCurrentSelection->PointerAt(i))) object->CalcScreenBounds();
  VLViewPane* pane = gCurrentViewPane;
  if (pane && pane->crosshair) pane->crosshair->ResumeShiftConstraint();
  if (pane) pane->Refresh();
  if (accumulatedAngle != 0.0 && pane && pane->document) {
    pane->document->SetChanged(true);
    pane->document->InvalidateOtherViews();
  }
}

// ---- Turning ----

void VL3DRotateTask::TurnSelection(double angle) {
  for (long i = 1; gCurrentSelection && i <= gCurrentSelection->GetNumItems(); ++i)
    if (auto* object = static_cast<VLUser3DObject*>(gCurrentSelection->PointerAt(i)))
      object->Rotate(angle, &rotationCentre);
  vltasks::RedrawActivePane();
}

void VL3DRotateTask::AddToAngle(double angle) {
  accumulatedAngle += angle;
  if (accumulatedAngle < 0.0) accumulatedAngle += kFullTurn;
  if (accumulatedAngle >= kFullTurn) accumulatedAngle -= kFullTurn;
}

void VL3DRotateTask::TurnStartDirection(double angle) {
  const double radians = angle * kDegreesToRadians;
  const double c = std::cos(radians), s = std::sin(radians);
  const SInt16 h = AxisRole(gAxisX), v = AxisRole(gAxisY);
  currentDirection = workDirection;
  VectorComponent(currentDirection, h) =
      VectorComponent(startDirection, h) * c - VectorComponent(startDirection, v) * s;
  VectorComponent(currentDirection, v) =
      VectorComponent(startDirection, v) * c + VectorComponent(startDirection, h) * s;
}

void VL3DRotateTask::ShowAngle(double angle) const {
  CPreferences* preferences = ActivePreferences();
  const Format& format = preferences ? preferences->GetAngleFormat() : gAngleFormat;
  char text[64];
  CatchFailures(
      [&] { Measurement::ToString(Measurement(angle, gDegrees), text, sizeof text, format, gShortNameTable); },
      [&](std::exception_ptr) { std::snprintf(text, sizeof text, "%g", angle); });
  vltasks::ShowAngleText(text, true);
}
