// kvqt-info dir and records on Technical Investor, TopVest, Koersbase II and
// Hermes intraday directories: what the framework reads from them, and their
// damage reported in one line.
#include <gtest/gtest.h>

#include <cstdio>

#include "app/datafile/writer_settings.h"
#include "app/core/messages.h"
#include "format_test_util.h"
#include "tools/kvqt-info/info_run.h"
#include "support/temp_dir.h"

namespace kvqt::info {
namespace {

using kvqt::testing::Daily;
using kvqt::testing::Intraday;
using kvqt::testing::TempDir;

class ChartDirVerbsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = writerSettings();
    writerSettings().technicalInvestorFileType = 257;
    writerSettings().technicalInvestorMaxRecords = 5;
  }
  void TearDown() override { writerSettings() = saved_; }

  void Write(const std::string& dir, int id, const std::string& symbol, const std::string& name,
             const std::vector<PriceRecord>& records) {
    ScopedMessages quiet;
    DatafileEntry entry;
    ASSERT_EQ(1, CreateEntry(symbol, name, 0, entry, id, dir));
    ASSERT_EQ(0, kvqt::testing::AppendRecords(dir, id, entry, records));
  }

  WriterSettings saved_;
};

TEST_F(ChartDirVerbsTest, RingBufferDirectoryReadAsEitherFormat) {
  TempDir dir;
  Write(dir.path(), 0, "ABC", "Abc Corp",
        {Daily(Date(2000, 1, 3), 10, 11, 9.5f, 10.5f, 1000), Daily(Date(2000, 1, 4), 10.5f, 12, 10, 11.5f, 2000)});
  const std::string entry =
      "entry symbol=ABC name=\"Abc Corp\" period=D interval=0 first=20000103 firsttime=-1 last=20000104 "
      "lasttime=-1 records=2 file=0 fields=257\n";
  for (const std::vector<std::string>& args : {std::vector<std::string>{dir.path()}, {dir.path(), "0"}, {dir.path(), "8"}}) {
    InfoRun run = RunInfo("dir", args);
    EXPECT_EQ(0, run.rc);
    EXPECT_EQ("detect found=0 fits=1\n" + entry, run.out);
    EXPECT_EQ("", run.err);
  }
  // File type 257 keeps no open: it reads as the close.
  InfoRun run = RunInfo("records", {dir.path(), "ABC"});
  EXPECT_EQ(0, run.rc);
  EXPECT_EQ(
      "record date=20000103 time=-1 open=10.5 high=11 low=9.5 close=10.5 volume=1000\n"
      "record date=20000104 time=-1 open=11.5 high=12 low=10 close=11.5 volume=2000\n",
      run.out);
}

TEST_F(ChartDirVerbsTest, DirectoriesWithoutMasterNeedTheFormatId) {
  TempDir dir;
  Write(dir.path(), 6, "KB", "", {Daily(Date(2000, 1, 3), 0, 13, 12.25f, 12.75f, 70000)});
  Write(dir.path(), 22, "HK", "",
        {Intraday(Date(2001, 1, 2), Time(12, 0, 0), 0, 0, 0, 10.5f, 1234),
         Intraday(Date(2001, 1, 2), Time(12, 5, 0), 0, 0, 0, 10.75f, 10)});
  struct Case {
    std::string id;
    std::string out;
  } cases[] = {
      {"6",
       "detect found=23 fits=1\n"
       "entry symbol=KB name=KB period=D interval=0 first=20000103 firsttime=-1 last=20000103 lasttime=-1 "
       "records=1 file=0 fields=0\n"},
      {"22",
       "detect found=23 fits=1\n"
       "entry symbol=HK name=HK period=I interval=0 first=20010102 firsttime=120000 last=20010102 "
       "lasttime=120500 records=2 file=0 fields=0\n"},
  };
  for (const Case& c : cases) {
    InfoRun run = RunInfo("dir", {dir.path(), c.id});
    EXPECT_EQ(0, run.rc) << c.id;
    EXPECT_EQ(c.out, run.out);
  }
  InfoRun run = RunInfo("records", {dir.path(), "HK", "22"});
  EXPECT_EQ(
      "record date=20010102 time=120000 open=10.5 high=10.5 low=10.5 close=10.5 volume=1234\n"
      "record date=20010102 time=120500 open=10.75 high=10.75 low=10.75 close=10.75 volume=10\n",
      run.out);
  run = RunInfo("records", {dir.path(), "KB", "6"});
  EXPECT_EQ("record date=20000103 time=-1 open=0 high=13 low=12.25 close=12.75 volume=70000\n", run.out);
}

TEST_F(ChartDirVerbsTest, DamageEndsWithItsMessage) {
  TempDir dir;
  Write(dir.path(), 0, "ABC", "", {Daily(Date(2000, 1, 3), 10, 11, 9.5f, 10.5f, 1000)});
  dir.write("ABC.dS1", "short");
  InfoRun run = RunInfo("records", {dir.path(), "ABC"});
  EXPECT_EQ(1, run.rc);
  EXPECT_EQ("kvqt-info: ABC: Datafile corrupt: ABC\n", run.err);

  dir.write("master.dat", "not an index");
  run = RunInfo("dir", {dir.path()});
  EXPECT_EQ(1, run.rc);
  EXPECT_EQ("detect found=0 fits=1\n", run.out);
  EXPECT_EQ("kvqt-info: " + dir.path() + ": Masterfile corrupt: " + dir.path() + "master.dat\n", run.err);
}

}  // namespace
}  // namespace kvqt::info
