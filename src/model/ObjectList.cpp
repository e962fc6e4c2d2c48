#include "ObjectList.h"

#include "VLUser3DObject.h"

VLArray* gCurrentObjectList = nullptr;

VLUser3DObject* ObjectAtListPosition(SInt32 position) {
  if (!gCurrentObjectList || position < 1 || position > gCurrentObjectList->GetNumItems()) return nullptr;
  return static_cast<VLUser3DObject*>(gCurrentObjectList->PointerAt(position));
}

SInt32 ListPositionOf(const VLUser3DObject* object) {
  return gCurrentObjectList ? SInt32(gCurrentObjectList->IndexOfPointer(object)) : 0;
}
