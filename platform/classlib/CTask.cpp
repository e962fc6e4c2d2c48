#include "CTask.h"

void CTask::Init(SInt16 index) {
  nameIndex = index;
  undone = false;
}

void CTask::Do() {}

void CTask::Undo() { ToggleUndone(); }

void CTask::Redo() { Undo(); }
