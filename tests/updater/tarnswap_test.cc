// Runs the real Tarnswap against a stand-in for the running program: an
// instance endpoint in this test that closes when asked to quit.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdlib>

#include "platform/instance_endpoint.h"
#include "support/temp_dir.h"
#include "updater/child_process.h"

namespace kvqt {
namespace {

using kvqt::testing::ChildProcess;
using kvqt::testing::TempDir;
using kvqt::testing::WaitUntil;
using namespace std::chrono_literals;

class TarnswapTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (const char* old = std::getenv("XDG_RUNTIME_DIR")) old_runtime_ = old, had_runtime_ = true;
    ::setenv("XDG_RUNTIME_DIR", runtime_.path().c_str(), 1);
  }
  void TearDown() override {
    if (had_runtime_) ::setenv("XDG_RUNTIME_DIR", old_runtime_.c_str(), 1);
    else ::unsetenv("XDG_RUNTIME_DIR");
  }

  ChildProcess::Options Options(const char* wait_ms = "20") const {
    ChildProcess::Options options;
    options.workingDirectory = dir_.path();
    options.environment["XDG_RUNTIME_DIR"] = runtime_.path();
    options.environment["TARNSWAP_WAIT_MS"] = wait_ms;
    return options;
  }

  std::string Log() const { return dir_.read("korv.dbg"); }

  static std::string Lines(const std::string& line, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += line + "\r\n";
    return text;
  }

  TempDir dir_;
  TempDir runtime_;
  std::string old_runtime_;
  bool had_runtime_ = false;
};

TEST_F(TarnswapTest, WrongArgumentCountExitsWithOneAndLogsNothing) {
  const std::vector<std::vector<std::string>> cases = {
      {TARNSWAP_PATH},
      {TARNSWAP_PATH, "_kvqt.exe", "kvqt"},
      {TARNSWAP_PATH, "_kvqt.exe", "kvqt", "Norvale Korvane", "extra"},
  };
  for (const auto& argv : cases) {
    ChildProcess tarnswap(argv, Options());
    EXPECT_EQ(tarnswap.wait(10s), 1) << argv.size();
  }
  EXPECT_FALSE(dir_.exists("korv.dbg"));
}

TEST_F(TarnswapTest, TitleThatMatchesNothingWaitsTenTimesAndGivesUp) {
  dir_.write("_kvqt.exe", "new");
  dir_.write("kvqt", "old");
  ChildProcess tarnswap({TARNSWAP_PATH, "_kvqt.exe", "kvqt", "No Such Window"}, Options());
  EXPECT_EQ(tarnswap.wait(20s), 1);
  EXPECT_EQ(Log(), Lines("Wait for executable to start", 10) + "Waited long enough\r\n");
  EXPECT_EQ(dir_.read("_kvqt.exe"), "new");
  EXPECT_EQ(dir_.read("kvqt"), "old");
}

TEST_F(TarnswapTest, ProgramOfAnotherProgramDirectoryIsNotTheOneToReplace) {
  TempDir other;
  platform::InstanceEndpoint program;
  ASSERT_EQ(program.claim(platform::InstanceName("Norvale Korvane", other.path())),
            platform::InstanceEndpoint::Claim::Owner);
  dir_.write("_kvqt.exe", "new");
  dir_.write("kvqt", "old");
  ChildProcess tarnswap({TARNSWAP_PATH, "_kvqt.exe", "kvqt", "Norvale Korvane"}, Options());
  EXPECT_EQ(tarnswap.wait(20s), 1);
  EXPECT_EQ(Log(), Lines("Wait for executable to start", 10) + "Waited long enough\r\n");
  EXPECT_EQ(dir_.read("kvqt"), "old");
  std::string request;
  EXPECT_FALSE(program.acceptRequest(request));
}

TEST_F(TarnswapTest, ProgramThatDoesNotQuitIsLeftAlone) {
  platform::InstanceEndpoint program;
  ASSERT_EQ(program.claim(platform::InstanceName("Norvale Korvane", dir_.path())), platform::InstanceEndpoint::Claim::Owner);
  dir_.write("_kvqt.exe", "new");
  dir_.write("kvqt", "old");
  ChildProcess tarnswap({TARNSWAP_PATH, "_kvqt.exe", "kvqt", "Norvale Korvane"}, Options());
  EXPECT_EQ(tarnswap.wait(20s), 1);
  EXPECT_EQ(Log(), Lines("Wait for executable to exit", 10) + "Waited long enough on exit\r\n");
  EXPECT_EQ(dir_.read("_kvqt.exe"), "new");
  EXPECT_EQ(dir_.read("kvqt"), "old");
  std::string request;
  ASSERT_TRUE(program.acceptRequest(request));
  EXPECT_EQ(request, "");  // the first look for the window
  ASSERT_TRUE(program.acceptRequest(request));
  EXPECT_EQ(request, "quit");
}

