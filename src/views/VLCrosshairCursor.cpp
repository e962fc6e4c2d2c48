#include "VLCrosshairCursor.h"

#include <cmath>

#include "COrientationDefiner.h"
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
  const int normalLine = kLineAlong[AxisRole(gAxisZ)];
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
  forceLocate = 1;
  if (mode == 0) faceObject = nullptr;
  if (mode == 1) faceObject = object;
  if (mode == 2) SetPlaneObject(dynamic_cast<COrientationDefiner*>(object));
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

void VLCrosshairCursor::SetPlaneObject(COrientationDefiner* object) {
  planeObject = object;
  forceLocate = 1;
  locateMode = 2;
  NotifyDependents(kPlaneEntered, nullptr);
}
