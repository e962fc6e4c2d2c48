// Small solids for the model object tests: a unit block, an L-shaped extrusion and a flat
// rectangle, built straight into the geometry store.
#pragma once

#include <cstdio>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "ObjectInfoRecord.h"
#include "Selection.h"
#include "VLIndexedCluster.h"
#include "VLUser3DObject.h"

namespace modeltest {

// Sets the object's vertices, edges and faces (the store is made to fit), then computes the
// face planes. Faces are given as loops of vertex indices.
void SetGeometry(VLUser3DObject* object, const std::vector<Vector3d>& vertices,
                 const std::vector<std::vector<SInt16>>& faces, bool withEdges = true);

// The unit cube [0,1]^3 with every face loop running clockwise seen from outside.
void MakeBlock(VLUser3DObject* object);
// An L-shaped prism of height 1: the outline (0,0) (2,0) (2,1) (1,1) (1,2) (0,2), with its
// faces pointing out.
void MakeLExtrusion(VLUser3DObject* object);
// A 2 by 1 rectangle at z = 0 with an upper and a lower face.
void MakeFlatRectangle(VLUser3DObject* object);

// The vertices, or one of them, as they are now.
std::vector<Vector3d> Vertices(VLUser3DObject* object);
Vector3d VertexAt(VLUser3DObject* object, SInt16 vertex);
// Each component within the tolerance.
void ExpectNear(const Vector3d& actual, const Vector3d& expected, double tolerance, const std::string& what = "");

// The screen points the last drawing would leave of a plan drawn at 100 pixels to the unit:
// pane x from x, pane y from y.
void ProjectAsPlan(VLUser3DObject* object);

// The loop of a face as a vector.
std::vector<SInt16> Loop(VLUser3DObject* object, SInt16 face);
// The outward normal of a face of a solid: its centre moved along the stored normal lies
// outside (tested against the solid's bounding box for the convex cases).
Vector3d Normal(VLUser3DObject* object, SInt16 face);

}  // namespace modeltest

namespace modeltest {

// Objects are disposed through their virtual Dispose, as the program does.
struct ObjectDeleter {
  void operator()(VLUser3DObject* object) const {
    if (object) object->Dispose();
  }
};
using ObjectPtr = std::unique_ptr<VLUser3DObject, ObjectDeleter>;
inline ObjectPtr NewObject() { return ObjectPtr(new VLUser3DObject); }

// The object body as WriteText writes it.
std::string WriteBody(VLUser3DObject* object, double factor);

// C files closed when they go.
struct FileCloser {
  void operator()(std::FILE* file) const {
    if (file) std::fclose(file);
  }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;
// What a writer puts into a file, as text.
std::string WrittenText(const std::function<void(std::FILE*)>& write);
// A temporary file holding the text, at its start.
FilePtr FileWithText(const std::string& text);

// What an independent DXF reader (python3-ezdxf) makes of an entity: its type, whether it is a 3D
// polyline and closed, and its vertices as "x y z" in three decimals joined by ';'.
struct DxfEntityRead {
  std::string type;
  int is3d = 0;
  int closed = 0;
  std::string points;
};
// Whether the reader is installed (under the Debian interpreter, which sees the package's modules).
bool IndependentDxfReaderPresent();
// The entities of the text wrapped in an ENTITIES section, as that reader reads them; a test
// failure and none when it cannot read them.
std::vector<DxfEntityRead> ReadWithIndependentDxfReader(const std::string& entities);

// An object text record of these vertices and face loops, with an edge for every side of a
// loop (each shared side once).
std::string BodyRecord(const std::vector<Vector3d>& vertices, const std::vector<std::vector<SInt16>>& faces);
// A new object read from a record (a failed read fails the calling test).
ObjectPtr ReadObject(const std::string& record);
// Reads a record into an object of the caller's class, as ReadObject does.
void ReadInto(VLUser3DObject* object, const std::string& record);
// The record of a prism over an outline in the xy plane, clockwise seen from above, from z =
// bottom to z = top. Vertices 0 to n - 1 lie on the outline at the bottom and n to 2n - 1 above
// them; face i is the side from outline point i to i + 1, face n the top and face n + 1 the
// bottom. The bottom's loop runs the other way starting one place on, as an extrusion's back
// face does, so that OffsetFace from the top rebuilds it.
std::string PrismRecord(const std::vector<Vector3d>& outline, double bottom, double top);
// The prism of the box between lo and hi, its outline starting at lo: faces 0 to 3 are the sides
// x = lo.x, y = hi.y, x = hi.x and y = lo.y, face 4 the top and face 5 the bottom.
std::string BoxRecord(Vector3d lo, Vector3d hi);

// A collaborator that keeps every notice it hears, with a copy of the info record of the
// palette reasons (500 to 505).
struct NoticeRecorder : CCollaborator {
  struct Notice {
    long reason = 0;
    bool hasRecord = false;
    ObjectInfoRecord record;
  };
  std::vector<Notice> heard;
  void ProviderChanged(CCollaborator* provider, long reason, void* info) override;
};

// The object info palette while it lives: gObjectInfoBox points at it. It keeps every notice
// of the objects it depends on and counts the times it is told that several are selected.
class PaletteStandIn : public NoticeRecorder, public ObjectInfoPalette {
 public:
  PaletteStandIn();
  ~PaletteStandIn() override;
  PaletteStandIn(const PaletteStandIn&) = delete;
  PaletteStandIn& operator=(const PaletteStandIn&) = delete;

