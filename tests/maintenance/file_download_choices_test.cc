// The file-download dialog's formats, settings, checks and the action it fills.
#include "maintenance/file_download_choices.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "app/model/directory.h"
#include "app/model/format_table.h"
#include "app/model/list.h"
#include "datetime/parse_date.h"
#include "support/temp_dir.h"

namespace kvqt {
namespace {

std::vector<std::string> Symbols(const std::vector<Format*>& formats) {
  std::vector<std::string> out;
  for (const Format* f : formats) out.push_back(f->symbol());
  return out;
}

class FileDownloadChoicesTest : public ::testing::Test {
 protected:
  FileDownloadChoicesTest() : profile(temp.file("kvqt.ini")) {
    MergeFormatTable(formats);
    ascii = formats.findBySymbol("ASC");
    metastock = formats.findBySymbol("MS");
    tab = formats.findBySymbol("TAB");
    metastock->addDirectory(std::make_unique<Directory>("/charts/ms/", metastock->formatId()));
    metastock->setCurDi(0);
    metastock->addList(std::make_unique<List>("Banks", metastock->formatId()));
    metastock->setCurLi(0);
    Directory* directory = metastock->currentDirectory();
    datafile = directory->add(std::make_unique<Datafile>("ABC", "Abc Industries", metastock->formatId()));
  }

  // A complete, valid choice: one directory of MetaStock, a date range, into TAB.
  FileDownloadFields Fields() const {
    FileDownloadFields f;
    f.inputFormat = metastock;
    f.selection = 3;
    f.type = 2;
    f.start = "2/1/2024";
    f.end = "20240112";
    f.period = 1;
    f.outputFormat = tab;
    f.outputFile = "/tmp/out.dat";
    return f;
  }

