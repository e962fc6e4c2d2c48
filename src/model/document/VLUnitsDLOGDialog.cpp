#include "VLUnitsDLOGDialog.h"

#include <string>

#include "CException.h"
#include "CMenuManager.h"
#include "CPopupMenu.h"
#include "Menus.h"
#include "PString.h"
#include "Resources.h"
#include "VLPopupPane.h"

CView* VLUnitsDLOGDialog::MakeItem(SInt16 itemNumber, const vlres::DialogItem& item) {
  if ((item.kind & 0x7F) == vlres::kControlItem) return MakeControl(itemNumber, item);
  return CDLOGDialog::MakeItem(itemNumber, item);
}

CView* VLUnitsDLOGDialog::MakeControl(SInt16 itemNumber, const vlres::DialogItem& item) {
  Handle cntl = PortLoadResource(FourCC("CNTL"), item.resourceId);
  vlres::ControlTemplate control;
  if (!cntl || !vlres::ParseControl(cntl, &control)) Failure(resNotFound, 0);
  if (control.procId != kPopupControlKind) return MakeUserItem(itemNumber, item);
  auto* popup = new VLPopupPane;
  // A pop-up control keeps its menu's id in its minimum.
  popup->IVLPopupPaneFromMenu(control.minimum, this, this, SInt16(item.bounds.right - item.bounds.left),
                              SInt16(item.bounds.bottom - item.bounds.top), item.bounds.left, item.bounds.top);
  // The commands move from the items' texts into the items.
  if (MenuHandle menu = popup->GetPopupMenu() ? popup->GetPopupMenu()->GetMacMenu() : nullptr) {
    for (SInt16 i = 1; i <= PortCountMenuItems(menu); ++i) {
      Str255 text;
      PortGetMenuItemText(menu, i, text);
      std::string shown = PStrToStd(text);
      long command = 0;
      SplitCommandSuffix(&shown, &command);
      PortSetMenuItemText(menu, i, Str255(shown));
      PortSetMenuItemCommandID(menu, i, SInt32(command));
    }
    popup->Layout();
  }
  return popup;
}

long VLUnitsDLOGDialog::ItemCommand(VLPopupPane* popup, SInt16 menuItem) {
  CPopupMenu* menu = popup ? popup->GetPopupMenu() : nullptr;
  if (!menu || !menu->GetMacMenu() || menuItem < 1 || menuItem > menu->CountItems()) return 0;
  return PortGetMenuItemCommandID(menu->GetMacMenu(), menuItem);
}

SInt16 VLUnitsDLOGDialog::CommandItem(VLPopupPane* popup, long command) {
  CPopupMenu* menu = popup ? popup->GetPopupMenu() : nullptr;
  if (!menu || command == 0) return 0;
  for (SInt16 i = 1; i <= menu->CountItems(); ++i)
    if (ItemCommand(popup, i) == command) return i;
  return 0;
}
