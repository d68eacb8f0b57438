// Starts the real kvqt (and Tarnswap) as the user would, each test with its
// own program directory, settings directory and runtime directory, so nothing
// meets the user's files or another test.
#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/datafile/program_data_file.h"
#include "app/model/formats.h"
#include "platform/instance_endpoint.h"
#include "support/hex.h"
#include "support/temp_dir.h"
#include "updater/child_process.h"

namespace kvqt {
namespace {

using kvqt::testing::ChildProcess;
using kvqt::testing::Padded;
using kvqt::testing::TempDir;
using kvqt::testing::WaitUntil;
using namespace std::chrono_literals;

constexpr const char* kTitle = "Norvale Korvane";

std::vector<std::string> ListDirectory(const std::string& path) {
  std::vector<std::string> names;
  if (DIR* dir = ::opendir(path.c_str())) {
    while (dirent* e = ::readdir(dir)) {
      if (std::string(e->d_name) != "." && std::string(e->d_name) != "..") names.push_back(e->d_name);
    }
    ::closedir(dir);
  }
  return names;
}

// Processes whose program file is `path`.
std::vector<pid_t> ProcessesOf(const std::string& path) {
  std::vector<pid_t> pids;
  DIR* proc = ::opendir("/proc");
  if (proc == nullptr) return pids;
  while (dirent* e = ::readdir(proc)) {
    char* end = nullptr;
    long pid = std::strtol(e->d_name, &end, 10);
    if (*end != '\0' || pid <= 0) continue;
    char exe[4096];
    ssize_t n = ::readlink(("/proc/" + std::string(e->d_name) + "/exe").c_str(), exe, sizeof exe - 1);
    if (n > 0 && std::string(exe, static_cast<std::size_t>(n)) == path) pids.push_back(static_cast<pid_t>(pid));
  }
  ::closedir(proc);
  return pids;
}

class KvqtProcessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (const char* old = std::getenv("XDG_RUNTIME_DIR")) oldRuntime_ = old, hadRuntime_ = true;
    ::setenv("XDG_RUNTIME_DIR", runtime_.path().c_str(), 1);
    ::chmod(runtime_.path().c_str(), 0700);
    // A login record, so an interactive start opens the main window rather
    // than the first-run wizard.
    home_.write("kvqt.prs", Padded("", 5) + Padded("12345", 84));
  }
  void TearDown() override {
    // Whatever a test left running goes now: the copies it started itself
    // go with their ChildProcess; one that Tarnswap started from a program
    // file in the test's own directory is found by that file.
    if (platform::InstanceRunning(Instance())) platform::SendInstanceRequest(Instance(), platform::kQuitRequest);
    WaitUntil([this] { return !platform::InstanceRunning(Instance()); }, 10s);
    for (const std::string& program : ownPrograms_) {
      for (pid_t pid : ProcessesOf(program)) ::kill(pid, SIGKILL);
    }
    if (hadRuntime_) ::setenv("XDG_RUNTIME_DIR", oldRuntime_.c_str(), 1);
    else ::unsetenv("XDG_RUNTIME_DIR");
  }

