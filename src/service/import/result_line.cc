#include "service/import/result_line.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <cstring>
#include <limits>

#include "datetime/date.h"

namespace kvqt {
namespace {

constexpr std::size_t kReadBuffer = 256 * 1024;
// Content plus the CR of a CR LF line end.
constexpr std::size_t kKeptLength = kMaxResultLineLength + 1;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool AllDigits(std::string_view text) {
  for (char c : text)
    if (!IsDigit(c)) return false;
  return true;
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

std::string_view StripLineEnd(std::string_view line) {
  while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.remove_suffix(1);
  return line;
}

// Only the forms the service writes: YYYYMMDD, or YYMMDD and YYYMMDD. The
// digits are taken as ParseDate's pattern "?md" takes them, without walking
// the pattern for every line.
Date ParseLineDate(std::string_view text) {
  text = Trim(text);
  if (text.size() < 6 || text.size() > 8 || !AllDigits(text)) return Date();
  auto number = [&](std::size_t from, std::size_t count) {
    int n = 0;
    for (std::size_t i = from; i < from + count; ++i) n = n * 10 + (text[i] - '0');
    return n;
  };
  const std::size_t yearDigits = text.size() - 4;
  const int year = NormalizeYear(number(0, yearDigits));
  if (year == 0) return Date();
  return Date(year, number(yearDigits, 2), number(yearDigits + 2, 2));
}

// The digits of a plain decimal ("123", "-12.5") that a double holds exactly
// (at most 15 of them) give the value as their integer over a power of ten:
// both are exact, so the one division rounds as a full decimal conversion
// does. False for every other text, which then takes the full conversion.
bool ParseShortDecimal(std::string_view text, double& value) {
  static constexpr double kPowers[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11,
                                       1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  std::size_t i = 0;
  const bool negative = !text.empty() && text[0] == '-';
  if (negative) ++i;
  std::uint64_t mantissa = 0;
  int significant = 0;
  std::size_t integerDigits = 0, fractionDigits = 0;
  bool point = false;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (IsDigit(c)) {
      if (mantissa != 0 || c != '0') ++significant;
      mantissa = mantissa * 10 + static_cast<unsigned>(c - '0');
      if (significant > 15) return false;
      ++(point ? fractionDigits : integerDigits);
    } else if (c == '.' && !point) {
      point = true;
    } else {
      return false;
    }
  }
  if (integerDigits == 0 || (point && fractionDigits == 0) || fractionDigits >= std::size(kPowers)) return false;
  double v = static_cast<double>(mantissa);
  if (fractionDigits > 0) v /= kPowers[fractionDigits];
  value = negative ? -v : v;
  return true;
}

// Four characters are HHMM, five or six HMMSS / HHMMSS; nothing is midnight.
bool ParseLineTime(std::string_view text, Time& time) {
  text = Trim(text);
  if (text.empty()) {
    time = Time(0, 0, 0);
    return true;
  }
  if (!AllDigits(text)) return false;
  if (text.size() == 4)
    time = Time::FromHHMMText(text);
  else if (text.size() == 5 || text.size() == 6)
    time = Time::FromHHMMSSText(text);
  else
    return false;
  return !time.isNull();
}

// The prices as the line gives them, into the record's fields.
void AssignPrices(const float* prices, std::size_t n, PriceRecord& record) {
  switch (n) {
    case 4:
      record.open = prices[0];
      record.high = prices[1];
      record.low = prices[2];
      record.close = prices[3];
      break;
    case 3:
    case 2:
      record.high = prices[0];
      record.low = prices[1];
      record.close = prices[2];
      break;
    case 1:
      record.open = record.high = record.low = record.close = prices[0];
      break;
    default:
      break;
  }
}

// A number as the service writes it, "-12.25", read up to the next comma
// (or the line's end) in one pass; false for any other form, which the full
// parse then takes.
bool ReadPlainNumber(const char*& p, const char* end, float& value) {
  static constexpr double kPowers[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
  const bool negative = p < end && *p == '-';
  if (negative) ++p;
  const char* digits = p;
  std::uint64_t mantissa = 0;
  while (p < end && IsDigit(*p)) mantissa = mantissa * 10 + static_cast<unsigned>(*p++ - '0');
  const std::size_t integerDigits = static_cast<std::size_t>(p - digits);
  std::size_t fractionDigits = 0;
  if (p < end && *p == '.') {
    const char* fraction = ++p;
    while (p < end && IsDigit(*p)) mantissa = mantissa * 10 + static_cast<unsigned>(*p++ - '0');
    fractionDigits = static_cast<std::size_t>(p - fraction);
    if (fractionDigits == 0) return false;
  }
  if (integerDigits == 0 || integerDigits + fractionDigits > 15 || (p < end && *p != ',')) return false;
  // Both operands exact, so the one division rounds as a full decimal conversion does.
  double v = static_cast<double>(mantissa) / kPowers[fractionDigits];
  value = static_cast<float>(negative ? -v : v);
  return true;
}

// The common daily line "SYM,YYYYMMDD,volume,prices..." with plain numbers
// and nothing else: parsed in one pass over its characters. False when the
// line has any other form (blanks, empty fields, signs, exponents, more
// fields, long numbers, intraday lines); the full parse, which gives the
// same record for every line this one takes, then reads it.
bool ParsePlainDailyLine(std::string_view line, ResultPriceLine& out) {
  const char* p = line.data();
  const char* end = p + line.size();
  const char* comma = static_cast<const char*>(std::memchr(p, ',', line.size()));
  if (!comma || comma == p) return false;
  const std::string_view symbol(p, static_cast<std::size_t>(comma - p));
  p = comma + 1;
  int digits[8];
  std::size_t dateDigits = 0;
  while (p < end && IsDigit(*p) && dateDigits < 8) digits[dateDigits++] = *p++ - '0';
  if (dateDigits < 6 || (p < end && *p != ',')) return false;
  auto number = [&](std::size_t from, std::size_t count) {
    int n = 0;
    for (std::size_t i = from; i < from + count; ++i) n = n * 10 + digits[i];
    return n;
  };
  // Only a valid date: an invalid one is left to the full parse, which
  // reports it once.
  const std::size_t yearDigits = dateDigits - 4;
  const int given = number(0, yearDigits);
  if (given > 150 && (given < Date::kFirstYear || given > Date::kLastYear)) return false;
  const int year = NormalizeYear(given);
  const int month = number(yearDigits, 2), day = number(yearDigits + 2, 2);
  if (year < Date::kFirstYear || year > Date::kLastYear || day < 1 || day > DaysInMonth(year, month)) return false;
  PriceRecord record;
  record.date = Date::FromValue(year * 10000 + month * 100 + day);
  float values[5] = {0, 0, 0, 0, 0};  // two prices leave the close 0
  std::size_t n = 0;
  while (p < end) {
    ++p;  // the comma
    if (n == 5 || !ReadPlainNumber(p, end, values[n])) return false;
    ++n;
  }
  if (n > 0) record.volume = values[0];
  AssignPrices(values + 1, n > 0 ? n - 1 : 0, record);
  out.symbol = symbol;
  out.record = record;
  return true;
}

}  // namespace

ResultLineReader::ResultLineReader(std::FILE* file) : file_(file), buffer_(kReadBuffer) {}

bool ResultLineReader::fill() {
  if (eof_ || !file_) return false;
  pos_ = 0;
  len_ = std::fread(buffer_.data(), 1, buffer_.size(), file_);
  if (len_ == 0) {
    eof_ = true;
    failed_ = std::ferror(file_) != 0;
    return false;
  }
  return true;
}

ResultLineReader::Next ResultLineReader::next(std::string_view& line) {
  line_.clear();
  std::size_t seen = 0;  // characters of the line before its LF
  bool any = false;
  for (;;) {
    if (pos_ == len_ && !fill()) break;
    const char* start = buffer_.data() + pos_;
    const std::size_t avail = len_ - pos_;
    const char* lf = static_cast<const char*>(std::memchr(start, '\n', avail));
    const std::size_t n = lf ? static_cast<std::size_t>(lf - start) : avail;
    any = true;
    pos_ += lf ? n + 1 : n;
    // The common case: the whole line lies in the buffer.
    if (lf && seen == 0 && n <= kKeptLength) {
      line = StripLineEnd(std::string_view(start, n));
      if (line.size() <= kMaxResultLineLength) return Next::kLine;
      line = line.substr(0, kMaxResultLineLength);
      return Next::kTooLong;
    }
    if (line_.size() < kKeptLength) line_.append(start, std::min(n, kKeptLength - line_.size()));
    seen += n;
    if (lf) break;
  }
  if (!any) return Next::kEnd;
  std::string_view whole(line_);
  if (seen <= kKeptLength) whole = StripLineEnd(whole);
  if (seen <= kKeptLength && whole.size() <= kMaxResultLineLength) {
    line = whole;
    return Next::kLine;
  }
  line = whole.substr(0, kMaxResultLineLength);
  return Next::kTooLong;
}

bool IsChangeDirectoryLine(std::string_view line) { return line.substr(0, 3) == "CD "; }

std::string_view ChangeDirectoryPath(std::string_view line) {
  return IsChangeDirectoryLine(line) ? line.substr(3) : std::string_view();
}

bool ParseResultNumber(std::string_view text, float& value) {
  text = Trim(text);
  if (text.empty()) {
    value = 0;
    return true;
  }
  std::string_view digits = text;
  if (digits.front() == '+' || digits.front() == '-') digits.remove_prefix(1);
  // Plain decimals only: no exponent, no "inf" or "nan", one point at most.
  bool point = false, digit = false;
  for (char c : digits) {
    if (IsDigit(c)) {
      digit = true;
    } else if (c == '.' && !point) {
      point = true;
    } else {
      return false;
    }
  }
  if (!digit) return false;
  if (text.front() == '+') text.remove_prefix(1);
  double parsed = 0;
  if (ParseShortDecimal(text, parsed)) {
    value = static_cast<float>(parsed);
    return true;
  }
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), parsed);
  if (ec != std::errc() || end != text.data() + text.size()) return false;
  if (!std::isfinite(parsed) || std::fabs(parsed) > std::numeric_limits<float>::max()) return false;
  value = static_cast<float>(parsed);
  return true;
}

PriceLineParse ParseResultPriceLine(std::string_view line, bool intraday, ResultPriceLine& out) {
  if (!intraday && ParsePlainDailyLine(line, out)) return PriceLineParse::kRecord;
  // Fields in place; more than the line can use are not looked at.
  constexpr std::size_t kMaxFields = 8;
  std::string_view fields[kMaxFields];
  std::size_t count = 0;
  // One pass over the characters: a line's fields are short.
  const char* data = line.data();
  std::size_t begin = 0;
  for (std::size_t i = 0; i < line.size() && count + 1 < kMaxFields; ++i) {
    if (data[i] != ',') continue;
    fields[count++] = std::string_view(data + begin, i - begin);
    begin = i + 1;
  }
  // The last field runs to the next comma or the end.
  const std::string_view rest = line.substr(begin);
  fields[count++] = rest.substr(0, rest.find(','));
  if (fields[0].empty()) return PriceLineParse::kNoSymbol;
  // Empty trailing fields are missing values, not values of 0 that would
  // change how the prices are assigned.
  while (count > 2 && Trim(fields[count - 1]).empty()) --count;

  PriceRecord record;
  record.date = count > 1 ? ParseLineDate(fields[1]) : Date();
  if (record.date.isNull()) return PriceLineParse::kMalformed;
  std::size_t next = 2;
  if (intraday) {
    Time time(0, 0, 0);
    if (next < count && !ParseLineTime(fields[next], time)) return PriceLineParse::kMalformed;
    record.time = time;
    ++next;
  }
  if (next < count && !ParseResultNumber(fields[next], record.volume)) return PriceLineParse::kMalformed;
  ++next;
  float prices[4] = {0, 0, 0, 0};
  std::size_t n = 0;
  for (; next < count && n < 4; ++next, ++n)
    if (!ParseResultNumber(fields[next], prices[n])) return PriceLineParse::kMalformed;
  AssignPrices(prices, n, record);
  out.symbol = fields[0];
  out.record = record;
  return PriceLineParse::kRecord;
}

std::vector<std::string> SplitExportFields(std::string_view line) {
  std::vector<std::string> fields;
  for (;;) {
    std::size_t comma = fields.size() + 1 < kMaxExportFields ? line.find(',') : std::string_view::npos;
    fields.emplace_back(line.substr(0, comma));
    if (comma == std::string_view::npos) break;
    line.remove_prefix(comma + 1);
  }
  return fields;
}

}  // namespace kvqt
