#include "platform/launcher.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "support/temp_dir.h"

namespace kvqt::platform {
namespace {

using kvqt::testing::TempDir;

// Waits (at most five seconds) until the file has content.
std::string AwaitFile(const TempDir& dir, const std::string& name) {
  for (int i = 0; i < 500; ++i) {
    std::string text = dir.read(name);
    if (!text.empty() && text.back() == '\n') return text;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return dir.read(name);
}

void WriteScript(const TempDir& dir, const std::string& name, const std::string& body) {
  dir.write(name, "#!/bin/sh\n" + body);
  ::chmod(dir.file(name).c_str(), 0755);
}

class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old, had_ = true;
    if (value) ::setenv(name, value, 1);
    else ::unsetenv(name);
  }
  ~ScopedEnv() {
    if (had_) ::setenv(name_, old_.c_str(), 1);
    else ::unsetenv(name_);
  }

 private:
  const char* name_;
  std::string old_;
  bool had_ = false;
};

TEST(LauncherTest, FailuresAreResultsBelow32) {
  TempDir dir;
  dir.write("plain.txt", "not a program\n");
  ::chmod(dir.file("plain.txt").c_str(), 0644);
  struct {
    std::vector<std::string> argv;
    int result;
  } cases[] = {
      {{dir.file("missing")}, kStartFileNotFound},
      {{"kvqt-no-such-program-anywhere"}, kStartFileNotFound},
      {{dir.file("plain.txt")}, kStartAccessDenied},
      {{dir.file("plain.txt/below")}, kStartPathNotFound},
      {{}, kStartFileNotFound},
  };
  for (const auto& c : cases) {
    int result = StartProgram(c.argv);
    EXPECT_EQ(result, c.result) << (c.argv.empty() ? "" : c.argv[0]);
    EXPECT_TRUE(StartFailed(result));
  }
}

TEST(LauncherTest, StartedProgramRunsInASessionOfItsOwn) {
  TempDir dir;
  // Field 6 of /proc/<pid>/stat is the session id: a session leader's is its pid.
  WriteScript(dir, "who.sh", "read a b c d e sid rest < /proc/$$/stat; echo \"$$ $sid $1\" > \"$2.tmp\"; mv \"$2.tmp\" \"$2\"\n");
  int result = StartProgram({dir.file("who.sh"), "arg with blanks", dir.file("out")});
  ASSERT_EQ(result, kStartSucceeded);
  std::string out = AwaitFile(dir, "out");
  ASSERT_FALSE(out.empty());
  std::string pid = out.substr(0, out.find(' '));
  EXPECT_EQ(out, pid + " " + pid + " arg with blanks\n");
  ReapStartedPrograms();
}

TEST(LauncherTest, FilesOpenWithTheEditorNamedInTheEnvironment) {
  TempDir dir;
  WriteScript(dir, "editor.sh", "echo \"$1 $2\" > \"$(dirname \"$2\")/opened.tmp\"; mv \"$(dirname \"$2\")/opened.tmp\" \"$(dirname \"$2\")/opened\"\n");
  ScopedEnv editor("KVQT_EDITOR", (dir.file("editor.sh") + "  --readonly").c_str());
  EXPECT_EQ(FileOpenerName(), dir.file("editor.sh"));
  ASSERT_EQ(OpenFile(dir.file("kvqt.tsk")), kStartSucceeded);
  EXPECT_EQ(AwaitFile(dir, "opened"), "--readonly " + dir.file("kvqt.tsk") + "\n");
}

TEST(LauncherTest, WithoutAnEditorSetFilesOpenWithXdgOpen) {
  ScopedEnv editor("KVQT_EDITOR", nullptr);
  EXPECT_EQ(FileOpenerCommand(), std::vector<std::string>{"xdg-open"});
  ScopedEnv blank("KVQT_EDITOR", "   ");
  EXPECT_EQ(FileOpenerName(), "xdg-open");
}

}  // namespace
}  // namespace kvqt::platform
