// Closed point loops: a relocatable block of count consecutive Vector3d, the count a signed
// 16-bit value kept by the caller. Edge i runs from point i to point i + 1, the closing edge
// from the last point to the first; a repeated first point at the end forms a zero-length
// edge, which the polygon routines skip.
//
// Reading routines take at most the points the block holds; a negative count or a null handle
// is an empty loop. The edits (append, reverse, rotate, split) throw a DETException when memory
// runs out, when a loop would pass 32767 points, or when the block does not hold count points;
// the caller's loop is then left as it was.
#pragma once

#include "GeometryKernel.h"
#include "MacTypes.h"
#include "Vector3d.h"

constexpr SInt16 kMaxLoopPoints = 32767;

// Strictly inside the loop; a point on the boundary (within 1e-5) is outside. A point off the
// loop's plane sees only the edge its probing ray aims at, so it counts as inside.
bool PointInPolygon(const Vector3d* point, Handle loop, SInt16 count);
// Unit normal about which the loop turns clockwise; the zero vector for a loop with fewer than
// three points, no corner that is not collinear, or a non-finite coordinate. Works for loops of
// any length without scratch memory.
void PolygonNormal(Handle loop, SInt16 count, Vector3d* normal);
// True when loop B, reversed and rotated as needed, has loop A's normal (within 1e-5); B is left
// in the last arrangement tried. False when nB is negative or A has no normal. Each arrangement
// is a new block made by the edits below, which may throw.
bool AlignPointLoops(Handle loopA, SInt16 countA, Handle* loopB, SInt16 countB);
// The part of the polygon with n . p + d >= 0, crossing points added, as a new block in *result
// (null when empty; the previous *result is not released). A polygon lying wholly in the plane
// gives an empty result.
void SplitPolygonByPlane(const Vector3d* n, double d, const Vector3d* points, SInt16 count, Handle* result,
                         SInt16* resultCount);
// Appends a copy of the point (which may lie in the loop itself) into a new block; the old block
// is released when count was above 0.
void AppendPointToLoop(const Vector3d* point, SInt16* count, Handle* loop);
void ReversePointLoop(Handle* loop, SInt16 count);
void RotatePointLoop(Handle* loop, SInt16 count);  // point i + 1 becomes point i
// The busy cursor of long operations, shown through a hook the shell installs, since the
// geometry code links no user interface: busy or not, answering the state before. Without a
// hook nothing is shown.
using BusyCursorHook = Boolean (*)(Boolean busy);
void SetBusyCursorHook(BusyCursorHook hook);
// A relocatable block of that many bytes from the porting layer's temporary memory, with the
// busy cursor meanwhile; the caller checks PortMemError afterwards.
Handle RunWithBusyCursor(Size byteSize);

// Shared scratch block for the transformed points of one loop, allocated at start-up with
// kPointWorkBufferSize bytes (room for 1461 points). Code that fills it with a loop asks for
// room first: ReservePointWorkBuffer grows the block to hold count points and answers it, or
// null (the block unchanged) when count is negative or the memory cannot be had.
extern Ptr gPointWorkBuffer;
constexpr Size kPointWorkBufferSize = 35080;
Vector3d* ReservePointWorkBuffer(long count);
