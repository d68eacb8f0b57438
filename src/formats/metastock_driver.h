// The MetaStock storage kind (format ids 3, 4 and 20): numbered data files
// f<n>.DAT / f<n>.MWD indexed by MASTER (numbers 1-255), EMASTER (its
// companion with long names and times) and XMASTER (numbers 256-6001).
#pragma once

#include "formats/storage_driver.h"

namespace kvqt {

class MetaStockDriver : public StorageDriver {
 public:
  int openDatafile(DatafileEntry& entry, DatafileHandle& handle, int formatId, OpenMode mode,
                   const std::string& directory, unsigned permissions) override;
  int positionAtRecord(DatafileEntry& entry, DatafileHandle& handle, int formatId, std::int32_t n) override;
  int readRecord(DatafileEntry& entry, DatafileHandle& handle, PriceRecord& record, int formatId,
                 const Format* format) override;
  int writeRecord(DatafileEntry& entry, DatafileHandle& handle, const PriceRecord& record, int formatId,
                  const Format* format) override;
  std::int32_t headerRecords(int formatId) const override;
  std::int64_t emptyDatafileSize(const DatafileEntry& entry, int formatId) const override;
  int flushDatafile(DatafileEntry& entry, DatafileHandle& handle, int formatId) override;

  int openMaster(MasterHandles& masters, int formatId, const std::string& directory) override;
  int checkMaster(int formatId, const std::string& directory) override;
  int scanEntries(MasterHandles& masters, int formatId, DatafileEntry& entry, const std::string& symbol, int flags,
                  const std::string& directory) override;
  int addEntry(DatafileEntry& entry, int formatId, const std::string& directory) override;
  int finalize(DatafileEntry& entry, DatafileHandle& handle, int formatId, const std::string& directory) override;
  int finalizeIn(MasterHandles& masters, DatafileEntry& entry, DatafileHandle& handle, int formatId,
                 const std::string& directory) override;
  int renameEntry(const std::string& oldSymbol, const std::string& newSymbol, const std::string& newName,
                  int formatId, const std::string& directory) override;
  int deleteEntry(const std::string& symbol, DatafileEntry& entry, int formatId,
                  const std::string& directory) override;
  int setName(const std::string& symbol, const std::string& name, int formatId,
              const std::string& directory) override;
};

}  // namespace kvqt
