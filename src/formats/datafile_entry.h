// One instrument's entry in a directory's master file, as the format drivers
// see it. Its persistent values come from and go back to the Datafile of the
// data model.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "datetime/date.h"
#include "datetime/time_value.h"

namespace kvqt {

class Datafile;

inline constexpr std::size_t kEntrySymbolSize = 8;
inline constexpr std::size_t kEntryNameSize = 50;

struct DatafileEntry {
  std::string symbol;  // at most 8 characters, no trailing blanks
  std::string name;    // at most 50 characters, no trailing blanks
  char period = 'D';   // D, W, M, or I for intraday
  std::uint16_t interval = 0;  // intraday interval in minutes
  char fileLetter = 'S';
  Date firstDate;
  Time firstTime;
  Date lastDate;
  Time lastTime;
  Time dayStartTime;  // carried between the MetaStock masters
  Time dayEndTime;
  // Records in the data file; MetaStock counts its header record. -1: not yet counted.
  std::int32_t recordCount = 0;
  std::int32_t ringSize = 0;     // maximum records (ring buffers; MetaStock header limit)
  std::int32_t ringStart = 0;    // oldest record of a ring buffer
  std::int32_t recordsRead = 0;  // records read so far from a ring buffer
  std::int32_t fields = 0;       // fields per record (MetaStock) or file type
  std::int32_t fileNumber = 0;   // MetaStock data-file number
  std::int32_t masterOffset = 0;
  std::int32_t extendedOffset = 0;  // offset of the record in XMASTER
  float lastClose = 0;
  Datafile* datafile = nullptr;  // the data-model entry it was built from (Orvista)
};

// Blank-pads to `size` and trims trailing blanks again, which cuts the text to
// `size` characters and removes trailing blanks.
std::string PadAndTrim(std::string_view text, std::size_t size);
void SetEntrySymbol(DatafileEntry& entry, std::string_view symbol);
void SetEntryName(DatafileEntry& entry, std::string_view name);

// New entries start from one of these: period D, file letter S, null dates,
// other fields 0; file type and ring size from the writer settings in force
// (the Technical Investor ones for the default template).
DatafileEntry DefaultEntryTemplate();
DatafileEntry TopVestEntryTemplate();

}  // namespace kvqt
