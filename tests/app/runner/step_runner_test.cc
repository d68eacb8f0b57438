#include "app/runner/step_runner.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/core/action_info.h"
#include "app/runner/headless_progress.h"
#include "app/core/logs.h"
#include "platform/clock.h"
#include "support/temp_dir.h"

namespace kvqt {
namespace {

using kvqt::testing::TempDir;

// A millisecond clock that moves only when a step says so.
std::int64_t g_now_ms = 0;
std::int64_t FakeMilliseconds() { return g_now_ms; }

// State the plain step functions below share with the test that runs them.
int g_calls = 0;
int g_result = 0;
std::vector<int> g_results;  // results handed out one per call, then 1
std::vector<std::string> g_trace;

class StepRunnerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Logs::SetDirectory(dir_.path());
    g_now_ms = 0;
    g_calls = 0;
    g_result = 0;
    g_results.clear();
    g_trace.clear();
  }
  void TearDown() override {
    Logs::SetDirectory("");
    SetTaskFileStep(nullptr);
  }

  StepRunner MakeRunner(StepFunction step, int total) {
    StepRunner runner(view_, step, &action_, total);
    runner.setMilliseconds(FakeMilliseconds);
    return runner;
  }

  TempDir dir_;
  HeadlessProgress view_;
  ActionInfo action_;
};

int ReturnGivenResult(StepRunner&, ActionInfo&, int&) {
  ++g_calls;
  return g_result;
}

int ResultsInTurn(StepRunner&, ActionInfo&, int&) {
  int result = g_calls < static_cast<int>(g_results.size()) ? g_results[g_calls] : kStepFinished;
  ++g_calls;
  return result;
}

TEST_F(StepRunnerTest, EachResultDecidesWhatTheWindowDoesNext) {
  struct Case {
    int stepResult;
    TickOutcome outcome;
    int runnerResult;
  } cases[] = {
      {kStepFinished, TickOutcome::Finished, 1},
      {kStepStop, TickOutcome::Stopped, -3},
      {kStepWait, TickOutcome::Wait, 0},
      {kStepErrorShown, TickOutcome::Error, -5},
      {-1, TickOutcome::Error, -1},
      {-9, TickOutcome::Error, -9},
      {7, TickOutcome::Error, 7},
  };
  for (const Case& c : cases) {
    g_calls = 0;
    g_result = c.stepResult;
    StepRunner runner = MakeRunner(ReturnGivenResult, 5);
    EXPECT_EQ(runner.tick(), c.outcome) << c.stepResult;
    EXPECT_EQ(runner.result(), c.runnerResult) << c.stepResult;
    EXPECT_EQ(g_calls, 1) << c.stepResult;
  }
}

int GoOnWithoutAdvancing(StepRunner&, ActionInfo&, int&) {
  ++g_calls;
  g_now_ms += 30;
  return kStepGoOn;
}

TEST_F(StepRunnerTest, StepThatNeverAdvancesIsCalledForOneSliceOnEveryTick) {
  StepRunner runner = MakeRunner(GoOnWithoutAdvancing, 1);
  // 0, 30, 60 ms are inside the slice; the call ending at 120 ms closes it.
  EXPECT_EQ(runner.tick(), TickOutcome::Continue);
  EXPECT_EQ(g_calls, 4);
  EXPECT_EQ(runner.tick(), TickOutcome::Continue);
  EXPECT_EQ(g_calls, 8);
  EXPECT_EQ(runner.counter(), 0);
}

int AdvanceOnce(StepRunner& runner, ActionInfo&, int&) {
  ++g_calls;
  runner.next();
  return kStepGoOn;
}

TEST_F(StepRunnerTest, CounterReachingTotalFinishesWithoutAnotherCall) {
  StepRunner runner = MakeRunner(AdvanceOnce, 3);
  EXPECT_EQ(runner.tick(), TickOutcome::Finished);
  EXPECT_EQ(g_calls, 3);
  EXPECT_EQ(runner.result(), 1);
}

TEST_F(StepRunnerTest, TotalOfZeroFinishesAtTheFirstTickWithoutCallingTheStep) {
  StepRunner runner = MakeRunner(ReturnGivenResult, 0);
  EXPECT_EQ(runner.tick(), TickOutcome::Finished);
  EXPECT_EQ(g_calls, 0);
}

