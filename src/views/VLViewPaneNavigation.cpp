// The pane's side of navigation: the orbit angles it keeps beside the camera, the view switches
// with their drawing planes, the model and saved views, the orbit drag and the key steps.
#include <cmath>

#include "CPreferences.h"
#include "CRayTracer.h"
#include "CWorkingPlaneTool.h"
#include "Cursors.h"
#include "Events.h"
#include "VLCrosshairCursor.h"
#include "VLDocument.h"
#include "VLDocumentViews.h"
#include "VLViewPane.h"
#include "ViewConventions.h"
#include "ViewDrawingFlags.h"
#include "core/VLViewTransform.h"

namespace {

// A navigation drag redraws in wireframe, interactively; the display modes come back when the
// drag ends.
class WireframeWhileDragging {
 public:
  WireframeWhileDragging() : shaded(gShadedMode), hidden(gHiddenLineMode), shadow(gShadowMode) {
    gShadedMode = gHiddenLineMode = gShadowMode = 0;
    gInteractiveDrawing = 1;
  }
  ~WireframeWhileDragging() {
    gShadedMode = shaded;
    gHiddenLineMode = hidden;
    gShadowMode = shadow;
    gInteractiveDrawing = 0;
  }
  WireframeWhileDragging(const WireframeWhileDragging&) = delete;
  WireframeWhileDragging& operator=(const WireframeWhileDragging&) = delete;

 private:
  const UInt8 shaded, hidden, shadow;
};

constexpr double kDegreesPerRadian = 57.29577951;
constexpr double kRadiansPerDegree = 0.017453292;
constexpr double kLowestAltitude = 1.0, kHighestAltitude = 179.0;
constexpr SInt16 kOrbitCursor = 135, kLookAroundCursor = 136;
constexpr double kHorizontalTolerance = 1e-5;
enum : SInt16 { kViewToolGroup = 2, kPlaneGroup = 3, kAxonometricPlaneGroup = 4, kWorkingPlaneGroup = 6,
                kSectionPlaneGroup = 7 };
enum : SInt16 { kGroundPlane = 0, kYZPlane = 1, kZXPlane = 2, kWorkingPlane = 3 };

bool IsElevationCommand(SInt16 command) { return command >= kCmdNorthElevation && command <= kCmdWestElevation; }

double HeldAltitude(double altitude) { return std::fmax(kLowestAltitude, std::fmin(kHighestAltitude, altitude)); }

}  // namespace

void VLViewPane::SyncOrbitAngles() {
  Vector3d eye;
  viewTransform->GetEyePoint(&eye);
  const Vector3d& look = viewTransform->lookPoint;
  const double dx = eye.x - look.x, dy = eye.y - look.y, dz = eye.z - look.z;
  const double distance = std::sqrt(dx * dx + dy * dy + dz * dz);
  eyeAltitude = distance > 0.0 ? std::acos(std::fmax(-1.0, std::fmin(1.0, dz / distance))) * kDegreesPerRadian : 0.0;
  // Straight above or below the look point the azimuth has no value: the plan view's 0 serves.
  if (dx == 0.0 && dy == 0.0)
    eyeAzimuth = 0.0;
  else if (dy == 0.0)
    eyeAzimuth = dx > 0.0 ? 90.0 : -90.0;
  else
    eyeAzimuth = std::atan(dx / dy) * kDegreesPerRadian + (dy < 0.0 ? 180.0 : 0.0);
  lookAltitude = eyeAltitude;
  lookAzimuth = eyeAzimuth - 180.0;
}

Boolean VLViewPane::OrbitBy(SInt16 dh, SInt16 dv) {
  const double lastAltitude = eyeAltitude, lastAzimuth = eyeAzimuth;
  eyeAltitude = std::fmax(kLowestAltitude, std::fmin(kHighestAltitude, eyeAltitude + dv * rotateStep));
  eyeAzimuth += dh * rotateStep;
  if (eyeAltitude == lastAltitude && eyeAzimuth == lastAzimuth) return false;
  if (!viewTransform->OrbitEye(eyeAltitude * kRadiansPerDegree, eyeAzimuth * kRadiansPerDegree)) {
    // Below the ground: keep the height, turn only.
    eyeAltitude = lastAltitude;
    viewTransform->OrbitEye(eyeAltitude * kRadiansPerDegree, eyeAzimuth * kRadiansPerDegree);
  }
  lookAltitude = eyeAltitude;
  lookAzimuth = eyeAzimuth - 180.0;
  return true;
}

