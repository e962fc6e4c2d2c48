// Installs a name-to-unit table as gCurrentNameToUnitTable for a call.
#pragma once

#include "CurrentTableScope.h"
#include "NameToUnitTable.h"

using NameToUnitTableScope = CurrentTableScope<NameToUnitTable, &gCurrentNameToUnitTable>;
