// The split-factor step over the symbol table and the configured chart
// directories, run by the headless step runner in a program directory of its own.
#include "maintenance/split_factors.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/path.h"

#include <algorithm>
#include <climits>

#include "app/core/action_info.h"
#include "app/runner/headless_progress.h"
#include "app/core/logs.h"
#include "app/core/messages.h"
#include "app/model/formats.h"
#include "formats/directory_refresh.h"
#include "maintenance/headless_data_manager.h"
#include "maintenance_test_util.h"
#include "service/symbols/sintable.h"
#include "support/temp_dir.h"

namespace kvqt {
namespace {

using testing::Days;
using testing::ReadInstrument;
using testing::RecordingView;
using testing::ScopedView;
using testing::TempDir;
using testing::WriteInstrument;

SinSplitFactor Split(std::int32_t sincode, const std::string& symbol, Date split_date, float factor,
                     bool applied = false) {
  SinSplitFactor r;
  r.sincode = sincode;
  r.record_date = Date(2000, 1, 1);
  r.symbol = symbol;
  r.split_date = split_date;
  r.factor = factor;
  r.name = symbol + " name";
  r.applied = applied;
  return r;
}

int g_followUpCalls = 0;
int FollowUp(StepRunner&, ActionInfo&, int&) {
  ++g_followUpCalls;
  return kStepFinished;
}

class SplitFactorsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char cwd[PATH_MAX];
    ASSERT_NE(nullptr, ::getcwd(cwd, sizeof cwd));
    oldCwd_ = cwd;
    ASSERT_EQ(0, ::chdir(program.path().c_str()));
    Logs::SetDirectory(program.path());
    Directory::SetRefreshHook(RefreshDirectory);
  }
  void TearDown() override {
    Directory::SetRefreshHook(nullptr);
    SetSplitFactorsFollowUp(nullptr, 0);
    Logs::SetDirectory("");
    ASSERT_EQ(0, ::chdir(oldCwd_.c_str()));
  }

  void Table(const std::vector<SinSplitFactor>& splits) {
    TSintable table(program.path());
    for (const SinSplitFactor& s : splits) ASSERT_EQ(1, table.addSplitFactor(s));
    for (const SinSplitFactor& s : splits)
      if (s.applied) table.setSplitFactorApplied(s.sincode, s.record_date, true);
    ASSERT_EQ(0, table.save());
  }

  // A format of `formatId` with one directory per path, each holding the symbols.
  Format& AddFormat(const std::string& name, int formatId, const std::vector<std::string>& paths,
                    const std::vector<std::string>& symbols, std::uint8_t flags = 0) {
    auto format = std::make_unique<Format>(name, name, formatId);
    format->setFormatflags(flags);
    for (const std::string& path : paths) {
      auto directory = std::make_unique<Directory>(path, formatId);
      for (const std::string& symbol : symbols) directory->add(std::make_unique<Datafile>(symbol, symbol, formatId, 30));
      format->addDirectory(std::move(directory));
    }
    Format* added = format.get();
    EXPECT_TRUE(formats.add(std::move(format)));
    return *added;
  }

  int Run() {
    ActionInfo action;
    action.formats = &formats;
    return progress.run(applySplitFactors, action, kApplySplitFactorsSteps);
  }

  std::vector<std::string> Shown() {
    std::vector<std::string> texts;
    for (const auto& shown : messages.get().shown()) texts.push_back(shown.text);
    return texts;
  }

  TempDir program, dirA, dirB, dirC;
  ScopedMessages messages;
  HeadlessProgress progress;
  Formats formats;
  RecordingView view;

 private:
  std::string oldCwd_;
};

TEST_F(SplitFactorsTest, SymbolInTwoDirectoriesOpensTwiceAndASymbolWithoutDataFileIsRemoved) {
  WriteInstrument(dirA.path(), 4, "ABC", Days(5, 100, 1000));
  WriteInstrument(dirB.path(), 4, "ABC", Days(5, 100, 1000));
  WriteInstrument(dirC.path(), 4, "ABC", Days(5, 100, 1000));
  AddFormat("MetaStock", 4, {dirA.path(), dirB.path()}, {"ABC", "DEF"});
  // Formats whose directories are not scanned take no part.
  AddFormat("NoScan", 4, {dirC.path()}, {"ABC"}, FormatFlag::NoMasterScan);
  Table({Split(1, "ZZZ", Date(2000, 1, 5), 0.5f), Split(2, "ABC", Date(2000, 1, 5), 0.5f),
         Split(3, "abc", Date(2000, 1, 5), 0.5f), Split(4, "ABC", Date(2000, 1, 6), 0.5f, true)});
  ScopedView installed{view};

  EXPECT_EQ(1, Run());

  ASSERT_EQ(2u, view.shown.size());
  // Directories in path order, which ignores case.
  std::vector<std::string> expected{dirA.path(), dirB.path()};
  std::sort(expected.begin(), expected.end(),
            [](const std::string& a, const std::string& b) { return platform::CompareNoCase(a, b) < 0; });
  EXPECT_EQ(expected, (std::vector<std::string>{view.shown[0].directory, view.shown[1].directory}));
  for (const auto& shown : view.shown) {
    EXPECT_EQ("ABC", shown.symbol);
    EXPECT_TRUE(shown.announced);
    EXPECT_EQ(5, shown.count);
    EXPECT_EQ(3, shown.opening);
  }
  TSintable table(program.path());
  ASSERT_EQ(2, table.splitFactorCount());
  EXPECT_EQ(nullptr, table.findSplitFactor(1, Date(2000, 1, 1)));  // no data file
  EXPECT_EQ(nullptr, table.findSplitFactor(3, Date(2000, 1, 1)));  // symbols compare case-sensitively
  ASSERT_NE(nullptr, table.findSplitFactor(2, Date(2000, 1, 1)));
  EXPECT_TRUE(table.findSplitFactor(2, Date(2000, 1, 1))->applied);
  ASSERT_NE(nullptr, table.findSplitFactor(4, Date(2000, 1, 1)));  // passed over
  EXPECT_EQ(std::vector<std::string>{"Write to database"}, progress.statusLines());
  EXPECT_TRUE(Shown().empty());
}

