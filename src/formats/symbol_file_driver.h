// The storage kind of the binary formats with one file per symbol and no
// master (format ids 6 Koersbase II, 22 Hermes intraday, and the legacy 1 and
// 7). A directory's entries are its files: a scan lists the directory, takes
// the symbol from each file name and the dates and count from the file's first
// and last records (id 1: from its header).
#pragma once

#include <string>

#include "formats/storage_driver.h"

namespace kvqt {

class SymbolFileDriver : public StorageDriver {
 public:
  int openDatafile(DatafileEntry& entry, DatafileHandle& handle, int formatId, OpenMode mode,
                   const std::string& directory, unsigned permissions) override;
  int positionAtRecord(DatafileEntry& entry, DatafileHandle& handle, int formatId, std::int32_t n) override;
  std::string datafilePath(const DatafileEntry& entry, int formatId, const std::string& directory) override;
  int readRecord(DatafileEntry& entry, DatafileHandle& handle, PriceRecord& record, int formatId,
                 const Format* format) override;
  int writeRecord(DatafileEntry& entry, DatafileHandle& handle, const PriceRecord& record, int formatId,
                  const Format* format) override;

  int scanEntries(MasterHandles& masters, int formatId, DatafileEntry& entry, const std::string& symbol, int flags,
                  const std::string& directory) override;
  int finalize(DatafileEntry& entry, DatafileHandle& handle, int formatId, const std::string& directory) override;
};

SymbolFileDriver& SymbolFileDriverInstance();

// The entry's data file (an existing one found regardless of case); empty for
// a symbol (or id 1 period letter) that names no file in the directory.
std::string SymbolFilePath(const DatafileEntry& entry, int formatId, const std::string& directory);

}  // namespace kvqt
