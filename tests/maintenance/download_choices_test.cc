// The download dialog's decisions: formats offered, the update types under the
// intraday rule, the controls of each selection mode, the date checks, the
// selection mode kept in the settings, and the action filled for a download.
#include "maintenance/download_choices.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "app/model/directory.h"
#include "app/model/format_table.h"
#include "datetime/parse_date.h"
#include "support/temp_dir.h"

namespace kvqt {
namespace {

TEST(DownloadChoicesTest, FormatsWithoutOutputOnlyKindsInFormatsOrder) {
  Formats formats;
  MergeFormatTable(formats);
  const std::vector<Format*> offered = DownloadFormats(formats);
  std::vector<std::string> expected;
  for (int i = 0; i < formats.count(); ++i) {
    const Format* f = formats.at(i);
    if (!f->definitionOutputOnly() && !f->noDefinitionOutput()) expected.push_back(f->symbol());
  }
  std::vector<std::string> symbols;
  for (const Format* f : offered) symbols.push_back(f->symbol());
  EXPECT_EQ(symbols, expected);
  EXPECT_EQ(symbols.size(), 14u);
  EXPECT_EQ(std::find(symbols.begin(), symbols.end(), "PEL"), symbols.end());
  EXPECT_EQ(std::find(symbols.begin(), symbols.end(), "DAVI-IMP"), symbols.end());

  EXPECT_EQ(DownloadFormatIndex(offered, formats.findBySymbol("MS")),
            std::find(offered.begin(), offered.end(), formats.findBySymbol("MS")) - offered.begin());
  EXPECT_EQ(DownloadFormatIndex(offered, formats.findBySymbol("PEL")), 0);
  EXPECT_EQ(DownloadFormatIndex({}, nullptr), -1);
}

TEST(DownloadChoicesTest, IntradayFormatsHaveNoRealTimeChoices) {
  const Format daily("MS", "Metastock", 4);
  Format intraday("MSI", "Metastock Intraday", 6);
  intraday.setFormatflags(0x41);
  Format plainIntraday("HERM-ITD", "Jaad Hermes Intraday", 10);
  plainIntraday.setFormatflags(0x81);
  const struct {
    const Format* format;
    int type;
    bool replace;
    int wantType;
    bool wantReplace;
    bool wantRealTime;
    bool wantDates;
  } cases[] = {
      {&daily, kUpdateNormal, true, kUpdateNormal, true, true, false},
      {&daily, kUpdateDateRange, false, kUpdateDateRange, false, true, true},
      {&daily, kUpdateRealtime, true, kUpdateRealtime, true, true, false},
      {&daily, kUpdateNormalAndRealtime, false, kUpdateNormalAndRealtime, false, true, false},
      {&intraday, kUpdateNormal, true, kUpdateNormal, false, false, false},
      {&intraday, kUpdateDateRange, true, kUpdateDateRange, false, false, true},
      {&intraday, kUpdateRealtime, false, kUpdateNormal, false, false, false},
      {&plainIntraday, kUpdateNormalAndRealtime, true, kUpdateNormal, false, false, false},
      {nullptr, kUpdateRealtime, true, kUpdateRealtime, true, true, false},
      {&daily, 0, false, kUpdateNormal, false, true, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << (c.format ? c.format->symbol() : "none") << " type " << c.type);
    const UpdateTypeChoice choice = ChooseUpdateType(c.format, c.type, c.replace);
    EXPECT_EQ(choice.type, c.wantType);
    EXPECT_EQ(choice.replaceYesterday, c.wantReplace);
    EXPECT_EQ(choice.realTimeEnabled, c.wantRealTime);
    EXPECT_EQ(choice.datesEnabled, c.wantDates);
  }
}

TEST(DownloadChoicesTest, EachModeEnablesOnlyItsControls) {
  const struct {
    int mode;
    bool list, directory, symbol;
  } cases[] = {
      {kSelectList, true, false, false},
      {kSelectDirectory, false, true, false},
      {kSelectSymbol, false, false, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mode);
    const SelectionControls controls = ControlsForMode(c.mode);
    EXPECT_EQ(controls.list, c.list);
    EXPECT_EQ(controls.directory, c.directory);
    EXPECT_EQ(controls.symbol, c.symbol);
  }
}

TEST(DownloadChoicesTest, SavedModeReadsAsDirectoryOnlyForZero) {
  testing::TempDir dir;
  const struct {
    const char* file;  // the settings file's contents; null: no file
    int mode;
  } cases[] = {
      {nullptr, kSelectList},
      {"[configure]\r\nDefaultDownloadDomain=0\r\n", kSelectDirectory},
      {"[configure]\r\nDefaultDownloadDomain=1\r\n", kSelectList},
      {"[configure]\r\nDefaultDownloadDomain=2\r\n", kSelectList},
      {"[configure]\r\nDefaultDownloadDomain=7\r\n", kSelectList},
      {"[configure]\r\nDefaultDownloadDomain=1x\r\n", kSelectList},
      // A value without digits reads as 0, as the settings file's numbers do.
      {"[configure]\r\nDefaultDownloadDomain=x\r\n", kSelectDirectory},
      {"[configure]\r\nDefaultDownloadDomain=\r\n", kSelectDirectory},
      {"[configure]\r\nOtherKey=0\r\n", kSelectList},
  };
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file ? c.file : "no file");
    const std::string path = dir.file("kvqt" + std::to_string(++n) + ".ini");
    if (c.file) dir.write("kvqt" + std::to_string(n) + ".ini", c.file);
    PersonalProfile profile(path);
    EXPECT_EQ(ReadDownloadMode(profile), c.mode);
  }
}

