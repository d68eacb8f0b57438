// A named download list of one format. Its directories are objects of its own,
// separate from the format's directories with the same path, so that the list
// keeps its own selection of data files in each.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "app/model/directory_set.h"

namespace kvqt {

class List {
 public:
  // The name is cut to 255 characters.
  List(std::string_view name, int formatId);

  // Byte order of the names (case-sensitive).
  static int Compare(const List& a, std::string_view name) { return a.name_.compare(name); }
  static bool Less(const List& a, const List& b) { return a.name_ < b.name_; }

  const std::string& name() const { return name_; }
  int formatId() const { return formatId_; }
  // Also gives every directory and entry the id.
  void setFormatId(int id);

  // `CurDir`.
  int curDir() const { return directories_.currentIndex(); }
  void setCurDir(int index) { directories_.setCurrentIndex(index); }

  // Adds in path order when absent; false when the path is already there.
  bool addDirectory(std::unique_ptr<Directory> directory) { return directories_.add(std::move(directory)); }
  Directory* directoryAt(int index) const { return directories_.at(index); }
  Directory* directoryByName(std::string_view path) const { return directories_.byName(path); }
  int directoryCount() const { return directories_.size(); }
  Directory* currentDirectory() const { return directories_.current(); }
  // Only an index below the count is taken.
  void setCurrent(int index);
  // The index of that path, or not valid when absent.
  void setCurrent(std::string_view path) { directories_.setCurrent(path); }
  // "Illegal directory id" for an index not below the count; clamps `CurDir`.
  int removeDirectory(int index) { return directories_.remove(index); }
  Directory* firstDirectory() { return directories_.first(); }
  Directory* nextDirectory() { return directories_.next(); }

  // The Name of the first entry with the symbol, searching the directories in
  // order (no refresh); false when there is none.
  bool findName(std::string_view symbol, std::string& name) const;

 private:
  std::string name_;
  int formatId_;
  DirectorySet directories_;
};

}  // namespace kvqt
