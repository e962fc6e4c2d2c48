// A VLArray whose items carry 32-bit keys, held in a second owned array kept in step.
#pragma once

#include <cstdint>

#include "VLArray.h"

class VLIndexedCluster : public VLArray {
  VL_REGISTERED_CLASS(VLIndexedCluster, VLArray)

 public:
  VLIndexedCluster();  // no key array until Reset
  explicit VLIndexedCluster(long itemSize);
  ~VLIndexedCluster() override;

  void Reset(long itemSize);

  CCollaborator* Clone() const override;
  void InsertAtIndex(const void* item, long index) override;
  void DeleteItem(long index) override;
  void MoveItem(long from, long to) override;

  virtual void RemoveQuietly(long index);
  virtual void InsertWithKey(const void* item, long index, std::int32_t key);
  virtual void DeleteByKey(std::int32_t key);
  virtual void SetItemByKey(const void* item, std::int32_t key);
  virtual void GetItemByKey(void* item, std::int32_t key) const;
  virtual void First(void* item, std::int32_t* key);
  virtual void Next(void* item, std::int32_t* key);
  // The largest key present plus 1 (1 when there is none above 0); gaps are never filled. When
  // the largest key is 2147483647 there is none left: raises kDEErrorAssertionViolated.
  virtual std::int32_t NewKey() const;
  virtual std::int32_t KeyAt(long index) const;
  virtual long IndexOfKey(std::int32_t key) const;
  virtual void Append(const void* item, std::int32_t key);

  long GetCursor() const { return cursor; }
  const VLArray* Keys() const { return keys; }

 private:
  VLArray* keys = nullptr;
  long cursor = 0;
};
