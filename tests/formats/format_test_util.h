// Small helpers shared by the format tests.
#pragma once

#include <string>
#include <vector>

#include "formats/format_driver.h"

namespace kvqt::testing {

inline PriceRecord Daily(Date date, float open, float high, float low, float close, float volume) {
  PriceRecord r;
  r.date = date;
  r.open = open;
  r.high = high;
  r.low = low;
  r.close = close;
  r.volume = volume;
  return r;
}

inline PriceRecord Intraday(Date date, Time time, float open, float high, float low, float close, float volume) {
  PriceRecord r = Daily(date, open, high, low, close, volume);
  r.time = time;
  return r;
}

// Appends records to an existing entry and finalizes; 0 when all went well.
inline int AppendRecords(const std::string& dir, int formatId, DatafileEntry& entry,
                         const std::vector<PriceRecord>& records) {
  DatafileHandle handle;
  if (OpenDatafile(entry, handle, formatId, OpenMode::kAppend, dir) != 0) return -1;
  for (const PriceRecord& r : records)
    if (WriteRecord(entry, handle, r, formatId) != 0) return -1;
  return FinalizeDirectory(entry, handle, formatId, dir);
}

// Every entry a full scan returns, in scan order.
inline std::vector<DatafileEntry> ScanAll(const std::string& dir, int formatId, int flags = 0) {
  std::vector<DatafileEntry> entries;
  MasterHandles masters;
  if (OpenMaster(masters, formatId, dir) != 0) return entries;
  DatafileEntry entry;
  int next = flags;
  for (int guard = 0; guard < 100000 && ScanEntries(masters, formatId, entry, "", next, dir) == 0; ++guard) {
    entries.push_back(entry);
    next = flags | kScanContinue;
  }
  CloseMaster(masters);
  return entries;
}

inline std::vector<PriceRecord> ReadAll(const std::string& dir, int formatId, DatafileEntry entry) {
  std::vector<PriceRecord> records;
  DatafileHandle handle;
  if (OpenDatafile(entry, handle, formatId, OpenMode::kRead, dir) != 0) return records;
  PriceRecord r;
  while (records.size() < 1000000 && ReadRecord(entry, handle, r, formatId) == 0) records.push_back(r);
  return records;
}

}  // namespace kvqt::testing
