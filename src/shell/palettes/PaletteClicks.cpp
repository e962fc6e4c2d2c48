#include "PaletteClicks.h"

#include "CWindow.h"
#include "DialogUtilities.h"

namespace {

// A point of the view in global coordinates, as the event queue gives mouse positions.
Point ToGlobal(CView* view, SInt32 h, SInt32 v) {
  LongPt p{v, h};
  view->FrameToWind(&p);
  Point global{SInt16(p.v), SInt16(p.h)};
  if (CWindow* window = view->GetWindow()) window->WindowToGlobal(&global);
  return global;
}

}  // namespace

Boolean IsDoubleClick(CPane* pane, Point hitPt, long when, Boolean inFrame) {
  const Point at = ToGlobal(pane, hitPt.h, hitPt.v);
  if (!inFrame) return WaitForDoubleClick(UInt32(when), at, nullptr);
  LongRect frame;
  pane->GetFrame(&frame);
  const Point topLeft = ToGlobal(pane, frame.left, frame.top);
  const Point bottomRight = ToGlobal(pane, frame.right, frame.bottom);
  const Rect slop{topLeft.v, topLeft.h, bottomRight.v, bottomRight.h};
  return WaitForDoubleClick(UInt32(when), at, &slop);
}
