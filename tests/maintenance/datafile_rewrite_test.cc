// Whole-file rewrites of data files, checked against what the drivers write
// for a fresh data file and against the bytes of the formats.
#include "maintenance/datafile_rewrite.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/core/messages.h"
#include "formats/driver_table.h"
#include "formats/storage_registry.h"
#include "maintenance_test_util.h"
#include "support/hex.h"
#include "support/temp_dir.h"

namespace kvqt {
namespace {

using testing::Days;
using testing::Hex;
using testing::ReadInstrument;
using testing::TempDir;
using testing::ToHex;
using testing::WriteInstrument;

DatafileDates DatesOf(const RecordArray& records) {
  return {records.at(1).date, records.at(1).time, records.at(records.count()).date,
          records.at(records.count()).time};
}

bool LeftoversIn(const std::string& dir) {
  for (const auto& item : std::filesystem::directory_iterator(dir))
    if (item.path().filename().string().rfind("kvqt-save-", 0) == 0) return true;
  return false;
}

// Fails every write after the first `allowed` ones; otherwise the real driver.
class FailingDriver : public StorageDriver {
 public:
  FailingDriver(StorageDriver& real, int allowed) : real_(real), allowed_(allowed) {}
  int openDatafile(DatafileEntry& e, DatafileHandle& h, int id, OpenMode m, const std::string& d,
                   unsigned p) override {
    return real_.openDatafile(e, h, id, m, d, p);
  }
  int readRecord(DatafileEntry& e, DatafileHandle& h, PriceRecord& r, int id, const Format* f) override {
    return real_.readRecord(e, h, r, id, f);
  }
  int writeRecord(DatafileEntry& e, DatafileHandle& h, const PriceRecord& r, int id, const Format* f) override {
    if (allowed_-- <= 0) return -1;
    return real_.writeRecord(e, h, r, id, f);
  }
  int openMaster(MasterHandles& m, int id, const std::string& d) override { return real_.openMaster(m, id, d); }
  int checkMaster(int id, const std::string& d) override { return real_.checkMaster(id, d); }
  void closeMaster(MasterHandles& m) override { real_.closeMaster(m); }
  int scanEntries(MasterHandles& m, int id, DatafileEntry& e, const std::string& s, int fl,
                  const std::string& d) override {
    return real_.scanEntries(m, id, e, s, fl, d);
  }
  int finalize(DatafileEntry& e, DatafileHandle& h, int id, const std::string& d) override {
    return real_.finalize(e, h, id, d);
  }

