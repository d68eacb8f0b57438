// All configured chart formats, sorted by name, with the current one. There is
// one Formats tree in the program; it has room for 24 formats and never grows.
#pragma once

#include <memory>
#include <string_view>

#include "app/model/format.h"
#include "app/model/sorted_vector.h"

namespace kvqt {

class Formats {
 public:
  static constexpr int kCapacity = 24;

  // Inserts in name order; false (and the format is dropped) when the 24
  // places are taken. The current format stays the same format.
  bool add(std::unique_ptr<Format> format);

  // Exact, case-sensitive; the first match in name order; null when absent.
  Format* findBySymbol(std::string_view symbol) const;
  Format* findByName(std::string_view name) const;
  Format* findById(int id) const;
  Format* at(int index) const { return ElementAt(formats_, index); }
  int indexOf(const Format* format) const;

  // Null when the current index is not valid.
  Format* current() const { return at(current_); }
  int currentIndex() const { return current_; }
  // Unchanged when the index is not below the count or nothing matches.
  void setCurrentIndex(int index);
  void setCurrentById(int id);
  void setCurrentByName(std::string_view name);

  // One iteration at a time, in name order; null at the end.
  Format* first();
  Format* next();

  int count() const { return static_cast<int>(formats_.size()); }
  // Deletes every format with its lists, directories and data files.
  void clear();

  // Restores the name order after names were changed in place; the current
  // format stays the same format.
  void sortByName();

 private:
  OwnedVector<Format> formats_;
  int current_ = 0;
  int cursor_ = 0;
};

}  // namespace kvqt
