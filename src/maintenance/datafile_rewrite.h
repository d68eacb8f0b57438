// Writing an instrument's price records back over its data file as a whole.
// The new data file is written completely beside the old one (in a temporary
// folder of the same directory) and only then renamed over it, so a crash, a
// full disk or a failed write leaves the old data file as it was.
#pragma once

#include <string>

#include "formats/datafile_entry.h"
#include "maintenance/record_array.h"

namespace kvqt {

class Format;

// The entry's dates for the master; for an empty data file the last date is
// before the first.
struct DatafileDates {
  Date first;
  Time firstTime;
  Date last;
  Time lastTime;
};

// Replaces the data file of `symbol` in `directory` by `records` and brings
// its master entry up to date. 0 with the entry as written in `written`; -1
// when anything failed, with the data file and its master entry unchanged.
// Formats without data files of their own (the Orvista import file) are
// refused.
int RewriteDatafile(const Format* format, int formatId, const std::string& directory, const std::string& symbol,
                    const RecordArray& records, const DatafileDates& dates, DatafileEntry& written);

}  // namespace kvqt
