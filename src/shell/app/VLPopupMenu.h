// The program's popup menu: its menu updates go to its supervisor (the pane that shows it), and
// its items are selected as the class library's are (one marked item in a single-selection
// menu; each on its own, the first marked being current, in a multiple-selection menu).
#pragma once

#include "CPopupMenu.h"

class VLPopupMenu : public CPopupMenu {
  VL_REGISTERED_CLASS(VLPopupMenu, CPopupMenu)

 public:
  VLPopupMenu() = default;

  void UpdateMenus() override;
};
