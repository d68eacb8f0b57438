#include "automation/task_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/core/action_info.h"
#include "app/runner/headless_progress.h"
#include "app/core/logs.h"
#include "app/core/messages.h"
#include "app/model/directory.h"
#include "app/model/format.h"
#include "app/model/formats.h"
#include "app/model/list.h"
#include "automation/task_line_writer.h"
#include "automation/wait_steps.h"
#include "formats/directory_refresh.h"
#include "formats/format_driver.h"
#include "maintenance/convert_steps.h"
#include "maintenance/query_from_step.h"
#include "platform/clock.h"
#include "service/session/download_session.h"
#include "support/temp_dir.h"

namespace kvqt {
namespace {

using kvqt::testing::TempDir;

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

class TaskFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Logs::SetDirectory(dir.path());
    previousRefresh = Directory::SetRefreshHook(nullptr);
    InstallDirectoryRefresh();

    formats.add(std::make_unique<Format>("MS", "Metastock", 4));
    formats.add(std::make_unique<Format>("ASC", "Ascii", 5));
    formats.add(std::make_unique<Format>("NODIR", "No directories", 9));
    ms = formats.findBySymbol("MS");
    asc = formats.findBySymbol("ASC");

    daily = dir.path() + "Daily/";
    weekly = dir.path() + "Weekly/";
    ascii = dir.path() + "Ascii/";
    for (const std::string& path : {daily, weekly, ascii}) std::filesystem::create_directory(path);
    for (const char* symbol : {"ABC", "DEF", "GHI"}) {
      DatafileEntry entry;
      ASSERT_EQ(CreateEntry(symbol, symbol, 0, entry, 4, daily), 1);
    }
    DatafileEntry entry;
    ASSERT_EQ(CreateEntry("XYZ", "XYZ", 0, entry, 5, ascii), 1);
    ms->addDirectory(std::make_unique<Directory>(daily, 4));
    ms->addDirectory(std::make_unique<Directory>(weekly, 4));
    ms->setCurrentDirectory(daily);
    asc->addDirectory(std::make_unique<Directory>(ascii, 5));
    asc->setCurrentDirectory(ascii);
    // Added out of order: the lists are kept by name.
    for (const char* name : {"Tech", "Banks", "Energy"}) ms->addList(std::make_unique<List>(name, 4));

    action.formats = &formats;
  }

  void TearDown() override {
    closeTaskFile(action);
    SetTaskFileStep(nullptr);
    Directory::SetRefreshHook(previousRefresh);
    Logs::SetDirectory("");
  }

  // The text becomes the task file the action runs.
  void Load(const std::string& text) {
    dir.write("run.tsk", text);
    std::FILE* file = std::fopen(dir.file("run.tsk").c_str(), "rb");
    ASSERT_NE(file, nullptr);
    prepareTaskFile(action, file);
  }

  // One interpreter call.
  int Step() {
    int counter = 0;
    return interpretTaskFile(runner, action, counter);
  }

  // The whole file through the headless runner.
  int Run() { return view.run(interpretTaskFile, action, 1); }

  bool StatusShown(const std::string& text) const {
    const auto& lines = view.statusLines();
    return std::find(lines.begin(), lines.end(), text) != lines.end();
  }

  TempDir dir;
  platform::ScopedFixedClock clock{platform::LocalDateTime{2024, 3, 15, 9, 41, 30}};
  Formats formats;
  Format* ms = nullptr;
  Format* asc = nullptr;
  std::string daily;
  std::string weekly;
  std::string ascii;
  ActionInfo action;
  HeadlessProgress view;
  StepRunner runner{view, interpretTaskFile, &action, 1};
  Directory::RefreshHook previousRefresh = nullptr;
};

TEST_F(TaskFileTest, StartingInstallsTheInterpreterWithTheFlagSet) {
  dir.write("run.tsk", "");
  std::FILE* file = std::fopen(dir.file("run.tsk").c_str(), "rb");
  StepRunner fresh(view, nullptr, &action, 0);
  startTaskFile(fresh, action, file);
  EXPECT_EQ(action.taskFile, file);
  EXPECT_TRUE(action.taskFileFlag);
  EXPECT_EQ(TaskFileStep(), &interpretTaskFile);
  EXPECT_EQ(fresh.step(), &interpretTaskFile);
  EXPECT_EQ(fresh.total(), 1);
  EXPECT_EQ(fresh.counter(), 0);
}

