#include "service/import/search_in_master.h"

#include "formats/format_driver.h"

namespace kvqt {

int search_in_master(const std::string& symbol, DatafileEntry& entry, int formatId, int flags,
                     const std::string& directory, MasterHandles& masters) {
  if (symbol.empty() || OpenMaster(masters, formatId, directory) != 0) return -1;
  DatafileEntry found;
  int rc = ScanEntries(masters, formatId, found, symbol, flags | kScanMatch, directory);
  CloseMaster(masters);
  // The master compares its symbols padded and cut to their field; the
  // result's symbols must match exactly.
  if (rc != 0 || found.symbol != symbol) return -1;
  entry = found;
  return 0;
}

}  // namespace kvqt
