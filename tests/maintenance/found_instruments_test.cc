// Adding several instruments found in the catalogue: the add-confirm checks
// and the entries made.
#include "maintenance/found_instruments.h"

#include <gtest/gtest.h>

#include "app/model/datafile.h"
#include "datetime/parse_date.h"
#include "instruments_test_util.h"

namespace kvqt {
namespace {

TEST(AddConfirmTest, IntervalThenStartDate) {
  struct Case {
    const char* start;
    const char* interval;
    bool withInterval;
    int rc;
    const char* shown;
    bool intervalAtFault;
    int value;
  } cases[] = {
      {"3/1/2000", "", true, 0, nullptr, false, 15},
      {"3/1/2000", "  ", true, 0, nullptr, false, 15},
      {"3/1/2000", "60", true, 0, nullptr, false, 60},
      {"3/1/2000", "0", true, -1, "Invalid interval (1-60)", true, 0},
      {"3/1/2000", "61", true, -1, "Invalid interval (1-60)", true, 0},
      {"bad", "61", true, -1, "Invalid interval (1-60)", true, 0},
      {"bad", "5", true, -1, kInvalidStartDateText, false, 5},
      {"", "", false, -1, kInvalidStartDateText, false, 0},
      {"20000103", "junk", false, 0, nullptr, false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.start) + "|" + c.interval);
    ScopedMessages messages;
    AddConfirmValues values;
    bool intervalAtFault = true;
    EXPECT_EQ(c.rc, ReadAddConfirm(c.start, c.interval, c.withInterval, values, &intervalAtFault));
    EXPECT_EQ(c.intervalAtFault, intervalAtFault);
    if (c.rc == 0) {
      EXPECT_EQ(Date(2000, 1, 3), values.start);
      EXPECT_EQ(c.value, values.interval);
      EXPECT_TRUE(messages->shown().empty());
    } else {
      ASSERT_EQ(1u, messages->shown().size());
      EXPECT_EQ(c.shown, messages->shown()[0].text);
    }
  }
}

TEST(AddConfirmTest, Question) { EXPECT_EQ("\nAdd the 3 selected instruments?", AddConfirmQuestion(3)); }

class FoundInstrumentsTest : public testing::InstrumentsTest {};

TEST_F(FoundInstrumentsTest, EachNewOneIsAddedEmptyFromTheStartDate) {
  Format& format = Use(20);
  ASSERT_EQ(1, addFoundInstruments(std::vector<FoundInstrument>{{"OLD", "Old"}}, {Date(1999, 1, 1), 5}, format,
                                   *directory));
  messages->clear();
  const std::vector<FoundInstrument> found = {{"ABC", "Abc Corp"}, {"OLD", "Old"}, {"DEF", "Def Holding"}};
  EXPECT_EQ(2, addFoundInstruments(found, {Date(2000, 1, 3), 30}, format, *directory));
  EXPECT_EQ(std::vector<std::string>{"Symbol exists already, no file created OLD"}, Shown());
  ASSERT_EQ(3, directory->size());
  for (const char* symbol : {"ABC", "DEF"}) {
    const Datafile* datafile = directory->bySymbol(symbol);
    ASSERT_NE(nullptr, datafile) << symbol;
    EXPECT_EQ('I', datafile->per());
    EXPECT_EQ(30, datafile->interval());
    EXPECT_EQ(Date(2000, 1, 3), datafile->firstDate());
    // Added from the catalogue: the day before, also for intraday formats.
    EXPECT_EQ(Date(2000, 1, 2).value(), datafile->lastDate().value());
    EXPECT_FLOAT_EQ(1.0f, datafile->factor());
  }
  EXPECT_EQ(3u, Entries(20).size());
}

TEST_F(FoundInstrumentsTest, DailyFormatsGetNoIntervalAndNamesTheyCanKeep) {
  Format& format = Use(5);
  format.setMaxNameLength(10);
  const std::vector<FoundInstrument> found = {{"ABC", "Abc Corporation Holding"}};
  EXPECT_EQ(1, addFoundInstruments(found, {Date(2000, 1, 3), 15}, format, *directory));
  EXPECT_TRUE(Shown().empty());
  const Datafile* datafile = directory->bySymbol("ABC");
  ASSERT_NE(nullptr, datafile);
  EXPECT_EQ("Abc Corpor", datafile->name());
  EXPECT_EQ(0, datafile->interval());
  EXPECT_EQ('D', datafile->per());
}

TEST_F(FoundInstrumentsTest, SymbolThatNamesNoFileIsPassedOver) {
  Format& format = Use(5);
  const std::vector<FoundInstrument> found = {{"A/B", "Slash"}, {"CD", "Fine"}};
  EXPECT_EQ(1, addFoundInstruments(found, {Date(2000, 1, 3), 0}, format, *directory));
  EXPECT_EQ(std::vector<std::string>{"Cannot add datafile A/B"}, Shown());
  EXPECT_EQ(1u, Entries(5).size());
}

}  // namespace
}  // namespace kvqt
