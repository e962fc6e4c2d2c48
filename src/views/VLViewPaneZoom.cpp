// Zooming and scrolling. The pane never scrolls its pixels: both move the view transform's
// sub-window, and the panorama's bounds only tell the scroll bars how far the zoomed view reaches.
#include <algorithm>
#include <cmath>

#include "CScrollPane.h"
#include "Cursors.h"
#include "QuickDraw.h"
#include "VLCrosshairCursor.h"
#include "VLGWorld.h"
#include "VLDocument.h"
#include "VLUser3DObject.h"
#include "VLViewPane.h"
#include "ViewDrawingFlags.h"
#include "core/VLViewTransform.h"

namespace {

constexpr long kZoomChanged = 5000;
constexpr double kScrollStepShare = 0.1;
constexpr long kFitMarginShare = 10;
// A zoom drag narrower or lower than this counts as a click.
constexpr SInt16 kLeastZoomDrag = 5;

void ShowWatchCursor() {
  if (CursHandle watch = PortGetCursor(watchCursor)) PortSetCursor(*watch);
}

}  // namespace

// ---- Zoom ----

double VLViewPane::ZoomRatio() const { return width > 0 ? double(bounds.right - bounds.left) / double(width) : 1.0; }

void VLViewPane::BroadcastZoom(double ratio) { NotifyDependents(kZoomChanged, &ratio); }

void VLViewPane::CalibrateScrolling() {
  if (!itsScrollPane) return;
  const SInt16 step = SInt16(std::trunc(width * kScrollStepShare));
  itsScrollPane->SetSteps(step, step);
  itsScrollPane->SetOverlaps(step, step);
  itsScrollPane->Calibrate();
}

void VLViewPane::ZoomBy(double factor) {
  // A factor that is not above 0 has no rectangle to show.
  if (!(factor > 0.0) || !std::isfinite(factor)) return;
  ShowWatchCursor();
  const double W = width, H = height;
  const double ch = std::trunc(W * 0.5), cv = std::trunc(H * 0.5);
  Rect r{SInt16(std::trunc(cv - H / (2.0 * factor))), SInt16(std::trunc(ch - W / (2.0 * factor))),
         SInt16(std::trunc(cv + H / (2.0 * factor))), SInt16(std::trunc(ch + W / (2.0 * factor)))};
  if (r.right - r.left < bounds.right - bounds.left) KeepInsideBounds(&r);
  ZoomIntoRect(&r);
}

void VLViewPane::ZoomIntoRect(Rect* r) {
  if (!viewTransform->ZoomToRect(r)) return;
  MarkObjectsChanged();
  const LongRect old = bounds;
  const double W = width, H = height;
  const double rw = r->right - r->left, rh = r->bottom - r->top;
  const double bw = old.right - old.left, bh = old.bottom - old.top;
  bounds.left = SInt32(std::trunc(frame.left - (r->left - old.left) * W / rw));
  bounds.top = SInt32(std::trunc(frame.top - (r->top - old.top) * H / rh));
  bounds.right = SInt32(std::trunc(bounds.left + bw * W / rw));
  bounds.bottom = SInt32(std::trunc(bounds.top + bh * H / rh));
  CalibrateScrolling();
  Refresh();
  zoomed = 1;
  BroadcastZoom(ZoomRatio());
}

void VLViewPane::KeepInsideBounds(Rect* r) const {
  if (r->left < bounds.left) PortOffsetRect(r, SInt16(bounds.left - r->left), 0);
  if (r->right > bounds.right) PortOffsetRect(r, SInt16(-(r->right - bounds.right)), 0);
  if (r->top < bounds.top) PortOffsetRect(r, 0, SInt16(bounds.top - r->top));
  if (r->bottom > bounds.bottom) PortOffsetRect(r, 0, SInt16(-(r->bottom - bounds.bottom)));
}

void VLViewPane::ZoomDrag(Point hit) {
  PrepareDrawingPort();
  PortPenPattern(&qd.dkGray);
  Rect shown{};
  Point last = hit;
  while (PortStillDown()) {
    Point mouse;
    PortGetMouse(&mouse);
    if (mouse.h == last.h && mouse.v == last.v) continue;
    last = mouse;
    Rect next{std::min(hit.v, mouse.v), std::min(hit.h, mouse.h), std::max(hit.v, mouse.v), std::max(hit.h, mouse.h)};
    // The view under the last rectangle comes back from the offscreen image.
    if (offscreen && !PortEmptyRect(&shown)) {
      Rect edges = shown;
      PortInsetRect(&edges, -1, -1);
      offscreen->CopyRectToCurrentPort(&edges);
    }
    PortFrameRect(&next);
    shown = next;
  }
  const bool dragged = shown.right - shown.left >= kLeastZoomDrag && shown.bottom - shown.top >= kLeastZoomDrag;
  Rect r = shown;
  if (!dragged) {
    // A click: half the pane in each direction about the point.
    const SInt16 halfWidth = SInt16(std::trunc(width * 0.25)), halfHeight = SInt16(std::trunc(height * 0.25));
    r = Rect{SInt16(hit.v - halfHeight), SInt16(hit.h - halfWidth), SInt16(hit.v + halfHeight),
             SInt16(hit.h + halfWidth)};
    if (!(width > bounds.right - bounds.left && height > bounds.bottom - bounds.top)) KeepInsideBounds(&r);
  }
  PortPenNormal();
  ZoomIntoRect(&r);
  if (dragged) {
    SetToolGroup(0);
    SelectEditTool(0);
  }
}

