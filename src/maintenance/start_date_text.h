// The start-date field of the dialogs that add instruments or convert data:
// "D/M/Y" when the text holds a slash, "D-M-Y" when it holds a hyphen, else
// YYYYMMDD, YYYMMDD or YYMMDD.
#pragma once

#include <string>
#include <string_view>

#include "datetime/date.h"

namespace kvqt {

struct StartDateText {
  Date date;
  // Nothing but blanks was typed. Callers decide whether that means "no date"
  // (convert) or an error (adding instruments).
  bool empty = false;
  // A date was typed and read.
  bool valid() const { return !date.isNull(); }
};

// Blanks around the date are ignored. A text that is neither empty nor a date
// gives the null date; callers answer with kInvalidStartDateText.
StartDateText ParseStartDateText(std::string_view text);

// What a start-date field shows when it opens: a week before today, "%d/%d/%04d".
std::string DefaultStartDateText();

}  // namespace kvqt
