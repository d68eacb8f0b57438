// Deleting entries rebuilds only the master file that holds the entry, and
// carries every other record over exactly once, also those the format id's
// scan does not show.
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
using testing::Padded;
using testing::TempDir;

std::string Sym(int n) { return "S" + std::to_string(n); }

// A full MASTER (255 daily entries) with EMASTER, and `extra` XMASTER entries
// numbered from 256, written from the layouts.
void WriteFullDirectory(const TempDir& dir, int extra) {
  std::string master = Bytes(53).hex(0, "ff 00 ff 00");
  std::string emaster = Bytes(192).hex(0, "ff 00 ff 00");
  for (int n = 1; n <= 255; ++n) {
    master += Bytes(53).byte(0, n).hex(1, "65 00 1c 07").at(7, Padded(Sym(n), 16, ' ')).at(33, "D").at(
        36, Padded(Sym(n), 16, ' ')).str();
    emaster += Bytes(192).at(0, "66").byte(2, n).byte(6, 7).at(11, Sym(n)).at(32, Sym(n)).at(60, "D").str();
  }
  std::string xmaster = Bytes(150).hex(0, "5d fe 58 4d 8b 02").at(10, Le16(extra)).at(14, Le16(extra));
  for (int n = 256; n < 256 + extra; ++n)
    xmaster += Bytes(150).at(1, Sym(n)).at(16, "X name").at(62, "D").at(65, Le16(n)).byte(70, 127).str();
  dir.write("MASTER", master);
  dir.write("EMASTER", emaster);
  dir.write("XMASTER", xmaster);
}

class MetaStockDeleteTest : public ::testing::Test {
 protected:
  TempDir dir;
  ScopedMessages messages;
};

TEST_F(MetaStockDeleteTest, IntradayEntriesSurviveADailyDelete) {
  DatafileEntry e;
  ASSERT_EQ(1, CreateEntry("D1", "", 0, e, 4, dir.path()));
  ASSERT_EQ(1, CreateEntry("I1", "", 5, e, 20, dir.path()));
  ASSERT_EQ(0, testing::AppendRecords(dir.path(), 20, e,
                                      {testing::Intraday(Date(2000, 1, 3), Time(9, 30, 0), 1, 2, 1, 2, 10)}));
  ASSERT_EQ(1, CreateEntry("D2", "", 0, e, 4, dir.path()));
  std::string master = dir.read("MASTER");
  std::string emaster = dir.read("EMASTER");

  ASSERT_EQ(0, DeleteEntry("D1", e, 4, dir.path()));
  // The intraday record moved up unchanged, once; so did D2.
  EXPECT_EQ(Hex("02 00 03 00"), dir.read("MASTER").substr(0, 4));
  EXPECT_EQ(master.substr(4, 49) + master.substr(2 * 53, 2 * 53), dir.read("MASTER").substr(4));
  EXPECT_EQ(emaster.substr(4, 188) + emaster.substr(2 * 192, 2 * 192), dir.read("EMASTER").substr(4));

  auto intraday = testing::ScanAll(dir.path(), 20);
  ASSERT_EQ(1u, intraday.size());
  EXPECT_EQ("I1", intraday[0].symbol);
  EXPECT_EQ(1u, testing::ReadAll(dir.path(), 20, intraday[0]).size());

  // A daily scan cannot delete the intraday entry.
  EXPECT_EQ(-1, DeleteEntry("I1", e, 4, dir.path()));
  ASSERT_EQ(1u, messages->shown().size());
  EXPECT_EQ("Ticker not found: I1", messages->shown()[0].text);
  EXPECT_EQ(0, DeleteEntry("I1", e, 20, dir.path()));
  EXPECT_FALSE(dir.exists("f2.DAT"));
}