// ---- View switches ----

UInt8 VLViewPane::RestoreRememberedView() const {
  CPreferences* preferences = document ? document->GetPreferences() : nullptr;
  return preferences && preferences->GetPerspLinkedWithAxon() != 0 ? 0 : 1;
}

bool VLViewPane::WorkingPlaneIsHorizontal() const {
  CWorkingPlaneTool* plane = document && document->GetViews() ? document->GetViews()->GetWorkingPlaneTool() : nullptr;
  if (!plane) return false;
  double equation[4] = {};
  plane->GetPlaneEquation(equation);
  return std::fabs(equation[0]) < kHorizontalTolerance && std::fabs(equation[1]) < kHorizontalTolerance &&
         equation[2] != 0.0;
}

void VLViewPane::PlaceCrosshair(const Vector3d& p, bool draw) {
  currentPoint = p;
  if (!crosshair) return;
  if (draw) {
    PrepareDrawingPort();
    crosshair->SetPosition(p.x, p.y, p.z);
  } else {
    crosshair->MoveTo(p.x, p.y, p.z);
  }
}

void VLViewPane::SyncDrawingPlane() {
  if (!document) return;
  switch (viewToolCommand) {
    case kPerspectiveCommand:
    case kAxonometricCommand:
      SelectDrawingPlane(document->GetGroupTool(kAxonometricPlaneGroup));
      break;
    case kPlanCommand:
      SelectDrawingPlane(document->GetWorkingPlaneInUse() && WorkingPlaneIsHorizontal() ? kWorkingPlane : kGroundPlane);
      break;
    case kCmdNorthElevation:
    case kCmdSouthElevation:
      SelectDrawingPlane(kZXPlane);
      break;
    case kCmdEastElevation:
    case kCmdWestElevation:
      SelectDrawingPlane(kYZPlane);
      break;
    default:
      break;
  }
}

void VLViewPane::SetPerspectiveView(UInt8 keepCrosshair) {
  if (perspectiveActive) return;
  const bool fromElevation = IsElevationCommand(viewToolCommand);
  viewToolCommand = kPerspectiveCommand;
  const UInt8 restore = RestoreRememberedView();
  SyncDrawingPlane();
  viewTransform->SwitchToPerspective(restore);
  SyncOrbitAngles();
  perspectiveActive = 1;
  if (fromElevation && keepCrosshair) PlaceCrosshair({currentPoint.x, currentPoint.y, 0.0}, true);
}

void VLViewPane::SetAxonometricView() {
  const UInt8 restore = RestoreRememberedView();
  viewToolCommand = kAxonometricCommand;
  SyncDrawingPlane();
  viewTransform->SwitchToAxonometric(restore);
  SyncOrbitAngles();
  perspectiveActive = 0;
}

void VLViewPane::SetPlanView() {
  if (document && (document->GetToolGroup() == kWorkingPlaneGroup || document->GetToolGroup() == kSectionPlaneGroup)) {
    SetToolGroup(0);
    SelectEditTool(0);
  }
  viewToolCommand = kPlanCommand;
  SyncDrawingPlane();
  PlaceCrosshair({0.0, 0.0, 0.0}, false);
  viewTransform->UpdateForViewKind();
  eyeAltitude = eyeAzimuth = lookAltitude = 0.0;
  lookAzimuth = -180.0;
  perspectiveActive = 0;
}

void VLViewPane::SetElevationView(SInt16 command) {
  if (document) document->RecomputeModelBounds();
  if (document && (document->GetToolGroup() == kWorkingPlaneGroup || document->GetToolGroup() == kSectionPlaneGroup)) {
    SetToolGroup(0);
    SelectEditTool(0);
  }
  if (IsElevationCommand(command)) viewToolCommand = command;
  SyncDrawingPlane();
  PlaceCrosshair({0.0, 0.0, 0.0}, false);
  viewTransform->SetElevationView(command);
  SyncOrbitAngles();
  perspectiveActive = 0;
}

// ---- Model and saved views ----

