#include "DialogUtilities.h"

#include <cstring>

#include "Alerts.h"
#include "ByteReader.h"
#include "Events.h"
#include "Memory.h"
#include "Menus.h"
#include "QuickDraw.h"
#include "Resources.h"
#include "Screen.h"
#include "Ticks.h"
#include "ToolboxUtilities.h"
#include "Windows.h"

SInt16 ShowPositionedAlert(SInt16 alertId) {
  Handle alert = PortLoadResource(FourCC("ALRT"), alertId);
  vlres::AlertTemplate t;
  if (alert && vlres::ParseAlert(alert, &t)) {
    Rect screen;
    PortGetScreenBounds(&screen);
    PositionRectOnScreen(&t.bounds, &screen, PortMenuBarHeight());
    // The alert's bounds lead its data.
    vlcore::ByteWriter bounds;
    bounds.WriteRect(t.bounds);
    std::memcpy(*alert, bounds.bytes().data(), bounds.size());
  }
  return PortAlert(alertId, nullptr);
}

void DrawDefaultButtonOutline(ControlHandle control) {
  if (!control || !PortIsControl(control)) return;
  GrafPtr saved = nullptr;
  PortGetPort(&saved);
  PortSetPort((*control)->owner);
  PenState pen;
  PortGetPenState(&pen);
  PortPenNormal();
  PortPenSize(3, 3);
  PortPenPattern((*control)->hilite != 0 ? &qd.gray : &qd.black);
  Rect r;
  PortGetControlBounds(control, &r);
  r.top = SInt16(r.top - 4);
  r.left = SInt16(r.left - 4);
  r.bottom = SInt16(r.bottom + 4);
  r.right = SInt16(r.right + 4);
  SInt16 corner = SInt16((r.bottom - r.top) / 2);
  PortFrameRoundRect(&r, corner, corner);
  PortSetPenState(&pen);
  PortSetPort(saved);
}

void DrawDefaultItemOutline(DialogPtr dialog, SInt16) {
  ControlHandle button = nullptr;
  if (PortGetDialogItemAsControl(dialog, 1, &button)) DrawDefaultButtonOutline(button);
}

bool WaitForDoubleClick(UInt32 mouseDownTime, Point mouseDownPoint, const Rect* slopRect) {
  Rect slop;
  if (slopRect && !PortEmptyRect(slopRect))
    slop = *slopRect;
  else
    slop = Rect{SInt16(mouseDownPoint.v - 5), SInt16(mouseDownPoint.h - 5), SInt16(mouseDownPoint.v + 5),
                SInt16(mouseDownPoint.h + 5)};
  const UInt32 deadline = mouseDownTime + PortDoubleClickTicks();
  EventRecord event;
  while (!PortEventAvail(mUpMask, &event))
    if (PortTickCount() > deadline) return false;
  while (!PortEventAvail(mDownMask, &event))
    if (PortTickCount() > deadline) return false;
  if (!PortPtInRect(event.where, &slop)) return false;
  PortFlushEvents(mDownMask | mUpMask, 0);
  return true;
}
