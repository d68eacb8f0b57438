#include "service/import/search_in_master.h"

#include "formats/driver_table.h"
#include "formats/format_driver.h"
#include "service/import/master_index.h"

namespace kvqt {

bool KeepsMastersOpen(int formatId) {
  const StorageKind kind = StorageKindOf(formatId);
  return kind == StorageKind::kMetaStock || kind == StorageKind::kRingBuffer;
}

int search_in_master(const std::string& symbol, DatafileEntry& entry, int formatId, int flags,
                     const std::string& directory, MasterHandles& masters) {
  if (symbol.empty() || OpenMaster(masters, formatId, directory) != 0) return -1;
  DatafileEntry found;
  int rc = ScanEntries(masters, formatId, found, symbol, flags | kScanMatch, directory);
  CloseMaster(masters);
  if (rc != 0 && (flags & kScanReadHeader)) {
    // Either the symbol is not there, or its data file is damaged (the
    // driver said so): a scan without the header tells which. Only a miss
    // pays for it, and the saved position is kept for the next symbol.
    const ScanPosition saved = masters.scan;
    masters.resetScan();
    DatafileEntry listed;
    if (OpenMaster(masters, formatId, directory) == 0) {
      const int again = ScanEntries(masters, formatId, listed, symbol, kScanMatch, directory);
      CloseMaster(masters);
      if (again == 0 && listed.symbol == symbol) {
        masters.scan = saved;
        entry = listed;
        return kDatafileDamaged;
      }
    }
    masters.scan = saved;
    return -1;
  }
  // The master compares its symbols padded and cut to their field; the
  // result's symbols must match exactly.
  if (rc != 0 || found.symbol != symbol) return -1;
  entry = found;
  return 0;
}

int search_in_master(const std::string& symbol, DatafileEntry& entry, int formatId, int flags,
                     const std::string& directory, MasterHandles& masters, MasterIndex& index) {
  if (symbol.empty()) return -1;
  // The masters stay open from one lookup to the next, and finalize
  // writes the entries back through them; what was read ahead is read again
  // all the same, since another handle (an entry added in between) may have
  // written since.
  const bool keep = KeepsMastersOpen(formatId);
  if (keep && masters.opened && masters.formatId == formatId && masters.directory == directory) {
    masters.master.forgetReadAhead();
    masters.emaster.forgetReadAhead();
    masters.xmaster.forgetReadAhead();
  } else if (OpenMaster(masters, formatId, directory) != 0) {
    return -1;
  }
  auto close = [&] {
    if (!keep) CloseMaster(masters);
  };
  if (!index.built()) index.build(masters, formatId, directory);
  if (!index.usable()) {
    CloseMaster(masters);
    return search_in_master(symbol, entry, formatId, flags, directory, masters);
  }
  if (!index.position(masters, symbol, (flags & kScanContinue) != 0)) {
    close();
    index.missed();
    return -1;
  }
  const ScanPosition start = masters.scan;
  DatafileEntry found;
  int rc = ScanEntries(masters, formatId, found, symbol, flags | kScanMatch | kScanContinue, directory);
  if (rc != 0 && (flags & kScanReadHeader)) {
    // The master holds the symbol, so only its data file can have failed
    // the scan: a scan without the header names the damaged file.
    masters.scan = start;
    DatafileEntry listed;
    if (ScanEntries(masters, formatId, listed, symbol, kScanMatch | kScanContinue, directory) == 0 &&
        listed.symbol == symbol) {
      close();
      index.missed();
      entry = listed;
      return kDatafileDamaged;
    }
  }
  close();
  if (rc != 0 || found.symbol != symbol) {
    index.missed();
    return -1;
  }
  index.found();
  entry = found;
  return 0;
}

}  // namespace kvqt
