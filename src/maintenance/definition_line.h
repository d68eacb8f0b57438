// One line of a definition file as "Query from" reads it: a symbol, a start
// date and an end date separated by commas. The keyword lines that request
// files written for the service carry are passed over.
#pragma once

#include <string>
#include <string_view>

#include "datetime/date.h"

namespace kvqt {

// The longest definition line that is read; the rest of a longer line is dropped.
inline constexpr std::size_t kMaxDefinitionLine = 120;

struct DefinitionLine {
  std::string symbol;
  Date start;  // null when missing or not a date
  Date end;    // null when missing or not a date: no upper bound
};

// Whether a first field begins with one of the request keywords ("CODE",
// "VERSION", "NEWKVQT", "REQUEST", ...; case-sensitive).
bool IsRequestKeyword(std::string_view field);

// False for a line to pass over: a keyword line, or one without a symbol.
// Dates are read with "?md"; blanks around the fields are dropped.
bool ParseDefinitionLine(std::string_view line, DefinitionLine& out);

}  // namespace kvqt
