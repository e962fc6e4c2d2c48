// A solid of any shape that is not drawn as an outline: read from the native file or imported
// as a mesh. A polyline of type 6, always closed and extruded, so that it behaves as a solid
// everywhere (handle box from 7 faces, openings in its faces, face export); its vertices, edges
// and faces follow no extrusion numbering, and its caps are never used.
#pragma once

#include "VLPolyline.h"

class CPolyhedron : public VLPolyline {
  VL_REGISTERED_CLASS(CPolyhedron, VLPolyline)

 public:
  CPolyhedron() = default;

  // The polyline's InitStorage, then type 6.
  void InitStorage() override;
  // "Polyhedron:" and the rest as a polyline (VLObjectRecords.cpp).
  void WriteText(std::FILE* file, double factor) override;
  // A mesh of m rows of n points (row-major; closed joins the last row back to the first), every
  // cell two quadrilateral faces facing both ways. Raises kDEErrorAssertionViolated for counts
  // that pass the store's 16-bit range (nothing changed), kDEErrorNotEnoughMemory when memory
  // runs out.
  virtual void BuildMesh(SInt16 m, SInt16 n, const Vector3d* points, UInt8 closedRows);
  VLUser3DObject* MakeCopy(VLUser3DObject* target) override;
};

// A polyhedron with these capacities and v vertices for the importers to fill; null when it
// cannot be made.
CPolyhedron* NewPolyhedron(SInt16 vertices, SInt16 points, SInt16 edges, SInt16 faces);
