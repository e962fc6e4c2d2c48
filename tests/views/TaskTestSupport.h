// A model as the active document holds it, for the undoable tasks' tests: an object list with
// the section and working planes at positions 1 and 2, a selection list and one shown phase,
// all published while the model lives; the objects of the list are disposed of with it. The
// model's content is compared as the multiset of the objects' text records.
#pragma once

#include <string>
#include <vector>

#include "BoxLayout.h"
#include "CRectangularOpening.h"
#include "ModelTestSupport.h"
#include "OpeningTestSupport.h"
#include "VLArray.h"
#include "VLCube.h"
#include "VLPolyline.h"

namespace tasktest {

class TaskModel {
 public:
  TaskModel();
  ~TaskModel();
  TaskModel(const TaskModel&) = delete;
  TaskModel& operator=(const TaskModel&) = delete;

  // Appends an object to the list (the list owns it from then on).
  template <class T>
  T* Add(T* object) {
    list_.AppendPointer(object);
    return object;
  }
  // A block between the two corners.
  VLCube* Block(Vector3d lo, Vector3d hi);
  // A wall 10 long, 1 thick, 3 high from the origin moved by the offset, with windows.
  VLOpeningOwner* WallWithWindows(Vector3d offset, int windows);
  // An outline through the points in the plane z = 0, closed or open.
  VLPolyline* Outline(const std::vector<Vector3d>& points, bool closed);

  VLUser3DObject* At(long position) const { return static_cast<VLUser3DObject*>(list_.PointerAt(position)); }
  long Count() const { return list_.GetNumItems(); }
  VLUser3DObject* SectionPlane() const { return At(1); }
  VLUser3DObject* WorkingPlane() const { return At(2); }
  // The model objects (positions 3 and on).
  std::vector<VLUser3DObject*> Objects() const;
  std::vector<VLUser3DObject*> Selected() const { return selection_.Objects(); }
  void DeselectAll();

  // The objects' records (positions 3 and on), sorted: the model as a multiset.
  std::vector<std::string> Records() const;

 private:
  VLArray list_;
  VLArray* savedList_;
  modeltest::SelectionList selection_;
  modeltest::ShownPhase phase_;
};

// An object's text record, its openings' included.
std::string RecordOf(VLUser3DObject* object);

}  // namespace tasktest