HeadlessProgress* g_host = nullptr;

int CancelDuringStep(StepRunner&, ActionInfo&, int&) {
  ++g_calls;
  g_host->cancel();  // the Cancel button, pressed while the step pumps messages
  g_trace.push_back("step completed after cancel");
  return kStepGoOn;
}

TEST_F(StepRunnerTest, CancelDuringAStepTakesEffectOnceTheStepReturned) {
  HeadlessProgress host;
  g_host = &host;
  EXPECT_EQ(host.run(CancelDuringStep, action_, 10), kStepStop);
  EXPECT_EQ(g_calls, 1);
  EXPECT_EQ(g_trace, std::vector<std::string>{"step completed after cancel"});
}

TEST_F(StepRunnerTest, CancelBeforeATickStopsWithoutCallingTheStep) {
  StepRunner runner = MakeRunner(ReturnGivenResult, 1);
  runner.cancel();
  EXPECT_TRUE(runner.cancelled());
  EXPECT_EQ(runner.tick(), TickOutcome::Stopped);
  EXPECT_EQ(g_calls, 0);
}

void TraceCancelHook(StepRunner&, ActionInfo&) { g_trace.push_back("cancel hook"); }

int InstallCancelHook(StepRunner& runner, ActionInfo&, int&) {
  ++g_calls;
  runner.setCancelHook(TraceCancelHook);
  return kStepGoOn;
}

TEST_F(StepRunnerTest, CancelRunsTheStepsCancelHookOnceAndANewStepDropsIt) {
  StepRunner runner = MakeRunner(InstallCancelHook, 1);
  // Every reading of the clock is a slice later: one call per tick.
  runner.setMilliseconds([] { return g_now_ms += StepRunner::kSliceMs; });
  EXPECT_EQ(runner.tick(), TickOutcome::Continue);
  runner.cancel();
  EXPECT_EQ(runner.tick(), TickOutcome::Stopped);
  EXPECT_EQ(runner.tick(), TickOutcome::Stopped);
  EXPECT_EQ(g_trace, std::vector<std::string>{"cancel hook"});

  StepRunner other = MakeRunner(InstallCancelHook, 1);
  other.setMilliseconds([] { return g_now_ms += StepRunner::kSliceMs; });
  EXPECT_EQ(other.tick(), TickOutcome::Continue);
  other.setStep(ReturnGivenResult, 1);
  other.cancel();
  EXPECT_EQ(other.tick(), TickOutcome::Stopped);
  EXPECT_EQ(g_trace.size(), 1u);
}

TEST_F(StepRunnerTest, WaitResultLeavesTheTickAndTheHeadlessHostWaitsOneSecondOnTheClock) {
  platform::ScopedFixedClock clock({2024, 3, 4, 10, 0, 0});
  const std::time_t start = platform::Now();
  g_results = {kStepWait, kStepWait, kStepWait, kStepFinished};
  HeadlessProgress host;
  EXPECT_EQ(host.run(ResultsInTurn, action_, 1), kStepFinished);
  EXPECT_EQ(g_calls, 4);
  EXPECT_EQ(host.ticks(), 4);
  EXPECT_EQ(host.waits(), 3);
  EXPECT_EQ(platform::Now() - start, 3);
}

TEST_F(StepRunnerTest, HeadlessHostStartsTheNextTickAtOnceAfterASlice) {
  platform::ScopedFixedClock clock({2024, 3, 4, 10, 0, 0});
  const std::time_t start = platform::Now();
  HeadlessProgress host;
  host.setMilliseconds(FakeMilliseconds);
  g_results = {kStepGoOn, kStepGoOn, kStepGoOn, kStepGoOn, kStepGoOn, kStepGoOn, kStepGoOn, kStepGoOn, kStepGoOn};
  // Each call takes 30 ms of the fake clock: four calls to a tick.
  EXPECT_EQ(host.run(+[](StepRunner& r, ActionInfo& a, int& n) {
                       g_now_ms += 30;
                       return ResultsInTurn(r, a, n);
                     },
                     action_, 1),
            kStepFinished);
  EXPECT_EQ(g_calls, 10);
  EXPECT_EQ(host.ticks(), 3);
  EXPECT_EQ(host.waits(), 0);
  EXPECT_EQ(platform::Now(), start);
}