  testing::TempDir temp;
  PersonalProfile profile;
  Formats formats;
  Format* ascii = nullptr;
  Format* metastock = nullptr;
  Format* tab = nullptr;
  Datafile* datafile = nullptr;
};

TEST_F(FileDownloadChoicesTest, FormatListsOfBothModes) {
  // Formats are kept in name order.
  EXPECT_EQ(Symbols(FileDownloadInputFormats(formats)),
            (std::vector<std::string>{"ASC", "ASCYYYY", "EXC-NL", "EXC-UK", "TAB", "HERMES", "KB2", "MS", "ORV2",
                                      "TI", "TPV"}));
  EXPECT_EQ(Symbols(FileDownloadOutputFormats(formats, FileDownloadMode::kChoice)),
            (std::vector<std::string>{"ASC", "ASCYYYY", "EXC-NL", "EXC-UK", "TAB", "DAVI-IMP"}));
  EXPECT_EQ(Symbols(FileDownloadOutputFormats(formats, FileDownloadMode::kDefinitionFile)),
            (std::vector<std::string>{"ASC", "ASCYYYY", "EXC-NL", "EXC-UK", "TAB", "PEL"}));
}

TEST_F(FileDownloadChoicesTest, SavedOutputFormatOrTheFirst) {
  const std::vector<Format*> list = FileDownloadOutputFormats(formats, FileDownloadMode::kChoice);
  const struct {
    const char* symbol;
    int position;
  } cases[] = {{"ASC", 0}, {"TAB", 4}, {"DAVI-IMP", 5}, {"PEL", 0}, {"tab", 0}, {"", 0}, {"MS", 0}};
  for (const auto& c : cases) EXPECT_EQ(OutputFormatPosition(list, c.symbol), c.position) << c.symbol;
  EXPECT_EQ(OutputFormatPosition({}, "ASC"), -1);
}

TEST_F(FileDownloadChoicesTest, SettingsWithTheirFallbacks) {
  const struct {
    const char* domain;  // nullptr: not in the file
    const char* type;
    int selection;
    int readType;
  } cases[] = {
      {nullptr, nullptr, 3, 3}, {"3", "1", 3, 1}, {"4", "2", 4, 2}, {"5", "3", 3, 3}, {"0", "0", 3, 3},
      {"1", "4", 3, 3},         {"x", "x", 3, 3}, {"4x", "2 ", 4, 2}, {"7", "-1", 3, 3},
  };
  for (const auto& c : cases) {
    temp.write("kvqt.ini", "");
    if (c.domain) profile.putString("DefaultFileDownloadDomain", c.domain);
    if (c.type) profile.putString("DefaultFileDownloadType", c.type);
    const FileDownloadSettings s = ReadFileDownloadSettings(profile);
    EXPECT_EQ(s.selection, c.selection) << (c.domain ? c.domain : "none");
    EXPECT_EQ(s.type, c.readType) << (c.type ? c.type : "none");
  }
  temp.write("kvqt.ini", "");
  FileDownloadSettings s = ReadFileDownloadSettings(profile);
  EXPECT_EQ(s.outputFormat, "ASC");
  EXPECT_EQ(s.outputFile, "");
  EXPECT_EQ(s.inputFile, "");
  temp.write("kvqt.ini", "[configure]\r\noutputformat=TAB\r\noutputfilename=/data/out.dat\r\n"
                         "inputfilename=my.qry\r\n");
  s = ReadFileDownloadSettings(profile);
  EXPECT_EQ(s.outputFormat, "TAB");
  EXPECT_EQ(s.outputFile, "/data/out.dat");
  EXPECT_EQ(s.inputFile, "my.qry");
}

TEST_F(FileDownloadChoicesTest, ClosingKeepsTheSelectionExceptOneSymbol) {
  const struct {
    FileDownloadMode mode;
    int selection;
    int type;
    const char* expected;
  } cases[] = {
      {FileDownloadMode::kChoice, 4, 1, "[configure]\r\nDefaultFileDownloadDomain=4\r\nDefaultFileDownloadType=1\r\n"},
      {FileDownloadMode::kChoice, 3, 2, "[configure]\r\nDefaultFileDownloadDomain=3\r\nDefaultFileDownloadType=2\r\n"},
      // One symbol keeps the saved selection; the type is written.
      {FileDownloadMode::kChoice, 5, 3, "[configure]\r\nDefaultFileDownloadDomain=7\r\nDefaultFileDownloadType=3\r\n"},
      // The definition-file mode has neither.
      {FileDownloadMode::kDefinitionFile, 4, 1,
       "[configure]\r\nDefaultFileDownloadDomain=7\r\nDefaultFileDownloadType=7\r\n"},
  };
  for (const auto& c : cases) {
    temp.write("kvqt.ini", "[configure]\r\nDefaultFileDownloadDomain=7\r\nDefaultFileDownloadType=7\r\n");
    SaveFileDownloadOnClose(profile, c.mode, c.selection, c.type);
    EXPECT_EQ(temp.read("kvqt.ini"), c.expected) << c.selection;
  }
}

TEST_F(FileDownloadChoicesTest, StartingKeepsTheFiles) {
  ActionInfo action;
  ASSERT_EQ(FillFileDownloadAction(Fields(), action), std::nullopt);
  SaveFileDownloadOnStart(profile, action);
  EXPECT_EQ(temp.read("kvqt.ini"), "[configure]\r\noutputformat=TAB\r\noutputfilename=/tmp/out.dat\r\n");

  temp.write("kvqt.ini", "");
  FileDownloadFields f;
  f.mode = FileDownloadMode::kDefinitionFile;
  f.inputFile = "my.qry";
  f.outputFormat = ascii;
  f.outputFile = "prices.dat";
  ASSERT_EQ(FillFileDownloadAction(f, action), std::nullopt);
  SaveFileDownloadOnStart(profile, action);
  EXPECT_EQ(temp.read("kvqt.ini"),
            "[configure]\r\noutputformat=ASC\r\noutputfilename=prices.dat\r\ninputfilename=my.qry\r\n");
}

TEST_F(FileDownloadChoicesTest, TypeEnablesItsDateFields) {
  const struct {
    int type;
    bool singleDay, range, periodicity;
  } cases[] = {{1, true, false, true}, {2, false, true, true}, {3, false, false, false}, {0, false, false, false}};
  for (const auto& c : cases) {
    const FileDownloadDateFields e = EnabledDateFields(c.type);
    EXPECT_EQ(e.singleDay, c.singleDay) << c.type;
    EXPECT_EQ(e.range, c.range) << c.type;
    EXPECT_EQ(e.periodicity, c.periodicity) << c.type;
  }
}

TEST_F(FileDownloadChoicesTest, ForbiddenNamesByFileNameAndExtensionOnly) {
  const struct {
    const char* path;
    bool input;
    bool output;
  } cases[] = {
      {"kvqt.dat", false, false},
      {"/home/user/charts/kvqt.dat", false, false},
      {"../KVQT.DAT", false, false},
      {"sub/Query.Dat", false, false},
      {"kvqt.prs", false, false},
      {"sksdat.dat", true, false},
      {"/tmp/SKSDAT.DAT", true, false},
      {"mykvqt.dat", true, true},
      {"kvqt.dat.bak", true, true},
      {"kvqt.dat/out.dat", true, true},
      {"kvqt", true, true},
      {"query.qry", true, true},
      {"/data/kvqt.tsk", true, true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(InputFileNameAllowed(c.path), c.input) << c.path;
    FileDownloadFields f = Fields();
    f.outputFile = c.path;
    ActionInfo action;
    const auto problem = FillFileDownloadAction(f, action);
    EXPECT_EQ(!problem.has_value(), c.output) << c.path;
    if (problem) {
      EXPECT_EQ(problem->text, "Output filename not allowed:");
      EXPECT_EQ(problem->name, c.path);
      EXPECT_EQ(problem->field, FileDownloadField::kOutputFile);
    }
  }
}

TEST_F(FileDownloadChoicesTest, ChecksInTheDialogsOrderWithTheirMessages) {
  using F = FileDownloadField;
  const struct {
    const char* what;
    void (*change)(FileDownloadFields&, Format* ascii);
    const char* text;
    F field;
  } cases[] = {
      {"single day", [](FileDownloadFields& f, Format*) { f.type = 1, f.singleDay = "32/1/2024"; },
       "Invalid date\n\nEnter as YYYYMMDD or D/M/YYYY", F::kSingleDay},
      {"empty single day", [](FileDownloadFields& f, Format*) { f.type = 1, f.singleDay = ""; },
       "Invalid date\n\nEnter as YYYYMMDD or D/M/YYYY", F::kSingleDay},
      {"start", [](FileDownloadFields& f, Format*) { f.start = "x"; },
       "Invalid start date\n\nEnter as YYYYMMDD or D/M/YYYY", F::kStart},
      {"empty end", [](FileDownloadFields& f, Format*) { f.end = ""; },
       "Invalid end date\n\nEnter as YYYYMMDD or D/M/YYYY", F::kEnd},
      {"start past end", [](FileDownloadFields& f, Format*) { f.start = "13-1-2024"; }, "Start date past end date",
       F::kStart},
      {"dates before the selection", [](FileDownloadFields& f, Format* a) { f.start = "", f.inputFormat = a; },
       "Invalid start date\n\nEnter as YYYYMMDD or D/M/YYYY", F::kStart},
      {"no directory", [](FileDownloadFields& f, Format* a) { f.inputFormat = a; }, "No directory selected",
       F::kSelection},
      {"no list", [](FileDownloadFields& f, Format* a) { f.selection = 4, f.inputFormat = a; }, "No list selected",
       F::kSelection},
      {"no directory for a symbol", [](FileDownloadFields& f, Format* a) { f.selection = 5, f.inputFormat = a; },
       "No directory selected", F::kSelection},
      {"no symbol", [](FileDownloadFields& f, Format*) { f.selection = 5, f.datafile = nullptr; },
       "No symbol selected", F::kSelection},
      {"no input format", [](FileDownloadFields& f, Format*) { f.inputFormat = nullptr; }, "No directory selected",
       F::kSelection},
      {"selection before the output file",
       [](FileDownloadFields& f, Format*) { f.selection = 5, f.datafile = nullptr, f.outputFile = ""; },
       "No symbol selected", F::kSelection},
      {"no output file", [](FileDownloadFields& f, Format*) { f.outputFile = ""; }, "No output filename specified",
       F::kOutputFile},
      {"blank output file", [](FileDownloadFields& f, Format*) { f.outputFile = "   "; },
       "No output filename specified", F::kOutputFile},
      {"output file too long", [](FileDownloadFields& f, Format*) { f.outputFile = std::string(256, 'a'); },
       "File name too long:", F::kOutputFile},
      {"no output format", [](FileDownloadFields& f, Format*) { f.outputFormat = nullptr; },
       "No output format selected", F::kOutputFormat},
  };
  for (const auto& c : cases) {
    FileDownloadFields f = Fields();
    f.datafile = datafile;
    c.change(f, ascii);
    ActionInfo action;
    action.kind = 99;
    const auto problem = FillFileDownloadAction(f, action);
    ASSERT_TRUE(problem.has_value()) << c.what;
    EXPECT_EQ(problem->text, c.text) << c.what;
    EXPECT_EQ(problem->field, c.field) << c.what;
    EXPECT_EQ(action.kind, 99) << c.what;  // unchanged
  }
}

TEST_F(FileDownloadChoicesTest, DefinitionFileChecks) {
  const struct {
    const char* input;
    const char* output;
    const char* text;
    const char* name;
  } cases[] = {
      {"", "out.dat", "No input filename specified", ""},
      {"  ", "out.dat", "No input filename specified", ""},
      {"/tmp/query.dat", "out.dat", "Input filename not allowed:", "/tmp/query.dat"},
      {"KVQT.PRS", "out.dat", "Input filename not allowed:", "KVQT.PRS"},
      {"dir/kvqt.dat", "out.dat", "Input filename not allowed:", "dir/kvqt.dat"},
      {"my.qry", "", "No output filename specified", ""},
      {"my.qry", "sksdat.dat", "Output filename not allowed:", "sksdat.dat"},
  };
  for (const auto& c : cases) {
    FileDownloadFields f;
    f.mode = FileDownloadMode::kDefinitionFile;
    f.inputFile = c.input;
    f.outputFile = c.output;
    f.outputFormat = ascii;
    ActionInfo action;
    const auto problem = FillFileDownloadAction(f, action);
    ASSERT_TRUE(problem.has_value()) << c.input << " " << c.output;
    EXPECT_EQ(problem->text, c.text);
    EXPECT_EQ(problem->name, c.name);
  }
}

// The definition file is the user's own: the download must not write over it.
TEST_F(FileDownloadChoicesTest, TheOutputFileIsNotTheDefinitionFile) {
  temp.write("my.qry", "ABC,20240102,20240105,D\r\n");
  ::mkdir(temp.file("sub").c_str(), 0755);
  const struct {
    std::string input, output;
    bool refused;
  } cases[] = {
      {temp.file("my.qry"), temp.file("my.qry"), true},
      {temp.file("my.qry"), temp.file("sub/../my.qry"), true},
      {temp.file("my.qry"), temp.file("MY.QRY"), true},  // found regardless of case
      {temp.file("my.qry"), temp.file("./my.qry "), true},
      {temp.file("new.qry"), temp.file("sub/../new.qry"), true},  // not there yet
      {temp.file("my.qry"), temp.file("my.dat"), false},
      {temp.file("my.qry"), temp.file("sub/my.qry"), false},
  };
  for (const auto& c : cases) {
    FileDownloadFields f;
    f.mode = FileDownloadMode::kDefinitionFile;
    f.inputFile = c.input;
    f.outputFile = c.output;
    f.outputFormat = ascii;
    ActionInfo action;
    const auto problem = FillFileDownloadAction(f, action);
    EXPECT_EQ(problem.has_value(), c.refused) << c.output;
    if (problem) {
      EXPECT_EQ(problem->text, "Output filename not allowed:");
      EXPECT_EQ(problem->name, TrimmedFileName(c.output));
    }
  }
}

TEST_F(FileDownloadChoicesTest, FillsTheActionOfEachSelection) {
  const struct {
    int selection;
    int type;
    int period;
    int kind;
    std::int32_t start, end;
    int readPeriod;
    bool list, directory, symbol;
  } cases[] = {
      {3, 2, 1, 3, 20240102, 20240112, 1, false, true, false},
      {4, 1, 2, 4, 20240105, 20240105, 2, true, false, false},
      {5, 3, 2, 5, 0, 0, 0, false, true, true},  // real time: no dates, daily
  };
  for (const auto& c : cases) {
    FileDownloadFields f = Fields();
    f.selection = c.selection;
    f.type = c.type;
    f.period = c.period;
    f.singleDay = "5/1/2024";
    f.datafile = datafile;
    f.outputFile = "out.dat  ";
    ActionInfo action;
    action.definitionFile = "old.qry";
    ASSERT_EQ(FillFileDownloadAction(f, action), std::nullopt) << c.selection;
    EXPECT_EQ(action.kind, c.kind);
    EXPECT_EQ(action.type, c.type);
    EXPECT_EQ(action.period, c.readPeriod);
    EXPECT_EQ(action.startDate.value(), c.start);
    EXPECT_EQ(action.endDate.value(), c.end);
    EXPECT_EQ(action.sourceFormat, metastock);
    EXPECT_EQ(action.destinationFormat, tab);
    EXPECT_EQ(action.list, c.list ? metastock->currentList() : nullptr);
    EXPECT_EQ(action.sourceDirectory, c.directory ? metastock->currentDirectory() : nullptr);
    EXPECT_EQ(action.datafile, c.symbol ? datafile : nullptr);
    EXPECT_EQ(action.outputFile, "out.dat");
    EXPECT_EQ(action.definitionFile, "");
    EXPECT_EQ(action.priceType, 0);
    EXPECT_EQ(action.infoType, 0);
  }

  FileDownloadFields f;
  f.mode = FileDownloadMode::kDefinitionFile;
  f.inputFile = "/home/user/my.qry ";
  f.outputFormat = ascii;
  f.outputFile = "/home/user/mykvqt.dat";
  f.inputFormat = metastock;  // not used in this mode
  ActionInfo action;
  action.sourceDirectory = metastock->currentDirectory();
  ASSERT_EQ(FillFileDownloadAction(f, action), std::nullopt);
  EXPECT_EQ(action.kind, 7);
  EXPECT_EQ(action.type, 0);
  EXPECT_EQ(action.sourceFormat, ascii);
  EXPECT_EQ(action.destinationFormat, ascii);
  EXPECT_EQ(action.sourceDirectory, nullptr);
  EXPECT_EQ(action.definitionFile, "/home/user/my.qry");
  EXPECT_EQ(action.outputFile, "/home/user/mykvqt.dat");
  EXPECT_TRUE(action.startDate.isNull());
}

TEST_F(FileDownloadChoicesTest, FilesToEdit) {
  temp.write("Prices.DAT", "x");
  const std::string existing = temp.file("prices.dat");
  const struct {
    bool output;
    std::string field;
    std::string path;
    const char* problem;
  } cases[] = {
      {false, "", "", "Enter input file name"},
      {false, "   ", "", "Enter input file name"},
      {false, "my.qry  ", "my.qry", ""},  // need not exist: the editor makes it
      {true, "", "", "Enter output file name"},
      {true, " \t", "", "Enter output file name"},
      {true, temp.file("none.dat"), "", "File does not exist\n\nPerform a download first"},
      {true, existing + " ", temp.file("Prices.DAT"), ""},  // found regardless of case
  };
  for (const auto& c : cases) {
    const EditFileChoice choice = c.output ? OutputFileToEdit(c.field) : DefinitionFileToEdit(c.field);
    EXPECT_EQ(choice.path, c.path) << c.field;
    EXPECT_EQ(choice.problem, c.problem) << c.field;
  }
}

TEST_F(FileDownloadChoicesTest, QtFiltersOfTheOpenFileDialogs) {
  const struct {
    const char* windows;
    const char* qt;
  } cases[] = {
      {kDefinitionFilesFilter, "Definition files (*.dat *.qry);;All Files (*)"},
      {kOutputFilesFilter, "Output Data Files (*.dat);;All Files (*)"},
      {"Text|*.txt||", "Text (*.txt)"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(QtFileFilter(c.windows), c.qt) << c.windows;
}

}  // namespace
}  // namespace kvqt