void VLViewPane::ResetViewToModel() {
  if (!document) return;
  const double* box = document->GetModelBox();
  const Vector3d min{box[0], box[1], box[2]}, max{box[3], box[4], box[5]};
  viewTransform->InitViewsForBox(&min, &max);
  if (rayTracer)
    viewTransform->SetLightDirection(rayTracer->sunDirection.x, rayTracer->sunDirection.y, rayTracer->sunDirection.z);
  SyncOrbitAngles();
}

void VLViewPane::LookAtModel() {
  if (!document) return;
  const double* box = document->GetModelBox();
  const Vector3d min{box[0], box[1], box[2]}, max{box[3], box[4], box[5]};
  viewTransform->LookAtBox(&min, &max);
}

void VLViewPane::FitViewToModel() {
  if (!document) return;
  const double* box = document->GetModelBox();
  const Vector3d min{box[0], box[1], box[2]}, max{box[3], box[4], box[5]};
  viewTransform->FitBox(&min, &max);
}

void VLViewPane::RestoreSavedView(CViewInfo* record) {
  // The sketch layer is drawn over one view only.
  sketchShown = 0;
  viewTransform->RestoreView(record);
  SyncOrbitAngles();
}

void VLViewPane::SaveCurrentView(CViewInfo* record) { viewTransform->SaveView(record); }

// ---- The orbit tool and the key steps ----

void VLViewPane::FinishNavigation() {
  MarkObjectsChanged();
  showingSavedView = 0;
  if (viewToolCommand == kPlanCommand || IsElevationCommand(viewToolCommand)) {
    viewToolCommand = kAxonometricCommand;
    SyncDrawingPlane();
  }
  Refresh();
}

double VLViewPane::HeldPolarAngle(double polar) {
  if (polar < -180.0) polar += 180.0;
  if (polar > 180.0) polar -= 180.0;
  if (polar > 179.9 && polar <= 180.0) return 179.9;
  if (polar >= 0.0 && polar < 0.1) return 0.1;
  if (polar > -0.1 && polar <= 0.0) return -0.1;
  if (polar > -180.0 && polar <= -179.9) return -179.9;
  return polar;
}

void VLViewPane::LookAround(Point hit, UInt16 modifiers, UInt32) {
  bool changed = false;
  if (modifiers & cmdKey) {
    if (currentPoint.z < 0.0) return;
    Vector3d look = currentPoint;
    viewTransform->SetLookPoint(&look);
    SyncOrbitAngles();
    PlaceCrosshair(look, false);
    changed = true;
  } else {
    if (CursHandle cursor = PortGetCursor(kLookAroundCursor)) PortSetCursor(*cursor);
    double lastPolar = lookAltitude, lastAzimuth = lookAzimuth, lastStep = 0.0;
    const WireframeWhileDragging wireframe;
    Point previous = hit;
    while (PortStillDown()) {
      EventRecord event{};
      PortEventAvail(everyEvent, &event);
      PrepareDrawingPort();
      Point mouse;
      PortGetMouse(&mouse);
      const SInt16 dh = SInt16(mouse.h - previous.h), dv = SInt16(mouse.v - previous.v);
      if ((event.modifiers & optionKey) && viewTransform->perspective) {
        const double step = dv * moveStep;
        if (step != lastStep) {
          changed = true;
          const Boolean moved = viewTransform->MoveLookPoint(step);
          Refresh();
          if (moved) lastStep = step;
        }
      } else {
        const double polar = dv ? HeldPolarAngle(lookAltitude - dv * rotateStep) : lastPolar;
        const double azimuth = dh ? lookAzimuth - dh * rotateStep : lastAzimuth;
        if (polar != lastPolar || azimuth != lastAzimuth) {
          if (!changed && viewTransform->viewKind >= kPlanView && viewTransform->viewKind <= kWestElevationView)
            viewTransform->SetAxonometric();
          changed = true;
          lookAltitude = polar;
          lookAzimuth = azimuth;
          if (!viewTransform->TurnLook(lookAltitude * kRadiansPerDegree, lookAzimuth * kRadiansPerDegree)) {
            lookAltitude = lastPolar;
            viewTransform->TurnLook(lookAltitude * kRadiansPerDegree, lookAzimuth * kRadiansPerDegree);
          }
          lastPolar = lookAltitude;
          lastAzimuth = lookAzimuth;
          eyeAltitude = lookAltitude;
          eyeAzimuth = lookAzimuth + 180.0;
          Refresh();
        }
      }
      previous = mouse;
    }
  }
  if (changed) FinishNavigation();
}

