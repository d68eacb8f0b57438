#include "request_line.h"

#include <vector>

#include "datetime/date.h"

namespace kvqt::server {
namespace {

bool AllDigits(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

// A number of at most max_digits digits; -1 when it is not one.
long ParseNumber(std::string_view text, std::size_t max_digits) {
  if (!AllDigits(text) || text.size() > max_digits) return -1;
  long value = 0;
  for (char c : text) value = value * 10 + (c - '0');
  return value;
}

// HHMM of one to four digits; -1 when it is not a time of day.
int ParseTimeField(std::string_view text) {
  long value = ParseNumber(text, 4);
  if (value < 0 || value / 100 > 23 || value % 100 > 59) return -1;
  return static_cast<int>(value);
}

// Minutes per bar, 0 or less for ticks; kBadInterval when it is not a number.
constexpr int kBadInterval = -100000;
int ParseInterval(std::string_view text) {
  bool negative = !text.empty() && text[0] == '-';
  long value = ParseNumber(negative ? text.substr(1) : text, 4);
  if (value < 0 || value > 1440) return kBadInterval;
  return static_cast<int>(negative ? -value : value);
}

std::vector<std::string_view> SplitFields(std::string_view line) {
  std::vector<std::string_view> fields;
  std::size_t start = 0;
  while (true) {
    std::size_t comma = line.find(',', start);
    fields.push_back(line.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start));
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  return fields;
}

bool StartsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

// Keywords of request files written for the service by this and older clients.
const char* const kOtherKeywords[] = {"FIREREQUEST", "TYPE=", "CODE", "NEWKORVGB", "NEWKORV",
                                      "NEWKVQTMS",   "NEWDLDW", "PELTOPRICES"};

RequestLine Invalid(RequestLine line) {
  line.kind = LineKind::kInvalid;
  return line;
}

RequestLine ParseRequest(RequestLine line, std::string_view rest) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  while (true) {
    std::size_t bar = rest.find('|', start);
    parts.push_back(rest.substr(start, bar == std::string_view::npos ? std::string_view::npos : bar - start));
    if (bar == std::string_view::npos) break;
    start = bar + 1;
  }
  if (parts.size() == 2 && parts[0] == "3" && (parts[1] == "17" || parts[1] == "18" || parts[1] == "23")) {
    line.kind = LineKind::kTableRequest;
    line.table_item = static_cast<int>(ParseNumber(parts[1], 2));
    return line;
  }
  if (parts.size() == 3 && parts[0] == "3" && (parts[1] == "21" || parts[1] == "22" || parts[1] == "24")) {
    int date = ParseDateField(parts[2]);
    if (date < 0) return Invalid(line);
    line.since_date = date;
    line.kind = parts[1] == "21" ? LineKind::kSplitsRequest : LineKind::kChangesRequest;
    line.with_options = parts[1] == "22";
    return line;
  }
  line.kind = LineKind::kOtherKeyword;
  return line;
}

RequestLine ParseKeywordLine(RequestLine line) {
  std::string_view text = line.text;
  if (StartsWith(text, "VERSION ") || StartsWith(text, "NEWKVQT ")) {
    line.version = ParseVersion(text.substr(8));
    if (line.version == 0) return Invalid(line);
    line.kind = StartsWith(text, "VERSION ") ? LineKind::kVersion : LineKind::kNewRelease;
    return line;
  }
  if (StartsWith(text, "REQUEST ")) return ParseRequest(line, text.substr(8));
  for (const char* keyword : kOtherKeywords) {
    if (StartsWith(text, keyword)) {
      line.kind = LineKind::kOtherKeyword;
      return line;
    }
  }
  return Invalid(line);
}

RequestLine ParseQuoteRequest(RequestLine line, const std::vector<std::string_view>& f) {
  // f[0] is "Q"; then date, time, [date, [time,]] interval.
  const std::size_t n = f.size();
  if (n < 4 || n > 6) return Invalid(line);
  line.first_date = ParseDateField(f[1]);
  line.first_time = ParseTimeField(f[2]);
  line.interval = ParseInterval(f[n - 1]);
  if (n >= 5) line.last_date = ParseDateField(f[3]);
  if (n == 6) line.last_time = ParseTimeField(f[4]);
  if (line.first_date < 0 || line.first_time < 0 || line.last_date < 0 || line.last_time < 0 ||
      line.interval == kBadInterval) {
    return Invalid(line);
  }
  line.price_kind = line.interval > 0 ? PriceKind::kBars : PriceKind::kTicks;
  line.kind = LineKind::kPrices;
  return line;
}

RequestLine ParsePriceLine(RequestLine line) {
  std::vector<std::string_view> fields = SplitFields(line.text);
  std::string_view symbol = fields[0];
  if (symbol.empty() || symbol.size() > kMaxSymbolLength) return Invalid(line);
  line.symbol = std::string(symbol);
  std::vector<std::string_view> f(fields.begin() + 1, fields.end());

  if (f.size() == 1 && f[0] == "R") {
    line.price_kind = PriceKind::kRealtime;
    line.kind = LineKind::kPrices;
    return line;
  }
  if (!f.empty() && f[0] == "Q") return ParseQuoteRequest(line, f);

  if (f.empty() || f.size() > 3) return Invalid(line);
  line.first_date = ParseDateField(f[0]);
  if (line.first_date < 0) return Invalid(line);
  line.price_kind = PriceKind::kDaily;
  if (f.size() == 2) {
    if (f[1] == "R") {
      line.price_kind = PriceKind::kDailyAndRealtime;
    } else if (f[1] != "D") {
      line.last_date = ParseDateField(f[1]);
    }
  } else if (f.size() == 3) {
    line.last_date = ParseDateField(f[1]);
    if (f[2] == "W") {
      line.price_kind = PriceKind::kWeekly;
    } else if (f[2] == "M") {
      line.price_kind = PriceKind::kMonthly;
    } else if (f[2] != "D") {
      return Invalid(line);
    }
  }
  if (line.last_date < 0) return Invalid(line);
  line.kind = LineKind::kPrices;
  return line;
}

}  // namespace

int ParseVersion(std::string_view text) {
  if (text.empty() || text[0] != 'f') return 0;
  text.remove_prefix(1);
  int parts[3] = {0, 0, 0};
  for (int i = 0; i < 3; ++i) {
    std::size_t dot = text.find('.');
    std::string_view part = i < 2 ? text.substr(0, dot) : text;
    if (i < 2 && dot == std::string_view::npos) return 0;
    long value = ParseNumber(part, 2);
    if (value < 0) return 0;
    parts[i] = static_cast<int>(value);
    if (i < 2) text.remove_prefix(dot + 1);
  }
  return parts[0] * 10000 + parts[1] * 100 + parts[2];
}

int ParseDateField(std::string_view text) {
  long value = ParseNumber(text, 8);
  if (value == 0) return 0;
  if (value < 0 || text.size() != 8) return -1;
  Date date = Date::FromValue(static_cast<std::int32_t>(value));
  return date.isNull() ? -1 : date.value();
}

RequestLine ParseRequestLine(std::string_view text) {
  while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' ' || text.back() == '\t')) {
    text.remove_suffix(1);
  }
  RequestLine line;
  if (text.size() > kMaxLineLength) {
    line.text = std::string(text.substr(0, kMaxLineLength));
    return Invalid(line);
  }
  line.text = std::string(text);
  if (text.empty()) {
    line.kind = LineKind::kBlank;
    return line;
  }
  for (char c : text) {
    if (static_cast<unsigned char>(c) < 0x20 && c != '\t') return Invalid(line);
  }
  if (StartsWith(text, "CD ")) {
    line.path = std::string(text.substr(3));
    line.kind = line.path.empty() ? LineKind::kInvalid : LineKind::kChangeDirectory;
    return line;
  }
  if (text.find(',') == std::string_view::npos) return ParseKeywordLine(line);
  return ParsePriceLine(line);
}

}  // namespace kvqt::server
