// Byte-exact checks of what the MetaStock writer leaves on disk, against the
// layouts of MASTER, EMASTER, XMASTER, the data files and the .DOP files.
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
using testing::Daily;
using testing::Hex;
using testing::Intraday;
using testing::Le16;
using testing::Le32;
using testing::Padded;
using testing::TempDir;
using testing::ToHex;

// MBF and IEEE forms of the numbers the fixtures use.
constexpr const char* kMbf1000103 = "70 2a 74 94";  // 2000-01-03 as CYYMMDD
constexpr const char* kMbf1000105 = "90 2a 74 94";  // 2000-01-05
constexpr const char* kIeee1000103 = "70 2a 74 49";
constexpr const char* kIeee1000105 = "90 2a 74 49";
constexpr const char* kIeee93000 = "00 a4 b5 47";  // 09:30:00
constexpr const char* kIeee93100 = "00 d6 b5 47";  // 09:31:00

const char* kDailyDop =
    "\"DATE\",0,0\r\n\"OPEN\",3,0\r\n\"HIGH\",3,0\r\n\"LOW\",3,0\r\n\"CLOSE\",3,0\r\n\"VOL\",0,0\r\n\"OI\",0,0\r\n";

#define EXPECT_BYTES(expected, actual) EXPECT_EQ(ToHex(expected), ToHex(actual))

class MetaStockWriteTest : public ::testing::Test {
 protected:
  TempDir dir;
  ScopedMessages messages;

  DatafileEntry Create(const std::string& symbol, const std::string& name, int formatId, Date first = Date(),
                       std::uint16_t interval = 0) {
    DatafileEntry entry;
    entry.firstDate = first;
    EXPECT_EQ(1, CreateEntry(symbol, name, interval, entry, formatId, dir.path()));
    return entry;
  }
};

TEST_F(MetaStockWriteTest, NewDirectoryWithOneDailyEntryAndThreeRecords) {
  DatafileEntry entry = Create("ABC", "Abc Corp", 4);
  ASSERT_EQ(0, testing::AppendRecords(dir.path(), 4, entry,
                                      {Daily(Date(2000, 1, 3), 10, 11, 9.5f, 10.5f, 1000),
                                       Daily(Date(2000, 1, 4), 10.5f, 12, 10, 11.5f, 2000),
                                       Daily(Date(2000, 1, 5), 11.5f, 12.5f, 11, 12, 1500)}));

  std::string master = Bytes(2 * 53)
                           .hex(0, "01 00 01 00")
                           .hex(53 + 0, "01 65 00 1c 07")
                           .at(53 + 7, Padded("Abc Corp", 16, ' '))
                           .hex(53 + 25, kMbf1000103)
                           .hex(53 + 29, kMbf1000105)
                           .at(53 + 33, "D")
                           .at(53 + 36, Padded("ABC", 16, ' '));
  EXPECT_BYTES(master, dir.read("MASTER"));

  std::string emaster = Bytes(2 * 192)
                            .hex(0, "01 00 01 00")
                            .at(192 + 0, "66")
                            .byte(192 + 2, 1)
                            .byte(192 + 6, 7)
                            .byte(192 + 7, 0x7f)
                            .byte(192 + 9, 0x20)
                            .at(192 + 11, "ABC")
                            .at(192 + 32, "Abc Corp")
                            .at(192 + 60, "D")
                            .hex(192 + 64, kIeee1000103)
                            .hex(192 + 72, kIeee1000105)
                            .at(192 + 126, Le32(20000103));
  EXPECT_BYTES(emaster, dir.read("EMASTER"));

  std::string data = Hex(
      "00 00 04 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"
      "70 2a 74 94 | 00 00 20 84 | 00 00 30 84 | 00 00 18 84 | 00 00 28 84 | 00 00 7a 8a | 00 00 00 00"
      "80 2a 74 94 | 00 00 28 84 | 00 00 40 84 | 00 00 20 84 | 00 00 38 84 | 00 00 7a 8b | 00 00 00 00"
      "90 2a 74 94 | 00 00 38 84 | 00 00 48 84 | 00 00 30 84 | 00 00 40 84 | 00 80 3b 8b | 00 00 00 00");
  EXPECT_BYTES(data, dir.read("f1.DAT"));
  EXPECT_EQ(kDailyDop, dir.read("f1.DOP"));
  EXPECT_TRUE(messages->shown().empty());
}

