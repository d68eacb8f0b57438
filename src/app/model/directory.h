// One data directory of a format (or of a list): its path and one Datafile per
// instrument in the directory's master file. The entries are rebuilt from the
// chart database by the directory refresh, which a higher layer installs.
#pragma once

#include <memory>
#include <string>
#include <vector>
#include <string_view>

#include "app/model/datafile.h"
#include "app/model/sorted_vector.h"

namespace kvqt {

class Directory {
 public:
  // `SelDataFile`: which entries a download, convert or append takes.
  static constexpr int kSelectNone = 0;
  static constexpr int kSelectAll = 1;
  static constexpr int kSelectStored = 2;

  // The refresh from the master file: returns 1 after a scan, 0 when already
  // scanned and the master opens, -1 when the master cannot be opened, -2 when
  // the directory has no master. Without a hook a refresh does nothing and returns 0.
  using RefreshHook = int (*)(Directory& directory);
  // Selects the entries named in a list file.
  using ListFileHook = void (*)(Directory& directory, const std::string& path);
  // Both return the previous hook; nullptr restores the default.
  static RefreshHook SetRefreshHook(RefreshHook hook);
  static ListFileHook SetListFileHook(ListFileHook hook);

  // The path is kept as given (cut to 768 characters).
  Directory(std::string_view path, int formatId);

  // Case-insensitive (ASCII) order of the paths.
  static int Compare(const Directory& a, std::string_view path);
  static bool Less(const Directory& a, const Directory& b) { return Compare(a, b.name_) < 0; }

  const std::string& name() const { return name_; }
  int formatId() const { return formatId_; }
  // Also gives every entry the id.
  void setFormatId(int id);
  int selectionMode() const { return selectionMode_; }
  void setSelectionMode(int mode) { selectionMode_ = mode; }
  int curDataFile() const { return curDataFile_; }
  void setCurDataFile(int index) { curDataFile_ = index; }
  bool scanned() const { return scanned_; }
  void setScanned(bool scanned) { scanned_ = scanned; }

  // Sorted insert; an entry equal to an existing one is inserted as well.
  Datafile* add(std::unique_ptr<Datafile> datafile);
  // The entries in the order that adding them one by one gives, sorted once
  // instead of once per entry: a long list in another order stays linear.
  void addAll(std::vector<std::unique_ptr<Datafile>> datafiles);
  // 0, or -1 after "Illegal datafile id" with the index when it is not below the count.
  int removeAt(int index);
  // Removes the first entry with the symbol; false when there is none.
  bool removeBySymbol(std::string_view symbol);

  // Binary search on (Name, Symbol); null when absent.
  Datafile* find(std::string_view symbol, std::string_view name) const;
  // Linear search in order; a miss is written to the debug log.
  Datafile* bySymbol(std::string_view symbol) const;
  Datafile* at(int index) const { return ElementAt(entries_, index); }
  int indexOf(const Datafile* datafile) const;

  // Iteration; first() writes the path and the entry count to the debug log.
  Datafile* first();
  Datafile* next();

  // Refreshes, then counts.
  int count();
  // The entries held now, without a refresh.
  int size() const { return static_cast<int>(entries_.size()); }

  int refresh();
  void readListFile(const std::string& path);

 private:
  std::string name_;
  int formatId_;
  int curDataFile_ = 0;
  int selectionMode_ = kSelectAll;
  bool scanned_ = false;
  OwnedVector<Datafile> entries_;
  int cursor_ = 0;
};

}  // namespace kvqt
