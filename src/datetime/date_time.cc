#include "datetime/date_time.h"

#include <climits>
#include <cmath>

#include "platform/clock.h"
#include "platform/little_endian.h"

namespace kvqt {
namespace {

// Days from a date to the same date 400 years later: the Gregorian cycle.
constexpr int kDaysPer400Years = 146097;

std::tm ToTm(const DateTime& dt) {
  std::tm tm{};
  tm.tm_year = dt.year >= 1900 ? dt.year - 1900 : dt.year;
  tm.tm_mon = dt.month - 1;
  tm.tm_mday = dt.day;
  tm.tm_hour = dt.hour;
  tm.tm_min = dt.minute;
  tm.tm_sec = dt.second;
  tm.tm_isdst = -1;
  return tm;
}

DateTime FromLocalFields(const platform::LocalDateTime& local) {
  return DateTime(local.year, local.month, local.day, local.hour, local.minute, local.second);
}

bool FitsYear(long long year) { return year >= INT_MIN && year <= INT_MAX; }

}  // namespace

DateTime::DateTime(int year_, int month_, int day_, int hour_, int minute_, int second_)
    : year(year_),
      month(static_cast<std::uint8_t>(month_)),
      day(static_cast<std::uint8_t>(day_)),
      hour(static_cast<std::uint8_t>(hour_)),
      minute(static_cast<std::uint8_t>(minute_)),
      second(static_cast<std::uint8_t>(second_)) {}

DateTime DateTime::Checked(int year, int month, int day, int hour, int minute, int second) {
  if (year >= 0 && year < 50) {
    year += 2000;
  } else if (year >= 50 && year < 100) {
    year += 1900;
  }
  if (month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month)) return DateTime();
  if (hour < 0 || hour >= 24 || minute < 0 || minute >= 60 || second < 0 || second >= 60) return DateTime();
  return DateTime(year, month, day, hour, minute, second);
}

DateTime DateTime::Now() { return FromLocalFields(platform::LocalNow()); }

DateTime DateTime::Today() {
  DateTime now = Now();
  now.hour = now.minute = now.second = 0;
  return now;
}

DateTime DateTime::FromOleDay(double d) {
  const DateTime epoch(1970, 1, 1);
  const double days = std::trunc(d - 25569.0);
  if (!(days > 0)) return epoch;  // also NaN
  return epoch.addDays(days >= INT_MAX ? INT_MAX : static_cast<int>(days));
}

DateTime DateTime::FromDate(Date date) {
  if (date.isNull()) return DateTime();
  return DateTime(date.year(), date.month(), date.day());
}

bool DateTime::isEmpty() const { return *this == DateTime(); }

Date DateTime::toDate() const { return Date(year, month, day); }

DateTime DateTime::addDays(int n) const {
  if (n < 0) return n == INT_MIN ? subtractDays(INT_MAX).subtractDays(1) : subtractDays(-n);
  if (month < 1 || month > 12) return DateTime();
  long long y = year;
  int m = month;
  int d = day;
  long long left = n;
  if (d <= DaysInMonth(static_cast<int>(y), m)) {
    y += 400LL * (left / kDaysPer400Years);
    left %= kDaysPer400Years;
  }
  // Whole months at a time; the same result as stepping day by day, including
  // from a day past the month's end, which first steps to the 1st of the next.
  while (left > 0) {
    const int length = DaysInMonth(static_cast<int>(y), m);
    if (d + left <= length) {
      d += static_cast<int>(left);
      break;
    }
    const int step = length - d + 1 > 1 ? length - d + 1 : 1;
    left -= step;
    d = 1;
    if (++m > 12) {
      m = 1;
      if (!FitsYear(++y)) return DateTime();
    }
  }
  if (!FitsYear(y)) return DateTime();
  DateTime result = *this;
  result.year = static_cast<std::int32_t>(y);
  result.month = static_cast<std::uint8_t>(m);
  result.day = static_cast<std::uint8_t>(d);
  return result;
}

DateTime DateTime::subtractDays(int n) const {
  if (n < 0) return n == INT_MIN ? addDays(INT_MAX).addDays(1) : addDays(-n);
  if (month < 1 || month > 12) return DateTime();
  long long y = year;
  int m = month;
  int d = day;
  long long left = n;
  if (d <= DaysInMonth(static_cast<int>(y), m)) {
    y -= 400LL * (left / kDaysPer400Years);
    left %= kDaysPer400Years;
  }
  while (left > 0) {
    if (d - left >= 1) {
      d -= static_cast<int>(left);
      break;
    }
    left -= d;
    if (--m < 1) {
      m = 12;
      if (!FitsYear(--y)) return DateTime();
    }
    d = DaysInMonth(static_cast<int>(y), m);
  }
  if (!FitsYear(y)) return DateTime();
  DateTime result = *this;
  result.year = static_cast<std::int32_t>(y);
  result.month = static_cast<std::uint8_t>(m);
  result.day = static_cast<std::uint8_t>(d);
  return result;
}

DateTime DateTime::subtractMonths(int n) const {
  if (month < 1 || month > 12) return DateTime();
  long long y = static_cast<long long>(year) - n / 12;
  int m = month - n % 12;
  if (m < 1) {
    m += 12;
    --y;
  } else if (m > 12) {  // a negative n goes forward
    m -= 12;
    ++y;
  }
  if (!FitsYear(y)) return DateTime();
  DateTime result = *this;
  result.year = static_cast<std::int32_t>(y);
  result.month = static_cast<std::uint8_t>(m);
  const int length = DaysInMonth(result.year, m);
  if (result.day > length) result.day = static_cast<std::uint8_t>(length);
  return result;
}

int DateTime::dayOfWeek() const {
  std::tm tm = ToTm(*this);
  tm.tm_wday = -1;  // left alone when mktime cannot represent the date
  std::mktime(&tm);
  return tm.tm_wday;
}

bool DateTime::isMonday() const { return (isEmpty() ? Now() : *this).dayOfWeek() == 1; }
bool DateTime::isSaturday() const { return (isEmpty() ? Now() : *this).dayOfWeek() == 6; }
bool DateTime::isSunday() const { return (isEmpty() ? Now() : *this).dayOfWeek() == 0; }

std::time_t DateTime::toCalendarTime() const {
  std::tm tm = ToTm(*this);
  return std::mktime(&tm);
}

void DateTime::write(unsigned char* out9) const {
  platform::PutLe32(out9, static_cast<std::uint32_t>(year));
  out9[4] = month;
  out9[5] = day;
  out9[6] = hour;
  out9[7] = minute;
  out9[8] = second;
}

DateTime DateTime::Read(const unsigned char* in9) {
  DateTime dt;
  dt.year = platform::GetLeI32(in9);
  dt.month = in9[4];
  dt.day = in9[5];
  dt.hour = in9[6];
  dt.minute = in9[7];
  dt.second = in9[8];
  return dt;
}

}  // namespace kvqt