TEST(DownloadChoicesTest, SingleSymbolModeIsNeverSaved) {
  testing::TempDir dir;
  PersonalProfile profile(dir.file("kvqt.ini"));
  const struct {
    int save;
    int read;
  } steps[] = {{kSelectDirectory, kSelectDirectory}, {kSelectSymbol, kSelectDirectory},
               {kSelectList, kSelectList},           {kSelectSymbol, kSelectList},
               {kSelectDirectory, kSelectDirectory}};
  for (const auto& s : steps) {
    SaveDownloadMode(profile, s.save);
    EXPECT_EQ(ReadDownloadMode(profile), s.read) << s.save;
  }
  EXPECT_EQ(profile.getInt(kDownloadDomainKey, -1), kSelectDirectory);

  PersonalProfile fresh(dir.file("fresh.ini"));
  SaveDownloadMode(fresh, kSelectSymbol);
  EXPECT_FALSE(dir.exists("fresh.ini"));
}

TEST(DownloadChoicesTest, DateChecksAndTheirMessages) {
  const struct {
    int type;
    const char* start;
    const char* end;
    int wantStart;
    int wantEnd;
    const char* error;
  } cases[] = {
      {kUpdateDateRange, "20240102", "20240112", 20240102, 20240112, nullptr},
      {kUpdateDateRange, "2/1/2024", "12-1-2024", 20240102, 20240112, nullptr},
      {kUpdateDateRange, " 240105 ", "", 20240105, 20240105, nullptr},  // an empty end: one day
      {kUpdateDateRange, "5/1/2024", "5/1/2024", 20240105, 20240105, nullptr},
      {kUpdateDateRange, "", "20240112", 0, 0, kInvalidStartDateText},
      {kUpdateDateRange, "  ", "", 0, 0, kInvalidStartDateText},
      {kUpdateDateRange, "tomorrow", "", 0, 0, kInvalidStartDateText},
      {kUpdateDateRange, "20240102", "next week", 20240102, 0, kInvalidEndDateText},
      {kUpdateDateRange, "20240112", "20240102", 20240112, 20240102, "Startdate past Enddate"},
      {kUpdateNormal, "nonsense", "nonsense", 0, 0, nullptr},
      {kUpdateRealtime, "20240102", "20240112", 0, 0, nullptr},
      {kUpdateNormalAndRealtime, "", "", 0, 0, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.type << " '" << c.start << "' '" << c.end << "'");
    const DownloadDates dates = CheckDownloadDates(c.type, c.start, c.end);
    if (c.error == nullptr) {
      EXPECT_EQ(dates.error, nullptr) << dates.error;
      EXPECT_EQ(dates.start.value(), c.wantStart);
      EXPECT_EQ(dates.end.value(), c.wantEnd);
    } else {
      ASSERT_NE(dates.error, nullptr);
      EXPECT_STREQ(dates.error, c.error);
    }
  }
  EXPECT_STREQ(kInvalidStartDateText, "Invalid start date\n\nEnter as YYYYMMDD or D/M/YYYY");
  EXPECT_STREQ(kInvalidEndDateText, "Invalid end date\n\nEnter as YYYYMMDD or D/M/YYYY");
}

// A MetaStock format with a list "Daily" and two directories, the second
// current, holding two data files.
struct Model {
  Model() {
    format.addList(std::make_unique<List>("Daily", 4));
    format.setCurrentList("Daily");
    format.addDirectory(std::make_unique<Directory>("/charts/a/", 4));
    format.addDirectory(std::make_unique<Directory>("/charts/b/", 4));
    format.setCurrentDirectory("/charts/b/");
    Directory* b = format.currentDirectory();
    b->add(std::make_unique<Datafile>("ABC", "Abc Industries", 4, 30));
    b->add(std::make_unique<Datafile>("XY", "Punctuation & Co", 4, 30));
  }
  Format format{"MS", "Metastock", 4};
};

