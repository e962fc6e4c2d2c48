// The document's material commands.
#include "D3TMaterialList.h"
#include "MaterialListDialog.h"
#include "VLDocument.h"

void VLDocument::ChooseCurrentMaterial() {
  D3TMaterialList* materials = GetMaterialList();
  MaterialListDialog dialog(materials);
  if (!dialog.Run(GetActiveWindow())) return;
  // The dialog counts entries by position; the list keeps its current material by id, and ids
  // need not follow positions once materials have been removed.
  const SInt32 entry = dialog.GetChosenEntry();
  materials->SetCurrentMaterial(entry == 0 ? 0 : materials->GetMaterialId(entry));
}
