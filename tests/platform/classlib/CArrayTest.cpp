// The 1-based array of fixed-size items in a moving block.
#include <gtest/gtest.h>

#include <vector>

#include "CArray.h"
#include "CException.h"
#include "Memory.h"

namespace {

// Exposes the block so a test can see it move.
class PeekArray : public CArray {
 public:
  using CArray::CArray;
  const char* BlockAddress() const { return items ? *items : nullptr; }
};

std::vector<long> Items(const CArray& a) {
  std::vector<long> out;
  for (long i = 1; i <= a.GetNumItems(); ++i) {
    long v = 0;
    a.GetItem(&v, i);
    out.push_back(v);
  }
  return out;
}

OSErr ErrorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const CException& e) {
    return e.GetError();
  }
  return noErr;
}

TEST(CArrayTest, OneBasedAtBothEnds) {
  CArray a(sizeof(long), 3);
  for (long v : {10L, 20L, 30L}) a.Append(&v);
  long v = 0;
  a.GetItem(&v, 1);
  EXPECT_EQ(v, 10);
  a.GetItem(&v, 3);
  EXPECT_EQ(v, 30);
  // Index 0, a negative index and one past the end are errors that change nothing.
  for (long bad : {0L, -1L, 4L}) {
    EXPECT_EQ(ErrorOf([&] { a.GetItem(&v, bad); }), paramErr) << bad;
    EXPECT_EQ(ErrorOf([&] { a.DeleteItem(bad); }), paramErr) << bad;
    EXPECT_EQ(ErrorOf([&] { a.SetItem(&v, bad); }), paramErr) << bad;
  }
  EXPECT_EQ(ErrorOf([&] { a.InsertAtIndex(&v, 0); }), paramErr);
  EXPECT_EQ(Items(a), (std::vector<long>{10, 20, 30}));
}

TEST(CArrayTest, InsertPlacesItemsAndPastTheEndAppends) {
  CArray a(sizeof(long), 2);
  long v = 1;
  a.InsertAtIndex(&v, 1);
  v = 3;
  a.InsertAtIndex(&v, 32767);
  v = 2;
  a.InsertAt(&v, 2);
  v = 0;
  a.InsertAtIndex(&v, 1);
  v = 4;
  a.InsertAtIndex(&v, a.GetNumItems() + 1);
  EXPECT_EQ(Items(a), (std::vector<long>{0, 1, 2, 3, 4}));
  v = 2;
  EXPECT_EQ(a.FindIndex(&v), 3);
  v = 99;
  EXPECT_EQ(a.FindIndex(&v), 0);
}

TEST(CArrayTest, GrowingMovesTheBlockAndKeepsTheItems) {
  PeekArray a(sizeof(long), 4);
  std::vector<long> expected;
  int moves = 0;
  const char* block = a.BlockAddress();
  for (long v = 0; v < 200; ++v) {
    a.Append(&v);
    expected.push_back(v);
    if (a.BlockAddress() != block) ++moves;
    block = a.BlockAddress();
    EXPECT_EQ(a.GetSlotCount() % 4, 0);
    EXPECT_GE(a.GetSlotCount(), a.GetNumItems());
  }
  EXPECT_EQ(Items(a), expected);
#if VL_DEBUG_MOVING_HANDLES
  EXPECT_GE(moves, 200 / 4 - 1);  // debug builds move the block on every growth
#else
  (void)moves;
#endif
}

TEST(CArrayTest, DeletingShiftsItemsAndGivesSlotsBack) {
  CArray a(sizeof(long), 3);
  for (long v = 1; v <= 9; ++v) a.Append(&v);
  EXPECT_EQ(a.GetSlotCount(), 9);
  a.DeleteItem(1);
  a.DeleteItem(a.GetNumItems());
  a.DeleteItem(4);
  EXPECT_EQ(Items(a), (std::vector<long>{2, 3, 4, 6, 7, 8}));
  // Slots shrink by one step once they exceed the count by more than a step.
  EXPECT_LE(a.GetSlotCount(), a.GetNumItems() + 3);
  a.DeleteAll();
  EXPECT_EQ(a.GetNumItems(), 0);
  EXPECT_LE(a.GetSlotCount(), 3);
}

