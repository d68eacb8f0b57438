// The command-line step in-process: what each option shows when it cannot
// start, and what it leaves in the action and the runner when it can.
#include "automation/command_line_step.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/core/action_info.h"
#include "app/runner/headless_progress.h"
#include "app/core/logs.h"
#include "app/core/messages.h"
#include "app/model/directory.h"
#include "app/model/format_table.h"
#include "app/model/formats.h"
#include "app/core/personal_profile.h"
#include "app/runner/program_args.h"
#include "automation/task_file.h"
#include "maintenance/query_from_step.h"
#include "platform/program_dir.h"
#include "service/import/result_import.h"
#include "service/session/download_session.h"
#include "support/temp_dir.h"

namespace kvqt {
namespace {

using kvqt::testing::TempDir;

class CommandLineStepTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Logs::SetDirectory(home_.path());
    setProfilePath(home_.file("kvqt.ini"));
    char cwd[4096];
    ASSERT_NE(::getcwd(cwd, sizeof cwd), nullptr);
    oldCwd_ = cwd;
    ASSERT_EQ(::chdir(home_.path().c_str()), 0);

    MergeFormatTable(formats_);
    Format* ms = formats_.findBySymbol("MS");
    ms->addDirectory(std::make_unique<Directory>(charts_.path(), 4));
    ms->addDirectory(std::make_unique<Directory>(other_.path(), 4));
    ms->setCurrentDirectory(charts_.path());
    action_.formats = &formats_;
  }
  void TearDown() override {
    if (action_.taskFile != nullptr) std::fclose(action_.taskFile);
    (void)!::chdir(oldCwd_.c_str());
    Logs::SetDirectory("");
    setProfilePath(platform::SettingsFilePath());
    SetProgramArguments({});
  }

  // The step on its own, as the first tick calls it; the runner keeps what it installed.
  int CallStep(const std::vector<std::string>& args) {
    SetProgramArguments(args);
    runner_ = std::make_unique<StepRunner>(view_, CommandLineStep, &action_, 1);
    int counter = 0;
    return CommandLineStep(*runner_, action_, counter);
  }

  Format* Ms() { return formats_.findById(4); }

  TempDir home_;
  TempDir charts_;
  TempDir other_;
  std::string oldCwd_;
  Formats formats_;
  ActionInfo action_;
  HeadlessProgress view_;
  std::unique_ptr<StepRunner> runner_;
};

TEST_F(CommandLineStepTest, NoArgumentsBeyondNowindowEndTheRunAtOnce) {
  const std::vector<std::vector<std::string>> cases = {{}, {"-nowindow"}, {"-NoWindow", "-NOWINDOW"}};
  for (const auto& args : cases) {
    SetProgramArguments(args);
    HeadlessProgress host;
    EXPECT_EQ(host.run(CommandLineStep, action_, 1), kStepFinished) << args.size();
    EXPECT_EQ(host.statusLines(), std::vector<std::string>{"Analyzing command line"});
    EXPECT_TRUE(host.errors().empty());
  }
  EXPECT_EQ(home_.read("kvqt.rpt"), "Analyzing command line\r\nAnalyzing command line\r\nAnalyzing command line\r\n");
}

