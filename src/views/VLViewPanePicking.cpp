// What the user points at in the pane: the object under a click (with repeated clicks reaching
// further back), the objects in a dragged rectangle, the model point under the mouse, the
// crosshair's placement, and the alignment of the selection.
#include <algorithm>
#include <cmath>
#include <new>

#include "CAlignObjectsTask.h"
#include "CWorkingPlaneTool.h"
#include "DETException.h"
#include "DrawingPlane.h"
#include "Events.h"
#include "QuickDraw.h"
#include "Unwinding.h"
#include "VLCrosshairCursor.h"
#include "VLDocument.h"
#include "VLDocumentViews.h"
#include "VLGWorld.h"
#include "VLUser3DObject.h"
#include "VLViewPane.h"
#include "VLViewTransform.h"

Point gLastClickPoint{};

namespace {

constexpr SInt16 kCycleSlop = 3;
constexpr double kFarthestPick = 10000.0;
constexpr double kDepthStep = 0.0001;
// Unset corners, distances and bounds.
constexpr double kUnset = 105600.0;
constexpr SInt16 kFaceSelectionTool = 5;
constexpr SInt16 kOpeningGroup = 5;

VLUser3DObject* ObjectAt(VLArray* list, long i) { return static_cast<VLUser3DObject*>(list->PointerAt(i)); }

// The rectangle between two pane points, left <= right and top <= bottom.
Rect Between(Point a, Point b) {
  return Rect{std::min(a.v, b.v), std::min(a.h, b.h), std::max(a.v, b.v), std::max(a.h, b.h)};
}

}  // namespace

// ---- Click selection ----

Boolean VLViewPane::SelectAtPoint(Point point, UInt16 modifiers, VLUser3DObject** picked) {
  *picked = nullptr;
  VLArray* objects = document ? document->GetObjectList() : nullptr;
  VLArray* selection = document ? document->GetSelectionList() : nullptr;
  if (!objects || !selection) return false;
  const bool shift = (modifiers & shiftKey) != 0;

  // A click where the last one was passes over the object picked then.
  if (selection->GetNumItems() > 0 && std::abs(point.h - gLastClickPoint.h) <= kCycleSlop &&
      std::abs(point.v - gLastClickPoint.v) <= kCycleSlop)
    point = gLastClickPoint;
  else
    lastPickDepth = -1.0;

  Vector3d origin, direction;
  viewTransform->GetPickRay(&origin, &direction, point);
  double best = kFarthestPick;
  VLUser3DObject* hit = nullptr;
  SInt16 hitFace = -1;
  bool refreshed = false;
  for (long i = 1; i <= objects->GetNumItems(); ++i) {
    VLUser3DObject* object = ObjectAt(objects, i);
    if (!object) continue;
    if (!shift && object->selected) {
      object->Deselect();
      if (!refreshed) document->InvalidateOtherViews();
      refreshed = true;
    }
    const double before = best;
    SInt16 face = -1;
    if (object->PickFace(point, &origin, &direction, &best, &face)) {
      if (best > lastPickDepth + kDepthStep) {
        hit = object;
        hitFace = face;
      } else {
        best = before;
      }
    }
  }
  lastPickDepth = best;
  gLastClickPoint = point;
  if (!hit) return false;

  const bool faceSelection = document->GetGroupTool(kOpeningGroup) == kFaceSelectionTool;
  if (faceSelection && hitFace >= 0) {
    bool toggled = false;
    for (long i = 1; shift && i <= selection->GetNumItems(); ++i) {
      VLUser3DObject* entry = ObjectAt(selection, i);
      if (entry == hit) {
        if (hit->HasCurrentFace() && hit->currentFace == hitFace) {
          hit->ToggleSelection();
          toggled = true;
          break;
        }
      } else if (entry && entry->HasCurrentFace()) {
        Reselect(entry);
        break;
      }
    }
    if (!toggled) hit->SelectFace(hitFace);
  } else if (faceSelection) {
    for (long i = 1; shift && i <= selection->GetNumItems(); ++i)
      if (VLUser3DObject* entry = ObjectAt(selection, i); entry && entry->HasCurrentFace()) {
        Reselect(entry);
        break;
      }
    hit->SelectHit(&origin, &direction, best, hitFace);
  } else if (shift) {
    if (selection->GetNumItems() == 1)
      if (VLUser3DObject* only = ObjectAt(selection, 1); only && only->currentOpening >= 0) Reselect(only);
    hit->ToggleSelection();
  } else {
    hit->SelectHit(&origin, &direction, best, hitFace);
  }
  if (!refreshed) document->InvalidateOtherViews();
  *picked = hit;
  return true;
}

