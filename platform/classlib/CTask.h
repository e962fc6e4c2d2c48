// An undoable task: made and initialised by the command or tool that performs an edit, done,
// and handed up the chain of command to the application, which keeps the one last task. Undo
// and Redo take the edit back and forth; the undone flag tells which way it stands.
#pragma once

#include "CCollaborator.h"
#include "MacTypes.h"

class CTask : public CCollaborator {
  VL_REGISTERED_CLASS(CTask, CCollaborator)

 public:
  CTask() = default;

  // Stores the name index (the task's item of the undo-name string list) and clears undone.
  void Init(SInt16 nameIndex);

  virtual SInt16 GetNameIndex() const { return nameIndex; }
  // Performs the edit; the base does nothing.
  virtual void Do();
  // The base flips the undone flag.
  virtual void Undo();
  // The base calls the task's own Undo, so a class that overrides only Undo gets both ways.
  virtual void Redo();
  virtual Boolean IsUndone() const { return undone; }
  void ToggleUndone() { undone = !undone; }

 protected:
  SInt16 nameIndex = 0;
  Boolean undone = false;
};
