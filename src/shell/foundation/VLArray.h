// The program's array of object pointers: a class-library array indexed from 1.
#pragma once

#include "CArray.h"

class VLArray : public CArray {
  VL_REGISTERED_CLASS(VLArray, CArray)

 public:
  // Item size of an array of object pointers.
  static constexpr long kPointerSize = long(sizeof(void*));

  VLArray();  // item size 0, step 3: the caller sets the item size before storing items
  explicit VLArray(long itemSize);
  VLArray(const VLArray& other);

  CCollaborator* Clone() const override;
  // Deletes the first item equal to the given pointer; nothing when there is none (or when the
  // items are not pointers).
  void Remove(const void* item);

  // Pointer items, for arrays of kPointerSize.
  void* PointerAt(long index) const;
  void AppendPointer(const void* pointer);
  long IndexOfPointer(const void* pointer) const;

 protected:
  void CopyItemsFrom(const CArray& other);
};