TEST_F(TarnswapTest, ReplacesTheProgramKeepingItsModeAndStartsIt) {
  // The "new release" is a script that leaves a mark when it runs.
  dir_.write("_kvqt.exe", "#!/bin/sh\necho started > started.tmp && mv started.tmp started\n");
  ::chmod(dir_.file("_kvqt.exe").c_str(), 0600);
  dir_.write("kvqt", "old program");
  ::chmod(dir_.file("kvqt").c_str(), 0750);

  platform::InstanceEndpoint program;
  ASSERT_EQ(program.claim(platform::InstanceName("Norvale Korvane", dir_.path())), platform::InstanceEndpoint::Claim::Owner);
  ChildProcess tarnswap({TARNSWAP_PATH, "_kvqt.exe", "kvqt", "Norvale Korvane"}, Options());
  // The program quits when asked.
  ASSERT_TRUE(WaitUntil(
      [&] {
        std::string request;
        while (program.acceptRequest(request)) {
          if (request == "quit") program.close();
        }
        return !program.listening();
      },
      10s));
  EXPECT_EQ(tarnswap.wait(20s), 0);
  EXPECT_FALSE(dir_.exists("_kvqt.exe"));
  EXPECT_EQ(dir_.read("kvqt").substr(0, 9), "#!/bin/sh");
  struct stat st;
  ASSERT_EQ(::stat(dir_.file("kvqt").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0750u);
  EXPECT_TRUE(WaitUntil([&] { return dir_.exists("started"); }, 10s));
  // Found at once; asked to quit; the exit took at most a few looks.
  const std::string log = Log();
  EXPECT_EQ(log.find("Wait for executable to start"), std::string::npos);
  EXPECT_EQ(log.find("Waited long enough"), std::string::npos);
}

// A release that cannot take the program's place (gone, or not a file)
// leaves the old program where it was, which is started again; the run
// fails, since the new program does not run.
TEST_F(TarnswapTest, ReleaseThatCannotReplaceTheProgramKeepsTheOldOne) {
  struct Case {
    const char* label;
    bool releaseIsDirectory;
  } cases[] = {{"no release file", false}, {"release is a directory", true}};
  for (const Case& c : cases) {
    TempDir dir;
    if (c.releaseIsDirectory) ::mkdir(dir.file("_kvqt.exe").c_str(), 0755);
    dir.write("kvqt", "#!/bin/sh\necho started > started.tmp && mv started.tmp started\n");
    ::chmod(dir.file("kvqt").c_str(), 0750);
    platform::InstanceEndpoint program;
    ASSERT_EQ(program.claim(platform::InstanceName("Norvale Korvane", dir.path())), platform::InstanceEndpoint::Claim::Owner) << c.label;
    ChildProcess::Options options = Options();
    options.workingDirectory = dir.path();
    ChildProcess tarnswap({TARNSWAP_PATH, "_kvqt.exe", "kvqt", "Norvale Korvane"}, options);
    ASSERT_TRUE(WaitUntil(
        [&] {
          std::string request;
          while (program.acceptRequest(request)) {
            if (request == "quit") program.close();
          }
          return !program.listening();
        },
        10s))
        << c.label;
    EXPECT_EQ(tarnswap.wait(20s), 1) << c.label;
    ASSERT_TRUE(dir.exists("kvqt")) << c.label;
    EXPECT_EQ(dir.read("kvqt").substr(0, 9), "#!/bin/sh") << c.label;
    struct stat st;
    ASSERT_EQ(::stat(dir.file("kvqt").c_str(), &st), 0) << c.label;
    EXPECT_EQ(st.st_mode & 07777, 0750u) << c.label;
    EXPECT_TRUE(WaitUntil([&] { return dir.exists("started"); }, 10s)) << c.label;
    EXPECT_NE(dir.read("korv.dbg").find("Cannot replace the executable"), std::string::npos) << c.label;
  }
}

TEST_F(TarnswapTest, ReleaseWithoutAProgramToReplaceGetsRunPermission) {
  dir_.write("_kvqt.exe", "#!/bin/sh\necho started > started.tmp && mv started.tmp started\n");
  ::chmod(dir_.file("_kvqt.exe").c_str(), 0644);
  platform::InstanceEndpoint program;
  ASSERT_EQ(program.claim(platform::InstanceName("Norvale Korvane", dir_.path())), platform::InstanceEndpoint::Claim::Owner);
  ChildProcess tarnswap({TARNSWAP_PATH, "_kvqt.exe", "kvqt", "Norvale Korvane"}, Options());
  ASSERT_TRUE(WaitUntil(
      [&] {
        std::string request;
        while (program.acceptRequest(request)) {
          if (request == "quit") program.close();
        }
        return !program.listening();
      },
      10s));
  EXPECT_EQ(tarnswap.wait(20s), 0);
  struct stat st;
  ASSERT_EQ(::stat(dir_.file("kvqt").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0755u);
  EXPECT_TRUE(WaitUntil([&] { return dir_.exists("started"); }, 10s));
}

}  // namespace
}  // namespace kvqt
