#include "VLCrosshairCursor.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "CWorkingPlaneTool.h"
#include "DETException.h"
#include "Memory.h"
#include "Selection.h"
#include "DrawingPlane.h"
#include "Events.h"
#include "VLUser3DObject.h"

namespace {

PixPatHandle NewColourPattern(UInt16 r, UInt16 g, UInt16 b) {
  PixPatHandle pattern = PortNewPixPat();
  RGBColor colour{r, g, b};
  if (pattern) PortMakeRGBPat(pattern, &colour);
  return pattern;
}

// A copy of the block of the cursor's own; null for null or when memory runs out.
Handle Duplicate(Handle block) {
  if (!block) return nullptr;
  Handle copy = block;
  PortDuplicateHandle(&copy);
  return copy == block ? nullptr : copy;
}

SInt16 PaneCoordinate(double c) { return SInt16(std::trunc(c)); }

void DrawSegment(const Vector3d& a, const Vector3d& b) {
  PortPenMove(PaneCoordinate(a.x), PaneCoordinate(a.y));
  PortPenLine(PaneCoordinate(b.x), PaneCoordinate(b.y));
}

}  // namespace

void VLCrosshairCursor::IVLCrosshairCursor(VLViewTransform* v, VLGWorldOS* w, const Rect* rect, GrafPtr p,
                                           CView* owner) {
  viewTransform = v;
  offscreenWorld = w;
  if (rect) paneRect = *rect;
  panePort = p;
  pane = owner;
  point = {};
  SetCrosshairExtent(25.0);
  snapSpacing = 0.5;
  locateMode = 0;
  forceLocate = forceLocateByPane = anchorSet = shiftSuspended = 0;
  crosshairPattern = NewColourPattern(0, 30000, 65000);
  normalPattern = NewColourPattern(50000, 20000, 50000);
}

void VLCrosshairCursor::Dispose() {
  if (crosshairPattern) PortDisposePixPat(crosshairPattern);
  if (normalPattern) PortDisposePixPat(normalPattern);
  crosshairPattern = normalPattern = nullptr;
  ReleaseFaceFrames();
  CCrosshairLocator::Dispose();
}

Boolean VLCrosshairCursor::SnapToGrid(Vector3d* p) {
  const unsigned mask = (vlui::CurrentModifiers() & optionKey) ? 1u << AxisRole(gAxisZ) : 7u;
  return RoundToGrid(p, snapSpacing, mask);
}

void VLCrosshairCursor::SetCrosshairExtent(double v) {
  const SInt16 h = SInt16(std::fmax(-32000.0, std::fmin(32000.0, v)));
  const SInt16 up = SInt16(std::fmax(-32000.0, std::fmin(32000.0, 2.0 * v)));
  const SInt16 limits[6] = {SInt16(-h), SInt16(-h), 0, h, h, up};
  for (int i = 0; i < 6; ++i) extent[i] = limits[i];
}

Boolean VLCrosshairCursor::SetSnapSpacing(double spacing) {
  if (!(spacing > 0.0) || !std::isfinite(spacing)) return false;
  snapSpacing = spacing;
  return true;
}

void VLCrosshairCursor::BroadcastPoint(const Vector3d* p, Boolean now) {
  Vector3d start = *p;
  if (locateMode == 1) {
    if (const Matrix4d* toFace = FaceFrame(worldToFaceFrames, faceObjectIndex, faceIndex))
      TransformPoint4x4(p, toFace, &start);
  } else if (locateMode == 2 && planeObject) {
    planeObject->WorldToPlane(p, &start);
  }
  NotifyDependents(now ? kStartPointNow : kStartPoint, &start);
}

void VLCrosshairCursor::DrawCrosshair() {
  if (!panePort) return;
  GrafPtr saved;
  PortGetPort(&saved);
  PortSetPort(panePort);
  PortPenNormal();
  if (outlineShown) {
    // The outline stays put, so it is drawn in copy mode.
    for (int e = 0; e < 4; ++e)
      if (outlineEdgeShown[e]) DrawSegment(projected[10 + e], projected[14 + e]);
  }
  if (crosshairPattern) PortPenPixPat(crosshairPattern);
  PortPenMode(patXor);
  // The line along the normal axis: kXLine for x, kYLine for y, kZLine for z.
  static constexpr int kLineAlong[3] = {kXLine, kYLine, kZLine};
  // In face mode the line along the face's y (kept as the x line) takes the second colour.
  const int normalLine = locateMode == 1 ? int(kXLine) : kLineAlong[AxisRole(gAxisZ)];
  for (int line : {kYLine, kXLine, kZLine}) {
    if (!lineShown[line]) continue;
    if (line == normalLine && normalPattern) PortPenPixPat(normalPattern);
    DrawSegment(projected[line], projected[line + 3]);
    if (line == normalLine && crosshairPattern) PortPenPixPat(crosshairPattern);
  }
  if (groundCrossShown)
    for (int arm = 0; arm < 2; ++arm)
      if (groundArmShown[arm]) DrawSegment(projected[6 + 2 * arm], projected[7 + 2 * arm]);
  PortPenNormal();
  PortSetPort(saved);
}

