// The active document's object list as the model objects see it. The document publishes it when
// it becomes active and clears it when it goes; objects that are read from a file or imported
// find their owner in it by position.
#pragma once

#include "MacTypes.h"
#include "VLArray.h"

class VLUser3DObject;

// The object pointers of the active document, indexed from 1; null while no document is active.
// The document owns the list.
extern VLArray* gCurrentObjectList;

// The object at a 1-based position of gCurrentObjectList; null without a list or for a position
// the list does not have.
VLUser3DObject* ObjectAtListPosition(SInt32 position);
// The 1-based position of the object in gCurrentObjectList; 0 when it is not there (or there is
// no list).
SInt32 ListPositionOf(const VLUser3DObject* object);
