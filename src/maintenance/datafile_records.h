// Reading all price records of one instrument's data file, as the data
// manager loads them: the entry is looked up in the directory's master, the
// data file opened for reading and read to the end of its data.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "formats/datafile_entry.h"
#include "formats/price_record.h"

namespace kvqt {

class Format;

// The most records the data manager holds; a data file with more is too large.
inline constexpr std::int32_t kMaxManagedRecords = 2147483646;

struct DatafileRecords {
  DatafileEntry entry;  // as the master has it
  std::vector<PriceRecord> records;
  // False when the data ended before the end of the file (a line that cannot
  // be read): writing the records back would lose what follows it.
  bool complete = true;
};

inline constexpr int kReadNoEntry = -1;      // not in the master, or the data file does not open
inline constexpr int kReadNoMemory = -2;     // the records do not fit in memory
inline constexpr int kReadTooLarge = -3;     // more than kMaxManagedRecords records

// 0 when read (perhaps no records), else one of the codes above. `format`
// gives the separators of the text formats and may be null.
int ReadDatafileRecords(const Format* format, int formatId, const std::string& directory,
                        const std::string& symbol, DatafileRecords& out);

}  // namespace kvqt
