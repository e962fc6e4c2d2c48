// Installs a unit-to-name table as gCurrentUnitToNameTable for a call.
#pragma once

#include "CurrentTableScope.h"
#include "UnitToNameTable.h"

using UnitToNameTableScope = CurrentTableScope<UnitToNameTable, &gCurrentUnitToNameTable>;
