// Views for the view-layer tests: transforms set up for a pane, cameras placed by hand, and an
// independent pinhole oracle for where a model point belongs on the pane.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>

#include "CurrentWorld.h"
#include "QuickDraw.h"
#include "VLViewTransform.h"
#include "ViewDrawingFlags.h"
#include "Vector3d.h"

inline Vector3d Sub(const Vector3d& a, const Vector3d& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vector3d Add(const Vector3d& a, const Vector3d& b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vector3d Mul(const Vector3d& v, double s) { return {v.x * s, v.y * s, v.z * s}; }
inline double DotOf(const Vector3d& a, const Vector3d& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline Vector3d UnitOf(const Vector3d& v) { return Mul(v, 1.0 / std::sqrt(DotOf(v, v))); }

inline void ExpectNear(const Vector3d& actual, const Vector3d& expected, double tol) {
  EXPECT_NEAR(actual.x, expected.x, tol);
  EXPECT_NEAR(actual.y, expected.y, tol);
  EXPECT_NEAR(actual.z, expected.z, tol);
}

// A transform set up for a pane of that size (the default camera, no matrix yet).
inline VLViewTransform SetUpTransform(SInt16 width, SInt16 height) {
  VLViewTransform t;
  t.IVLViewTransform(width, height);
  return t;
}

// Places the camera: eye and look point, up vector, projection; the window keeps its size.
inline void PlaceCamera(VLViewTransform* t, const Vector3d& eye, const Vector3d& look, const Vector3d& up,
                        bool perspective) {
  t->lookPoint = look;
  t->upVector = up;
  t->planeNormal = UnitOf(Sub(eye, look));
  t->SetReferenceFromEye(&eye);
  t->perspective = perspective ? 1 : 0;
  t->RebuildMatrix();
  t->UpdateScreenAxes();
}

inline void SetWindow(VLViewTransform* t, double halfU, double halfV) {
  t->umin = -halfU;
  t->umax = halfU;
  t->vmin = -halfV;
  t->vmax = halfV;
  t->RebuildMatrix();
}

// A plan view straight down on the origin from (0, 0, 5), north up: the ground point (x, y)
// lies at pane point (200 + 20 x, 150 + 20 y) of a 400 x 300 pane, in parallel projection at
// every height.
inline VLViewTransform PlanFromAbove(bool perspective) {
  VLViewTransform t = SetUpTransform(400, 300);
  SetWindow(&t, 10, 7.5);
  PlaceCamera(&t, {0, 0, 5}, {0, 0, 0}, {0, -1, 0}, perspective);
  return t;
}

// Where a model point belongs on the pane of a full-window view with a window centred on the
// VRP: a pinhole at the eye (or straight lines along the VPN in parallel projection) onto the
// view plane, then the window onto the pane. Screen axes as the transform holds them.
inline Vector3d OracleProject(const VLViewTransform& t, const Vector3d& p) {
  Vector3d eye;
  t.GetEyePoint(&eye);
  const double d = t.projectionReference.z;
  Vector3d rel = Sub(p, t.referencePoint);
  double scale = 1.0;
  if (t.perspective) {
    rel = Sub(p, eye);
    scale = d / -DotOf(rel, t.planeNormal);
  }
  const double across = DotOf(rel, t.screenRight) * scale;
  const double up = DotOf(rel, t.screenUp) * scale;
  return {t.paneWidth / 2.0 + across * t.paneWidth / (t.umax - t.umin),
          t.paneHeight / 2.0 - up * t.paneHeight / (t.vmax - t.vmin), 0.0};
}

// The address of a temporary, for calls that take points by pointer.
inline const Vector3d* ToPtr(const Vector3d& v) { return &v; }

// The flags the painting reads, restored after each test.
class FlagScope {
 public:
  FlagScope(UInt8 shaded, UInt8 tracking = 0, UInt8 printing = 0)
      : saved_{gShadedMode, gTrackingDrawing, gPrintingView, gScaledDrawing} {
    gShadedMode = shaded;
    gTrackingDrawing = tracking;
    gPrintingView = printing;
    gScaledDrawing = 0;
  }
  ~FlagScope() {
    gShadedMode = saved_[0];
    gTrackingDrawing = saved_[1];
    gPrintingView = saved_[2];
    gScaledDrawing = saved_[3];
  }
  FlagScope(const FlagScope&) = delete;
  FlagScope& operator=(const FlagScope&) = delete;

 private:
  UInt8 saved_[4];
};

// The record of the box between lo and hi with its faces pointing out.
inline std::string BoxRecord(Vector3d lo, Vector3d hi) {
  const Vector3d v[8] = {{lo.x, lo.y, lo.z}, {hi.x, lo.y, lo.z}, {hi.x, hi.y, lo.z}, {lo.x, hi.y, lo.z},
                         {lo.x, lo.y, hi.z}, {hi.x, lo.y, hi.z}, {hi.x, hi.y, hi.z}, {lo.x, hi.y, hi.z}};
  const int edges[12][2] = {{0, 1}, {1, 2}, {2, 3}, {3, 0}, {4, 5}, {5, 6}, {6, 7}, {7, 4}, {0, 4}, {1, 5}, {2, 6}, {3, 7}};
  const int loops[6][4] = {{0, 3, 2, 1}, {4, 5, 6, 7}, {0, 1, 5, 4}, {1, 2, 6, 5}, {2, 3, 7, 6}, {3, 0, 4, 7}};
  std::ostringstream text;
  text.precision(17);
  text << "Phase: 1\nMat: 0\nName:\nColor: 0 0 0\nnumVerts: 8\n";
  for (const Vector3d& p : v) text << p.x << " " << p.y << " " << p.z << " 1\n";
  text << "numEdges: 12\n";
  for (const auto& e : edges) text << e[0] << " " << e[1] << "\n";
  text << "numFaces: 6\n";
  for (const auto& loop : loops) {
    text << "numVerts: 4\n";
    for (int k : loop) text << k << "\n";
  }
  return text.str();
}
