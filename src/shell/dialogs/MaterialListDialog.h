// Dialog 107 "Set Current Material": a drop-down list of "none" and the names of a material
// list's materials, in the list's order, with the current material selected. After a true Run
// the chosen entry is 0 for "none" and n for the list's n-th material.
#pragma once

#include "DialogBase.h"

class D3TMaterialList;

class MaterialListDialog : public DialogBase {
 public:
  static constexpr SInt16 kDialogId = 107;
  static constexpr int kMaterialList = 1021;

  explicit MaterialListDialog(D3TMaterialList* materials) : materials(materials) {}

  // True when the user chose OK.
  Boolean Run(HWND parent) { return RunModal(parent, kDialogId); }
  SInt32 GetChosenEntry() const { return chosenEntry; }

  Boolean Init(HWND dialog) override;
  Boolean Command(HWND dialog, int controlId, HWND control, int notification) override;

 private:
  SInt32 chosenEntry = 0;
  D3TMaterialList* materials;
};
