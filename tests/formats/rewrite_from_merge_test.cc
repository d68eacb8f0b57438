// The end of the import's date-ordered merge, with the merge file's text kind
// stood in for by an in-memory driver.
#include <gtest/gtest.h>

#include <map>

#include "app/messages.h"
#include "format_test_util.h"
#include "formats/format_driver.h"
#include "formats/storage_registry.h"
#include "support/temp_dir.h"

namespace kvqt {
namespace {

using testing::Daily;
using testing::TempDir;

// Keeps each symbol's records in memory; recordsRead is the read cursor.
class MemoryTextDriver : public StorageDriver {
 public:
  int openDatafile(DatafileEntry& entry, DatafileHandle&, int, OpenMode mode, const std::string&,
                   unsigned) override {
    if (mode == OpenMode::kCreate) files[entry.symbol].clear();
    if (!files.count(entry.symbol)) return -1;
    entry.recordsRead = 0;
    entry.recordCount = static_cast<std::int32_t>(files[entry.symbol].size());
    return 0;
  }
  int readRecord(DatafileEntry& entry, DatafileHandle&, PriceRecord& record, int, const Format*) override {
    auto& records = files[entry.symbol];
    if (entry.recordsRead >= static_cast<std::int32_t>(records.size())) return -1;
    record = records[static_cast<std::size_t>(entry.recordsRead++)];
    return 0;
  }
  int writeRecord(DatafileEntry& entry, DatafileHandle&, const PriceRecord& record, int, const Format*) override {
    if (failWrites) return -1;
    files[entry.symbol].push_back(record);
    ++entry.recordCount;
    return 0;
  }
  std::map<std::string, std::vector<PriceRecord>> files;
  bool failWrites = false;
};

class RewriteFromMergeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = SetStorageDriver(StorageKind::kTextIndex, &text);
    ASSERT_EQ(1, CreateEntry("ABC", "", 0, target, 4, dir.path()));
    std::vector<PriceRecord> days;
    for (int day = 3; day <= 10; ++day) days.push_back(Daily(Date(2000, 1, day), 1, 2, 1, 2, day));
    ASSERT_EQ(0, testing::AppendRecords(dir.path(), 4, target, days));
    ASSERT_EQ(0, FindEntry("ABC", target, 4, dir.path()));
    ASSERT_EQ(0, OpenDatafile(target, targetHandle, 4, OpenMode::kRead, dir.path()));
    merge.symbol = "DUMMY";
    ASSERT_EQ(0, OpenDatafile(merge, mergeHandle, 5, OpenMode::kCreate, dir.path()));
  }
  void TearDown() override { SetStorageDriver(StorageKind::kTextIndex, previous_); }

  // The import's part: old records before day 5, the new day 5 in place of
  // the old one; the old day 6 is the pending record.
  void MergeUpToDay5(PriceRecord& pending) {
    PriceRecord old;
    for (int i = 0; i < 3; ++i) ASSERT_EQ(0, ReadRecord(target, targetHandle, old, 4));
    // old days 3, 4 and 5 read; 5 is replaced
    ASSERT_EQ(0, WriteRecord(merge, mergeHandle, Daily(Date(2000, 1, 3), 1, 2, 1, 2, 3), 5));
    ASSERT_EQ(0, WriteRecord(merge, mergeHandle, Daily(Date(2000, 1, 4), 1, 2, 1, 2, 4), 5));
    ASSERT_EQ(0, WriteRecord(merge, mergeHandle, Daily(Date(2000, 1, 5), 7, 8, 7, 8, 500), 5));
    ASSERT_EQ(0, ReadRecord(target, targetHandle, pending, 4));
  }

  TempDir dir;
  ScopedMessages messages;
  MemoryTextDriver text;
  DatafileEntry target, merge;
  DatafileHandle targetHandle, mergeHandle;

 private:
  StorageDriver* previous_ = nullptr;
};

TEST_F(RewriteFromMergeTest, MergedRecordsReplaceTheDataFile) {
  PriceRecord pending;
  MergeUpToDay5(pending);
  bool full = false;
  ASSERT_EQ(0, RewriteFromMerge(target, targetHandle, &pending, merge, mergeHandle, 4, nullptr, dir.path(), full));
  EXPECT_FALSE(full);
  auto records = testing::ReadAll(dir.path(), 4, target);
  ASSERT_EQ(8u, records.size());
  std::vector<float> volumes;
  for (const PriceRecord& r : records) volumes.push_back(r.volume);
  EXPECT_EQ((std::vector<float>{3, 4, 500, 6, 7, 8, 9, 10}), volumes);
  DatafileEntry scanned;
  ASSERT_EQ(0, FindEntry("ABC", scanned, 4, dir.path(), kScanReadHeader));
  EXPECT_EQ(20000103, scanned.firstDate.value());
  EXPECT_EQ(20000110, scanned.lastDate.value());
  EXPECT_EQ(9, scanned.recordCount);
  EXPECT_TRUE(messages->shown().empty());
}

TEST_F(RewriteFromMergeTest, FullDataFileStaysAsItWas) {
  std::string before = dir.read("f1.DAT");
  target.ringSize = 8;  // room for 7 price records beside the header
  PriceRecord pending;
  MergeUpToDay5(pending);
  bool full = false;
  ASSERT_EQ(0, RewriteFromMerge(target, targetHandle, &pending, merge, mergeHandle, 4, nullptr, dir.path(), full));
  EXPECT_TRUE(full);
  EXPECT_EQ(before, dir.read("f1.DAT"));
  ASSERT_EQ(1u, messages->shown().size());
  EXPECT_EQ("Warning: Data file full ABC", messages->shown()[0].text);
}

TEST_F(RewriteFromMergeTest, IncompleteMergeFileDoesNotReplaceTheDataFile) {
  std::string before = dir.read("f1.DAT");
  PriceRecord pending;
  MergeUpToDay5(pending);
  text.failWrites = true;
  bool full = false;
  EXPECT_EQ(-1, RewriteFromMerge(target, targetHandle, &pending, merge, mergeHandle, 4, nullptr, dir.path(), full));
  EXPECT_FALSE(full);
  EXPECT_EQ(before, dir.read("f1.DAT"));
  ASSERT_EQ(1u, messages->shown().size());
  EXPECT_EQ("Cannot write data file DUMMY", messages->shown()[0].text);
}

TEST(MergeFormatIdTest, TextFormatOfTheMergeFile) {
  EXPECT_EQ(5, MergeFormatId(4));
  EXPECT_EQ(5, MergeFormatId(0));
  EXPECT_EQ(21, MergeFormatId(20));
  EXPECT_EQ(21, MergeFormatId(22));
}

}  // namespace
}  // namespace kvqt
