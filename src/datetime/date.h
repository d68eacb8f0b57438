// A calendar date as one signed 32-bit integer YYYYMMDD (four-digit year), 0 the
// null date. Only the years 1970 to 2037 are valid; the constructors never store
// an invalid non-zero value. Invalid input gives the null date and a line in the
// debug log.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>

namespace kvqt {

// Two-digit and years-since-1900 input to four digits: 0-49 -> 2000-2049,
// 50-150 -> 1950-2050, 1970-2037 unchanged; anything else logs
// "Invalid year: %d" and gives 0.
int NormalizeYear(int year);
// For the CYYMMDD form only: 0-150 -> 1900-2050, 1970-2037 unchanged, else 0.
int NormalizeYear1900(int year);

bool IsLeapYear(int year);
// 28 to 31; 0 for a month outside 1-12.
int DaysInMonth(int year, int month);

class Date {
 public:
  static constexpr int kFirstYear = 1970;
  static constexpr int kLastYear = 2037;

  // The null date.
  Date() = default;
  // Checked: the year is normalised, then the date validated; an invalid date
  // is null (and logged when any input is above 0).
  Date(int year, int month, int day);

  // Integer YYYYMMDD, YYMMDD or CYYMMDD (value / 10000 is normalised).
  static Date FromInt(std::int32_t value);
  // Integer CYYMMDD: (year - 1900) * 10000 + month * 100 + day.
  static Date FromCYYMMDD(std::int32_t value);
  // The local calendar date of the program clock.
  static Date Today();
  static Date FromJulianDay(long jdn);
  // A value that must already be a four-digit YYYYMMDD date; anything else is
  // the null date, without a message.
  static Date FromValue(std::int32_t yyyymmdd);

  std::int32_t value() const { return value_; }
  bool isNull() const { return value_ == 0; }

  // All 0 on the null date.
  int year() const;
  int month() const;
  int day() const;
  int year2() const;          // year mod 100
  int yearSince1900() const;  // year - 1900

  // 0 for the null date.
  long julianDay() const;
  // 0 = Sunday ... 6 = Saturday; -1 for the null date.
  int dayOfWeek() const;

  // A null date stays null.
  Date addDays(long n) const;
  Date addWeeks(long n) const;
  // n >= 0; the day is clamped to the target month's length.
  Date addMonths(int n) const;
  // julianDay() - other.julianDay(); 0 when either is null.
  long daysBetween(Date other) const;

  bool isLastDayOfMonth() const;
  // Seconds since 1970 of local midnight; -1 for the null date.
  std::time_t toCalendarTime() const;
  // "1/2/1999": day/month/year without padding; "0/0/0" for the null date.
  std::string print() const;

  // -1, 0 or 1. A null date on either side logs and compares equal, so the
  // operators below all treat a null date as equal to every date.
  int compare(Date other) const;
  friend bool operator==(Date a, Date b) { return a.compare(b) == 0; }
  friend bool operator!=(Date a, Date b) { return a.compare(b) != 0; }
  friend bool operator<(Date a, Date b) { return a.compare(b) < 0; }
  friend bool operator>(Date a, Date b) { return a.compare(b) > 0; }
  friend bool operator<=(Date a, Date b) { return a.compare(b) <= 0; }
  friend bool operator>=(Date a, Date b) { return a.compare(b) >= 0; }

  // Encodings. A null date writes as 0 or as all-zero bytes.
  std::int32_t toInt() const { return value_; }  // YYYYMMDD
  std::int32_t toYYMMDD() const;
  std::int32_t toCYYMMDD() const;

  // Byte 0 day, byte 1 month, bytes 2-3 year (16-bit little-endian).
  void toBinary4(unsigned char* out4) const;
  static Date FromBinary4(const unsigned char* in4);

  // Byte 0 = year7 | (month bit 0) << 7; byte 1 = (month >> 1) | day << 3.
  // year7 is year mod 100, or year - 1900 (2000 = 100) in the second form;
  // years from 2028, whose year - 1900 needs 8 bits, use year mod 100 there too.
  void toPacked2(unsigned char* out2) const;
  void toPacked2Since1900(unsigned char* out2) const;
  static Date FromPacked2(const unsigned char* in2);

  // CYYMMDD as a float: MBF bytes, or an IEEE single.
  void toMbfCYYMMDD(unsigned char* out4) const;
  static Date FromMbfCYYMMDD(const unsigned char* in4);
  float toFloatCYYMMDD() const;
  static Date FromFloatCYYMMDD(float value);
  // An IEEE single holding YYMMDD, CYYMMDD or YYYYMMDD, truncated then read as
  // FromInt (read only).
  static Date FromFloat(float value);

 private:
  explicit Date(std::int32_t value, int) : value_(value) {}
  // Checked, for a year that is already four digits (no normalisation).
  static Date FromFullYear(int year, int month, int day);
  std::int32_t value_ = 0;
};

}  // namespace kvqt
