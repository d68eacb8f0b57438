// One line of an uploaded request file (query.dat or a user's definition
// file), taken apart. Nothing in it is trusted: every number is checked for
// its digits and its range, and a line that does not fit a known form is
// "invalid" and answered with nothing.
#pragma once

#include <string>
#include <string_view>

namespace kvqt::server {

enum class LineKind {
  kBlank,
  kVersion,          // VERSION fX.Y.Z: the client's version
  kNewRelease,       // NEWKVQT fX.Y.Z: send a newer release, if there is one
  kTableRequest,     // REQUEST 3|17, 3|18, 3|23: the full symbol table
  kChangesRequest,   // REQUEST 3|22|date (with options), 3|24|date (without)
  kSplitsRequest,    // REQUEST 3|21|date
  kOtherKeyword,     // REQUEST 1|2, FIREREQUEST, TYPE=..., and older keywords
  kChangeDirectory,  // CD path: copied into the result
  kPrices,
  kInvalid,
};

enum class PriceKind {
  kDaily,             // SYM,N  SYM,N,D  SYM,start,end
  kDailyAndRealtime,  // SYM,N,R
  kRealtime,          // SYM,R
  kWeekly,            // SYM,start,end,W
  kMonthly,           // SYM,start,end,M
  kBars,              // SYM,Q,... with an interval above 0
  kTicks,             // SYM,Q,... with an interval of 0 or less
};

struct RequestLine {
  LineKind kind = LineKind::kInvalid;
  std::string text;  // the line without its line end

  // Keyword lines.
  int version = 0;  // major * 10000 + minor * 100 + patch
  int table_item = 0;  // 17, 18 or 23
  int since_date = 0;
  bool with_options = false;
  std::string path;  // CD

  // Price lines. Dates are YYYYMMDD, 0 for "from the first" or "to the last";
  // times are HHMM.
  PriceKind price_kind = PriceKind::kDaily;
  std::string symbol;
  int first_date = 0;
  int first_time = 0;
  int last_date = 0;
  int last_time = 2359;
  int interval = 0;  // minutes per bar
};

// The longest symbol and line the server takes.
inline constexpr std::size_t kMaxSymbolLength = 20;
inline constexpr std::size_t kMaxLineLength = 255;

// A version written as fX.Y.Z (each part 0 to 99); 0 when it is not one.
int ParseVersion(std::string_view text);
// A date of eight digits that is a valid calendar date (or "0"); -1 otherwise.
int ParseDateField(std::string_view text);

RequestLine ParseRequestLine(std::string_view line);

}  // namespace kvqt::server
