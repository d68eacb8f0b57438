// Where each symbol's entries stand in a directory's master, read once per
// directory and import, so that each lookup reads the master from its entry
// on instead of from the top (or from wherever the previous lookup ended).
#pragma once

#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

#include "formats/master_handles.h"

namespace kvqt {

class MasterIndex {
 public:
  // Forgets the master read before.
  void clear();
  bool built() const { return built_; }
  bool usable() const { return usable_; }
  // Reads the open master's entries in order (the kinds with a master file
  // only); false when the kind has none, and lookups then scan as before.
  bool build(MasterHandles& masters, int formatId, const std::string& directory);
  // Sets the scan position from which a scan for `symbol` finds the entry that
  // a scan from the lookup position would find (from the top without
  // `continued`); false when the master holds no entry of the symbol.
  bool position(MasterHandles& masters, const std::string& symbol, bool continued);
  // After the entry found from the last position: the next continued lookup
  // starts after it.
  void found();
  // After a lookup that found nothing: the next continued one starts over.
  void missed() { cursor_ = entries_; }

 private:
  struct Place {
    std::size_t ordinal;
    ScanPosition scan;
  };
  std::unordered_map<std::string, std::vector<Place>> places_;
  std::size_t entries_ = 0;
  std::size_t cursor_ = 0;  // the ordinal a continued lookup starts from
  std::size_t last_ = 0;    // the ordinal of the last position given
  bool built_ = false;
  bool usable_ = false;
};

}  // namespace kvqt
