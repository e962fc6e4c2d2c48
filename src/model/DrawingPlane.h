// The drawing-plane state that the view pane publishes and that every plane-bound operation of
// the model objects reads: whether drawing is bound to the working plane, which one, which
// point components play the x, y and z roles, and the current pane's view.
//
// The working plane's class stands above the model objects, so it hands its two conversions to
// this layer (SetWorkingPlaneConversions) rather than the model objects calling it directly.
#pragma once

#include "MacTypes.h"
#include "Vector3d.h"

class CWorkingPlaneTool;
class VLViewTransform;

extern UInt8 gWorkingPlaneOn;
extern CWorkingPlaneTool* gWorkingPlane;
extern SInt16 gAxisX;  // component playing the x role: 0, 1 or 2
extern SInt16 gAxisY;
extern SInt16 gAxisZ;
// The view transform of the current view pane, which edits made "as the user sees them" read
// (an opening nudged or duplicated within its wall); null while there is no view pane. The pane
// sets it when it becomes current and clears it when it goes.
extern VLViewTransform* gCurrentViewTransform;

// Converts a point between world and the plane's own coordinates; out may be in.
using PlanePointConversion = void (*)(CWorkingPlaneTool* plane, const Vector3d* in, Vector3d* out);
void SetWorkingPlaneConversions(PlanePointConversion worldToPlane, PlanePointConversion planeToWorld);

// A world point in drawing-plane coordinates: through gWorkingPlane while gWorkingPlaneOn is set
// and a plane is there to convert; otherwise a copy.
void WorldToDrawingPlane(const Vector3d* world, Vector3d* out);
// The way back.
void DrawingPlaneToWorld(const Vector3d* plane, Vector3d* out);
// The three role indices, each kept within 0..2 so that they can index a point's components.
SInt16 AxisRole(SInt16 axis);
// Turns p about centre in the plane of the gAxisX and gAxisY roles, through the angle whose
// cosine and sine are c and s: a positive angle turns the gAxisX direction towards gAxisY. The
// gAxisZ role stays. Both points are taken as given (plane coordinates while the plane is on).
void TurnInDrawingPlane(Vector3d* p, const Vector3d* centre, double c, double s);
// The working plane's x, y and z axes in world coordinates, that is the first three columns of
// its world-to-plane matrix; false, nothing written, while drawing is not bound to a plane.
bool DrawingPlaneAxes(Vector3d* x, Vector3d* y, Vector3d* z);
