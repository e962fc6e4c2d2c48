// A growable array of items of one fixed size, kept in one relocatable block (Memory.h) and
// indexed from 1 to the item count. The block grows and shrinks by the allocation step and
// moves when it does, so no pointer into it is handed out: items are copied in and out.
//
// Index 0, a negative index or one past the end (past the count + 1 for insertion) fails with
// paramErr; insertion at any index past the count appends (32767 is the usual way to say so).
// While the array is locked, changes are refused and leave it as it was. Growing fails with
// memFullErr before anything changes. Each change is broadcast to the dependents:
// 'ARR0' inserted, 'ARR1' deleted, 'ARR2' moved, 'ARR4' replaced; the info points to the
// index (a long), for a move to the two indexes from and to.
#pragma once

#include "CCollection.h"
#include "MacTypes.h"

class CArray : public CCollection {
  VL_REGISTERED_CLASS(CArray, CCollection)

 public:
  explicit CArray(long itemSize = 0, SInt16 blockSize = 3);
  ~CArray() override;

  // Empties the array and sets its item size and allocation step (a step below 1 counts as 1).
  void IArray(long itemSize, SInt16 blockSize);

  long GetItemSize() const { return itemSize; }
  // Only an empty array can change its item size (paramErr otherwise).
  void SetItemSize(long newItemSize);
  SInt16 GetBlockSize() const { return blockSize; }
  void SetBlockSize(SInt16 newBlockSize);
  // Number of items the block has room for.
  long GetSlotCount() const { return numSlots; }

  void SetLocked(Boolean locked) { lockChanges = locked; }
  Boolean IsLocked() const { return lockChanges; }

  // Copies item index into *item.
  void GetItem(void* item, long index) const;
  // Replaces item index by a copy of *item.
  virtual void SetItem(const void* item, long index);
  // Inserts a copy of *item so that it becomes item index (past the count: appended).
  virtual void InsertAtIndex(const void* item, long index);
  void InsertAt(const void* item, long index) { InsertAtIndex(item, index); }
  void Append(const void* item) { InsertAtIndex(item, numItems + 1); }
  virtual void DeleteItem(long index);
  // Moves item from to position to (past the count: to the end).
  virtual void MoveItem(long from, long to);
  // Index of the first item whose bytes equal *item; 0 when none.
  long FindIndex(const void* item) const;
  // Deletes every item.
  void DeleteAll();

  // A new array of the same item size and step holding the same items; null when memory runs out.
  CCollaborator* Clone() const override;

 protected:
  // Removal without a broadcast: items after index move down, and the block gives back one
  // step when the slots exceed the count by more than the step. Refused while locked.
  void DropItem(long index);
  // Throws paramErr unless 1 <= index <= count.
  void CheckIndex(long index) const;
  // Makes room for one more item (memFullErr when there is none).
  void GrowForOne();
  char* ItemAddress(long index) const { return *items + (index - 1) * itemSize; }

  long itemSize = 0;
  SInt16 blockSize = 3;
  long numSlots = 0;
  Handle items = nullptr;
  Boolean lockChanges = false;
};

constexpr long kArrayInserted = FourCharReason("ARR0");
constexpr long kArrayDeleted = FourCharReason("ARR1");
constexpr long kArrayMoved = FourCharReason("ARR2");
constexpr long kArrayReplaced = FourCharReason("ARR4");
