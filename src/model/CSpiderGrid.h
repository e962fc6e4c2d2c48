// The working-plane gauge: three axis lines from the working plane's origin along its axes, with
// a tick at every whole unit along each and a longer tick at every period-th unit. The document
// makes one when it is made and disposes of it when it closes; the view draws it while the
// working plane is on. It is never in the object list nor in a file, and always visible.
//
// Between draws its points stay in the working plane's frame, so that moving the plane moves
// the gauge. The tick arrays follow the model object's arrays in the same store.
#pragma once

#include "VLObjectOwner.h"

class CSpiderGrid : public VLObjectOwner {
  VL_REGISTERED_CLASS(CSpiderGrid, VLObjectOwner)

 public:
  CSpiderGrid() = default;

  // The most ticks per axis: every tick count stays within 16 bits.
  static constexpr SInt32 kMaxTicks = 4095;

  // Axis length size / 4 with a tick per whole unit of it; every period-th tick is long (-2.0
  // unit against -0.6 unit); laid out at the point. A period below 1 gives no long tick. Raises
  // kDEErrorAssertionViolated for a size that would give more than kMaxTicks ticks, and
  // kDEErrorNotEnoughMemory when the store cannot be had.
  void ISpiderGrid(double period, double size, double unit, const Vector3d* point);
  // The axis lines and the segments of the ticks.
  virtual void BuildTickSegments();
  // The three axis lines from the origin toward the point's side of each axis (0 counts as
  // positive), and the ticks on the positive half of each axis.
  virtual void LayOut(const Vector3d* point);
  // Projects the ticks from their view-space points when some were clipped (not while a drawing
  // task tracks), then draws them.
  virtual void ProjectTicks(VLViewTransform* view);
  virtual void DrawTicks();

  void SetArrayPointers() override;
  void Draw(VLViewTransform* view, Rect* updateRect) override;
  Boolean IsVisible() override;

  SInt16 tickPointCount = 0;
  SInt16 tickSegmentCount = 0;
  Vector3d* tickPoints = nullptr;
  Vector3d* tickWorkPoints = nullptr;
  Vector3d* tickProjectedPoints = nullptr;
  EdgeRecord* tickSegments = nullptr;
  EdgeSegment* tickScreenSegments = nullptr;
  UInt8* tickFlags = nullptr;
  double axisLength = 0;
  double longTickPeriod = 0;
  double tickUnit = 0;

 private:
  // The cached redraw: the axis lines, the ticks and the outlines.
  void DrawCached(VLViewTransform* view, Rect* updateRect);
  // Every point between the working plane's frame and the world.
  void PointsToWorld(bool toWorld);
};
