// The chain of blocks (drawing tool 6): the first press drags a block, every later press adds
// the next block of the wall toward the point, joined to the last one, and a double click ends
// the chain. No task: each press drops the undoable step.
#include <cmath>
#include <new>

#include "CWorkingPlaneTool.h"
#include "DialogUtilities.h"
#include "DrawingPlane.h"
#include "Events.h"
#include "QuickDraw.h"
#include "TaskSupport.h"
#include "Unwinding.h"
#include "VLCrosshairCursor.h"
#include "VLCube.h"
#include "VLDocument.h"
#include "VLUser3DObject.h"
#include "VLViewPane.h"
#include "ViewDrawingFlags.h"

namespace {

constexpr SInt16 kEmptyRectEdge = -9999;

double& Along(Vector3d& p, SInt16 axis) { return axis == 0 ? p.x : axis == 1 ? p.y : p.z; }

}  // namespace

VLCube* (*gNewChainBlock)() = [] () -> VLCube* {
  Owned<VLCube> block(new (std::nothrow) VLCube);
  if (!block || !block->InitStorage()) return nullptr;
  return block.release();
};

Boolean VLViewPane::IsDoubleClick(Point hitPt, UInt32 when) {
  // The press's own release goes first, so that the wait looks at the next click only.
  while (PortWaitMouseUp()) {
  }
  // The second press arrives in screen coordinates.
  PrepareDrawingPort();
  Point global = hitPt;
  PortLocalToGlobal(&global);
  return WaitForDoubleClick(when, global, nullptr);
}

void VLViewPane::DrawBlockChain(Point hitPt, UInt32 when) {
  const bool ran = document->GetDrawingInProgress() ? ContinueBlockChain(hitPt, when) : StartBlockChain(hitPt);
  // A block that cannot be made ends the press with nothing changed.
  if (!ran) return;
  document->Notify(nullptr);
  if (shadowMode)
    LeaveShadowMode();
  else
    Refresh();
}

double VLViewPane::HeightInDrawingPlane(const Vector3d& p) const {
  Vector3d q = p;
  if (CWorkingPlaneTool* plane = WorkingPlaneInUse()) plane->WorldToPlane(&p, &q);
  return Along(q, gAxisZ);
}

void VLViewPane::AppendChainBlock(VLCube* block) {
  VLArray* objects = document->GetObjectList();
  objects->AppendPointer(block);
  gObjectCount = SInt32(objects->GetNumItems());
  if (document->GetObjectHolder()) document->GetObjectHolder()->objectCount = gObjectCount;
  lastChainBlock = block;
}

Boolean VLViewPane::StartBlockChain(Point hitPt) {
  VLCube* block = gNewChainBlock();
  if (!block) return false;
  document->SetDrawingInProgress(1);
  VLArray* objects = document->GetObjectList();
  for (long i = objects->GetNumItems(); i >= 1; --i)
    if (auto* object = static_cast<VLUser3DObject*>(objects->PointerAt(i)); object && object->selected) object->Deselect();
  AppendChainBlock(block);
  chainHasContinuation = 0;

  PrepareDrawingPort();
  lastUpdate.left = kEmptyRectEdge;
  Vector3d p = currentPoint;
  crosshair->Locate(hitPt, &p);
  PlaceCrosshair(p, true);
  chainStartHeight = HeightInDrawingPlane(currentPoint);
  block->BuildGeometry(viewTransform, 0, &currentPoint, -1, this);
  Refresh();
  crosshair->DrawCrosshair();

  gTrackingDrawing = 1;
  while (PortStillDown()) {
    PrepareDrawingPort();
    Point mouse;
    PortGetMouse(&mouse);
    Vector3d located = currentPoint;
    if (!crosshair->Locate(mouse, &located)) continue;
    currentPoint = located;
    block->BuildGeometry(viewTransform, 1, &currentPoint, -1, this);
    Refresh();
    crosshair->DrawCrosshair();
  }
  gTrackingDrawing = 0;
  // With vertex snapping the corner goes onto another object's vertex near the release.
  Vector3d snapped;
  VLUser3DObject* snappedTo = nullptr;
  if (gSnapToVertices && FindSnapPoint(currentPoint, &snapped, &snappedTo, block)) {
    PlaceCrosshair(snapped, true);
    block->BuildGeometry(viewTransform, 1, &currentPoint, -1, this);
    Refresh();
  }
  chainGrowsUp = chainStartHeight <= HeightInDrawingPlane(currentPoint);

  double lo[3], hi[3];
  block->GetBounds(&lo[0], &lo[1], &lo[2], &hi[0], &hi[1], &hi[2]);
  if (lo[0] == hi[0] && lo[1] == hi[1] && lo[2] == hi[2]) {
    // A press without a drag draws nothing: the chain does not start.
    document->SetDrawingInProgress(0);
    block->Deselect();
    objects->DeleteItem(objects->GetNumItems());
    gObjectCount = SInt32(objects->GetNumItems());
    if (document->GetObjectHolder()) document->GetObjectHolder()->objectCount = gObjectCount;
    block->Dispose();
    lastChainBlock = nullptr;
    return true;
  }
  crosshair->SetAnchor(&currentPoint);
  block->MarkChanged();
  document->ExtendModelBounds(block);
  PlaceCrosshair(currentPoint, false);
  return true;
}

Boolean VLViewPane::ContinueBlockChain(Point hitPt, UInt32 when) {
  const bool doubleClick = IsDoubleClick(hitPt, when);
  // The crosshair follows the mouse to the press.
  Vector3d p = currentPoint;
  crosshair->Locate(hitPt, &p);
  Vector3d snapped;
  VLUser3DObject* snappedTo = nullptr;
  if (gSnapToVertices && FindSnapPoint(p, &snapped, &snappedTo, nullptr)) p = snapped;
  // The chain stays on its side of the height it started at.
  if (CWorkingPlaneTool* plane = WorkingPlaneInUse()) {
    Vector3d q;
    plane->WorldToPlane(&p, &q);
    double& height = Along(q, gAxisZ);
    height = chainGrowsUp ? std::fmax(height, chainStartHeight) : std::fmin(height, chainStartHeight);
    plane->PlaneToWorld(&q, &p);
  } else {
    double& height = Along(p, gAxisZ);
    height = chainGrowsUp ? std::fmax(height, chainStartHeight) : std::fmin(height, chainStartHeight);
  }
  PrepareDrawingPort();
  PlaceCrosshair(p, true);

  auto* last = static_cast<VLCube*>(lastChainBlock);
  VLCube* next = nullptr;
  if (last && chainHasContinuation) {
    next = last->ContinueWall(&currentPoint, chainEdge, chainGrowsUp);
  } else if (last) {
    SInt16 edge = 0;
    next = last->ContinueWallFromNearestEnd(&currentPoint, &edge, chainGrowsUp);
    if (next) {
      chainEdge = edge;
      chainHasContinuation = 1;
    }
  }
  if (next) {
    crosshair->SetAnchor(&currentPoint);
    next->MarkChanged();
    AppendChainBlock(next);
    document->ExtendModelBounds(next);
  }
  if (doubleClick) {
    document->SetDrawingInProgress(0);
    lastChainBlock = nullptr;
    chainHasContinuation = 0;
    ReturnToSelectTool();
  }
  return true;
}
