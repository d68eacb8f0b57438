// A new instrument in a directory: its entry in the directory's master and its
// empty data file, made by the format driver, and its Datafile in the data
// model. The empty state shows as a last date before the first date.
#pragma once

#include <string>

#include "datetime/date.h"

namespace kvqt {

class Datafile;
class Directory;
class Format;

inline constexpr int kInstrumentAdded = 1;
inline constexpr int kInstrumentExists = 0;
inline constexpr int kInstrumentFailed = -1;
// The symbol cannot name a data file of the format (a slash, "..").
inline constexpr int kInstrumentBadSymbol = -2;

// The interval new entries of formats with intraday fields get when none is given.
inline constexpr int kDefaultIntradayInterval = 15;

struct NewInstrument {
  std::string symbol;
  std::string name;  // empty: the symbol
  Date firstDate;
  // What the Datafile shows until the directory is read again; the master
  // always gets the day before the first date.
  Date lastDate;
  int interval = 0;
  float factor = 1.0f;
};

// 'I' for intraday formats, else 'D'.
char NewInstrumentPeriod(const Format& format);
// The day before `start`; for an intraday format and an instrument typed in
// by hand, `start` itself.
Date NewInstrumentLastDate(const Format& format, Date start, bool typedByHand);

// Whether the symbol can name a data file of the format in the directory
// (ending in a separator), before anything is written.
bool SymbolNamesDataFile(const std::string& symbol, int formatId, const std::string& path);

// kInstrumentAdded: the entry and its data file were made and a Datafile
// joined `directory` (returned through `added`); kInstrumentExists: the
// master holds the symbol already and nothing changed; kInstrumentFailed: the
// driver failed and said so; kInstrumentBadSymbol, without a message, before
// the master is touched (a data file that cannot be made would leave its
// entry behind).
int CreateInstrument(const NewInstrument& instrument, const Format& format, Directory& directory,
                     Datafile** added = nullptr);

}  // namespace kvqt
