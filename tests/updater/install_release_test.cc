#include "updater/install_release.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>

#include "app/logs.h"
#include "app/messages.h"
#include "support/temp_dir.h"
#include "updater/child_process.h"

namespace kvqt {
namespace {

using kvqt::testing::TempDir;
using kvqt::testing::WaitUntil;
using namespace std::chrono_literals;

// Runs in the program directory, as the program does.
class InstallReleaseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char cwd[4096];
    ASSERT_NE(::getcwd(cwd, sizeof cwd), nullptr);
    old_cwd_ = cwd;
    ASSERT_EQ(::chdir(dir_.path().c_str()), 0);
    Logs::SetDirectory("");
    install_.installer = dir_.file("bin/tarnswap");
    install_.program = dir_.file("bin/kvqt");
    install_.title = "Norvale Korvane";
    ::mkdir(dir_.file("bin").c_str(), 0755);
  }
  void TearDown() override { (void)!::chdir(old_cwd_.c_str()); }

  // A stand-in installer that records its arguments.
  void WriteInstaller() {
    dir_.write("bin/tarnswap",
               "#!/bin/sh\nfor a in \"$@\"; do echo \"$a\"; done > args.tmp; mv args.tmp args\n");
    ::chmod(dir_.file("bin/tarnswap").c_str(), 0755);
  }

  TempDir dir_;
  std::string old_cwd_;
  ReleaseInstall install_;
  ScopedMessages messages_;
};

TEST_F(InstallReleaseTest, NoReleaseFileNoQuestion) {
  WriteInstaller();
  EXPECT_EQ(installNewRelease(install_), 0);
  EXPECT_TRUE(messages_->shown().empty());
  EXPECT_FALSE(dir_.exists("kvqt.dbg"));
}

TEST_F(InstallReleaseTest, NoInstallerNoQuestion) {
  dir_.write("_kvqt.exe", "new");
  EXPECT_EQ(installNewRelease(install_), 0);
  EXPECT_TRUE(messages_->shown().empty());
  EXPECT_TRUE(dir_.exists("_kvqt.exe"));
}

TEST_F(InstallReleaseTest, NoAnswerChangesNothingAndAsksAgainNextTime) {
  WriteInstaller();
  dir_.write("_kvqt.exe", "new");
  messages_->answerNext(false);
  EXPECT_EQ(installNewRelease(install_), 0);
  messages_->answerNext(false);
  EXPECT_EQ(installNewRelease(install_), 0);
  ASSERT_EQ(messages_->shown().size(), 2u);
  EXPECT_EQ(messages_->shown()[0].caption, "Norvale Korvane");
  EXPECT_EQ(messages_->shown()[0].text, "Install new release");
  EXPECT_TRUE(dir_.exists("_kvqt.exe"));
  EXPECT_FALSE(dir_.exists("kvqt.dbg"));
  EXPECT_FALSE(dir_.exists("args"));
}

TEST_F(InstallReleaseTest, YesStartsTheInstallerAndLogsItsCommandLineWhateverTheDebugMode) {
  WriteInstaller();
  dir_.write("_kvqt.exe", "new");
  Logs::SetDebugMode(0);
  messages_->answerNext(true);
  EXPECT_EQ(installNewRelease(install_), 33);
  ASSERT_TRUE(WaitUntil([&] { return dir_.exists("args"); }, 10s));
  EXPECT_EQ(dir_.read("args"), "_kvqt.exe\n" + install_.program + "\nNorvale Korvane\n");
  // "%.80s %d": the command line is cut at 80 characters in the log.
  const std::string command = InstallCommandLine(install_);
  EXPECT_EQ(command, install_.installer + " _kvqt.exe " + install_.program + " \"Norvale Korvane\"");
  EXPECT_EQ(dir_.read("kvqt.dbg"), command.substr(0, 80) + " 33\r\n");
}

TEST(DefaultReleaseInstallTest, InstallerAndProgramBesideTheRunningExecutable) {
  ReleaseInstall install = DefaultReleaseInstall();
  EXPECT_EQ(install.releaseFile, "_kvqt.exe");
  EXPECT_EQ(install.title, "Norvale Korvane");
  ASSERT_FALSE(install.program.empty());
  EXPECT_EQ(install.installer, install.program.substr(0, install.program.rfind('/') + 1) + "tarnswap");
}

}  // namespace
}  // namespace kvqt
