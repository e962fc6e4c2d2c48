// The highlighted menu title of the menu bar (0: none). The menus themselves are Menus.h.
#pragma once

#include "Menus.h"
