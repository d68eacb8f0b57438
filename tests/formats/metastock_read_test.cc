// Reading a MetaStock directory written by another program: the files are
// built here byte by byte from the layouts, with the spellings and the record
// sizes such a directory may have.
#include <gtest/gtest.h>

#include "app/core/messages.h"
#include "byte_builder.h"
#include "format_test_util.h"
#include "formats/format_driver.h"
#include "support/hex.h"
#include "support/temp_dir.h"

namespace kvqt {
namespace {

using testing::Bytes;
using testing::Hex;
using testing::Le16;
using testing::Le32;
using testing::Padded;
using testing::TempDir;

class ForeignMetaStockTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // MASTER under another spelling; the unused template bytes differ from ours.
    dir.write("Master", Bytes(4 * 53)
                            .hex(0, "03 00 03 00")
                            // 1: AAA, daily, 5 fields
                            .hex(53 + 0, "01 00 00 14 05")
                            .at(53 + 7, Padded("Alpha Inc", 16, ' '))
                            .hex(53 + 25, "70 2a 74 94")
                            .hex(53 + 29, "80 2a 74 94")
                            .at(53 + 33, "D")
                            .at(53 + 36, Padded("AAA", 16, ' '))
                            // 2: BBB, intraday 5 minutes, 6 fields
                            .hex(106 + 0, "02 00 00 14 06")
                            .at(106 + 7, Padded("Beta", 16, ' '))
                            .hex(106 + 25, "70 2a 74 94")
                            .hex(106 + 29, "70 2a 74 94")
                            .at(106 + 33, "I")
                            .byte(106 + 34, 5)
                            .at(106 + 36, Padded("BBB", 16, ' '))
                            // 3: CCC, weekly, 6 fields
                            .hex(159 + 0, "03 00 00 14 06")
                            .at(159 + 7, Padded("Gamma", 16, ' '))
                            .hex(159 + 25, "70 2a 74 94")
                            .hex(159 + 29, "70 2a 74 94")
                            .at(159 + 33, "W")
                            .at(159 + 36, Padded("CCC", 16, ' ')));
    dir.write("EMASTER", Bytes(4 * 192)
                             .hex(0, "03 00 03 00")
                             .at(192 + 139, "Alpha Incorporated International Holdings")
                             .hex(384 + 68, "00 a4 b5 47")   // 09:30:00
                             .hex(384 + 76, "00 d6 b5 47")   // 09:31:00
                             .hex(384 + 80, "00 c8 af 47")   // 09:00:00
                             .hex(384 + 84, "00 f2 28 48"));  // 17:30:00
    dir.write("XMASTER", Bytes(2 * 150)
                             .hex(0, "5d fe 58 4d 8b 02")
                             .at(10, Le16(1))
                             .at(14, Le16(1))
                             .at(150 + 1, "XXX")
                             .at(150 + 16, "Xray Long Name")
                             .at(150 + 62, "D")
                             .at(150 + 65, Le16(256))
                             .byte(150 + 70, 127)
                             .at(150 + 104, Le32(20000103))
                             .at(150 + 108, Le32(20000103))
                             .at(150 + 116, Le32(20000104)));
    // Data files under the spellings other systems use; F1 holds a record limit.
    dir.write("F1.DAT", Hex("f4 01 03 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"
                            "70 2a 74 94 | 00 00 30 84 | 00 00 18 84 | 00 00 28 84 | 00 00 7a 8a"
                            "80 2a 74 94 | 00 00 40 84 | 00 00 20 84 | 00 00 38 84 | 00 00 7a 8b"));
    dir.write("f2.dat", Hex("00 00 02 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"
                            "70 2a 74 94 | 00 a4 35 91 | 00 00 30 84 | 00 00 18 84 | 00 00 28 84 | 00 00 7a 8a"));
    dir.write("F3.DAT", Hex("00 00 02 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"
                            "70 2a 74 94 | 00 00 20 84 | 00 00 30 84 | 00 00 18 84 | 00 00 28 84 | 00 00 7a 8a"));
    dir.write("F256.MWD", Hex("00 00 02 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"
                              "80 2a 74 94 | 00 00 20 82 | 00 00 40 82 | 00 00 20 82 | 00 00 40 82 | 00 00 48 87 |"
                              "00 00 00 00"));
  }

  TempDir dir;
  ScopedMessages messages;
};

TEST_F(ForeignMetaStockTest, DailyScanSkipsIntradayEntriesAndReadsHeaders) {
  auto entries = testing::ScanAll(dir.path(), 4, kScanReadHeader);
  ASSERT_EQ(3u, entries.size());

  EXPECT_EQ("AAA", entries[0].symbol);
  EXPECT_EQ("Alpha Incorporated International Holdings", entries[0].name);  // the long name wins
  EXPECT_EQ('D', entries[0].period);
  EXPECT_EQ(5, entries[0].fields);
  EXPECT_EQ(1, entries[0].fileNumber);
  EXPECT_EQ(Date(2000, 1, 3), entries[0].firstDate);
  EXPECT_EQ(20000104, entries[0].lastDate.value());
  EXPECT_EQ(500, entries[0].ringSize);
  EXPECT_EQ(3, entries[0].recordCount);
  EXPECT_EQ(53, entries[0].masterOffset);

  EXPECT_EQ("CCC", entries[1].symbol);
  EXPECT_EQ("Gamma", entries[1].name);
  EXPECT_EQ('W', entries[1].period);

  EXPECT_EQ("XXX", entries[2].symbol);
  EXPECT_EQ("Xray Long Name", entries[2].name);
  EXPECT_EQ(256, entries[2].fileNumber);
  EXPECT_EQ(7, entries[2].fields);
  EXPECT_EQ(20000103, entries[2].firstDate.value());
  EXPECT_EQ(20000104, entries[2].lastDate.value());
  EXPECT_EQ(4 * 53, entries[2].masterOffset);  // past MASTER's records: an XMASTER entry
  EXPECT_EQ(150, entries[2].extendedOffset);
  EXPECT_EQ(2, entries[2].recordCount);
  EXPECT_TRUE(messages->shown().empty());
}

