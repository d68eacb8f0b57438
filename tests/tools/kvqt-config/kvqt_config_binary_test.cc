// The kvqt-config program itself: exit codes, standard error, and the program
// directory found as the program finds it.
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "app/datafile/login_record.h"
#include "formats/datafile_entry.h"
#include "formats/format_driver.h"
#include "platform/path.h"
#include "support/temp_dir.h"

namespace kvqt::config {
namespace {

using testing::TempDir;

struct Finished {
  int status = -1;
  std::string out, err;
};

class KvqtConfigBinaryTest : public ::testing::Test {
 protected:
  // Runs the program with an environment of the test's own: KVQT_HOME, the
  // settings and the runtime directory in temporary directories.
  Finished Run(const std::string& arguments) {
    std::string command = "env -i HOME=" + scratch.path() + " KVQT_HOME=" + home.path() +
                          " XDG_CONFIG_HOME=" + scratch.path() + "config XDG_RUNTIME_DIR=" + scratch.path() + " " +
                          KVQT_CONFIG_PATH + " " + arguments + " >" + scratch.file("out") + " 2>" +
                          scratch.file("err");
    Finished finished;
    int status = std::system(command.c_str());
    finished.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    finished.out = scratch.read("out");
    finished.err = scratch.read("err");
    return finished;
  }

  TempDir home;
  TempDir scratch;
  TempDir data;
};

TEST_F(KvqtConfigBinaryTest, WorksInKvqtHomeAndFailsWithTheMessageOnStandardError) {
  Finished user = Run("user demo0vqx demopass");
  ASSERT_EQ(0, user.status) << user.err;
  EXPECT_EQ("", user.err);
  LoginRecord login;
  ASSERT_EQ(0, ReadLoginFile(home.file("kvqt.prs"), login));
  EXPECT_EQ("demo0vqx", login.userNumber);
  EXPECT_TRUE(home.exists("kvqt.dat"));

  const std::string ms = data.path() + "ms/";
  ASSERT_TRUE(platform::MakeDirectories(ms));
  DatafileEntry entry;
  ASSERT_EQ(1, CreateEntry("AAA", "Aaa", 0, entry, 4, ms));
  const std::string before = home.read("kvqt.dat");
  Finished refused = Run("add-dir ASC " + ms);
  EXPECT_EQ(1, refused.status);
  EXPECT_EQ("", refused.out);
  EXPECT_EQ("kvqt-config: " + ms + ": Directory contains datafiles of another format:\nMetastock\n", refused.err);
  EXPECT_EQ(before, home.read("kvqt.dat"));

  Finished usage = Run("add-dir ASC");
  EXPECT_EQ(2, usage.status);
  EXPECT_EQ("kvqt-config: usage: kvqt-config [--dir DIR] [--convert] add-dir FORMAT DIRECTORY\n", usage.err);
}

// Reads what the terminal shows until `until` appears or the program closes it.
std::string ReadTerminal(int fd, const std::string& until, std::string transcript = "") {
  char buffer[256];
  while (until.empty() || transcript.find(until) == std::string::npos) {
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, 10000) <= 0) break;
    ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n <= 0) break;
    transcript.append(buffer, static_cast<std::size_t>(n));
  }
  return transcript;
}

TEST_F(KvqtConfigBinaryTest, PromptsForThePasswordAtATerminalWithoutEcho) {
  const std::string env[] = {"HOME=" + scratch.path(), "KVQT_HOME=" + home.path(),
                             "XDG_CONFIG_HOME=" + scratch.path() + "config", "XDG_RUNTIME_DIR=" + scratch.path()};
  char* envp[] = {const_cast<char*>(env[0].c_str()), const_cast<char*>(env[1].c_str()),
                  const_cast<char*>(env[2].c_str()), const_cast<char*>(env[3].c_str()), nullptr};
  int terminal = -1;
  const pid_t pid = ::forkpty(&terminal, nullptr, nullptr, nullptr);
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    ::execle(KVQT_CONFIG_PATH, "kvqt-config", "user", "demo0vqx", static_cast<char*>(nullptr), envp);
    ::_exit(127);
  }
  std::string shown = ReadTerminal(terminal, "Password for demo0vqx: ");
  ASSERT_NE(std::string::npos, shown.find("Password for demo0vqx: ")) << shown;
  ASSERT_EQ(9, ::write(terminal, "demopass\n", 9));
  shown = ReadTerminal(terminal, "", shown);
  ::close(terminal);
  int status = 0;
  ASSERT_EQ(pid, ::waitpid(pid, &status, 0));
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << shown;
  EXPECT_EQ(std::string::npos, shown.find("demopass")) << shown;
  EXPECT_NE(std::string::npos, shown.find("password of 8 characters")) << shown;
  LoginRecord login;
  ASSERT_EQ(0, ReadLoginFile(home.file("kvqt.prs"), login));
  EXPECT_EQ("demopass", login.password);
}

TEST_F(KvqtConfigBinaryTest, PasswordFromStandardInput) {
  scratch.write("password", "demopass\n");
  Finished user = Run("user demo0vqx --password-stdin <" + scratch.file("password"));
  ASSERT_EQ(0, user.status) << user.err;
  LoginRecord login;
  ASSERT_EQ(0, ReadLoginFile(home.file("kvqt.prs"), login));
  EXPECT_EQ("demopass", login.password);
}

}  // namespace
}  // namespace kvqt::config