TEST_F(MetaStockWriteTest, IntradayEntryHasEightFieldsAndTimes) {
  DatafileEntry entry = Create("XYZ", "", 20, Date(), 5);
  ASSERT_EQ(8, entry.fields);
  ASSERT_EQ(0, testing::AppendRecords(dir.path(), 20, entry,
                                      {Intraday(Date(2000, 1, 3), Time(9, 30, 0), 10, 11, 9.5f, 10.5f, 1000),
                                       Intraday(Date(2000, 1, 3), Time(9, 31, 0), 10.5f, 12, 10, 11.5f, 2000)}));

  std::string master = Bytes(2 * 53)
                           .hex(0, "01 00 01 00")
                           .hex(53 + 0, "01 65 00 1c 08")  // byte 3 stays 28 with 8 fields
                           .at(53 + 7, Padded("XYZ", 16, ' '))  // no name: the symbol
                           .hex(53 + 25, kMbf1000103)
                           .hex(53 + 29, kMbf1000103)
                           .at(53 + 33, "I")
                           .byte(53 + 34, 5)
                           .at(53 + 36, Padded("XYZ", 16, ' '));
  EXPECT_BYTES(master, dir.read("MASTER"));

  std::string emaster = Bytes(2 * 192)
                            .hex(0, "01 00 01 00")
                            .at(192 + 0, "66")
                            .byte(192 + 2, 1)
                            .byte(192 + 6, 8)
                            .byte(192 + 7, 0x7f)
                            .byte(192 + 9, 0x20)
                            .at(192 + 11, "XYZ")
                            .at(192 + 32, "XYZ")
                            .at(192 + 60, "I")
                            .byte(192 + 62, 5)
                            .hex(192 + 64, kIeee1000103)
                            .hex(192 + 68, kIeee93000)
                            .hex(192 + 72, kIeee1000103)
                            .hex(192 + 76, kIeee93100)
                            .at(192 + 126, Le32(20000103));
  EXPECT_BYTES(emaster, dir.read("EMASTER"));

  std::string data = Hex(
      "00 00 03 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"
      "70 2a 74 94 | 00 a4 35 91 | 00 00 20 84 | 00 00 30 84 | 00 00 18 84 | 00 00 28 84 | 00 00 7a 8a | 00 00 00 00"
      "70 2a 74 94 | 00 d6 35 91 | 00 00 28 84 | 00 00 40 84 | 00 00 20 84 | 00 00 38 84 | 00 00 7a 8b | 00 00 00 00");
  EXPECT_BYTES(data, dir.read("f1.DAT"));
  EXPECT_EQ(
      "\"DATE\",0,0\r\n\"TIME\",0,0\r\n\"OPEN\",3,0\r\n\"HIGH\",3,0\r\n\"LOW\",3,0\r\n\"CLOSE\",3,0\r\n"
      "\"VOL\",0,0\r\n\"OI\",0,0\r\n",
      dir.read("f1.DOP"));
}

TEST_F(MetaStockWriteTest, The256thEntryCreatesXmasterWithoutFieldFile) {
  for (int i = 1; i <= 255; ++i) Create("S" + std::to_string(i), "", 4);
  EXPECT_TRUE(dir.exists("f255.DAT"));
  EXPECT_TRUE(dir.exists("f255.DOP"));
  EXPECT_FALSE(dir.exists("XMASTER"));

  DatafileEntry entry = Create("BIG", "A name of more than sixteen", 4, Date(2000, 1, 3));
  EXPECT_EQ(256, entry.fileNumber);

  std::string xmaster = Bytes(2 * 150)
                            .hex(0, "5d fe 58 4d 8b 02")
                            .at(10, Le16(1))
                            .at(14, Le16(1))
                            .byte(150 + 0, 1)
                            .at(150 + 1, "BIG")
                            .byte(150 + 9, 0x20)
                            .at(150 + 16, "A name of more than sixteen")
                            .at(150 + 62, "D")
                            .at(150 + 65, Le16(256))
                            .byte(150 + 70, 0x7f)
                            .hex(150 + 80, "a8 55 31 01 a8 55 41 00")
                            .at(150 + 104, Le32(20000103))
                            .at(150 + 108, Le32(20000103))
                            .at(150 + 116, Le32(20000102));  // empty: the day before the first
  EXPECT_BYTES(xmaster, dir.read("XMASTER"));
  EXPECT_BYTES(Bytes(28).hex(0, "00 00 01 00").str(), dir.read("f256.MWD"));
  EXPECT_FALSE(dir.exists("f256.DOP"));
  // MASTER keeps 255 entries, EMASTER its 255 records.
  EXPECT_BYTES(Hex("ff 00 ff 00"), dir.read("MASTER").substr(0, 4));
  EXPECT_EQ(256u * 53, dir.read("MASTER").size());
  EXPECT_EQ(256u * 192, dir.read("EMASTER").size());

  // The next one gets 257 and the XMASTER header follows.
  DatafileEntry next = Create("BIG2", "", 4);
  EXPECT_EQ(257, next.fileNumber);
  EXPECT_BYTES(Le16(2), dir.read("XMASTER").substr(10, 2));
  EXPECT_BYTES(Le16(2), dir.read("XMASTER").substr(14, 2));
  EXPECT_TRUE(dir.exists("f257.MWD"));
}