Boolean VLCrosshairCursor::SetLocateMode(SInt16 mode, VLUser3DObject* object, Boolean redraw, Vector3d* p) {
  if (mode == locateMode && (mode != 1 || object == faceObject)) return false;
  locateMode = mode;
  if (mode == 0) {
    faceObject = nullptr;
    ReleaseFaceFrames();
  }
  if (mode == 1) BuildFaceFrames(object);
  if (mode == 2) SetPlaneObject(dynamic_cast<CWorkingPlaneTool*>(object));
  if (!redraw || !panePort) return false;
  GrafPtr saved;
  PortGetPort(&saved);
  PortSetPort(panePort);
  EraseCrosshair();
  skipErase = 1;
  forceLocate = 1;
  Point mouse;
  PortGetMouse(&mouse);
  PortSetPort(saved);
  if (!Locate(mouse, p)) return false;
  DrawCrosshair();
  return true;
}

void VLCrosshairCursor::ReleaseFaceFrames() {
  for (Handle block : worldToFaceFrames) PortFreeHandle(block);
  for (Handle block : faceToWorldFrames) PortFreeHandle(block);
  worldToFaceFrames.clear();
  faceToWorldFrames.clear();
}

void VLCrosshairCursor::BuildFaceFrames(VLUser3DObject* object) {
  forceLocate = 1;
  locateMode = 1;
  currentFaceIndex = -1;
  ReleaseFaceFrames();
  faceObject = object;
  VLArray* selection = gCurrentSelection;
  for (long n = 1; selection && n <= selection->GetNumItems(); ++n) {
    auto* selected = static_cast<VLUser3DObject*>(selection->PointerAt(n));
    Handle toFrames = nullptr, fromFrames = nullptr;
    if (selected) selected->BuildFaceFrames(viewTransform, &toFrames, &fromFrames);
    worldToFaceFrames.push_back(toFrames);
    faceToWorldFrames.push_back(fromFrames);
  }
}

void VLCrosshairCursor::SetPlaneObject(CWorkingPlaneTool* object) {
  planeObject = object;
  forceLocate = 1;
  locateMode = 2;
  NotifyDependents(kPlaneEntered, nullptr);
}

void VLCrosshairCursor::CopyStateTo(VLCrosshairCursor* other) const {
  other->ReleaseFaceFrames();
  other->viewTransform = viewTransform;
  other->forceLocate = forceLocate;
  other->forceLocateByPane = forceLocateByPane;
  other->anchorSet = anchorSet;
  other->shiftSuspended = shiftSuspended;
  other->anchor = anchor;
  other->faceAnchor = faceAnchor;
  std::copy(std::begin(extent), std::end(extent), other->extent);
  other->snapSpacing = snapSpacing;
  other->locateMode = locateMode;
  other->faceObject = faceObject;
  other->lockedFaceObject = lockedFaceObject;
  other->planeObject = planeObject;
  other->faceIndex = faceIndex;
  other->currentFaceIndex = currentFaceIndex;
  other->lockedFaceIndex = lockedFaceIndex;
  other->faceObjectIndex = faceObjectIndex;
  std::copy(std::begin(crosshairPoints), std::end(crosshairPoints), other->crosshairPoints);
  std::copy(std::begin(outline), std::end(outline), other->outline);
  std::copy(std::begin(projected), std::end(projected), other->projected);
  std::copy(std::begin(lineShown), std::end(lineShown), other->lineShown);
  std::copy(std::begin(groundArmShown), std::end(groundArmShown), other->groundArmShown);
  std::copy(std::begin(outlineEdgeShown), std::end(outlineEdgeShown), other->outlineEdgeShown);
  other->groundCrossShown = groundCrossShown;
  other->outlineShown = outlineShown;
  other->rayOrigin = rayOrigin;
  other->rayVector = rayVector;
  other->lastPanePoint = lastPanePoint;
  other->point = point;
  for (std::size_t n = 0; n < worldToFaceFrames.size(); ++n) {
    Handle to = Duplicate(worldToFaceFrames[n]), from = Duplicate(faceToWorldFrames[n]);
    other->worldToFaceFrames.push_back(to);
    other->faceToWorldFrames.push_back(from);
    if ((worldToFaceFrames[n] && !to) || (faceToWorldFrames[n] && !from)) {
      other->ReleaseFaceFrames();
      return;
    }
  }
}

SInt16 VLCrosshairCursor::GetFaceOutline(Vector3d corners[4]) const {
  for (int c = 0; c < 4; ++c) corners[c] = faceOutlineInModel[c];
  return lockedFaceIndex;
}

void VLCrosshairCursor::SetAnchor(const Vector3d* p) {
  anchor = *p;
  if (locateMode == 2 && planeObject) planeObject->WorldToPlane(p, &anchor);
}
