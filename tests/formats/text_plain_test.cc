// Hermes ".asc" files (format id 17): price lines without an index.
#include <gtest/gtest.h>

#include "app/core/messages.h"
#include "format_test_util.h"
#include "formats/format_driver.h"
#include "support/temp_dir.h"

namespace kvqt {
namespace {

using testing::Daily;
using testing::TempDir;

class TextPlainTest : public ::testing::Test {
 protected:
  std::string d() const { return dir.path(); }
  TempDir dir;
  ScopedMessages messages;
};

TEST_F(TextPlainTest, WritesAscFilesWithFourDigitYears) {
  DatafileEntry entry;
  ASSERT_EQ(1, CreateEntry("HRM", "Ignored", 0, entry, 17, d()));
  EXPECT_EQ("HRM", entry.name);
  EXPECT_FALSE(dir.exists("master.kvq"));
  ASSERT_EQ(0, testing::AppendRecords(d(), 17, entry,
                                      {Daily(Date(2001, 3, 3), 12.5f, 13, 12, 12.75f, 1500),
                                       Daily(Date(2001, 3, 5), 1, 2, 0.5f, 1.5f, 10)}));
  EXPECT_EQ(
      "20010303,12.500,13.000,12.000,12.750,1500\r\n"
      "20010305,1.000,2.000,0.500,1.500,10\r\n",
      dir.read("HRM.asc"));
}

TEST_F(TextPlainTest, ScansTheAscFilesOfTheDirectory) {
  dir.write("BBB.ASC", "20000103,1,2,3,4,5\r\n20000107,1,2,3,4,5\r\n");
  dir.write("aaa.asc", "20000104,1,2,3,4,5\n20000105,1,2,3,4,5\n20000106,1,2,3,4,5");  // LF, no last line end
  dir.write("empty.asc", "");
  dir.write("TOOLONGNAME.asc", "20000103,1,2,3,4,5\r\n");  // no symbol has nine characters
  dir.write("other.prn", "20000103,1,2,3,4,5\r\n");

  auto entries = testing::ScanAll(d(), 17);
  ASSERT_EQ(3u, entries.size());
  EXPECT_EQ("BBB", entries[0].symbol);
  EXPECT_EQ("BBB", entries[0].name);
  EXPECT_EQ(20000103, entries[0].firstDate.value());
  EXPECT_EQ(20000107, entries[0].lastDate.value());
  EXPECT_EQ(-1, entries[0].recordCount);
  EXPECT_EQ("aaa", entries[1].symbol);
  EXPECT_EQ(20000104, entries[1].firstDate.value());
  EXPECT_EQ(20000106, entries[1].lastDate.value());
  EXPECT_EQ("empty", entries[2].symbol);
  EXPECT_TRUE(entries[2].lastDate.isNull());

  // Skipping the data files leaves the first date out; reading their headers counts the lines.
  entries = testing::ScanAll(d(), 17, kScanNoDataFiles);
  EXPECT_TRUE(entries[0].firstDate.isNull());
  EXPECT_EQ(20000107, entries[0].lastDate.value());
  entries = testing::ScanAll(d(), 17, kScanReadHeader);
  EXPECT_EQ(2, entries[0].recordCount);
  EXPECT_EQ(3, entries[1].recordCount);

  DatafileEntry found;
  ASSERT_EQ(0, FindEntry("bbb", found, 17, d()));
  EXPECT_EQ("BBB", found.symbol);
  EXPECT_EQ(3u, testing::ReadAll(d(), 17, entries[1]).size());
  EXPECT_EQ(-1, FindEntry("TOOLONGN", found, 17, d()));
}

TEST_F(TextPlainTest, AppendingToAFileOfUnknownCountCountsItsLines) {
  dir.write("CNT.asc", "20000103,1,2,3,4,5\r\n20000104,1,2,3,4,5\r\n");
  DatafileEntry entry;
  ASSERT_EQ(0, FindEntry("CNT", entry, 17, d()));
  ASSERT_EQ(-1, entry.recordCount);
  ASSERT_EQ(0, testing::AppendRecords(d(), 17, entry, {Daily(Date(2000, 1, 5), 1, 2, 1, 2, 3)}));
  EXPECT_EQ(3, entry.recordCount);
  EXPECT_EQ(20000105, entry.lastDate.value());

  // Update-at-end steps back over the counted last line.
  entry.recordCount = -1;
  DatafileHandle handle;
  ASSERT_EQ(0, OpenDatafile(entry, handle, 17, OpenMode::kUpdateAtEnd, d()));
  EXPECT_EQ(2, entry.recordCount);
  ASSERT_EQ(0, WriteRecord(entry, handle, Daily(Date(2000, 1, 5), 9, 9, 9, 9, 9), 17));
  ASSERT_EQ(0, FinalizeDirectory(entry, handle, 17, d()));
  EXPECT_EQ(
      "20000103,1,2,3,4,5\r\n20000104,1,2,3,4,5\r\n"
      "20000105,9.000,9.000,9.000,9.000,9\r\n",
      dir.read("CNT.asc"));
}

TEST_F(TextPlainTest, RenameAndDeleteWorkOnTheFile) {
  dir.write("OLD.asc", "20000103,1,2,3,4,5\r\n");
  dir.write("USED.asc", "20000103,1,2,3,4,5\r\n");
  EXPECT_EQ(-1, RenameEntry("OLD", "USED", "", 17, d()));
  EXPECT_EQ("Symbol already used", messages->shown().back().text.substr(0, 19));
  ASSERT_EQ(0, RenameEntry("OLD", "NEW", "", 17, d()));
  EXPECT_TRUE(dir.exists("NEW.asc"));
  DatafileEntry entry;
  ASSERT_EQ(0, DeleteEntry("NEW", entry, 17, d()));
  EXPECT_FALSE(dir.exists("NEW.asc"));
  EXPECT_EQ(-1, DeleteEntry("NEW", entry, 17, d()));
  EXPECT_EQ("Symbol not found", messages->shown().back().text.substr(0, 16));
}

}  // namespace
}  // namespace kvqt