Boolean VLViewPane::HitsSelection(Point point) {
  VLArray* selection = document ? document->GetSelectionList() : nullptr;
  if (!selection || selection->GetNumItems() == 0) return false;
  Vector3d origin, direction;
  viewTransform->GetPickRay(&origin, &direction, point);
  double depth = kUnset;
  for (long i = 1; i <= selection->GetNumItems(); ++i) {
    SInt16 face = -1;
    if (VLUser3DObject* object = ObjectAt(selection, i); object && object->PickFace(point, &origin, &direction, &depth, &face))
      return true;
  }
  return false;
}

// ---- Rubber band ----

void VLViewPane::SelectByRectangle(Point start, UInt16 modifiers, UInt32) {
  VLArray* objects = document ? document->GetObjectList() : nullptr;
  VLArray* selection = document ? document->GetSelectionList() : nullptr;
  if (!objects || !selection) return;
  EraseFeedback();
  Rect band{0, 0, 0, 0};
  Point last = start;
  bool framed = false;
  PortPenPattern(&qd.dkGray);
  while (PortStillDown()) {
    Prepare();
    Point mouse;
    PortGetMouse(&mouse);
    if (framed && mouse.h == last.h && mouse.v == last.v) continue;
    if (framed) offscreen->CopyRectToCurrentPort(&band);
    last = mouse;
    band = Between(start, mouse);
    // A frame needs a pixel inside its edges.
    Rect frame{band.top, band.left, SInt16(band.bottom + 1), SInt16(band.right + 1)};
    PortFrameRect(&frame);
    band = frame;
    framed = true;
  }
  PortPenNormal();

  const Rect chosen = framed ? band : Between(start, start);
  if (!(modifiers & shiftKey) && selection->GetNumItems() > 0) {
    for (long i = 1; i <= objects->GetNumItems(); ++i)
      if (VLUser3DObject* object = ObjectAt(objects, i); object && object->selected) object->Deselect();
    document->InvalidateOtherViews();
  }
  const long before = selection->GetNumItems();
  for (long i = 1; i <= objects->GetNumItems(); ++i)
    if (VLUser3DObject* object = ObjectAt(objects, i); object && object->HitScreenBounds(&chosen)) object->Select();
  if (selection->GetNumItems() != before) document->InvalidateOtherViews();
  CopyOffscreenToWindow();
}

// ---- Locating and the crosshair ----

Boolean VLViewPane::LocatePoint(Point mouse, Vector3d* point, Boolean snapToObjects, VLUser3DObject* exclude,
                                Boolean includeExcluded) {
  if (!crosshair) return false;
  Vector3d located = currentPoint;
  Boolean changed = crosshair->Locate(mouse, &located);
  *point = located;
  VLArray* objects = document ? document->GetObjectList() : nullptr;
  if (snapToObjects && objects) {
    Vector3d nearest{-kUnset, -kUnset, -kUnset};
    double distance = kUnset;
    Boolean candidate = false, exact = false;
    const double tolerance = SnapDistance();
    for (long i = 1; i <= objects->GetNumItems() && !exact; ++i) {
      VLUser3DObject* object = ObjectAt(objects, i);
      if (!object || (object == exclude && !includeExcluded)) continue;
      Boolean found = false;
      // A point already on a vertex stays where it is.
      exact = object->SnapToVertex(&located, &nearest, &distance, &found, tolerance);
      candidate = candidate || found;
    }
    if (candidate && !exact) {
      *point = nearest;
      if (std::fabs(located.x - currentPoint.x) > kDepthStep || std::fabs(located.y - currentPoint.y) > kDepthStep ||
          std::fabs(located.z - currentPoint.z) > kDepthStep)
        changed = true;
    }
  }
  // The crosshair keeps its own location, so that snapping never drifts it.
  currentPoint = located;
  return changed;
}