// The task-file interpreter stand-in: one call per line, clearing the flag after the last.
std::vector<std::string> g_task_lines;

int InterpretTaskLine(StepRunner& runner, ActionInfo& action, int& counter) {
  g_trace.push_back("task step counter " + std::to_string(counter) + " total " + std::to_string(runner.total()));
  if (g_task_lines.empty()) {
    action.taskFileFlag = false;
    return kStepFinished;
  }
  g_trace.push_back("line " + g_task_lines.front());
  g_task_lines.erase(g_task_lines.begin());
  runner.setStep(ResultsInTurn, 2);
  return kStepGoOn;
}

TEST_F(StepRunnerTest, FinishedActionHandsBackToTheTaskFileWhileTheFlagIsSet) {
  SetTaskFileStep(InterpretTaskLine);
  g_task_lines = {"=Download(1, 1, \"MS\", \"\", \"\", 0, 0)", "=Convert(...)"};
  action_.taskFileFlag = true;
  g_results = {kStepGoOn};
  HeadlessProgress host;
  EXPECT_EQ(host.run(ResultsInTurn, action_, 1), kStepFinished);
  EXPECT_EQ(g_trace, (std::vector<std::string>{
                         "task step counter 0 total 1", "line =Download(1, 1, \"MS\", \"\", \"\", 0, 0)",
                         "task step counter 0 total 1", "line =Convert(...)", "task step counter 0 total 1"}));
  EXPECT_FALSE(action_.taskFileFlag);
}

TEST_F(StepRunnerTest, HandBackEndsTheTickSoTheWindowGetsItsPause) {
  SetTaskFileStep(InterpretTaskLine);
  action_.taskFileFlag = true;
  g_result = kStepFinished;
  StepRunner runner = MakeRunner(ReturnGivenResult, 1);
  EXPECT_EQ(runner.tick(), TickOutcome::Continue);
  EXPECT_EQ(runner.step(), &InterpretTaskLine);
  EXPECT_EQ(runner.total(), 1);
  EXPECT_TRUE(g_trace.empty());
}

TEST_F(StepRunnerTest, WithoutAnInterpreterAFinishedStepEndsTheRunEvenWithTheFlagSet) {
  action_.taskFileFlag = true;
  g_result = kStepFinished;
  StepRunner runner = MakeRunner(ReturnGivenResult, 1);
  EXPECT_EQ(runner.tick(), TickOutcome::Finished);
}

int ReportAndFail(StepRunner& runner, ActionInfo&, int&) {
  runner.status("Connecting", true);
  runner.status("Block 12", false);
  runner.statusNumber("Records", 70000);
  runner.errorText("Can't connect to", std::string(100, 'h'));
  return kStepErrorShown;
}

TEST_F(StepRunnerTest, LoggedStatusLinesAndTheErrorEndTheReportLog) {
  HeadlessProgress host;
  EXPECT_EQ(host.run(ReportAndFail, action_, 1), kStepErrorShown);
  const std::string error = "Can't connect to " + std::string(80, 'h');
  EXPECT_EQ(dir_.read("kvqt.rpt"), "Connecting\r\nRecords 70000\r\n" + error + "\r\n");
  EXPECT_EQ(host.statusLines(), (std::vector<std::string>{"Connecting", "Block 12", "Records 70000", error}));
  EXPECT_EQ(host.errors(), std::vector<std::string>{error});
}

int ReceiveText(StepRunner& runner, ActionInfo&, int&) {
  runner.terminalOutput(std::string_view("Welcome\r\nCredit: 12\n\x07rest"));
  return kStepFinished;
}

TEST_F(StepRunnerTest, TerminalLinesGoToTheReportLogAndToAnOpenDetailsList) {
  HeadlessProgress host;
  host.setDetailsShown(true);
  EXPECT_EQ(host.run(ReceiveText, action_, 1), kStepFinished);
  EXPECT_EQ(dir_.read("kvqt.rpt"), "Welcome\r\nCredit: 12\r\n");
  EXPECT_EQ(host.detailLines(), (std::vector<std::string>{"Welcome", "Credit: 12"}));
}

}  // namespace
}  // namespace kvqt
