// Damaged Technical Investor / TopVest directories: every count and offset in
// master.dat is checked before use, a damaged index is never written to, and
// a ring whose numbers do not fit its file is neither read nor written.
#include <gtest/gtest.h>
#include <sys/stat.h>

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

std::string Header() { return Bytes(80, ' ').hex(0, "21 c6 01 01 00 00 00 00"); }

// Type 6 (date and close, 5 bytes per record), letter S.
std::string Record(const std::string& symbol, int count, int ringSize, int storedStart) {
  return Bytes(80, ' ')
      .at(0, Padded(symbol, 8, ' '))
      .hex(28, "06 00")
      .at(30, testing::Le16(count))
      .at(32, testing::Le16(ringSize))
      .hex(34, "e4 18")
      .at(36, "S")
      .byte(37, 0)
      .at(38, testing::Le16(storedStart))
      .hex(40, "00 00 00 00");
}

class RingBufferDamageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = writerSettings();
    writerSettings().technicalInvestorFileType = 6;
    writerSettings().technicalInvestorMaxRecords = 3;
  }
  void TearDown() override { writerSettings() = saved_; }

  TempDir dir;
  ScopedMessages messages;
  WriterSettings saved_;
};

TEST_F(RingBufferDamageTest, DamagedIndexIsReportedAndNeverWritten) {
  struct Case {
    const char* what;
    std::string master;
  } cases[] = {
      {"empty", ""},
      {"shorter than its header", Header().substr(0, 79)},
      {"no header", Record("ABC", 0, 3, 1) + Record("DEF", 0, 3, 1)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir d;
    d.write("master.dat", c.master);
    messages->clear();
    MasterHandles masters;
    EXPECT_EQ(-1, OpenMaster(masters, 0, d.path()));
    CloseMaster(masters);
    ASSERT_FALSE(messages->shown().empty());
    EXPECT_EQ("Masterfile corrupt: " + d.file("master.dat"), messages->shown()[0].text);

    DatafileEntry entry;
    EXPECT_EQ(-1, AddEntry("NEW", "", 'D', entry, 0, d.path()));
    EXPECT_EQ(-1, CreateEntry("NEW", "", 0, entry, 0, d.path()));
    EXPECT_EQ(c.master, d.read("master.dat"));
    EXPECT_FALSE(d.exists("NEW.dS6"));
  }
}

TEST_F(RingBufferDamageTest, MasterCutShortIsReadToItsLastWholeRecordButNotAddedTo) {
  std::string master = Header() + Record("ABC", 1, 3, 1) + Record("DEF", 1, 3, 1).substr(0, 50);
  dir.write("master.dat", master);
  dir.write("ABC.dS6", Hex("80 18 01 00 00") + std::string(10, '\0'));
  dir.write("DEF.dS6", Hex("80 18 01 00 00") + std::string(10, '\0'));

  auto entries = testing::ScanAll(dir.path(), 0);
  ASSERT_EQ(1u, entries.size());
  EXPECT_EQ("ABC", entries[0].symbol);
  DatafileEntry entry;
  EXPECT_EQ(-1, FindEntry("DEF", entry, 0, dir.path()));

  messages->clear();
  EXPECT_EQ(-1, AddEntry("NEW", "", 'D', entry, 0, dir.path()));
  ASSERT_EQ(1u, messages->shown().size());
  EXPECT_EQ("Masterfile corrupt: " + dir.file("master.dat"), messages->shown()[0].text);
  EXPECT_EQ(master, dir.read("master.dat"));

  // Writing back an entry that is there still works; the cut record stays as it was.
  entry = entries[0];
  ASSERT_EQ(0, testing::AppendRecords(dir.path(), 0, entry, {Daily(Date(2000, 1, 4), 0, 0, 0, 2, 0)}));
  std::string after = dir.read("master.dat");
  ASSERT_EQ(master.size(), after.size());
  EXPECT_EQ(master.substr(160), after.substr(160));
  EXPECT_EQ(Hex("02 00"), after.substr(80 + 30, 2));
}

TEST_F(RingBufferDamageTest, RingNumbersThatDoNotFitTheFileStopReadAndWrite) {
  struct Case {
    const char* what;
    int count, ringSize, storedStart;
    std::size_t fileSize;
  } cases[] = {
      {"count above the ring size", 4, 3, 1, 15},
      {"ring start beyond the ring", 1, 3, 4, 15},
      {"slots in use beyond the end of the file", 3, 3, 1, 10},
      {"ring start past the file", 1, 3, 3, 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir d;
    std::string master = Header() + Record("BAD", c.count, c.ringSize, c.storedStart);
    std::string ring = std::string(c.fileSize, '\x11');
    d.write("master.dat", master);
    d.write("BAD.dS6", ring);

    auto entries = testing::ScanAll(d.path(), 0);
    ASSERT_EQ(1u, entries.size());  // still listed: the instrument does not vanish

    for (OpenMode mode : {OpenMode::kRead, OpenMode::kAppend, OpenMode::kUpdate, OpenMode::kUpdateAtEnd}) {
      messages->clear();
      DatafileEntry entry = entries[0];
      DatafileHandle handle;
      EXPECT_EQ(-1, OpenDatafile(entry, handle, 0, mode, d.path())) << static_cast<int>(mode);
      ASSERT_EQ(1u, messages->shown().size());
      EXPECT_EQ("Datafile corrupt: BAD", messages->shown()[0].text);
    }
    EXPECT_TRUE(testing::ReadAll(d.path(), 0, entries[0]).empty());
    EXPECT_EQ(ring, d.read("BAD.dS6"));
    EXPECT_EQ(master, d.read("master.dat"));
  }
}

TEST_F(RingBufferDamageTest, ReaderNeverGoesRoundTheRingTwice) {
  dir.write("master.dat", Header() + Record("R", 2, 2, 1));
  dir.write("R.dS6", Hex("80 18 01 00 00 | 80 20 02 00 00"));
  auto entries = testing::ScanAll(dir.path(), 0);
  ASSERT_EQ(1u, entries.size());
  DatafileEntry entry = entries[0];
  DatafileHandle handle;
  ASSERT_EQ(0, OpenDatafile(entry, handle, 0, OpenMode::kRead, dir.path()));
  entry.recordCount = 1000000;  // changed by a caller after the open
  PriceRecord r;
  int read = 0;
  while (read < 10 && ReadRecord(entry, handle, r, 0) == 0) ++read;
  EXPECT_EQ(0, read);
}

TEST_F(RingBufferDamageTest, WriteBackNeverTouchesTheHeader) {
  dir.write("master.dat", Header() + Record("ABC", 0, 3, 1));
  dir.write("ABC.dS6", std::string(15, '\0'));
  DatafileEntry entry;
  ASSERT_EQ(0, FindEntry("ABC", entry, 0, dir.path()));
  for (int offset : {0, 40, 160, -80}) {
    entry.masterOffset = offset;  // wrong: found again by its symbol
    ASSERT_EQ(0, testing::AppendRecords(dir.path(), 0, entry, {Daily(Date(2000, 1, 4), 0, 0, 0, 2, 0)})) << offset;
    std::string master = dir.read("master.dat");
    ASSERT_EQ(160u, master.size());
    EXPECT_EQ(Header(), master.substr(0, 80));
    EXPECT_EQ("ABC     ", master.substr(80, 8));
  }

  DatafileEntry stranger = entry;
  stranger.symbol = "XYZ";
  stranger.masterOffset = 80;
  messages->clear();
  DatafileHandle handle;
  EXPECT_EQ(-1, FinalizeDirectory(stranger, handle, 0, dir.path()));
  ASSERT_EQ(1u, messages->shown().size());
  EXPECT_EQ("Ticker not found XYZ", messages->shown()[0].text);
  EXPECT_EQ("ABC     ", dir.read("master.dat").substr(80, 8));
}

TEST_F(RingBufferDamageTest, NamesThatLeadOutOfTheDirectoryAreNoFiles) {
  std::string slashLetter = Record("ABC", 0, 3, 1);
  slashLetter[36] = '/';
  dir.write("master.dat", Header() + Record("../X", 0, 3, 1) + slashLetter);
  ASSERT_EQ(0, ::mkdir(dir.file("ABC.d").c_str(), 0755));
  dir.write("ABC.d/6", std::string(15, '\0'));
  EXPECT_TRUE(testing::ScanAll(dir.path(), 0).empty());
  auto listed = testing::ScanAll(dir.path(), 0, kScanNoDataFiles);
  ASSERT_EQ(2u, listed.size());
  for (DatafileEntry& entry : listed) {
    DatafileHandle handle;
    EXPECT_EQ(-1, OpenDatafile(entry, handle, 0, OpenMode::kCreate, dir.path())) << entry.symbol;
    EXPECT_EQ(-1, OpenDatafile(entry, handle, 0, OpenMode::kRead, dir.path())) << entry.symbol;
  }
  EXPECT_EQ(std::string(15, '\0'), dir.read("ABC.d/6"));
}

TEST_F(RingBufferDamageTest, MissingRingFileIsCreatedOnAppend) {
  dir.write("master.dat", Header() + Record("ABC", 2, 3, 1));
  DatafileEntry entry;
  ASSERT_EQ(0, FindEntry("ABC", entry, 0, dir.path(), kScanNoDataFiles));
  DatafileHandle handle;
  ASSERT_EQ(0, OpenDatafile(entry, handle, 0, OpenMode::kAppend, dir.path()));
  EXPECT_EQ(0, entry.recordCount);  // a new ring
  handle.close();
  EXPECT_EQ(15u, dir.read("ABC.dS6").size());
}

}  // namespace
}  // namespace kvqt