TEST_F(CommandLineStepTest, OptionsThatCannotStartShowTheirErrorAndChangeNothing) {
  home_.write("Result.DAT", "AAA,20040102,1500,10,11,9,10.5\r\n");
  ::mkdir(home_.file("Folder.TSK").c_str(), 0755);
  const std::string longName(256, 'x');
  struct Case {
    std::vector<std::string> args;
    std::string error;
  } cases[] = {
      {{"-Bogus", "x"}, "-Bogus"},
      {{"Tasks.TSK", "-nowindow"}, "Tasks.TSK"},
      {{"Missing.TSK"}, "Error opening task file Missing.TSK"},
      {{"Folder.TSK"}, "Error opening task file Folder.TSK"},
      {{"-add2master"}, "Error opening task file -add2master"},
      {{"-printlist"}, "Error opening task file -printlist"},
      {{"-definitionfile", "a"}, "-definitionfile"},
      {{"-printlist", "MS"}, "-printlist"},
      {{"-addsymbols", "a", "MS"}, "-addsymbols"},
      {{"-Definitionfile", "Def.TXT", "ZZ", "Out.TXT"}, "Unknown format"},
      {{"-definitionfile", longName, "ASC", "Out.TXT"}, "File name too long: " + std::string(80, 'x')},
      {{"-query"}, "usage: -query format [directory [definitionfile outputformat outputfile]]"},
      {{"-query", "MS", charts_.path(), "Def.TXT"}, "usage: -query format [directory [definitionfile outputformat outputfile]]"},
      {{"-query", "MS", charts_.path(), "Def.TXT", "ASC"}, "usage: -query format [directory [definitionfile outputformat outputfile]]"},
      {{"-query", "MS"}, "Request file not found"},
      {{"-query", "ZZ", charts_.path(), "Def.TXT", "ASC", "Out.TXT"}, "Unknown format or no directory specified"},
      {{"-query", "MS", "/no/such/", "Def.TXT", "ASC", "Out.TXT"}, "Unknown format or no directory specified"},
      {{"-query", "MS", charts_.path(), "Def.TXT", "ZZ", "Out.TXT"}, "Unknown format"},
      {{"-insnames"}, "Unknown format or no directory specified"},
      {{"-inssymbols", "Names.TXT", "/no/such/"}, "Unknown format or no directory specified"},
      {{"-insnames", "Names.TXT", charts_.path(), "x"}, "Unknown format or no directory specified"},
      {{"-printlist", "ms", "x"}, "Option not yet implemented"},
      {{"-add2master", "Names.TXT", "ZZ", charts_.path()}, "Unknown format specified"},
      {{"-addsymbols", "Names.TXT", "MS", "/no/such/", "20240102"}, "Unknown directory specified"},
      {{"-datafile", "Result.DAT"}, "usage: -datafile file format [directory]"},
      {{"-datafile", "Result.DAT", "MS", charts_.path(), "x"}, "usage: -datafile file format [directory]"},
      {{"-datafile", "Missing.DAT", "MS"}, "File not found: Missing.DAT"},
      {{"-datafile", "Result.DAT", "Zz"}, "Invalid format: Zz"},
      {{"-datafile", "Result.DAT", "MS", "/no/such/"}, "Invalid directory: /no/such/"},
      // Nothing to import into: no success either.
      {{"-datafile", "Result.DAT", "ASC"}, "No directory selected for format ASC"},
      // Output files that would destroy the result or the program's own files.
      {{"-definitionfile", "Def.TXT", "ASC", "sksdat.dat"}, "Output filename not allowed: sksdat.dat"},
      {{"-definitionfile", "Def.TXT", "ASC", "Out/KVQT.DAT"}, "Output filename not allowed: Out/KVQT.DAT"},
      {{"-definitionfile", "Def.TXT", "ASC", "kvqt.prs"}, "Output filename not allowed: kvqt.prs"},
      {{"-query", "MS", charts_.path(), "Def.TXT", "ASC", "Query.dat"}, "Output filename not allowed: Query.dat"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args[0] + " " + std::to_string(c.args.size()));
    SetProgramArguments(c.args);
    ActionInfo action;
    action.formats = &formats_;
    HeadlessProgress host;
    EXPECT_EQ(host.run(CommandLineStep, action, 1), kStepErrorShown);
    EXPECT_EQ(host.errors(), std::vector<std::string>{c.error});
    EXPECT_EQ(action.sourceFormat, nullptr);
    EXPECT_EQ(action.kind, 0);
    EXPECT_EQ(action.taskFile, nullptr);
    EXPECT_TRUE(action.definitionFile.empty());
  }
}

TEST_F(CommandLineStepTest, PrintListWithAnUnknownFormatStopsWithoutAMessage) {
  SetProgramArguments({"-PRINTLIST", "ZZ", "x"});
  HeadlessProgress host;
  EXPECT_EQ(host.run(CommandLineStep, action_, 1), kStepStop);
  EXPECT_TRUE(host.errors().empty());
  EXPECT_EQ(host.statusLines(), std::vector<std::string>{"Analyzing command line"});
}

TEST_F(CommandLineStepTest, DataFileInstallsTheImportOfThatFile) {
  home_.write("Result.DAT", "AAA,20040102,1500,10,11,9,10.5\r\n");
  ASSERT_EQ(CallStep({"-nowindow", "-DATAFILE", "Result.DAT", "ms", other_.path()}), kStepGoOn);
  EXPECT_EQ(runner_->step(), &actionPostDatafile);
  EXPECT_EQ(runner_->total(), 2);
  EXPECT_EQ(action_.kind, 8);
  EXPECT_EQ(action_.type, 2);
  EXPECT_EQ(action_.localDataFile, "Result.DAT");
  EXPECT_EQ(action_.sourceFormat, Ms());
  EXPECT_EQ(action_.sourceDirectory, Ms()->directoryByName(other_.path()));

  // By id, in the format's current directory; the file found in any case of letters.
  action_ = ActionInfo();
  action_.formats = &formats_;
  ASSERT_EQ(CallStep({"-datafile", "result.dat", "4"}), kStepGoOn);
  EXPECT_EQ(action_.localDataFile, "Result.DAT");
  EXPECT_EQ(action_.sourceDirectory, Ms()->directoryByName(charts_.path()));
}