void VLViewPane::OrbitDrag(Point hit, UInt16 modifiers, UInt32) {
  bool changed = false;
  if (modifiers & cmdKey) {
    // The eye jumps to the crosshair, unless that lies below the ground.
    if (currentPoint.z >= 0.0) {
      Vector3d eye = currentPoint;
      viewTransform->SetEyePoint(&eye);
      SyncOrbitAngles();
      PlaceCrosshair(currentPoint, false);
      changed = true;
    }
  } else {
    if (CursHandle cursor = PortGetCursor(kOrbitCursor)) PortSetCursor(*cursor);
    const WireframeWhileDragging wireframe;
    Point previous = hit;
    while (PortStillDown()) {
      EventRecord event{};
      PortEventAvail(everyEvent, &event);
      PrepareDrawingPort();
      Point mouse;
      PortGetMouse(&mouse);
      if (mouse.h == previous.h && mouse.v == previous.v) continue;
      if (!changed) {
        changed = true;
        if (viewTransform->viewKind >= kPlanView && viewTransform->viewKind <= kWestElevationView)
          viewTransform->SetAxonometric();
      }
      const SInt16 dh = SInt16(mouse.h - previous.h), dv = SInt16(mouse.v - previous.v);
      if ((event.modifiers & optionKey) && viewTransform->perspective) {
        viewTransform->MoveEye(dv * moveStep);
        Refresh();
      } else if (OrbitBy(dh, dv)) {
        Refresh();
      }
      previous = mouse;
    }
  }
  gInteractiveDrawing = 0;
  if (changed) {
    FinishNavigation();
  } else {
    MarkObjectsChanged();
    Refresh();
  }
}

Boolean VLViewPane::NavigateByKey(UInt16 axis, UInt8 direction) {
  if (CursHandle watch = PortGetCursor(watchCursor)) PortSetCursor(*watch);
  if (!document || document->GetToolGroup() != kViewToolGroup) return false;
  const SInt16 tool = document->GetGroupTool(kViewToolGroup);
  if (tool != 0 && tool != 1) return false;
  const double sign = direction ? 1.0 : -1.0;
  Boolean moved = false;
  if (axis == 2) {
    // Walking along the line of sight means something only in perspective.
    if (!viewTransform->perspective) return true;
    const double toward = direction ? -1.0 : 1.0;
    auto walk = [&](double s) { return tool == 0 ? viewTransform->MoveEye(s) : viewTransform->MoveLookPoint(s); };
    moved = walk(toward * moveFactor) || walk(toward * moveStep);
  } else if (tool == 0) {
    const double altitudeBefore = eyeAltitude;
    if (axis == 0)
      eyeAzimuth += sign * rotateFactor;
    else
      eyeAltitude = HeldAltitude(eyeAltitude + sign * rotateFactor);
    moved = viewTransform->OrbitEye(eyeAltitude * kRadiansPerDegree, eyeAzimuth * kRadiansPerDegree);
    if (!moved) {
      eyeAltitude = altitudeBefore;
      moved = viewTransform->OrbitEye(eyeAltitude * kRadiansPerDegree, eyeAzimuth * kRadiansPerDegree);
    }
    lookAltitude = eyeAltitude;
    lookAzimuth = eyeAzimuth - 180.0;
  } else {
    if (axis == 0)
      lookAzimuth -= sign * rotateFactor;
    else
      lookAltitude = HeldAltitude(lookAltitude - sign * rotateFactor);
    moved = viewTransform->TurnLook(lookAltitude * kRadiansPerDegree, lookAzimuth * kRadiansPerDegree);
    eyeAltitude = lookAltitude;
    eyeAzimuth = lookAzimuth + 180.0;
  }
  if (moved) {
    if (viewToolCommand == kPlanCommand || IsElevationCommand(viewToolCommand)) viewTransform->SetAxonometric();
    FinishNavigation();
  }
  return true;
}
