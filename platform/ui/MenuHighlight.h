// The highlighted menu title of the menu bar (0: none).
#pragma once

#include "MacTypes.h"

void PortHighlightMenu(SInt16 menuId);
SInt16 PortHighlightedMenu();
