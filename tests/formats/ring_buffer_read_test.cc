// Reading a Technical Investor / TopVest directory written by hand from the
// layouts of master.dat and the ring files.
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
using testing::Padded;
using testing::TempDir;

constexpr const char* kNoValue = "28 6b ee 9e";

std::string Header() { return Bytes(80, ' ').hex(0, "21 c6 01 01 00 00 00 00"); }

// An entry record: symbol, name, then "type count ring-size last-date" and
// "ring-start+1 last-close" as hex, and the file letter.
std::string Record(const std::string& symbol, const std::string& name, const char* numbers, char letter,
                   const char* startAndClose) {
  Bytes r(80);
  r.at(0, Padded(symbol, 8, ' '))
      .at(8, Padded(name, 20, ' '))
      .hex(28, numbers)
      .byte(36, letter)
      .hex(38, startAndClose)
      .hex(44, kNoValue)
      .hex(63, kNoValue)
      .hex(67, kNoValue)
      .at(73, std::string(7, ' '));
  return r;
}

class RingBufferReadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string master = Header();
    // Type 264, 3 records in a ring of 3 starting at slot 1, last date 2000-01-05, close 12.
    master += Record("WIDE", "Wide Corp", "08 01 03 00 03 00 e4 28", 'S', "02 00 | 00 00 40 84");
    master += std::string(80, '\0');  // free
    master += Record("BADTYPE", "", "0b 00 01 00 05 00 e4 18", 'S', "01 00 | 00 00 00 00");
    master += Record("NORING", "", "01 00 00 00 00 00 e4 18", 'S', "01 00 | 00 00 00 00");
    master += Record("NOFILE", "", "01 00 01 00 05 00 e4 18", 'S', "01 00 | 00 00 00 00");
    // Type 5, file letter X, a stored ring start of 0, control characters after the name.
    master += Record("CLOSE", "Close Only\x01\x02", "05 00 01 00 02 00 e4 18", 'X', "00 00 | 00 00 4c 84");
    dir.write("master.dat", master);

    // Type 264: date, high, low, close, volume, open. Slot 0 holds the newest record.
    dir.write("WIDE.dS8", Hex("05 01 d0 07 | 00 00 00 00 | 00 00 00 00 | 00 00 40 41 | 00 00 00 00 | 00 00 48 41"
                              "03 01 d0 07 | 00 00 30 41 | 00 00 18 41 | 00 00 28 41 | 00 00 7a 44 | 00 00 20 41"
                              "04 01 d0 07 | 00 00 40 41 | 00 00 20 41 | 00 00 38 41 | 00 00 fa 44 | 00 00 00 00"));
    // Type 5: packed date, close, volume (three-byte forms).
    dir.write("CLOSE.dX5", Hex("80 18 | 0c 00 c0 | 11 01 70") + std::string(8, '\0'));
    dir.write("BADTYPE.dS11", std::string(10, '\0'));
    dir.write("NORING.dS1", std::string(14, '\0'));
  }

  TempDir dir;
  ScopedMessages messages;
};

TEST_F(RingBufferReadTest, ScanSkipsFreeRecordsUnsupportedTypesEmptyRingsAndMissingFiles) {
  for (int id : {0, 8}) {
    auto entries = testing::ScanAll(dir.path(), id);
    ASSERT_EQ(2u, entries.size()) << id;
    const DatafileEntry& wide = entries[0];
    EXPECT_EQ("WIDE", wide.symbol);
    EXPECT_EQ("Wide Corp", wide.name);
    EXPECT_EQ(264, wide.fields);
    EXPECT_EQ(3, wide.recordCount);
    EXPECT_EQ(3, wide.ringSize);
    EXPECT_EQ(1, wide.ringStart);
    EXPECT_EQ('S', wide.fileLetter);
    EXPECT_EQ(20000103, wide.firstDate.value());  // the record at slot ring start
    EXPECT_EQ(20000105, wide.lastDate.value());   // from master.dat
    EXPECT_EQ(12.0f, wide.lastClose);
    EXPECT_EQ(80, wide.masterOffset);

    const DatafileEntry& close = entries[1];
    EXPECT_EQ("CLOSE", close.symbol);
    EXPECT_EQ("Close Only", close.name);
    EXPECT_EQ(0, close.ringStart);
    EXPECT_EQ('X', close.fileLetter);
    EXPECT_EQ(20000103, close.firstDate.value());
    EXPECT_EQ(12.75f, close.lastClose);
    EXPECT_EQ(480, close.masterOffset);
  }
  EXPECT_TRUE(messages->shown().empty());
}