CWorkingPlaneTool* VLViewPane::WorkingPlaneInUse() const {
  CWorkingPlaneTool* plane = document && document->GetViews() ? document->GetViews()->GetWorkingPlaneTool() : nullptr;
  return gWorkingPlaneOn && plane ? plane : nullptr;
}

void VLViewPane::SetCrosshairPoint(double x, double y, double z, Boolean draw) {
  CWorkingPlaneTool* plane = WorkingPlaneInUse();
  const Vector3d given{x, y, z};
  Vector3d p = given;
  // On the working plane the coordinates given are the plane's.
  if (plane) plane->PlaneToWorld(&given, &p);
  PlaceCrosshair(p, draw);
}

void VLViewPane::StepCrosshairHeight(SInt16 amount, Boolean additive, Vector3d* point) {
  CWorkingPlaneTool* plane = crosshair && crosshair->locateMode == 2 ? WorkingPlaneInUse() : nullptr;
  Vector3d p = currentPoint;
  if (plane) plane->WorldToPlane(&currentPoint, &p);
  double* axis = gAxisZ == 0 ? &p.x : gAxisZ == 1 ? &p.y : &p.z;
  *axis = additive ? *axis + amount : double(amount);
  Vector3d model = p;
  if (plane) plane->PlaneToWorld(&p, &model);
  PlaceCrosshair(model, true);
  *point = model;
}

// ---- Alignment ----

void VLViewPane::AlignSelection(SInt16 mode) {
  if (!document) return;
  Owned<CAlignObjectsTask> task(new (std::nothrow) CAlignObjectsTask);
  if (!task) ThrowError(kDEErrorNotEnoughMemory, Str255("VLViewPane::AlignSelection"));
  task->IAlignObjectsTask();
  document->Notify(task.release());

  VLArray* selection = document->GetSelectionList();
  double box[6] = {kUnset, kUnset, kUnset, -kUnset, -kUnset, -kUnset};
  for (long i = 1; i <= selection->GetNumItems(); ++i) {
    double own[6];
    ObjectAt(selection, i)->GetBounds(&own[0], &own[1], &own[2], &own[3], &own[4], &own[5]);
    for (int k = 0; k < 3; ++k) {
      box[k] = std::min(box[k], own[k]);
      box[k + 3] = std::max(box[k + 3], own[k + 3]);
    }
  }
  // The objects move in the object list's order: the selection list changes as the undo copies
  // come and go, the object list's places do not.
  VLArray* objects = document->GetObjectList();
  for (long i = 1; i <= objects->GetNumItems(); ++i) {
    VLUser3DObject* object = ObjectAt(objects, i);
    if (!object || !object->selected) continue;
    double own[6];
    object->GetBounds(&own[0], &own[1], &own[2], &own[3], &own[4], &own[5]);
    Vector3d t{};
    switch (mode) {
      case 0: t.z = box[5] - own[5]; break;
      case 1: t.z = box[2] - own[2]; break;
      case 2: t.y = box[1] - own[1]; break;
      case 3: t.y = box[4] - own[4]; break;
      case 4: t.x = box[3] - own[3]; break;
      case 5: t.x = box[0] - own[0]; break;
      case 6: t.z = (box[2] + box[5]) / 2 - (own[2] + own[5]) / 2; break;
      default: break;
    }
    object->Move(&t);
  }
  Refresh();
}
