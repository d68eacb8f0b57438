// The lines of a download result ("sksdat.dat"): "CD <path>" lines that switch
// the directory, and price lines "symbol,date[,time],volume[,prices...]".
// Nothing in the file is trusted: a line that is too long, has no usable date
// or holds text where a number stands is reported as such, never turned into
// a record.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "formats/price_record.h"

namespace kvqt {

// The longest line the result holds, without its line end.
inline constexpr std::size_t kMaxResultLineLength = 255;
// A file download hands at most this many fields of a line to the output writer.
inline constexpr std::size_t kMaxExportFields = 30;

// Reads a result file line by line through a large buffer. Lines end in LF
// or CR LF; a last line without a line end counts.
class ResultLineReader {
 public:
  enum class Next { kLine, kTooLong, kEnd };

  // Does not own the file.
  explicit ResultLineReader(std::FILE* file);

  // The next line without its line end, valid until the next call. A line
  // longer than kMaxResultLineLength gives kTooLong with its first
  // kMaxResultLineLength characters, and the rest of it is passed over.
  Next next(std::string_view& line);
  // Set when reading stopped on an error rather than at the end of the file.
  bool failed() const { return failed_; }
  // Bytes read from the file but not yet handed out as lines (progress display).
  std::size_t unread() const { return len_ - pos_; }

 private:
  bool fill();

  std::FILE* file_;
  std::vector<char> buffer_;
  std::size_t pos_ = 0;
  std::size_t len_ = 0;
  bool eof_ = false;
  bool failed_ = false;
  std::string line_;
};

// "CD " and the directory path (the rest of the line).
bool IsChangeDirectoryLine(std::string_view line);
std::string_view ChangeDirectoryPath(std::string_view line);

enum class PriceLineParse {
  kRecord,     // a record to write
  kNoSymbol,   // ignored
  kMalformed,  // no usable date, a bad time, or text where a number stands
};

struct ResultPriceLine {
  std::string_view symbol;  // points into the parsed line
  PriceRecord record;
};

// A price line: symbol, date (YYYYMMDD, or the 6- and 7-digit forms), for
// intraday formats the time (4 digits HHMM, else HHMMSS), the volume and up
// to four prices: four are open, high, low and close; two or three are high,
// low and close with open 0; one stands for all four. Missing numbers are 0.
PriceLineParse ParseResultPriceLine(std::string_view line, bool intraday, ResultPriceLine& out);

// A decimal number ("12", "-0.5", ".25"); an empty text is 0. False for
// anything else, or a value a single-precision float cannot hold.
bool ParseResultNumber(std::string_view text, float& value);

// A file download's fields: split at commas into at most 30 fields; the
// 30th keeps the rest of the line, commas included.
std::vector<std::string> SplitExportFields(std::string_view line);

}  // namespace kvqt
