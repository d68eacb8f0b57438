// What the Technical Investor and TopVest writers leave on disk, byte by
// byte, against the layouts of master.dat and the ring files.
#include "formats/ring_buffer_driver.h"

#include <gtest/gtest.h>

#include "app/datafile/writer_settings.h"
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
using testing::Padded;
using testing::TempDir;
using testing::ToHex;

#define EXPECT_BYTES(expected, actual) EXPECT_EQ(ToHex(expected), ToHex(actual))

constexpr const char* kNoValue = "28 6b ee 9e";  // MBF -1e9
constexpr const char* kHeader = "21 c6 01 01 00 00 00 00";

// A master.dat entry record from the layout table: the template's fixed parts
// in place, the numbers still to be set.
Bytes EntryRecord(const std::string& symbol, const std::string& name) {
  Bytes r(80);
  r.at(0, Padded(symbol, 8, ' '))
      .at(8, Padded(name, 20, ' '))
      .hex(40, kNoValue)
      .hex(44, kNoValue)
      .hex(63, kNoValue)
      .hex(67, kNoValue)
      .at(73, std::string(7, ' '));
  return r;
}

std::string Header() { return Bytes(80, ' ').hex(0, kHeader); }

class RingBufferWriteTest : public ::testing::Test {
 protected:
  void SetUp() override { saved_ = writerSettings(); }
  void TearDown() override { writerSettings() = saved_; }

  void UseTechnicalInvestor(int fileType, int ringSize) {
    writerSettings().technicalInvestorFileType = fileType;
    writerSettings().technicalInvestorMaxRecords = ringSize;
  }
  void UseTopVest(int fileType, int ringSize) {
    writerSettings().topVestFileType = fileType;
    writerSettings().topVestMaxRecords = ringSize;
  }

  DatafileEntry Create(const std::string& symbol, const std::string& name, int formatId) {
    DatafileEntry entry;
    EXPECT_EQ(1, CreateEntry(symbol, name, 0, entry, formatId, dir.path()));
    return entry;
  }

  TempDir dir;
  ScopedMessages messages;
  WriterSettings saved_;
};

TEST_F(RingBufferWriteTest, WideTypeMasterAndRingFile) {
  UseTechnicalInvestor(257, 4);
  DatafileEntry entry = Create("ABC", "Abc Corp", 0);
  ASSERT_EQ(0, testing::AppendRecords(dir.path(), 0, entry,
                                      {Daily(Date(2000, 1, 3), 10, 11, 9.5f, 10.5f, 1000),
                                       Daily(Date(2000, 1, 4), 10.5f, 12, 10, 11.5f, 2000)}));

  Bytes record = EntryRecord("ABC", "Abc Corp");
  record.hex(28, "01 01")   // file type 257
      .hex(30, "02 00")     // two records
      .hex(32, "04 00")     // ring size
      .hex(34, "e4 20")     // 2000-01-04, year 100 in 7 bits
      .at(36, "S")
      .hex(38, "01 00")     // ring start 0, stored + 1
      .hex(40, "00 00 38 84");  // 11.5 in MBF
  EXPECT_BYTES(Header() + record.str(), dir.read("master.dat"));

  // Type 257: date (day, month, year), high, low, close, volume.
  std::string ring = Bytes(4 * 20)
                         .hex(0, "03 01 d0 07 | 00 00 30 41 | 00 00 18 41 | 00 00 28 41 | 00 00 7a 44")
                         .hex(20, "04 01 d0 07 | 00 00 40 41 | 00 00 20 41 | 00 00 38 41 | 00 00 fa 44");
  EXPECT_BYTES(ring, dir.read("ABC.dS1"));
  EXPECT_TRUE(messages->shown().empty());
}

