// The point store and the recorded segments shared by the view adornments (grid, grid walls,
// horizon line, north arrow). An adornment's store is one block: its model points (the object's
// vertices) followed by room for its projected points (the object's screen points). Drawing
// projects each segment, draws the visible ones and records their pane ends two by two, so that
// a redraw repeats them without projecting again.
#pragma once

#include "MacTypes.h"
#include "QuickDraw.h"
#include "VL3DObject.h"
#include "Vector3d.h"

class VLViewTransform;

namespace vlviews {

// A new store of modelPoints points followed by room for projectedPoints, all zero, in place of
// the object's store (kept when the new one cannot be made). The vertex count becomes
// modelPoints and the recorded count 0; the pointers are set. Raises kDEErrorNotEnoughMemory
// with the memory error, or kDEErrorNilPointer.
void AllocateAdornmentPoints(VL3DObject* object, SInt16 modelPoints, SInt16 projectedPoints);
// Sets the object's vertex and screen-point pointers from its store (null without one).
void PointAtAdornmentPoints(VL3DObject* object);

// Projects the model segment p-q; when it is visible and room is left, records its pane ends
// as the next two screen points and draws it with the pen (coordinates truncated).
void RecordSegment(VL3DObject* object, const VLViewTransform* view, const Vector3d& p, const Vector3d& q);
// Draws the recorded segments again.
void RedrawSegments(const VL3DObject* object);
// The box of the recorded points, grown by 4 pixels each way (minimums from 32767, maximums
// from 0); false, out untouched, when nothing was recorded.
bool RecordedBounds(const VL3DObject* object, Rect* out);

// The grid colour: on a colour port the foreground becomes the colour, on a one-bit port the pen
// pattern grey. Answers whether the port is a colour port, for EndGridColour.
bool BeginGridColour(const RGBColor& colour);
// Back to a black foreground, or a black pen pattern on a one-bit port.
void EndGridColour(bool colourPort);

}  // namespace vlviews
