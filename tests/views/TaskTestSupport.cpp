#include "TaskTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "ObjectList.h"
#include "VLDocument.h"
#include "VLOpening.h"

namespace tasktest {

TaskModel::TaskModel() : list_(VLArray::kPointerSize), savedList_(gCurrentObjectList) {
  // Stand-ins for the planes: objects without geometry, as a new document has them.
  list_.AppendPointer(new VLUser3DObject);
  list_.AppendPointer(new VLUser3DObject);
  gCurrentObjectList = &list_;
  gObjectCount = SInt32(list_.GetNumItems());
}

TaskModel::~TaskModel() {
  DeselectAll();
  for (long i = 1; i <= list_.GetNumItems(); ++i)
    if (VLUser3DObject* object = At(i)) object->Dispose();
  gCurrentObjectList = savedList_;
  gObjectCount = 0;
}

VLCube* TaskModel::Block(Vector3d lo, Vector3d hi) {
  auto* block = new VLCube;
  Vector3d corners[boxlayout::kCorners];
  boxlayout::CornersOfExtent(lo, hi, corners);
  EXPECT_TRUE(block->SetCorners(corners));
  block->phase = 1;
  return Add(block);
}

VLOpeningOwner* TaskModel::WallWithWindows(Vector3d offset, int windows) {
  openingtest::OwnerPtr wall = openingtest::Wall();
  for (int i = 0; i < windows; ++i) EXPECT_NE(openingtest::Window(wall.get(), 1 + 3 * i, 1, 2 + 3 * i, 2), nullptr);
  wall->Move(&offset);
  return Add(wall.release());
}

VLPolyline* TaskModel::Outline(const std::vector<Vector3d>& points, bool closed) {
  auto* outline = new VLPolyline;
  outline->InitStorage();
  for (std::size_t i = 0; i < points.size(); ++i) outline->BuildGeometry(nullptr, i > 0, &points[i], -1, nullptr);
  outline->closed = closed ? 1 : 0;
  outline->BuildOutlineEdges(false);
  outline->phase = 1;
  return Add(outline);
}

std::vector<VLUser3DObject*> TaskModel::Objects() const {
  std::vector<VLUser3DObject*> objects;
  for (long i = VLDocument::kFirstModelObject; i <= list_.GetNumItems(); ++i) objects.push_back(At(i));
  return objects;
}

void TaskModel::DeselectAll() {
  for (VLUser3DObject* object : Selected()) object->Deselect();
}

std::vector<std::string> TaskModel::Records() const {
  std::vector<std::string> records;
  for (VLUser3DObject* object : Objects()) records.push_back(RecordOf(object));
  std::sort(records.begin(), records.end());
  return records;
}

std::string RecordOf(VLUser3DObject* object) {
  std::string record = modeltest::WrittenText([&](std::FILE* file) { object->WriteText(file, 1.0); });
  // The openings as a set: one given back comes at the end of its owner's list.
  std::vector<std::string> openings;
  if (auto* owner = dynamic_cast<VLOpeningOwner*>(object))
    for (VLOpening* opening : owner->Openings())
      openings.push_back(modeltest::WrittenText([&](std::FILE* file) { opening->WriteText(file, 1.0); }));
  std::sort(openings.begin(), openings.end());
  for (const std::string& opening : openings) record += opening;
  return record;
}

}  // namespace tasktest