 private:
  StorageDriver& real_;
  int allowed_;
};

class DatafileRewriteTest : public ::testing::Test {
 protected:
  TempDir dir;
  ScopedMessages messages;
};

TEST_F(DatafileRewriteTest, MetaStockFileAndMastersMatchAFreshlyWrittenOne) {
  WriteInstrument(dir.path(), 4, "ABC", Days(10, 100, 1000), "Abc Corp");
  RecordArray records(Days(10, 100, 1000));
  records.scale(Date(2000, 1, 3), Date(2000, 1, 7), 0.5);

  DatafileEntry written;
  ASSERT_EQ(0, RewriteDatafile(nullptr, 4, dir.path(), "ABC", records, DatesOf(records), written));
  EXPECT_EQ(11, written.recordCount);  // with the header record

  // The same records written into a new directory by the drivers.
  TempDir fresh;
  std::vector<PriceRecord> expected(records.begin(), records.end());
  WriteInstrument(fresh.path(), 4, "ABC", expected, "Abc Corp");
  EXPECT_EQ(ToHex(fresh.read("f1.DAT")), ToHex(dir.read("f1.DAT")));
  EXPECT_EQ(ToHex(fresh.read("MASTER")), ToHex(dir.read("MASTER")));
  EXPECT_EQ(ToHex(fresh.read("EMASTER")), ToHex(dir.read("EMASTER")));

  // Record 1 (after the 28-byte header): open 50 and volume 2000 as MBF singles;
  // record 6, outside the split, keeps 100 and 1000.
  std::string data = dir.read("f1.DAT");
  ASSERT_EQ(28u * 11, data.size());
  EXPECT_EQ(ToHex(Hex("00 00 48 86")), ToHex(data.substr(28 + 4, 4)));
  EXPECT_EQ(ToHex(Hex("00 00 7a 8b")), ToHex(data.substr(28 + 20, 4)));
  EXPECT_EQ(ToHex(Hex("00 00 48 87")), ToHex(data.substr(6 * 28 + 4, 4)));
  EXPECT_EQ(ToHex(Hex("00 00 7a 8a")), ToHex(data.substr(6 * 28 + 20, 4)));
  EXPECT_FALSE(LeftoversIn(dir.path()));
}

TEST_F(DatafileRewriteTest, AsciiFileIsRewrittenLineByLineAndItsIndexEntryFollows) {
  WriteInstrument(dir.path(), 5, "ABC", Days(3, 100, 1000));
  RecordArray records(Days(3, 100, 1000));
  records.at(2).close = 12.5f;
  records.remove(1);

  DatafileEntry written;
  ASSERT_EQ(0, RewriteDatafile(nullptr, 5, dir.path(), "ABC", records, DatesOf(records), written));
  EXPECT_EQ(
      "000104,100.000,100.000,100.000,12.500,1000\r\n"
      "000105,100.000,100.000,100.000,100.000,1000\r\n",
      dir.read("ABC.prn"));
  DatafileEntry entry;
  ASSERT_EQ(0, FindEntry("ABC", entry, 5, dir.path()));
  EXPECT_EQ(2, entry.recordCount);
  EXPECT_EQ(Date(2000, 1, 4), entry.firstDate);
  EXPECT_EQ(Date(2000, 1, 5), entry.lastDate);
  EXPECT_FALSE(LeftoversIn(dir.path()));
}

TEST_F(DatafileRewriteTest, ExistingFileInAnotherCaseIsReplacedNotDoubled) {
  WriteInstrument(dir.path(), 5, "ABC", Days(2, 100, 1000));
  std::filesystem::rename(dir.file("ABC.prn"), dir.file("abc.PRN"));
  RecordArray records(Days(1, 7, 70));
  DatafileEntry written;
  ASSERT_EQ(0, RewriteDatafile(nullptr, 5, dir.path(), "ABC", records, DatesOf(records), written));
  EXPECT_EQ("000103,7.000,7.000,7.000,7.000,70\r\n", dir.read("abc.PRN"));
  EXPECT_FALSE(dir.exists("ABC.prn"));
}

TEST_F(DatafileRewriteTest, EmptyFileKeepsItsFirstDateAndEndsTheDayBefore) {
  WriteInstrument(dir.path(), 4, "ABC", Days(3, 100, 1000));
  DatafileEntry written;
  DatafileDates dates{Date(2000, 1, 3), Time(), Date(2000, 1, 2), Time()};
  ASSERT_EQ(0, RewriteDatafile(nullptr, 4, dir.path(), "ABC", RecordArray(), dates, written));
  EXPECT_EQ(28u, dir.read("f1.DAT").size());
  DatafileEntry entry;
  ASSERT_EQ(0, FindEntry("ABC", entry, 4, dir.path(), kScanReadHeader));
  EXPECT_EQ(1, entry.recordCount);
  EXPECT_EQ(Date(2000, 1, 3), entry.firstDate);
  EXPECT_EQ(Date(2000, 1, 2), entry.lastDate);
}

TEST_F(DatafileRewriteTest, FailedWriteLeavesDataFileAndIndexAsTheyWere) {
  WriteInstrument(dir.path(), 5, "ABC", Days(5, 100, 1000));
  std::string data = dir.read("ABC.prn");
  std::string index = dir.read("master.kvq");
  StorageDriver& real = StorageDriverFor(StorageKind::kTextIndex);
  FailingDriver failing(real, 2);
  StorageDriver* previous = SetStorageDriver(StorageKind::kTextIndex, &failing);
  RecordArray records(Days(4, 1, 1));
  DatafileEntry written;
  EXPECT_EQ(-1, RewriteDatafile(nullptr, 5, dir.path(), "ABC", records, DatesOf(records), written));
  SetStorageDriver(StorageKind::kTextIndex, previous);
  EXPECT_EQ(data, dir.read("ABC.prn"));
  EXPECT_EQ(ToHex(index), ToHex(dir.read("master.kvq")));
  EXPECT_FALSE(LeftoversIn(dir.path()));
}

TEST_F(DatafileRewriteTest, RefusesWhatItCannotWriteWithoutTouchingTheFile) {
  WriteInstrument(dir.path(), 5, "ABC", Days(2, 100, 1000));
  std::string data = dir.read("ABC.prn");
  RecordArray bad(Days(2, 100, 1000));
  bad.at(2).close = std::numeric_limits<float>::infinity();
  DatafileEntry written;
  EXPECT_EQ(-1, RewriteDatafile(nullptr, 5, dir.path(), "ABC", bad, DatesOf(bad), written));
  RecordArray good(Days(1, 1, 1));
  EXPECT_EQ(-1, RewriteDatafile(nullptr, 5, dir.path(), "XYZ", good, DatesOf(good), written));  // no such entry
  EXPECT_EQ(-1, RewriteDatafile(nullptr, 16, dir.path(), "ABC", good, DatesOf(good), written));  // import file
  EXPECT_EQ(-1, RewriteDatafile(nullptr, 5, "", "ABC", good, DatesOf(good), written));
  EXPECT_EQ(data, dir.read("ABC.prn"));
  EXPECT_FALSE(LeftoversIn(dir.path()));
}

TEST_F(DatafileRewriteTest, RoundTripThroughEveryKindOfDataFile) {
  for (int id : {4, 20, 5, 15, 21, 17, 6, 22}) {
    TempDir d;
    bool intraday = IsIntradayFormatId(id);
    std::vector<PriceRecord> days = Days(6, 10, 100);
    if (intraday)
      for (PriceRecord& r : days) r.time = Time(10, 30, 0);
    WriteInstrument(d.path(), id, "ABC", days, "", intraday ? 5 : 0);
    SCOPED_TRACE(id);
    RecordArray records(days);
    records.at(3).close = 11.5f;
    records.remove(5);
    DatafileEntry written;
    ASSERT_EQ(0, RewriteDatafile(nullptr, id, d.path(), "ABC", records, DatesOf(records), written)) << id;
    std::vector<PriceRecord> back = ReadInstrument(d.path(), id, "ABC");
    ASSERT_EQ(5u, back.size()) << id;
    for (int k = 1; k <= 5; ++k) {
      EXPECT_EQ(records.at(k).date, back[static_cast<std::size_t>(k - 1)].date) << id << " " << k;
      EXPECT_EQ(records.at(k).close, back[static_cast<std::size_t>(k - 1)].close) << id << " " << k;
    }
    EXPECT_FALSE(LeftoversIn(d.path())) << id;
  }
}

}  // namespace
}  // namespace kvqt
