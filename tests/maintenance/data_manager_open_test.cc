// Opening the data manager from the file manager and for an announced split,
// and the headless data manager that batch runs use.
#include "maintenance/data_manager_open.h"

#include <gtest/gtest.h>

#include <climits>

#include "app/core/logs.h"
#include "app/core/messages.h"
#include "maintenance/headless_data_manager.h"
#include "maintenance_test_util.h"
#include "support/temp_dir.h"

namespace kvqt {
namespace {

using testing::Days;
using testing::Model;
using testing::ReadInstrument;
using testing::RecordingView;
using testing::ScopedView;
using testing::TempDir;
using testing::WriteInstrument;

class DataManagerOpenTest : public ::testing::Test {
 protected:
  void SetUp() override { Logs::SetDirectory(logs.path()); }
  void TearDown() override { Logs::SetDirectory(""); }

  std::vector<std::string> Shown() {
    std::vector<std::string> texts;
    for (const auto& shown : messages.get().shown()) texts.push_back(shown.text);
    return texts;
  }

  TempDir dir;
  TempDir logs;
  ScopedMessages messages;
  RecordingView view;
  ScopedView installed{view};
};

TEST_F(DataManagerOpenTest, EmptyDataFileOpensFromTheFileManagerWithNothingToDo) {
  WriteInstrument(dir.path(), 4, "ABC", {}, "Abc Corp");
  Model model(4, dir.path());
  Datafile& datafile = model.add("ABC", "Abc Corp", 0);
  EXPECT_EQ(1, OpenDataManager(model.format, *model.directory, datafile));
  ASSERT_EQ(1u, view.shown.size());
  EXPECT_EQ(0, view.shown[0].count);
  EXPECT_EQ("prices (none)", view.shown[0].group);
  EXPECT_FALSE(view.shown[0].enabled);
  EXPECT_EQ(0, view.shown[0].opening);
  EXPECT_TRUE(Shown().empty());
}

TEST_F(DataManagerOpenTest, AllRecordsAreReadWhateverTheCachedCountSays) {
  WriteInstrument(dir.path(), 5, "ABC", Days(7, 100, 1000));
  Model model(5, dir.path());
  Datafile& stale = model.add("ABC", "ABC", 3);
  EXPECT_EQ(1, OpenDataManager(model.format, *model.directory, stale));
  ASSERT_EQ(1u, view.shown.size());
  EXPECT_EQ(7, view.shown[0].count);
}

TEST_F(DataManagerOpenTest, UnknownCountIsTakenFromTheMaster) {
  WriteInstrument(dir.path(), 4, "ABC", Days(7, 100, 1000));
  Model model(4, dir.path());
  EXPECT_EQ(7, ManagedRecordCount(model.format, *model.directory, model.add("ABC", "ABC", -1)));
  EXPECT_EQ(-1, ManagedRecordCount(model.format, *model.directory, model.add("NONE", "NONE", -1)));
}

TEST_F(DataManagerOpenTest, TooLargeCountIsRefusedOnBothPaths) {
  WriteInstrument(dir.path(), 5, "ABC", Days(2, 100, 1000));
  Model model(5, dir.path());
  Datafile& datafile = model.add("ABC", "Abc Corp", INT_MAX);
  EXPECT_EQ(-1, OpenDataManager(model.format, *model.directory, datafile));
  EXPECT_EQ(-1, OpenDataManagerForSplit(model.format, *model.directory, datafile,
                                        AnnouncedSplit{Date(2000, 1, 4), 0.5f}));
  EXPECT_EQ((std::vector<std::string>{"Datafile too large for Datamanager",
                                      "Datafile too large for Datamanager Abc Corp"}),
            Shown());
  EXPECT_TRUE(view.shown.empty());
}

TEST_F(DataManagerOpenTest, SplitPathRefusesEmptyDataFiles) {
  WriteInstrument(dir.path(), 5, "ABC", {});
  Model model(5, dir.path());
  AnnouncedSplit split{Date(2000, 1, 4), 0.5f};
  EXPECT_EQ(-1, OpenDataManagerForSplit(model.format, *model.directory, model.add("ABC", "Abc Corp", 0), split));
  EXPECT_EQ(-1, OpenDataManagerForSplit(model.format, *model.directory, model.add("ABC", "Abc Two", 5), split));
  EXPECT_EQ((std::vector<std::string>{"Datafile empty " + dir.path() + " Abc Corp",
                                      "Datafile is empty " + dir.path() + " Abc Two"}),
            Shown());
  EXPECT_TRUE(view.shown.empty());
}

TEST_F(DataManagerOpenTest, SplitOnOrBeforeTheFirstRecordOpensNothing) {
  WriteInstrument(dir.path(), 5, "ABC", Days(5, 100, 1000));
  Model model(5, dir.path());
  Datafile& datafile = model.add("ABC", "ABC", 5);
  EXPECT_EQ(0, OpenDataManagerForSplit(model.format, *model.directory, datafile,
                                       AnnouncedSplit{Date(2000, 1, 3), 0.5f}));
  EXPECT_EQ(0, OpenDataManagerForSplit(model.format, *model.directory, datafile,
                                       AnnouncedSplit{Date(1999, 1, 3), 0.5f}));
  EXPECT_TRUE(view.shown.empty());
  EXPECT_EQ(1, OpenDataManagerForSplit(model.format, *model.directory, datafile,
                                       AnnouncedSplit{Date(2000, 1, 4), 0.5f}));
  ASSERT_EQ(1u, view.shown.size());
  EXPECT_TRUE(view.shown[0].announced);
  EXPECT_EQ(2, view.shown[0].opening);
  EXPECT_TRUE(Shown().empty());
}

TEST_F(DataManagerOpenTest, DataFileWithAnUnreadableLineIsShownButNeverWritten) {
  WriteInstrument(dir.path(), 5, "ABC", {});
  const std::string text =
      "000103,1.000,1.000,1.000,1.000,10\r\n"
      "garbage\r\n"
      "000105,3.000,3.000,3.000,3.000,30\r\n";
  dir.write("ABC.prn", text);
  Model model(5, dir.path());
  Datafile& datafile = model.add("ABC", "Abc Corp", 3);
  view.act = [&](DataManager& m) {
    messages->answerNext(true);
    m.deleteRecords({1});
    EXPECT_EQ(-1, m.saveAndClose(m.nameText(), m.symbolText(), m.factorText()));
  };
  EXPECT_EQ(1, OpenDataManager(model.format, *model.directory, datafile));
  ASSERT_EQ(1u, view.shown.size());
  EXPECT_EQ(1, view.shown[0].count);
  EXPECT_EQ(text, dir.read("ABC.prn"));
  EXPECT_EQ((std::vector<std::string>{"Datafile could not be read to its end; it cannot be saved Abc Corp",
                                      "Delete data for selected dates?", "Error writing datafile"}),
            Shown());
  // Nor is it split.
  messages->clear();
  EXPECT_EQ(-1, OpenDataManagerForSplit(model.format, *model.directory, datafile,
                                        AnnouncedSplit{Date(2000, 1, 4), 0.5f}));
  EXPECT_EQ(1u, view.shown.size());
  EXPECT_EQ(text, dir.read("ABC.prn"));
}

TEST_F(DataManagerOpenTest, HeadlessDataManagerAppliesTheProposedSplitSavesAndReports) {
  HeadlessDataManager manager;
  ScopedView headless{manager};
  Logs::DeleteReport();
  WriteInstrument(dir.path(), 4, "ABC", Days(10, 100, 1000), "Abc Corp");
  Model model(4, dir.path());
  Datafile& datafile = model.add("ABC", "Abc Corp", 10);
  // Announced for 8 January with factor 0.5: records 1 to 5 are halved.
  EXPECT_EQ(1, OpenDataManagerForSplit(model.format, *model.directory, datafile,
                                       AnnouncedSplit{Date(2000, 1, 8), 0.5f}));
  std::vector<PriceRecord> back = ReadInstrument(dir.path(), 4, "ABC");
  ASSERT_EQ(10u, back.size());
  for (std::size_t i = 0; i < back.size(); ++i) {
    EXPECT_EQ(i < 5 ? 50.0f : 100.0f, back[i].high) << i;
    EXPECT_EQ(i < 5 ? 2000.0f : 1000.0f, back[i].volume) << i;
  }
  EXPECT_EQ("Split 2.00 for 1.00 from 3/1/2000 to 7/1/2000: ABC in " + dir.path() +
                ", 5 records\r\nSaved ABC in " + dir.path() + ", 10 records\r\n",
            logs.read("kvqt.rpt"));
  EXPECT_TRUE(Shown().empty());

  // From the file manager the headless data manager changes nothing.
  std::string before = dir.read("f1.DAT");
  EXPECT_EQ(1, OpenDataManager(model.format, *model.directory, datafile));
  EXPECT_EQ(before, dir.read("f1.DAT"));
}

}  // namespace
}  // namespace kvqt
