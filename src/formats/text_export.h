// Text output of downloaded quote fields: the lines of a file download in a
// text format (and in the export-only ids 18 and 19), and the query output's
// line of one price record. Lines end in CR LF.
#pragma once

#include <string>
#include <vector>

#include "formats/price_record.h"

namespace kvqt {

class Directory;
class Format;
class List;

// Where id 19 looks an instrument's name up: the directory or the list the
// download was made for; with neither the symbol stands for the name.
struct ExportNames {
  const Directory* directory = nullptr;
  const List* list = nullptr;
};

// The line for one downloaded line's fields (symbol, date, then time and
// value, or five values). Empty when the id writes nothing for them (ids
// without text output, id 19 with other than seven fields).
std::string ExportFieldsLine(int formatId, const Format* format, const std::vector<std::string>& fields,
                             const ExportNames& names = {});

// The query output's line: symbol, date, then volume, open, high, low and close.
std::string ExportRecordLine(int formatId, const Format* format, const std::string& symbol,
                             const PriceRecord& record);

}  // namespace kvqt