TEST(DownloadChoicesTest, SymbolLinesAreTheNamesInDirectoryOrder) {
  Model m;
  EXPECT_EQ(SymbolLines(*m.format.currentDirectory()),
            (std::vector<std::string>{"Abc Industries", "Punctuation & Co"}));
  EXPECT_TRUE(SymbolLines(*m.format.directoryAt(0)).empty());
}

TEST(DownloadChoicesTest, FillsTheActionOfEachMode) {
  Model m;
  Directory* b = m.format.currentDirectory();
  List* daily = m.format.currentList();
  const struct {
    int mode;
    int type;
    bool replace;
    bool reload;
    const char* start;
    const char* end;
    int symbolIndex;
    List* list;
    Directory* directory;
    Datafile* datafile;
    int wantType;
    int wantStart;
    int wantEnd;
  } cases[] = {
      {kSelectList, kUpdateNormal, false, false, "", "", -1, daily, nullptr, nullptr, 1, 0, 0},
      {kSelectList, kUpdateNormal, true, true, "", "", -1, daily, nullptr, nullptr, 1 + 16 + 32, 0, 0},
      {kSelectDirectory, kUpdateDateRange, false, false, "2/1/2024", "", -1, nullptr, b, nullptr, 2, 20240102,
       20240102},
      {kSelectDirectory, kUpdateNormalAndRealtime, false, true, "1/1/2024", "", -1, nullptr, b, nullptr, 4 + 32, 0,
       0},
      {kSelectSymbol, kUpdateRealtime, true, false, "", "", 1, nullptr, b, b->at(1), 3 + 16, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << "mode " << c.mode << " type " << c.type);
    DownloadChoices choices;
    choices.format = &m.format;
    choices.mode = c.mode;
    choices.type = c.type;
    choices.replaceYesterday = c.replace;
    choices.reloadSymbolTable = c.reload;
    choices.startText = c.start;
    choices.endText = c.end;
    choices.symbolIndex = c.symbolIndex;
    ActionInfo action;
    action.outputFile = "left over";
    ASSERT_EQ(FillDownloadAction(choices, action), nullptr);
    EXPECT_EQ(action.sourceFormat, &m.format);
    EXPECT_EQ(action.kind, c.mode);
    EXPECT_EQ(action.type, c.wantType);
    EXPECT_EQ(action.list, c.list);
    EXPECT_EQ(action.sourceDirectory, c.directory);
    EXPECT_EQ(action.datafile, c.datafile);
    EXPECT_EQ(action.startDate.value(), c.wantStart);
    EXPECT_EQ(action.endDate.value(), c.wantEnd);
    EXPECT_EQ(action.destinationFormat, nullptr);
    EXPECT_TRUE(action.outputFile.empty());
  }
}

TEST(DownloadChoicesTest, RefusedChoicesLeaveTheActionUnchanged) {
  Model m;
  Format empty("ASC", "Ascii: Comma Delimited", 5);
  const struct {
    Format* format;
    int mode;
    int type;
    const char* start;
    const char* end;
    int symbolIndex;
    const char* error;
  } cases[] = {
      {&m.format, kSelectList, kUpdateDateRange, "", "", -1, kInvalidStartDateText},
      {&m.format, kSelectSymbol, kUpdateDateRange, "20240110", "20240105", 0, "Startdate past Enddate"},
      {&m.format, kSelectDirectory, kUpdateDateRange, "20240110", "x", 0, kInvalidEndDateText},
      {&empty, kSelectList, kUpdateNormal, "", "", -1, "No list selected"},
      {&empty, kSelectDirectory, kUpdateNormal, "", "", -1, "No directory selected"},
      {&empty, kSelectSymbol, kUpdateNormal, "", "", 0, "No symbol selected"},
      {&m.format, kSelectSymbol, kUpdateNormal, "", "", -1, "No symbol selected"},
      {&m.format, kSelectSymbol, kUpdateNormal, "", "", 2, "No symbol selected"},
      {nullptr, kSelectDirectory, kUpdateNormal, "", "", -1, "No directory selected"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.error);
    DownloadChoices choices;
    choices.format = c.format;
    choices.mode = c.mode;
    choices.type = c.type;
    choices.startText = c.start;
    choices.endText = c.end;
    choices.symbolIndex = c.symbolIndex;
    ActionInfo action;
    action.kind = 6;
    action.type = 9;
    const char* error = FillDownloadAction(choices, action);
    ASSERT_NE(error, nullptr);
    EXPECT_STREQ(error, c.error);
    EXPECT_EQ(action.kind, 6);
    EXPECT_EQ(action.type, 9);
    EXPECT_EQ(action.sourceFormat, nullptr);
  }
}

}  // namespace
}  // namespace kvqt
