#include "VLArray.h"

#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "CException.h"
#include "Memory.h"

VLArray::VLArray() : CArray(0, 3) {}

VLArray::VLArray(long itemSize) : CArray(itemSize, 3) {}

VLArray::VLArray(const VLArray& other) : CArray(other.GetItemSize(), other.GetBlockSize()) { CopyItemsFrom(other); }

void VLArray::CopyItemsFrom(const CArray& other) {
  std::vector<char> item(std::size_t(other.GetItemSize()));
  for (long i = 1; i <= other.GetNumItems(); ++i) {
    other.GetItem(item.data(), i);
    CArray::InsertAtIndex(item.data(), numItems + 1);
  }
}

CCollaborator* VLArray::Clone() const {
  std::unique_ptr<VLArray> copy(new (std::nothrow) VLArray(itemSize));
  if (!copy) return nullptr;
  copy->SetBlockSize(blockSize);
  try {
    copy->CopyItemsFrom(*this);
  } catch (const CException&) {
    return nullptr;
  }
  return copy.release();
}

void VLArray::Remove(const void* item) {
  if (itemSize != kPointerSize) return;
  long index = IndexOfPointer(item);
  if (index > 0) DeleteItem(index);
}

void* VLArray::PointerAt(long index) const {
  void* p = nullptr;
  GetItem(&p, index);
  return p;
}

void VLArray::AppendPointer(const void* pointer) { Append(&pointer); }

long VLArray::IndexOfPointer(const void* pointer) const { return FindIndex(&pointer); }
