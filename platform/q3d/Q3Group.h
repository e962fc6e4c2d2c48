// Groups: plain groups (any shared object), display groups (drawables),
// ordered display groups (kept in the order transforms, styles, attribute sets,
// shaders, geometry, groups, others), IO proxy display groups and light groups
// (lights only). A group holds one reference of each member.
#pragma once

#include "Q3Types.h"

enum TQ3DisplayGroupStateMasks : TQ3Uns32 {
  kQ3DisplayGroupStateNone = 0,
  kQ3DisplayGroupStateMaskIsDrawn = 1u << 0,
  kQ3DisplayGroupStateMaskIsInline = 1u << 1,
  kQ3DisplayGroupStateMaskUseBoundingBox = 1u << 2,
  kQ3DisplayGroupStateMaskUseBoundingSphere = 1u << 3,
  kQ3DisplayGroupStateMaskIsPicked = 1u << 4,
  kQ3DisplayGroupStateMaskIsWritten = 1u << 5
};
typedef TQ3Uns32 TQ3DisplayGroupState;

TQ3GroupObject Q3Group_New();
TQ3GroupObject Q3DisplayGroup_New();
TQ3GroupObject Q3OrderedDisplayGroup_New();
TQ3GroupObject Q3IOProxyDisplayGroup_New();
TQ3GroupObject Q3LightGroup_New();

TQ3ObjectType Q3Group_GetType(TQ3GroupObject group);
TQ3ObjectType Q3DisplayGroup_GetType(TQ3GroupObject group);
TQ3Status Q3DisplayGroup_GetState(TQ3GroupObject group, TQ3DisplayGroupState* state);
TQ3Status Q3DisplayGroup_SetState(TQ3GroupObject group, TQ3DisplayGroupState state);

// Each returns the new member's position, or null (with an error) when the object
// is not accepted: wrong kind for the group, or the group itself or a group that
// contains it.
TQ3GroupPosition Q3Group_AddObject(TQ3GroupObject group, TQ3Object object);
TQ3GroupPosition Q3Group_AddObjectBefore(TQ3GroupObject group, TQ3GroupPosition position, TQ3Object object);
TQ3GroupPosition Q3Group_AddObjectAfter(TQ3GroupObject group, TQ3GroupPosition position, TQ3Object object);
// A new reference to the member in *object.
TQ3Status Q3Group_GetPositionObject(TQ3GroupObject group, TQ3GroupPosition position, TQ3Object* object);
TQ3Status Q3Group_SetPositionObject(TQ3GroupObject group, TQ3GroupPosition position, TQ3Object object);
// Takes the member out; the group's reference passes to the caller, who disposes it.
TQ3Object Q3Group_RemovePosition(TQ3GroupObject group, TQ3GroupPosition position);

TQ3Status Q3Group_GetFirstPosition(TQ3GroupObject group, TQ3GroupPosition* position);
TQ3Status Q3Group_GetLastPosition(TQ3GroupObject group, TQ3GroupPosition* position);
TQ3Status Q3Group_GetNextPosition(TQ3GroupObject group, TQ3GroupPosition* position);
TQ3Status Q3Group_GetPreviousPosition(TQ3GroupObject group, TQ3GroupPosition* position);
TQ3Status Q3Group_CountObjects(TQ3GroupObject group, TQ3Uns32* nObjects);
TQ3Status Q3Group_EmptyObjects(TQ3GroupObject group);

TQ3Status Q3Group_GetFirstPositionOfType(TQ3GroupObject group, TQ3ObjectType isType, TQ3GroupPosition* position);
TQ3Status Q3Group_GetLastPositionOfType(TQ3GroupObject group, TQ3ObjectType isType, TQ3GroupPosition* position);
TQ3Status Q3Group_GetNextPositionOfType(TQ3GroupObject group, TQ3ObjectType isType, TQ3GroupPosition* position);
TQ3Status Q3Group_GetPreviousPositionOfType(TQ3GroupObject group, TQ3ObjectType isType, TQ3GroupPosition* position);
TQ3Status Q3Group_CountObjectsOfType(TQ3GroupObject group, TQ3ObjectType isType, TQ3Uns32* nObjects);
TQ3Status Q3Group_EmptyObjectsOfType(TQ3GroupObject group, TQ3ObjectType isType);
// The first position holding exactly this object, or null.
TQ3Status Q3Group_GetFirstObjectPosition(TQ3GroupObject group, TQ3Object object, TQ3GroupPosition* position);
