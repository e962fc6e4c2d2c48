// The native document's notices: the changed flag with its model-changed broadcast, the phases
// window's edits, the name and the Undo item of an inactive document.
#include <algorithm>
#include <vector>

#include "CMenuManager.h"
#include "Commands.h"
#include "CWindow.h"
#include "Resources.h"
#include "VLDocument.h"
#include "VLDocumentViews.h"
#include "VLUser3DObject.h"
#include "WatchCursor.h"

UInt8 gModelChangeIsRestore = 0;

namespace {

// The document's model objects and planes, from position 1, that are in the phase.
std::vector<VLUser3DObject*> ObjectsInPhase(VLArray* objects, std::int32_t phase) {
  std::vector<VLUser3DObject*> found;
  if (!objects) return found;
  for (long i = 1; i <= objects->GetNumItems(); ++i)
    if (auto* object = static_cast<VLUser3DObject*>(objects->PointerAt(i)); object && object->phase == phase)
      found.push_back(object);
  return found;
}

}  // namespace

// ---- Changed flag ----

void VLDocument::SetChanged(Boolean changed) {
  NotifyDependents(kModelChanged, &gModelChangeIsRestore);
  gModelChangeIsRestore = 0;
  VLAbstractDocument::SetChanged(changed);
}

void VLDocument::RevertChanged() {
  gModelChangeIsRestore = 1;
  SetChanged(prevDirty);
}

// ---- Notices from providers ----

void VLDocument::ProviderChanged(CCollaborator* provider, long reason, void* info) {
  if (reason == kMarkChanged) {
    SetChanged(true);
    return;
  }
  if (reason != kPhasesEdited || !info || !itsPhases) {
    VLAbstractDocument::ProviderChanged(provider, reason, info);
    return;
  }
  const auto* edit = static_cast<const PhaseEditRecord*>(info);
  if (!edit->phases) return;
  WatchCursor watch;
  bool retitle = false;
  bool redraw = false;
  if (edit->currentPhase != gCurrentPhase) {
    gCurrentPhase = SInt16(edit->currentPhase);
    retitle = true;
  }

  for (long i = 1; i <= itsPhases->GetNumItems(); ++i) {
    const std::int32_t key = itsPhases->KeyAt(i);
    if (edit->phases->IndexOfKey(key) == 0) continue;
    PhaseRecord mine, edited;
    itsPhases->GetItem(&mine, i);
    edit->phases->GetItemByKey(&edited, key);
    if (mine.visible != edited.visible) {
      mine.visible = edited.visible;
      itsPhases->SetItem(&mine, i);
      PublishObjectLists();
      for (VLUser3DObject* object : ObjectsInPhase(GetObjectList(), key)) {
        if (edited.visible)
          object->MarkChanged();
        else if (object->selected)
          object->Deselect();
      }
      redraw = true;
    }
    if (mine.selectable != edited.selectable) {
      mine.selectable = edited.selectable;
      itsPhases->SetItem(&mine, i);
      if (!edited.selectable)
        for (VLUser3DObject* object : ObjectsInPhase(GetObjectList(), key))
          if (object->selected) {
            object->Deselect();
            redraw = true;
          }
    }
  }

  // The edited list replaces the document's whole, in its order.
  for (long i = itsPhases->GetNumItems(); i >= 1; --i) itsPhases->DeleteItem(i);
  for (long i = 1; i <= edit->phases->GetNumItems(); ++i) {
    PhaseRecord record;
    edit->phases->GetItem(&record, i);
    itsPhases->Append(&record, edit->phases->KeyAt(i));
  }
  TakeCurrentPhase();

  if (retitle) UpdateWindowTitle();
  if (redraw) {
    if (itsViews) {
      itsViews->RefreshLocator();
      itsViews->Redraw();
    }
    SetChanged(true);
  }
}

// ---- Name and Undo item ----

void VLDocument::GetName(StringPtr out) const {
  if (HasFile() || itsWindow)
    VLAbstractDocument::GetName(out);
  else
    out[0] = 0;
}

void VLDocument::ResetUndoText() {
  viewUndo = 0;
  if (IsActive() || !gMenuManager) return;
  Str255 text;
  PortGetListString(text, kClassLibStrings, kUndoStringIndex);
  gMenuManager->SetCommandText(cmdUndo, text);
}
