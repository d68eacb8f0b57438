// master.kvq and the ".prn" files through the operations keyed by format id,
// against bytes written out from the layout tables.
#include <gtest/gtest.h>

#include <cstring>

#include "app/core/messages.h"
#include "format_test_util.h"
#include "formats/ascii_index.h"
#include "formats/format_driver.h"
#include "support/hex.h"
#include "support/temp_dir.h"

namespace kvqt {
namespace {

using testing::Daily;
using testing::Hex;
using testing::Le16;
using testing::Le32;
using testing::Padded;
using testing::TempDir;
using testing::ToHex;

std::string Header(int formatId, int count) {
  return Hex("14 14 14 14") + Padded("", 26) + std::string(1, static_cast<char>(formatId)) + Padded("", 18) +
         Le16(count) + Padded("", 40);
}

std::string Record(const std::string& symbol, const std::string& name, char period, int interval, long first,
                   long firstTime, long last, long lastTime, long count) {
  return Padded(symbol, 9) + Padded(name, 41) + std::string(1, period) + Le16(interval) + Le32(first) +
         Le32(firstTime) + Le32(last) + Le32(lastTime) + Le32(count) + Padded("", 18);
}

class TextIndexTest : public ::testing::Test {
 protected:
  std::string d() const { return dir.path(); }
  std::string index() const { return dir.read("master.kvq"); }

