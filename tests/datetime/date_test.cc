#include "datetime/date.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "debug_log.h"
#include "platform/clock.h"
#include "support/hex.h"

namespace kvqt {
namespace {

using kvqt::testing::DebugLogCapture;
using kvqt::testing::Hex;
using kvqt::testing::ToHex;

const unsigned char* Bytes(const std::string& s) { return reinterpret_cast<const unsigned char*>(s.data()); }
std::string Str(const unsigned char* b, int n) { return std::string(reinterpret_cast<const char*>(b), n); }

TEST(DateTest, YearNormalisation) {
  const struct {
    int in, year, year1900;
  } cases[] = {
      {0, 2000, 1900},  {37, 2037, 1937},  {49, 2049, 1949},     {50, 1950, 1950},    {99, 1999, 1999},
      {100, 2000, 2000}, {150, 2050, 2050}, {151, 0, 0},          {1969, 0, 0},        {1970, 1970, 1970},
      {2037, 2037, 2037}, {2038, 0, 0},     {-1, 0, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(NormalizeYear(c.in), c.year) << c.in;
    EXPECT_EQ(NormalizeYear1900(c.in), c.year1900) << c.in;
  }
}

TEST(DateTest, ConstructorKeepsOnlyValidDates) {
  const struct {
    int year, month, day;
    std::int32_t value;
  } cases[] = {
      {2037, 12, 31, 20371231}, {2038, 1, 1, 0},        {1970, 1, 1, 19700101}, {1969, 12, 31, 0},
      {2000, 2, 29, 20000229},  {1900, 2, 29, 0},       {2001, 2, 29, 0},       {2000, 4, 31, 0},
      {2000, 13, 1, 0},         {2000, 0, 1, 0},        {2000, 1, 0, 0},        {99, 2, 1, 19990201},
      {100, 2, 1, 20000201},    {49, 1, 1, 0},          {50, 1, 1, 0},          {150, 1, 1, 0},
      {0, 0, 0, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Date(c.year, c.month, c.day).value(), c.value) << c.year << "-" << c.month << "-" << c.day;
  }
  EXPECT_TRUE(Date().isNull());
}

TEST(DateTest, InvalidInputIsLoggedOnlyInDebugMode) {
  {
    DebugLogCapture log;
    Date(1969, 5, 1);
    Date(2001, 2, 29);
    Date(0, 0, 0);  // the all-zero input is the null date, not an error
    EXPECT_EQ(log.text(), "Invalid year: 1969\r\nInvalid date: 1969-5-1\r\nInvalid date: 2001-2-29\r\n");
  }
  DebugLogCapture log;
  Logs::SetDebugMode(0);
  Date(2001, 2, 29);
  EXPECT_EQ(log.text(), "");
}

TEST(DateTest, IntegerForms) {
  const struct {
    std::int32_t in;
    std::int32_t value;
  } cases[] = {
      {20000201, 20000201}, {990201, 19990201}, {1000201, 20000201}, {10299, 0},  // 01-02-99: no day 99
      {370101, 20370101},   {20380101, 0},      {0, 0},              {-20000201, 0},
      {std::numeric_limits<std::int32_t>::max(), 0},
  };
  for (const auto& c : cases) EXPECT_EQ(Date::FromInt(c.in).value(), c.value) << c.in;

  EXPECT_EQ(Date::FromCYYMMDD(1000101).value(), 20000101);
  EXPECT_EQ(Date::FromCYYMMDD(991231).value(), 19991231);
  EXPECT_EQ(Date::FromCYYMMDD(500101).value(), 0);  // 1950
  EXPECT_TRUE(Date::FromCYYMMDD(0).isNull());

  const Date d(2000, 1, 1);
  EXPECT_EQ(d.toInt(), 20000101);
  EXPECT_EQ(d.toYYMMDD(), 101);
  EXPECT_EQ(d.toCYYMMDD(), 1000101);
  EXPECT_EQ(Date(1999, 12, 31).toCYYMMDD(), 991231);
  EXPECT_EQ(Date().toCYYMMDD(), 0);
  EXPECT_EQ(Date().toYYMMDD(), 0);

  EXPECT_EQ(Date::FromValue(20000229).value(), 20000229);
  EXPECT_TRUE(Date::FromValue(20010229).isNull());
  EXPECT_TRUE(Date::FromValue(990201).isNull());
}

TEST(DateTest, Accessors) {
  const Date d(1999, 2, 1);
  EXPECT_EQ(d.year(), 1999);
  EXPECT_EQ(d.month(), 2);
  EXPECT_EQ(d.day(), 1);
  EXPECT_EQ(d.year2(), 99);
  EXPECT_EQ(d.yearSince1900(), 99);
  EXPECT_EQ(Date(2005, 1, 1).yearSince1900(), 105);
  const Date null;
  EXPECT_EQ(null.year(), 0);
  EXPECT_EQ(null.year2(), 0);
  EXPECT_EQ(null.yearSince1900(), 0);
  EXPECT_EQ(null.julianDay(), 0);
  EXPECT_EQ(null.dayOfWeek(), -1);
}

TEST(DateTest, JulianDayOverTheWholeValidRange) {
  EXPECT_EQ(Date(2000, 1, 1).julianDay(), 2451545);
  EXPECT_EQ(Date(1970, 1, 1).julianDay(), 2440588);
  EXPECT_EQ(Date(2037, 12, 31).julianDay(), 2465424);
  EXPECT_TRUE(Date::FromJulianDay(2440587).isNull());
  EXPECT_TRUE(Date::FromJulianDay(2465425).isNull());
  EXPECT_TRUE(Date::FromJulianDay(-1).isNull());
  EXPECT_TRUE(Date::FromJulianDay(std::numeric_limits<long>::max()).isNull());
  // An ancient day number must not come back as a windowed modern year.
  EXPECT_TRUE(Date::FromJulianDay(1738000).isNull());  // year 46

  // Every day: the inverse agrees, and each day follows the one before.
  Date previous(1970, 1, 1);
  for (long jdn = 2440589; jdn <= 2465424; ++jdn) {
    const Date d = Date::FromJulianDay(jdn);
    ASSERT_EQ(d.julianDay(), jdn);
    const bool next_month = previous.isLastDayOfMonth();
    const int month = next_month ? previous.month() % 12 + 1 : previous.month();
    const int year = next_month && month == 1 ? previous.year() + 1 : previous.year();
    ASSERT_EQ(d.value(), year * 10000 + month * 100 + (next_month ? 1 : previous.day() + 1)) << jdn;
    ASSERT_EQ(d.dayOfWeek(), (jdn + 1) % 7) << jdn;
    previous = d;
  }
}

TEST(DateTest, DayOfWeekOfKnownDates) {
  const struct {
    Date date;
    int weekday;
  } cases[] = {
      {Date(1970, 1, 1), 4}, {Date(2000, 1, 1), 6}, {Date(2000, 2, 29), 2},
      {Date(2024, 3, 17), 0}, {Date(2037, 12, 31), 4}, {Date(2001, 9, 10), 1},
  };
  for (const auto& c : cases) EXPECT_EQ(c.date.dayOfWeek(), c.weekday) << c.date.value();
}

TEST(DateTest, DayArithmetic) {
  EXPECT_EQ(Date(1999, 12, 31).addDays(1).value(), 20000101);
  EXPECT_EQ(Date(2000, 3, 1).addDays(-1).value(), 20000229);
  EXPECT_EQ(Date(2000, 2, 20).addWeeks(2).value(), 20000305);
  EXPECT_EQ(Date(2000, 3, 1).daysBetween(Date(2000, 2, 1)), 29);
  EXPECT_EQ(Date(2000, 2, 1).daysBetween(Date(2000, 3, 1)), -29);
  EXPECT_TRUE(Date(2037, 12, 31).addDays(1).isNull());
  EXPECT_TRUE(Date().addDays(1).isNull());
  EXPECT_TRUE(Date(2000, 1, 1).addDays(std::numeric_limits<long>::max()).isNull());
  EXPECT_TRUE(Date(2000, 1, 1).addWeeks(std::numeric_limits<long>::min()).isNull());
  EXPECT_EQ(Date().daysBetween(Date(2000, 1, 1)), 0);
}

// Short steps inside a month take a shortcut; every step agrees with the
// calendar over two years around a leap day.
TEST(DateTest, ShortStepsAgreeWithTheCalendar) {
  for (Date d(1999, 12, 1); d.value() < 20020101; d = Date::FromJulianDay(d.julianDay() + 1))
    for (long n = -40; n <= 40; ++n)
      ASSERT_EQ(d.addDays(n).value(), Date::FromJulianDay(d.julianDay() + n).value()) << d.value() << " " << n;
}

TEST(DateTest, AddMonthsClampsTheDay) {
  const struct {
    Date from;
    int months;
    std::int32_t value;
  } cases[] = {
      {Date(2000, 1, 31), 1, 20000229}, {Date(2001, 1, 31), 1, 20010228}, {Date(1999, 12, 15), 1, 20000115},
      {Date(2000, 11, 30), 14, 20020130}, {Date(2000, 5, 31), 0, 20000531}, {Date(2037, 12, 1), 1, 0},
      {Date(), 1, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(c.from.addMonths(c.months).value(), c.value) << c.from.value();
}

TEST(DateTest, LastDayOfMonthAndPrint) {
  EXPECT_TRUE(Date(2000, 2, 29).isLastDayOfMonth());
  EXPECT_FALSE(Date(2000, 2, 28).isLastDayOfMonth());
  EXPECT_TRUE(Date(2001, 2, 28).isLastDayOfMonth());
  EXPECT_FALSE(Date().isLastDayOfMonth());
  EXPECT_EQ(Date(1999, 2, 1).print(), "1/2/1999");
  EXPECT_EQ(Date(2037, 12, 31).print(), "31/12/2037");
}

TEST(DateTest, CalendarTimeIsLocalMidnight) {
  const std::time_t t = Date(2000, 2, 29).toCalendarTime();
  const platform::LocalDateTime local = platform::ToLocal(t);
  EXPECT_EQ(local.year, 2000);
  EXPECT_EQ(local.month, 2);
  EXPECT_EQ(local.day, 29);
  EXPECT_EQ(local.hour, 0);
  EXPECT_EQ(local.minute, 0);
  EXPECT_EQ(local.second, 0);
  EXPECT_EQ(Date().toCalendarTime(), -1);
}

TEST(DateTest, TodayComesFromTheProgramClock) {
  platform::ScopedFixedClock clock({2003, 7, 14, 23, 59, 59});
  EXPECT_EQ(Date::Today().value(), 20030714);
  clock.clock().Advance(1);
  EXPECT_EQ(Date::Today().value(), 20030715);
}

TEST(DateTest, NullDateComparesEqualToEverything) {
  const Date a(1999, 2, 1), b(2000, 2, 1), null;
  EXPECT_EQ(a.compare(b), -1);
  EXPECT_EQ(b.compare(a), 1);
  EXPECT_EQ(a.compare(a), 0);
  EXPECT_TRUE(a < b && b > a && a <= b && a != b && !(a == b));

  DebugLogCapture log;
  EXPECT_EQ(null.compare(b), 0);
  EXPECT_EQ(log.text(), "cannot compare dates \"0\" and \"20000201\"\r\n");
  EXPECT_TRUE(null == b && null <= b && null >= b && !(null < b) && !(null > b) && !(null != b));
}

TEST(DateTest, BinaryForms) {
  unsigned char b[4];
  Date(1999, 2, 1).toBinary4(b);
  EXPECT_EQ(ToHex(Str(b, 4)), ToHex(Hex("01 02 cf 07")));
  EXPECT_EQ(Date::FromBinary4(Bytes(Hex("1d 02 d0 07"))).value(), 20000229);
  EXPECT_TRUE(Date::FromBinary4(Bytes(Hex("1e 02 d0 07"))).isNull());
  Date().toBinary4(b);
  EXPECT_EQ(ToHex(Str(b, 4)), ToHex(Hex("00 00 00 00")));
  EXPECT_TRUE(Date::FromBinary4(b).isNull());
}

TEST(DateTest, PackedTwoByteForms) {
  const struct {
    Date date;
    const char* two_digit;
    const char* since_1900;
  } cases[] = {
      // The year 2000 is 0 in the two-digit form and 100 in the other.
      {Date(2000, 1, 1), "80 08", "e4 08"},
      {Date(1999, 12, 31), "63 fe", "63 fe"},
      {Date(2027, 6, 15), "1b 7b", "7f 7b"},
      // 137 does not fit in 7 bits: the year - 1900 form falls back to 37.
      {Date(2037, 6, 15), "25 7b", "25 7b"},
      {Date(), "00 00", "00 00"},
  };
  for (const auto& c : cases) {
    unsigned char b[2];
    c.date.toPacked2(b);
    EXPECT_EQ(ToHex(Str(b, 2)), ToHex(Hex(c.two_digit))) << c.date.value();
    EXPECT_EQ(Date::FromPacked2(b).value(), c.date.value());
    c.date.toPacked2Since1900(b);
    EXPECT_EQ(ToHex(Str(b, 2)), ToHex(Hex(c.since_1900))) << c.date.value();
    EXPECT_EQ(Date::FromPacked2(b).value(), c.date.value());
  }
  EXPECT_TRUE(Date::FromPacked2(Bytes(Hex("63 ff"))).isNull());  // month 15
}

TEST(DateTest, FloatForms) {
  unsigned char b[4];
  Date(2000, 1, 1).toMbfCYYMMDD(b);
  EXPECT_EQ(ToHex(Str(b, 4)), ToHex(Hex("50 2a 74 94")));
  EXPECT_EQ(Date::FromMbfCYYMMDD(b).value(), 20000101);
  Date().toMbfCYYMMDD(b);
  EXPECT_EQ(ToHex(Str(b, 4)), ToHex(Hex("00 00 00 00")));
  EXPECT_TRUE(Date::FromMbfCYYMMDD(b).isNull());

  EXPECT_EQ(Date(1999, 2, 1).toFloatCYYMMDD(), 990201.0f);
  EXPECT_EQ(Date::FromFloatCYYMMDD(1371231.0f).value(), 20371231);

  const struct {
    float in;
    std::int32_t value;
  } cases[] = {
      {990201.0f, 19990201}, {1000201.0f, 20000201}, {20000202.0f, 20000202}, {990201.75f, 19990201},
      {0.0f, 0},             {-990201.0f, 0},        {1e20f, 0},              {std::numeric_limits<float>::quiet_NaN(), 0},
  };
  for (const auto& c : cases) EXPECT_EQ(Date::FromFloat(c.in).value(), c.value) << c.in;
}

}  // namespace
}  // namespace kvqt
