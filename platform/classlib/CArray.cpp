#include "CArray.h"

#include <cstring>
#include <new>

#include "CException.h"
#include "Memory.h"

CArray::CArray(long newItemSize, SInt16 newBlockSize) { IArray(newItemSize, newBlockSize); }

CArray::~CArray() { PortFreeHandle(items); }

void CArray::IArray(long newItemSize, SInt16 newBlockSize) {
  PortFreeHandle(items);
  items = nullptr;
  numItems = 0;
  numSlots = 0;
  itemSize = newItemSize < 0 ? 0 : newItemSize;
  SetBlockSize(newBlockSize);
}

void CArray::SetItemSize(long newItemSize) {
  if (newItemSize < 0 || (numItems > 0 && newItemSize != itemSize)) Failure(paramErr, 0);
  if (newItemSize == itemSize) return;
  PortFreeHandle(items);
  items = nullptr;
  numSlots = 0;
  itemSize = newItemSize;
}

void CArray::SetBlockSize(SInt16 newBlockSize) { blockSize = newBlockSize < 1 ? 1 : newBlockSize; }

void CArray::CheckIndex(long index) const {
  if (index < 1 || index > numItems) Failure(paramErr, 0);
}

void CArray::GetItem(void* item, long index) const {
  CheckIndex(index);
  std::memcpy(item, ItemAddress(index), std::size_t(itemSize));
}

void CArray::SetItem(const void* item, long index) {
  CheckIndex(index);
  if (lockChanges) return;
  std::memmove(ItemAddress(index), item, std::size_t(itemSize));
  NotifyDependents(kArrayReplaced, &index);
}

void CArray::GrowForOne() {
  if (itemSize <= 0) Failure(paramErr, 0);
  if (numItems < numSlots) return;
  long slots = numSlots + blockSize;
  if (slots > kMaxBlockSize / itemSize) Failure(memFullErr, 0);
  Size bytes = Size(slots) * itemSize;
  if (items) {
    PortResizeHandle(items, bytes);
  } else {
    items = PortAllocHandle(bytes);
    if (!items) Failure(memFullErr, 0);
  }
  FailMemError();
  numSlots = slots;
}

void CArray::InsertAtIndex(const void* item, long index) {
  if (index < 1) Failure(paramErr, 0);
  if (lockChanges) return;
  if (index > numItems) index = numItems + 1;
  GrowForOne();
  char* at = ItemAddress(index);
  std::memmove(at + itemSize, at, std::size_t((numItems - index + 1) * itemSize));
  std::memmove(at, item, std::size_t(itemSize));
  ++numItems;
  NotifyDependents(kArrayInserted, &index);
}

void CArray::DropItem(long index) {
  CheckIndex(index);
  if (lockChanges) return;
  char* at = ItemAddress(index);
  std::memmove(at, at + itemSize, std::size_t((numItems - index) * itemSize));
  --numItems;
  if (numSlots > numItems + blockSize) {
    long slots = numSlots - blockSize;
    if (slots == 0) {
      PortFreeHandle(items);
      items = nullptr;
    } else {
      PortResizeHandle(items, Size(slots) * itemSize);  // shrinking cannot fail
    }
    numSlots = slots;
  }
}

void CArray::DeleteItem(long index) {
  CheckIndex(index);
  if (lockChanges) return;
  DropItem(index);
  NotifyDependents(kArrayDeleted, &index);
}

void CArray::MoveItem(long from, long to) {
  CheckIndex(from);
  if (to < 1) Failure(paramErr, 0);
  if (lockChanges) return;
  if (to > numItems) to = numItems;
  if (from == to) return;
  // Keep the moving item aside in a small buffer on the stack or the heap.
  char small[64];
  char* saved = itemSize <= long(sizeof small) ? small : new char[std::size_t(itemSize)];
  std::memcpy(saved, ItemAddress(from), std::size_t(itemSize));
  if (from < to)
    std::memmove(ItemAddress(from), ItemAddress(from + 1), std::size_t((to - from) * itemSize));
  else
    std::memmove(ItemAddress(to + 1), ItemAddress(to), std::size_t((from - to) * itemSize));
  std::memcpy(ItemAddress(to), saved, std::size_t(itemSize));
  if (saved != small) delete[] saved;
  long indexes[2] = {from, to};
  NotifyDependents(kArrayMoved, indexes);
}

long CArray::FindIndex(const void* item) const {
  for (long i = 1; i <= numItems; ++i)
    if (std::memcmp(ItemAddress(i), item, std::size_t(itemSize)) == 0) return i;
  return 0;
}

void CArray::DeleteAll() {
  while (numItems > 0 && !lockChanges) DeleteItem(numItems);
}

CCollaborator* CArray::Clone() const {
  auto* copy = new (std::nothrow) CArray(itemSize, blockSize);
  if (!copy) return nullptr;
  if (numItems > 0) {
    copy->items = PortAllocHandle(Size(numSlots) * itemSize);
    if (!copy->items) {
      delete copy;
      return nullptr;
    }
    std::memcpy(*copy->items, *items, std::size_t(numItems * itemSize));
    copy->numSlots = numSlots;
    copy->numItems = numItems;
  }
  return copy;
}