  TempDir dir;
  ScopedMessages messages;
};

TEST_F(TextIndexTest, WritesIndexAndDataFileByTheLayout) {
  DatafileEntry entry;
  ASSERT_EQ(0, AddEntry("ABC", "Abc Corp", 'D', entry, 15, d()));
  EXPECT_EQ(91, entry.masterOffset);
  DatafileHandle handle;
  ASSERT_EQ(0, OpenDatafile(entry, handle, 15, OpenMode::kCreate, d()));
  ASSERT_EQ(0, WriteRecord(entry, handle, Daily(Date(2001, 3, 3), 12.5f, 13, 12, 12.75f, 1500), 15));
  ASSERT_EQ(0, WriteRecord(entry, handle, Daily(Date(2001, 3, 5), 13, 14, 12.5f, 13.5f, 2500), 15));
  ASSERT_EQ(0, FinalizeDirectory(entry, handle, 15, d()));

  EXPECT_EQ(ToHex(Header(15, 1) + Record("ABC", "Abc Corp", 'D', 0, 20010303, -1, 20010305, -1, 2)),
            ToHex(index()));
  EXPECT_EQ(
      "20010303,12.500,13.000,12.000,12.750,1500\r\n"
      "20010305,13.000,14.000,12.500,13.500,2500\r\n",
      dir.read("ABC.prn"));
  EXPECT_TRUE(messages->shown().empty());
}

TEST_F(TextIndexTest, IntradayIndexKeepsTimesAndInterval) {
  DatafileEntry entry;
  ASSERT_EQ(1, CreateEntry("MIN", "", 5, entry, 21, d()));
  ASSERT_EQ(0, testing::AppendRecords(
                   d(), 21, entry,
                   {testing::Intraday(Date(2001, 3, 3), Time(9, 30, 0), 1, 2, 0.5f, 1.5f, 10),
                    testing::Intraday(Date(2001, 3, 3), Time(9, 35, 0), 1.5f, 2, 1, 1.25f, 20)}));
  // CreateEntry set the interval and the day-before last date; the writes set the rest.
  EXPECT_EQ(ToHex(Header(21, 1) + Record("MIN", "", 'I', 5, 20010303, 93000, 20010303, 93500, 2)),
            ToHex(index()));
  EXPECT_EQ(
      "20010303,093000,1.000,2.000,0.500,1.500,10\r\n"
      "20010303,093500,1.500,2.000,1.000,1.250,20\r\n",
      dir.read("MIN.prn"));
}

TEST_F(TextIndexTest, ReadsADirectoryWrittenByHand) {
  dir.write("master.kvq", Header(10, 2) + Record("XYZ", "Xyz Holding", 'D', 0, 20010302, -1, 20010303, -1, 2) +
                              Padded("", 91) +  // an empty record is skipped
                              Record("LONGSYM1", std::string(40, 'N'), 'W', 0, 20000103, -1, 20000110, -1, 1));
  dir.write("XYZ.PRN", "02-03-01\t1,5\t2\t1\t1,75\t100\r\n3-3-2001\t1,75\t2,25\t1,5\t2\t200");
  dir.write("LONGSYM1.prn", "03-01-00\t1\t2\t3\t4\r\n");

  auto entries = testing::ScanAll(d(), 10);
  ASSERT_EQ(2u, entries.size());
  EXPECT_EQ("XYZ", entries[0].symbol);
  EXPECT_EQ("Xyz Holding", entries[0].name);
  EXPECT_EQ('D', entries[0].period);
  EXPECT_EQ(20010302, entries[0].firstDate.value());
  EXPECT_EQ(20010303, entries[0].lastDate.value());
  EXPECT_TRUE(entries[0].firstTime.isNull());
  EXPECT_EQ(2, entries[0].recordCount);
  EXPECT_EQ(91, entries[0].masterOffset);
  EXPECT_EQ("LONGSYM1", entries[1].symbol);
  EXPECT_EQ(std::string(40, 'N'), entries[1].name);
  EXPECT_EQ('W', entries[1].period);
  EXPECT_EQ(273, entries[1].masterOffset);

  // The data file is found whatever the case of its name; the last line has no line end.
  auto records = testing::ReadAll(d(), 10, entries[0]);
  ASSERT_EQ(2u, records.size());
  EXPECT_EQ(20010302, records[0].date.value());
  EXPECT_EQ(1.5f, records[0].open);
  EXPECT_EQ(1.75f, records[0].close);
  EXPECT_EQ(20010303, records[1].date.value());
  EXPECT_EQ(2.25f, records[1].high);
  EXPECT_EQ(200.0f, records[1].volume);

  // Four values: high, low, close, volume.
  records = testing::ReadAll(d(), 10, entries[1]);
  ASSERT_EQ(1u, records.size());
  EXPECT_EQ(0.0f, records[0].open);
  EXPECT_EQ(1.0f, records[0].high);
  EXPECT_EQ(4.0f, records[0].volume);

  DatafileEntry found;
  ASSERT_EQ(0, FindEntry("LONGSYM1", found, 10, d()));
  EXPECT_EQ(273, found.masterOffset);
  EXPECT_EQ(-1, FindEntry("NONE", found, 10, d()));
}

TEST_F(TextIndexTest, RefusesIndexesThatFailTheHeaderCheckAndNeverOverwritesThem) {
  struct Case {
    std::string bytes;
    const char* message;
  } cases[] = {
      {Hex("41 42 43 00 00 00 00 00 00 00") + Le32(20000103) + Le32(20000104) + Le16(2) + Hex("00 00"),
       "Datadirectory has former ascii format"},
      {Header(5, 1) + Record("ABC", "Abc", 'D', 0, 0, -1, 0, -1, 0), "Datadirectory has wrong ascii format"},
      {Header(15, 1).substr(0, 60), "Datadirectory has damaged ascii index"},
      {std::string(), "Datadirectory has former ascii format"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    dir.write("master.kvq", c.bytes);
    messages->clear();
    MasterHandles masters;
    EXPECT_EQ(-1, OpenMaster(masters, 15, d()));
    ASSERT_FALSE(messages->shown().empty());
    EXPECT_EQ(c.message, messages->shown().back().text);

    DatafileEntry entry;
    EXPECT_EQ(-1, AddEntry("NEW", "New", 'D', entry, 15, d()));
    EXPECT_EQ(-1, CreateEntry("NEW", "New", 0, entry, 15, d()));
    EXPECT_EQ(ToHex(c.bytes), ToHex(index()));
    EXPECT_FALSE(dir.exists("NEW.prn"));
  }
}

TEST_F(TextIndexTest, AddingAnExistingSymbolReusesItsRecord) {
  dir.write("master.kvq", Header(5, 2) + Record("AAA", "Aaa", 'D', 0, 20000103, -1, 20000105, -1, 3) +
                              Record("BBB", "Bbb", 'D', 0, 20000103, -1, 20000104, -1, 2));
  std::string before = index();
  DatafileEntry entry;
  ASSERT_EQ(0, AddEntry("BBB", "Other name", 'D', entry, 5, d()));
  EXPECT_EQ(182, entry.masterOffset);
  // The entry carries on from the record, so appending keeps its first date and count.
  EXPECT_EQ(20000103, entry.firstDate.value());
  EXPECT_EQ(2, entry.recordCount);
  EXPECT_EQ(ToHex(before), ToHex(index()));

  ASSERT_EQ(0, AddEntry("CCC", "Ccc", 'D', entry, 5, d()));
  EXPECT_EQ(273, entry.masterOffset);
  EXPECT_EQ(ToHex(Header(5, 3) + before.substr(91) + Record("CCC", "Ccc", 'D', 0, 0, -1, 0, -1, 0)),
            ToHex(index()));
}

TEST_F(TextIndexTest, AnIndexCutShortKeepsItsWholeRecordsAndAddsAfterThem) {
  std::string whole = Header(5, 2) + Record("AAA", "Aaa", 'D', 0, 20000103, -1, 20000105, -1, 3);
  dir.write("master.kvq", whole + Record("BBB", "Bbb", 'D', 0, 0, -1, 0, -1, 0).substr(0, 40));
  auto entries = testing::ScanAll(d(), 5);
  ASSERT_EQ(1u, entries.size());
  EXPECT_EQ("AAA", entries[0].symbol);

  DatafileEntry entry;
  ASSERT_EQ(0, AddEntry("CCC", "Ccc", 'D', entry, 5, d()));
  EXPECT_EQ(182, entry.masterOffset);
  EXPECT_EQ(ToHex(Header(5, 3) + whole.substr(91) + Record("CCC", "Ccc", 'D', 0, 0, -1, 0, -1, 0)),
            ToHex(index()));
}

TEST_F(TextIndexTest, RenameMovesTheDataFileAndRefusesAUsedSymbol) {
  dir.write("master.kvq", Header(5, 2) + Record("AAA", "Aaa", 'D', 0, 20000103, -1, 20000103, -1, 1) +
                              Record("BBB", "Bbb", 'D', 0, 20000103, -1, 20000103, -1, 1));
  dir.write("AAA.PRN", "000103,1,2,3,4,5\r\n");
  dir.write("BBB.prn", "000103,6,7,8,9,10\r\n");

  ASSERT_EQ(0, RenameEntry("AAA", "NEWA", "New name", 5, d()));
  EXPECT_EQ(ToHex(Header(5, 2) + Record("NEWA", "New name", 'D', 0, 20000103, -1, 20000103, -1, 1) +
                  Record("BBB", "Bbb", 'D', 0, 20000103, -1, 20000103, -1, 1)),
            ToHex(index()));
  EXPECT_FALSE(dir.exists("AAA.PRN"));
  EXPECT_EQ("000103,1,2,3,4,5\r\n", dir.read("NEWA.prn"));

  // Without a new name the name stays.
  ASSERT_EQ(0, RenameEntry("NEWA", "NEWB", "", 5, d()));
  DatafileEntry found;
  ASSERT_EQ(0, FindEntry("NEWB", found, 5, d()));
  EXPECT_EQ("New name", found.name);

  std::string before = index();
  EXPECT_EQ(-1, RenameEntry("NEWB", "BBB", "", 5, d()));
  EXPECT_EQ("Symbol already used", messages->shown().back().text.substr(0, 19));
  EXPECT_EQ(-1, RenameEntry("GONE", "XXX", "", 5, d()));
  EXPECT_EQ("Ticker not found", messages->shown().back().text.substr(0, 16));
  EXPECT_EQ(ToHex(before), ToHex(index()));
  EXPECT_EQ("000103,6,7,8,9,10\r\n", dir.read("BBB.prn"));
  EXPECT_EQ("000103,1,2,3,4,5\r\n", dir.read("NEWB.prn"));
}

TEST_F(TextIndexTest, DeleteRewritesTheIndexWithoutTheSymbolAndRemovesItsFile) {
  std::string a = Record("AAA", "Aaa", 'D', 0, 20000103, -1, 20000103, -1, 1);
  std::string b = Record("BBB", "Bbb", 'D', 0, 20000103, -1, 20000104, -1, 2);
  std::string c = Record("CCC", "Ccc", 'D', 0, 20000104, -1, 20000104, -1, 1);
  dir.write("master.kvq", Header(11, 3) + a + b + Padded("", 91) + c);
  dir.write("bbb.PRN", "03/01/00\t1\t2\t3\t4\t5\r\n");

  DatafileEntry deleted;
  ASSERT_EQ(0, DeleteEntry("BBB", deleted, 11, d()));
  EXPECT_EQ(182, deleted.masterOffset);
  EXPECT_EQ(20000104, deleted.lastDate.value());
  EXPECT_EQ(ToHex(Header(11, 2) + a + c), ToHex(index()));
  EXPECT_FALSE(dir.exists("bbb.PRN"));
  EXPECT_FALSE(dir.exists("master.tmp"));

  EXPECT_EQ(-1, DeleteEntry("BBB", deleted, 11, d()));
  EXPECT_EQ("Ticker not found in masterfile", messages->shown().back().text.substr(0, 30));
  EXPECT_EQ(ToHex(Header(11, 2) + a + c), ToHex(index()));
}

TEST_F(TextIndexTest, UpdateAtEndRewritesTheLastLineWithoutLeavingPiecesOfIt) {
  DatafileEntry entry;
  ASSERT_EQ(1, CreateEntry("UPD", "Update", 0, entry, 5, d()));
  ASSERT_EQ(0, testing::AppendRecords(d(), 5, entry,
                                      {Daily(Date(2000, 1, 3), 1, 2, 1, 2, 10),
                                       Daily(Date(2000, 1, 4), 1000, 2000, 1000, 2000, 1000000)}));
  ASSERT_EQ(2, entry.recordCount);

  DatafileHandle handle;
  ASSERT_EQ(0, OpenDatafile(entry, handle, 5, OpenMode::kUpdateAtEnd, d()));
  EXPECT_EQ(1, entry.recordCount);
  ASSERT_EQ(0, WriteRecord(entry, handle, Daily(Date(2000, 1, 4), 3, 4, 3, 4, 5), 5));
  ASSERT_EQ(0, WriteRecord(entry, handle, Daily(Date(2000, 1, 5), 4, 5, 4, 5, 6), 5));
  ASSERT_EQ(0, FinalizeDirectory(entry, handle, 5, d()));
  EXPECT_EQ(
      "000103,1.000,2.000,1.000,2.000,10\r\n"
      "000104,3.000,4.000,3.000,4.000,5\r\n"
      "000105,4.000,5.000,4.000,5.000,6\r\n",
      dir.read("UPD.prn"));
  DatafileEntry found;
  ASSERT_EQ(0, FindEntry("UPD", found, 5, d()));
  EXPECT_EQ(3, found.recordCount);
  EXPECT_EQ(20000103, found.firstDate.value());
  EXPECT_EQ(20000105, found.lastDate.value());

  // Update mode writes after the last line.
  ASSERT_EQ(0, OpenDatafile(found, handle, 5, OpenMode::kUpdate, d()));
  ASSERT_EQ(0, WriteRecord(found, handle, Daily(Date(2000, 1, 6), 1, 1, 1, 1, 1), 5));
  ASSERT_EQ(0, FinalizeDirectory(found, handle, 5, d()));
  EXPECT_EQ(4u, testing::ReadAll(d(), 5, found).size());
  EXPECT_EQ(4, found.recordCount);
}

TEST_F(TextIndexTest, AnUnknownCountIsTakenFromTheFile) {
  dir.write("master.kvq", Header(5, 1) + Record("CNT", "Count", 'D', 0, 20000103, -1, 20000104, -1, -1));
  dir.write("CNT.prn", "000103,1,2,3,4,5\r\n000104,1,2,3,4,5\r\n");
  DatafileEntry entry;
  ASSERT_EQ(0, FindEntry("CNT", entry, 5, d()));
  EXPECT_EQ(-1, entry.recordCount);
  ASSERT_EQ(0, testing::AppendRecords(d(), 5, entry, {Daily(Date(2000, 1, 5), 1, 2, 1, 2, 3)}));
  EXPECT_EQ(3, entry.recordCount);
  EXPECT_EQ(20000103, entry.firstDate.value());
}

TEST_F(TextIndexTest, ConvertsTheLegacyIndexWhenNoCurrentOneExists) {
  std::string old = Padded("", 51) + Padded("OLD", 8) + Hex("00") + Padded("Old Name", 20) + Hex("00") + "D" +
                    Le16(0);
  std::string dates(8, '\0');
  // 990104 (YYMMDD) and 1010302 (CYYMMDD) as IEEE singles.
  float first = 990104.0f, last = 1010302.0f;
  std::memcpy(dates.data(), &first, 4);
  std::memcpy(dates.data() + 4, &last, 4);
  old += dates + Padded("", 8) + Le16(250);
  old += Padded("", 51);  // an empty record
  dir.write("MASTER.BIN", old);

  EXPECT_EQ(0, CheckMaster(9, d()));
  EXPECT_EQ(ToHex(Header(9, 1) + Record("OLD", "Old Name", 'D', 0, 19990104, 0, 20010302, 0, 250)),
            ToHex(index()));
  EXPECT_EQ(ToHex(old), ToHex(dir.read("MASTER.BIN")));
  TempDir empty;
  EXPECT_EQ(-2, CheckMaster(9, empty.path()));
}

TEST_F(TextIndexTest, ConvertsTheFormerLayoutKeepingTheOldFile) {
  std::string old = Padded("ABC", 9) + Hex("00") + Le32(20000103) + Le32(20000110) + Le16(6) + Hex("00 00") +
                    Padded("DEF", 9) + Hex("00") + Le32(990104) + Le32(990105) + Le16(2) + Hex("00 00");
  dir.write("Master.KVQ", old);
  EXPECT_EQ(-2, DetectFormat(d(), 5).found);
  EXPECT_EQ(0, ascii_index::ConvertFormerIndex(5, d()));
  EXPECT_EQ(ToHex(Header(5, 2) + Record("ABC", "ABC", 'D', 0, 20000103, -1, 20000110, -1, 6) +
                  Record("DEF", "DEF", 'D', 0, 19990104, -1, 19990105, -1, 2)),
            ToHex(dir.read("Master.KVQ")));
  EXPECT_EQ(ToHex(old), ToHex(dir.read("master.old")));
  EXPECT_FALSE(dir.exists("master.kvq"));  // the file keeps its spelling
  EXPECT_EQ(5, DetectFormat(d(), 5).found);
  // A current index is not converted again.
  EXPECT_EQ(-1, ascii_index::ConvertFormerIndex(5, d()));
}

TEST_F(TextIndexTest, EveryIdOfTheKindWritesItsOwnLines) {
  struct Case {
    int id;
    const char* line;
  } cases[] = {
      {5, "010303,12.500,13.000,12.000,12.750,1500\r\n"},
      {9, "010303\t12.500\t13.000\t12.000\t12.750\t1500\r\n"},
      {10, "03-03-01\t12,500\t13,000\t12,000\t12,750\t1500\r\n"},
      {11, "03/03/01\t12.500\t13.000\t12.000\t12.750\t1500\r\n"},
      {13, "010303,12.500,13.000,12.000,12.750,1500\r\n"},
      {14, "010303,12.500,13.000,12.000,12.750,1500\r\n"},
      {15, "20010303,12.500,13.000,12.000,12.750,1500\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    TempDir own;
    DatafileEntry entry;
    ASSERT_EQ(1, CreateEntry("LINE", "Line", 0, entry, c.id, own.path()));
    ASSERT_EQ(0, testing::AppendRecords(own.path(), c.id, entry, {Daily(Date(2001, 3, 3), 12.5f, 13, 12, 12.75f, 1500)}));
    EXPECT_EQ(c.line, own.read("LINE.prn"));
    EXPECT_EQ(c.id, static_cast<unsigned char>(own.read("master.kvq")[30]));
  }
}


TEST_F(TextIndexTest, ALargeDataFileIsWrittenAndReadInOnePass) {
  // 200,000 lines through the buffered streams; the count and both ends come back.
  constexpr int kLines = 200000;
  DatafileEntry entry;
  ASSERT_EQ(1, CreateEntry("BIG", "Big", 0, entry, 15, d()));
  DatafileHandle handle;
  ASSERT_EQ(0, OpenDatafile(entry, handle, 15, OpenMode::kAppend, d()));
  Date day(1990, 1, 1);
  for (int i = 0; i < kLines; ++i)
    ASSERT_EQ(0, WriteRecord(entry, handle, Daily(day.addDays(i / 100), 1, 2, 0.5f, 1.5f, static_cast<float>(i)), 15));
  ASSERT_EQ(0, FinalizeDirectory(entry, handle, 15, d()));
  EXPECT_EQ(kLines, entry.recordCount);

  ASSERT_EQ(0, OpenDatafile(entry, handle, 15, OpenMode::kRead, d()));
  PriceRecord r;
  int n = 0;
  float lastVolume = -1;
  while (ReadRecord(entry, handle, r, 15) == 0) {
    ++n;
    lastVolume = r.volume;
  }
  EXPECT_EQ(kLines, n);
  EXPECT_EQ(static_cast<float>(kLines - 1), lastVolume);
}

}  // namespace
}  // namespace kvqt