TEST_F(MetaStockWriteTest, DeletedNumberIsGivenOutAgain) {
  for (int i = 1; i <= 5; ++i) Create("A" + std::to_string(i), "", 4);
  std::string before = dir.read("MASTER");
  std::string ebefore = dir.read("EMASTER");

  DatafileEntry deleted;
  ASSERT_EQ(0, DeleteEntry("A3", deleted, 4, dir.path()));
  EXPECT_EQ(3, deleted.fileNumber);
  EXPECT_FALSE(dir.exists("f3.DAT"));
  EXPECT_FALSE(dir.exists("f3.DOP"));
  EXPECT_FALSE(dir.exists("MASTER.tmp"));
  EXPECT_FALSE(dir.exists("EMASTER.tmp"));

  // Count 4, highest number still 5, record 3 gone and the rest moved up.
  std::string master = dir.read("MASTER");
  EXPECT_BYTES(Hex("04 00 05 00"), master.substr(0, 4));
  EXPECT_BYTES(before.substr(4, 49) + before.substr(53, 2 * 53) + before.substr(4 * 53, 2 * 53), master.substr(4));
  std::string emaster = dir.read("EMASTER");
  EXPECT_BYTES(Hex("04 00 05 00"), emaster.substr(0, 4));
  EXPECT_BYTES(ebefore.substr(4, 188) + ebefore.substr(192, 2 * 192) + ebefore.substr(4 * 192, 2 * 192),
               emaster.substr(4));

  DatafileEntry added = Create("B6", "", 4);
  EXPECT_EQ(3, added.fileNumber);
  EXPECT_EQ(5 * 53, added.masterOffset);
  master = dir.read("MASTER");
  EXPECT_BYTES(Hex("05 00 05 00"), master.substr(0, 4));
  EXPECT_EQ(3, master[5 * 53]);
  EXPECT_BYTES(Hex("05 00 05 00"), dir.read("EMASTER").substr(0, 4));
  EXPECT_TRUE(dir.exists("f3.DAT"));
  EXPECT_TRUE(dir.exists("f3.DOP"));
}

TEST_F(MetaStockWriteTest, NumbersAfterTheHighestWhenThereIsNoGap) {
  for (int i = 1; i <= 3; ++i) Create("A" + std::to_string(i), "", 4);
  DatafileEntry deleted;
  ASSERT_EQ(0, DeleteEntry("A3", deleted, 4, dir.path()));
  EXPECT_BYTES(Hex("02 00 03 00"), dir.read("MASTER").substr(0, 4));
  // Number 3 is free again and the highest in use becomes 3 once more.
  EXPECT_EQ(3, Create("A4", "", 4).fileNumber);
  EXPECT_BYTES(Hex("03 00 03 00"), dir.read("MASTER").substr(0, 4));
  EXPECT_EQ(4, Create("A5", "", 4).fileNumber);
  EXPECT_BYTES(Hex("04 00 04 00"), dir.read("MASTER").substr(0, 4));
}

TEST_F(MetaStockWriteTest, RenameRewritesSymbolAndNamesInBothMasters) {
  Create("OLD", "Old Name", 4);
  ASSERT_EQ(0, RenameEntry("OLD", "NEW", "New Name Longer Than Sixteen", 4, dir.path()));
  std::string master = dir.read("MASTER");
  EXPECT_EQ("New Name Longer ", master.substr(53 + 7, 16));
  EXPECT_EQ(Padded("NEW", 16, ' '), master.substr(53 + 36, 16));
  std::string emaster = dir.read("EMASTER");
  EXPECT_BYTES(Padded("NEW", 8), emaster.substr(192 + 11, 8));
  EXPECT_EQ("New Name Longer ", emaster.substr(192 + 32, 16));
  EXPECT_BYTES(Padded("New Name Longer Than Sixteen", 45), emaster.substr(192 + 139, 45));

  // Without a name only the symbol changes; a short name clears the long one.
  ASSERT_EQ(0, RenameEntry("NEW", "NEWER", "", 4, dir.path()));
  EXPECT_EQ("New Name Longer ", dir.read("MASTER").substr(53 + 7, 16));
  ASSERT_EQ(0, RenameEntry("NEWER", "NEWER", "Short", 4, dir.path()));
  emaster = dir.read("EMASTER");
  EXPECT_BYTES(Padded("Short", 16), emaster.substr(192 + 32, 16));
  EXPECT_BYTES(std::string(45, '\0'), emaster.substr(192 + 139, 45));

  DatafileEntry found;
  ASSERT_EQ(0, FindEntry("NEWER", found, 4, dir.path()));
  EXPECT_EQ("Short", found.name);
  EXPECT_EQ(1, found.fileNumber);
  EXPECT_TRUE(dir.exists("f1.DAT"));  // data files keep their numbers
}