// An import holds master.dat open for a whole directory; finalize writes the
// entry through that handle, into the entry's own record.
TEST_F(RingBufferWriteTest, FinalizeWritesThroughAMasterHeldOpen) {
  UseTechnicalInvestor(257, 4);
  Create("XYZ", "Xyz Corp", 0);
  DatafileEntry entry = Create("ABC", "Abc Corp", 0);
  MasterHandles masters;
  ASSERT_EQ(0, OpenMaster(masters, 0, dir.path()));
  DatafileHandle handle;
  ASSERT_EQ(0, OpenDatafile(entry, handle, 0, OpenMode::kAppend, dir.path()));
  ASSERT_EQ(0, WriteRecord(entry, handle, Daily(Date(2000, 1, 3), 10, 11, 9.5f, 10.5f, 1000), 0, nullptr));
  ASSERT_EQ(0, WriteRecord(entry, handle, Daily(Date(2000, 1, 4), 10.5f, 12, 10, 11.5f, 2000), 0, nullptr));
  ASSERT_EQ(0, FinalizeDirectory(entry, handle, 0, dir.path(), nullptr, &masters));
  CloseMaster(masters);

  Bytes record = EntryRecord("ABC", "Abc Corp");
  record.hex(28, "01 01").hex(30, "02 00").hex(32, "04 00").hex(34, "e4 20").at(36, "S").hex(38, "01 00")
      .hex(40, "00 00 38 84");
  Bytes untouched = EntryRecord("XYZ", "Xyz Corp");
  untouched.hex(28, "01 01").hex(32, "04 00").at(36, "S").hex(38, "01 00");
  const std::string master = dir.read("master.dat");
  ASSERT_EQ(master.size(), 3 * 80u);
  EXPECT_BYTES(record.str(), master.substr(160));
  EXPECT_BYTES(untouched.str().substr(0, 30), master.substr(80, 30));
  EXPECT_TRUE(messages->shown().empty());
}

TEST_F(RingBufferWriteTest, ThreeByteTypeWithOpenAndClampedVolume) {
  UseTopVest(8, 2);
  DatafileEntry entry = Create("XY", "", 8);
  ASSERT_EQ(0, testing::AppendRecords(dir.path(), 8, entry,
                                      {Daily(Date(2000, 1, 3), 12.5f, 13, 12.25f, 12.75f, 70000),
                                       Daily(Date(1999, 12, 31), 1, 2, 0.5f, 1.5f, 8000000)}));
  // Type 8: packed date (two-digit year), high, low, close, volume, open.
  std::string ring = Bytes(2 * 17)
                         .hex(0, "80 18 | 0d 00 00 | 0c 00 40 | 0c 00 c0 | 11 01 70 | 0c 00 80")
                         .hex(17, "63 fe | 02 00 00 | 00 00 80 | 01 00 80 | cf 6a c0 | 01 00 00");
  EXPECT_BYTES(ring, dir.read("XY.dS8"));
  Bytes record = EntryRecord("XY", "");
  record.hex(28, "08 00").hex(30, "02 00").hex(32, "02 00").hex(34, "63 fe").at(36, "S").hex(38, "01 00");
  record.hex(40, "00 00 40 81");  // 1.5 in MBF
  EXPECT_BYTES(Header() + record.str(), dir.read("master.dat"));
}

TEST_F(RingBufferWriteTest, OpenInterestIsWrittenAsZero) {
  UseTechnicalInvestor(266, 1);
  DatafileEntry entry = Create("OI", "", 0);
  ASSERT_EQ(0, testing::AppendRecords(dir.path(), 0, entry, {Daily(Date(2000, 1, 3), 10, 11, 9.5f, 10.5f, 1000)}));
  // Type 266: date, high, low, close, volume, open, open interest.
  EXPECT_BYTES(Hex("03 01 d0 07 | 00 00 30 41 | 00 00 18 41 | 00 00 28 41 | 00 00 7a 44 | 00 00 20 41 | 00 00 00 00"),
               dir.read("OI.dS10"));
}

TEST_F(RingBufferWriteTest, RingOfThreeAfterFiveRecordsKeepsTheNewestThree) {
  UseTechnicalInvestor(6, 3);  // type 6: date and close, 5 bytes
  DatafileEntry entry = Create("R", "", 0);
  std::vector<PriceRecord> records;
  for (int day = 1; day <= 5; ++day) records.push_back(Daily(Date(2000, 1, day), 0, 0, 0, static_cast<float>(day), 0));
  ASSERT_EQ(0, testing::AppendRecords(dir.path(), 0, entry, records));
  EXPECT_EQ(3, entry.recordCount);
  EXPECT_EQ(2, entry.ringStart);

  // Slots: record 4, record 5, record 3.
  EXPECT_BYTES(Hex("80 20 04 00 00 | 80 28 05 00 00 | 80 18 03 00 00"), dir.read("R.dS6"));
  std::string master = dir.read("master.dat");
  ASSERT_EQ(160u, master.size());
  EXPECT_BYTES(Hex("03 00 03 00"), master.substr(80 + 30, 4));  // count 3, ring size 3
  EXPECT_BYTES(Hex("03 00"), master.substr(80 + 38, 2));        // ring start 2, stored + 1

  auto entries = testing::ScanAll(dir.path(), 0);
  ASSERT_EQ(1u, entries.size());
  EXPECT_EQ(20000103, entries[0].firstDate.value());
  EXPECT_EQ(20000105, entries[0].lastDate.value());
  auto back = testing::ReadAll(dir.path(), 0, entries[0]);
  ASSERT_EQ(3u, back.size());
  for (std::size_t i = 0; i < back.size(); ++i) {
    EXPECT_EQ(Date(2000, 1, static_cast<int>(i) + 3).value(), back[i].date.value());
    EXPECT_EQ(static_cast<float>(i + 3), back[i].close);
  }
}

