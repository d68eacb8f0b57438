// Adding several instruments found in the symbol catalogue at once: the
// add-confirm dialog's checks, then one new entry per instrument, all with
// the same start date and interval and without questions.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "datetime/date.h"

namespace kvqt {

class Directory;
class Format;

struct FoundInstrument {
  std::string symbol;
  std::string name;
};

// "\nAdd the %ld selected instruments?"
std::string AddConfirmQuestion(long count);

struct AddConfirmValues {
  Date start;
  int interval = 0;
};
// "Add" of the add-confirm dialog: the interval first (only when the dialog
// shows it; empty means 15, otherwise 1-60, else "Invalid interval (1-60)"),
// then the start date ("Invalid start date..."). 0, or -1 after the message;
// `intervalAtFault` tells which field it was about.
int ReadAddConfirm(std::string_view startText, std::string_view intervalText, bool withInterval,
                   AddConfirmValues& values, bool* intervalAtFault = nullptr);

// Adds each instrument as a new entry with an empty data file and a Datafile
// in `directory`: factor 1, the start date as first date and the day before
// as last date, `interval` for intraday formats (0 otherwise), the name cut
// to the format's maximum. A symbol already there shows "Symbol exists
// already, no file created" with the symbol and is passed over; so is a symbol
// that cannot name a data file ("Cannot add datafile"). A driver failure,
// already shown, stops the adding. Returns the number of instruments added.
int addFoundInstruments(std::span<const FoundInstrument> found, const AddConfirmValues& values, const Format& format,
                        Directory& directory);

}  // namespace kvqt
