#include "TaskSupport.h"

#include <cstdio>

#include "ObjectList.h"
#include "VLCrosshairCursor.h"
#include "VLDocument.h"
#include "VLUser3DObject.h"
#include "VLViewPane.h"

namespace {

void SelectInActivePane(SInt16 tool) {
  if (!gCurrentViewPane) return;
  gCurrentViewPane->SetToolGroup(0);
  gCurrentViewPane->SelectEditTool(tool);
}

}  // namespace

SelectToolRequest gSelectToolRequest = SelectInActivePane;
PaletteItemRedraw gPaletteItemRedraw = nullptr;
AngleTextDisplay gAngleTextDisplay = nullptr;
UInt8 gSnapToVertices = 0;
UInt8 gTrackingDrag = 0;

namespace vltasks {

void RefreshObjectCount() { gObjectCount = gCurrentObjectList ? SInt32(gCurrentObjectList->GetNumItems()) : 0; }

VLUser3DObject* NextSelectedObject(long* position) {
  if (!gCurrentObjectList) return nullptr;
  for (; *position <= gCurrentObjectList->GetNumItems(); ++*position) {
    auto* object = static_cast<VLUser3DObject*>(gCurrentObjectList->PointerAt(*position));
    if (object && object->selected) return object;
  }
  return nullptr;
}

void ShowSelectTool(SInt16 tool) {
  if (gSelectToolRequest) gSelectToolRequest(tool);
}

void RedrawPaletteItem(SInt16 item) {
  if (gPaletteItemRedraw) gPaletteItemRedraw(item);
}

Point PanePoint(const LongPt* p) { return Point{SInt16(p->v), SInt16(p->h)}; }

void RedrawActivePane() {
  VLViewPane* pane = gCurrentViewPane;
  if (!pane) return;
  pane->Refresh();
  if (pane->crosshair) pane->crosshair->DrawCrosshair();
}

namespace {
AngleText gAngleText;
}  // namespace

void ShowAngleText(const char* text, Boolean select) {
  std::snprintf(gAngleText.text, sizeof gAngleText.text, "%s", text ? text : "");
  gAngleText.selected = select;
  if (gAngleTextDisplay) gAngleTextDisplay(gAngleText.text, select);
}

const AngleText& LastAngleText() { return gAngleText; }

}  // namespace vltasks
