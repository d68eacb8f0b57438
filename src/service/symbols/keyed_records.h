// One table of the symbol table: records in table order, a capacity that grows
// by a fixed step (it is stored in the file), and an index by key so that
// finding, adding and replacing stay constant-time for large tables.
#pragma once

#include <cstdint>
#include <limits>
#include <unordered_map>
#include <utility>
#include <vector>

namespace kvqt {

template <typename Record>
class KeyedRecords {
 public:
  explicit KeyedRecords(std::int32_t step) : step_(step), capacity_(step) {}

  std::int32_t count() const { return static_cast<std::int32_t>(records_.size()); }
  std::int32_t capacity() const { return capacity_; }
  std::int32_t step() const { return step_; }
  const std::vector<Record>& records() const { return records_; }

  const Record* at(std::int32_t i) const { return i >= 0 && i < count() ? &records_[static_cast<std::size_t>(i)] : nullptr; }

  // Position of the first record with the key in table order, or -1.
  std::int32_t find(std::int64_t key) const {
    auto it = index_.find(key);
    return it == index_.end() ? -1 : it->second;
  }

  // Appends at the end; a full table first grows by one step. False when the
  // count or the capacity cannot grow any further.
  bool append(const Record& r) {
    if (count() >= capacity_) {
      if (capacity_ > std::numeric_limits<std::int32_t>::max() - step_) return false;
      capacity_ += step_;
    }
    const std::int32_t at = count();
    records_.push_back(r);
    if (!index_.emplace(KeyOf(r), at).second) ++duplicates_[KeyOf(r)];
    return true;
  }

  // Replaces the record at i by one with the same key.
  void replaceAt(std::int32_t i, const Record& r) { records_[static_cast<std::size_t>(i)] = r; }
  // For changes that keep the key.
  Record& mutableAt(std::int32_t i) { return records_[static_cast<std::size_t>(i)]; }

  // The last record takes the freed place.
  void removeAt(std::int32_t i) {
    const std::int32_t last = count() - 1;
    const std::int64_t removed_key = KeyOf(records_[static_cast<std::size_t>(i)]);
    bool find_removed_key_again = false;
    auto dup = duplicates_.find(removed_key);
    if (dup == duplicates_.end()) {
      index_.erase(removed_key);
    } else {
      if (--dup->second == 0) duplicates_.erase(dup);
      find_removed_key_again = index_[removed_key] == i;
    }
    if (i != last) {
      records_[static_cast<std::size_t>(i)] = std::move(records_[static_cast<std::size_t>(last)]);
      std::int32_t& first = index_[KeyOf(records_[static_cast<std::size_t>(i)])];
      if (first == last || first > i) first = i;
    }
    records_.pop_back();
    if (find_removed_key_again) {
      // Only for a key the table holds more than once.
      for (std::int32_t j = 0; j < count(); ++j) {
        if (KeyOf(records_[static_cast<std::size_t>(j)]) == removed_key) {
          index_[removed_key] = j;
          break;
        }
      }
    }
  }

  // Takes the records of a file; the capacity is at least the count.
  void assign(std::vector<Record> records, std::int32_t capacity) {
    records_ = std::move(records);
    capacity_ = capacity < count() ? count() : capacity;
    reindex();
  }

  void clear() {
    records_.clear();
    index_.clear();
    duplicates_.clear();
    capacity_ = step_;
  }

 private:
  // A file may hold one key twice; the index then points at the first one.
  void reindex() {
    index_.clear();
    duplicates_.clear();
    index_.reserve(records_.size());
    for (std::int32_t i = 0; i < count(); ++i) {
      const std::int64_t key = KeyOf(records_[static_cast<std::size_t>(i)]);
      if (!index_.emplace(key, i).second) ++duplicates_[key];
    }
  }

  std::int32_t step_;
  std::int32_t capacity_;
  std::vector<Record> records_;
  std::unordered_map<std::int64_t, std::int32_t> index_;
  // Keys held more than once, with the number of extra records.
  std::unordered_map<std::int64_t, std::int32_t> duplicates_;
};

}  // namespace kvqt
