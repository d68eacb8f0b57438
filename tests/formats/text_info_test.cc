// kvqt-info dir and records on text directories, reached only through the
// operations keyed by format id.
#include <gtest/gtest.h>

#include "app/core/messages.h"
#include "format_test_util.h"
#include "tools/kvqt-info/info_run.h"
#include "support/temp_dir.h"

namespace kvqt::info {
namespace {

using testing::TempDir;

TEST(TextInfo, DirAndRecordsOfAnIndexedTextDirectory) {
  TempDir dir;
  {
    ScopedMessages quiet;
    DatafileEntry entry;
    ASSERT_EQ(1, CreateEntry("ABC", "Abc Corp", 0, entry, 10, dir.path()));
    ASSERT_EQ(0, testing::AppendRecords(dir.path(), 10, entry,
                                        {testing::Daily(Date(2001, 3, 3), 12.5f, 13, 12, 12.75f, 1500),
                                         testing::Daily(Date(2001, 3, 5), 13, 14, 12.5f, 13.5f, 2500)}));
  }
  InfoRun run = RunInfo("dir", {dir.path()});
  EXPECT_EQ(0, run.rc);
  EXPECT_EQ(
      "detect found=10 fits=1\n"
      "entry symbol=ABC name=\"Abc Corp\" period=D interval=0 first=20010303 firsttime=0 last=20010305 "
      "lasttime=0 records=2 file=0 fields=0\n",
      run.out);
  EXPECT_EQ("", run.err);

  run = RunInfo("records", {dir.path(), "ABC"});
  EXPECT_EQ(0, run.rc);
  EXPECT_EQ(
      "record date=20010303 time=-1 open=12.5 high=13 low=12 close=12.75 volume=1500\n"
      "record date=20010305 time=-1 open=13 high=14 low=12.5 close=13.5 volume=2500\n",
      run.out);
}

TEST(TextInfo, DirReportsAnIndexOfAnotherFormat) {
  TempDir dir;
  {
    ScopedMessages quiet;
    DatafileEntry entry;
    ASSERT_EQ(1, CreateEntry("ABC", "Abc", 0, entry, 5, dir.path()));
  }
  InfoRun run = RunInfo("dir", {dir.path(), "15"});
  EXPECT_EQ(1, run.rc);
  EXPECT_EQ("detect found=5 fits=0\n", run.out);
  EXPECT_EQ("kvqt-info: " + dir.path() + ": Datadirectory has wrong ascii format\n", run.err);
}

TEST(TextInfo, HermesFilesThroughTheVerbs) {
  TempDir dir;
  dir.write("HRM.asc", "20010303,1,2,3,4,5\r\n20010305,1,2,3,4,6\r\n");
  InfoRun run = RunInfo("dir", {dir.path(), "17"});
  EXPECT_EQ(0, run.rc);
  EXPECT_EQ(
      "detect found=23 fits=1\n"
      "entry symbol=HRM name=HRM period=D interval=0 first=20010303 firsttime=-1 last=20010305 lasttime=-1 "
      "records=2 file=0 fields=0\n",
      run.out);
  run = RunInfo("records", {dir.path(), "HRM", "17"});
  EXPECT_EQ(0, run.rc);
  EXPECT_EQ(
      "record date=20010303 time=-1 open=1 high=2 low=3 close=4 volume=5\n"
      "record date=20010305 time=-1 open=1 high=2 low=3 close=4 volume=6\n",
      run.out);
}

}  // namespace
}  // namespace kvqt::info
