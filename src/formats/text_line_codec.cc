#include "formats/text_line_codec.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "app/model/format.h"
#include "datetime/parse_date.h"

namespace kvqt {
namespace {

// Numbers are written and read without the C library's locale, so a user
// locale with a decimal comma never changes what a file holds.
void AppendFixed(double value, int decimals, std::string& out) {
  char buffer[64];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
  if (result.ec != std::errc()) return;
  out.append(buffer, result.ptr);
}

// The decimal digits of a value that is not negative, with zeros in front
// up to `width`: what "%0*ld" prints for it.
void AppendDigits(std::uint64_t value, int width, std::string& out) {
  char buffer[24];
  char* end = buffer + sizeof buffer;
  char* p = end;
  do {
    *--p = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value != 0);
  for (int digits = static_cast<int>(end - p); digits < width; ++digits) out += '0';
  out.append(p, end);
}

void AppendPadded(long value, int width, std::string& out) {
  if (value >= 0) {
    AppendDigits(static_cast<std::uint64_t>(value), width, out);
    return;
  }
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%0*ld", width, value);
  out += buffer;
}

// A float with 0 or 3 decimals, rounded as a full fixed-point conversion
// rounds it (to nearest, a tie to even). A float times 1000 is exact in a
// double, so its nearest integer is the rounded value itself; larger values
// take the full conversion.
void AppendFixed(float value, int decimals, std::string& out) {
  const double scaled = decimals == 3 ? static_cast<double>(value) * 1000.0 : static_cast<double>(value);
  if ((decimals != 0 && decimals != 3) || !(std::fabs(scaled) < 1e15)) {
    AppendFixed(static_cast<double>(value), decimals, out);
    return;
  }
  const auto units = static_cast<std::uint64_t>(std::nearbyint(std::fabs(scaled)));
  if (std::signbit(value)) out += '-';
  if (decimals == 0) {
    AppendDigits(units, 1, out);
    return;
  }
  AppendDigits(units / 1000, 1, out);
  out += '.';
  AppendDigits(units % 1000, 3, out);
}

// A price with the decimal mark: three decimals, rounded. With a comma the
// integer part, a comma and three digits ("12,500" for 12.5).
void AppendPrice(float value, char frsep, std::string& out) {
  std::size_t start = out.size();
  AppendFixed(value, 3, out);
  if (frsep == ',') {
    for (std::size_t i = start; i < out.size(); ++i)
      if (out[i] == '.') out[i] = ',';
  }
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// A value field: a comma counts as the decimal point; text that holds no
// number reads as 0, as an unset column does. False only for a value no
// price can be (infinite, not a number, beyond a float).
bool ParseValue(std::string_view field, float& value) {
  char buffer[kMaxTextLineLength + 1];
  std::string_view text = Trimmed(field);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  std::size_t n = text.size() < sizeof buffer ? text.size() : sizeof buffer - 1;
  for (std::size_t i = 0; i < n; ++i) buffer[i] = text[i] == ',' ? '.' : text[i];
  double parsed = 0;
  auto result = std::from_chars(buffer, buffer + n, parsed, std::chars_format::general);
  if (result.ec == std::errc::result_out_of_range) return false;
  if (result.ec != std::errc()) parsed = 0;
  if (!std::isfinite(parsed) || std::fabs(parsed) > 3.0e38) return false;
  value = static_cast<float>(parsed);
  return true;
}

bool Finite(const PriceRecord& r) {
  return std::isfinite(r.open) && std::isfinite(r.high) && std::isfinite(r.low) && std::isfinite(r.close) &&
         std::isfinite(r.volume);
}

}  // namespace

bool IsTextLineFormat(int formatId) {
  switch (formatId) {
    case 5:
    case 9:
    case 10:
    case 11:
    case 13:
    case 14:
    case 15:
    case 17:
    case 21:
      return true;
    default:
      return false;
  }
}

TextLineLayout TextLineLayoutFor(int formatId, const Format* format) {
  TextLineLayout layout;
  layout.formatId = formatId;
  switch (formatId) {
    case 9:
      layout.fsep = '\t';
      break;
    case 10:
      layout.fsep = '\t';
      layout.dsep = '-';
      layout.frsep = ',';
      break;
    case 11:
      layout.fsep = '\t';
      layout.dsep = '/';
      break;
    default:
      break;
  }
  if (format) {
    layout.fsep = format->fsep();
    layout.dsep = format->dsep();
    layout.frsep = format->frsep();
  }
  layout.fourDigitYear = formatId == 15 || formatId == 17 || formatId == 21;
  layout.withTime = formatId == 21;
  return layout;
}

void AppendTextDate(const TextLineLayout& layout, Date date, std::string& out) {
  char buffer[48];
  if (layout.dsep != '\0') {
    if (layout.fourDigitYear)
      std::snprintf(buffer, sizeof buffer, "%.2d%c%.2d%c%.4d%c", date.day(), layout.dsep, date.month(), layout.dsep,
                    date.year(), layout.fsep);
    else
      std::snprintf(buffer, sizeof buffer, "%.2d%c%.2d%c%.2d%c", date.day(), layout.dsep, date.month(), layout.dsep,
                    date.year2(), layout.fsep);
  } else {
    AppendPadded(static_cast<long>(layout.fourDigitYear ? date.toInt() : date.toYYMMDD()),
                 layout.fourDigitYear ? 8 : 6, out);
    out += layout.fsep;
    return;
  }
  out += buffer;
}

void AppendPriceLine(const TextLineLayout& layout, const PriceRecord& record, std::string& out) {
  AppendTextDate(layout, record.date, out);
  if (layout.withTime) {
    AppendPadded(static_cast<long>(record.time.toInt()), 6, out);
    out += layout.fsep;
  }
  const float prices[] = {record.open, record.high, record.low, record.close};
  for (float price : prices) {
    AppendPrice(price, layout.frsep, out);
    out += layout.fsep;
  }
  AppendFixed(record.volume, 0, out);
  out += "\r\n";
}

std::string FormatPriceLine(const TextLineLayout& layout, const PriceRecord& record) {
  std::string line;
  AppendPriceLine(layout, record, line);
  return line;
}

int ParsePriceLine(const TextLineLayout& layout, std::string_view line, PriceRecord& record) {
  if (line.size() > kMaxTextLineLength) return -1;
  if (line.find(layout.fsep) == std::string_view::npos) return -1;
  if (layout.dsep != '\0' && line.find(layout.dsep) == std::string_view::npos) return -1;

  // At most date, time, five values: anything after the volume is not read.
  std::string_view fields[7];
  std::size_t count = 0;
  std::string_view rest = line;
  while (count < 7) {
    std::size_t at = rest.find(layout.fsep);
    fields[count++] = rest.substr(0, at);
    if (at == std::string_view::npos) break;
    rest.remove_prefix(at + 1);
  }

  PriceRecord r;
  std::string_view dateText = Trimmed(fields[0]);
  r.date = layout.dsep != '\0' ? ParseDate(dateText, "D-M-Y") : ParseDate(dateText, "?md");
  if (r.date.isNull()) return -1;
  std::size_t next = 1;
  if (layout.withTime) {
    if (count < 2) return -1;
    r.time = Time::FromHHMMSSText(Trimmed(fields[next++]));
  }
  std::size_t values = count - next;
  if (values < 4) return -1;
  float v[5] = {};
  for (std::size_t i = 0; i < values && i < 5; ++i)
    if (!ParseValue(fields[next + i], v[i])) return -1;
  if (values >= 5) {
    r.open = v[0];
    r.high = v[1];
    r.low = v[2];
    r.close = v[3];
    r.volume = v[4];
  } else {
    r.open = 0;
    r.high = v[0];
    r.low = v[1];
    r.close = v[2];
    r.volume = v[3];
  }
  record = r;
  return 0;
}

int ReadTextLine(std::FILE* file, std::string& line) {
  line.clear();
  if (!file) return -1;
  int c;
  bool any = false;
  while ((c = std::getc(file)) != EOF) {
    any = true;
    if (c == '\n') break;
    if (line.size() > kMaxTextLineLength) return -1;  // the CR of a full-length line still fits
    line.push_back(static_cast<char>(c));
  }
  if (c == EOF && std::ferror(file)) return -1;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  if (line.size() > kMaxTextLineLength) return -1;
  return any ? 1 : 0;
}

int ReadPriceLine(std::FILE* file, const TextLineLayout& layout, PriceRecord& record) {
  std::string line;
  if (ReadTextLine(file, line) != 1) return -1;
  return ParsePriceLine(layout, line, record);
}

int WritePriceLine(std::FILE* file, const TextLineLayout& layout, const PriceRecord& record) {
  if (!file || !Finite(record)) return -1;
  // One line's room, kept from one record to the next.
  thread_local std::string line;
  line.clear();
  AppendPriceLine(layout, record, line);
  return std::fwrite(line.data(), 1, line.size(), file) == line.size() ? 0 : -1;
}

}  // namespace kvqt
