// What a model object and the object info palette tell each other: the change reasons and the
// record that travels with them.
#pragma once

#include <string>

#include "MacTypes.h"
#include "Vector3d.h"

// Reasons of the change broadcasts between an object and the palette.
enum : long {
  kInfoMoved = 500,       // a position (the palette's typed one, or the object's after a move)
  kInfoRotated = 501,     // an angle
  kInfoChanged = 502,     // the object after an edit
  kInfoDeselected = 503,  // the object no longer shows in the palette
  kInfoShowMe = 504,      // show this object
  kInfoResized = 505,     // a typed size
};

struct ObjectInfoRecord {
  Vector3d position;   // the reference vertex
  Vector3d size;       // as VLUser3DObject::GetSize measures it: width, depth, height
  double angle = 0.0;  // degrees
  std::string name;    // empty when the object has none
  SInt16 phase = 0;
  SInt32 materialId = 0;
};