TEST_F(RingBufferWriteTest, FirstDateFollowsTheOldestRecordLeft) {
  UseTechnicalInvestor(6, 2);
  DatafileEntry entry = Create("F", "", 0);
  ASSERT_EQ(0, testing::AppendRecords(dir.path(), 0, entry,
                                      {Daily(Date(2000, 1, 3), 0, 0, 0, 1, 0), Daily(Date(2000, 1, 4), 0, 0, 0, 2, 0),
                                       Daily(Date(2000, 1, 5), 0, 0, 0, 3, 0)}));
  EXPECT_EQ(20000104, entry.firstDate.value());
}

TEST_F(RingBufferWriteTest, AppendPositionsAfterTheNewestRecordOfTheRing) {
  UseTechnicalInvestor(6, 6);
  DatafileEntry entry = Create("P", "", 0);
  // Ring start 3, 5 records: the next record belongs in slot (3 + 5) mod 6 = 2.
  entry.ringStart = 3;
  entry.recordCount = 5;
  DatafileHandle handle;
  ASSERT_EQ(0, OpenDatafile(entry, handle, 0, OpenMode::kAppend, dir.path()));
  EXPECT_EQ(2 * 5, handle.binary.tell());
  ASSERT_EQ(0, WriteRecord(entry, handle, Daily(Date(2000, 1, 3), 0, 0, 0, 7, 0), 0));
  handle.close();
  EXPECT_BYTES(Hex("80 18 07 00 00"), dir.read("P.dS6").substr(10, 5));
  EXPECT_EQ(6, entry.recordCount);
}

TEST_F(RingBufferWriteTest, UpdateAtEndRewritesTheNewestRecord) {
  UseTechnicalInvestor(6, 2);
  DatafileEntry entry = Create("U", "", 0);
  ASSERT_EQ(0, testing::AppendRecords(dir.path(), 0, entry,
                                      {Daily(Date(2000, 1, 3), 0, 0, 0, 1, 0), Daily(Date(2000, 1, 4), 0, 0, 0, 2, 0),
                                       Daily(Date(2000, 1, 5), 0, 0, 0, 3, 0)}));
  DatafileHandle handle;
  ASSERT_EQ(0, OpenDatafile(entry, handle, 0, OpenMode::kUpdateAtEnd, dir.path()));
  ASSERT_EQ(0, WriteRecord(entry, handle, Daily(Date(2000, 1, 5), 0, 0, 0, 9, 0), 0));
  ASSERT_EQ(0, FinalizeDirectory(entry, handle, 0, dir.path()));
  auto entries = testing::ScanAll(dir.path(), 0);
  ASSERT_EQ(1u, entries.size());
  auto back = testing::ReadAll(dir.path(), 0, entries[0]);
  ASSERT_EQ(2u, back.size());
  EXPECT_EQ(2, back[0].close);
  EXPECT_EQ(9, back[1].close);
}

