// The bar's keys: applying a typed point to the locator and a drawing in progress (mode 1) or to
// the view (mode 2), and what a typed view point makes of the view.
#include <cmath>

#include "CFeetInchesPane.h"
#include "CTextEntryPane.h"
#include "CWorkingPlaneTool.h"
#include "DrawingPlane.h"
#include "Events.h"
#include "GeometryKernel.h"
#include "VL3DDrawingTask.h"
#include "VLDocument.h"
#include "VLTextBar.h"
#include "VLViewPane.h"
#include "VLViewTransform.h"
#include "ViewConventions.h"

namespace {

// The document's tool group of the view tools; its tool 0 (the eye orbit) types the look point.
constexpr SInt16 kViewToolGroup = 2;
constexpr double kPlanLookAzimuth = 180.0;

bool Near(double a, double b) { return std::fabs(a - b) <= kGeomCoincidence; }
bool IsZero(double a) { return Near(a, 0.0); }

}  // namespace

// ---- Keys ----

void VLTextBar::DoKeyDown(char theChar, UInt8 keyCode, EventRecord* event) {
  if (!IsEntryKey(theChar)) {
    CPane::DoKeyDown(theChar, keyCode, event);
    return;
  }
  SInt16 group = 0, index = 0;
  const bool found = FindTargetField(&group, &index);
  CFeetInchesPane* field = found ? (group == 0 ? pointFields[index] : offsetFields[index]) : nullptr;
  if (UInt8(theChar) == kTabChar) {
    if (!field) return;
    // Outside view entry a field Tab passes over without typing changes nothing.
    bool apply = mode == kModeView;
    if (!apply) {
      field->RedrawNow();
      apply = gFieldTyped[index] != 0;
    }
    if (apply && mode == kModePoint) ApplyPoint(TypedPoint(group), false);
    if (apply && mode == kModeView) ApplyViewPoint(TypedPoint(group));
    const auto next = SInt16((index + 1) % 3);
    if (group == 0)
      FocusPointField(next);
    else
      FocusOffsetField(next);
    return;
  }
  if (field) {
    field->RedrawNow();
    if (mode == kModePoint) ApplyPoint(TypedPoint(group), true);
    if (mode == kModeView) ApplyViewPoint(TypedPoint(group));
  }
  if (gCurrentViewPane) gCurrentViewPane->BecomeCommandTarget(true);
}

bool VLTextBar::FindTargetField(SInt16* group, SInt16* index) const {
  for (SInt16 i = 0; i < 3; ++i) {
    if (gCommandTarget == pointFields[i] || gCommandTarget == offsetFields[i]) {
      *group = gCommandTarget == pointFields[i] ? 0 : 1;
      *index = i;
      return true;
    }
  }
  return false;
}

Vector3d VLTextBar::TypedPoint(SInt16 group) const {
  if (group == 0) return {pointFields[0]->GetValue(), pointFields[1]->GetValue(), pointFields[2]->GetValue()};
  const Vector3d& reference = mode == kModePoint ? pointReference : viewReference;
  return {offsetFields[0]->GetValue() + reference.x, offsetFields[1]->GetValue() + reference.y,
          offsetFields[2]->GetValue() + reference.z};
}

// ---- Point entry ----

void VLTextBar::ApplyPoint(const Vector3d& p, bool finish) {
  VLViewPane* pane = gCurrentViewPane;
  if (!pane) return;
  // The fields show the working plane's coordinates while it is on: the pane takes them so, the
  // drawing wants the model's.
  Vector3d model = p;
  if (gWorkingPlaneOn && gWorkingPlane) gWorkingPlane->PlaneToWorld(&p, &model);
  pane->SetCrosshairPoint(p.x, p.y, p.z, true);
  if (gTypedEntryTask) {
    gTypedEntryTask->TrackToPoint(&model);
    if (finish) {
      gTypedEntryTask->Dispose();
      gTypedEntryTask = nullptr;
    }
  }
  // Typed coordinates hold for the press that uses them.
  if (finish && !PortButton()) {
    gTextBarTyped = 0;
    for (UInt8& typed : gFieldTyped) typed = 0;
  }
}

// ---- View entry ----