TEST_F(RingBufferReadTest, WithoutDataFilesTheMasterAloneDecides) {
  auto entries = testing::ScanAll(dir.path(), 0, kScanNoDataFiles);
  ASSERT_EQ(3u, entries.size());
  EXPECT_EQ("WIDE", entries[0].symbol);
  EXPECT_EQ("NOFILE", entries[1].symbol);
  EXPECT_EQ("CLOSE", entries[2].symbol);
  EXPECT_TRUE(entries[0].firstDate.isNull());
  EXPECT_EQ(20000105, entries[0].lastDate.value());
  EXPECT_EQ(3, entries[0].recordCount);
}

TEST_F(RingBufferReadTest, RecordsComeOldestFirstWithMissingPricesTakenFromTheClose) {
  DatafileEntry wide;
  ASSERT_EQ(0, FindEntry("WIDE", wide, 8, dir.path()));
  auto records = testing::ReadAll(dir.path(), 8, wide);
  ASSERT_EQ(3u, records.size());
  struct Expected {
    int date;
    float open, high, low, close, volume;
  } expected[] = {
      {20000103, 10, 11, 9.5f, 10.5f, 1000},
      {20000104, 11.5f, 12, 10, 11.5f, 2000},   // no open
      {20000105, 12.5f, 12, 12, 12, 0},          // no high, no low
  };
  for (std::size_t i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(expected[i].date, records[i].date.value());
    EXPECT_TRUE(records[i].time.isNull());
    EXPECT_EQ(expected[i].open, records[i].open);
    EXPECT_EQ(expected[i].high, records[i].high);
    EXPECT_EQ(expected[i].low, records[i].low);
    EXPECT_EQ(expected[i].close, records[i].close);
    EXPECT_EQ(expected[i].volume, records[i].volume);
  }

  DatafileEntry close;
  ASSERT_EQ(0, FindEntry("CLOSE", close, 0, dir.path()));
  records = testing::ReadAll(dir.path(), 0, close);
  ASSERT_EQ(1u, records.size());
  EXPECT_EQ(12.75f, records[0].open);
  EXPECT_EQ(12.75f, records[0].high);
  EXPECT_EQ(12.75f, records[0].low);
  EXPECT_EQ(12.75f, records[0].close);
  EXPECT_EQ(70000.0f, records[0].volume);
}

TEST_F(RingBufferReadTest, LookupsFindOnlyReadableEntries) {
  struct Case {
    const char* symbol;
    int rc;
  } cases[] = {{"WIDE", 0}, {"CLOSE", 0}, {"NOFILE", -1}, {"BADTYPE", -1}, {"NORING", -1}, {"WID", -1}};
  for (const Case& c : cases) {
    DatafileEntry entry;
    EXPECT_EQ(c.rc, FindEntry(c.symbol, entry, 0, dir.path())) << c.symbol;
  }
}

TEST_F(RingBufferReadTest, PositionAtRecordCountsFromTheOldest) {
  DatafileEntry wide;
  ASSERT_EQ(0, FindEntry("WIDE", wide, 8, dir.path()));
  DatafileHandle handle;
  ASSERT_EQ(0, OpenDatafile(wide, handle, 8, OpenMode::kRead, dir.path()));
  ASSERT_EQ(0, PositionAtRecord(wide, handle, 8, 2));
  PriceRecord r;
  ASSERT_EQ(0, ReadRecord(wide, handle, r, 8));
  EXPECT_EQ(20000105, r.date.value());
  EXPECT_EQ(-1, ReadRecord(wide, handle, r, 8));
}

}  // namespace
}  // namespace kvqt
