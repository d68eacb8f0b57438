// Adding one instrument by hand: the checks of the file manager's fields, the
// questions, and the entry, data file and Datafile made.
#include "maintenance/add_instrument.h"

#include <gtest/gtest.h>

#include "app/model/datafile.h"
#include "datetime/parse_date.h"
#include "instruments_test_util.h"

namespace kvqt {
namespace {

constexpr int kMetastock = 4;
constexpr int kMetastockIntraday = 20;
constexpr int kAscii = 5;

class AddInstrumentTest : public testing::InstrumentsTest {
 protected:
  static AddInstrumentFields Fields(std::string_view name, std::string_view symbol,
                                    std::string_view start = "3/1/2000", std::string_view factor = "1.00",
                                    std::string_view interval = "") {
    return {name, symbol, start, factor, interval};
  }
};

TEST_F(AddInstrumentTest, RefusedFields) {
  struct Case {
    int formatId;
    AddInstrumentFields fields;
    InstrumentField field;
    const char* shown;
  } cases[] = {
      {kMetastock, Fields("Abc", ""), InstrumentField::kSymbol, "Enter symbol"},
      {kMetastock, Fields("Abc", "   "), InstrumentField::kSymbol, "Enter symbol"},
      {kMetastock, Fields("Abc", "AB C"), InstrumentField::kSymbol, "Spaces not allowed in symbol"},
      {kMetastock, Fields("Abc", " ABC"), InstrumentField::kSymbol, "Spaces not allowed in symbol"},
      {kMetastock, Fields("Abc", "ABC", ""), InstrumentField::kStartDate, kInvalidStartDateText},
      {kMetastock, Fields("Abc", "ABC", "32/1/2000"), InstrumentField::kStartDate, kInvalidStartDateText},
      {kMetastock, Fields("Abc", "ABC", "3/1/2000", "0"), InstrumentField::kFactor, "Factor not allowed"},
      {kMetastock, Fields("Abc", "ABC", "3/1/2000", "x"), InstrumentField::kFactor, "Factor not allowed"},
      {kMetastockIntraday, Fields("Abc", "ABC", "3/1/2000", "1", "0"), InstrumentField::kInterval,
       "Invalid interval (1-60)"},
      {kMetastockIntraday, Fields("Abc", "ABC", "3/1/2000", "1", "61"), InstrumentField::kInterval,
       "Invalid interval (1-60)"},
      {kMetastockIntraday, Fields("Abc", "ABC", "3/1/2000", "1", ""), InstrumentField::kInterval,
       "Invalid interval (1-60)"},
      {kMetastockIntraday, Fields("Abc", "ABC", "3/1/2000", "1", "5x"), InstrumentField::kInterval,
       "Invalid interval (1-60)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.fields.symbol) + "|" + std::string(c.fields.startDate) + "|" +
                 std::string(c.fields.factor) + "|" + std::string(c.fields.interval));
    messages->clear();
    Format& format = Use(c.formatId);
    AddInstrumentResult added = addInstrument(c.fields, format, directory);
    EXPECT_EQ(kAddRefused, added.result);
    EXPECT_EQ(c.field, added.field);
    EXPECT_EQ(std::vector<std::string>{c.shown}, Shown());
    EXPECT_EQ(nullptr, added.datafile);
    EXPECT_FALSE(dir.exists("MASTER"));
  }
}

TEST_F(AddInstrumentTest, NameIsWrittenBackOnceSymbolAndDateHavePassed) {
  Format& format = Use(kMetastock);
  EXPECT_FALSE(addInstrument(Fields("Abc   ", "ABC", "bad"), format, directory).writeBackName);
  AddInstrumentResult refused = addInstrument(Fields("Abc   ", "ABC", "3/1/2000", "0"), format, directory);
  EXPECT_TRUE(refused.writeBackName);
  EXPECT_EQ("Abc", refused.name);
}

TEST_F(AddInstrumentTest, NothingHappensWithoutAddInstrumentsOrADirectory) {
  Format& technical = Use(0);
  EXPECT_EQ(kAddNotSupported, addInstrument(Fields("Abc", "ABC"), technical, directory).result);
  EXPECT_TRUE(Shown().empty());
  Format& metastock = Use(kMetastock);
  EXPECT_EQ(kAddRefused, addInstrument(Fields("Abc", "ABC"), metastock, nullptr).result);
  EXPECT_EQ(std::vector<std::string>{"Select directory"}, Shown());
}

TEST_F(AddInstrumentTest, DailyInstrumentStartsEmptyTheDayBeforeItsStart) {
  Format& format = Use(kMetastock);
  const char* starts[] = {"3/1/2000", "3-1-2000", "20000103"};
  int n = 0;
  for (const char* start : starts) {
    const std::string symbol = "S" + std::to_string(++n);
    AddInstrumentResult added = addInstrument(Fields("Some Name", symbol, start, "2.5"), format, directory);
    ASSERT_EQ(kInstrumentAdded, added.result) << start;
    ASSERT_NE(nullptr, added.datafile);
    EXPECT_EQ(added.datafile, directory->bySymbol(symbol));
    EXPECT_EQ("Some Name", added.datafile->name());
    EXPECT_EQ('D', added.datafile->per());
    EXPECT_EQ(Date(2000, 1, 3), added.datafile->firstDate());
    EXPECT_EQ(Date(2000, 1, 2).value(), added.datafile->lastDate().value());
    EXPECT_FLOAT_EQ(2.5f, added.datafile->factor());
    EXPECT_EQ(0, added.datafile->interval());
    EXPECT_FALSE(added.rememberInterval);
  }
  auto entries = Entries(kMetastock);
  ASSERT_EQ(3u, entries.size());
  EXPECT_EQ(Date(2000, 1, 3), entries[2].firstDate);
  EXPECT_EQ(Date(2000, 1, 2).value(), entries[2].lastDate.value());
  EXPECT_TRUE(Shown().empty());
}

TEST_F(AddInstrumentTest, IntradayInstrumentTypedByHandShowsItsStartAsLastDate) {
  Format& format = Use(kMetastockIntraday);
  AddInstrumentResult added = addInstrument(Fields("Abc", "ABC", "3/1/2000", "1", " 5 "), format, directory);
  ASSERT_EQ(kInstrumentAdded, added.result);
  EXPECT_TRUE(added.rememberInterval);
  EXPECT_EQ(5, added.interval);
  EXPECT_EQ('I', added.datafile->per());
  EXPECT_EQ(5, added.datafile->interval());
  EXPECT_EQ(Date(2000, 1, 3), added.datafile->lastDate());
  auto entries = Entries(kMetastockIntraday);
  ASSERT_EQ(1u, entries.size());
  EXPECT_EQ(5, entries[0].interval);
  // The master keeps the empty state.
  EXPECT_EQ(Date(2000, 1, 2).value(), entries[0].lastDate.value());
}

TEST_F(AddInstrumentTest, SymbolThatExistsMakesNothing) {
  Format& format = Use(kAscii);
  ASSERT_EQ(kInstrumentAdded, addInstrument(Fields("Abc", "ABC"), format, directory).result);
  const std::string index = dir.read("master.kvq");
  AddInstrumentResult again = addInstrument(Fields("Other", "ABC", "1/1/2001"), format, directory);
  EXPECT_EQ(kInstrumentExists, again.result);
  EXPECT_EQ(nullptr, again.datafile);
  EXPECT_EQ(std::vector<std::string>{"Symbol exists already, no file created"}, Shown());
  EXPECT_EQ(1, directory->size());
  EXPECT_EQ(index, dir.read("master.kvq"));
}

TEST_F(AddInstrumentTest, LongNameIsShortenedOnlyWhenTheUserAgrees) {
  Format& format = Use(kMetastock);
  const std::string name50 = "Fifty Character Instrument Name From The Catalogu_";
  ASSERT_EQ(50u, name50.size());
  const std::string asked = "Name too long. Shorten name to: " + name50.substr(0, 45) + "?";

  AddInstrumentResult no = addInstrument(Fields(name50, "ABC"), format, directory);
  EXPECT_EQ(kAddRefused, no.result);
  EXPECT_EQ(InstrumentField::kName, no.field);
  EXPECT_EQ(std::vector<std::string>{asked}, Shown());
  EXPECT_FALSE(dir.exists("MASTER"));

  messages->clear();
  messages->answerNext(true);
  AddInstrumentResult yes = addInstrument(Fields(name50 + "and more", "ABC"), format, directory);
  ASSERT_EQ(kInstrumentAdded, yes.result);
  EXPECT_EQ(std::vector<std::string>{asked}, Shown());
  EXPECT_TRUE(yes.writeBackName);
  EXPECT_EQ(name50.substr(0, 45), yes.name);
  EXPECT_EQ(name50.substr(0, 45), yes.datafile->name());
  EXPECT_EQ(name50.substr(0, 45), Entries(kMetastock).at(0).name);
}

TEST_F(AddInstrumentTest, FormatWithoutNamesTakesTheSymbolSilently) {
  Format& format = Use(6);  // Koersbase II: no names
  AddInstrumentResult added = addInstrument(Fields("Abc Corp", "ABC"), format, directory);
  ASSERT_EQ(kInstrumentAdded, added.result);
  EXPECT_TRUE(Shown().empty());
  EXPECT_EQ("", added.name);
  EXPECT_EQ("ABC", added.datafile->name());
  EXPECT_TRUE(dir.exists("ABC.kbf"));
}

TEST_F(AddInstrumentTest, NegativeFactorNeedsAYes) {
  Format& format = Use(kMetastock);
  EXPECT_EQ(kAddRefused, addInstrument(Fields("Abc", "ABC", "3/1/2000", "-2"), format, directory).result);
  EXPECT_EQ(std::vector<std::string>{"Negative factor?"}, Shown());
  messages->answerNext(true);
  AddInstrumentResult added = addInstrument(Fields("Abc", "ABC", "3/1/2000", "-2"), format, directory);
  ASSERT_EQ(kInstrumentAdded, added.result);
  EXPECT_FLOAT_EQ(-2.0f, added.datafile->factor());
}

TEST_F(AddInstrumentTest, SymbolThatNamesNoFileIsRefusedBeforeTheMaster) {
  Format& format = Use(kAscii);
  AddInstrumentResult added = addInstrument(Fields("Up", ".."), format, directory);
  EXPECT_EQ(kInstrumentFailed, added.result);
  EXPECT_EQ(std::vector<std::string>{"Cannot add datafile .."}, Shown());
  EXPECT_TRUE(Entries(kAscii).empty());
  EXPECT_EQ(0, directory->size());
}

TEST(IntervalTextTest, WholeNumbersOnly) {
  struct Case {
    const char* text;
    int value;
  } cases[] = {{"15", 15}, {" 60 ", 60}, {"0", 0}, {"", -1}, {"1.5", -1}, {"-5", -1}, {"x", -1}, {"9999999999", -1}};
  for (const Case& c : cases) EXPECT_EQ(c.value, ParseIntervalText(c.text)) << c.text;
}

}  // namespace
}  // namespace kvqt
