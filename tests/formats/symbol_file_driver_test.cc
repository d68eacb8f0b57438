// The formats with one file per symbol and no master (Koersbase II, Hermes
// intraday, ids 1 and 7): files written through the framework against their
// layouts, files written by hand read back, and directories scanned by listing.
#include "formats/symbol_file_driver.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "app/core/messages.h"
#include "byte_builder.h"
#include "format_test_util.h"
#include "formats/format_driver.h"
#include "support/hex.h"
#include "support/temp_dir.h"

namespace kvqt {
namespace {

using testing::Bytes;
using testing::Daily;
using testing::Hex;
using testing::Intraday;
using testing::TempDir;
using testing::ToHex;

#define EXPECT_BYTES(expected, actual) EXPECT_EQ(ToHex(expected), ToHex(actual))

class SymbolFileDriverTest : public ::testing::Test {
 protected:
  DatafileEntry Create(const std::string& symbol, int formatId, Date first = Date()) {
    DatafileEntry entry;
    entry.firstDate = first;
    EXPECT_EQ(1, CreateEntry(symbol, "A Name", 0, entry, formatId, dir.path()));
    return entry;
  }

  TempDir dir;
  ScopedMessages messages;
};

TEST_F(SymbolFileDriverTest, WrittenFilesAgainstTheirLayouts) {
  struct Case {
    int id;
    const char* fileName;
    std::vector<PriceRecord> records;
    std::string bytes;
  } cases[] = {
      {6, "KB.kbf",
       {Daily(Date(2000, 1, 3), 12.5f, 13, 12.25f, 12.75f, 70000), Daily(Date(2000, 1, 4), 0, 2, 1, 1.5f, 0)},
       Hex("80 18 | 0d 00 00 | 0c 00 40 | 0c 00 c0 | 11 01 70"
           "80 20 | 02 00 00 | 01 00 00 | 01 00 80 | 00 00 01")},
      {22, "KB.kbt",
       {Intraday(Date(2001, 1, 2), Time(12, 0, 0), 9, 11, 8, 10.5f, 1234),
        Intraday(Date(2001, 1, 2), Time(0, 0, 0), 9, 11, 8, 11.25f, 0)},
       Hex("00 00 00 00 b0 03 e2 40 | 00 00 00 00 00 00 25 40 | d2 04 00 00"
           "00 00 00 00 a0 03 e2 40 | 00 00 00 00 00 80 26 40 | 00 00 00 00")},
      {7, "KB.hdf", {Daily(Date(2001, 1, 2), 10, 11, 9.5f, 10.5f, 1000)},
       Hex("06 | 30 31 30 31 30 32 | 84 00 00 00 00 20 | 84 00 00 00 00 30 | 84 00 00 00 00 18"
           "84 00 00 00 00 28 | 8a 00 00 00 00 7a | 00 00 00 00 00 00")},
      {1, "KB.mmD",
       {Daily(Date(1999, 12, 31), 10, 11, 9.5f, 10.5f, 1000), Daily(Date(2001, 1, 2), 10, 11, 9.5f, 10.5f, 1000)},
       Bytes(100).hex(1, "4b 42 00 | 00 00 00 00 00 00 00 | 02 00 | ff 1f 0f 00 | 76 27 00 00 | 44").str() +
           Hex("ff 1f 0f 00 | 00 00 7a 44 | 00 00 30 41 | 00 00 18 41 | 00 00 28 41"
               "76 27 00 00 | 00 00 7a 44 | 00 00 30 41 | 00 00 18 41 | 00 00 28 41")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fileName);
    DatafileEntry entry = Create("KB", c.id);
    EXPECT_EQ("KB", entry.name);
    ASSERT_EQ(0, testing::AppendRecords(dir.path(), c.id, entry, c.records));
    EXPECT_BYTES(c.bytes, dir.read(c.fileName));
    EXPECT_EQ(static_cast<int>(c.records.size()), entry.recordCount);
    EXPECT_EQ(c.records.front().date.value(), entry.firstDate.value());
    EXPECT_EQ(c.records.back().date.value(), entry.lastDate.value());
  }
  EXPECT_TRUE(messages->shown().empty());
}

TEST_F(SymbolFileDriverTest, HandWrittenFilesAreScannedAndRead) {
  dir.write("HK.kbt", Hex("00 00 00 00 b0 03 e2 40 | 00 00 00 00 00 00 25 40 | d2 04 00 00"
                          "ab aa aa aa 0c d6 e1 40 | 00 00 00 00 00 80 26 40 | 01 00 00 00"));
  // 36893.5 = 2 January 2001 12:00; 36528.3958333 = 3 January 2000 09:30.
  auto entries = testing::ScanAll(dir.path(), 22);
  ASSERT_EQ(1u, entries.size());
  const DatafileEntry& e = entries[0];
  EXPECT_EQ("HK", e.symbol);
  EXPECT_EQ('I', e.period);
  EXPECT_EQ(0, e.interval);
  EXPECT_EQ(2, e.recordCount);
  EXPECT_EQ(20010102, e.firstDate.value());
  EXPECT_EQ(120000, e.firstTime.value());
  EXPECT_EQ(20000103, e.lastDate.value());
  EXPECT_EQ(93000, e.lastTime.value());
  auto records = testing::ReadAll(dir.path(), 22, e);
  ASSERT_EQ(2u, records.size());
  EXPECT_EQ(93000, records[1].time.value());
  EXPECT_EQ(11.25f, records[1].open);
  EXPECT_EQ(1.0f, records[1].volume);

  // Id 1: dates, count and period from the header, never more records than the file holds.
  dir.write("MM.mmW", Bytes(100).hex(1, "4d 4d 00").hex(11, "09 00 | ff 1f 0f 00 | 76 27 00 00 | 57").str() +
                          Hex("ff 1f 0f 00 | 00 00 7a 44 | 00 00 30 41 | 00 00 18 41 | 00 00 28 41"));
  entries = testing::ScanAll(dir.path(), 1);
  ASSERT_EQ(1u, entries.size());
  EXPECT_EQ("MM", entries[0].symbol);
  EXPECT_EQ('W', entries[0].period);
  EXPECT_EQ(1, entries[0].recordCount);
  EXPECT_EQ(19991231, entries[0].firstDate.value());
  EXPECT_EQ(20010102, entries[0].lastDate.value());
  records = testing::ReadAll(dir.path(), 1, entries[0]);
  ASSERT_EQ(1u, records.size());
  EXPECT_EQ(19991231, records[0].date.value());
  EXPECT_EQ(0, records[0].open);
  EXPECT_EQ(11, records[0].high);
  DatafileEntry found;
  ASSERT_EQ(0, FindEntry("MM", found, 1, dir.path()));
  EXPECT_EQ('W', found.period);
}

TEST_F(SymbolFileDriverTest, HandWrittenDailyFilesReadThroughTheFramework) {
  struct Case {
    int id;
    const char* fileName;
    std::string bytes;
    PriceRecord expected;
  } cases[] = {
      {6, "HB.kbf", Hex("63 fe | 0d 00 00 | 0c 00 40 | 0c 00 c0 | 11 01 70"),
       Daily(Date(1999, 12, 31), 0, 13, 12.25f, 12.75f, 70000)},
      {7, "HB.hdf",
       Hex("06 | 39 39 31 32 33 31 | 84 00 00 00 00 20 | 84 00 00 00 00 30 | 84 00 00 00 00 18"
           "84 00 00 00 00 28 | 8a 00 00 00 00 7a | 00 00 00 00 00 00"),
       Daily(Date(1999, 12, 31), 10, 11, 9.5f, 10.5f, 1000)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fileName);
    dir.write(c.fileName, c.bytes + c.bytes);
    DatafileEntry entry;
    ASSERT_EQ(0, FindEntry("HB", entry, c.id, dir.path()));
    EXPECT_EQ(2, entry.recordCount);
    EXPECT_EQ(19991231, entry.firstDate.value());
    auto records = testing::ReadAll(dir.path(), c.id, entry);
    ASSERT_EQ(2u, records.size());
    EXPECT_EQ(c.expected.date.value(), records[1].date.value());
    EXPECT_EQ(c.expected.open, records[1].open);
    EXPECT_EQ(c.expected.high, records[1].high);
    EXPECT_EQ(c.expected.low, records[1].low);
    EXPECT_EQ(c.expected.close, records[1].close);
    EXPECT_EQ(c.expected.volume, records[1].volume);
  }
}

TEST_F(SymbolFileDriverTest, ScanListsTheFormatsFilesByName) {
  std::string kbf1 = Hex("80 18 | 0d 00 00 | 0c 00 40 | 0c 00 c0 | 11 01 70");  // 2000-01-03
  std::string kbf2 = Hex("80 20 | 0d 00 00 | 0c 00 40 | 0c 00 c0 | 11 01 70");  // 2000-01-04
  dir.write("B.kbf", kbf1 + kbf2);
  dir.write("a.KBF", kbf1);
  dir.write("D.kbf", kbf1 + kbf2.substr(0, 9));  // a part of a record at the end
  dir.write("E.kbf", "");
  dir.write("TOOLONGNAME.kbf", kbf1);  // no symbol can name it
  dir.write("C.kbt", kbf1);
  dir.write("F.kbf.bak", kbf1);
  ASSERT_EQ(0, ::mkdir(dir.file("G.kbf").c_str(), 0755));

  auto entries = testing::ScanAll(dir.path(), 6);
  struct Expected {
    const char* symbol;
    int count, first, last;
  } expected[] = {{"B", 2, 20000103, 20000104}, {"D", 1, 20000103, 20000103}, {"E", 0, 0, 0}, {"a", 1, 20000103, 20000103}};
  ASSERT_EQ(std::size(expected), entries.size());
  for (std::size_t i = 0; i < entries.size(); ++i) {
    SCOPED_TRACE(expected[i].symbol);
    EXPECT_EQ(expected[i].symbol, entries[i].symbol);
    EXPECT_EQ(expected[i].symbol, entries[i].name);
    EXPECT_EQ('D', entries[i].period);
    EXPECT_EQ(expected[i].count, entries[i].recordCount);
    EXPECT_EQ(expected[i].first, entries[i].firstDate.value());
    EXPECT_EQ(expected[i].last, entries[i].lastDate.value());
  }

  entries = testing::ScanAll(dir.path(), 6, kScanNoDataFiles);
  ASSERT_EQ(4u, entries.size());
  EXPECT_TRUE(entries[0].firstDate.isNull());
  EXPECT_EQ(20000104, entries[0].lastDate.value());

  struct Lookup {
    const char* symbol;
    int rc;
  } lookups[] = {{"B", 0}, {"a", 0}, {"A", 0}, {"b", 0}, {"TOOLONGN", -1}, {"C", -1}, {"G", -1}, {"", -1}};
  for (const Lookup& l : lookups) {
    DatafileEntry entry;
    EXPECT_EQ(l.rc, FindEntry(l.symbol, entry, 6, dir.path())) << l.symbol;
  }
}

TEST_F(SymbolFileDriverTest, AppendCountsTheWholeRecordsTheFileHolds) {
  std::string kbf1 = Hex("80 18 | 0d 00 00 | 0c 00 40 | 0c 00 c0 | 11 01 70");
  dir.write("P.kbf", kbf1 + "\x01\x02\x03");
  DatafileEntry entry;
  ASSERT_EQ(0, FindEntry("P", entry, 6, dir.path()));
  entry.recordCount = 40;  // what a stale data model may say
  ASSERT_EQ(0, testing::AppendRecords(dir.path(), 6, entry, {Daily(Date(2000, 1, 4), 0, 2, 1, 1.5f, 5)}));
  EXPECT_EQ(2, entry.recordCount);
  EXPECT_BYTES(kbf1 + Hex("80 20 | 02 00 00 | 01 00 00 | 01 00 80 | 00 00 05"), dir.read("P.kbf"));
}

TEST_F(SymbolFileDriverTest, UpdateAtEndRewritesTheLastRecord) {
  for (int id : {6, 22, 1, 7}) {
    SCOPED_TRACE(id);
    TempDir d;
    DatafileEntry entry;
    ASSERT_EQ(1, CreateEntry("U", "", 0, entry, id, d.path()));
    ASSERT_EQ(0, testing::AppendRecords(d.path(), id, entry,
                                        {Daily(Date(2000, 1, 3), 1, 1, 1, 1, 1), Daily(Date(2000, 1, 4), 2, 2, 2, 2, 2)}));
    DatafileEntry found;
    ASSERT_EQ(0, FindEntry("U", found, id, d.path()));
    DatafileHandle handle;
    ASSERT_EQ(0, OpenDatafile(found, handle, id, OpenMode::kUpdateAtEnd, d.path()));
    ASSERT_EQ(0, WriteRecord(found, handle, Daily(Date(2000, 1, 4), 3, 3, 3, 3, 3), id));
    ASSERT_EQ(0, FinalizeDirectory(found, handle, id, d.path()));
    ASSERT_EQ(0, FindEntry("U", found, id, d.path()));
    auto records = testing::ReadAll(d.path(), id, found);
    ASSERT_EQ(2u, records.size());
    EXPECT_EQ(1, records[0].close);
    EXPECT_EQ(3, records[1].close);
  }
}

TEST_F(SymbolFileDriverTest, Id1StopsAtTheCountItsHeaderCanHold) {
  DatafileEntry entry = Create("FULL", 1);
  DatafileHandle handle;
  ASSERT_EQ(0, OpenDatafile(entry, handle, 1, OpenMode::kAppend, dir.path()));
  entry.recordCount = 65534;
  EXPECT_EQ(0, WriteRecord(entry, handle, Daily(Date(2000, 1, 3), 1, 1, 1, 1, 1), 1));
  EXPECT_EQ(-1, WriteRecord(entry, handle, Daily(Date(2000, 1, 4), 1, 1, 1, 1, 1), 1));
  EXPECT_EQ(65535, entry.recordCount);
}

TEST_F(SymbolFileDriverTest, SymbolsThatLeadOutOfTheDirectoryNameNoFile) {
  DatafileEntry entry;
  SetEntrySymbol(entry, "../X");
  DatafileHandle handle;
  for (int id : {1, 6, 7, 22}) {
    EXPECT_EQ(-1, OpenDatafile(entry, handle, id, OpenMode::kCreate, dir.path())) << id;
    EXPECT_EQ(-1, FindEntry("../X", entry, id, dir.path())) << id;
  }
}

}  // namespace
}  // namespace kvqt
