// How the date-range merge's result reaches a data file: stored records keep
// their bytes, the master follows the new content, and a file that cannot
// take it, or cannot be written, stays as it was.
#include "formats/merged_records.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "app/datafile/writer_settings.h"
#include "app/core/messages.h"
#include "format_test_util.h"
#include "formats/format_driver.h"
#include "support/hex.h"
#include "support/temp_dir.h"

namespace kvqt {
namespace {

using testing::Daily;
using testing::Hex;
using testing::TempDir;
using testing::ToHex;

constexpr int kMetaStock = 4;
constexpr int kTechnicalInvestor = 0;
constexpr std::size_t kRecord = 28;  // seven MetaStock fields

// Days 3 to 10 of January 2000; day 4 closes at 10.0625, which three
// decimals cannot hold.
std::vector<PriceRecord> StoredDays() {
  std::vector<PriceRecord> days;
  for (int day = 3; day <= 10; ++day) days.push_back(Daily(Date(2000, 1, day), 1, 2, 1, day == 4 ? 10.0625f : day, day));
  return days;
}

class MergedRecordsTest : public ::testing::Test {
 protected:
  void SetUp() override { saved_ = writerSettings(); }
  void TearDown() override { writerSettings() = saved_; }

  DatafileEntry Stored(int formatId, const std::vector<PriceRecord>& records) {
    DatafileEntry entry;
    EXPECT_EQ(1, CreateEntry("ABC", "Abc", 0, entry, formatId, dir.path()));
    EXPECT_EQ(0, testing::AppendRecords(dir.path(), formatId, entry, records));
    EXPECT_EQ(0, FindEntry("ABC", entry, formatId, dir.path(), kScanReadHeader));
    return entry;
  }
  std::vector<float> Volumes(int formatId) {
    DatafileEntry entry;
    EXPECT_EQ(0, FindEntry("ABC", entry, formatId, dir.path(), kScanReadHeader));
    std::vector<float> volumes;
    for (const PriceRecord& r : testing::ReadAll(dir.path(), formatId, entry)) volumes.push_back(r.volume);
    return volumes;
  }

