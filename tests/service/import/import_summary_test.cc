// The summary line an import ends with, and how far a running import has
// read its result: hand-written sksdat.dat files imported through the
// headless step runner, the summary checked against what reached the data
// files.
#include <gtest/gtest.h>
#include <unistd.h>

#include <memory>
#include <string>
#include <vector>

#include "app/core/action_info.h"
#include "app/core/logs.h"
#include "app/core/messages.h"
#include "app/core/personal_profile.h"
#include "app/datafile/login_record.h"
#include "app/datafile/user_info.h"
#include "app/model/directory.h"
#include "app/model/format.h"
#include "app/runner/headless_progress.h"
#include "formats/directory_refresh.h"
#include "formats/file_names.h"
#include "formats/format_test_util.h"
#include "platform/program_dir.h"
#include "service/import/import_progress.h"
#include "service/import/import_tally.h"
#include "service/import/result_import.h"
#include "support/hex.h"
#include "import_fixture.h"
#include "support/temp_dir.h"

namespace kvqt {
namespace {

using testing::Hex;
using testing::TempDir;

constexpr int kMetaStock = 4;
constexpr int kAscii = 5;

class ImportSummaryTest : public testing::ImportTest {
 protected:
  // Days 1 to n of January 2004 at the day number, volume 100.
  static std::vector<PriceRecord> Days(int n) {
    std::vector<PriceRecord> records;
    for (int d = 1; d <= n; ++d) records.push_back(testing::Daily(Date(2004, 1, d), d, d, d, d, 100));
    return records;
  }
  std::string DataFilePath(const TempDir& dir, int formatId, const std::string& symbol) {
    DatafileEntry entry;
    EXPECT_EQ(0, FindEntry(symbol, entry, formatId, dir.path(), kScanReadHeader));
    std::string path;
    EXPECT_EQ(0, BuildFileName(entry, path, formatId, dir.path()));
    return path;
  }
  // The status lines that are summaries.
  std::vector<std::string> Summaries() const {
    std::vector<std::string> found;
    for (const std::string& line : progress->statusLines())
      if (line.rfind("Written: ", 0) == 0) found.push_back(line);
    return found;
  }
};

// A list import over two directories: the lines of symbols a directory does
// not hold write nothing and count for nothing; the summary is logged.
TEST_F(ImportSummaryTest, ListImportCountsWhatReachedEachDirectory) {
  TempDir one, two;
  Format& format = AddFormat(kAscii);
  AddDirectory(format, one);
  AddDirectory(format, two);
  Instrument(one, kAscii, "AAA");
  Instrument(one, kAscii, "BBB");
  Instrument(two, kAscii, "AAA");
  const std::string result = "CD " + one.path() + "\r\n" +
                             "AAA,20040102,100,1\r\n"
                             "AAA,20040105,100,2\r\n"
                             "BBB,20040102,200,2\r\n"
                             "CCC,20040102,300,3\r\n" +
                             "CD " + two.path() + "\r\n" +
                             "AAA,20040102,400,4\r\n"
                             "ZZZ,20040102,600,6\r\n";
  ASSERT_EQ(Import(result, 1, 1, format, nullptr), kStepFinished);
  EXPECT_EQ(Summaries(), std::vector<std::string>{"Written: 4 records in 3 data files in 2 directories"});
  EXPECT_NE(home.read("kvqt.rpt").find("Written: 4 records in 3 data files in 2 directories\r\n"), std::string::npos)
      << home.read("kvqt.rpt");
}

// Records a data file did not take are not claimed: a full MetaStock data
// file drops them, a date-range merge that does not fit keeps the data file
// as it was; the summary comes before the closing warning.
TEST_F(ImportSummaryTest, FullDataFilesCountForNothing) {
  {
    TempDir dir;
    Format& format = AddFormat(kMetaStock);
    Directory& directory = AddDirectory(format, dir);
    Instrument(dir, kMetaStock, "FULL");
    Instrument(dir, kMetaStock, "ROOM");
    const std::string path = DataFilePath(dir, kMetaStock, "FULL");
    testing::WriteFileBytes(path, Hex("00 00 ff ff") + std::string(24, '\0'));
    ASSERT_EQ(::truncate(path.c_str(), 65535L * 28), 0);
    ASSERT_EQ(Import("FULL,20040102,1000,10\r\nROOM,20040102,1000,10\r\nROOM,20040105,1000,11\r\n", 0, 1, format,
                     &directory),
              kStepErrorShown);
    EXPECT_EQ(Summaries(), std::vector<std::string>{"Written: 2 records in 1 data file in 1 directory"});
    ASSERT_FALSE(progress->statusLines().empty());
    EXPECT_EQ(progress->statusLines().back(), "Download Session Completed\nWARNING: Some data files are full");
  }
  {
    TempDir dir;
    Format& format = AddFormat(kMetaStock);
    Directory& directory = AddDirectory(format, dir);
    Instrument(dir, kMetaStock, "AAA", Days(3));
    const std::string path = DataFilePath(dir, kMetaStock, "AAA");
    std::string bytes = testing::ReadFileBytes(path);
    bytes.replace(0, 2, Hex("04 00"));  // room for the three stored records only
    testing::WriteFileBytes(path, bytes);
    ASSERT_EQ(Import("AAA,20040105,100,1\r\n", 0, 2, format, &directory), kStepErrorShown);
    EXPECT_EQ(Summaries(), std::vector<std::string>{"Written: 0 records in 0 data files in 0 directories"});
    EXPECT_EQ(testing::ReadFileBytes(path), bytes);
  }
}

// A date-range merge counts the new records it stored, not the ones it kept.
TEST_F(ImportSummaryTest, MergeCountsTheNewRecords) {
  TempDir dir;
  Format& format = AddFormat(kAscii);
  Directory& directory = AddDirectory(format, dir);
  Instrument(dir, kAscii, "AAA", Days(5));
  ASSERT_EQ(Import("AAA,20040102,100,7\r\nAAA,20040112,100,8\r\n", 0, 2, format, &directory), kStepFinished);
  EXPECT_EQ(Summaries(), std::vector<std::string>{"Written: 2 records in 1 data file in 1 directory"});
}

// While the import runs, its percentage follows the lines handed out of the
// result; before the file is open and after it is closed there is none.
TEST_F(ImportSummaryTest, PercentFollowsTheLinesRead) {
  TempDir dir;
  Format& format = AddFormat(kAscii);
  Directory& directory = AddDirectory(format, dir);
  Instrument(dir, kAscii, "AAA");
  // 256 lines of one length, taken 64 a step: a quarter of the result each.
  std::string result;
  Date day(2004, 1, 2);
  for (int i = 0; i < 256; ++i, day = day.addDays(1)) result += "AAA," + std::to_string(day.value()) + ",100,1.00000\r\n";
  Prepare(result, 0, 1, format, &directory);
  HeadlessProgress view;
  StepRunner runner(view, actionPostDatafile, &action, 2);
  EXPECT_FALSE(ImportPercent(action).has_value());
  int counter = 0;
  ASSERT_EQ(actionPostDatafile(runner, action, counter), kStepGoOn);
  EXPECT_EQ(ImportPercent(action), 0);
  std::vector<int> seen;
  int rc = kStepGoOn;
  while (rc == kStepGoOn && counter == 1) {
    rc = actionPostDatafile(runner, action, counter);
    if (auto percent = ImportPercent(action)) seen.push_back(*percent);
  }
  EXPECT_EQ(rc, kStepFinished);
  EXPECT_EQ(seen, (std::vector<int>{25, 50, 75, 100}));
  EXPECT_FALSE(ImportPercent(action).has_value());
}

// Cancel in the middle of an instrument's lines: what reached its data file
// is also in its master entry, so that the next request asks for the days after it.
TEST_F(ImportSummaryTest, CancelDuringTheImportKeepsTheMasterInStepWithTheDataFile) {
  for (int formatId : {kMetaStock, kAscii}) {
    SCOPED_TRACE(formatId);
    TempDir dir;
    Format& format = AddFormat(formatId);
    Directory& directory = AddDirectory(format, dir);
    Instrument(dir, formatId, "AAA", Days(2));
    std::string result;
    Date day(2004, 1, 3);
    constexpr int kLines = 4000;
    for (int i = 0; i < kLines; ++i, day = day.addDays(1)) result += "AAA," + std::to_string(day.value()) + ",100,5\r\n";
    Prepare(result, 0, 1, format, &directory);
    progress = std::make_unique<HeadlessProgress>();
    // Every reading of the clock is 40 ms later: a tick handles a few steps of lines.
    std::int64_t now = 0;
    progress->setMilliseconds([&now] { return now += 40; });
    int ticks = 0;
    progress->setIdle([&ticks](HeadlessProgress& host) {
      if (++ticks == 5) host.cancel();
    });
    ASSERT_EQ(progress->run(actionPostDatafile, action, 2), kStepStop);
    action.importState.reset();

    DatafileEntry entry;
    ASSERT_EQ(0, FindEntry("AAA", entry, formatId, dir.path(), kScanReadHeader));
    const std::vector<PriceRecord> records = testing::ReadAll(dir.path(), formatId, entry);
    ASSERT_GT(records.size(), 2u);
    ASSERT_LT(records.size(), static_cast<std::size_t>(kLines + 2));
    EXPECT_EQ(entry.lastDate.value(), records.back().date.value());
    EXPECT_EQ(PriceRecordCount(entry, formatId), static_cast<std::int32_t>(records.size()));
    // The report log tells what the cancelled import wrote.
    EXPECT_EQ(Summaries(), std::vector<std::string>{ImportSummaryText(
                               static_cast<std::int64_t>(records.size()) - 2, 1, 1)});
  }
}

}  // namespace
}  // namespace kvqt
