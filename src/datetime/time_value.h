// A time of day as one signed 32-bit integer HHMMSS; -1 is the null time and 0
// (midnight) a valid time.
#pragma once

#include <cstdint>
#include <ctime>
#include <string_view>

namespace kvqt {

class Time {
 public:
  // The null time.
  Time() = default;
  // Checked: 0-23, 0-59, 0-59, else null and "Invalid time: %d:%d:%d" logged.
  Time(int hour, int minute, int second);

  // HHMMSS; a negative value is the null time (not logged).
  static Time FromInt(std::int32_t hhmmss);
  // HHMMSS as a float, truncated.
  static Time FromFloat(float hhmmss);
  static Time FromMbf(const unsigned char* in4);
  // Local time of day of the program clock.
  static Time Now();
  // Local time of day of a calendar time.
  static Time FromCalendarTime(std::time_t t);
  // The first four characters as HHMM when they are digits (seconds 0).
  // Text not starting with four digits gives 00:00:00, not the null time.
  static Time FromHHMMText(std::string_view text);
  // The first six characters as HHMMSS when digits, else the first five as
  // HMMSS; otherwise 00:00:00.
  static Time FromHHMMSSText(std::string_view text);

  std::int32_t value() const { return value_; }
  bool isNull() const { return value_ < 0; }

  // -1 on the null time.
  int hour() const;
  int minute() const;
  int second() const;
  std::int32_t hhmmss() const { return value_; }  // -1 when null
  std::int32_t hhmm() const;                      // hour * 100 + minute; -1 when null

  // Encodings; the null time writes as 0.
  std::int32_t toInt() const;
  float toFloat() const;                   // IEEE single
  void toMbf(unsigned char* out4) const;   // MBF single

  // -1, 0 or 1; a null time on either side logs and compares equal.
  int compare(Time other) const;
  friend bool operator==(Time a, Time b) { return a.compare(b) == 0; }
  friend bool operator!=(Time a, Time b) { return a.compare(b) != 0; }
  friend bool operator<(Time a, Time b) { return a.compare(b) < 0; }
  friend bool operator>(Time a, Time b) { return a.compare(b) > 0; }
  friend bool operator<=(Time a, Time b) { return a.compare(b) <= 0; }
  friend bool operator>=(Time a, Time b) { return a.compare(b) >= 0; }

 private:
  std::int32_t value_ = -1;
};

}  // namespace kvqt
