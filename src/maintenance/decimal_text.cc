#include "maintenance/decimal_text.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace kvqt {

double ParseDecimalText(std::string_view text) {
  std::size_t at = 0;
  while (at < text.size() && (text[at] == ' ' || text[at] == '\t' || text[at] == '\n' || text[at] == '\r' ||
                              text[at] == '\f' || text[at] == '\v'))
    ++at;
  bool negative = false;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
    negative = text[at] == '-';
    ++at;
  }
  // Only digits or a point start a number: "inf" and "nan" are no prices.
  if (at >= text.size() || !((text[at] >= '0' && text[at] <= '9') || text[at] == '.')) return 0;
  double value = 0;
  auto result = std::from_chars(text.data() + at, text.data() + text.size(), value, std::chars_format::general);
  if (result.ec != std::errc() || !std::isfinite(value)) return 0;
  return negative ? -value : value;
}

float ParseFloatText(std::string_view text) {
  double value = ParseDecimalText(text);
  if (std::fabs(value) > static_cast<double>(std::numeric_limits<float>::max())) return 0;
  return static_cast<float>(value);
}

std::string FixedText(double value, int decimals) {
  char buffer[400];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
  if (result.ec != std::errc()) return std::string();
  return std::string(buffer, result.ptr);
}

}  // namespace kvqt
