#include "service/import/search_in_master.h"

#include "formats/format_driver.h"

namespace kvqt {

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

}  // namespace kvqt
