// The Orvista 2000 kind (format id 16): no database of its own. Writing
// appends import lines to the directory's "sksdat.o2k" with the market code
// of its "Market.INI"; the instruments are the Datafiles of the Directory
// object the caller puts into MasterHandles::directoryObject.
#pragma once

#include "formats/storage_driver.h"

namespace kvqt {

class OrvistaDriver : public StorageDriver {
 public:
  // Create and append both append to the import file; update modes write at
  // its end; there is nothing to read.
  int openDatafile(DatafileEntry& entry, DatafileHandle& handle, int formatId, OpenMode mode,
                   const std::string& directory, unsigned permissions) override;
  int positionAtRecord(DatafileEntry& entry, DatafileHandle& handle, int formatId, std::int32_t n) override;
  int writeRecord(DatafileEntry& entry, DatafileHandle& handle, const PriceRecord& record, int formatId,
                  const Format* format) override;
  // With kScanNoDataFiles an instrument never downloaded (last date 1 January
  // 1970, or none) gets first and last date "orvista2k_months_new_share"
  // months (default 48) and a day before today.
  int scanEntries(MasterHandles& masters, int formatId, DatafileEntry& entry, const std::string& symbol, int flags,
                  const std::string& directory) override;
  // Nothing to write: the Directory's Datafile is the entry.
  int addEntry(DatafileEntry& entry, int formatId, const std::string& directory) override;
  int finalize(DatafileEntry& entry, DatafileHandle& handle, int formatId, const std::string& directory) override;
};

}  // namespace kvqt
