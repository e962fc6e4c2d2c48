#include "CAlignObjectsTask.h"

#include <new>

#include "DETException.h"
#include "ObjectList.h"
#include "Unwinding.h"
#include "VLArray.h"
#include "VLUser3DObject.h"

CAlignObjectsTask::~CAlignObjectsTask() {
  if (alignRecords)
    for (long i = 1; i <= alignRecords->GetNumItems(); ++i) {
      AlignRecord record;
      alignRecords->GetItem(&record, i);
      if (record.object) record.object->Dispose();
    }
  delete alignRecords;
}

void CAlignObjectsTask::IAlignObjectsTask() {
  CTask::Init(kAlignName);
  alignRecords = new (std::nothrow) VLArray(long(sizeof(AlignRecord)));
  ThrowIfNil(alignRecords);
  for (long i = 1; gCurrentObjectList && i <= gCurrentObjectList->GetNumItems(); ++i) {
    auto* object = static_cast<VLUser3DObject*>(gCurrentObjectList->PointerAt(i));
    if (!object || !object->selected) continue;
    Owned<VLUser3DObject> copy(object->MakeCopy(nullptr));
    ThrowIfNil(copy.get());
    AlignRecord record;
    record.object = copy.get();
    record.position = SInt32(i);
    alignRecords->Append(&record);
    copy.release();
  }
}

void CAlignObjectsTask::Undo() {
  ToggleUndone();
  if (!alignRecords || !gCurrentObjectList) return;
  for (long i = 1; i <= alignRecords->GetNumItems(); ++i) {
    AlignRecord record;
    alignRecords->GetItem(&record, i);
    if (!record.object || record.position < 1 || record.position > gCurrentObjectList->GetNumItems()) continue;
    auto* present = static_cast<VLUser3DObject*>(gCurrentObjectList->PointerAt(record.position));
    if (present) {
      present->MarkChanged();
      present->Deselect();
    }
    VLUser3DObject* kept = record.object;
    record.object = present;
    alignRecords->SetItem(&record, i);
    gCurrentObjectList->SetItem(&kept, record.position);
    kept->Select();
  }
}