  TempDir dir;
  ScopedMessages messages;
  WriterSettings saved_;
};

// Days 3 and 4 stored, a new day 5 in place of the old one, days 6 to 10 stored.
std::vector<PriceRecord> MergedWithNewDay5() {
  std::vector<PriceRecord> merged = StoredDays();
  merged[2] = Daily(Date(2000, 1, 5), 7, 8, 7, 10.0625f, 500);
  return merged;
}

TEST_F(MergedRecordsTest, StoredRecordsKeepTheirBytesAndTheMasterFollows) {
  DatafileEntry entry = Stored(kMetaStock, StoredDays());
  const std::string before = dir.read("f1.DAT");
  bool full = false;
  ASSERT_EQ(0, StoreMergedRecords(entry, MergedWithNewDay5(), 8, false, kMetaStock, nullptr, dir.path(), full));
  EXPECT_FALSE(full);
  const std::string after = dir.read("f1.DAT");
  ASSERT_EQ(after.size(), 9 * kRecord);
  EXPECT_EQ(ToHex(after.substr(kRecord, 2 * kRecord)), ToHex(before.substr(kRecord, 2 * kRecord)));
  EXPECT_EQ(ToHex(after.substr(2 * kRecord + 16, 4)), ToHex(Hex("00 00 21 84")));  // day 4's close, 10.0625
  EXPECT_EQ(ToHex(after.substr(3 * kRecord + 16, 4)), ToHex(Hex("00 00 21 84")));  // the new day 5's
  EXPECT_EQ(ToHex(after.substr(4 * kRecord)), ToHex(before.substr(4 * kRecord)));
  EXPECT_EQ(ToHex(after.substr(0, 4)), ToHex(Hex("00 00 09 00")));  // no limit, nine records
  EXPECT_EQ((std::vector<float>{3, 4, 500, 6, 7, 8, 9, 10}), Volumes(kMetaStock));
  DatafileEntry scanned;
  ASSERT_EQ(0, FindEntry("ABC", scanned, kMetaStock, dir.path(), kScanReadHeader));
  EXPECT_EQ(20000103, scanned.firstDate.value());
  EXPECT_EQ(20000110, scanned.lastDate.value());
  EXPECT_EQ(9, scanned.recordCount);
  EXPECT_FALSE(dir.exists(kMergeDirectoryName));
  EXPECT_TRUE(messages->shown().empty());
}

TEST_F(MergedRecordsTest, RecordsAfterTheStoredOnesAreAppended) {
  DatafileEntry entry = Stored(kMetaStock, StoredDays());
  const std::string before = dir.read("f1.DAT");
  std::vector<PriceRecord> merged = StoredDays();
  merged.push_back(Daily(Date(2000, 1, 11), 7, 8, 7, 10.0625f, 11));
  bool full = false;
  ASSERT_EQ(0, StoreMergedRecords(entry, merged, 8, true, kMetaStock, nullptr, dir.path(), full));
  const std::string after = dir.read("f1.DAT");
  ASSERT_EQ(after.size(), 10 * kRecord);
  EXPECT_EQ(ToHex(after.substr(4, 9 * kRecord - 4)), ToHex(before.substr(4)));
  EXPECT_EQ(ToHex(after.substr(9 * kRecord + 16, 4)), ToHex(Hex("00 00 21 84")));
  EXPECT_EQ((std::vector<float>{3, 4, 5, 6, 7, 8, 9, 10, 11}), Volumes(kMetaStock));
  EXPECT_FALSE(dir.exists(kMergeDirectoryName));
}

TEST_F(MergedRecordsTest, DataFileThatCannotHoldTheRecordsStaysAsItWas) {
  DatafileEntry entry = Stored(kMetaStock, StoredDays());
  const std::string before = dir.read("f1.DAT");
  entry.ringSize = 8;  // room for 7 price records beside the header
  bool full = false;
  ASSERT_EQ(0, StoreMergedRecords(entry, MergedWithNewDay5(), 8, false, kMetaStock, nullptr, dir.path(), full));
  EXPECT_TRUE(full);
  EXPECT_EQ(before, dir.read("f1.DAT"));
  ASSERT_EQ(1u, messages->shown().size());
  EXPECT_EQ("Warning: Data file full ABC", messages->shown()[0].text);
}

TEST_F(MergedRecordsTest, DataFileThatCannotBeRewrittenStaysAsItWas) {
  DatafileEntry entry = Stored(kMetaStock, StoredDays());
  const std::string before = dir.read("f1.DAT");
  dir.write(kMergeDirectoryName, "a file where the merge directory goes");
  bool full = false;
  EXPECT_EQ(-1, StoreMergedRecords(entry, MergedWithNewDay5(), 8, false, kMetaStock, nullptr, dir.path(), full));
  EXPECT_FALSE(full);
  EXPECT_EQ(before, dir.read("f1.DAT"));
  ASSERT_EQ(1u, messages->shown().size());
  EXPECT_EQ("Cannot open data file ABC", messages->shown()[0].text);
}

// Data files just added hold their header alone. Each is filled as it is
// (the same file, its permissions kept) with the bytes of an appended
// history, one after another through one merge directory.
TEST_F(MergedRecordsTest, EmptyDataFilesAreFilledAsTheyAre) {
  TempDir appended;
  DatafileEntry other;
  ASSERT_EQ(1, CreateEntry("ABC", "Abc", 0, other, kMetaStock, appended.path()));
  ASSERT_EQ(0, testing::AppendRecords(appended.path(), kMetaStock, other, StoredDays()));
  const std::string expected = appended.read("f1.DAT");
  ASSERT_EQ(expected.size(), 9 * kRecord);
  EXPECT_EQ(ToHex(expected.substr(0, kRecord)), ToHex(Hex("00 00 09 00") + std::string(kRecord - 4, '\0')));
  EXPECT_EQ(ToHex(expected.substr(2 * kRecord + 16, 4)), ToHex(Hex("00 00 21 84")));  // day 4's close, 10.0625

  const char* symbols[] = {"ABC", "DEF", "GHI"};
  std::vector<DatafileEntry> entries;
  for (const char* symbol : symbols) {
    DatafileEntry entry;
    ASSERT_EQ(1, CreateEntry(symbol, "Abc", 0, entry, kMetaStock, dir.path()));
    ASSERT_EQ(0, FindEntry(symbol, entry, kMetaStock, dir.path(), kScanReadHeader));
    entries.push_back(entry);
  }
  ASSERT_EQ(0, ::chmod(dir.file("f2.DAT").c_str(), 0600));
  // A byte of its own in the third one's header stays, as a copy would keep it.
  std::string third = dir.read("f3.DAT");
  third[10] = 'Z';
  dir.write("f3.DAT", third);
  struct stat before;
  ASSERT_EQ(0, ::stat(dir.file("f2.DAT").c_str(), &before));
  {
    MergeWorkspace workspace;
    for (DatafileEntry& entry : entries) {
      bool full = false;
      ASSERT_EQ(0, StoreMergedRecords(entry, StoredDays(), 0, true, kMetaStock, nullptr, dir.path(), full, nullptr,
                                      &workspace));
    }
  }
  std::string expectedThird = expected;
  expectedThird[10] = 'Z';
  EXPECT_EQ(ToHex(dir.read("f1.DAT")), ToHex(expected));
  EXPECT_EQ(ToHex(dir.read("f2.DAT")), ToHex(expected));
  EXPECT_EQ(ToHex(dir.read("f3.DAT")), ToHex(expectedThird));
  struct stat st;
  ASSERT_EQ(0, ::stat(dir.file("f2.DAT").c_str(), &st));
  EXPECT_EQ(st.st_mode & 07777, 0600u);
  EXPECT_EQ(st.st_ino, before.st_ino);
  DatafileEntry scanned;
  ASSERT_EQ(0, FindEntry("DEF", scanned, kMetaStock, dir.path(), kScanReadHeader));
  EXPECT_EQ(20000103, scanned.firstDate.value());
  EXPECT_EQ(20000110, scanned.lastDate.value());
  EXPECT_EQ(9, scanned.recordCount);
  EXPECT_FALSE(dir.exists(kMergeDirectoryName));
  EXPECT_TRUE(messages->shown().empty());
}

// An empty data file that is also reachable under another name is replaced
// as any other data file: the other name keeps what it had.
TEST_F(MergedRecordsTest, AnEmptyDataFileWithAnotherNameIsLeftToIt) {
  for (bool symbolic : {false, true}) {
    SCOPED_TRACE(symbolic ? "symbolic link" : "hard link");
    TempDir here, elsewhere;
    DatafileEntry first, second;
    ASSERT_EQ(1, CreateEntry("ABC", "Abc", 0, first, kMetaStock, here.path()));
    ASSERT_EQ(1, CreateEntry("DEF", "Def", 0, second, kMetaStock, here.path()));
    const std::string header = here.read("f1.DAT");
    ASSERT_EQ(0, ::rename(here.file("f1.DAT").c_str(), elsewhere.file("kept.DAT").c_str()));
    if (symbolic)
      ASSERT_EQ(0, ::symlink(elsewhere.file("kept.DAT").c_str(), here.file("f1.DAT").c_str()));
    else
      ASSERT_EQ(0, ::link(elsewhere.file("kept.DAT").c_str(), here.file("f1.DAT").c_str()));
    ASSERT_EQ(0, FindEntry("ABC", first, kMetaStock, here.path(), kScanReadHeader));
    ASSERT_EQ(0, FindEntry("DEF", second, kMetaStock, here.path(), kScanReadHeader));
    {
      MergeWorkspace workspace;
      for (DatafileEntry* entry : {&first, &second}) {
        bool full = false;
        ASSERT_EQ(0, StoreMergedRecords(*entry, StoredDays(), 0, true, kMetaStock, nullptr, here.path(), full, nullptr,
                                        &workspace));
      }
    }
    EXPECT_EQ(ToHex(header), ToHex(elsewhere.read("kept.DAT")));
    EXPECT_EQ(here.read("f1.DAT").size(), 9 * kRecord);
    EXPECT_EQ(ToHex(here.read("f1.DAT")), ToHex(here.read("f2.DAT")));
  }
}

// Files of this process stop growing at `bytes`: a write beyond fails
// (EFBIG) as on a full disk.
class ScopedFileSizeLimit {
 public:
  explicit ScopedFileSizeLimit(rlim_t bytes) {
    previousHandler_ = ::signal(SIGXFSZ, SIG_IGN);
    ::getrlimit(RLIMIT_FSIZE, &previous_);
    struct rlimit limit = {bytes, previous_.rlim_max};
    ::setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~ScopedFileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &previous_);
    ::signal(SIGXFSZ, previousHandler_);
  }

