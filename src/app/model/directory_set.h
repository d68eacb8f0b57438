// The directories of a format or of a list: sorted by path (case-insensitive),
// at most one per path, with the index of the current one.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "app/model/directory.h"
#include "app/model/sorted_vector.h"

namespace kvqt {

class DirectorySet {
 public:
  // Inserts in path order when no directory with that path exists; false (and
  // the directory is dropped) otherwise.
  bool add(std::unique_ptr<Directory> directory);
  // The path with a trailing separator added when it has none, looked up
  // regardless of case; null when absent.
  Directory* byName(std::string_view path) const;
  int indexOf(std::string_view path) const;
  Directory* at(int index) const { return ElementAt(items_, index); }
  int size() const { return static_cast<int>(items_.size()); }

  int currentIndex() const { return current_; }
  void setCurrentIndex(int index) { current_ = index; }
  // Null when there is none or the index is not valid.
  Directory* current() const { return at(current_); }
  // The current index becomes that of the path, or not valid (-1) when absent.
  void setCurrent(std::string_view path) { current_ = indexOf(path); }

  // Deletes the directory with its entries and clamps the current index to
  // size - 1; an index not below the size shows "Illegal directory id" and the
  // index, removes nothing and returns -1.
  int remove(int index);

  Directory* first();
  Directory* next();

  void setFormatId(int id);

 private:
  OwnedVector<Directory> items_;
  int current_ = 0;
  int cursor_ = 0;
};

// The path as directories are keyed: cut to its field, ending in a separator.
std::string DirectoryKey(std::string_view path);

}  // namespace kvqt