TEST_F(MetaStockWriteTest, RenameWithoutEmasterTouchesOnlyMaster) {
  Create("OLD", "Old Name", 4);
  std::remove(dir.file("EMASTER").c_str());
  ASSERT_EQ(0, RenameEntry("OLD", "NEW", "New", 4, dir.path()));
  std::string master = dir.read("MASTER");
  EXPECT_EQ(Padded("New", 16, ' '), master.substr(53 + 7, 16));
  EXPECT_EQ(Padded("NEW", 16, ' '), master.substr(53 + 36, 16));
  EXPECT_FALSE(dir.exists("EMASTER"));

  EXPECT_EQ(-1, RenameEntry("MISSING", "X", "", 4, dir.path()));
  ASSERT_EQ(1u, messages->shown().size());
  EXPECT_EQ("Ticker not found MISSING", messages->shown()[0].text);
}

TEST_F(MetaStockWriteTest, RenameOfXmasterEntry) {
  for (int i = 1; i <= 256; ++i) Create("S" + std::to_string(i), "Name", 4);
  ASSERT_EQ(0, RenameEntry("S256", "T256", "", 4, dir.path()));
  std::string record = dir.read("XMASTER").substr(150, 150);
  EXPECT_BYTES(Padded("T256", 8), record.substr(1, 8));
  EXPECT_BYTES(std::string(45, '\0'), record.substr(16, 45));  // no name given: zeros
}

TEST_F(MetaStockWriteTest, LongNameGoesToEmasterLongNameField) {
  const std::string name = "International Business Machines Corporation Ltd";  // 47 characters
  Create("IBM", name, 4);
  std::string master = dir.read("MASTER");
  EXPECT_EQ("International Bu", master.substr(53 + 7, 16));
  std::string emaster = dir.read("EMASTER");
  EXPECT_EQ("International Bu", emaster.substr(192 + 32, 16));
  EXPECT_EQ(name.substr(0, 45), emaster.substr(192 + 139, 45));

  DatafileEntry found;
  ASSERT_EQ(0, FindEntry("IBM", found, 4, dir.path()));
  EXPECT_EQ(name.substr(0, 45), found.name);
}

TEST_F(MetaStockWriteTest, SetNameRewritesNamesOnlyForDailyFormat) {
  Create("ABC", "Old", 4);
  ASSERT_EQ(0, SetEntryNameInMaster("ABC", "A Much Longer Instrument Name", 4, dir.path()));
  EXPECT_EQ("A Much Longer In", dir.read("MASTER").substr(53 + 7, 16));
  EXPECT_EQ(Padded("A Much Longer Instrument Name", 45), dir.read("EMASTER").substr(192 + 139, 45));
  EXPECT_EQ(-1, SetEntryNameInMaster("ABC", "X", 20, dir.path()));
  EXPECT_EQ(-1, SetEntryNameInMaster("NONE", "X", 4, dir.path()));
  EXPECT_TRUE(messages->shown().empty());
}

// Creating a data file over an existing one: whatever the old file held is
// gone, a record limit in its header stays.
TEST_F(MetaStockWriteTest, CreatingOverAnExistingDataFileLeavesTheHeaderAlone) {
  struct Case {
    const char* name;
    std::string old;
    const char* limit;  // bytes 0-1 of the new header
  } cases[] = {
      {"shorter than a record limit", "z", "00 00"},
      {"a header with a limit and stray bytes", Hex("e8 03 05 00") + std::string(24, 'x'), "e8 03"},
      {"a header and two records", Hex("00 00 03 00") + std::string(80, 'r'), "00 00"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir here;
    DatafileEntry entry;
    ASSERT_EQ(1, CreateEntry("ABC", "Abc", 0, entry, 4, here.path()));
    here.write("f1.DAT", c.old);
    entry.ringSize = 0;
    DatafileHandle handle;
    ASSERT_EQ(0, OpenDatafile(entry, handle, 4, OpenMode::kCreate, here.path()));
    ASSERT_EQ(0, WriteRecord(entry, handle, Daily(Date(2000, 1, 3), 1, 2, 1, 10.0625f, 5), 4, nullptr));
    ASSERT_EQ(0, FinalizeDirectory(entry, handle, 4, here.path()));
    const std::string file = here.read("f1.DAT");
    ASSERT_EQ(file.size(), 56u);
    EXPECT_BYTES(Hex(c.limit) + Hex("02 00") + std::string(24, '\0'), file.substr(0, 28));
    EXPECT_BYTES(Hex(kMbf1000103), file.substr(28, 4));
    EXPECT_BYTES(Hex("00 00 21 84"), file.substr(28 + 16, 4));  // the close, 10.0625
  }
}

}  // namespace
}  // namespace kvqt
