// The data manager's operations on its records, and Save and Close over
// MetaStock and ASCII data files written by the drivers.
#include "maintenance/data_manager.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/core/messages.h"
#include "maintenance_test_util.h"
#include "support/temp_dir.h"

namespace kvqt {
namespace {

using testing::Days;
using testing::Model;
using testing::ReadInstrument;
using testing::TempDir;
using testing::WriteInstrument;

class DataManagerTest : public ::testing::Test {
 protected:
  DataManager Open(int formatId, int records, std::optional<AnnouncedSplit> announced = std::nullopt) {
    model = std::make_unique<Model>(formatId, dir.path());
    WriteInstrument(dir.path(), formatId, "ABC", Days(records, 100, 1000), "Abc Corp");
    Datafile& datafile = model->add("ABC", "Abc Corp", records);
    return DataManager(model->format, *model->directory, datafile,
                       RecordArray(ReadInstrument(dir.path(), formatId, "ABC")), announced);
  }
  std::vector<std::string> Shown() {
    std::vector<std::string> texts;
    for (const auto& shown : messages.get().shown()) texts.push_back(shown.text);
    return texts;
  }

  TempDir dir;
  ScopedMessages messages;
  std::unique_ptr<Model> model;
};

TEST_F(DataManagerTest, OpensWithTheRangeOfItsRecordsAndTheLastOneSelected) {
  DataManager m = Open(4, 10);
  EXPECT_EQ(10, m.count());
  EXPECT_EQ("3/1/2000 - 12/1/2000", m.rangeText());
  EXPECT_EQ("prices (10)", m.groupText());
  EXPECT_TRUE(m.recordsEnabled());
  EXPECT_EQ(10, m.openingRecord());
  EXPECT_EQ("1.00", m.factorText());
  EXPECT_EQ("ABC", m.symbolText());
  EXPECT_EQ("Abc Corp", m.nameText());
  EXPECT_TRUE(m.nameEditable());
  EXPECT_FALSE(m.modified());
}

TEST_F(DataManagerTest, SplitOpeningSelectsTheFirstRecordOnOrAfterTheSplitDate) {
  struct Case {
    Date date;
    int record;
  } cases[] = {{Date(2000, 1, 6), 4}, {Date(2000, 1, 12), 10}, {Date(2000, 2, 1), 10}};
  model = std::make_unique<Model>(5, dir.path());
  Datafile& datafile = model->add("ABC", "Abc Corp", 10);
  for (const Case& c : cases) {
    DataManager m(model->format, *model->directory, datafile, RecordArray(Days(10, 100, 1000)),
                  AnnouncedSplit{c.date, 0.5f});
    EXPECT_EQ(c.record, m.openingRecord()) << c.date.value();
  }
}

TEST_F(DataManagerTest, EditStoresTheFieldsAndMarksModified) {
  DataManager m = Open(5, 3);
  m.editRecord(2, PriceFields{"1", "2", "0.5", "1.5", "abc"});
  EXPECT_TRUE(m.modified());
  EXPECT_EQ(1.0f, m.record(2).open);
  EXPECT_EQ(1.5f, m.record(2).close);
  EXPECT_EQ(0.0f, m.record(2).volume);
  EXPECT_EQ(100.0f, m.record(1).close);
}

TEST_F(DataManagerTest, GotoChoosesTheFirstRecordOnOrAfterTheDate) {
  DataManager m = Open(5, 10);  // 3 to 12 January
  EXPECT_EQ("12/1/2000", m.gotoText(0));
  EXPECT_EQ("5/1/2000", m.gotoText(3));
  struct Case {
    const char* text;
    int selected;
    int record;
  } cases[] = {{"6/1/2000", 0, 4}, {"20000101", 5, 1}, {"1-2-2000", 5, 5}, {"1-2-2000", 0, 10}};
  for (const Case& c : cases) EXPECT_EQ(c.record, m.gotoDate(c.text, c.selected)) << c.text;
  EXPECT_TRUE(messages->shown().empty());
  EXPECT_EQ(0, m.gotoDate("31/2/2000", 5));
  EXPECT_EQ(std::vector<std::string>{"Invalid date\n\nEnter as YYYYMMDD or D/M/YYYY"}, Shown());
}

TEST_F(DataManagerTest, DeleteAsksFirstAndScrollsToTheFirstDeletedPosition) {
  DataManager m = Open(5, 6);  // 3 to 8 January
  EXPECT_EQ(0, m.deleteRecords({}));
  EXPECT_TRUE(messages->shown().empty());
  EXPECT_EQ(0, m.deleteRecords({2}));  // answered No
  EXPECT_EQ(6, m.count());
  EXPECT_FALSE(m.modified());

  messages->answerNext(true);
  EXPECT_EQ(2, m.deleteRecords({4, 2}));
  EXPECT_EQ(std::vector<std::string>(2, "Delete data for selected dates?"), Shown());
  ASSERT_EQ(4, m.count());
  EXPECT_EQ(Date(2000, 1, 5), m.record(2).date);
  EXPECT_EQ(Date(2000, 1, 7), m.record(3).date);
  EXPECT_TRUE(m.modified());

  messages->answerNext(true);
  EXPECT_EQ(3, m.deleteRecords({4}));  // the position is gone: the last record
  EXPECT_EQ("3/1/2000 - 7/1/2000", m.rangeText());
}

TEST_F(DataManagerTest, DeletingTheLastRecordsMovesTheRangeAndTheRowToScrollTo) {
  struct Case {
    std::vector<int> deleted;
    int scrollTo;
    const char* range;
    const char* group;
  } cases[] = {
      {{6}, 5, "3/1/2000 - 7/1/2000", "prices (5)"},
      {{5, 6}, 4, "3/1/2000 - 6/1/2000", "prices (4)"},
      {{1, 6}, 1, "4/1/2000 - 7/1/2000", "prices (4)"},
      {{2, 3, 4, 5, 6}, 1, "3/1/2000 - 3/1/2000", "prices (1)"},
      // Last before first marks the empty file.
      {{1, 2, 3, 4, 5, 6}, 0, "3/1/2000 - 2/1/2000", "prices (none)"},
  };
  for (const Case& c : cases) {
    // In memory only: nothing is saved.
    Model records(5, dir.path());
    DataManager m(records.format, *records.directory, records.add("ABC", "Abc Corp", 6),
                  RecordArray(Days(6, 100, 1000)));  // 3 to 8 January
    messages->answerNext(true);
    EXPECT_EQ(c.scrollTo, m.deleteRecords(c.deleted)) << c.range;
    EXPECT_EQ(c.range, m.rangeText());
    EXPECT_EQ(c.group, m.groupText());
    EXPECT_EQ(6 - static_cast<int>(c.deleted.size()), m.count());
    EXPECT_TRUE(m.modified());
  }
}

TEST_F(DataManagerTest, DeletingAllRecordsSavesAnEmptyFileEndingTheDayBeforeItsFirstDate) {
  DataManager m = Open(4, 5);
  messages->answerNext(true);
  EXPECT_EQ(0, m.deleteRecords({1, 2, 3, 4, 5}));
  EXPECT_EQ(0, m.count());
  EXPECT_EQ("prices (none)", m.groupText());
  EXPECT_FALSE(m.recordsEnabled());
  EXPECT_EQ("3/1/2000 - 2/1/2000", m.rangeText());

  ASSERT_EQ(0, m.saveAndClose(m.nameText(), m.symbolText(), m.factorText()));
  EXPECT_TRUE(ReadInstrument(dir.path(), 4, "ABC").empty());
  DatafileEntry entry;
  ASSERT_EQ(0, FindEntry("ABC", entry, 4, dir.path(), kScanReadHeader));
  EXPECT_EQ(1, entry.recordCount);  // the header record only
  EXPECT_EQ(Date(2000, 1, 3), entry.firstDate);
  EXPECT_EQ(Date(2000, 1, 2), entry.lastDate);
  EXPECT_EQ(0, m.datafile().recordCount());
  EXPECT_EQ(Date(2000, 1, 2), m.datafile().lastDate());
}

TEST_F(DataManagerTest, TwoForOneSplitSavedToMetaStock) {
  DataManager m = Open(4, 10);
  SplitProposal p = m.proposeSplit(6);  // records 1 to 5 jump from 100 to 100: 1 for 1
  EXPECT_TRUE(m.splitProposed());
  EXPECT_EQ(5, p.endIndex);
  EXPECT_EQ(SplitFormError::kNone, m.split("3/1/2000", "7/1/2000", "1", "2"));
  ASSERT_EQ(0, m.saveAndClose(m.nameText(), m.symbolText(), m.factorText()));
  std::vector<PriceRecord> back = ReadInstrument(dir.path(), 4, "ABC");
  ASSERT_EQ(10u, back.size());
  for (std::size_t i = 0; i < back.size(); ++i) {
    EXPECT_EQ(i < 5 ? 50.0f : 100.0f, back[i].close) << i;
    EXPECT_EQ(i < 5 ? 2000.0f : 1000.0f, back[i].volume) << i;
  }
  EXPECT_EQ(10, m.datafile().recordCount());
  EXPECT_EQ(Date(2000, 1, 12), m.datafile().lastDate());
  EXPECT_TRUE(messages->shown().empty());
}

TEST_F(DataManagerTest, SplitFormErrorsKeepTheRecords) {
  DataManager m = Open(5, 4);
  EXPECT_EQ(SplitFormError::kFactorA, m.split("3/1/2000", "7/1/2000", "0", "2"));
  EXPECT_EQ(SplitFormError::kStartDate, m.split("", "7/1/2000", "1", "2"));
  EXPECT_EQ((std::vector<std::string>{"Illegal split factor", "Invalid start date\n\nEnter as YYYYMMDD or D/M/YYYY"}),
            Shown());
  EXPECT_FALSE(m.modified());
  EXPECT_EQ(100.0f, m.record(1).close);
}

TEST_F(DataManagerTest, LastDayQuestionIsAskedOnlyOnTheLastRecordWithoutAnAnnouncedSplit) {
  DataManager m = Open(5, 4);
  messages->answerNext(true);
  EXPECT_EQ(4, m.proposeSplit(4).endIndex);
  EXPECT_EQ(3, m.proposeSplit(4).endIndex);  // answered No
  EXPECT_EQ(2, m.proposeSplit(3).endIndex);
  EXPECT_EQ(std::vector<std::string>(2, "Split also last day of datafile?"), Shown());
}

TEST_F(DataManagerTest, EditSavedToAsciiAndCancelWritesNothing) {
  {
    DataManager m = Open(5, 3);
    m.editRecord(1, PriceFields{"1", "2", "0.5", "1.5", "10"});
    // Closing without Save and Close: nothing is written.
  }
  std::string before = dir.read("ABC.prn");
  EXPECT_EQ("000103,100.000,100.000,100.000,100.000,1000\r\n", before.substr(0, before.find('\n') + 1));

  DataManager m(model->format, *model->directory, *model->directory->at(0),
                RecordArray(ReadInstrument(dir.path(), 5, "ABC")));
  m.editRecord(1, PriceFields{"1", "2", "0.5", "1.5", "10"});
  ASSERT_EQ(0, m.saveAndClose(m.nameText(), m.symbolText(), m.factorText()));
  EXPECT_EQ(
      "000103,1.000,2.000,0.500,1.500,10\r\n"
      "000104,100.000,100.000,100.000,100.000,1000\r\n"
      "000105,100.000,100.000,100.000,100.000,1000\r\n",
      dir.read("ABC.prn"));
}

TEST_F(DataManagerTest, UnchangedRecordsAreNotWritten) {
  DataManager m = Open(5, 3);
  std::filesystem::remove(dir.file("ABC.prn"));
  EXPECT_EQ(0, m.saveAndClose(m.nameText(), m.symbolText(), m.factorText()));
  EXPECT_FALSE(dir.exists("ABC.prn"));
  EXPECT_TRUE(messages->shown().empty());
}

TEST_F(DataManagerTest, FailedWriteKeepsTheDatafilesDatesAndSkipsTheQuestions) {
  DataManager m = Open(5, 3);
  messages->answerNext(true);
  m.deleteRecords({1});
  std::filesystem::remove(dir.file("master.kvq"));  // the entry is gone
  EXPECT_EQ(-1, m.saveAndClose("Other", "XYZ", "2"));
  EXPECT_EQ((std::vector<std::string>{"Delete data for selected dates?", "Error writing datafile"}), Shown());
  EXPECT_EQ(3, m.datafile().recordCount());
  EXPECT_EQ("ABC", m.datafile().symbol());
}

TEST_F(DataManagerTest, FactorFieldWithLettersReadsAsZeroAndIsOfferedForSaving) {
  DataManager m = Open(5, 2);
  m.datafile().setFactor(2.5f);
  messages->answerNext(true);
  m.saveFields(m.nameText(), m.symbolText(), "abc");
  EXPECT_EQ(std::vector<std::string>{"Factor has changed. Save changes?"}, Shown());
  EXPECT_EQ(1.0f, m.datafile().factor());  // 0 is stored as "no factor"

  messages->clear();
  m.saveFields(m.nameText(), m.symbolText(), "0.125");
  EXPECT_EQ(std::vector<std::string>{"Factor has changed. Save changes?"}, Shown());
  EXPECT_EQ(1.0f, m.datafile().factor());  // answered No

  messages->clear();
  m.saveFields(m.nameText(), m.symbolText(), "1.00");
  EXPECT_TRUE(Shown().empty());
}

TEST_F(DataManagerTest, RenameOnSaveRenamesTheEntryAndTheDatafile) {
  DataManager m = Open(5, 2);
  messages->answerNext(true);
  m.saveFields("New Name", "XYZ", m.factorText());
  EXPECT_EQ(std::vector<std::string>{"Name and/or symbol has changed. Save changes?"}, Shown());
  EXPECT_EQ("XYZ", m.datafile().symbol());
  EXPECT_EQ("New Name", m.datafile().name());
  EXPECT_EQ(2, m.datafile().recordCount());
  ASSERT_EQ(1, model->directory->size());
  EXPECT_EQ(&m.datafile(), model->directory->at(0));
  EXPECT_EQ(2u, ReadInstrument(dir.path(), 5, "XYZ").size());
  EXPECT_TRUE(dir.exists("XYZ.prn"));
}

TEST_F(DataManagerTest, RenameIsRefusedForASymbolThatNamesAPath) {
  DataManager m = Open(5, 2);
  messages->answerNext(true);
  m.saveFields(m.nameText(), "../X", m.factorText());
  EXPECT_EQ((std::vector<std::string>{"Name and/or symbol has changed. Save changes?", "Illegal symbol ../X"}),
            Shown());
  EXPECT_EQ("ABC", m.datafile().symbol());
  EXPECT_TRUE(dir.exists("ABC.prn"));
}

TEST_F(DataManagerTest, IncompleteRecordsAreNeverWrittenBack) {
  model = std::make_unique<Model>(5, dir.path());
  WriteInstrument(dir.path(), 5, "ABC", Days(3, 100, 1000));
  Datafile& datafile = model->add("ABC", "ABC", 3);
  DataManager m(model->format, *model->directory, datafile, RecordArray(Days(1, 100, 1000)), std::nullopt, false);
  messages->answerNext(true);
  m.deleteRecords({1});
  std::string before = dir.read("ABC.prn");
  EXPECT_EQ(-1, m.writeBack());
  EXPECT_EQ(before, dir.read("ABC.prn"));
}

}  // namespace
}  // namespace kvqt
