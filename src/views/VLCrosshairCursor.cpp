#include "VLCrosshairCursor.h"

void VLCrosshairCursor::IVLCrosshairCursor(VLViewTransform* v, VLGWorldOS* w, const Rect* rect, GrafPtr p, CView* owner) {
  view = v;
  world = w;
  if (rect) paneRect = *rect;
  port = p;
  pane = owner;
  point = {};
}
