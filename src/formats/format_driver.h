// The operations every chart format is reached through, keyed by format id.
// Each maps the id to its storage kind (driver_table.h) and runs that kind's
// driver. Results: 0 on success, -1 on failure after closing what the
// operation opened; the messages are the user's. Ids above 22 do nothing.
//
// A directory is written in three steps: AddEntry or CreateEntry (the master
// is created by the first add), OpenDatafile in create or append mode and
// WriteRecord (each write keeps the entry's dates and count), then
// FinalizeDirectory, which copies the entry back into the master. Readers open
// the master, scan its entries and open data files in read mode.
#pragma once

#include <cstdint>
#include <string>

#include "formats/datafile_entry.h"
#include "formats/datafile_handle.h"
#include "formats/file_names.h"
#include "formats/master_handles.h"
#include "formats/price_record.h"
#include "formats/storage_driver.h"

namespace kvqt {

class Format;

// Takes what FinalizeDirectory hands back to the data model: the Datafile
// with the entry's symbol gets its dates (and for intraday ids its times)
// and the count of price records.
class DatafileSink {
 public:
  virtual ~DatafileSink() = default;
  virtual void finalized(const DatafileEntry& entry, std::int32_t priceRecords, bool withTimes) = 0;
};

// The count of price records the data model keeps for an entry: MetaStock
// counts its header record, which is not a price record.
std::int32_t PriceRecordCount(const DatafileEntry& entry, int formatId);

// `directory` ends in a separator; an empty one is a missing directory.
int OpenDatafile(DatafileEntry& entry, DatafileHandle& handle, int formatId, OpenMode mode,
                 const std::string& directory, unsigned permissions = 0644);
// Positions on record n (MetaStock: record 0 is the header). A negative n does nothing.
int PositionAtRecord(DatafileEntry& entry, DatafileHandle& handle, int formatId, std::int32_t n);
// -1 ends the data.
int ReadRecord(DatafileEntry& entry, DatafileHandle& handle, PriceRecord& record, int formatId,
               const Format* format = nullptr);
// -1: the record was not written.
int WriteRecord(DatafileEntry& entry, DatafileHandle& handle, const PriceRecord& record, int formatId,
                const Format* format = nullptr);
int CloseDatafile(DatafileHandle& handle);
// The most records a data file may hold, -1 when unlimited.
std::int32_t MaxRecords(int formatId, const DatafileEntry& entry);
// The largest size of a data file that holds no price record: MetaStock's
// header record, nothing for the other kinds.
std::int64_t EmptyDatafileSize(const DatafileEntry& entry, int formatId);

int OpenMaster(MasterHandles& masters, int formatId, const std::string& directory);
// 0 when the id has no master or its master exists; -2 when the directory has none yet.
int CheckMaster(int formatId, const std::string& directory);
void CloseMaster(MasterHandles& masters);
// The next entry (kScanContinue), or the entry with `symbol` (kScanMatch); -1 at the end.
int ScanEntries(MasterHandles& masters, int formatId, DatafileEntry& entry, const std::string& symbol, int flags,
                const std::string& directory);
// Opens the master, looks the symbol up and closes; -1 when not found.
int FindEntry(const std::string& symbol, DatafileEntry& entry, int formatId, const std::string& directory,
              int flags = 0);

// A new entry from the template, with symbol, name and period; the master is
// created when the directory has none (never over one that exists).
int AddEntry(const std::string& symbol, const std::string& name, char period, DatafileEntry& entry, int formatId,
             const std::string& directory);
// 1 when the entry and its empty data file were made; 0 when the symbol is
// already there (the entry is then the existing one); -1 on failure. The
// entry's first date is kept (the last date becomes the day before) and its
// period is used (intraday ids always use I).
int CreateEntry(const std::string& symbol, const std::string& name, std::uint16_t interval, DatafileEntry& entry,
                int formatId, const std::string& directory, DatafileSink* sink = nullptr);
// Writes the entry back into the master, closes the data file and hands the
// dates and count to `sink`.
int FinalizeDirectory(DatafileEntry& entry, DatafileHandle& handle, int formatId, const std::string& directory,
                      DatafileSink* sink = nullptr);
// The same through the directory's masters that the caller holds open
// (OpenMaster), for a caller that finalizes many entries of one directory.
int FinalizeDirectory(DatafileEntry& entry, DatafileHandle& handle, int formatId, const std::string& directory,
                      DatafileSink* sink, MasterHandles* openMasters);
int RenameEntry(const std::string& oldSymbol, const std::string& newSymbol, const std::string& newName,
                int formatId, const std::string& directory);
int DeleteEntry(const std::string& symbol, DatafileEntry& entry, int formatId, const std::string& directory);
// The instrument-name import's rename of an entry's name (MetaStock, id 4 only);
// -1 when the symbol is not there.
int SetEntryNameInMaster(const std::string& symbol, const std::string& name, int formatId,
                         const std::string& directory);

struct DetectResult {
  bool fits = false;
  // The id found; 23 for an empty directory (every id fits), -2 for an ASCII
  // index of the older layout, -1 when the files fit no format.
  int found = -1;
};
DetectResult DetectFormat(const std::string& directory, int wantedFormatId);

}  // namespace kvqt