TEST_F(SplitFactorsTest, HeadlessRunSplitsEveryDataFileOfTheSymbolOnce) {
  WriteInstrument(dirA.path(), 4, "ABC", Days(10, 100, 1000));
  WriteInstrument(dirB.path(), 5, "ABC", Days(10, 100, 1000));
  AddFormat("MetaStock", 4, {dirA.path()}, {"ABC"});
  AddFormat("Ascii", 5, {dirB.path()}, {"ABC"});
  Table({Split(2, "ABC", Date(2000, 1, 8), 0.5f)});
  HeadlessDataManager headless;
  ScopedView installed{headless};

  EXPECT_EQ(1, Run());

  for (auto [path, id] : {std::pair{dirA.path(), 4}, std::pair{dirB.path(), 5}}) {
    std::vector<PriceRecord> back = ReadInstrument(path, id, "ABC");
    ASSERT_EQ(10u, back.size()) << path;
    for (std::size_t i = 0; i < back.size(); ++i) EXPECT_EQ(i < 5 ? 50.0f : 100.0f, back[i].close) << path << i;
  }
  std::string report = program.read("kvqt.rpt");
  EXPECT_NE(std::string::npos, report.find("Split 2.00 for 1.00 from 3/1/2000 to 7/1/2000: ABC in " + dirA.path()));
  EXPECT_NE(std::string::npos, report.find("Saved ABC in " + dirB.path() + ", 10 records"));
  TSintable table(program.path());
  ASSERT_EQ(1, table.splitFactorCount());
  EXPECT_TRUE(table.splitFactor(0)->applied);

  // A second run finds the split applied and leaves the data alone.
  std::string before = dirA.read("f1.DAT");
  EXPECT_EQ(1, Run());
  EXPECT_EQ(before, dirA.read("f1.DAT"));
}

TEST_F(SplitFactorsTest, DirectoryWithoutMasterIsReportedAndTheOthersStillHandled) {
  WriteInstrument(dirB.path(), 4, "ABC", Days(5, 100, 1000));
  AddFormat("MetaStock", 4, {dirA.path(), dirB.path()}, {"ABC"});
  Table({Split(2, "ABC", Date(2000, 1, 5), 0.5f)});
  ScopedView installed{view};

  EXPECT_EQ(1, Run());

  EXPECT_EQ(std::vector<std::string>{"Can't access Masterfile of directory " + dirA.path()}, Shown());
  ASSERT_EQ(1u, view.shown.size());
  EXPECT_EQ(dirB.path(), view.shown[0].directory);
  TSintable table(program.path());
  ASSERT_EQ(1, table.splitFactorCount());
  EXPECT_TRUE(table.splitFactor(0)->applied);
}

TEST_F(SplitFactorsTest, FollowUpStepTakesOverAfterTheTableIsWritten) {
  AddFormat("MetaStock", 4, {dirA.path()}, {"ABC"});
  Table({Split(1, "ZZZ", Date(2000, 1, 5), 0.5f)});
  SetSplitFactorsFollowUp(FollowUp, 2);
  g_followUpCalls = 0;

  EXPECT_EQ(1, Run());

  EXPECT_EQ(1, g_followUpCalls);
  EXPECT_EQ(0, TSintable(program.path()).splitFactorCount());
}

TEST_F(SplitFactorsTest, EmptyTableGoesStraightToTheEnd) {
  AddFormat("MetaStock", 4, {dirA.path()}, {"ABC"});
  ScopedView installed{view};
  EXPECT_EQ(1, Run());
  EXPECT_TRUE(view.shown.empty());
  EXPECT_FALSE(program.exists("kvqt.sdb"));
  EXPECT_EQ(std::vector<std::string>{"Write to database"}, progress.statusLines());
}

}  // namespace
}  // namespace kvqt