void VLTextBar::ApplyViewPoint(Vector3d p) {
  VLViewPane* pane = gCurrentViewPane;
  VLViewTransform* view = viewTransform;
  if (!pane || !view || !pane->document) return;
  const bool lookPoint = pane->document->GetGroupTool(kViewToolGroup) == 0;
  const SInt16 kind = lookPoint ? ClassifyLookPoint(p) : ClassifyEyePoint(p);
  const SInt16 was = view->viewKind;
  if (kind == kPlan) view->upVector = {0.0, -1.0, 0.0};
  if (kind >= kNorthElevationView && kind <= kWestElevationView) view->upVector = {0.0, 0.0, 1.0};
  if (lookPoint)
    view->SetLookPoint(&p);
  else
    view->SetEyePoint(&p);
  const SInt16 command = pane->viewToolCommand;
  if (kind == kNoAxis) {
    if (was >= kPlanView && was <= kWestElevationView) {
      view->SetAxonometric();
      pane->viewToolCommand = kAxonometricCode;
    }
  } else {
    // A principal view is a parallel one; coming from the perspective view its window is
    // fitted to what that showed.
    if (view->perspective) view->FitAxonometricWindow();
    view->viewKind = kind;
    view->perspective = 0;
    view->principalView = 1;
    pane->perspectiveActive = 0;
    pane->viewToolCommand = kind == kPlan ? kPlanCode : SInt16(kFirstElevationCode + kind - kNorthElevationView);
  }
  if (kind == kPlan) {
    pane->eyeAltitude = pane->eyeAzimuth = 0.0;
    pane->lookAltitude = pane->eyeAltitude;
    pane->lookAzimuth = pane->eyeAzimuth - kPlanLookAzimuth;
  }
  view->RebuildMatrix();
  view->UpdateScreenAxes();
  if (pane->viewToolCommand != command) pane->SyncDrawingPlane();
  pane->MarkObjectsChanged();
  pane->Refresh();
  Vector3d shown = p;
  if (lookPoint) view->GetEyePoint(&shown);
  ShowPoint(shown, true);
}

// ---- Classifying a typed view point ----

namespace {

// The rules, in order, for an eye v and a point q, with the view's direction d (from the look
// point toward the eye) and minimum distance m.
SInt16 ClassifyPoints(const Vector3d& v, const Vector3d& q, const Vector3d& d, double m) {
  const bool sameX = Near(v.x, q.x), sameY = Near(v.y, q.y), sameZ = Near(v.z, q.z);
  if (sameX && sameY && sameZ) {
    if (IsZero(d.x) && IsZero(d.z)) return SInt16(d.y <= 0.0 ? kNorthElevationView : kSouthElevationView);
    if (IsZero(d.y) && IsZero(d.z)) return SInt16(d.x > 0.0 ? kEastElevationView : kWestElevationView);
    if (IsZero(d.x) && IsZero(d.y)) return VLTextBar::kPlan;
    return VLTextBar::kNoAxis;
  }
  const bool far = VectorDistance(&v, &q) >= m;
  if (sameX && sameY) return far || (IsZero(d.x) && IsZero(d.y)) ? VLTextBar::kPlan : VLTextBar::kNoAxis;
  // The north elevation looks south from the north: its eye has the smaller y.
  if (sameX && sameZ)
    return far || (IsZero(d.x) && IsZero(d.z)) ? SInt16(v.y < q.y ? kNorthElevationView : kSouthElevationView)
                                               : VLTextBar::kNoAxis;
  if (sameY && sameZ)
    return far || (IsZero(d.y) && IsZero(d.z)) ? SInt16(v.x > q.x ? kEastElevationView : kWestElevationView)
                                               : VLTextBar::kNoAxis;
  return VLTextBar::kNoAxis;
}

}  // namespace

SInt16 VLTextBar::ClassifyLookPoint(const Vector3d& q) const {
  if (!viewTransform) return kNoAxis;
  Vector3d eye;
  viewTransform->GetEyePoint(&eye);
  return ClassifyPoints(eye, q, viewTransform->planeNormal, viewTransform->minimumEyeDistance);
}

// The transform keeps no eye apart from its camera: both compare with the eye as it is.
SInt16 VLTextBar::ClassifyEyePoint(const Vector3d& q) const { return ClassifyLookPoint(q); }
