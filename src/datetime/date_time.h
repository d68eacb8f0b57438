// A date and time of day as separate fields: the timestamps of the data model,
// the weekday tests of the dialogs and month arithmetic on "now". The all-zero
// record is the empty value.
#pragma once

#include <cstdint>
#include <ctime>

#include "datetime/date.h"

namespace kvqt {

struct DateTime {
  static constexpr int kRecordSize = 9;

  std::int32_t year = 0;
  std::uint8_t month = 0;
  std::uint8_t day = 0;
  std::uint8_t hour = 0;
  std::uint8_t minute = 0;
  std::uint8_t second = 0;

  DateTime() = default;
  // The fields as given, unchecked.
  DateTime(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);

  // Checked: a year below 100 is windowed (50-99 -> 1950-1999, 0-49 ->
  // 2000-2049); month, day (within the month), hour, minute and second must be
  // in range, else the empty record. The year is not range-checked.
  static DateTime Checked(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);
  // Local date and time of the program clock.
  static DateTime Now();
  // Now at 00:00:00.
  static DateTime Today();
  // From an OLE day number (days since 30 December 1899): 1 January 1970 plus
  // (d - 25569) whole days; 0 or less gives 1 January 1970.
  static DateTime FromOleDay(double d);
  static DateTime FromDate(Date date);  // 00:00:00; the null date gives empty

  bool isEmpty() const;
  Date toDate() const;  // checked Date constructor on year, month, day

  friend bool operator==(const DateTime& a, const DateTime& b) = default;

  // One day at a time, carrying into month and year.
  DateTime addDays(int n) const;
  DateTime subtractDays(int n) const;
  // Year - n / 12, month - n % 12 with a borrow; the day clamped to the month.
  DateTime subtractMonths(int n) const;

  // Through mktime: 0 = Sunday ... 6 = Saturday; -1 when mktime fails.
  int dayOfWeek() const;
  // The empty record tests now.
  bool isMonday() const;
  bool isSaturday() const;
  bool isSunday() const;

  // Seconds since 1970 through mktime (local time); a year of 1900 or more is
  // passed as year - 1900.
  std::time_t toCalendarTime() const;

  // The 9-byte record: year (32-bit little-endian), month, day, hour, minute, second.
  void write(unsigned char* out9) const;
  static DateTime Read(const unsigned char* in9);
};

}  // namespace kvqt
