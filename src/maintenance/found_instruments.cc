#include "maintenance/found_instruments.h"

#include "app/core/compose.h"
#include "app/core/messages.h"
#include "app/model/format.h"
#include "datetime/parse_date.h"
#include "maintenance/add_instrument.h"
#include "maintenance/new_instrument.h"
#include "maintenance/start_date_text.h"

namespace kvqt {

std::string AddConfirmQuestion(long count) { return composeFormat("\nAdd the %ld selected instruments?", count); }

int ReadAddConfirm(std::string_view startText, std::string_view intervalText, bool withInterval,
                   AddConfirmValues& values, bool* intervalAtFault) {
  if (intervalAtFault) *intervalAtFault = false;
  values.interval = 0;
  if (withInterval) {
    const bool empty = intervalText.find_first_not_of(" \t") == std::string_view::npos;
    values.interval = empty ? kDefaultIntradayInterval : ParseIntervalText(intervalText);
    if (values.interval < 1 || values.interval > 60) {
      message("Invalid interval (1-60)");
      if (intervalAtFault) *intervalAtFault = true;
      return -1;
    }
  }
  const StartDateText start = ParseStartDateText(startText);
  if (!start.valid()) {
    message(kInvalidStartDateText);
    return -1;
  }
  values.start = start.date;
  return 0;
}

int addFoundInstruments(std::span<const FoundInstrument> found, const AddConfirmValues& values, const Format& format,
                        Directory& directory) {
  int added = 0;
  for (const FoundInstrument& one : found) {
    NewInstrument instrument;
    instrument.symbol = one.symbol;
    instrument.name = CutInstrumentName(one.name, format.maxNameLength());
    instrument.firstDate = values.start;
    instrument.lastDate = NewInstrumentLastDate(format, values.start, false);
    instrument.interval = format.intraday() ? values.interval : 0;
    switch (CreateInstrument(instrument, format, directory)) {
      case kInstrumentAdded:
        ++added;
        break;
      case kInstrumentExists:
        message2("Symbol exists already, no file created", one.symbol);
        break;
      case kInstrumentBadSymbol:
        message2("Cannot add datafile", one.symbol);
        break;
      default:
        return added;
    }
  }
  return added;
}

}  // namespace kvqt