TEST_F(ForeignMetaStockTest, IntradayScanFindsOnlyTheIntradayEntry) {
  auto entries = testing::ScanAll(dir.path(), 20);
  ASSERT_EQ(1u, entries.size());
  const DatafileEntry& e = entries[0];
  EXPECT_EQ("BBB", e.symbol);
  EXPECT_EQ(5, e.interval);
  EXPECT_EQ(93000, e.firstTime.value());
  EXPECT_EQ(93100, e.lastTime.value());
  EXPECT_EQ(90000, e.dayStartTime.value());
  EXPECT_EQ(173000, e.dayEndTime.value());
  EXPECT_EQ(-1, e.recordCount);  // not counted without the header
}

TEST_F(ForeignMetaStockTest, RecordsOfEveryFieldCountReadBack) {
  struct Case {
    const char* symbol;
    int formatId;
    PriceRecord first;
    std::size_t count;
  } cases[] = {
      {"AAA", 4, testing::Daily(Date(2000, 1, 3), 0, 11, 9.5f, 10.5f, 1000), 2},  // no open column
      {"BBB", 20, testing::Intraday(Date(2000, 1, 3), Time(9, 30, 0), 0, 11, 9.5f, 10.5f, 1000), 1},
      {"CCC", 4, testing::Daily(Date(2000, 1, 3), 10, 11, 9.5f, 10.5f, 1000), 1},
      {"XXX", 4, testing::Daily(Date(2000, 1, 4), 2.5f, 3, 2.5f, 3, 100), 1},  // open interest ignored
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.symbol);
    DatafileEntry entry;
    ASSERT_EQ(0, FindEntry(c.symbol, entry, c.formatId, dir.path()));
    auto records = testing::ReadAll(dir.path(), c.formatId, entry);
    ASSERT_EQ(c.count, records.size());
    const PriceRecord& r = records[0];
    EXPECT_EQ(c.first.date.value(), r.date.value());
    EXPECT_EQ(c.first.time.value(), r.time.value());
    EXPECT_EQ(c.first.open, r.open);
    EXPECT_EQ(c.first.high, r.high);
    EXPECT_EQ(c.first.low, r.low);
    EXPECT_EQ(c.first.close, r.close);
    EXPECT_EQ(c.first.volume, r.volume);
  }
}

TEST_F(ForeignMetaStockTest, AppendKeepsTheRecordLimitAndUsesTheHeaderCount) {
  DatafileEntry entry;
  ASSERT_EQ(0, FindEntry("AAA", entry, 4, dir.path()));
  ASSERT_EQ(0, testing::AppendRecords(dir.path(), 4, entry, {testing::Daily(Date(2000, 1, 5), 0, 12.5f, 11, 12, 1500)}));
  std::string data = dir.read("F1.DAT");
  ASSERT_EQ(4u * 20, data.size());
  EXPECT_EQ(Hex("f4 01 04 00"), data.substr(0, 4));  // limit 500 kept, count 4
  EXPECT_EQ(Hex("90 2a 74 94 00 00 48 84 00 00 30 84 00 00 40 84 00 80 3b 8b"), data.substr(60));
  EXPECT_FALSE(dir.exists("f1.DAT"));  // the existing file was used, not a new spelling
  EXPECT_EQ(500, MaxRecords(4, entry));

  // The master record got the new last date; EMASTER its IEEE form.
  EXPECT_EQ(Hex("90 2a 74 94"), dir.read("Master").substr(53 + 29, 4));
  EXPECT_EQ(Hex("90 2a 74 49"), dir.read("EMASTER").substr(192 + 72, 4));
}

TEST_F(ForeignMetaStockTest, DetectFormatFromFirstEntry) {
  struct Case {
    int wanted;
    bool fits;
  } cases[] = {{4, true}, {3, true}, {20, false}, {5, false}};
  for (const Case& c : cases) {
    DetectResult r = DetectFormat(dir.path(), c.wanted);
    EXPECT_EQ(4, r.found) << c.wanted;
    EXPECT_EQ(c.fits, r.fits) << c.wanted;
  }
}

TEST_F(ForeignMetaStockTest, ContinuedLookupsFindSymbolsInAnyOrder) {
  MasterHandles masters;
  ASSERT_EQ(0, OpenMaster(masters, 4, dir.path()));
  DatafileEntry entry;
  for (const char* symbol : {"CCC", "XXX", "AAA", "CCC", "NONE", "AAA"}) {
    bool expected = std::string(symbol) != "NONE";
    EXPECT_EQ(expected ? 0 : -1,
              ScanEntries(masters, 4, entry, symbol, kScanMatch | kScanContinue, dir.path()))
        << symbol;
    if (expected) {
      EXPECT_EQ(symbol, entry.symbol);
    }
  }
  CloseMaster(masters);
}

}  // namespace
}  // namespace kvqt
