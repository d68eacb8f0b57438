#include "price_series.h"

#include <gtest/gtest.h>

namespace kvqt::server {
namespace {

std::string Text(const std::vector<DailyPrice>& prices) {
  std::string out;
  for (const DailyPrice& p : prices) {
    out += std::to_string(p.date) + " " + std::to_string(p.open) + " " + std::to_string(p.high) + " " +
           std::to_string(p.low) + " " + std::to_string(p.close) + " " + std::to_string(p.volume) + "\n";
  }
  return out;
}

// Thursday 29 February 2024 to Tuesday 5 March: the week turns on Sunday, the
// month on the 1st.
const std::vector<DailyPrice> kDays = {
    {20240229, 10, 12, 9, 11, 100},
    {20240301, 11, 15, 10, 14, 200},
    {20240304, 14, 14, 8, 9, 300},
    {20240305, 9, 10, 7, 8, 400},
};

TEST(PriceSeriesTest, WeeksRunFromSundayToSaturdayAndCarryTheirLastTradingDay) {
  EXPECT_EQ(Text(WeeklyPrices(kDays)),
            Text({{20240301, 10, 15, 9, 14, 300}, {20240305, 14, 14, 7, 8, 700}}));
}

TEST(PriceSeriesTest, MonthsCarryTheirLastTradingDay) {
  EXPECT_EQ(Text(MonthlyPrices(kDays)),
            Text({{20240229, 10, 12, 9, 11, 100}, {20240305, 11, 15, 7, 8, 900}}));
}

TEST(PriceSeriesTest, BarsCombineFromMidnightAndCarryTheirFirstMinute) {
  std::vector<Bar> minutes = {
      {20240301, 929, 1, 2, 0.5, 1.5, 10},  {20240301, 930, 1.5, 3, 1, 2, 20},
      {20240301, 934, 2, 2.5, 1.8, 2.2, 5}, {20240301, 935, 2.2, 2.2, 2, 2.1, 1},
      {20240304, 930, 5, 5, 5, 5, 7},
  };
  std::vector<Bar> five = CombineBars(minutes, 5);
  ASSERT_EQ(five.size(), 4u);
  const int times[] = {925, 930, 935, 930};
  const long volumes[] = {10, 25, 1, 7};
  for (std::size_t i = 0; i < five.size(); ++i) {
    EXPECT_EQ(five[i].time, times[i]) << i;
    EXPECT_EQ(five[i].volume, volumes[i]) << i;
  }
  EXPECT_EQ(five[1].open, 1.5);
  EXPECT_EQ(five[1].high, 3);
  EXPECT_EQ(five[1].low, 1);
  EXPECT_EQ(five[1].close, 2.2);
  std::vector<Bar> hour = CombineBars(minutes, 60);
  ASSERT_EQ(hour.size(), 2u);
  EXPECT_EQ(hour[0].time, 900);
  EXPECT_EQ(hour[0].volume, 36);
  EXPECT_EQ(CombineBars(minutes, 1).size(), minutes.size());
}

}  // namespace
}  // namespace kvqt::server
