// Adding one instrument by hand, from the file manager's Name, Symbol, Start
// date, Factor and Interval fields: the checks of the typed texts with their
// messages and questions, then the new entry, its empty data file and its
// Datafile.
#pragma once

#include <string>
#include <string_view>

#include "maintenance/new_instrument.h"

namespace kvqt {

class Datafile;
class Directory;
class Format;

// Results besides kInstrumentAdded (1), kInstrumentExists (0) and
// kInstrumentFailed (-1, the driver's message shown):
inline constexpr int kAddRefused = -2;       // a check failed (shown) or a question was answered No
inline constexpr int kAddNotSupported = -3;  // the format takes no new instruments: nothing happens

// The file manager's fields the user works with.
enum class InstrumentField { kNone, kName, kSymbol, kStartDate, kFactor, kInterval };

struct AddInstrumentFields {
  std::string_view name;
  std::string_view symbol;
  std::string_view startDate;
  std::string_view factor;
  std::string_view interval;  // read only for formats with intraday fields
};

struct AddInstrumentResult {
  int result = kAddRefused;
  // The field a refusal is about.
  InstrumentField field = InstrumentField::kNone;
  // Once name, symbol and start date have passed: the name as it will be
  // stored (cut), for the Name field.
  bool writeBackName = false;
  std::string name;
  // The interval read, for the file manager to offer next time.
  bool rememberInterval = false;
  int interval = 0;
  // The new instrument, a member of the directory (kInstrumentAdded only).
  Datafile* datafile = nullptr;
};

// "Name too long. Shorten name to: %-.*s?" and "Negative factor?" are asked
// through question(); every refusal is shown through message().
AddInstrumentResult addInstrument(const AddInstrumentFields& fields, const Format& format, Directory* directory);

// An interval field: a whole number (blanks around it allowed), else -1.
// Whether it lies in 1-60 is the caller's check.
int ParseIntervalText(std::string_view text);
// The name as a format with that maximum length stores it; a maximum of 0 or
// less keeps nothing of it. Trailing blanks go.
std::string CutInstrumentName(std::string_view name, int maxNameLength);

}  // namespace kvqt
