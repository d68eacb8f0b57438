#include "updater/install_release.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>

#include "app/core/logs.h"
#include "app/core/messages.h"
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

// Without a display every question would be answered No after every
// session, and the release never installed: the run says so once instead.
TEST_F(InstallReleaseTest, UnattendedRunSaysOnceHowToInstallTheWaitingRelease) {
  WriteInstaller();
  dir_.write("_kvqt.exe", "new");
  SetUnattendedInstall(true);
  ::testing::internal::CaptureStdout();
  EXPECT_EQ(installNewRelease(install_), 0);
  EXPECT_EQ(installNewRelease(install_), 0);
  const std::string out = ::testing::internal::GetCapturedStdout();
  SetUnattendedInstall(false);
  EXPECT_TRUE(messages_->shown().empty());
  EXPECT_EQ(out.find("A new release is waiting in " + dir_.file("_kvqt.exe")), 0u) << out;
  EXPECT_NE(out.find("mv '" + dir_.file("_kvqt.exe") + "' '" + install_.program + "'"), std::string::npos) << out;
  EXPECT_EQ(out.find("A new release", 1), std::string::npos) << out;
  EXPECT_TRUE(dir_.exists("_kvqt.exe"));
  EXPECT_FALSE(dir_.exists("args"));
}

// A batch run ends as soon as its last step is done. After Yes it waits for
// Tarnswap, here one that starts half a second late, to find it and ask it
// to quit; only then does its endpoint close and the release take its place.
TEST_F(InstallReleaseTest, AfterYesTheProgramWaitsForTheInstallersQuitRequest) {
  TempDir runtime;
  const char* old = std::getenv("XDG_RUNTIME_DIR");
  const std::string oldRuntime = old ? old : "";
  ::setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1);
  ::setenv("TARNSWAP_WAIT_MS", "20", 1);
  dir_.write("bin/tarnswap", std::string("#!/bin/sh\nsleep 0.5\nexec '") + TARNSWAP_PATH + "' \"$@\"\n");
  ::chmod(dir_.file("bin/tarnswap").c_str(), 0755);
  dir_.write("bin/kvqt", "old program");
  ::chmod(dir_.file("bin/kvqt").c_str(), 0755);
  dir_.write("_kvqt.exe", "#!/bin/sh\necho started > started.tmp && mv started.tmp started\n");

  platform::InstanceEndpoint endpoint;
  ASSERT_EQ(endpoint.claim(platform::InstanceName("Norvale Korvane", dir_.path())), platform::InstanceEndpoint::Claim::Owner);
  messages_->answerNext(true);
  EXPECT_GE(installNewRelease(install_), 32);
  EXPECT_TRUE(ReleaseInstallerStarted());
  EXPECT_TRUE(WaitForInstallerQuit(endpoint));
  endpoint.close();

  EXPECT_TRUE(WaitUntil([&] { return dir_.exists("started"); }, 10s));
  EXPECT_EQ(dir_.read("bin/kvqt").substr(0, 9), "#!/bin/sh");
  EXPECT_FALSE(dir_.exists("_kvqt.exe"));
  ::unsetenv("TARNSWAP_WAIT_MS");
  if (old) ::setenv("XDG_RUNTIME_DIR", oldRuntime.c_str(), 1);
  else ::unsetenv("XDG_RUNTIME_DIR");
}

TEST_F(InstallReleaseTest, WaitForTheInstallerEndsAtItsLimit) {
  TempDir runtime;
  const char* old = std::getenv("XDG_RUNTIME_DIR");
  const std::string oldRuntime = old ? old : "";
  ::setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1);
  platform::InstanceEndpoint endpoint;
  ASSERT_EQ(endpoint.claim("Norvale Korvane"), platform::InstanceEndpoint::Claim::Owner);
  ASSERT_TRUE(platform::SendInstanceRequest("Norvale Korvane", "raise"));
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(WaitForInstallerQuit(endpoint, 200ms));
  EXPECT_GE(std::chrono::steady_clock::now() - start, 190ms);
  if (old) ::setenv("XDG_RUNTIME_DIR", oldRuntime.c_str(), 1);
  else ::unsetenv("XDG_RUNTIME_DIR");
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
