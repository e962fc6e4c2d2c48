// The program's own resources, compiled into it from the .vlr files beside this header.
#pragma once

#include "MacTypes.h"

namespace vlres {

// Installs the program's resources at the bottom of the resource chain (replacing any installed
// before) and returns their reference number. The program calls it once at start-up; tests call
// it when they want the program's resources.
SInt16 InstallApplicationResources();

}  // namespace vlres
