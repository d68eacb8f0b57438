#include "service/import/master_index.h"

#include "formats/driver_table.h"
#include "formats/format_driver.h"

namespace kvqt {

void MasterIndex::clear() {
  places_.clear();
  entries_ = cursor_ = last_ = 0;
  built_ = usable_ = false;
}

bool MasterIndex::build(MasterHandles& masters, int formatId, const std::string& directory) {
  clear();
  built_ = true;
  MasterKind kind = MasterKindOf(formatId);
  if (kind != MasterKind::kMetaStock && kind != MasterKind::kMasterDat && kind != MasterKind::kAsciiIndex)
    return false;
  const ScanPosition saved = masters.scan;
  masters.resetScan();
  DatafileEntry entry;
  for (;;) {
    const ScanPosition before = masters.scan;
    if (ScanEntries(masters, formatId, entry, std::string(), kScanContinue | kScanNoDataFiles, directory) != 0) break;
    places_[entry.symbol].push_back(Place{entries_++, before});
    // A scan that does not move on would never end.
    if (masters.scan.master == before.master && masters.scan.extended == before.extended) break;
  }
  masters.scan = saved;
  usable_ = true;
  return true;
}

bool MasterIndex::position(MasterHandles& masters, const std::string& symbol, bool continued) {
  auto it = places_.find(symbol);
  if (it == places_.end()) return false;
  const Place* chosen = &it->second.front();
  if (continued) {
    for (const Place& place : it->second) {
      if (place.ordinal >= cursor_) {
        chosen = &place;
        break;
      }
    }
  }
  masters.scan = chosen->scan;
  last_ = chosen->ordinal;
  return true;
}

void MasterIndex::found() { cursor_ = last_ + 1; }

}  // namespace kvqt
