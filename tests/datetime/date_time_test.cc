#include "datetime/date_time.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <limits>
#include <string>

#include "platform/clock.h"
#include "support/hex.h"

namespace kvqt {
namespace {

using kvqt::testing::Hex;
using kvqt::testing::ToHex;

std::string Fields(const DateTime& dt) {
  char text[40];
  std::snprintf(text, sizeof text, "%d-%02d-%02d %02d:%02d:%02d", dt.year, dt.month, dt.day, dt.hour, dt.minute,
                dt.second);
  return text;
}

TEST(DateTimeTest, CheckedConstruction) {
  const struct {
    int year, month, day, hour, minute, second;
    const char* fields;
  } cases[] = {
      {99, 12, 31, 0, 0, 0, "1999-12-31 00:00:00"},
      {0, 1, 1, 0, 0, 0, "2000-01-01 00:00:00"},
      {49, 6, 1, 12, 0, 0, "2049-06-01 12:00:00"},
      {1800, 1, 1, 0, 0, 0, "1800-01-01 00:00:00"},  // the year is not range-checked
      {2000, 2, 29, 23, 59, 59, "2000-02-29 23:59:59"},
      {2001, 2, 29, 0, 0, 0, "0-00-00 00:00:00"},
      {2000, 4, 31, 0, 0, 0, "0-00-00 00:00:00"},
      {2000, 13, 1, 0, 0, 0, "0-00-00 00:00:00"},
      {2000, 1, 1, 24, 0, 0, "0-00-00 00:00:00"},
      {2000, 1, 1, 0, 60, 0, "0-00-00 00:00:00"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Fields(DateTime::Checked(c.year, c.month, c.day, c.hour, c.minute, c.second)), c.fields);
  }
  EXPECT_TRUE(DateTime::Checked(2001, 2, 29).isEmpty());
  EXPECT_FALSE(DateTime(2000, 1, 1) == DateTime(2000, 1, 1, 0, 0, 1));
}

TEST(DateTimeTest, DayStepsCarryIntoMonthAndYear) {
  const struct {
    DateTime from;
    int days;
    const char* fields;
  } cases[] = {
      {DateTime(2000, 2, 28, 10, 0, 0), 1, "2000-02-29 10:00:00"},
      {DateTime(2000, 2, 28), 2, "2000-03-01 00:00:00"},
      {DateTime(1999, 12, 31), 1, "2000-01-01 00:00:00"},
      {DateTime(2000, 3, 1), -1, "2000-02-29 00:00:00"},
      {DateTime(1970, 1, 1), 24837, "2038-01-01 00:00:00"},
      {DateTime(1970, 1, 1), 146097, "2370-01-01 00:00:00"},
      {DateTime(2000, 4, 31), 1, "2000-05-01 00:00:00"},  // a day past the month's end
      {DateTime(2000, 1, 1), 0, "2000-01-01 00:00:00"},
  };
  for (const auto& c : cases) EXPECT_EQ(Fields(c.from.addDays(c.days)), c.fields) << Fields(c.from) << " + " << c.days;

  EXPECT_EQ(Fields(DateTime(2000, 1, 1).subtractDays(1)), "1999-12-31 00:00:00");
  EXPECT_EQ(Fields(DateTime(2000, 3, 1).subtractDays(366)), "1999-03-01 00:00:00");
  EXPECT_EQ(Fields(DateTime(2038, 1, 1).subtractDays(24837)), "1970-01-01 00:00:00");
  // Huge counts end without stepping for ever.
  const DateTime far = DateTime(2000, 1, 1).addDays(std::numeric_limits<int>::max());
  EXPECT_EQ(Fields(far.subtractDays(std::numeric_limits<int>::max())), "2000-01-01 00:00:00");
  EXPECT_TRUE(DateTime().addDays(1).isEmpty());
}

TEST(DateTimeTest, DayStepsAgreeWithDates) {
  const Date start(1971, 3, 15);
  for (int n : {1, 30, 365, 1000, 5000, 20000}) {
    const Date expected = start.addDays(n);
    EXPECT_EQ(DateTime::FromDate(start).addDays(n), DateTime::FromDate(expected)) << n;
    EXPECT_EQ(DateTime::FromDate(expected).subtractDays(n), DateTime::FromDate(start)) << n;
  }
}

TEST(DateTimeTest, GoingBackMonthsClampsTheDay) {
  const struct {
    DateTime from;
    int months;
    const char* fields;
  } cases[] = {
      {DateTime(2001, 3, 31), 1, "2001-02-28 00:00:00"},
      {DateTime(2000, 3, 31), 1, "2000-02-29 00:00:00"},
      {DateTime(2000, 1, 15, 8, 0, 0), 1, "1999-12-15 08:00:00"},
      {DateTime(2000, 1, 15), 13, "1998-12-15 00:00:00"},
      {DateTime(2000, 5, 10), 12, "1999-05-10 00:00:00"},
      {DateTime(2000, 12, 31), 0, "2000-12-31 00:00:00"},
  };
  for (const auto& c : cases) EXPECT_EQ(Fields(c.from.subtractMonths(c.months)), c.fields) << Fields(c.from);
}

TEST(DateTimeTest, WeekdayTestsUseNowForTheEmptyRecord) {
  EXPECT_EQ(DateTime(2000, 1, 1).dayOfWeek(), 6);
  EXPECT_EQ(DateTime(2024, 3, 18, 23, 0, 0).dayOfWeek(), 1);
  EXPECT_TRUE(DateTime(2024, 3, 16).isSaturday());
  EXPECT_TRUE(DateTime(2024, 3, 17).isSunday());

  platform::ScopedFixedClock clock({2024, 3, 18, 9, 0, 0});  // a Monday
  EXPECT_TRUE(DateTime().isMonday());
  EXPECT_FALSE(DateTime().isSunday());
  clock.clock().Set({2024, 3, 17, 9, 0, 0});
  EXPECT_TRUE(DateTime().isSunday());
}

TEST(DateTimeTest, NowAndTodayFromTheProgramClock) {
  platform::ScopedFixedClock clock({2003, 7, 14, 8, 5, 9});
  EXPECT_EQ(Fields(DateTime::Now()), "2003-07-14 08:05:09");
  EXPECT_EQ(Fields(DateTime::Today()), "2003-07-14 00:00:00");
  EXPECT_EQ(DateTime::Today().toDate().value(), 20030714);
}

TEST(DateTimeTest, CalendarTime) {
  const std::time_t noon = DateTime(2000, 1, 1, 12, 0, 0).toCalendarTime();
  EXPECT_EQ(noon - DateTime(2000, 1, 1).toCalendarTime(), 12 * 3600);
  EXPECT_EQ(DateTime(2000, 1, 1).toCalendarTime(), Date(2000, 1, 1).toCalendarTime());
  EXPECT_EQ(DateTime(100, 1, 1).toCalendarTime(), DateTime(2000, 1, 1).toCalendarTime());  // year 100 is 2000
}

TEST(DateTimeTest, OleDayNumbers) {
  const struct {
    double day;
    const char* fields;
  } cases[] = {
      {25569.0, "1970-01-01 00:00:00"}, {36526.75, "2000-01-01 00:00:00"}, {36585.0, "2000-02-29 00:00:00"},
      {0.0, "1970-01-01 00:00:00"},     {-5.0, "1970-01-01 00:00:00"},     {std::numeric_limits<double>::quiet_NaN(), "1970-01-01 00:00:00"},
  };
  for (const auto& c : cases) EXPECT_EQ(Fields(DateTime::FromOleDay(c.day)), c.fields) << c.day;
}

TEST(DateTimeTest, NineByteRecordAndDates) {
  unsigned char b[DateTime::kRecordSize];
  DateTime(2000, 1, 2, 3, 4, 5).write(b);
  EXPECT_EQ(ToHex(std::string(reinterpret_cast<char*>(b), sizeof b)), ToHex(Hex("d0 07 00 00 01 02 03 04 05")));
  EXPECT_EQ(DateTime::Read(b), DateTime(2000, 1, 2, 3, 4, 5));
  EXPECT_TRUE(DateTime::Read(reinterpret_cast<const unsigned char*>(Hex("00 00 00 00 00 00 00 00 00").data())).isEmpty());

  EXPECT_TRUE(DateTime().toDate().isNull());
  EXPECT_TRUE(DateTime::FromDate(Date()).isEmpty());
  EXPECT_EQ(DateTime(2001, 2, 29).toDate().value(), 0);
}

}  // namespace
}  // namespace kvqt
