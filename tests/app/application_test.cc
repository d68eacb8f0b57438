#include "app/application.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "app/datafile/program_data_file.h"
#include "app/core/logs.h"
#include "app/core/personal_profile.h"
#include "app/runner/program_args.h"
#include "feed_writer.h"
#include "formats/directory_refresh.h"
#include "formats/format_driver.h"
#include "platform/path.h"
#include "platform/program_dir.h"
#include "service/symbols/sdb_file.h"
#include "support/hex.h"
#include "support/temp_dir.h"

namespace kvqt {
namespace {

using kvqt::testing::Le32;
using kvqt::testing::Padded;
using kvqt::testing::TempDir;

// Start-up runs in the program directory, which is the current directory.
class ApplicationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char cwd[4096];
    ASSERT_NE(::getcwd(cwd, sizeof cwd), nullptr);
    old_cwd_ = cwd;
    ASSERT_EQ(::chdir(dir_.path().c_str()), 0);
    Logs::SetDirectory("");
    setProfilePath(dir_.file("kvqt.ini"));
  }
  void TearDown() override {
    (void)!::chdir(old_cwd_.c_str());
    setProfilePath(platform::SettingsFilePath());
    SetProgramArguments({});
    Logs::SetDebugMode(0);
  }

  void WriteLogin() { dir_.write("kvqt.prs", Padded("", 5) + Padded("12345", 9) + Padded("", 75)); }
  void WriteDataFile() {
    Formats none;
    dir_.write("kvqt.dat", EncodeProgramDataFile(UserInfo(), none));
  }
  // A data file of another program version that stores 24 formats.
  std::string TooManyFormatsFile() {
    return ":" + Le32(257) + Le32(30204) + Padded("1D", 281) + Le32(4) + Le32(24) + Padded("", 40, 'x');
  }

  TempDir dir_;
  std::string old_cwd_;
};

TEST_F(ApplicationTest, FirstStartWithArgumentsButNoDataFileIsInteractive) {
  WriteLogin();
  Application app({"-nowindow", "tasks.tsk"});
  EXPECT_EQ(app.start(dir_.path()), 0);
  EXPECT_TRUE(app.interactive());
  EXPECT_TRUE(app.arguments().empty());
  EXPECT_TRUE(ProgramArguments().empty());
  EXPECT_FALSE(app.hiddenWindow());
  EXPECT_GT(app.formats().count(), 0);  // the built-in formats
}

TEST_F(ApplicationTest, ArgumentsWithDataFileAndLoginRecordStartABatchRun) {
  WriteLogin();
  WriteDataFile();
  Application app({"tasks.tsk", "-NoWindow"});
  EXPECT_EQ(app.start(dir_.path()), 0);
  EXPECT_FALSE(app.interactive());
  EXPECT_FALSE(app.needsWizard());
  EXPECT_TRUE(app.hiddenWindow());
  EXPECT_EQ(ProgramArguments(), (std::vector<std::string>{"tasks.tsk", "-NoWindow"}));
  EXPECT_EQ(app.action().formats, &app.formats());
  EXPECT_EQ(app.action().userInfo, &app.data().userInfo());
  EXPECT_EQ(app.action().login, &app.data().login());
  EXPECT_FALSE(app.action().taskFileFlag);
  EXPECT_EQ(app.data().login().userNumber, "12345");
}

TEST_F(ApplicationTest, WithoutALoginRecordTheStartIsInteractiveWithTheWizard) {
  WriteDataFile();
  Application app({"tasks.tsk"});
  app.start(dir_.path());
  EXPECT_TRUE(app.interactive());
  EXPECT_TRUE(app.needsWizard());
  Application plain({});
  WriteLogin();
  plain.start(dir_.path());
  EXPECT_TRUE(plain.interactive());
  EXPECT_FALSE(plain.needsWizard());
}

TEST_F(ApplicationTest, NowindowOnlyHidesABatchRun) {
  const std::vector<std::vector<std::string>> hidden = {{"-nowindow"}, {"x", "-NOWINDOW"}, {"-NoWiNdOw", "y"}};
  for (const auto& args : hidden) EXPECT_TRUE(HasNoWindowOption(args));
  EXPECT_FALSE(HasNoWindowOption({"-nowindows", "nowindow", "-no-window"}));
}