 private:
  struct rlimit previous_ = {};
  sighandler_t previousHandler_ = SIG_DFL;
};

TEST_F(MergedRecordsTest, AnEmptyDataFileThatCannotBeFilledKeepsItsHeader) {
  DatafileEntry entry;
  ASSERT_EQ(1, CreateEntry("ABC", "Abc", 0, entry, kMetaStock, dir.path()));
  ASSERT_EQ(0, FindEntry("ABC", entry, kMetaStock, dir.path(), kScanReadHeader));
  std::vector<PriceRecord> days;
  for (int d = 0; d < 200; ++d) days.push_back(Daily(Date(2000, 1, 3).addDays(d), 1, 2, 1, 1.5f, 100));
  std::string header = dir.read("f1.DAT");
  header[10] = 'Z';  // a byte of its own, which goes back with it
  dir.write("f1.DAT", header);
  struct stat before;
  ASSERT_EQ(0, ::stat(dir.file("f1.DAT").c_str(), &before));
  bool full = false;
  {
    ScopedFileSizeLimit limit(4096);
    EXPECT_EQ(-1, StoreMergedRecords(entry, days, 0, true, kMetaStock, nullptr, dir.path(), full));
  }
  EXPECT_FALSE(full);
  EXPECT_EQ(ToHex(dir.read("f1.DAT")), ToHex(header));
  struct stat st;
  ASSERT_EQ(0, ::stat(dir.file("f1.DAT").c_str(), &st));
  EXPECT_EQ(st.st_ino, before.st_ino);
  EXPECT_FALSE(dir.exists(kMergeDirectoryName));
  ASSERT_EQ(1u, messages->shown().size());
  EXPECT_EQ("Cannot write data file ABC", messages->shown()[0].text);
}

// A ring file is rewritten in place into the slots the old master does not
// use, or, without room for that, replaced as a whole.
TEST_F(MergedRecordsTest, RingFilesTakeTheMergedRecords) {
  struct Case {
    int ringSize;
    std::int32_t ringStart;  // of the merged records
  } cases[] = {{20, 8}, {10, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ringSize);
    TempDir ringDir;
    writerSettings().technicalInvestorFileType = 257;
    writerSettings().technicalInvestorMaxRecords = c.ringSize;
    DatafileEntry entry;
    ASSERT_EQ(1, CreateEntry("ABC", "Abc", 0, entry, kTechnicalInvestor, ringDir.path()));
    ASSERT_EQ(0, testing::AppendRecords(ringDir.path(), kTechnicalInvestor, entry, StoredDays()));
    ASSERT_EQ(0, FindEntry("ABC", entry, kTechnicalInvestor, ringDir.path()));
    bool full = false;
    ASSERT_EQ(0, StoreMergedRecords(entry, MergedWithNewDay5(), 8, false, kTechnicalInvestor, nullptr,
                                    ringDir.path(), full));
    DatafileEntry scanned;
    ASSERT_EQ(0, FindEntry("ABC", scanned, kTechnicalInvestor, ringDir.path()));
    EXPECT_EQ(scanned.ringStart, c.ringStart);
    EXPECT_EQ(scanned.recordCount, 8);
    EXPECT_EQ(scanned.firstDate.value(), 20000103);
    EXPECT_EQ(scanned.lastDate.value(), 20000110);
    std::vector<PriceRecord> records = testing::ReadAll(ringDir.path(), kTechnicalInvestor, scanned);
    ASSERT_EQ(records.size(), 8u);
    EXPECT_EQ(records[1].close, 10.0625f);
    EXPECT_EQ(records[2].volume, 500);
    EXPECT_EQ(records[2].close, 10.0625f);
    EXPECT_FALSE(ringDir.exists(kMergeDirectoryName));
  }
}

}  // namespace
}  // namespace kvqt