TEST(CArrayTest, MoveItemBothWays) {
  CArray a(sizeof(long), 3);
  for (long v = 1; v <= 5; ++v) a.Append(&v);
  a.MoveItem(1, 4);
  EXPECT_EQ(Items(a), (std::vector<long>{2, 3, 4, 1, 5}));
  a.MoveItem(5, 1);
  EXPECT_EQ(Items(a), (std::vector<long>{5, 2, 3, 4, 1}));
  a.MoveItem(2, 99);  // past the end: to the end
  EXPECT_EQ(Items(a), (std::vector<long>{5, 3, 4, 1, 2}));
}

TEST(CArrayTest, LargeItemsAndLockedArrays) {
  struct Big {
    char bytes[100];
  };
  CArray a(sizeof(Big), 2);
  Big b{};
  for (int i = 0; i < 3; ++i) {
    b.bytes[99] = char('a' + i);
    a.Append(&b);
  }
  a.MoveItem(3, 1);
  a.GetItem(&b, 1);
  EXPECT_EQ(b.bytes[99], 'c');
  a.SetLocked(true);
  a.Append(&b);
  a.DeleteItem(1);
  a.MoveItem(1, 2);
  EXPECT_EQ(a.GetNumItems(), 3);
  a.GetItem(&b, 1);
  EXPECT_EQ(b.bytes[99], 'c');
}

TEST(CArrayTest, ImpossibleGrowthFailsWithMemoryErrorAndChangesNothing) {
  // Two slots of this size pass the largest block: the growth fails before the item is read.
  CArray a(long(kMaxBlockSize / 2 + 1), 2);
  char item = 0;
  gLastError = noErr;
  EXPECT_EQ(ErrorOf([&] { a.Append(&item); }), memFullErr);
  EXPECT_EQ(gLastError, memFullErr);
  EXPECT_EQ(a.GetNumItems(), 0);
  EXPECT_EQ(a.GetSlotCount(), 0);
}

TEST(CArrayTest, ItemSizeOnlyChangesWhileEmpty) {
  CArray a;  // item size 0: nothing can be stored yet
  long v = 5;
  EXPECT_EQ(ErrorOf([&] { a.Append(&v); }), paramErr);
  a.SetItemSize(sizeof(long));
  a.Append(&v);
  EXPECT_EQ(ErrorOf([&] { a.SetItemSize(2); }), paramErr);
  EXPECT_EQ(Items(a), (std::vector<long>{5}));
}

TEST(CArrayTest, CloneHoldsTheSameItems) {
  CArray a(sizeof(long), 5);
  for (long v = 1; v <= 7; ++v) a.Append(&v);
  auto* copy = static_cast<CArray*>(a.Clone());
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->BedVirtualGetClassInfo(), CArray::ClassInfo());
  EXPECT_EQ(copy->GetBlockSize(), 5);
  EXPECT_EQ(Items(*copy), Items(a));
  long v = 100;
  copy->Append(&v);
  EXPECT_EQ(a.GetNumItems(), 7);
  copy->Dispose();
}

// A dependent that records the array's notices.
class Watcher : public CCollaborator {
 public:
  std::vector<std::pair<long, std::vector<long>>> notices;
  void ProviderChanged(CCollaborator*, long reason, void* info) override {
    const long* p = static_cast<const long*>(info);
    std::vector<long> values = {p[0]};
    if (reason == kArrayMoved) values.push_back(p[1]);
    notices.push_back({reason, values});
  }
};

TEST(CArrayTest, ChangesAreBroadcastToDependents) {
  CArray a(sizeof(long), 3);
  Watcher w;
  w.AttachToProvider(&a);
  long v = 1;
  a.Append(&v);
  a.Append(&v);
  a.SetItem(&v, 2);
  a.MoveItem(2, 1);
  a.DeleteItem(1);
  using N = std::pair<long, std::vector<long>>;
  EXPECT_EQ(w.notices, (std::vector<N>{{kArrayInserted, {1}},
                                       {kArrayInserted, {2}},
                                       {kArrayReplaced, {2}},
                                       {kArrayMoved, {2, 1}},
                                       {kArrayDeleted, {1}}}));
}

}  // namespace
