#include "maintenance/record_array.h"

#include <gtest/gtest.h>

#include "maintenance_test_util.h"

namespace kvqt {
namespace {

using testing::Days;

TEST(RecordArrayTest, RecordsAreNumberedFromOneAndRecordZeroIsEmpty) {
  RecordArray records(Days(3, 10, 100));
  ASSERT_EQ(3, records.count());
  EXPECT_EQ(Date(2000, 1, 3), records.at(1).date);
  EXPECT_EQ(Date(2000, 1, 5), records.at(3).date);
  EXPECT_TRUE(records.at(0).date.isNull());
  EXPECT_TRUE(records.at(4).date.isNull());
  EXPECT_TRUE(records.at(-1).date.isNull());
  EXPECT_EQ(0, RecordArray().count());
}

TEST(RecordArrayTest, RemovingMovesTheLaterRecordsDown) {
  RecordArray records(Days(4, 10, 100));
  EXPECT_TRUE(records.remove(2));
  ASSERT_EQ(3, records.count());
  EXPECT_EQ(Date(2000, 1, 3), records.at(1).date);
  EXPECT_EQ(Date(2000, 1, 5), records.at(2).date);
  EXPECT_EQ(Date(2000, 1, 6), records.at(3).date);
  EXPECT_FALSE(records.remove(0));
  EXPECT_FALSE(records.remove(4));
  EXPECT_EQ(3, records.count());
}

TEST(RecordArrayTest, RemovingManyKeepsTheOthersInOrder) {
  struct Case {
    std::vector<int> removed;
    std::vector<int> kept;  // days of January
  } cases[] = {
      {{}, {3, 4, 5, 6, 7}},
      {{1}, {4, 5, 6, 7}},
      {{4, 5}, {3, 4, 5}},  // the last records
      {{1, 3, 5}, {4, 6}},
      {{1, 2, 3, 4, 5}, {}},
      {{0, 2, 9}, {3, 5, 6, 7}},  // out of range passed over
  };
  for (const Case& c : cases) {
    RecordArray records(Days(5, 10, 100));  // 3 to 7 January
    int expected = static_cast<int>(5 - c.kept.size());
    EXPECT_EQ(expected, records.remove(c.removed));
    ASSERT_EQ(static_cast<int>(c.kept.size()), records.count());
    for (int k = 1; k <= records.count(); ++k)
      EXPECT_EQ(Date(2000, 1, c.kept[static_cast<std::size_t>(k - 1)]), records.at(k).date) << k;
  }
}

TEST(RecordArrayTest, FirstRecordOnOrAfterADate) {
  RecordArray records(Days(5, 10, 100));  // 3 to 7 January
  struct Case {
    Date date;
    int record;
  } cases[] = {{Date(1999, 1, 1), 1}, {Date(2000, 1, 3), 1}, {Date(2000, 1, 5), 3}, {Date(2000, 1, 7), 5},
               {Date(2000, 1, 8), 0}};
  for (const Case& c : cases) EXPECT_EQ(c.record, records.firstOnOrAfter(c.date)) << c.date.value();
}

TEST(RecordArrayTest, TwoForOneSplitHalvesPricesAndDoublesVolumesInItsRangeOnly) {
  RecordArray records(Days(10, 100, 1000));  // 3 to 12 January
  EXPECT_EQ(4, records.scale(Date(2000, 1, 5), Date(2000, 1, 8), 1.0 / 2.0));
  for (int k = 1; k <= 10; ++k) {
    bool inside = k >= 3 && k <= 6;
    const PriceRecord& r = records.at(k);
    EXPECT_EQ(inside ? 50.0f : 100.0f, r.open) << k;
    EXPECT_EQ(inside ? 50.0f : 100.0f, r.high) << k;
    EXPECT_EQ(inside ? 50.0f : 100.0f, r.low) << k;
    EXPECT_EQ(inside ? 50.0f : 100.0f, r.close) << k;
    EXPECT_EQ(inside ? 2000.0f : 1000.0f, r.volume) << k;
  }
}

TEST(RecordArrayTest, SplitStopsAtTheFirstRecordAfterItsEnd) {
  // Out of date order: the walk ends at the first record after the end date.
  std::vector<PriceRecord> days = Days(3, 100, 1000);
  days.push_back(testing::Day(Date(2000, 1, 4), 100, 1000));
  RecordArray records(days);
  EXPECT_EQ(2, records.scale(Date(2000, 1, 1), Date(2000, 1, 4), 2));
  EXPECT_EQ(100.0f, records.at(4).close);
}

}  // namespace
}  // namespace kvqt
