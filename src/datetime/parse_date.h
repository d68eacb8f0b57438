// Reading a Date from text with a small pattern language, and the user-entry
// rule of the dialogs.
#pragma once

#include <string_view>

#include "datetime/date.h"

namespace kvqt {

inline constexpr const char* kInvalidStartDateText = "Invalid start date\n\nEnter as YYYYMMDD or D/M/YYYY";
inline constexpr const char* kInvalidEndDateText = "Invalid end date\n\nEnter as YYYYMMDD or D/M/YYYY";
inline constexpr const char* kInvalidDateText = "Invalid date\n\nEnter as YYYYMMDD or D/M/YYYY";

// Pattern characters:
//   D M Y  a decimal number of any length (blanks and sign as strtol takes
//          them) as day, month, year (normalised); no digits make the date null
//   d m y  exactly two characters (leading blanks allowed) as day, month,
//          two-digit year; a non-digit makes the date null
//   ?      a year whose width follows from the leading digits of the text:
//          6 -> 2 digits, 7 -> 3 digits (years since 1900), 8 -> 4 digits;
//          any other count logs and gives the null date
//   other  skips one character of the text
// Fields the pattern does not set are 0.
Date ParseDate(std::string_view text, std::string_view pattern);

// The dialogs' rule: a slash means "D/M/Y", a hyphen "D-M-Y", else "?md".
// A null result is an input error.
Date ParseUserDate(std::string_view text);

}  // namespace kvqt
