#include "datetime/parse_date.h"

#include <climits>
#include <string>

#include "datetime/diagnostics.h"

namespace kvqt {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// A decimal number as strtol reads it (leading white space, an optional sign),
// saturated to int. False when there is no digit; the position then stays.
bool ReadNumber(std::string_view text, std::size_t* pos, int* value) {
  std::size_t p = *pos;
  while (p < text.size() && IsSpace(text[p])) ++p;
  bool negative = false;
  if (p < text.size() && (text[p] == '+' || text[p] == '-')) negative = text[p++] == '-';
  if (p >= text.size() || !IsDigit(text[p])) return false;
  long long n = 0;
  for (; p < text.size() && IsDigit(text[p]); ++p) {
    if (n <= INT_MAX) n = n * 10 + (text[p] - '0');
  }
  if (n > INT_MAX) n = INT_MAX;
  *value = static_cast<int>(negative ? -n : n);
  *pos = p;
  return true;
}

// Exactly `width` characters (fewer at the end of the text), blanks allowed
// before the digits; -1 on anything else.
int ReadFixed(std::string_view text, std::size_t* pos, std::size_t width) {
  int n = 0;
  bool digit_seen = false;
  bool bad = false;
  for (std::size_t i = 0; i < width; ++i, ++*pos) {
    if (*pos >= text.size()) return -1;
    const char c = text[*pos];
    if (IsDigit(c)) {
      n = n * 10 + (c - '0');
      digit_seen = true;
    } else if (c != ' ' || digit_seen) {
      bad = true;
    }
  }
  return bad ? -1 : n;
}

std::size_t LeadingDigits(std::string_view text) {
  std::size_t n = 0;
  while (n < text.size() && IsDigit(text[n])) ++n;
  return n;
}

Date CannotConvert(std::string_view text, std::string_view pattern) {
  dateDiagnostic("cannot convert date \"%s\" with format \"%s\"\n", std::string(text).c_str(),
              std::string(pattern).c_str());
  return Date();
}

}  // namespace

Date ParseDate(std::string_view text, std::string_view pattern) {
  std::size_t pos = 0;
  int year = 0;
  int month = 0;
  int day = 0;
  for (const char c : pattern) {
    switch (c) {
      case 'D':
      case 'M':
      case 'Y': {
        int n = 0;
        // No digits at all is no date, not day, month or year 0 (year 0 would
        // quietly become 2000).
        if (!ReadNumber(text, &pos, &n)) return CannotConvert(text, pattern);
        if (c == 'D') {
          day = n;
        } else if (c == 'M') {
          month = n;
        } else {
          year = NormalizeYear(n);
          // Already logged; a rejected year must not go on as 0, which reads as 2000.
          if (year == 0) return Date();
        }
        break;
      }
      case 'd':
      case 'm':
      case 'y': {
        const int n = ReadFixed(text, &pos, 2);
        if (n < 0) return CannotConvert(text, pattern);
        if (c == 'd') {
          day = n;
        } else if (c == 'm') {
          month = n;
        } else {
          year = NormalizeYear(n);
        }
        break;
      }
      case '?': {
        const std::size_t digits = LeadingDigits(text);
        if (digits < 6 || digits > 8) return CannotConvert(text, pattern);
        const int n = ReadFixed(text, &pos, digits - 4);
        if (n < 0) return CannotConvert(text, pattern);
        year = NormalizeYear(n);
        if (year == 0) return Date();
        break;
      }
      default:
        if (pos < text.size()) ++pos;
        break;
    }
  }
  return Date(year, month, day);
}

Date ParseUserDate(std::string_view text) {
  if (text.find('/') != std::string_view::npos) return ParseDate(text, "D/M/Y");
  if (text.find('-') != std::string_view::npos) return ParseDate(text, "D-M-Y");
  return ParseDate(text, "?md");
}

}  // namespace kvqt