  ChildProcess::Options Options(bool display) {
    ChildProcess::Options options;
    options.workingDirectory = "/";
    options.environment = {
        {"KVQT_HOME", home_.path()},       {"XDG_RUNTIME_DIR", runtime_.path()},
        {"XDG_CONFIG_HOME", config_.path()}, {"XDG_DATA_HOME", data_.path()}, {"KVQT_EDITOR", ""},
        {"QT_QPA_PLATFORM", display ? "offscreen" : ""}, {"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""},
    };
    options.stdoutFile = logs_.file("stdout");
    options.stderrFile = logs_.file("stderr");
    return options;
  }

  std::unique_ptr<ChildProcess> Start(const std::vector<std::string>& args, bool display,
                                      const std::string& program = KVQT_PATH) {
    std::vector<std::string> argv{program};
    argv.insert(argv.end(), args.begin(), args.end());
    return std::make_unique<ChildProcess>(argv, Options(display));
  }

  // Data and login files as an earlier run leaves them, so arguments start a batch run.
  void PrepareBatchStart() {
    Formats none;
    home_.write("kvqt.dat", EncodeProgramDataFile(UserInfo(), none));
    home_.write("kvqt.prs", Padded("", 5) + Padded("12345", 84));
  }

  std::string Stderr() const { return logs_.read("stderr"); }
  std::string Stdout() const { return logs_.read("stdout"); }

  // The endpoint of a copy running on the test's program directory.
  std::string Instance() const { return platform::InstanceName(kTitle, home_.path()); }

  TempDir home_;
  TempDir data_;
  TempDir config_;
  TempDir runtime_;
  TempDir logs_;
  std::vector<std::string> ownPrograms_;
  std::string oldRuntime_;
  bool hadRuntime_ = false;
};

TEST_F(KvqtProcessTest, SecondStartRaisesTheFirstAndExitsZero) {
  auto first = Start({}, /*display=*/true);
  ASSERT_TRUE(first->started());
  ASSERT_TRUE(WaitUntil([this] { return platform::InstanceRunning(Instance()); }, 20s));

  auto second = Start({}, true);
  EXPECT_EQ(second->wait(20s), 0);
  EXPECT_TRUE(first->stillRunningAfter(500ms));

  ASSERT_TRUE(platform::SendInstanceRequest(Instance(), platform::kQuitRequest));
  EXPECT_EQ(first->wait(20s), 0);
  EXPECT_FALSE(platform::InstanceRunning(Instance()));
  // The exit saved the data, and the interactive window its position.
  EXPECT_EQ(home_.read("kvqt.prs").size(), 89u);
  EXPECT_EQ(home_.read("kvqt.dat").substr(0, 1), ":");
  EXPECT_NE(config_.read("kvqt/kvqt.ini").find("WindowPositionX="), std::string::npos);
}

TEST_F(KvqtProcessTest, AFirstStartShowsTheWizardWhichAQuitRequestCloses) {
  ::unlink(home_.file("kvqt.prs").c_str());
  auto first = Start({}, /*display=*/true);
  ASSERT_TRUE(WaitUntil([this] { return platform::InstanceRunning(Instance()); }, 20s));
  EXPECT_TRUE(first->stillRunningAfter(500ms));
  ASSERT_TRUE(platform::SendInstanceRequest(Instance(), platform::kQuitRequest));
  EXPECT_EQ(first->wait(20s), 0);
  // The wizard was open: no main window ever stood on the desktop.
  EXPECT_EQ(config_.read("kvqt/kvqt.ini").find("WindowPositionX="), std::string::npos);
  EXPECT_EQ(home_.read("kvqt.dat").substr(0, 1), ":");
}

TEST_F(KvqtProcessTest, HeadlessRunWithAnUnknownArgumentFailsOnStandardError) {
  PrepareBatchStart();
  home_.write("kvqt.rpt", "previous run\r\n");
  home_.write("kvqt.tsk", "=Append(\"MS\", \"\", \"ASC\", \"\")\r\n");
  auto run = Start({"-nowindow", "-Unknown", "x"}, /*display=*/false);
  const int code = run->wait(20s);
  EXPECT_NE(code, 0);
  EXPECT_NE(code, -1);
  EXPECT_NE(Stderr().find("-Unknown"), std::string::npos) << Stderr();
  EXPECT_EQ(home_.read("kvqt.rpt"), "Analyzing command line\r\n-Unknown\r\n");
  EXPECT_FALSE(home_.exists("kvqt.tsk"));
  EXPECT_EQ(config_.read("kvqt/kvqt.ini").find("WindowPosition"), std::string::npos);
}

TEST_F(KvqtProcessTest, HeadlessRunWithNothingToDoExitsZero) {
  PrepareBatchStart();
  auto run = Start({"-NOWINDOW"}, /*display=*/false);
  EXPECT_EQ(run->wait(20s), 0);
  EXPECT_EQ(home_.read("kvqt.rpt"), "Analyzing command line\r\n");
  EXPECT_EQ(logs_.read("stdout"), "Analyzing command line\n");
}

TEST_F(KvqtProcessTest, HeadlessRunTellsOfADamagedDataFileOnStandardError) {
  PrepareBatchStart();
  const std::string whole = home_.read("kvqt.dat");
  home_.write("kvqt.dat", whole.substr(0, whole.size() - 1));
  auto run = Start({"-nowindow"}, /*display=*/false);
  EXPECT_EQ(run->wait(20s), 0);
  EXPECT_NE(Stderr().find("The program data file " + home_.file("kvqt.dat") + " is damaged"), std::string::npos)
      << Stderr();
  EXPECT_NE(Stderr().find("kept as " + home_.file("kvqt.dat.damaged")), std::string::npos) << Stderr();
  EXPECT_EQ(home_.read("kvqt.dat.damaged"), whole.substr(0, whole.size() - 1));
}

TEST_F(KvqtProcessTest, HeadlessRunThatFindsAnotherCopySaysSo) {
  auto first = Start({}, /*display=*/true);
  ASSERT_TRUE(WaitUntil([this] { return platform::InstanceRunning(Instance()); }, 20s));
  PrepareBatchStart();
  auto headless = Start({"-nowindow", "tasks.tsk"}, /*display=*/false);
  const int code = headless->wait(20s);
  EXPECT_NE(code, 0);
  EXPECT_NE(code, -1);
  EXPECT_NE(Stderr().find("running"), std::string::npos) << Stderr();
  EXPECT_TRUE(first->stillRunningAfter(300ms));
  platform::SendInstanceRequest(Instance(), platform::kQuitRequest);
  EXPECT_EQ(first->wait(20s), 0);
}

TEST_F(KvqtProcessTest, BatchWindowRunEndsWithTheProgram) {
  PrepareBatchStart();
  auto run = Start({"-nowindow"}, /*display=*/true);
  EXPECT_EQ(run->wait(20s), 0);
  EXPECT_EQ(home_.read("kvqt.rpt"), "Analyzing command line\r\n");
  // A batch run does not store the window position.
  EXPECT_EQ(config_.read("kvqt/kvqt.ini").find("WindowPosition"), std::string::npos);
}

TEST_F(KvqtProcessTest, BatchWindowWithAnErrorWaitsUntilClosedAndExitsNonZero) {
  PrepareBatchStart();
  auto run = Start({"-nowindow", "-bogus", "x"}, /*display=*/true);
  ASSERT_TRUE(WaitUntil([&] { return home_.read("kvqt.rpt").find("-bogus") != std::string::npos; }, 20s));
  EXPECT_TRUE(run->stillRunningAfter(300ms));  // the error waits for OK
  ASSERT_TRUE(platform::SendInstanceRequest(Instance(), platform::kQuitRequest));
  EXPECT_EQ(run->wait(20s), 1);
  EXPECT_EQ(home_.read("kvqt.rpt"), "Analyzing command line\r\n-bogus\r\n");
}

TEST_F(KvqtProcessTest, HelpAndVersionPrintAndTouchNothingWithOrWithoutADisplay) {
  // A program directory that does not exist yet stays so; no endpoint is made.
  const std::string unmade = home_.file("unmade");
  for (bool display : {false, true}) {
    for (const char* option : {"--help", "-h", "--version"}) {
      ChildProcess::Options options = Options(display);
      options.environment["KVQT_HOME"] = unmade;
      ChildProcess run({KVQT_PATH, option}, options);
      EXPECT_EQ(run.wait(20s), 0) << option;
      EXPECT_EQ(Stderr(), "") << option;
      if (std::string(option) == "--version") {
        EXPECT_EQ(Stdout(), "kvqt " KVQT_VERSION "\n");
      } else {
        const std::string help = Stdout();
        EXPECT_EQ(help.rfind("Usage: kvqt ", 0), 0u) << help;
        for (const char* form : {"TASKFILE", "-definitionfile DEFFILE FORMAT OUTFILE", "-query FORMAT [DIR]",
                                 "-insnames", "-inssymbols", "-add2master", "-addsymbols", "-datafile",
                                 "--headless", "=Download(", "=FileDownload(", "=Convert(", "WAIT hh:mm",
                                 "Exit status:"}) {
          EXPECT_NE(help.find(form), std::string::npos) << form;
        }
        EXPECT_NE(help.find(unmade + "/"), std::string::npos) << help;
        EXPECT_NE(help.find(config_.file("kvqt/kvqt.ini")), std::string::npos) << help;
      }
      EXPECT_FALSE(home_.exists("unmade"));
      EXPECT_TRUE(ListDirectory(runtime_.path()).empty());
    }
  }
}

TEST_F(KvqtProcessTest, HelpIsGivenWhileACopyRuns) {
  auto first = Start({}, /*display=*/true);
  ASSERT_TRUE(WaitUntil([this] { return platform::InstanceRunning(Instance()); }, 20s));
  auto help = Start({"--help"}, true);
  EXPECT_EQ(help->wait(20s), 0);
  EXPECT_NE(Stdout().find("Usage: kvqt"), std::string::npos);
  EXPECT_TRUE(first->stillRunningAfter(200ms));
}

TEST_F(KvqtProcessTest, RelativeTaskFileIsTakenFromTheStartDirectory) {
  PrepareBatchStart();
  TempDir start;
  start.write("rel.tsk", "\r\n");
  for (bool display : {false, true}) {
    ChildProcess::Options options = Options(display);
    options.workingDirectory = start.path();
    ChildProcess run({KVQT_PATH, "-nowindow", "rel.tsk"}, options);
    EXPECT_EQ(run.wait(20s), 0) << display << Stderr();
    EXPECT_NE(home_.read("kvqt.rpt").find("Task file finished\r\n"), std::string::npos) << display;
  }
}

TEST_F(KvqtProcessTest, RelativeKvqtHomeIsTakenFromTheStartDirectoryAndTheExitSaves) {
  TempDir start;
  ChildProcess::Options options = Options(/*display=*/true);
  options.workingDirectory = start.path();
  options.environment["KVQT_HOME"] = "sub/program";
  ChildProcess first({KVQT_PATH}, options);
  const std::string instance = platform::InstanceName(kTitle, start.file("sub/program"));
  ASSERT_TRUE(WaitUntil([&] { return platform::InstanceRunning(instance); }, 20s)) << Stderr();
  ASSERT_TRUE(platform::SendInstanceRequest(instance, platform::kQuitRequest));
  EXPECT_EQ(first.wait(20s), 0) << Stderr();
  EXPECT_EQ(start.read("sub/program/kvqt.dat").substr(0, 1), ":");
  EXPECT_EQ(start.read("sub/program/kvqt.prs").size(), 89u);
}

TEST_F(KvqtProcessTest, TwoProgramDirectoriesRunSideBySide) {
  auto first = Start({}, /*display=*/true);
  ASSERT_TRUE(WaitUntil([this] { return platform::InstanceRunning(Instance()); }, 20s));
  TempDir otherHome;
  ChildProcess::Options options = Options(true);
  options.environment["KVQT_HOME"] = otherHome.path();
  ChildProcess second({KVQT_PATH}, options);
  const std::string other = platform::InstanceName(kTitle, otherHome.path());
  ASSERT_TRUE(WaitUntil([&] { return platform::InstanceRunning(other); }, 20s));
  EXPECT_TRUE(first->stillRunningAfter(200ms));
  ASSERT_TRUE(platform::SendInstanceRequest(other, platform::kQuitRequest));
  EXPECT_EQ(second.wait(20s), 0);
  EXPECT_EQ(otherHome.read("kvqt.dat").substr(0, 1), ":");
  EXPECT_TRUE(platform::InstanceRunning(Instance()));
}

TEST_F(KvqtProcessTest, SecondStartWithArgumentsSaysSoAndFailsAlsoWithADisplay) {
  auto first = Start({}, /*display=*/true);
  ASSERT_TRUE(WaitUntil([this] { return platform::InstanceRunning(Instance()); }, 20s));
  for (bool display : {true, false}) {
    auto second = Start({"-nowindow", "tasks.tsk"}, display);
    EXPECT_EQ(second->wait(20s), 1) << display;
    EXPECT_NE(Stderr().find("kvqt: another copy of Norvale Korvane is running in the program directory " +
                            home_.path() + "; this run does nothing\n"),
              std::string::npos)
        << Stderr();
  }
  EXPECT_TRUE(first->stillRunningAfter(200ms));
}

TEST_F(KvqtProcessTest, HeadlessOptionRunsWithoutAWindowEvenWithADisplay) {
  PrepareBatchStart();
  auto run = Start({"--headless", "-bogus", "x"}, /*display=*/true);
  EXPECT_EQ(run->wait(20s), 1);  // an error ends the run: no box waits for a click
  EXPECT_NE(Stderr().find("-bogus"), std::string::npos) << Stderr();
  EXPECT_EQ(Stdout().rfind("Analyzing command line\n", 0), 0u) << Stdout();

  auto nothing = Start({"--HEADLESS", "-nowindow"}, true);
  EXPECT_EQ(nothing->wait(20s), 0);
}

// The release installer against the real program, built into a program
// directory of the test's own.
class ReleaseInstallTest : public KvqtProcessTest {
 protected:
  void SetUp() override {
    KvqtProcessTest::SetUp();
    program_ = home_.file("kvqt");
    ownPrograms_.push_back(program_);
    home_.write("kvqt", testing::ReadFileBytes(KVQT_PATH));
    ::chmod(program_.c_str(), 0755);
  }

