#include "VLModeIconPane.h"

#include "CCrosshairLocator.h"
#include "Events.h"
#include "IconPlotting.h"
#include "PaletteClicks.h"
#include "QuickDraw.h"
#include "VLDocument.h"
#include "VLViewPane.h"

UInt8 gSnapToHandles = 0;

namespace {

UInt8* SwitchOf(SInt16 onCode) {
  switch (onCode) {
    case VLModeIconPane::kSnapToHandles:
      return &gSnapToHandles;
    case VLModeIconPane::kSnapToGrid:
      return &gSnapToGrid;
    default:
      return nullptr;
  }
}

}  // namespace

void VLModeIconPane::IVLModeIconPane(CView* enclosure, CBureaucrat* supervisor, SInt16 width, SInt16 height,
                                     SInt16 hEncl, SInt16 vEncl, SizingOption hSizing, SizingOption vSizing, SInt16 on,
                                     SInt16 off) {
  onCode = on;
  offCode = off;
  Init(enclosure, supervisor, width, height, hEncl, vEncl, hSizing, vSizing);
  SetWantsClicks(true);
  SetID(onCode);
  LongToQDRect(&frame, &savedFrame);
}

Boolean VLModeIconPane::IsOn() const {
  const UInt8* value = SwitchOf(onCode);
  return value && *value;
}

void VLModeIconPane::RedrawNow() {
  Prepare();
  Draw(&savedFrame);
}

void VLModeIconPane::Draw(const Rect*) {
  PenState pen;
  PortGetPenState(&pen);
  PortEraseRect(&savedFrame);
  PlotICONShrunk(IsOn() ? onCode : offCode, 1, Point{SInt16(savedFrame.top + 2), SInt16(savedFrame.left + 2)}, 0);
  PortPenNormal();
  PortFrameRect(&savedFrame);
  PortSetPenState(&pen);
}

void VLModeIconPane::DoClick(Point hitPt, SInt16, long when) {
  VLViewPane* pane = gCurrentViewPane;
  if (!pane) return;
  pane->BecomeCommandTarget(true);
  UInt8* value = SwitchOf(onCode);
  if (value) {
    if (IsDoubleClick(this, hitPt, when, true)) {
      PortFlushEvents(mDownMask, 0);
      pane->DoCommand(onCode == kSnapToHandles ? kSnapDistanceCommand : kUnitsAndGridsCommand);
    } else {
      *value = *value ? 0 : 1;
    }
  }
  RedrawNow();
}
