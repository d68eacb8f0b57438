// The model keeps its owned children in vectors sorted by key: an insert goes
// after every element that does not sort after it, lookups use binary search.
#pragma once

#include <algorithm>
#include <cstddef>
#include <memory>
#include <vector>

namespace kvqt {

template <class T>
using OwnedVector = std::vector<std::unique_ptr<T>>;

// Inserts after the elements that are equal to it; returns the new index.
template <class T, class Less>
std::size_t InsertSorted(OwnedVector<T>& items, std::unique_ptr<T> item, Less less) {
  auto pos = std::upper_bound(items.begin(), items.end(), item,
                              [&](const std::unique_ptr<T>& a, const std::unique_ptr<T>& b) { return less(*a, *b); });
  auto inserted = items.insert(pos, std::move(item));
  return static_cast<std::size_t>(inserted - items.begin());
}

// Index of the first element whose key equals `key`, or -1. `compare(element, key)`
// returns <0, 0 or >0.
template <class T, class Key, class Compare>
int FindSorted(const OwnedVector<T>& items, const Key& key, Compare compare) {
  auto pos = std::lower_bound(items.begin(), items.end(), key,
                              [&](const std::unique_ptr<T>& a, const Key& k) { return compare(*a, k) < 0; });
  if (pos == items.end() || compare(**pos, key) != 0) return -1;
  return static_cast<int>(pos - items.begin());
}

template <class T>
T* ElementAt(const OwnedVector<T>& items, int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= items.size()) return nullptr;
  return items[static_cast<std::size_t>(index)].get();
}

}  // namespace kvqt
