#include "app/model/datafile.h"

#include <gtest/gtest.h>

#include "app/core/personal_profile.h"
#include "support/temp_dir.h"

namespace kvqt {
namespace {

using kvqt::testing::TempDir;

TEST(DatafileTest, EmptyNameTakesTheSymbolAndTextsAreCutToTheirFields) {
  Datafile unnamed("ASML", "", 4, 30);
  EXPECT_EQ(unnamed.name(), "ASML");

  Datafile longer("ABCDEFGHIJ", std::string(60, 'n'), 4, 30);
  EXPECT_EQ(longer.symbol(), "ABCDEFGH");
  EXPECT_EQ(longer.name(), std::string(50, 'n'));
}

TEST(DatafileTest, MarketComesFromTheSetting) {
  TempDir dir;
  setProfilePath(dir.file("kvqt.ini"));
  EXPECT_EQ(Datafile("A", "a", 12).market(), 30);
  dir.write("kvqt.ini", "[configure]\norvistadefaultmarket=17\n");
  EXPECT_EQ(Datafile("A", "a", 12).market(), 17);
}

TEST(DatafileTest, FactorZeroReadsAsOne) {
  Datafile entry("A", "a", 4, 30);
  EXPECT_EQ(entry.factor(), 1.0f);
  entry.setFactor(0.0f);
  EXPECT_EQ(entry.factor(), 1.0f);
  entry.setFactor(0.5f);
  EXPECT_EQ(entry.factor(), 0.5f);
}

TEST(DatafileTest, CreatedWithNullDatesAndDailyPeriod) {
  Datafile entry("A", "a", 4, 30);
  EXPECT_TRUE(entry.firstDate().isNull());
  EXPECT_TRUE(entry.firstTime().isNull());
  EXPECT_TRUE(entry.lastDate().isNull());
  EXPECT_TRUE(entry.lastTime().isNull());
  EXPECT_EQ(entry.per(), 'D');
  EXPECT_FALSE(entry.seen());
  EXPECT_FALSE(entry.selected());
}

TEST(DatafileTest, SettingDatesMarksTheEntrySeen) {
  Datafile entry("A", "a", 4, 30);
  entry.setDates(Date(2024, 1, 2), Date(2024, 3, 4), 12);
  EXPECT_TRUE(entry.seen());
  EXPECT_EQ(entry.recordCount(), 12);
  EXPECT_TRUE(entry.firstTime().isNull());

  Datafile intraday("B", "b", 20, 30);
  intraday.setDates(Date(2024, 1, 2), Time(9, 0, 0), Date(2024, 1, 2), Time(17, 30, 0), 100);
  EXPECT_TRUE(intraday.seen());
  EXPECT_EQ(intraday.lastTime().hhmmss(), 173000);
}

TEST(DatafileTest, ColumnTexts) {
  Datafile entry("ASML", "ASML Holding", 20, 30);
  entry.setDates(Date(2024, 1, 2), Time(9, 5, 0), Date(2024, 11, 29), Time(17, 30, 15), 100);
  Datafile selected = entry;
  selected.toggleSelected();

  struct Case {
    const Datafile* entry;
    int column;
    const char* text;
  } cases[] = {
      {&entry, 0, "ASML Holding"},
      {&selected, 0, "ASML Holding\tSelected"},
      {&entry, 1, "ASML Holding"},
      {&selected, 1, "ASML Holding"},
      {&entry, 2, "ASML"},
      {&entry, 3, ""},
      {&entry, 4, "02/01/2024"},
      {&entry, 5, "02/01/2024 09:05"},
      {&entry, 6, "29/11/2024"},
      {&entry, 7, "29/11/2024 17:30"},
      {&entry, 8, ""},
      {&selected, 8, "Selected"},
      {&entry, 9, ""},
      {&entry, -1, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.entry->text(c.column), c.text) << "column " << c.column;
  }
}

TEST(DatafileTest, OrderIsByNameThenSymbolByteWise) {
  struct Case {
    const char* nameA;
    const char* symbolA;
    const char* nameB;
    const char* symbolB;
    bool less;
  } cases[] = {
      {"Aegon", "ZZ", "Ahold", "AA", true},
      {"Ahold", "AA", "Aegon", "ZZ", false},
      {"Same", "A", "Same", "B", true},
      {"Same", "B", "Same", "A", false},
      {"Same", "A", "Same", "A", false},
      {"Zed", "A", "abc", "A", true},  // capitals before lower case
  };
  for (const Case& c : cases) {
    Datafile a(c.symbolA, c.nameA, 4, 30), b(c.symbolB, c.nameB, 4, 30);
    EXPECT_EQ(Datafile::Less(a, b), c.less) << c.nameA << "/" << c.symbolA << " vs " << c.nameB << "/" << c.symbolB;
  }
}

}  // namespace
}  // namespace kvqt
