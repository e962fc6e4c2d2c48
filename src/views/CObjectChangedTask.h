// Undoable changes made to objects in place. The task records the selected objects when it is
// made, each through a keeper of the kind that fits the change; the command then changes the
// objects. Undo and Redo each record the objects selected at that moment and write the kept
// record back, so that every toggle exchanges the present state with the recorded one.
//
// The concrete tasks: CColorChangedTask (colour), CFlipTask (vertices and frame axes),
// CVertsChangedTask (vertices) and CVertsAndTypeChangedTask (whole geometry and type), each
// with its own init; all implemented in CObjectChangedTask.cpp.
#pragma once

#include "CMouseTask.h"
#include "QuickDraw.h"

class CDataKeeper;
class VLArray;

class CObjectChangedTask : public CMouseTask {
  VL_REGISTERED_CLASS(CObjectChangedTask, CMouseTask)

 public:
  CObjectChangedTask() = default;
  // Disposes of every keeper, then of the list.
  ~CObjectChangedTask() override;

  // The task's init with its name index, and an empty keeper list. Raises kDEErrorNilPointer
  // when the list cannot be made.
  void IObjectChangedTask(SInt16 nameIndex);
  // Records every selected object of the active document (the planes too when selected), each
  // with a keeper made by the prototype's NewChildKeeper. Raises kDEErrorNotEnoughMemory when a
  // keeper cannot be made or filled; what was recorded stays with the task.
  virtual void KeepSelection(CDataKeeper* prototype);
  // Flips the undone flag, then restores and disposes of every keeper in order.
  void Undo() override;

  long CountKeepers() const;

 protected:
  // A new keeper of the class that fits the task's change (null when memory runs out).
  virtual CDataKeeper* NewKeeper() = 0;
  // KeepSelection with a prototype of NewKeeper's class. Starting (the task's init), the
  // selected owners first drop the openings that earlier edits took off them.
  void RecordSelection(bool starting);
  // Undo and Redo of the concrete tasks: records what is selected now into a new list, writes
  // the old record back (Undo above), and keeps the new record for the next toggle.
  void ExchangeWithSelection();

  VLArray* keepers = nullptr;
};

// The colour given to the selection; the current object colour follows Undo and Redo.
class CColorChangedTask : public CObjectChangedTask {
  VL_REGISTERED_CLASS(CColorChangedTask, CObjectChangedTask)

 public:
  // Records the selection's colours and keeps the current object colour.
  void IColorChangedTask(SInt16 nameIndex);
  // The exchange of states, then the current object colour and the task's exchange places and
  // the tool palette redraws its colour item.
  void Undo() override;

 protected:
  CDataKeeper* NewKeeper() override;

  RGBColor colour;
};

class CFlipTask : public CObjectChangedTask {
  VL_REGISTERED_CLASS(CFlipTask, CObjectChangedTask)

 public:
  void IFlipTask(SInt16 nameIndex);
  void Undo() override { ExchangeWithSelection(); }

 protected:
  CDataKeeper* NewKeeper() override;
};

class CVertsChangedTask : public CObjectChangedTask {
  VL_REGISTERED_CLASS(CVertsChangedTask, CObjectChangedTask)

 public:
  void IVertsChangedTask(SInt16 nameIndex);
  void Undo() override { ExchangeWithSelection(); }

 protected:
  CDataKeeper* NewKeeper() override;
};

class CVertsAndTypeChangedTask : public CObjectChangedTask {
  VL_REGISTERED_CLASS(CVertsAndTypeChangedTask, CObjectChangedTask)

 public:
  void IVertsAndTypeChangedTask(SInt16 nameIndex);
  void Undo() override { ExchangeWithSelection(); }

 protected:
  CDataKeeper* NewKeeper() override;
};
