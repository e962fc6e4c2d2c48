// Conventions the whole view layer shares: the view kinds and the commands that choose the
// elevations, and how a projected coordinate becomes a 16-bit pane value.
#pragma once

#include "GeometryKernel.h"
#include "MacTypes.h"
#include "Vector3d.h"

// View kinds, as the view transform and the saved views hold them. Only the perspective view
// projects in perspective; the plan and the four elevations are the principal views.
enum : SInt16 {
  kPerspectiveView = 0,
  kPlanView = 1,
  kNorthElevationView = 2,
  kSouthElevationView = 3,
  kEastElevationView = 4,
  kWestElevationView = 5,
  kAxonometricView = 6,
  kViewKindCount = 7,
};

// The commands that choose an elevation, in the order of the kinds they choose.
enum : SInt16 {
  kCmdNorthElevation = 6100,
  kCmdSouthElevation = 6101,
  kCmdEastElevation = 6102,
  kCmdWestElevation = 6103,
};

// The view pane's own commands, which the document's menu update enables and checks: the ground
// grid, the section-plane and working-plane tools, the working plane onto a face, an object's
// frame or the selection, its reset, the section cut and the seven alignments.
enum : long {
  kCmdGroundGrid = 4001,
  kCmdSectionTool = 4014,
  kCmdWorkingPlaneTool = 4200,
  kCmdPlaneOntoFace = 4201,
  kCmdPlaneOntoFrame = 4202,
  kCmdResetPlane = 4203,
  kCmdPlaneOntoSelection = 4204,
  kCmdSectionCut = 6001,
  kCmdFirstAlignment = 6601,
  kCmdLastAlignment = 6607,
};

// The largest magnitude a projected pane coordinate keeps. Every place where a projected value
// becomes a 16-bit pane value clamps to it.
constexpr double kPaneCoordinateLimit = 30000.0;

// The value clamped to -kPaneCoordinateLimit..kPaneCoordinateLimit; a NaN stays a NaN.
double ClampPaneCoordinate(double value);
// A projected coordinate as a pane value: clamped, then truncated toward zero. False, with out
// untouched, for a value that is not finite (a point on the eye plane projects to infinity).
bool PaneCoordinate(double value, SInt16* out);
// The pane point (v, h) of a projected point (h, v, depth); false, out untouched, when either
// coordinate is not finite.
bool PanePointFromProjected(const Vector3d* projected, Point* out);