void VLViewPane::ZoomToFitObjects() {
  VLArray* objects = document ? document->GetObjectList() : nullptr;
  Rect u{};
  bool any = false;
  for (long i = 1; objects && i <= objects->GetNumItems(); ++i) {
    auto* object = static_cast<VLUser3DObject*>(objects->PointerAt(i));
    Rect r;
    if (!object || !object->GetScreenBounds(&r)) continue;
    object->MarkChanged();
    if (any)
      PortUnionRect(&u, &r, &u);
    else
      u = r;
    any = true;
  }
  const SInt16 dh = SInt16((u.right - u.left) / kFitMarginShare), dv = SInt16((u.bottom - u.top) / kFitMarginShare);
  PortInsetRect(&u, SInt16(-dh), SInt16(-dv));
  const bool spansFrame =
      (u.left == frame.left && u.right == frame.right) || (u.top == frame.top && u.bottom == frame.bottom);
  // Objects that fill no width or no height (a line seen edge on, nothing at all) give no
  // rectangle to zoom to: the view stays.
  if (any && !spansFrame && u.right > u.left && u.bottom > u.top) {
    const double kx = double(width) / (u.right - u.left), ky = double(height) / (u.bottom - u.top);
    bounds.left -= SInt32(std::trunc(u.left * kx));
    bounds.top -= SInt32(std::trunc(u.top * ky));
    bounds.right += SInt32(std::trunc((width - u.right) * kx));
    bounds.bottom += SInt32(std::trunc((height - u.bottom) * ky));
    CalibrateScrolling();
    viewTransform->ZoomToRect(&u);
    zoomed = 0;
    Refresh();
  }
  BroadcastZoom(ZoomRatio());
}

void VLViewPane::ZoomReset() {
  if (!viewTransform->ResetSubWindow()) return;
  bounds = frame;
  ShowWatchCursor();
  MarkObjectsChanged();
  if (itsScrollPane) itsScrollPane->Calibrate();
  Refresh();
  zoomed = 0;
  BroadcastZoom(1.0);
}

// ---- Scrolling ----

void VLViewPane::Scroll(long h, long v, Boolean redraw) {
  const SInt32 oldLeft = frame.left, oldTop = frame.top;
  CPanorama::Scroll(h, v, false);
  viewTransform->ScrollSubWindow(SInt16(frame.left - oldLeft), SInt16(frame.top - oldTop));
  // The pane keeps its own coordinates: only the bounds move.
  position.h -= SInt32(h);
  position.v -= SInt32(v);
  ShiftFrame(-h, -v);
  OffsetLongRect(&bounds, -h, -v);
  gViewScrolled = 1;
  if (redraw) Refresh();
}

void VLViewPane::ScrollTo(const LongPt* newPosition, Boolean) {
  if (gPrintingView) return;
  const SInt32 oldLeft = frame.left, oldTop = frame.top;
  CPanorama::Scroll(long(newPosition->h) - position.h, long(newPosition->v) - position.v, false);
  viewTransform->ScrollSubWindow(SInt16(frame.left - oldLeft), SInt16(frame.top - oldTop));
  Refresh();
}

Boolean VLViewPane::AutoScroll(LongPt*) { return false; }

void VLViewPane::AutoScrollToPoint(Point p) {
  if (!crosshair) return;
  if (!zoomed) {
    crosshair->scrolled = 0;
    return;
  }
  const long dh = p.h < frame.left ? p.h - frame.left : p.h > frame.right ? p.h - frame.right : 0;
  const long dv = p.v < frame.top ? p.v - frame.top : p.v > frame.bottom ? p.v - frame.bottom : 0;
  if (dh == 0 && dv == 0) {
    crosshair->scrolled = 0;
    return;
  }
  const UInt8 tracking = gTrackingDrawing;
  gTrackingDrawing = 0;
  gViewScrolled = 1;
  if (itsScrollPane)
    itsScrollPane->Scroll(dh, dv, true);
  else
    Scroll(dh, dv, true);
  gTrackingDrawing = tracking;
  crosshair->scrolled = 1;
}