TEST_F(CommandLineStepTest, QueryInstallsQueryFromWithItsFiles) {
  home_.write("query.dat", "AAA,20040101,20041231\r\n");
  ASSERT_EQ(CallStep({"-Query", "ms"}), kStepGoOn);
  EXPECT_EQ(runner_->step(), &queryFromStep);
  EXPECT_EQ(runner_->total(), kQueryFromSteps);
  EXPECT_EQ(action_.sourceFormat, Ms());
  EXPECT_EQ(action_.sourceDirectory, Ms()->currentDirectory());
  EXPECT_EQ(action_.destinationFormat, formats_.findBySymbol("ASC"));
  EXPECT_EQ(action_.definitionFile, "query.dat");
  EXPECT_EQ(action_.outputFile, "sksdat.dat");

  // The long form keeps the names as given and takes no notice of more values.
  action_ = ActionInfo();
  action_.formats = &formats_;
  // The directory is found in the data model regardless of case and without its separator.
  std::string directory = other_.path().substr(0, other_.path().size() - 1);
  for (char& c : directory) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  ASSERT_EQ(CallStep({"-query", "4", directory, "Defs/My.DEF", "tab", "Out/Query.CSV", "extra"}), kStepGoOn);
  EXPECT_EQ(runner_->step(), &queryFromStep);
  EXPECT_EQ(action_.sourceDirectory, Ms()->directoryByName(other_.path()));
  EXPECT_EQ(action_.destinationFormat, formats_.findBySymbol("TAB"));
  EXPECT_EQ(action_.definitionFile, "Defs/My.DEF");
  EXPECT_EQ(action_.outputFile, "Out/Query.CSV");
}

TEST_F(CommandLineStepTest, DefinitionFileInstallsTheDownloadSession) {
  ASSERT_EQ(CallStep({"-definitionfile"}), kStepGoOn);
  EXPECT_EQ(runner_->step(), &DownloadSession);
  EXPECT_EQ(runner_->total(), kDownloadSessionSteps);
  EXPECT_EQ(action_.kind, 7);
  EXPECT_EQ(action_.definitionFile, "input.dat");
  EXPECT_EQ(action_.outputFile, "output.dat");
  EXPECT_EQ(action_.sourceFormat, formats_.findBySymbol("ASC"));
  EXPECT_EQ(action_.destinationFormat, formats_.findBySymbol("ASC"));

  // From the settings; the format symbol as the dialogs stored it.
  profile().putString("inputfilename", "Requests/Mine.DEF");
  profile().putString("outputformat", "TAB");
  profile().putString("outputfilename", "Out/Prices.TXT");
  action_ = ActionInfo();
  action_.formats = &formats_;
  ASSERT_EQ(CallStep({"-DefinitionFile"}), kStepGoOn);
  EXPECT_EQ(action_.definitionFile, "Requests/Mine.DEF");
  EXPECT_EQ(action_.outputFile, "Out/Prices.TXT");
  EXPECT_EQ(action_.destinationFormat, formats_.findBySymbol("TAB"));

  profile().putString("outputformat", "tab");
  ASSERT_EQ(CallStep({"-definitionfile"}), kStepErrorShown);
  EXPECT_EQ(view_.errors().back(), "Unknown format");

  action_ = ActionInfo();
  action_.formats = &formats_;
  ASSERT_EQ(CallStep({"-definitionfile", "Def.TXT", "Ms", "Out.TXT"}), kStepGoOn);
  EXPECT_EQ(runner_->step(), &DownloadSession);
  EXPECT_EQ(action_.definitionFile, "Def.TXT");
  EXPECT_EQ(action_.outputFile, "Out.TXT");
  EXPECT_EQ(action_.sourceFormat, Ms());
  EXPECT_EQ(action_.destinationFormat, Ms());
}

TEST_F(CommandLineStepTest, TaskFileIsOpenedUnderItsOwnNameAndRun) {
  ::mkdir(home_.file("Tasks").c_str(), 0755);
  home_.write("Tasks/Nightly.TSK", "SLEEP 0\r\n");
  ASSERT_EQ(CallStep({"-nowindow", "-NoWindow", "Tasks/Nightly.TSK"}), kStepGoOn);
  EXPECT_NE(action_.taskFile, nullptr);
  EXPECT_TRUE(action_.taskFileFlag);
  EXPECT_EQ(runner_->step(), &interpretTaskFile);
}

TEST_F(CommandLineStepTest, TickerNamesErrorIsShownOnceAndStopsTheRun) {
  ScopedMessages messages;
  for (const char* option : {"-insnames", "-inssymbols"}) {
    SetProgramArguments({option, "Missing.TXT", charts_.path()});
    HeadlessProgress host;
    EXPECT_EQ(host.run(CommandLineStep, action_, 1), kStepStop) << option;
    EXPECT_TRUE(host.errors().empty());
  }
  SetProgramArguments({"-add2master", "Missing.TXT", "MS", charts_.path(), "20240102"});
  HeadlessProgress host;
  EXPECT_EQ(host.run(CommandLineStep, action_, 1), kStepStop);
  ASSERT_EQ(messages->shown().size(), 3u);
  for (const auto& shown : messages->shown()) {
    EXPECT_NE(shown.text.find("Error opening ticker/names file"), std::string::npos) << shown.text;
  }
}

}  // namespace
}  // namespace kvqt
