#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

#include "CException.h"
#include "DETException.h"
#include "VLArray.h"
#include "VLIndexedCluster.h"

namespace {
std::int32_t Item(const VLIndexedCluster& c, long i) {
  std::int32_t v = 0;
  c.GetItem(&v, i);
  return v;
}
// Every item carries its own value as a check that keys stay parallel: item = 100 * key.
void ExpectParallel(const VLIndexedCluster& c) {
  ASSERT_EQ(c.Keys()->GetNumItems(), c.GetNumItems());
  for (long i = 1; i <= c.GetNumItems(); ++i) EXPECT_EQ(Item(c, i), 100 * c.KeyAt(i)) << i;
}
}  // namespace

TEST(VLArray, PointerItemsAndRemoveFirst) {
  VLArray a(VLArray::kPointerSize);
  int x = 0, y = 0;
  a.AppendPointer(&x);
  a.AppendPointer(&y);
  a.AppendPointer(&x);
  a.Remove(&x);
  ASSERT_EQ(a.GetNumItems(), 2);
  EXPECT_EQ(a.PointerAt(1), &y);
  EXPECT_EQ(a.PointerAt(2), &x);
  a.Remove(nullptr);  // absent: nothing
  EXPECT_EQ(a.GetNumItems(), 2);
  EXPECT_THROW(a.PointerAt(0), CException);
  EXPECT_THROW(a.PointerAt(3), CException);
  std::unique_ptr<CCollaborator> clone(a.Clone());
  auto* copy = dynamic_cast<VLArray*>(clone.get());
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->PointerAt(2), &x);
  VLArray copied(a);
  EXPECT_EQ(copied.GetNumItems(), 2);
}

TEST(VLIndexedCluster, KeysStayParallelThroughEveryChange) {
  VLIndexedCluster c(4);
  EXPECT_EQ(c.NewKey(), 1);
  for (std::int32_t key : {9, 4}) {
    std::int32_t item = 100 * key;
    c.Append(&item, key);
  }
  EXPECT_EQ(c.NewKey(), 10);
  std::int32_t item = 1000;  // key 10 will be made for it
  c.InsertAtIndex(&item, 1);
  EXPECT_EQ(c.KeyAt(1), 10);
  item = 700;
  c.InsertWithKey(&item, 32767, 7);  // past the end: appended
  ExpectParallel(c);
  c.MoveItem(1, 4);
  ExpectParallel(c);
  EXPECT_EQ(c.KeyAt(4), 10);
  c.DeleteItem(1);
  ExpectParallel(c);
  c.DeleteByKey(55);  // absent: unchanged
  EXPECT_EQ(c.GetNumItems(), 3);
  c.RemoveQuietly(c.IndexOfKey(7));
  ExpectParallel(c);
  item = 400;
  c.SetItemByKey(&item, 4);
  std::int32_t got = 0;
  c.GetItemByKey(&got, 4);
  EXPECT_EQ(got, 400);

  std::unique_ptr<CCollaborator> clone(c.Clone());
  auto* copy = dynamic_cast<VLIndexedCluster*>(clone.get());
  ASSERT_NE(copy, nullptr);
  ExpectParallel(*copy);
  EXPECT_EQ(copy->KeyAt(copy->GetNumItems()), c.KeyAt(c.GetNumItems()));
}

TEST(VLIndexedCluster, NewKeyRefusesRatherThanRepeatingTheLargestKey) {
  VLIndexedCluster c(4);
  std::int32_t item = 0;
  c.Append(&item, INT32_MAX - 1);
  EXPECT_EQ(c.NewKey(), INT32_MAX);
  c.InsertAtIndex(&item, 1);
  EXPECT_EQ(c.KeyAt(1), INT32_MAX);
  try {
    c.InsertAtIndex(&item, 1);
    FAIL() << "a key was made past 2147483647";
  } catch (const DETException& e) {
    EXPECT_EQ(e.GetCode(), kDEErrorAssertionViolated);
  }
  // Nothing was inserted, and gaps are never filled.
  EXPECT_EQ(c.GetNumItems(), 2);
  c.DeleteByKey(INT32_MAX - 1);
  EXPECT_THROW(c.NewKey(), DETException);
  c.DeleteByKey(INT32_MAX);
  EXPECT_EQ(c.NewKey(), 1);
}

TEST(VLIndexedCluster, IterationAndSharedKeys) {
  VLIndexedCluster c(4);
  std::int32_t item = 0, key = -1;
  c.First(&item, &key);
  EXPECT_EQ(key, 0);
  std::int32_t a = 1, b = 2;
  c.Append(&a, 5);
  c.Append(&b, 5);
  EXPECT_EQ(c.IndexOfKey(5), 1);  // the lower index
  c.First(&item, &key);
  EXPECT_EQ(item, 1);
  c.Next(&item, &key);
  EXPECT_EQ(item, 2);
  c.Next(&item, &key);
  EXPECT_EQ(key, 0);
  EXPECT_EQ(item, 2);  // left alone
  EXPECT_EQ(c.GetCursor(), 3);
  c.First(&item, &key);
  EXPECT_EQ(item, 1);
}

TEST(VLIndexedCluster, LockedClusterRefusesChanges) {
  VLIndexedCluster c(4);
  std::int32_t a = 100;
  c.Append(&a, 1);
  c.SetLocked(true);
  c.Append(&a, 2);
  c.RemoveQuietly(1);
  c.DeleteItem(1);
  EXPECT_EQ(c.GetNumItems(), 1);
  EXPECT_EQ(c.Keys()->GetNumItems(), 1);
}
