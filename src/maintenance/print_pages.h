// The printed pages of a directory and of a list, composed as text lines:
// the header, one line per instrument, page breaks, and every page's footer
// (a rule, the print date and time, the page number). The user interface only
// draws the lines in a fixed-pitch font.
#pragma once

#include <string>
#include <vector>

#include "datetime/date_time.h"

namespace kvqt {

class Directory;
class Format;
class List;

// One printed page: its lines from the top, the footer included.
using PrintPage = std::vector<std::string>;

// Characters in a line: 88 for daily formats, 100 for intraday formats.
int PrintLineWidth(const Format& format);

// The instruments of the directory ("KORV Print Directory").
std::vector<PrintPage> ComposeDirectoryPrint(const Format& format, const Directory& directory, int linesPerPage,
                                             const DateTime& printedAt);

// The selected instruments of every directory of the list ("KORV Print List").
std::vector<PrintPage> ComposeListPrint(const Format& format, const List& list, int linesPerPage,
                                        const DateTime& printedAt);

}  // namespace kvqt
