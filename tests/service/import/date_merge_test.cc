#include "service/import/date_merge.h"

#include <gtest/gtest.h>

#include <vector>

namespace kvqt {
namespace {

// Records named by day (and time) and their source: stored volumes are the
// day, new ones the day plus 100.
std::vector<PriceRecord> Days(std::initializer_list<int> days, float offset, int time = -1) {
  std::vector<PriceRecord> records;
  for (int d : days) {
    PriceRecord r;
    r.date = Date(2004, 1, d);
    r.time = time < 0 ? Time() : Time(10, time, 0);
    r.volume = static_cast<float>(d) + offset;
    records.push_back(r);
  }
  return records;
}

std::vector<float> Volumes(const std::vector<PriceRecord>& records) {
  std::vector<float> volumes;
  for (const PriceRecord& r : records) volumes.push_back(r.volume);
  return volumes;
}

TEST(MergeByDateTest, NewRecordsTakeTheirPlaceInDateOrder) {
  struct Case {
    std::vector<PriceRecord> stored, incoming;
    std::vector<float> volumes;
    bool extends;
  } cases[] = {
      // Stored days 1 to 10, new days 5 and 12.
      {Days({1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, 0), Days({5, 12}, 100), {1, 2, 3, 4, 105, 6, 7, 8, 9, 10, 112}, false},
      {Days({1, 2}, 0), Days({3, 4}, 100), {1, 2, 103, 104}, true},
      {{}, Days({3, 4}, 100), {103, 104}, true},
      {Days({1, 2}, 0), Days({2, 3}, 100), {1, 102, 103}, false},
      // New records out of order follow one another as they come.
      {Days({1, 5}, 0), Days({4, 2}, 100), {1, 104, 102, 5}, false},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(i);
    std::vector<PriceRecord> merged;
    EXPECT_EQ(MergeByDate(cases[i].stored, cases[i].incoming, false, merged), cases[i].extends);
    EXPECT_EQ(Volumes(merged), cases[i].volumes);
  }
}

TEST(MergeByDateTest, IntradayBarsMergeByTimeWithinTheDay) {
  std::vector<PriceRecord> stored = Days({5}, 0, 0);
  for (int minute : {5, 10}) stored.push_back(Days({5}, minute, minute)[0]);
  std::vector<PriceRecord> incoming = Days({5}, 200, 5);
  incoming.push_back(Days({5}, 300, 15)[0]);
  std::vector<PriceRecord> merged;
  EXPECT_FALSE(MergeByDate(stored, incoming, true, merged));
  EXPECT_EQ(Volumes(merged), (std::vector<float>{5, 205, 15, 305}));
  EXPECT_FALSE(MergeByDate(stored, incoming, false, merged));
  EXPECT_EQ(Volumes(merged), (std::vector<float>{205, 305, 15}));
}

}  // namespace
}  // namespace kvqt
