// The 3D scene library: everything in one include.
#pragma once

#include "Q3Core.h"
#include "Q3Geometry.h"
#include "Q3Group.h"
#include "Q3Math.h"
#include "Q3Scene.h"
#include "Q3Storage.h"
#include "Q3Types.h"
