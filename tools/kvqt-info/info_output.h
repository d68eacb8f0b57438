// The plain-text form of everything kvqt-info prints: one line per object,
// its kind first, then key=value fields. A value that is empty or holds a
// blank, a quote, a control character or a byte above 0x7E is written in double
// quotes with C escapes; integers in decimal, dates as YYYYMMDD (0 for none),
// times as HHMMSS (-1 for none), floats as the shortest decimal that reads back as the same float.
#pragma once

#include <string>
#include <string_view>

#include "datetime/date.h"
#include "datetime/time_value.h"

namespace kvqt::info {

// The value as written after "key=".
std::string QuoteValue(std::string_view value);

class InfoLine {
 public:
  explicit InfoLine(std::string_view kind) : line_(kind) {}

  InfoLine& text(std::string_view key, std::string_view value);
  // A single character; the byte 0 ("none") is the empty text.
  InfoLine& character(std::string_view key, char value);
  InfoLine& integer(std::string_view key, long long value);
  InfoLine& date(std::string_view key, Date value) { return integer(key, value.value()); }
  InfoLine& time(std::string_view key, Time value) { return integer(key, value.value()); }
  InfoLine& real(std::string_view key, float value);

  // The line without its line end.
  const std::string& str() const { return line_; }

 private:
  InfoLine& field(std::string_view key, std::string_view written);
  std::string line_;
};

}  // namespace kvqt::info
