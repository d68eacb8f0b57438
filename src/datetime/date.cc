#include "datetime/date.h"

#include <cmath>

#include "datetime/diagnostics.h"
#include "datetime/mbf.h"
#include "platform/clock.h"
#include "platform/little_endian.h"

namespace kvqt {
namespace {

bool InRange(int year, int month, int day) {
  return year >= Date::kFirstYear && year <= Date::kLastYear && month >= 1 && month <= 12 && day >= 1 &&
         day <= DaysInMonth(year, month);
}

void LogInvalidDate(int year, int month, int day) {
  if (year > 0 || month > 0 || day > 0) dateDiagnostic("Invalid date: %d-%d-%d\n", year, month, day);
}

// Float fields come from files: anything that is not a plain int32 number is no date.
bool TruncateToInt32(float value, std::int32_t* out) {
  if (!std::isfinite(value) || value <= -2147483648.0f || value >= 2147483648.0f) return false;
  *out = static_cast<std::int32_t>(value);
  return true;
}

void PutPacked2(unsigned char* out2, int year7, int month, int day) {
  out2[0] = static_cast<unsigned char>((year7 & 0x7F) | (month & 1) << 7);
  out2[1] = static_cast<unsigned char>((month >> 1) | day << 3);
}

}  // namespace

int NormalizeYear(int year) {
  if (year >= 0 && year <= 49) return year + 2000;
  if (year >= 50 && year <= 150) return year + 1900;
  if (year >= Date::kFirstYear && year <= Date::kLastYear) return year;
  dateDiagnostic("Invalid year: %d\n", year);
  return 0;
}

int NormalizeYear1900(int year) {
  if (year >= 0 && year <= 150) return year + 1900;
  if (year >= Date::kFirstYear && year <= Date::kLastYear) return year;
  dateDiagnostic("Invalid year: %d\n", year);
  return 0;
}

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  if (month == 2 && IsLeapYear(year)) return 29;
  return kDays[month - 1];
}

Date::Date(int year, int month, int day) {
  const int full_year = NormalizeYear(year);
  if (InRange(full_year, month, day)) {
    value_ = full_year * 10000 + month * 100 + day;
  } else {
    LogInvalidDate(year, month, day);
  }
}

// For a year that is already four digits: re-normalising would turn a year
// such as 49 (from arithmetic, or 1949 rejected earlier) into a valid 2049.
Date Date::FromFullYear(int year, int month, int day) {
  if (year < kFirstYear || year > kLastYear) {
    dateDiagnostic("Invalid year: %d\n", year);
    LogInvalidDate(year, month, day);
    return Date();
  }
  return Date(year, month, day);
}

Date Date::FromInt(std::int32_t value) {
  if (value == 0) return Date();
  return Date(value / 10000, value / 100 % 100, value % 100);
}

Date Date::FromCYYMMDD(std::int32_t value) {
  if (value == 0) return Date();
  const int year = NormalizeYear1900(value / 10000);
  if (year == 0) return Date();
  return FromFullYear(year, value / 100 % 100, value % 100);
}

Date Date::Today() {
  const platform::LocalDateTime now = platform::LocalNow();
  return FromFullYear(now.year, now.month, now.day);
}

Date Date::FromJulianDay(long jdn) {
  // Far outside any valid date; keeps the arithmetic below from overflowing.
  if (jdn < 0 || jdn > 100000000L) return Date();
  long l = jdn + 68569;
  const long n = 4 * l / 146097;
  l = l - (146097 * n + 3) / 4;
  const long i = 4000 * (l + 1) / 1461001;
  l = l - 1461 * i / 4 + 31;
  const long j = 80 * l / 2447;
  const long day = l - 2447 * j / 80;
  l = j / 11;
  const long month = j + 2 - 12 * l;
  const long year = 100 * (n - 49) + i + l;
  return FromFullYear(static_cast<int>(year), static_cast<int>(month), static_cast<int>(day));
}

Date Date::FromValue(std::int32_t yyyymmdd) {
  const int year = yyyymmdd / 10000, month = yyyymmdd / 100 % 100, day = yyyymmdd % 100;
  return InRange(year, month, day) ? Date(yyyymmdd, 0) : Date();
}

int Date::year() const { return isNull() ? 0 : value_ / 10000; }
int Date::month() const { return value_ / 100 % 100; }
int Date::day() const { return value_ % 100; }
int Date::year2() const { return year() % 100; }
int Date::yearSince1900() const { return isNull() ? 0 : year() - 1900; }

long Date::julianDay() const {
  if (isNull()) return 0;
  const long a = (14 - month()) / 12;
  const long y = year() + 4800 - a;
  const long m = month() + 12 * a - 3;
  return day() + (153 * m + 2) / 5 + 365 * y + y / 4 - y / 100 + y / 400 - 32045;
}

