#include "VLPopupMenu.h"

void VLPopupMenu::UpdateMenus() {
  if (itsSupervisor) itsSupervisor->UpdateMenus();
}