// Technical Investor names a file type whose low byte is 10 in decimal
// (".dS10"), TopVest in hexadecimal (".dSA"). A directory read as either
// format finds the file under either name, its own tried first.
TEST_F(RingBufferWriteTest, LowByteTenFilesAreFoundUnderEitherName) {
  struct Case {
    int writtenAs;
    int fileType;
    const char* fileName;
    int scannedAs;
  } cases[] = {
      {0, 10, "T10.dS10", 0}, {0, 266, "T10.dS10", 0}, {8, 10, "T10.dSA", 8},
      {8, 266, "T10.dSA", 0}, {0, 10, "T10.dS10", 8},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.fileName) + " read as " + std::to_string(c.scannedAs));
    TempDir d;
    UseTechnicalInvestor(c.fileType, 5);
    UseTopVest(c.fileType, 5);
    DatafileEntry entry;
    ASSERT_EQ(1, CreateEntry("T10", "Ten", 0, entry, c.writtenAs, d.path()));
    ASSERT_EQ(0, testing::AppendRecords(d.path(), c.writtenAs, entry,
                                        {Daily(Date(2000, 1, 3), 10, 11, 9, 10.5f, 100)}));
    ASSERT_TRUE(d.exists(c.fileName));

    auto entries = testing::ScanAll(d.path(), c.scannedAs);
    ASSERT_EQ(1u, entries.size());
    EXPECT_EQ("T10", entries[0].symbol);
    EXPECT_EQ(20000103, entries[0].firstDate.value());
    EXPECT_EQ(d.file(c.fileName), RingFilePath(entries[0], c.scannedAs, d.path()));
    auto back = testing::ReadAll(d.path(), c.scannedAs, entries[0]);
    ASSERT_EQ(1u, back.size());
    EXPECT_EQ(10.5f, back[0].close);

    // Writing on goes into the same file; no second file appears.
    DatafileEntry found;
    ASSERT_EQ(0, FindEntry("T10", found, c.scannedAs, d.path()));
    ASSERT_EQ(0, testing::AppendRecords(d.path(), c.scannedAs, found, {Daily(Date(2000, 1, 4), 0, 0, 0, 11, 0)}));
    EXPECT_EQ(2u, testing::ReadAll(d.path(), c.scannedAs, testing::ScanAll(d.path(), c.scannedAs)[0]).size());
    EXPECT_TRUE(d.exists(c.fileName));
    EXPECT_FALSE(d.exists(c.writtenAs == 0 ? "T10.dSA" : "T10.dS10"));
  }
}

TEST_F(RingBufferWriteTest, AddReusesTheSymbolsRecordThenAFreeOneThenAppends) {
  UseTechnicalInvestor(6, 3);
  Bytes abc = EntryRecord("ABC", "Old");
  abc.hex(28, "06 00 00 00 03 00").at(36, "S").hex(38, "01 00");
  Bytes free(80);  // first byte 0
  Bytes other = EntryRecord("OTHER", "");
  other.hex(28, "06 00 00 00 03 00").at(36, "S").hex(38, "01 00");
  dir.write("master.dat", Header() + abc.str() + free.str() + other.str());

  struct Case {
    const char* symbol;
    int offset;
    std::size_t size;  // of master.dat afterwards
  } cases[] = {
      {"ABC", 80, 320},   // its own record, although its data file is missing
      {"AB", 160, 320},   // a shorter symbol is another symbol: the free record
      {"ABCD", 320, 400},  // no free record left: appended
  };
  for (const Case& c : cases) {
    DatafileEntry entry;
    ASSERT_EQ(0, AddEntry(c.symbol, "New", 'D', entry, 0, dir.path())) << c.symbol;
    EXPECT_EQ(c.offset, entry.masterOffset) << c.symbol;
    std::string master = dir.read("master.dat");
    ASSERT_EQ(c.size, master.size()) << c.symbol;
    Bytes expected = EntryRecord(c.symbol, "New");
    expected.hex(28, "06 00 00 00 03 00").at(36, "S").hex(38, "01 00");
    EXPECT_BYTES(expected.str(), master.substr(static_cast<std::size_t>(c.offset), 80)) << c.symbol;
  }
  EXPECT_BYTES(other.str(), dir.read("master.dat").substr(240, 80));
}

TEST_F(RingBufferWriteTest, FileTypesTheFilesCannotHaveAreRefused) {
  for (int type : {0, 11, 256, 267}) {
    UseTechnicalInvestor(type, 10);
    DatafileEntry entry;
    EXPECT_EQ(-1, CreateEntry("BAD", "", 0, entry, 0, dir.path())) << type;
  }
  UseTechnicalInvestor(1, 0);  // no room for any record
  DatafileEntry entry;
  EXPECT_EQ(-1, CreateEntry("BAD", "", 0, entry, 0, dir.path()));
  EXPECT_FALSE(dir.exists("master.dat"));
}

}  // namespace
}  // namespace kvqt
