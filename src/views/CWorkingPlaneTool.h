// The working plane: a movable frame (origin, X, Y and Z axis ends at 15) that drawing and
// editing are bound to while gWorkingPlaneOn is set. World points go into its coordinates and
// back through two matrices (points as rows) that ComputeMatrices builds from the frame; they
// stay as they are until it runs again after the frame moved. The native file never holds it.
#pragma once

#include "COrientationDefiner.h"
#include "Matrix4d.h"

class CWorkingPlaneTool : public COrientationDefiner {
  VL_REGISTERED_CLASS(CWorkingPlaneTool, COrientationDefiner)

 public:
  CWorkingPlaneTool() = default;

  // The plane's one initialiser (the capacities are not read): a store for 4 vertices, 4
  // points, 3 edges and 6 faces; origin, Y end (0, 15, 0), X end (15, 0, 0), Z end (0, 0, 15);
  // edges to the three ends; the three coordinate planes in both orientations (face 0, (0, 1,
  // 2), the plane itself); turned 45 degrees about the vertical through the origin. Inactive.
  void InitPlane(SInt16 vertices, SInt16 points, SInt16 edges, SInt16 faces) override;
  virtual Boolean IsActive() const { return active; }
  // The plane of face 0: unit normal and offset.
  virtual void GetPlaneEquation(double* equation);
  virtual void GetWorldToPlane(Matrix4d* out) const { *out = worldToPlane; }
  virtual void GetPlaneToWorld(Matrix4d* out) const { *out = planeToWorld; }
  // Both matrices from the frame as it is now: a world point p goes to ((p - o).U, (p - o).V,
  // (p - o).W) with o the origin and U, V, W the unit axes (a zero-length axis gives zeros).
  // Sets active.
  virtual void ComputeMatrices();
  virtual void WorldToPlane(const Vector3d* world, Vector3d* out) const;
  virtual void PlaneToWorld(const Vector3d* plane, Vector3d* out) const;
  // Clears active; a selected plane is deselected (and so hidden).
  virtual void Deactivate();
  virtual void Activate() { active = 1; }
  // The initial frame again (turned 45 degrees); store, edges and faces stay.
  virtual void ResetFrame();
  // Shown, and drawn only in wireframe views.
  Boolean IsVisible() override { return IsShown(); }
  void Draw(VLViewTransform* view, Rect* updateRect) override;
  // The Y axis end for a point within 0.01 of the origin on each axis; else the origin.
  void FarthestVertex(const Vector3d* point, Vector3d* out) override;

  Matrix4d worldToPlane;
  Matrix4d planeToWorld;
  UInt8 active = 0;

 private:
  void WriteInitialFrame();
};

// Installs the working plane's conversions for the model's plane-bound operations.
void InstallWorkingPlaneConversions();