  std::unique_ptr<ChildProcess> Tarnswap(const std::string& title, const char* waitMs) {
    ChildProcess::Options options = Options(true);
    options.workingDirectory = home_.path();
    if (waitMs != nullptr) options.environment["TARNSWAP_WAIT_MS"] = waitMs;
    return std::make_unique<ChildProcess>(
        std::vector<std::string>{TARNSWAP_PATH, "_kvqt.exe", "kvqt", title}, options);
  }

  std::string program_;
};

TEST_F(ReleaseInstallTest, TarnswapReplacesTheRunningProgramAndStartsTheNewOne) {
  auto old = Start({}, /*display=*/true, program_);
  ASSERT_TRUE(WaitUntil([this] { return platform::InstanceRunning(Instance()); }, 20s));
  // The new release: the same program with a mark behind it.
  const std::string release = testing::ReadFileBytes(KVQT_PATH) + "\nnew release 3.2.5\n";
  home_.write("_kvqt.exe", release);
  ::chmod(home_.file("_kvqt.exe").c_str(), 0644);

  auto tarnswap = Tarnswap(kTitle, nullptr);  // the real one-second waits
  EXPECT_EQ(tarnswap->wait(60s), 0);
  EXPECT_EQ(old->wait(20s), 0);
  EXPECT_FALSE(home_.exists("_kvqt.exe"));
  EXPECT_TRUE(home_.read("kvqt") == release);
  struct stat st;
  ASSERT_EQ(::stat(program_.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0755u);
  // The new program runs, from the replaced file.
  EXPECT_TRUE(WaitUntil([this] { return platform::InstanceRunning(Instance()); }, 20s));
  EXPECT_TRUE(WaitUntil([&] { return ProcessesOf(program_).size() == 1; }, 20s));
  const std::string log = home_.read("korv.dbg");
  EXPECT_EQ(log.find("Wait for executable to start"), std::string::npos) << log;
  EXPECT_EQ(log.find("Waited long enough"), std::string::npos) << log;
}

TEST_F(ReleaseInstallTest, TarnswapGivesUpOnATitleThatMatchesNothing) {
  auto running = Start({}, /*display=*/true, program_);
  ASSERT_TRUE(WaitUntil([this] { return platform::InstanceRunning(Instance()); }, 20s));
  home_.write("_kvqt.exe", "new release");
  auto tarnswap = Tarnswap("Nothing Matches This", "20");
  EXPECT_EQ(tarnswap->wait(30s), 1);
  std::string expected;
  for (int i = 0; i < 10; ++i) expected += "Wait for executable to start\r\n";
  EXPECT_EQ(home_.read("korv.dbg"), expected + "Waited long enough\r\n");
  EXPECT_EQ(home_.read("_kvqt.exe"), "new release");
  EXPECT_TRUE(running->stillRunningAfter(200ms));
}

}  // namespace
}  // namespace kvqt
