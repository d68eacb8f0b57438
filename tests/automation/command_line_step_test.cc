#include "automation/command_line_step.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "app/action_info.h"
#include "app/headless_progress.h"
#include "app/logs.h"
#include "app/program_args.h"
#include "support/temp_dir.h"

namespace kvqt {
namespace {

using kvqt::testing::TempDir;

class CommandLineStepTest : public ::testing::Test {
 protected:
  void SetUp() override { Logs::SetDirectory(dir_.path()); }
  void TearDown() override {
    Logs::SetDirectory("");
    SetProgramArguments({});
  }
  TempDir dir_;
};

TEST_F(CommandLineStepTest, NoArgumentsBeyondNowindowEndTheRunAtOnce) {
  const std::vector<std::vector<std::string>> cases = {{}, {"-nowindow"}, {"-NoWindow", "-NOWINDOW"}};
  for (const auto& args : cases) {
    SetProgramArguments(args);
    HeadlessProgress host;
    ActionInfo action;
    EXPECT_EQ(host.run(CommandLineStep, action, 1), kStepFinished) << args.size();
    EXPECT_EQ(host.statusLines(), std::vector<std::string>{"Analyzing command line"});
    EXPECT_TRUE(host.errors().empty());
  }
}

TEST_F(CommandLineStepTest, AnArgumentNotYetUnderstoodIsShownAsTheErrorInLowerCase) {
  struct {
    std::vector<std::string> args;
    std::string error;
  } cases[] = {
      {{"-Bogus"}, "-bogus"},
      {{"-nowindow", "MyTasks.TSK", "-nowindow"}, "mytasks.tsk"},
      {{"-query"}, "-query"},
  };
  for (const auto& c : cases) {
    SetProgramArguments(c.args);
    HeadlessProgress host;
    ActionInfo action;
    EXPECT_EQ(host.run(CommandLineStep, action, 1), kStepErrorShown) << c.error;
    EXPECT_EQ(host.errors(), std::vector<std::string>{c.error});
  }
  EXPECT_EQ(dir_.read("kvqt.rpt"),
            "Analyzing command line\r\n-bogus\r\nAnalyzing command line\r\nmytasks.tsk\r\n"
            "Analyzing command line\r\n-query\r\n");
}

}  // namespace
}  // namespace kvqt
