// The copy loop that convert and append share: source records that are newer
// than the destination's last one go into the destination data file.
#pragma once

#include <string>

#include "formats/format_driver.h"

namespace kvqt {

class Format;

struct CopySide {
  DatafileEntry& entry;
  DatafileHandle& handle;
  int formatId;
  const Format* format;
};

enum class CopyEnd {
  kSourceEnded,      // every record was read
  kDestinationFull,  // the destination holds the most records its format allows
  kWriteFailed,      // a record could not be written
};

// Where a record stands in time for the "newer than" tests: its date, and for
// an intraday destination also its time of day (a null time counts as 0:00).
std::int64_t Moment(Date date, Time time, int destinationFormatId);

// Reads the source to its end and writes every record that is after the
// destination's last record (which each write moves on, so a record of the
// same day, or for intraday formats the same time, as the one before it is
// passed over) and, when `from` is set, not dated before it. Records without
// a date are no price records and are passed over.
CopyEnd CopyNewerRecords(CopySide source, CopySide destination, Date from);

// Tells the user how a copy into the data file of `symbol` ended short:
// "Warning: Data file full", or "Error writing destination datafile".
void ReportCopyEnd(CopyEnd end, const std::string& symbol);

}  // namespace kvqt
