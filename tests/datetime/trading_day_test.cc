#include "datetime/date_field_text.h"
#include "datetime/trading_day.h"

#include <gtest/gtest.h>

namespace kvqt {
namespace {

using platform::LocalDateTime;

// 12 January 2024 was a Friday.
TEST(TradingDayTest, LastCompleteTradingDay) {
  const struct {
    LocalDateTime now;
    std::int32_t expected;
  } cases[] = {
      {{2024, 1, 15, 9, 0, 0}, 20240112},    // Monday morning: the Friday before
      {{2024, 1, 15, 17, 59, 59}, 20240112},
      {{2024, 1, 15, 18, 0, 0}, 20240115},   // Monday evening: that Monday
      {{2024, 1, 16, 19, 0, 0}, 20240116},   // Tuesday evening: that Tuesday
      {{2024, 1, 16, 9, 0, 0}, 20240115},    // Tuesday morning: the Monday
      {{2024, 1, 17, 0, 0, 0}, 20240116},
      {{2024, 1, 12, 17, 59, 0}, 20240111},
      {{2024, 1, 12, 18, 0, 0}, 20240112},
      {{2024, 1, 13, 9, 0, 0}, 20240112},    // Saturday: the day before
      {{2024, 1, 13, 20, 0, 0}, 20240112},
      {{2024, 1, 14, 9, 0, 0}, 20240112},    // Sunday: two days before
      {{2024, 1, 14, 23, 59, 0}, 20240112},
      {{2024, 3, 4, 8, 0, 0}, 20240301},     // over a month's end
      {{2024, 1, 1, 10, 0, 0}, 20231229},    // and a year's
      {{2024, 3, 2, 12, 0, 0}, 20240301},    // Saturday after a leap day
  };
  for (const auto& c : cases) {
    EXPECT_EQ(LastCompleteTradingDay(c.now).value(), c.expected)
        << c.now.year << "-" << c.now.month << "-" << c.now.day << " " << c.now.hour << ":" << c.now.minute;
  }
}

TEST(TradingDayTest, ReadsTheProgramClock) {
  platform::ScopedFixedClock clock({2024, 1, 15, 9, 0, 0});
  EXPECT_EQ(LastCompleteTradingDay().value(), 20240112);
  clock.clock().Set({2024, 1, 16, 19, 0, 0});
  EXPECT_EQ(LastCompleteTradingDay().value(), 20240116);
}

TEST(TradingDayTest, FieldTextIsDayMonthYear) {
  EXPECT_EQ(DateFieldText(Date::FromValue(20240112)), "12/1/2024");
  EXPECT_EQ(DateFieldText(Date::FromValue(19991231)), "31/12/1999");
  EXPECT_EQ(DateFieldText(Date::FromValue(20000101)), "1/1/2000");
}

}  // namespace
}  // namespace kvqt
