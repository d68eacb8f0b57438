// The code of one storage kind (MetaStock, the text formats, the ring-buffer
// files, ...) behind the operations of format_driver.h. The framework checks
// what is common to all kinds (format id, directory, create-mode reset, the
// update-at-end step back, the data-model update after finalize) and routes
// each operation to the driver of the id's kind; a kind overrides what it has.
// Everything not overridden fails with -1.
#pragma once

#include <cstdint>
#include <string>

#include "formats/datafile_entry.h"
#include "formats/datafile_handle.h"
#include "formats/master_handles.h"
#include "formats/price_record.h"

namespace kvqt {

class Format;

// ScanEntries flags.
inline constexpr int kScanContinue = 0x01;     // go on from the saved scan position
inline constexpr int kScanMatch = 0x02;        // the entry with the given symbol
inline constexpr int kScanNoDataFiles = 0x04;  // leave data files closed
inline constexpr int kScanReadHeader = 0x08;   // read the MetaStock data file's header

class StorageDriver {
 public:
  virtual ~StorageDriver() = default;

  // Data files. The handle is closed on entry to openDatafile.
  virtual int openDatafile(DatafileEntry& entry, DatafileHandle& handle, int formatId, OpenMode mode,
                           const std::string& directory, unsigned permissions);
  virtual int positionAtRecord(DatafileEntry& entry, DatafileHandle& handle, int formatId, std::int32_t n);
  virtual int readRecord(DatafileEntry& entry, DatafileHandle& handle, PriceRecord& record, int formatId,
                         const Format* format);
  virtual int writeRecord(DatafileEntry& entry, DatafileHandle& handle, const PriceRecord& record, int formatId,
                          const Format* format);
  // Records before the first price record that the entry's count includes
  // (the MetaStock header record); update-at-end never steps back over them.
  virtual std::int32_t headerRecords(int formatId) const;
  // The largest size of a data file that holds no price record.
  virtual std::int64_t emptyDatafileSize(const DatafileEntry& entry, int formatId) const;
  // The path of the entry's data file in `directory`: the existing file when
  // there is one, else the name a new one gets.
  virtual std::string datafilePath(const DatafileEntry& entry, int formatId, const std::string& directory);
  // Writes out everything the open data file keeps about its own records (the
  // MetaStock header), leaving it open; -1 when that failed.
  virtual int flushDatafile(DatafileEntry& entry, DatafileHandle& handle, int formatId);

  // Master files. Only the kinds that have one are asked.
  virtual int openMaster(MasterHandles& masters, int formatId, const std::string& directory);
  // 0 when the master exists, -2 when the directory has none yet.
  virtual int checkMaster(int formatId, const std::string& directory);
  virtual void closeMaster(MasterHandles& masters);
  // 0 with the next (or the matching) entry; -1 at the end.
  virtual int scanEntries(MasterHandles& masters, int formatId, DatafileEntry& entry, const std::string& symbol,
                          int flags, const std::string& directory);
  // The entry is filled from its template, with symbol, name and period set.
  virtual int addEntry(DatafileEntry& entry, int formatId, const std::string& directory);
  // Writes the entry back into the master and closes the data file.
  virtual int finalize(DatafileEntry& entry, DatafileHandle& handle, int formatId, const std::string& directory);
  // The same through masters the caller holds open for the directory (a kind
  // that cannot use them opens its own).
  virtual int finalizeIn(MasterHandles& masters, DatafileEntry& entry, DatafileHandle& handle, int formatId,
                         const std::string& directory) {
    (void)masters;
    return finalize(entry, handle, formatId, directory);
  }
  virtual int renameEntry(const std::string& oldSymbol, const std::string& newSymbol, const std::string& newName,
                          int formatId, const std::string& directory);
  virtual int deleteEntry(const std::string& symbol, DatafileEntry& entry, int formatId,
                          const std::string& directory);
  // Only the formats whose master keeps instrument names; -1 elsewhere.
  virtual int setName(const std::string& symbol, const std::string& name, int formatId,
                      const std::string& directory);
};

}  // namespace kvqt
