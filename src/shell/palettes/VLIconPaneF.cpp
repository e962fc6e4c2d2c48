#include "VLIconPaneF.h"

#include <iterator>

#include "IconPlotting.h"
#include "QuickDraw.h"
#include "VLToolPalette.h"
#include "VLUser3DObject.h"

namespace {

// Tool index -> icon code (VLIconPaneF::ToolCodeOfIndex).
constexpr SInt16 kToolCodes[] = {500, 600,  601, 602,  603, 604,  605, 606,  607,  700,  701,  800,  801,  802, 803,
                                 900, 1200, 901, 1202, 902, 1201, 903, 1203, 1000, 1001, 1101, 1100, 1115, 1116};
static_assert(std::size(kToolCodes) == VLIconPaneF::kLastToolIndex + 1);

// The shadow plug-in's icons are drawn full size.
constexpr SInt16 kFirstFullSizeIcon = 1112;
constexpr SInt16 kLastFullSizeIcon = 1115;

enum : SInt16 { kPlainMode = 0, kInvertedMode = 1, kGreyMode = 2 };

}  // namespace

SInt16 VLIconPaneF::ToolCodeOfIndex(SInt16 index) {
  return index >= 0 && index <= kLastToolIndex ? kToolCodes[index] : SInt16(0);
}

void VLIconPaneF::IVLIconPaneF(CView* enclosure, CBureaucrat* supervisor, SInt16 width, SInt16 height, SInt16 hEncl,
                               SInt16 vEncl, SizingOption hSizing, SizingOption vSizing, SInt16 iconCode) {
  code = iconCode;
  Init(enclosure, supervisor, width, height, hEncl, vEncl, hSizing, vSizing);
  SetWantsClicks(true);
  SetID(code);
  enabled = 1;
  selected = (code == kSelectIcon || code == kFirstPlaneIcon) ? 1 : 0;
  LongToQDRect(&frame, &savedFrame);
}

void VLIconPaneF::RedrawNow() {
  Prepare();
  Draw(&savedFrame);
}

void VLIconPaneF::EnableIcon() {
  if (enabled) return;
  enabled = 1;
  selected = 0;
  RedrawNow();
}

void VLIconPaneF::DisableIcon() {
  if (!enabled) return;
  enabled = 0;
  selected = 0;
  RedrawNow();
}

void VLIconPaneF::SelectIcon() {
  if (selected) return;
  enabled = 1;
  selected = 1;
  RedrawNow();
}

void VLIconPaneF::DeselectIcon() {
  if (!selected) return;
  selected = 0;
  RedrawNow();
}

void VLIconPaneF::Draw(const Rect*) {
  PenState pen;
  PortGetPenState(&pen);
  PortEraseRect(&savedFrame);
  if (code == kColourIcon) {
    if (enabled) {
      RGBColor fore;
      PortGetForeColor(&fore);
      PortRGBForeColor(&gDefaultObjectColor);
      PortPaintRect(&savedFrame);
      PortRGBForeColor(&fore);
    } else {
      PortFillRect(&savedFrame, &qd.gray);
    }
  } else if (code >= kFirstFullSizeIcon && code <= kLastFullSizeIcon) {
    PlotICON(code, 1, Point{SInt16(savedFrame.top + 2), SInt16(savedFrame.left + 10)});
  } else {
    const SInt16 shown = code == kLookIcon && gActiveSceneDirector ? SInt16(kSceneLookIcon) : code;
    const SInt16 mode = !enabled ? kGreyMode : selected ? kInvertedMode : kPlainMode;
    PlotICONShrunk(shown, 1, Point{SInt16(savedFrame.top + 2), SInt16(savedFrame.left + 2)}, mode);
  }
  PortPenNormal();
  PortFrameRect(&savedFrame);
  PortSetPenState(&pen);
}
