// What the convert and append dialogs decide, without the dialogs: the
// formats each side offers and preselects, the start date and flags, and what
// each button runs.
#include "maintenance/convert_choices.h"

#include <gtest/gtest.h>

#include "app/core/messages.h"
#include "app/model/directory.h"
#include "app/model/format_table.h"
#include "app/model/formats.h"
#include "maintenance/convert_steps.h"

namespace kvqt {
namespace {

std::vector<std::string> Symbols(const std::vector<Format*>& formats) {
  std::vector<std::string> symbols;
  for (const Format* f : formats) symbols.push_back(f->symbol());
  return symbols;
}

class ConvertChoicesTest : public ::testing::Test {
 protected:
  ConvertChoicesTest() { MergeFormatTable(formats); }
  Format* Symbol(const char* symbol) { return formats.findBySymbol(symbol); }

  Formats formats;
  ScopedMessages messages;
};

TEST_F(ConvertChoicesTest, EveryBuiltInFormatIsOfferedOnTheSidesItsFlagsAllow) {
  const struct {
    const char* symbol;
    bool source;
    bool destination;
  } cases[] = {
      {"ASC", true, true},        {"ASCYYYY", true, true},   {"ASC6I", false, false},  {"EXC-NL", true, true},
      {"EXC-UK", true, true},     {"TAB", true, true},       {"KB2", true, true},      {"HERMES", true, true},
      {"HERM-ITD", false, false}, {"MS", true, true},        {"MSI", false, false},    {"TI", true, true},
      {"TPV", true, true},        {"PEL", false, false},     {"DAVI-IMP", false, false}, {"ORV2", false, true},
  };
  ASSERT_EQ(std::size(cases), FormatTable().size());
  for (const auto& c : cases) {
    const Format* format = Symbol(c.symbol);
    ASSERT_NE(format, nullptr) << c.symbol;
    EXPECT_EQ(c.source, IsConvertSource(*format)) << c.symbol;
    EXPECT_EQ(c.destination, IsConvertDestination(*format)) << c.symbol;
  }
}

TEST_F(ConvertChoicesTest, TheListsKeepTheOrderOfTheFormats) {
  // In name order: the ASCII layouts, Davi, the Jaad formats, MetaStock, Orvista, Pelto, TI, Topvest.
  EXPECT_EQ(Symbols(ConvertSourceFormats(formats)),
            (std::vector<std::string>{"ASC", "ASCYYYY", "EXC-NL", "EXC-UK", "TAB", "HERMES", "KB2", "MS", "TI",
                                      "TPV"}));
  EXPECT_EQ(Symbols(ConvertDestinationFormats(formats)),
            (std::vector<std::string>{"ASC", "ASCYYYY", "EXC-NL", "EXC-UK", "TAB", "HERMES", "KB2", "MS", "ORV2",
                                      "TI", "TPV"}));
}

TEST_F(ConvertChoicesTest, TheCurrentFormatIsTheSourceAndTheNextOneTheDestination) {
  const struct {
    const char* current;
    const char* source;
    const char* destination;
  } cases[] = {
      {"ASC", "ASC", "ASCYYYY"},
      {"TAB", "TAB", "ASC"},        // the next one (Davi-Effect Import) has no directories
      {"MS", "MS", "ASC"},          // the next one is intraday
      {"MSI", "ASC", "ORV2"},       // an intraday current format is no source
      {"ORV2", "ASC", "ASC"},       // Orvista is no source, and Pelto follows it
      {"TPV", "TPV", "ASC"},        // the last format has none after it
      {"HERMES", "HERMES", "ASC"},  // Hermes Intraday follows
      {"KB2", "KB2", "MS"},
  };
  for (const auto& c : cases) {
    formats.setCurrentIndex(formats.indexOf(Symbol(c.current)));
    const ConvertPreselection chosen = PreselectConvertFormats(formats);
    const std::vector<Format*> sources = ConvertSourceFormats(formats);
    const std::vector<Format*> destinations = ConvertDestinationFormats(formats);
    ASSERT_GE(chosen.source, 0) << c.current;
    ASSERT_GE(chosen.destination, 0) << c.current;
    EXPECT_EQ(c.source, sources[chosen.source]->symbol()) << c.current;
    EXPECT_EQ(c.destination, destinations[chosen.destination]->symbol()) << c.current;
  }
}

TEST_F(ConvertChoicesTest, NoFormatsNoChoice) {
  Formats none;
  const ConvertPreselection chosen = PreselectConvertFormats(none);
  EXPECT_EQ(-1, chosen.source);
  EXPECT_EQ(-1, chosen.destination);
  EXPECT_EQ(-1, ChoiceIndex({}, nullptr));
}

TEST_F(ConvertChoicesTest, EachButtonRunsItsStepUnderItsTitle) {
  const struct {
    ConvertCommand command;
    StepFunction step;
    const char* title;
    int listId;
    bool recorded;
    bool append;
  } cases[] = {
      {ConvertCommand::kConvert, convertStep, "Convert Files", 319, false, false},
      {ConvertCommand::kConvertAll, convertAllStep, "Convert Files", 319, true, false},
      {ConvertCommand::kAppend, appendStep, "Append Files", 320, false, true},
      {ConvertCommand::kAppendAll, appendAllStep, "Append Files", 320, true, true},
  };
  for (const auto& c : cases) {
    const ConvertRun run = ConvertRunOf(c.command);
    EXPECT_EQ(c.step, run.step) << c.title << c.listId;
    EXPECT_STREQ(c.title, run.title);
    EXPECT_EQ(c.listId, run.listId);
    EXPECT_EQ(c.recorded, run.recorded) << c.listId;
    EXPECT_EQ(c.append, run.append);
  }
}

class PrepareConvertTest : public ConvertChoicesTest {
 protected:
  PrepareConvertTest() : source("/data/ms/", 4), destination("/data/asc/", 5) {
    choices.formats = &formats;
    choices.owner = this;
    choices.sourceFormat = Symbol("MS");
    choices.sourceDirectory = &source;
    choices.destinationFormat = Symbol("ASC");
    choices.destinationDirectory = &destination;
  }

