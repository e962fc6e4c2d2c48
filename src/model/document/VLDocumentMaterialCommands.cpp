// The native document's material commands: choose the current material, stop browsing, remove
// the materials no object uses, save the materials as the defaults for new documents.
#include "Alerts.h"
#include "CGroup.h"
#include "D3TMaterialList.h"
#include "MaterialListDialog.h"
#include "PString.h"
#include "VLArray.h"
#include "VLDocument.h"
#include "VLUser3DObject.h"

Boolean VLDocument::DoMaterialCommand(long command) {
  switch (command) {
    case D3TMaterialList::cmdMaterialDialog: ChooseCurrentMaterial(); return true;
    case cmdStopBrowsingMaterials: materialBrowseState = nullptr; return true;
    case cmdRemoveUnusedMaterials: RemoveUnusedMaterials(); return true;
    case cmdSaveDefaultMaterials: SaveDefaultMaterials(); return true;
    default: return false;
  }
}

void VLDocument::ChooseCurrentMaterial() {
  D3TMaterialList* materials = GetMaterialList();
  MaterialListDialog dialog(materials);
  if (!dialog.Run(GetActiveWindow())) return;
  // The dialog counts entries by position; the list keeps its current material by id, and ids
  // need not follow positions once materials have been removed.
  const SInt32 entry = dialog.GetChosenEntry();
  materials->SetCurrentMaterial(entry == 0 ? 0 : materials->GetMaterialId(entry));
}

void VLDocument::RemoveUnusedMaterials() {
  D3TMaterialList* materials = GetMaterialList();
  materials->ClearUsedFlags();
  VLArray* objects = GetObjectList();
  for (long i = kFirstModelObject; objects && i <= objects->GetNumItems(); ++i) {
    auto* object = static_cast<VLUser3DObject*>(objects->PointerAt(i));
    if (!object) continue;
    // A group marks its members' materials.
    if (auto* group = dynamic_cast<CGroup*>(object))
      group->MarkUsedMaterials(materials);
    else
      materials->MarkMaterial(object->materialId);
  }
  const long unused = materials->CountUnusedMaterials();
  if (unused == 0) {
    PortSetAlertTexts(nullptr, nullptr, nullptr, nullptr);
    PortAlert(kNoUnusedMaterialsAlert);
    return;
  }
  Str255 count;
  PortNumToString(unused, count);
  PortSetAlertTexts(count, nullptr, nullptr, nullptr);
  if (PortAlert(kRemoveUnusedMaterialsAlert) != 1) return;
  materials->RemoveUnusedMaterials();
  SetChanged(true);
  NotifyDependents(D3TMaterialList::kMaterialsRemoved, nullptr);
  NotifyDependents(kMaterialListChanged, materials);
}

void VLDocument::SaveDefaultMaterials() {
  PortSetAlertTexts(nullptr, nullptr, nullptr, nullptr);
  if (PortAlert(kSaveDefaultMaterialsAlert) == 1) GetMaterialList()->WritePrefFile();
}
