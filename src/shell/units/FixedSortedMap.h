// A small ordered map built at compile time: entries sorted by key in a fixed array, looked up
// by binary search. Constant data, so no start-up order to get wrong and no allocation.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <initializer_list>

template <class Key, class Value, int Capacity>
class FixedSortedMap {
 public:
  struct Entry {
    Key key;
    Value value;
  };

  constexpr FixedSortedMap(std::initializer_list<Entry> entries) {
    if (entries.size() > std::size_t(Capacity)) throw "too many entries";
    for (const Entry& e : entries) fEntries[std::size_t(fCount++)] = e;
    std::sort(fEntries.begin(), fEntries.begin() + fCount,
              [](const Entry& a, const Entry& b) { return a.key < b.key; });
    for (int i = 1; i < fCount; ++i)
      if (!(fEntries[std::size_t(i - 1)].key < fEntries[std::size_t(i)].key)) throw "key twice";
  }

  // The value of exactly this key, or null.
  const Value* Find(const Key& key) const {
    const Entry* it =
        std::lower_bound(begin(), end(), key, [](const Entry& e, const Key& k) { return e.key < k; });
    return it != end() && !(key < it->key) ? &it->value : nullptr;
  }

  const Entry* begin() const { return fEntries.data(); }
  const Entry* end() const { return fEntries.data() + fCount; }
  int Count() const { return fCount; }

 private:
  std::array<Entry, std::size_t(Capacity)> fEntries{};
  int fCount = 0;
};