  std::vector<std::string> Shown() {
    std::vector<std::string> texts;
    for (const auto& shown : messages->shown()) texts.push_back(shown.text);
    return texts;
  }

  Directory source;
  Directory destination;
  ConvertChoices choices;
  ActionInfo action;
};

TEST_F(PrepareConvertTest, TheStartDateAndTheOverwriteChoiceGoIntoTheAction) {
  const struct {
    const char* text;
    bool overwrite;
    int date;  // 0: no lower bound; -1: refused
    int flags;
  } cases[] = {
      {"", false, 0, 2},
      {"  ", true, 0, 0},
      {"3/1/2004", false, 20040103, 2},
      {"3-1-2004", true, 20040103, 0},
      {"20040103", false, 20040103, 2},
      {"040103", false, 20040103, 2},
      // The field is read to 19 characters: a hyphen beyond them does not
      // make the text a day-month-year date.
      {"20040103           -1", false, 20040103, 2},
      {"20040103          -1", false, -1, 0},
      {"abc", false, -1, 0},
      {"31/2/2004", true, -1, 0},
  };
  for (const auto& c : cases) {
    messages->clear();
    action = ActionInfo();
    action.startDate = Date(1999, 1, 1);
    choices.startDate = c.text;
    choices.overwrite = c.overwrite;
    const bool ok = PrepareConvertAction(ConvertCommand::kConvertAll, choices, action);
    EXPECT_EQ(c.date >= 0, ok) << c.text;
    if (c.date < 0) {
      EXPECT_EQ(Shown(), std::vector<std::string>{"Invalid start date\n\nEnter as YYYYMMDD or D/M/YYYY"}) << c.text;
      EXPECT_EQ(nullptr, action.sourceDirectory) << c.text;
      continue;
    }
    EXPECT_TRUE(Shown().empty()) << c.text;
    EXPECT_EQ(c.date, action.startDate.value()) << c.text;
    EXPECT_EQ(c.flags, action.convertFlags) << c.text;
  }
}

TEST_F(PrepareConvertTest, TheActionNamesTheChosenFormatsAndDirectories) {
  for (ConvertCommand command : {ConvertCommand::kConvert, ConvertCommand::kConvertAll, ConvertCommand::kAppend,
                                 ConvertCommand::kAppendAll}) {
    action = ActionInfo();
    ASSERT_TRUE(PrepareConvertAction(command, choices, action));
    EXPECT_EQ(&formats, action.formats);
    EXPECT_EQ(this, action.owner);
    EXPECT_EQ(Symbol("MS"), action.sourceFormat);
    EXPECT_EQ(&source, action.sourceDirectory);
    EXPECT_EQ(Symbol("ASC"), action.destinationFormat);
    EXPECT_EQ(&destination, action.destinationDirectory);
  }
}

TEST_F(PrepareConvertTest, AppendIgnoresTheConvertFields) {
  choices.startDate = "not a date";
  choices.overwrite = true;
  action.convertFlags = 7;
  ASSERT_TRUE(PrepareConvertAction(ConvertCommand::kAppendAll, choices, action));
  EXPECT_TRUE(Shown().empty());
  EXPECT_TRUE(action.startDate.isNull());
  EXPECT_EQ(0, action.convertFlags);
}

TEST_F(PrepareConvertTest, AMissingDirectoryIsSaidAndNothingRuns) {
  const struct {
    bool source;
    bool destination;
    const char* text;
  } cases[] = {
      {false, true, "Illegal source directory"},
      {true, false, "Illegal destination directory"},
      {false, false, "Illegal source directory"},
  };
  for (ConvertCommand command : {ConvertCommand::kConvert, ConvertCommand::kAppendAll}) {
    for (const auto& c : cases) {
      messages->clear();
      action = ActionInfo();
      ConvertChoices missing = choices;
      if (!c.source) missing.sourceDirectory = nullptr;
      if (!c.destination) missing.destinationDirectory = nullptr;
      EXPECT_FALSE(PrepareConvertAction(command, missing, action)) << c.text;
      EXPECT_EQ(Shown(), std::vector<std::string>{c.text});
      EXPECT_EQ(nullptr, action.destinationFormat);
    }
  }
}

}  // namespace
}  // namespace kvqt