TEST_F(MetaStockDeleteTest, MasterDeleteLeavesXmasterAlone) {
  WriteFullDirectory(dir, 3);
  std::string xmaster = dir.read("XMASTER");
  DatafileEntry e;
  ASSERT_EQ(0, DeleteEntry("S7", e, 4, dir.path()));
  EXPECT_EQ(xmaster, dir.read("XMASTER"));
  EXPECT_EQ(Hex("fe 00 ff 00"), dir.read("MASTER").substr(0, 4));
  EXPECT_EQ(255u * 53, dir.read("MASTER").size());
  EXPECT_EQ(255u * 192, dir.read("EMASTER").size());
  auto entries = testing::ScanAll(dir.path(), 4);
  ASSERT_EQ(254u + 3, entries.size());
  EXPECT_EQ("S8", entries[6].symbol);
  EXPECT_EQ("S256", entries[254].symbol);

  // MASTER has room again: the next entry takes the freed number 7, not XMASTER.
  ASSERT_EQ(1, CreateEntry("NEW", "", 0, e, 4, dir.path()));
  EXPECT_EQ(7, e.fileNumber);
  EXPECT_EQ(xmaster, dir.read("XMASTER"));
}

TEST_F(MetaStockDeleteTest, XmasterDeleteLeavesMasterAlone) {
  WriteFullDirectory(dir, 3);
  std::string master = dir.read("MASTER");
  std::string emaster = dir.read("EMASTER");
  std::string xmaster = dir.read("XMASTER");
  DatafileEntry e;
  ASSERT_EQ(0, DeleteEntry("S257", e, 4, dir.path()));
  EXPECT_EQ(257, e.fileNumber);
  EXPECT_EQ(master, dir.read("MASTER"));
  EXPECT_EQ(emaster, dir.read("EMASTER"));
  // Count 2 at 10, the highest value at 14 stays 3; records 1 and 3 remain.
  std::string expected = xmaster.substr(0, 150) + xmaster.substr(150, 150) + xmaster.substr(450, 150);
  expected.replace(10, 2, Le16(2));
  EXPECT_EQ(testing::ToHex(expected), testing::ToHex(dir.read("XMASTER")));
  EXPECT_FALSE(dir.exists("XMASTER.tmp"));

  // The freed number is given out again.
  ASSERT_EQ(1, CreateEntry("NEW", "", 0, e, 4, dir.path()));
  EXPECT_EQ(257, e.fileNumber);
  EXPECT_EQ(Le16(3), dir.read("XMASTER").substr(10, 2));
  EXPECT_EQ(Le16(3), dir.read("XMASTER").substr(14, 2));
}

TEST_F(MetaStockDeleteTest, XmasterStopsAt5745Entries) {
  WriteFullDirectory(dir, 5745);
  DatafileEntry e;
  EXPECT_EQ(-1, CreateEntry("ONEMORE", "", 0, e, 4, dir.path()));
  ASSERT_EQ(0, DeleteEntry("S300", e, 4, dir.path()));
  ASSERT_EQ(1, CreateEntry("ONEMORE", "", 0, e, 4, dir.path()));
  EXPECT_EQ(300, e.fileNumber);
}

TEST_F(MetaStockDeleteTest, FinalizeAfterRecordsMovedFindsTheEntryByNumber) {
  DatafileEntry e;
  for (int n = 1; n <= 5; ++n) ASSERT_EQ(1, CreateEntry(Sym(n), "", 0, e, 4, dir.path()));
  DatafileEntry stale;
  ASSERT_EQ(0, FindEntry("S5", stale, 4, dir.path()));
  ASSERT_EQ(5 * 53, stale.masterOffset);
  DatafileEntry deleted;
  ASSERT_EQ(0, DeleteEntry("S2", deleted, 4, dir.path()));
  // S5's record is now the fourth; the entry still points past the count.
  ASSERT_EQ(0, testing::AppendRecords(dir.path(), 4, stale, {testing::Daily(Date(2000, 1, 5), 1, 2, 1, 2, 3)}));
  auto entries = testing::ScanAll(dir.path(), 4);
  ASSERT_EQ(4u, entries.size());
  EXPECT_EQ("S5", entries[3].symbol);
  EXPECT_EQ(20000105, entries[3].lastDate.value());
  EXPECT_EQ(4u * 53 + 53, dir.read("MASTER").size());
}

}  // namespace
}  // namespace kvqt