int Date::dayOfWeek() const {
  if (isNull()) return -1;
  const int a = (14 - month()) / 12;
  const int y = year() - a;
  const int m = month() + 12 * a - 2;
  return (day() + y + y / 4 - y / 100 + y / 400 + 31 * m / 12) % 7;
}

Date Date::addDays(long n) const {
  if (isNull()) return Date();
  // Beyond this the result is out of range anyway; avoids overflow in the sum.
  if (n > 100000000L || n < -100000000L) return Date();
  // Within the month (every month has 28 days) no calendar is needed.
  const int d = day();
  if (n > -d && d + n <= 28) return Date(value_ + static_cast<std::int32_t>(n), 0);
  return FromJulianDay(julianDay() + n);
}

Date Date::addWeeks(long n) const {
  if (n > 100000000L || n < -100000000L) return addDays(n);
  return addDays(7 * n);
}

Date Date::addMonths(int n) const {
  if (isNull()) return Date();
  const long months = static_cast<long>(year()) * 12 + (month() - 1) + n;
  long y = months / 12;
  long m = months % 12;
  if (m < 0) {  // a negative count borrows from the year
    m += 12;
    y -= 1;
  }
  if (y < kFirstYear || y > kLastYear) return FromFullYear(static_cast<int>(y), static_cast<int>(m + 1), day());
  const int last = DaysInMonth(static_cast<int>(y), static_cast<int>(m + 1));
  return FromFullYear(static_cast<int>(y), static_cast<int>(m + 1), day() > last ? last : day());
}

long Date::daysBetween(Date other) const {
  if (isNull() || other.isNull()) return 0;
  return julianDay() - other.julianDay();
}

bool Date::isLastDayOfMonth() const { return !isNull() && day() == DaysInMonth(year(), month()); }

std::time_t Date::toCalendarTime() const {
  if (isNull()) return -1;
  return platform::FromLocal({year(), month(), day(), 0, 0, 0});
}

std::string Date::print() const {
  return std::to_string(day()) + "/" + std::to_string(month()) + "/" + std::to_string(year());
}

int Date::compare(Date other) const {
  if (isNull() || other.isNull()) {
    dateDiagnostic("cannot compare dates \"%ld\" and \"%ld\"\n", static_cast<long>(value_),
                static_cast<long>(other.value_));
    return 0;
  }
  return value_ < other.value_ ? -1 : value_ > other.value_ ? 1 : 0;
}

std::int32_t Date::toYYMMDD() const { return isNull() ? 0 : year2() * 10000 + month() * 100 + day(); }

std::int32_t Date::toCYYMMDD() const { return isNull() ? 0 : yearSince1900() * 10000 + month() * 100 + day(); }

void Date::toBinary4(unsigned char* out4) const {
  out4[0] = static_cast<unsigned char>(day());
  out4[1] = static_cast<unsigned char>(month());
  platform::PutLe16(out4 + 2, static_cast<std::uint32_t>(year()));
}

Date Date::FromBinary4(const unsigned char* in4) { return Date(platform::GetLe16(in4 + 2), in4[1], in4[0]); }

void Date::toPacked2(unsigned char* out2) const { PutPacked2(out2, year2(), month(), day()); }

void Date::toPacked2Since1900(unsigned char* out2) const {
  // From 2028 on, year - 1900 no longer fits the 7 bits and would be cut to an
  // earlier year (2037 to 2009); the two-digit year reads back right.
  const int year7 = yearSince1900() <= 0x7F ? yearSince1900() : year2();
  PutPacked2(out2, year7, month(), day());
}

Date Date::FromPacked2(const unsigned char* in2) {
  const int year = in2[0] & 0x7F;
  const int month = ((in2[1] << 1) & 0x0E) | (in2[0] >> 7);
  const int day = in2[1] >> 3;
  return Date(year, month, day);
}

void Date::toMbfCYYMMDD(unsigned char* out4) const { FloatToMbf(toFloatCYYMMDD(), out4); }

Date Date::FromMbfCYYMMDD(const unsigned char* in4) { return FromFloatCYYMMDD(MbfToFloat(in4)); }

float Date::toFloatCYYMMDD() const { return static_cast<float>(toCYYMMDD()); }

Date Date::FromFloatCYYMMDD(float value) {
  std::int32_t n;
  if (!TruncateToInt32(value, &n)) return Date();
  return FromCYYMMDD(n);
}

Date Date::FromFloat(float value) {
  std::int32_t n;
  if (!TruncateToInt32(value, &n)) return Date();
  return FromInt(n);
}

}  // namespace kvqt
