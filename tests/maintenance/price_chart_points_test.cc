#include "maintenance/price_chart_points.h"

#include <gtest/gtest.h>

#include <limits>

#include "maintenance_test_util.h"

namespace kvqt {
namespace {

using testing::Day;
using testing::Days;

// Closes and volumes in file order, one day each from 3 January 2000.
RecordArray Closes(const std::vector<float>& closes, const std::vector<float>& volumes = {}) {
  std::vector<PriceRecord> records;
  for (std::size_t i = 0; i < closes.size(); ++i)
    records.push_back(Day(Date(2000, 1, 3).addDays(static_cast<int>(i)), closes[i],
                          i < volumes.size() ? volumes[i] : 100.0f));
  return RecordArray(records);
}

TEST(PriceChartPointsTest, FewRecordsAreABucketEach) {
  PriceChartPoints points(Closes({10, 12, 8}, {100, 300, 200}), 600);
  ASSERT_EQ(3, points.buckets());
  ASSERT_EQ(3u, points.closeLine().size());
  for (int k = 1; k <= 3; ++k) {
    EXPECT_DOUBLE_EQ(k - 1, points.recordX(k));
    EXPECT_DOUBLE_EQ(k - 1, points.closeLine()[static_cast<std::size_t>(k - 1)].x);
    EXPECT_EQ(k - 1, points.bucketOf(k));
  }
  EXPECT_EQ((std::vector<double>{100, 300, 200}), points.volumeBars());
  EXPECT_DOUBLE_EQ(12, points.closeLine()[1].y);
  EXPECT_DOUBLE_EQ(8, points.lowClose());
  EXPECT_DOUBLE_EQ(12, points.highClose());
  EXPECT_DOUBLE_EQ(300, points.highVolume());
  // A split before record 2 is marked between the first two bars.
  EXPECT_DOUBLE_EQ(0.5, points.boundaryX(2));
  EXPECT_DOUBLE_EQ(-0.5, points.boundaryX(1));
  EXPECT_DOUBLE_EQ(2.5, points.boundaryX(4));  // after the last record: the right edge
}

TEST(PriceChartPointsTest, ManyRecordsKeepEachColumnsFirstLowHighAndLast) {
  // Two columns of four records each.
  PriceChartPoints points(Closes({5, 9, 1, 6, 4, 4, 4, 4}, {1, 2, 8, 3, 5, 5, 5, 5}), 2);
  ASSERT_EQ(2, points.buckets());
  EXPECT_EQ((std::vector<double>{8, 5}), points.volumeBars());
  struct Expected {
    double x, y;
  } line[] = {
      {-0.375, 5}, {-0.125, 9}, {0.125, 1}, {0.375, 6},  // records 1 to 4: first, high, low, last
      {0.625, 4},  {1.375, 4},                           // records 5 to 8: flat, first and last
  };
  ASSERT_EQ(std::size(line), points.closeLine().size());
  for (std::size_t i = 0; i < std::size(line); ++i) {
    EXPECT_DOUBLE_EQ(line[i].x, points.closeLine()[i].x) << i;
    EXPECT_DOUBLE_EQ(line[i].y, points.closeLine()[i].y) << i;
  }
  EXPECT_EQ(0, points.bucketOf(4));
  EXPECT_EQ(1, points.bucketOf(5));
  EXPECT_DOUBLE_EQ(0.5, points.boundaryX(5));
}

TEST(PriceChartPointsTest, HundredThousandRecordsDrawAsManyPointsAsColumns) {
  std::vector<PriceRecord> records;
  for (int i = 0; i < 100000; ++i) records.push_back(Day(Date(2000, 1, 3), static_cast<float>(i % 977), 1000));
  RecordArray array(records);
  PriceChartPoints points(array, 700);
  EXPECT_EQ(700, points.buckets());
  EXPECT_LE(points.closeLine().size(), 4u * 700u);
  EXPECT_DOUBLE_EQ(0, points.lowClose());
  EXPECT_DOUBLE_EQ(976, points.highClose());
  // Every record falls in a bucket, in order, and x stays inside its bucket.
  int previous = 0;
  for (int k = 1; k <= array.count(); k += 997) {
    const int b = points.bucketOf(k);
    EXPECT_GE(b, previous);
    EXPECT_LE(std::abs(points.recordX(k) - b), 0.5) << k;
    previous = b;
  }
  EXPECT_EQ(699, points.bucketOf(100000));
}

TEST(PriceChartPointsTest, AClickFindsTheNearestRecord) {
  struct Case {
    int records, columns;
    double x;
    int record;
  } cases[] = {
      {3, 600, 0, 1},       {3, 600, 1.4, 2},     {3, 600, 1.6, 3},   {3, 600, -3, 1},
      {3, 600, 9, 3},       {8, 2, -0.375, 1},    {8, 2, 0.375, 4},   {8, 2, 0.6, 5},
      {100000, 700, 699.5, 100000},               {100000, 700, -0.5, 1},
  };
  for (const Case& c : cases) {
    RecordArray records(Days(c.records, 10, 100));
    PriceChartPoints points(records, c.columns);
    EXPECT_EQ(c.record, points.recordAt(c.x)) << c.records << " " << c.x;
  }
  // Every record is found at its own x.
  RecordArray many(Days(1000, 10, 100));
  PriceChartPoints points(many, 300);
  for (int k = 1; k <= 1000; k += 37) EXPECT_EQ(k, points.recordAt(points.recordX(k))) << k;
  EXPECT_EQ(0, PriceChartPoints(RecordArray(), 10).recordAt(0));
}

TEST(PriceChartPointsTest, OneDaysIntradayRecordsAreLabelledByTheirTimes) {
  std::vector<PriceRecord> ticks(3, Day(Date(2024, 3, 22), 10, 100));
  ticks[0].time = Time(9, 0, 7);
  ticks[1].time = Time(12, 30, 0);
  ticks[2].time = Time(17, 29, 59);
  RecordArray records(ticks);
  PriceChartPoints points(records, 600);
  struct Case {
    PriceKind kind;
    std::vector<std::string> texts;
  } cases[] = {
      {PriceKind::kTick, {"09:00:07", "12:30:00", "17:29:59"}},
      {PriceKind::kIntraday, {"09:00", "12:30", "17:29"}},
      {PriceKind::kDaily, {"22/3/2024", "22/3/2024", "22/3/2024"}},
  };
  for (const Case& c : cases) {
    std::vector<std::string> texts;
    for (const ChartDateLabel& label : points.dateLabels(records, c.kind, 3)) texts.push_back(label.text);
    EXPECT_EQ(c.texts, texts);
  }
}

TEST(PriceChartPointsTest, WhatIsNoFiniteNumberDrawsAsZero) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  PriceChartPoints points(Closes({nan, 5, inf, -inf}, {inf, 10, nan, 20}), 600);
  ASSERT_EQ(4u, points.closeLine().size());
  EXPECT_EQ((std::vector<double>{0, 5, 0, 0}), (std::vector<double>{points.closeLine()[0].y, points.closeLine()[1].y,
                                                                     points.closeLine()[2].y, points.closeLine()[3].y}));
  EXPECT_EQ((std::vector<double>{0, 10, 0, 20}), points.volumeBars());
  EXPECT_DOUBLE_EQ(0, points.lowClose());
  EXPECT_DOUBLE_EQ(5, points.highClose());
  EXPECT_DOUBLE_EQ(20, points.highVolume());
}

TEST(PriceChartPointsTest, NoRecordsDrawNothing) {
  PriceChartPoints points(RecordArray(), 600);
  EXPECT_EQ(0, points.buckets());
  EXPECT_TRUE(points.closeLine().empty());
  EXPECT_TRUE(points.dateLabels(RecordArray(), PriceKind::kDaily, 5).empty());
}

TEST(PriceChartPointsTest, DateLabelsSpreadFromTheFirstToTheLastRecord) {
  RecordArray records(Days(9, 10, 100));  // 3 to 11 January
  PriceChartPoints points(records, 600);
  struct Case {
    int wanted;
    std::vector<std::string> texts;
    std::vector<double> xs;
  } cases[] = {
      {3, {"3/1/2000", "7/1/2000", "11/1/2000"}, {0, 4, 8}},
      {1, {"3/1/2000"}, {0}},
      {20, {"3/1/2000", "4/1/2000", "5/1/2000", "6/1/2000", "7/1/2000", "8/1/2000", "9/1/2000", "10/1/2000",
            "11/1/2000"},
       {0, 1, 2, 3, 4, 5, 6, 7, 8}},
  };
  for (const Case& c : cases) {
    auto labels = points.dateLabels(records, PriceKind::kDaily, c.wanted);
    // Intraday records of several days: by their dates as well.
    EXPECT_EQ(labels.size(), points.dateLabels(records, PriceKind::kIntraday, c.wanted).size());
    ASSERT_EQ(c.texts.size(), labels.size()) << c.wanted;
    for (std::size_t i = 0; i < labels.size(); ++i) {
      EXPECT_EQ(c.texts[i], labels[i].text);
      EXPECT_DOUBLE_EQ(c.xs[i], labels[i].x);
    }
  }
}

}  // namespace
}  // namespace kvqt