  CCollaborator* PaletteCollaborator() override { return this; }
  void ShowMultipleSelection() override { ++multipleSelections; }
  // Whether the palette and the object are each other's provider.
  bool LinkedWith(const VLUser3DObject* object) const;

  int multipleSelections = 0;

 private:
  ObjectInfoPalette* saved_;
};

// An empty selection list as the active document's while it lives.
class SelectionList {
 public:
  SelectionList();
  ~SelectionList();
  SelectionList(const SelectionList&) = delete;
  SelectionList& operator=(const SelectionList&) = delete;

  // The selected objects in selection order.
  std::vector<VLUser3DObject*> Objects() const;

 private:
  VLArray list_;
  VLArray* saved_;
};

// The objects, in order, as the active document's object list while it lives.
class ObjectListStandIn {
 public:
  explicit ObjectListStandIn(std::initializer_list<VLUser3DObject*> objects);
  ~ObjectListStandIn();
  ObjectListStandIn(const ObjectListStandIn&) = delete;
  ObjectListStandIn& operator=(const ObjectListStandIn&) = delete;

 private:
  VLArray list_;
  VLArray* saved_;
};

// Phase 1, shown and selectable, as the active document's phases while it lives: objects of
// that phase are visible, so that MarkChanged marks them.
class ShownPhase {
 public:
  ShownPhase();
  ~ShownPhase();
  ShownPhase(const ShownPhase&) = delete;
  ShownPhase& operator=(const ShownPhase&) = delete;

 private:
  VLIndexedCluster phases_;
  VLIndexedCluster* saved_;
};

// Sets the drawing roles (gAxisX, gAxisY, gAxisZ) for its lifetime.
class DrawingRoles {
 public:
  DrawingRoles(SInt16 x, SInt16 y, SInt16 z);
  ~DrawingRoles();
  DrawingRoles(const DrawingRoles&) = delete;
  DrawingRoles& operator=(const DrawingRoles&) = delete;

 private:
  SInt16 saved_[3];
};

// A working plane for the model's plane-bound operations while it lives: gWorkingPlaneOn is set
// and points convert through a frame with these (orthonormal) axes and origin.
class WorkingPlaneStandIn {
 public:
  WorkingPlaneStandIn(Vector3d origin, Vector3d x, Vector3d y, Vector3d z);
  ~WorkingPlaneStandIn();
  WorkingPlaneStandIn(const WorkingPlaneStandIn&) = delete;
  WorkingPlaneStandIn& operator=(const WorkingPlaneStandIn&) = delete;

  Matrix4d toPlane;
  Matrix4d toWorld;
};

}  // namespace modeltest
