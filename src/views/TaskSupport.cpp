#include "TaskSupport.h"

#include "ObjectList.h"
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

}  // namespace vltasks
