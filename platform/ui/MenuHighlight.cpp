#include "MenuHighlight.h"

namespace {
SInt16 gHighlighted = 0;
}

void PortHighlightMenu(SInt16 menuId) { gHighlighted = menuId; }
SInt16 PortHighlightedMenu() { return gHighlighted; }
