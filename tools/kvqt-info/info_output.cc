#include "kvqt-info/info_output.h"

#include <charconv>

#include <cstdio>

namespace kvqt::info {
namespace {

bool NeedsQuotes(std::string_view value) {
  if (value.empty()) return true;
  for (unsigned char c : value) {
    if (c <= ' ' || c == '"' || c >= 0x7F) return true;
  }
  return false;
}

}  // namespace

std::string QuoteValue(std::string_view value) {
  if (!NeedsQuotes(value)) return std::string(value);
  std::string out = "\"";
  for (unsigned char c : value) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\a': out += "\\a"; break;
      case '\b': out += "\\b"; break;
      case '\f': out += "\\f"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      case '\v': out += "\\v"; break;
      default:
        if (c < ' ' || c >= 0x7F) {
          // Three octal digits: never taken as part of a following digit.
          char escape[5];
          std::snprintf(escape, sizeof escape, "\\%03o", c);
          out += escape;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  out += '"';
  return out;
}

InfoLine& InfoLine::field(std::string_view key, std::string_view written) {
  line_ += ' ';
  line_ += key;
  line_ += '=';
  line_ += written;
  return *this;
}

InfoLine& InfoLine::text(std::string_view key, std::string_view value) { return field(key, QuoteValue(value)); }

InfoLine& InfoLine::character(std::string_view key, char value) {
  return text(key, value == '\0' ? std::string_view() : std::string_view(&value, 1));
}

InfoLine& InfoLine::integer(std::string_view key, long long value) { return field(key, std::to_string(value)); }

InfoLine& InfoLine::real(std::string_view key, float value) {
  // The shortest text that reads back as the same float: 3.08, not 3.07999992.
  char written[40];
  const std::to_chars_result end = std::to_chars(written, written + sizeof written, value);
  return field(key, std::string_view(written, static_cast<std::size_t>(end.ptr - written)));
}

}  // namespace kvqt::info
