#include "service/symbols/keyed_records.h"

#include <gtest/gtest.h>

#include "service/symbols/sin_records.h"

namespace kvqt {
namespace {

std::vector<std::int32_t> Codes(const KeyedRecords<SinItem>& t) {
  std::vector<std::int32_t> codes;
  for (const SinItem& r : t.records()) codes.push_back(r.code);
  return codes;
}

TEST(KeyedRecordsTest, GrowsByItsStep) {
  KeyedRecords<SinItem> t(4);
  EXPECT_EQ(t.capacity(), 4);
  for (int i = 0; i < 4; ++i) ASSERT_TRUE(t.append({i, "x"}));
  EXPECT_EQ(t.capacity(), 4);
  ASSERT_TRUE(t.append({9, "x"}));
  EXPECT_EQ(t.capacity(), 8);
  t.removeAt(0);
  EXPECT_EQ(t.capacity(), 8);
}

TEST(KeyedRecordsTest, CapacityThatCannotGrowRefusesTheRecord) {
  KeyedRecords<SinItem> t(4);
  t.assign(std::vector<SinItem>(3), 3);
  EXPECT_TRUE(t.append({1, "x"}));  // 3 of 3 grows to 7
  EXPECT_EQ(t.capacity(), 7);

  KeyedRecords<SinItem> huge_step(0x7ffffff0);
  huge_step.assign(std::vector<SinItem>(32), 32);
  EXPECT_FALSE(huge_step.append({1, "x"}));
  EXPECT_EQ(huge_step.count(), 32);
  EXPECT_EQ(huge_step.find(1), -1);
}

// A file may hold one key more than once: the index finds the first in table
// order, and keeps doing so while records move.
TEST(KeyedRecordsTest, DuplicateKeysStayConsistentThroughRemovals) {
  KeyedRecords<SinItem> t(8);
  t.assign({{1, "a"}, {2, "b"}, {1, "c"}, {3, "d"}, {1, "e"}}, 8);
  EXPECT_EQ(t.find(1), 0);
  t.removeAt(0);  // 1e moves to the front
  EXPECT_EQ(Codes(t), (std::vector<std::int32_t>{1, 2, 1, 3}));
  EXPECT_EQ(t.find(1), 0);
  EXPECT_EQ(t.at(t.find(1))->name, "e");
  t.removeAt(0);  // 3 moves to the front
  EXPECT_EQ(Codes(t), (std::vector<std::int32_t>{3, 2, 1}));
  EXPECT_EQ(t.find(1), 2);
  EXPECT_EQ(t.find(3), 0);
  t.removeAt(t.find(1));
  EXPECT_EQ(t.find(1), -1);
  EXPECT_EQ(t.find(2), 1);
  ASSERT_TRUE(t.append({2, "f"}));
  t.removeAt(1);  // the first 2 goes, the later one moves into its place
  EXPECT_EQ(t.find(2), 1);
  EXPECT_EQ(t.at(1)->name, "f");
}

TEST(KeyedRecordsTest, IndexFollowsEveryRemovalOrder) {
  // Remove from the front, the back and the middle; every key stays findable.
  for (int pattern = 0; pattern < 3; ++pattern) {
    KeyedRecords<SinItem> t(16);
    for (int i = 0; i < 100; ++i) t.append({i * 7, "x"});
    while (t.count() > 0) {
      const std::int32_t at = pattern == 0 ? 0 : pattern == 1 ? t.count() - 1 : t.count() / 2;
      const std::int32_t key = t.at(at)->code;
      t.removeAt(at);
      EXPECT_EQ(t.find(key), -1);
      for (std::int32_t i = 0; i < t.count(); ++i) ASSERT_EQ(t.find(t.at(i)->code), i);
    }
  }
}

}  // namespace
}  // namespace kvqt
