#include "ToolIconDisplay.h"

ToolIconDisplay* gToolIconDisplay = nullptr;
