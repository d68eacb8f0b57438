#include "tools/kvqt-info/info_run.h"

#include <gtest/gtest.h>

#include "app/core/messages.h"
#include "format_test_util.h"
#include "support/temp_dir.h"

namespace kvqt::info {
namespace {

using testing::TempDir;

class DirVerbsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ScopedMessages quiet;
    DatafileEntry entry;
    ASSERT_EQ(1, CreateEntry("ABC", "Abc Corp", 0, entry, 4, dir.path()));
    ASSERT_EQ(0, testing::AppendRecords(dir.path(), 4, entry,
                                        {testing::Daily(Date(2000, 1, 3), 10, 11, 9.5f, 10.5f, 1000),
                                         testing::Daily(Date(2000, 1, 4), 0.1f, 12, 10, 11.5f, 2000)}));
    ASSERT_EQ(1, CreateEntry("MIN", "", 5, entry, 20, dir.path()));
    ASSERT_EQ(0, testing::AppendRecords(dir.path(), 20, entry,
                                        {testing::Intraday(Date(2000, 1, 3), Time(9, 30, 0), 1, 2, 1, 2, 3)}));
  }
  TempDir dir;
};

TEST_F(DirVerbsTest, DirListsTheEntriesOfTheFormatFound) {
  InfoRun run = RunInfo("dir", {dir.path()});
  EXPECT_EQ(0, run.rc);
  EXPECT_EQ(
      "detect found=4 fits=1\n"
      "entry symbol=ABC name=\"Abc Corp\" period=D interval=0 first=20000103 firsttime=-1 last=20000104 "
      "lasttime=-1 records=2 file=1 fields=7\n",
      run.out);
  EXPECT_EQ("", run.err);
}

TEST_F(DirVerbsTest, DirWithAnotherFormatId) {
  InfoRun run = RunInfo("dir", {dir.path(), "20"});
  EXPECT_EQ(0, run.rc);
  EXPECT_EQ(
      "detect found=4 fits=0\n"
      "entry symbol=MIN name=MIN period=I interval=5 first=20000103 firsttime=93000 last=20000103 "
      "lasttime=93000 records=1 file=2 fields=8\n",
      run.out);
}

TEST_F(DirVerbsTest, RecordsInFileOrder) {
  InfoRun run = RunInfo("records", {dir.path(), "ABC"});
  EXPECT_EQ(0, run.rc);
  EXPECT_EQ(
      "record date=20000103 time=-1 open=10 high=11 low=9.5 close=10.5 volume=1000\n"
      "record date=20000104 time=-1 open=0.1 high=12 low=10 close=11.5 volume=2000\n",
      run.out);
  run = RunInfo("records", {dir.path(), "MIN", "20"});
  EXPECT_EQ("record date=20000103 time=93000 open=1 high=2 low=1 close=2 volume=3\n", run.out);
}

TEST_F(DirVerbsTest, EmptyDirectory) {
  TempDir empty;
  InfoRun run = RunInfo("dir", {empty.path()});
  EXPECT_EQ(0, run.rc);
  EXPECT_EQ("detect found=23 fits=1\n", run.out);
  run = RunInfo("dir", {empty.path(), "4"});
  EXPECT_EQ(0, run.rc);
  EXPECT_EQ("detect found=23 fits=1\n", run.out);
}

TEST_F(DirVerbsTest, BadInput) {
  struct Case {
    std::vector<std::string> args;
    int rc;
    std::string err;
  } cases[] = {
      {{"dir"}, 2, "kvqt-info: usage: kvqt-info dir DIR [FORMATID]\n"},
      {{"dir", "/nonexistent/dir"}, 1, "kvqt-info: /nonexistent/dir: not a directory\n"},
      {{"dir", dir.path(), "23"}, 1, "kvqt-info: 23: not a format id (0 to 22)\n"},
      {{"dir", dir.path(), "x"}, 1, "kvqt-info: x: not a format id (0 to 22)\n"},
      {{"records", dir.path()}, 2, "kvqt-info: usage: kvqt-info records DIR SYMBOL [FORMATID]\n"},
      {{"records", dir.path(), "NONE"}, 1, "kvqt-info: NONE: not found in " + dir.path() + "\n"},
      {{"records", dir.path(), "MIN"}, 1, "kvqt-info: MIN: not found in " + dir.path() + "\n"},
  };
  for (const Case& c : cases) {
    InfoRun run = RunInfo(c.args);
    EXPECT_EQ(c.rc, run.rc) << c.err;
    EXPECT_EQ(c.err, run.err);
  }
}

TEST_F(DirVerbsTest, DamagedFilesEndWithTheirMessage) {
  dir.write("f1.DAT", "short");
  InfoRun run = RunInfo("dir", {dir.path()});
  EXPECT_EQ(1, run.rc);
  EXPECT_EQ("detect found=4 fits=1\n", run.out);
  EXPECT_EQ("kvqt-info: " + dir.path() + ": Datafile corrupt: ABC (1)\n", run.err);

  dir.write("MASTER", std::string(20, '\0'));
  run = RunInfo("dir", {dir.path(), "4"});
  EXPECT_EQ(1, run.rc);
  EXPECT_EQ("kvqt-info: " + dir.path() + ": Masterfile corrupt: " + dir.path() + "MASTER\n", run.err);
}

}  // namespace
}  // namespace kvqt::info
