// One configured chart-database format: its identity and text-format
// separators, its data directories and its named download lists.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "app/model/directory_set.h"
#include "app/model/format_flags.h"
#include "app/model/list.h"
#include "app/model/sorted_vector.h"

namespace kvqt {

class Format {
 public:
  // Empty symbol and name, id 0, separators ',' none '.', no flags.
  Format() = default;
  Format(std::string_view symbol, std::string_view name, int formatId);

  static bool Less(const Format& a, const Format& b) { return a.name_ < b.name_; }

  const std::string& name() const { return name_; }
  void setName(std::string_view name);
  const std::string& symbol() const { return symbol_; }
  void setSymbol(std::string_view symbol);
  // `FormatId`; setting it also sets it on every list, directory and entry.
  int formatId() const { return formatId_; }
  void setFormatId(int id);
  char fsep() const { return fsep_; }
  char dsep() const { return dsep_; }
  char frsep() const { return frsep_; }
  void setSeparators(char fsep, char dsep, char frsep);
  std::uint8_t formatflags() const { return formatflags_; }
  void setFormatflags(std::uint8_t flags) { formatflags_ = flags; }
  int maxNameLength() const { return maxNameLength_; }
  void setMaxNameLength(int n) { maxNameLength_ = n; }

  bool addInstruments() const { return formatflags_ & FormatFlag::AddInstruments; }
  bool noMasterScan() const { return formatflags_ & FormatFlag::NoMasterScan; }
  bool notConvertSource() const { return formatflags_ & FormatFlag::NotConvertSource; }
  bool fileOutput() const { return formatflags_ & FormatFlag::FileOutput; }
  bool definitionOutputOnly() const { return formatflags_ & FormatFlag::DefinitionOutputOnly; }
  bool noDefinitionOutput() const { return formatflags_ & FormatFlag::NoDefinitionOutput; }
  bool intraday() const { return formatflags_ & (FormatFlag::IntradayFields | FormatFlag::IntradayPlain); }
  bool intradayFields() const { return formatflags_ & FormatFlag::IntradayFields; }
  // A format that is only an output format has no directories or data files.
  bool hasDirectories() const { return !definitionOutputOnly() && !noDefinitionOutput(); }

  // Directories, by path regardless of case. `curDi` is the current index.
  bool addDirectory(std::unique_ptr<Directory> directory) { return directories_.add(std::move(directory)); }
  Directory* directoryByName(std::string_view path) const { return directories_.byName(path); }
  Directory* directoryAt(int index) const { return directories_.at(index); }
  int directoryCount() const { return directories_.size(); }
  Directory* currentDirectory() const { return directories_.current(); }
  void setCurrentDirectory(std::string_view path) { directories_.setCurrent(path); }
  int curDi() const { return directories_.currentIndex(); }
  void setCurDi(int index) { directories_.setCurrentIndex(index); }
  int removeDirectory(int index) { return directories_.remove(index); }
  Directory* firstDirectory() { return directories_.first(); }
  Directory* nextDirectory() { return directories_.next(); }

  // Lists, by name (case-sensitive). `curLi` is the current index.
  // Adds in name order when absent; false when the name is already there.
  bool addList(std::unique_ptr<List> list);
  List* listByName(std::string_view name) const;
  List* listAt(int index) const { return ElementAt(lists_, index); }
  int listCount() const { return static_cast<int>(lists_.size()); }
  List* currentList() const { return listAt(curLi_); }
  // The index of the named list, or not valid (-1) when absent.
  void setCurrentList(std::string_view name);
  int curLi() const { return curLi_; }
  void setCurLi(int index) { curLi_ = index; }
  // "Illegal list id" and the index for an index not below the count; clamps `curLi`.
  int removeList(int index);
  List* firstList();
  List* nextList();

 private:
  std::string name_;
  std::string symbol_;
  int formatId_ = 0;
  char fsep_ = ',';
  char dsep_ = '\0';
  char frsep_ = '.';
  std::uint8_t formatflags_ = 0;
  int maxNameLength_ = 0;
  int curLi_ = 0;
  OwnedVector<List> lists_;
  int listCursor_ = 0;
  DirectorySet directories_;
};

}  // namespace kvqt
