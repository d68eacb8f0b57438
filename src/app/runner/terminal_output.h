// What the details list shows of the bytes the download server sends: each
// character goes through here, and complete lines go to the report log.
#pragma once

#include <cstddef>
#include <string>

namespace kvqt {

// Builds report lines from received characters. A carriage return counts as a
// line feed, and a line feed right after it is dropped; NUL and bytes with the
// high bit set are dropped; other control characters are shown as "[%02X]".
// A line holds at most 80 characters; an escape is never split over two lines.
class TerminalLineBuilder {
 public:
  static constexpr std::size_t kLineLimit = 80;

  // True when `c` completed a line, which is then in `line`.
  bool add(char c, std::string& line);
  const std::string& pending() const { return buffer_; }

 private:
  bool take(std::string& line);

  std::string buffer_;
  bool afterCarriageReturn_ = false;
};

// The character dump in the debug log: "%2c " for a letter or digit, "%.2x "
// for anything else, ten characters to a line. Writes only in debug mode.
class TerminalDump {
 public:
  static constexpr int kPerLine = 10;

  void add(char c);
  // The text one character adds to the debug log (without the line break).
  static std::string Entry(char c);

 private:
  int onLine_ = 0;
};

}  // namespace kvqt