TEST_F(ApplicationTest, ReportLogAndTaskFileOfThePreviousRunAreGone) {
  WriteLogin();
  WriteDataFile();
  for (bool batch : {false, true}) {
    dir_.write("kvqt.rpt", "old report\r\n");
    dir_.write("kvqt.tsk", "=Download(0, 1, \"MS\", \"\", \"/d\", 0, 0)\r\n");
    dir_.write("kvqt.dbg", "kept\r\n");
    Application app(batch ? std::vector<std::string>{"t.tsk"} : std::vector<std::string>{});
    app.start(dir_.path());
    EXPECT_EQ(app.interactive(), !batch);
    EXPECT_FALSE(dir_.exists("kvqt.rpt")) << batch;
    EXPECT_FALSE(dir_.exists("kvqt.tsk")) << batch;
    EXPECT_EQ(dir_.read("kvqt.dbg"), "kept\r\n");
  }
}

TEST_F(ApplicationTest, TooManyFormatsStartsInteractiveAndKeepsTheStoredFile) {
  WriteLogin();
  const std::string stored = TooManyFormatsFile();
  dir_.write("kvqt.dat", stored);
  Application app({"tasks.tsk"});
  EXPECT_EQ(app.start(dir_.path()), -34);
  EXPECT_TRUE(app.tooManyFormats());
  EXPECT_TRUE(app.interactive());
  EXPECT_EQ(app.formats().count(), 0);
  app.save();
  EXPECT_EQ(dir_.read("kvqt.dat"), stored);
  EXPECT_TRUE(dir_.exists("kvqt.prs"));
}

TEST_F(ApplicationTest, ExitSaveWritesBothFiles) {
  Application app({});
  app.start(dir_.path());
  EXPECT_FALSE(dir_.exists("kvqt.dat"));
  EXPECT_EQ(app.save(), 0);
  EXPECT_EQ(dir_.read("kvqt.prs").size(), 89u);
  EXPECT_EQ(dir_.read("kvqt.dat").substr(0, 9), ":" + Le32(257) + Le32(30204));
  EXPECT_EQ(app.formats().count(), 0);
}

int Finish(StepRunner& runner, ActionInfo&, int&) {
  runner.status("Received 1024 bytes", false);  // passing progress: not printed
  runner.status("done", true);
  return kStepFinished;
}
int Fail(StepRunner& runner, ActionInfo&, int&) {
  runner.error("-bogus");
  return kStepErrorShown;
}
int Stop(StepRunner&, ActionInfo&, int&) { return kStepStop; }

TEST_F(ApplicationTest, HeadlessBatchExitCodeIsZeroOnlyWhenTheRunFinished) {
  WriteLogin();
  WriteDataFile();
  Application app({"x"});
  app.start(dir_.path());
  ::testing::internal::CaptureStdout();
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(RunHeadlessBatch(app, Finish), 0);
  EXPECT_EQ(RunHeadlessBatch(app, Fail), 1);
  EXPECT_EQ(RunHeadlessBatch(app, Stop), 1);
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "done\n-bogus\n");
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "-bogus\n");
  EXPECT_EQ(dir_.read("kvqt.rpt"), "done\r\n-bogus\r\n");
}

TEST_F(ApplicationTest, StartImportsALeftSymbolFeedAndRefreshesDirectoriesFromTheirMasters) {
  WriteLogin();
  WriteDataFile();
  feed_writer::FeedContents contents;
  feed_writer::Instrument abc;
  abc.sincode = 1001;
  abc.symbol = "ABC";
  abc.name = "Alpha Beta";
  contents.instruments.push_back(abc);
  dir_.write("sintab.fd", feed_writer::BuildFeed(contents));

  const std::string charts = dir_.file("ms/");
  ASSERT_TRUE(platform::MakeDirectories(charts));
  DatafileEntry entry;
  ASSERT_EQ(AddEntry("ABC", "Alpha Beta", 'D', entry, 4, charts), 0);

  InstallDirectoryRefresh();
  Application app({});
  ASSERT_EQ(app.start(dir_.path()), 0);
  EXPECT_FALSE(dir_.exists("sintab.fd"));
  SdbTables tables;
  ASSERT_EQ(ReadSdbFile(dir_.file("kvqt.sdb"), tables, nullptr, nullptr), 0);
  EXPECT_EQ(tables.instruments.records().size(), 1u);

  Directory directory(charts, 4);
  EXPECT_EQ(directory.count(), 1);
  ASSERT_NE(directory.bySymbol("ABC"), nullptr);
  EXPECT_TRUE(directory.bySymbol("ABC")->selected());
}

}  // namespace
}  // namespace kvqt
