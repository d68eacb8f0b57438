// One price record as one line of a text chart file: the date (two- or
// four-digit year, with or without a date separator), for the intraday id the
// time, then open, high, low, close and volume, separated by the format's
// field separator, with a point or a comma as the decimal mark. Lines are
// written with CR LF and read with CR LF or LF.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>

#include "formats/price_record.h"

namespace kvqt {

class Format;

// The longest line the reader takes, without its line end. Written lines stay
// far below it; a longer line is not ours and ends the reading.
inline constexpr std::size_t kMaxTextLineLength = 118;

struct TextLineLayout {
  int formatId = 5;
  char fsep = ',';
  char dsep = '\0';  // '\0': no date separator
  char frsep = '.';  // decimal mark: '.' or ','
  bool fourDigitYear = false;
  bool withTime = false;
};

// Whether the id writes price lines through this codec (5, 9, 10, 11, 13, 14,
// 15, 17, 21).
bool IsTextLineFormat(int formatId);
// The layout of an id: separators from `format` when given, else the built-in
// ones of the id; year digits and the time column from the id.
TextLineLayout TextLineLayoutFor(int formatId, const Format* format = nullptr);

// Appends the date column and its field separator as the id writes it.
void AppendTextDate(const TextLineLayout& layout, Date date, std::string& out);
// Appends one line, CR LF included.
void AppendPriceLine(const TextLineLayout& layout, const PriceRecord& record, std::string& out);
std::string FormatPriceLine(const TextLineLayout& layout, const PriceRecord& record);

// Parses one line without its line end: 0, or -1 when the line cannot be used
// (no field separator, missing date separator, fewer than four values, an
// unreadable date, too long). `record` is only changed on success.
int ParsePriceLine(const TextLineLayout& layout, std::string_view line, PriceRecord& record);

// Reads the next line of `file` (stdio-buffered) without its line end. 1 with
// a line (also a last line without a line end), 0 at the end of the file, -1
// on a line longer than kMaxTextLineLength (the rest of it is left unread) or
// a read error.
int ReadTextLine(std::FILE* file, std::string& line);

// The next record of `file`: 0, or -1 at the end or on a line that cannot be
// used (which ends the data of that file).
int ReadPriceLine(std::FILE* file, const TextLineLayout& layout, PriceRecord& record);
// Writes one line; 0, or -1 when it could not be written.
int WritePriceLine(std::FILE* file, const TextLineLayout& layout, const PriceRecord& record);

}  // namespace kvqt
