#include "VLIndexedCluster.h"

#include <cstdint>
#include <memory>
#include <new>

#include "CException.h"
#include "DETException.h"

VLIndexedCluster::VLIndexedCluster() = default;

VLIndexedCluster::VLIndexedCluster(long itemSize) : VLArray(itemSize), keys(new VLArray(4)) {}

VLIndexedCluster::~VLIndexedCluster() { delete keys; }

void VLIndexedCluster::Reset(long itemSize) {
  IArray(itemSize, GetBlockSize());
  delete keys;
  keys = new VLArray(4);
  cursor = 0;
}

CCollaborator* VLIndexedCluster::Clone() const {
  std::unique_ptr<VLIndexedCluster> copy(new (std::nothrow) VLIndexedCluster(itemSize));
  if (!copy) return nullptr;
  try {
    copy->SetBlockSize(blockSize);
    copy->CopyItemsFrom(*this);
    delete copy->keys;
    copy->keys = keys ? new VLArray(*keys) : nullptr;
  } catch (const CException&) {
    return nullptr;
  }
  copy->cursor = cursor;
  return copy.release();
}

void VLIndexedCluster::InsertWithKey(const void* item, long index, std::int32_t key) {
  if (!keys) Failure(paramErr, 0);
  if (IsLocked()) return;
  if (index > numItems) index = numItems + 1;
  keys->InsertAtIndex(&key, index);
  try {
    CArray::InsertAtIndex(item, index);
  } catch (...) {
    keys->DeleteItem(index);  // keep the two arrays in step
    throw;
  }
}

void VLIndexedCluster::InsertAtIndex(const void* item, long index) { InsertWithKey(item, index, NewKey()); }

void VLIndexedCluster::Append(const void* item, std::int32_t key) { InsertWithKey(item, numItems + 1, key); }

void VLIndexedCluster::DeleteItem(long index) {
  CheckIndex(index);
  if (IsLocked()) return;
  if (keys) keys->DeleteItem(index);
  CArray::DeleteItem(index);
}

void VLIndexedCluster::MoveItem(long from, long to) {
  CheckIndex(from);
  if (IsLocked()) return;
  if (keys) keys->MoveItem(from, to);
  CArray::MoveItem(from, to);
}

void VLIndexedCluster::RemoveQuietly(long index) {
  if (IsLocked()) return;
  DropItem(index);
  if (keys) keys->DeleteItem(index);
}

void VLIndexedCluster::DeleteByKey(std::int32_t key) {
  long index = IndexOfKey(key);
  if (index > 0) DeleteItem(index);
}

void VLIndexedCluster::SetItemByKey(const void* item, std::int32_t key) {
  long index = IndexOfKey(key);
  if (index > 0) SetItem(item, index);
}

void VLIndexedCluster::GetItemByKey(void* item, std::int32_t key) const {
  long index = IndexOfKey(key);
  if (index > 0) GetItem(item, index);
}

void VLIndexedCluster::First(void* item, std::int32_t* key) {
  if (numItems == 0) {
    *key = 0;
    return;
  }
  cursor = 1;
  GetItem(item, 1);
  *key = KeyAt(1);
}

void VLIndexedCluster::Next(void* item, std::int32_t* key) {
  ++cursor;
  if (cursor > numItems) {
    *key = 0;
    return;
  }
  GetItem(item, cursor);
  *key = KeyAt(cursor);
}

std::int32_t VLIndexedCluster::NewKey() const {
  std::int32_t largest = 0;
  for (long i = 1; keys && i <= keys->GetNumItems(); ++i) {
    std::int32_t k = 0;
    keys->GetItem(&k, i);
    if (k > largest) largest = k;
  }
  // Keys are never reused while a larger one exists, so past the largest there is no key left:
  // a key given twice would make two items one.
  if (largest == INT32_MAX) ThrowError(kDEErrorAssertionViolated, Str255("VLIndexedCluster::NewKey: no key is left"));
  return largest + 1;
}

std::int32_t VLIndexedCluster::KeyAt(long index) const {
  std::int32_t k = 0;
  if (!keys) Failure(paramErr, 0);
  keys->GetItem(&k, index);
  return k;
}

long VLIndexedCluster::IndexOfKey(std::int32_t key) const {
  if (!keys) return 0;
  for (long i = 1; i <= keys->GetNumItems(); ++i) {
    std::int32_t k = 0;
    keys->GetItem(&k, i);
    if (k == key) return i;
  }
  return 0;
}