TEST_F(TaskFileTest, TheEndOfTheFileClosesItAndFinishes) {
  Load("");
  int counter = 0;
  EXPECT_EQ(interpretTaskFile(runner, action, counter), kStepFinished);
  EXPECT_EQ(counter, 1);
  EXPECT_EQ(action.taskFile, nullptr);
  EXPECT_FALSE(action.taskFileFlag);
  const std::vector<std::string> expected = {"Analyzing task file", "Task file finished"};
  EXPECT_EQ(view.statusLines(), expected);
}

TEST_F(TaskFileTest, EveryErrorThatStopsTheTask) {
  const std::string d = "\"" + daily + "\"";
  const std::string a = "\"" + ascii + "\"";
  struct Case {
    std::string line;
    std::string error;
  } cases[] = {
      {"=Download 0, 1", "syntax error in task file: '(' expected"},
      {"=Download(0, 1, \"MS\"", "syntax error in task file: ')' expected"},
      {"=Download(x, 1, \"MS\", \"\", \"\", 0, 0)", "syntax error in task file: numeric downloaddomain expected"},
      {"=Download(0, -1, \"MS\", \"\", \"\", 0, 0)", "syntax error in task file: numeric downloadtype expected"},
      {"=Download(0, 1, MS, \"\", \"\", 0, 0)", "syntax error in task file: string value expected for format"},
      {"=Download(0, 1, \"ms\", \"\", \"\", 0, 0)", "unknown format ms"},
      {"=Download(0, 1, \"MS\", Banks, \"\", 0, 0)", "syntax error in task file: string value expected for list"},
      {"=Download(0, 1, \"MS\", \"\", /d/, 0, 0)", "syntax error in task file: string value expected for directory"},
      {"=Download(0, 1, \"MS\", \"\", \"\", x, 0)", "syntax error in task file: numeric startdate expected"},
      {"=Download(0, 1, \"MS\", \"\", \"\", 0)", "syntax error in task file: numeric enddate expected"},
      {"=FileDownload(x)", "syntax error in task file: numeric pricetype expected"},
      {"=FileDownload(0, x)", "syntax error in task file: numeric downloaddomain expected"},
      {"=FileDownload(0, 3, x)", "syntax error in task file: numeric downloadtype expected"},
      {"=FileDownload(0, 3, 1, x)", "syntax error in task file: numeric downloadperiod expected"},
      {"=FileDownload(0, 3, 1, 0, x)", "syntax error in task file: numeric startdate expected"},
      {"=FileDownload(0, 3, 1, 0, 0, \"0\")", "syntax error in task file: numeric enddate expected"},
      {"=FileDownload(0, 3, 1, 0, 0, 0, MS)", "syntax error in task file: string value expected for format"},
      {"=FileDownload(0, 3, 1, 0, 0, 0, \"XX\")", "unknown format XX"},
      {"=FileDownload(0, 3, 1, 0, 0, 0, \"MS\", 5)",
       "syntax error in task file: string value expected for directory, list or inputfile"},
      {"=FileDownload(0, 5, 1, 0, 0, 0, \"MS\", \"\", \"ASC\", \"out.txt\", 0)",
       "FileDownload not supported for downloaddomain 5"},
      {"=FileDownload(0, 3, 1, 0, 0, 0, \"MS\", " + d + ", ASC)",
       "syntax error in task file: string value expected for output format"},
      {"=FileDownload(0, 3, 1, 0, 0, 0, \"MS\", " + d + ", \"ASC\", out.txt)",
       "syntax error in task file: string value expected for output file name"},
      {"=FileDownload(0, 3, 1, 0, 0, 0, \"MS\", " + d + ", \"ASC\", \"out.txt\", x)",
       "syntax error in task file: numeric info type expected"},
      // A name longer than the action keeps would name another file once cut.
      {"=FileDownload(0, 3, 1, 0, 0, 0, \"MS\", " + d + ", \"ASC\", \"" + std::string(300, 'o') + "\", 0)",
       "File name too long: " + std::string(80, 'o')},
      {"=FileDownload(0, 7, 1, 0, 0, 0, \"MS\", \"" + std::string(256, 'q') + "\", \"ASC\", \"out.txt\", 0)",
       "File name too long: " + std::string(80, 'q')},
      // The output would destroy the result, or the exit save the output.
      {"=FileDownload(0, 3, 1, 0, 0, 0, \"MS\", " + d + ", \"ASC\", \"sksdat.dat\", 0)",
       "Output filename not allowed: sksdat.dat"},
      {"=FileDownload(0, 3, 1, 0, 0, 0, \"MS\", " + d + ", \"ASC\", \"KVQT.DAT\", 0)",
       "Output filename not allowed: KVQT.DAT"},
      {"=FileDownload(0, 3, 1, 0, 0, 0, \"MS\", " + d + ", \"ASC\", \"kvqt.prs\", 0)",
       "Output filename not allowed: kvqt.prs"},
      {"=FileDownload(0, 7, 1, 0, 0, 0, \"MS\", \"in.dat\", \"ASC\", \"/tmp/out/query.dat\", 0)",
       "Output filename not allowed: /tmp/out/query.dat"},
      {"=Convert(MS)", "syntax error in task file: string value expected for format"},
      {"=Convert(\"XX\", " + d + ", \"ASC\", " + a + ", 0, 0)", "unknown format XX"},
      {"=Convert(\"MS\", /d/, \"ASC\", " + a + ", 0, 0)",
       "syntax error in task file: string value expected for directory"},
      {"=Convert(\"MS\", \"/nowhere/\", \"ASC\", " + a + ", 0, 0)", "unknown directory /nowhere/"},
      {"=Convert(\"MS\", " + d + ", ASC, " + a + ", 0, 0)",
       "syntax error in task file: string value expected for format"},
      {"=Convert(\"MS\", " + d + ", \"asc\", " + a + ", 0, 0)", "unknown format asc"},
      // A directory of another format is not the destination format's.
      {"=Convert(\"MS\", " + d + ", \"ASC\", " + d + ", 0, 0)", "unknown directory " + daily},
      {"=Convert(\"MS\", " + d + ", \"ASC\", " + a + ", 0, x)",
       "syntax error in task file: numeric convertflag expected"},
      {"=Convert(\"MS\", " + d + ", \"ASC\", " + a + ", 0)",
       "syntax error in task file: numeric convertflag expected"},
      {"=Append(\"MS\", " + d + ", \"ASC\")", "syntax error in task file: string value expected for directory"},
      {"=Append(\"MS\", " + d + ")", "syntax error in task file: string value expected for format"},
      {"=Append(\"MS\", " + d + ", \"ASC\", \"\")", "unknown directory "},
      // A master that cannot be read (here: none at all, as on a share not
      // mounted) is no directory of nothing to do.
      {"=Convert(\"MS\", \"" + weekly + "\", \"ASC\", " + a + ", 0, 0)",
       "Can't access Masterfile of directory " + weekly.substr(0, 80)},
      {"=Append(\"MS\", \"" + weekly + "\", \"ASC\", " + a + ")",
       "Can't access Masterfile of directory " + weekly.substr(0, 80)},
      {"CD", "CD: Format expected"},
      {"cd 4", "CD: directory expected"},
      {"CD ms " + daily, "CD: unknown format ms"},
      {"CD 99 " + daily, "CD: unknown format 99"},
      {"CD 4 /nowhere", "CD: unknown directory /nowhere"},
      {"CD 5 " + daily, "CD: unknown directory " + daily.substr(0, daily.size() - 1)},
      {"LU XX 0", "Unknown format"},
      {"LU MS", "Listnumber expected"},
      {"LU MS first", "Listnumber expected"},
      {"LU MS 3", "Unknown listnumber"},
      {"LU MS 5", "Unknown listnumber"},
      {"LU MS 99999999999", "Unknown listnumber"},
      {"US", "Unknown source format"},
      {"US ms", "Unknown source format"},
      {"QU XX", "Unknown source format"},
      {"QU NODIR", "No directory selected"},
      {"US NODIR QU", "No directory selected"},
      {"CF XX MS", "Unknown source format"},
      {"CC MS", "Unknown destination format"},
      {"UL MS XX", "Unknown destination format"},
      {"CF MS NODIR", "No directory selected"},
      {"UL NODIR MS", "No directory selected"},
      {"WAIT", "WAIT: time hh:mm expected"},
      {"WAIT 25:00", "WAIT: time hh:mm expected 25:00"},
      {"wait noon", "WAIT: time hh:mm expected noon"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    Load(c.line + "\r\nSLEEP 1\r\n");
    const std::size_t before = view.errors().size();
    EXPECT_EQ(Step(), kStepErrorShown);
    ASSERT_EQ(view.errors().size(), before + 1);
    EXPECT_EQ(view.errors().back(), c.error);
    EXPECT_EQ(view.statusLines().back(), c.error);
    EXPECT_EQ(action.taskFile, nullptr);
    EXPECT_FALSE(action.taskFileFlag);
  }
}

// The error display is the runner's: a stopped task leaves the run stopped
// with the error code and the dialog open.
TEST_F(TaskFileTest, AStoppingErrorEndsTheRunWithItsCode) {
  Load("SLEEP 1\r\nLU MS 7\r\nSLEEP 1\r\n");
  EXPECT_EQ(Run(), kStepErrorShown);
  ASSERT_EQ(view.errors().size(), 1u);
  EXPECT_EQ(view.errors()[0], "Unknown listnumber");
  EXPECT_EQ(view.waits(), 1);
}

TEST_F(TaskFileTest, DownloadLinesSetTheActionAndStartTheSession) {
  const std::string d = "\"" + daily + "\"";
  Directory* dailyDir = ms->directoryByName(daily);
  Directory* weeklyDir = ms->directoryByName(weekly);
  struct Case {
    std::string line;
    int kind;
    int type;
    const List* list;
    const Directory* directory;
    int start;
    int end;
  } cases[] = {
      {"=Download(0, 1, \"MS\", \"\", " + d + ", 0, 0)", 0, 1, nullptr, dailyDir, 0, 0},
      {"=Download(1, 18, \"MS\", \"Energy\", \"\", 20240102, 240131)", 1, 18, ms->listByName("Energy"), nullptr,
       20240102, 20240131},
      // Names compare without case; an unknown list or directory selects none.
      {"=download(1, 1, \"MS\", \"energy\", \"/nowhere/\", 0, 0)", 1, 1, nullptr, nullptr, 0, 0},
      // The directory path is completed and compared without case.
      {"=Download(0, 2, \"MS\", \"\", \"" + Lower(weekly.substr(0, weekly.size() - 1)) + "\", 1240101, 0)", 0, 2,
       nullptr, weeklyDir, 20240101, 0},
      {"LU MS 0", 1, 1, ms->listByName("Banks"), nullptr, 0, 0},
      {"lu 4 2 realtime", 1, 2, ms->listByName("Tech"), nullptr, 0, 0},
      {"LU MS 1 RANGE 20240101 20240131", 1, 2, ms->listByName("Energy"), nullptr, 20240101, 20240131},
      {"LU MS 1 nonsense", 1, 1, ms->listByName("Energy"), nullptr, 0, 0},
      {"US MS", 0, 1, nullptr, dailyDir, 0, 0},
      {"US MS REALTIME", 0, 3, nullptr, dailyDir, 0, 0},
      {"US 4 range 240102 240105", 0, 2, nullptr, dailyDir, 20240102, 20240105},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    Load(c.line + "\r\n");
    runner.setStep(interpretTaskFile, 1);
    EXPECT_EQ(Step(), kStepGoOn);
    EXPECT_TRUE(view.errors().empty());
    EXPECT_EQ(runner.step(), &DownloadSession);
    EXPECT_EQ(runner.total(), kDownloadSessionSteps);
    EXPECT_EQ(action.sourceFormat, ms);
    EXPECT_EQ(action.kind, c.kind);
    EXPECT_EQ(action.type, c.type);
    EXPECT_EQ(action.list, c.list);
    if (c.kind == 0) {
      EXPECT_EQ(action.sourceDirectory, c.directory);
    }
    EXPECT_EQ(action.startDate.value(), c.start);
    EXPECT_EQ(action.endDate.value(), c.end);
    EXPECT_TRUE(action.taskFileFlag);
  }
}

TEST_F(TaskFileTest, FileDownloadLinesBySelectionKind) {
  const std::string d = "\"" + daily + "\"";
  struct Case {
    std::string line;
    int kind;
    const Directory* directory;
    const List* list;
    std::string definitionFile;
    const Format* output;
  } cases[] = {
      {"=FileDownload(1, 3, 2, 1, 20240201, 20240229, \"MS\", " + d + ", \"ASC\", \"out.txt\", 3)", 3,
       ms->directoryByName(daily), nullptr, "", asc},
      {"=FileDownload(1, 4, 2, 1, 20240201, 20240229, \"MS\", \"Banks\", \"ASC\", \"out.txt\", 3)", 4, nullptr,
       ms->listByName("Banks"), "", asc},
      {"=FileDownload(1, 7, 2, 1, 20240201, 20240229, \"MS\", \"query.dat\", \"XX\", \"out.txt\", 3)", 7, nullptr,
       nullptr, "query.dat", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    action.definitionFile.clear();
    Load(c.line + "\r\n");
    EXPECT_EQ(Step(), kStepGoOn);
    EXPECT_TRUE(view.errors().empty());
    EXPECT_EQ(runner.step(), &DownloadSession);
    EXPECT_EQ(runner.total(), kDownloadSessionSteps);
    EXPECT_EQ(action.priceType, 1);
    EXPECT_EQ(action.kind, c.kind);
    EXPECT_EQ(action.type, 2);
    EXPECT_EQ(action.period, 1);
    EXPECT_EQ(action.startDate.value(), 20240201);
    EXPECT_EQ(action.endDate.value(), 20240229);
    EXPECT_EQ(action.sourceFormat, ms);
    EXPECT_EQ(action.sourceDirectory, c.directory);
    EXPECT_EQ(action.list, c.list);
    EXPECT_EQ(action.definitionFile, c.definitionFile);
    EXPECT_EQ(action.destinationFormat, c.output);
    EXPECT_EQ(action.outputFile, "out.txt");
    EXPECT_EQ(action.infoType, 3);
  }
}

TEST_F(TaskFileTest, FileNamesOf255CharactersAreKeptWhole) {
  const std::string name(255, 'n');
  Load("=FileDownload(0, 7, 1, 0, 0, 0, \"MS\", \"" + name + "\", \"ASC\", \"out\", 0)\n" +
       "=FileDownload(0, 7, 1, 0, 0, 0, \"MS\", \"in\", \"ASC\", \"" + name + "\", 0)\n");
  EXPECT_EQ(Step(), kStepGoOn);
  EXPECT_EQ(action.definitionFile, name);
  runner.setStep(interpretTaskFile, 1);
  EXPECT_EQ(Step(), kStepGoOn);
  EXPECT_EQ(action.outputFile, name);
}

TEST_F(TaskFileTest, ConvertAndAppendCountTheDirectoryAfterItsRefresh) {
  const std::string d = "\"" + daily + "\"";
  const std::string a = "\"" + ascii + "\"";
  Directory* dailyDir = ms->directoryByName(daily);
  Directory* asciiDir = asc->directoryByName(ascii);
  ASSERT_EQ(dailyDir->size(), 0);  // not yet refreshed
  struct Case {
    std::string line;
    StepFunction step;
    int total;
    int flags;
    int start;
  } cases[] = {
      {"=Convert(\"MS\", " + d + ", \"ASC\", " + a + ", 20240105, 2)", &convertAllStep, 3, 2, 20240105},
      {"=Convert(\"MS\", " + d + ", \"ASC\", " + a + ", 0, 0)", &convertAllStep, 3, 0, 0},
      {"=Convert(\"MS\", " + d + ", \"ASC\", " + a + ", none, 0)", &convertAllStep, 3, 0, 0},
      {"=Append(\"MS\", " + d + ", \"ASC\", " + a + ")", &appendAllStep, 1, 0, 0},
      {"CF MS ASC", &convertAllStep, 3, kConvertOverwrite, 0},
      {"CC 4 5", &convertAllStep, 3, kConvertSkipExisting, 0},
      {"UL MS ASC", &appendAllStep, 1, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    action.startDate = Date(2020, 1, 1);
    Load(c.line + "\r\n");
    EXPECT_EQ(Step(), kStepGoOn);
    EXPECT_TRUE(view.errors().empty());
    EXPECT_EQ(runner.step(), c.step);
    EXPECT_EQ(runner.total(), c.total);
    EXPECT_EQ(action.sourceFormat, ms);
    EXPECT_EQ(action.sourceDirectory, dailyDir);
    EXPECT_EQ(action.destinationFormat, asc);
    EXPECT_EQ(action.destinationDirectory, asciiDir);
    if (c.step == &convertAllStep) {
      EXPECT_EQ(action.convertFlags, c.flags);
      EXPECT_EQ(action.startDate.value(), c.start);
    }
  }
}

TEST_F(TaskFileTest, ConvertAndAppendFromAMasterThatCannotBeReadFailTheRun) {
  // Damaged: a MASTER file too short to hold its header.
  dir.write("Weekly/MASTER", "\x05");
  for (const std::string& lines : {std::string("CD 4 ") + weekly + "\r\nCF MS ASC\r\nSLEEP 1\r\n",
                                   std::string("CD 4 ") + weekly + "\r\nUL MS ASC\r\nSLEEP 1\r\n",
                                   "=Convert(\"MS\", \"" + weekly + "\", \"ASC\", \"" + ascii + "\", 0, 0)\r\n"}) {
    SCOPED_TRACE(lines);
    HeadlessProgress host;
    ScopedMessages messages;
    Load(lines);
    EXPECT_EQ(host.run(interpretTaskFile, action, 1), kStepErrorShown);
    ASSERT_EQ(host.errors().size(), 1u);
    EXPECT_EQ(host.errors().back(), "Can't access Masterfile of directory " + weekly.substr(0, 80));
    EXPECT_EQ(std::find(host.statusLines().begin(), host.statusLines().end(), "Task file finished"),
              host.statusLines().end());
    EXPECT_EQ(host.waits(), 0);  // the SLEEP never ran
  }
}

TEST_F(TaskFileTest, AConvertLineWrittenWithoutStartDateReadsBackWithoutOne) {
  ActionInfo written;
  written.sourceFormat = ms;
  written.sourceDirectory = ms->directoryByName(daily);
  written.destinationFormat = asc;
  written.destinationDirectory = asc->directoryByName(ascii);
  written.convertFlags = kConvertSkipExisting;
  const std::string line = TaskLine(kActionConvert, written);
  ASSERT_NE(line.find(", 0, 2)"), std::string::npos) << line;

  action.startDate = Date(2020, 1, 1);
  Load(line);
  EXPECT_EQ(Step(), kStepGoOn);
  EXPECT_TRUE(view.errors().empty());
  EXPECT_EQ(runner.step(), &convertAllStep);
  EXPECT_TRUE(action.startDate.isNull());
  EXPECT_EQ(action.convertFlags, kConvertSkipExisting);
  EXPECT_EQ(action.sourceDirectory, written.sourceDirectory);
  EXPECT_EQ(action.destinationDirectory, written.destinationDirectory);
}

TEST_F(TaskFileTest, QueryFromRunsOnTheCurrentDirectoryWithTheNamedFiles) {
  for (const char* line : {"QU MS", "US MS QU", "us 4 qu"}) {
    SCOPED_TRACE(line);
    action.definitionFile = "query.dat";
    action.outputFile = "sksdat.dat";
    action.destinationFormat = asc;
    Load(std::string(line) + "\n");
    EXPECT_EQ(Step(), kStepGoOn);
    EXPECT_EQ(runner.step(), &queryFromStep);
    EXPECT_EQ(runner.total(), kQueryFromSteps);
    EXPECT_EQ(action.sourceFormat, ms);
    EXPECT_EQ(action.sourceDirectory, ms->directoryByName(daily));
    EXPECT_EQ(action.destinationFormat, asc);
    EXPECT_EQ(action.definitionFile, "query.dat");
    EXPECT_EQ(action.outputFile, "sksdat.dat");
  }
}

TEST_F(TaskFileTest, CdFindsTheStoredDirectoryWithoutCaseAndMakesItCurrent) {
  const std::string stored = dir.path() + "Data/";
  std::filesystem::create_directory(stored);
  ms->addDirectory(std::make_unique<Directory>(stored, 4));
  ASSERT_EQ(ms->currentDirectory(), ms->directoryByName(daily));

  // Keyword and path in lower case, the trailing separator left off.
  Load("cd 4 " + Lower(dir.path()) + "data\r\nUS MS REALTIME\r\n");
  EXPECT_EQ(Step(), kStepGoOn);
  EXPECT_TRUE(view.errors().empty());
  Directory* data = ms->directoryByName(stored);
  ASSERT_NE(data, nullptr);
  EXPECT_EQ(ms->currentDirectory(), data);
  EXPECT_EQ(action.sourceFormat, ms);
  EXPECT_EQ(action.sourceDirectory, data);
  EXPECT_EQ(runner.step(), &interpretTaskFile);

  // The download of the format's current directory takes it.
  EXPECT_EQ(Step(), kStepGoOn);
  EXPECT_EQ(runner.step(), &DownloadSession);
  EXPECT_EQ(action.sourceDirectory, data);
  EXPECT_EQ(action.type, 3);
}

TEST_F(TaskFileTest, LinesThatOnlyShowAMessageOrAreSkipped) {
  Load(
      "\r\n"
      "   \t\r\n"
      ";;--..!!\r\n"
      "FETCH all\r\n"
      "CL MS\r\n"
      "=Nothing(1, 2)\r\n"
      "=Execute(notquoted)\r\n"
      "=Execute()\r\n");
  EXPECT_EQ(Run(), kStepFinished);
  EXPECT_TRUE(view.errors().empty());
  const std::vector<std::string> expected = {
      "Analyzing task file", "Analyzing task file",           "Analyzing task file", "Analyzing task file",
      "FETCH : unknown command", "Analyzing task file",       "CL command no longer supported",
      "Analyzing task file",     "Analyzing task file",       "Analyzing task file",
      "Analyzing task file",     "Task file finished",
  };
  EXPECT_EQ(view.statusLines(), expected);
  EXPECT_EQ(action.taskFile, nullptr);
  EXPECT_FALSE(action.taskFileFlag);
}

TEST_F(TaskFileTest, SleepCountsDownAndTheRunGoesOnWithTheNextLine) {
  // No line break after the last line.
  Load("SLEEP 3\r\nSLEEP 1");
  const std::time_t start = platform::Now();
  EXPECT_EQ(Run(), kStepFinished);
  std::vector<std::string> countdown;
  for (const std::string& line : view.statusLines()) {
    if (line.rfind("Countdown", 0) == 0) countdown.push_back(line);
  }
  const std::vector<std::string> expected = {"Countdown 3", "Countdown 2", "Countdown 1", "Countdown 1"};
  EXPECT_EQ(countdown, expected);
  EXPECT_EQ(view.waits(), 4);
  EXPECT_EQ(platform::Now() - start, 4);
  EXPECT_EQ(view.statusLines().back(), "Task file finished");
}

TEST_F(TaskFileTest, WaitForTheCurrentMinuteGoesOnAtOnce) {
  Load("WAIT 9:41\r\nSLEEP 1\r\n");
  EXPECT_EQ(Run(), kStepFinished);
  EXPECT_EQ(view.waits(), 1);  // the SLEEP's second only
  EXPECT_TRUE(StatusShown("Wait until:\t09:41\nTime:\t09:41"));
}

TEST_F(TaskFileTest, WaitUntilALaterMinuteThenTheNextLine) {
  Load("WAIT 09:43\r\nSLEEP 1\r\n");
  EXPECT_EQ(Run(), kStepFinished);
  // 09:41:30 to 09:43:00, then the SLEEP's second.
  EXPECT_EQ(view.waits(), 90 + 1);
  EXPECT_TRUE(StatusShown("Wait until:\t09:43\nTime:\t09:43"));
  EXPECT_TRUE(StatusShown("Countdown 1"));
}

TEST_F(TaskFileTest, ExecuteStartsTheQuotedCommandAndGoesOn) {
  const std::string mark = dir.file("ran");
  Load("=Execute(\"touch " + mark + "\")\r\n=Execute(\"touch " + dir.file("a,b") + "\")\r\nSLEEP 1\r\n");
  EXPECT_EQ(Run(), kStepFinished);
  EXPECT_TRUE(view.errors().empty());
  EXPECT_TRUE(StatusShown("touch " + mark + " 33"));
  // Cut at the comma, the second command has no closing quote: nothing started.
  for (const std::string& line : view.statusLines()) EXPECT_EQ(line.find("a,b"), std::string::npos) << line;
  EXPECT_TRUE(StatusShown("Countdown 1"));
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (!std::filesystem::exists(mark) && std::chrono::steady_clock::now() < end) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_TRUE(std::filesystem::exists(mark));
  EXPECT_FALSE(std::filesystem::exists(dir.file("a")));
}

TEST_F(TaskFileTest, ExecuteOfAMissingProgramShowsTheFailedStart) {
  Load("=Execute(\"" + dir.file("no-such-program") + " x\")\r\n");
  EXPECT_EQ(Run(), kStepFinished);
  EXPECT_TRUE(StatusShown(dir.file("no-such-program") + " x 2"));
}

TEST_F(TaskFileTest, ALongLineIsReadCutAndItsRestNeverRuns) {
  // The blanks take the line past 511 characters; what follows them is lost.
  Load("SLEEP 1" + std::string(600, ' ') + "FETCH\r\nCD 4 " + std::string(600, 'x') + "\r\n");
  EXPECT_EQ(Run(), kStepErrorShown);
  ASSERT_EQ(view.errors().size(), 1u);
  EXPECT_EQ(view.errors()[0], "CD: unknown directory " + std::string(80, 'x'));
  EXPECT_EQ(view.waits(), 1);
  EXPECT_FALSE(StatusShown("FETCH : unknown command"));
}

TEST_F(TaskFileTest, AnActionResetsWhatTheLastOneSet) {
  Load("LU MS 1 RANGE 20240101 20240131\r\n=Execute(notquoted)\r\n");
  EXPECT_EQ(Step(), kStepGoOn);
  ASSERT_NE(action.list, nullptr);
  action.priceType = 4;
  runner.setStep(interpretTaskFile, 1);
  EXPECT_EQ(Step(), kStepGoOn);
  EXPECT_EQ(action.kind, 0);
  EXPECT_EQ(action.type, 0);
  EXPECT_EQ(action.priceType, 0);
  EXPECT_EQ(action.sourceFormat, nullptr);
  EXPECT_EQ(action.list, nullptr);
  EXPECT_TRUE(action.startDate.isNull());
  EXPECT_TRUE(action.endDate.isNull());
}

TEST_F(TaskFileTest, ClosingTheTaskFileOfARunThatEndedOtherwise) {
  Load("SLEEP 5\r\n");
  view.setIdle([](HeadlessProgress& p) {
    if (p.waits() == 2) p.cancel();
  });
  EXPECT_EQ(Run(), kStepStop);
  EXPECT_NE(action.taskFile, nullptr);
  closeTaskFile(action);
  EXPECT_EQ(action.taskFile, nullptr);
  EXPECT_FALSE(action.taskFileFlag);
}

}  // namespace
}  // namespace kvqt
