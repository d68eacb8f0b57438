#include "automation/wait_steps.h"

#include <gtest/gtest.h>

#include "app/core/action_info.h"
#include "app/runner/headless_progress.h"
#include "app/core/logs.h"
#include "platform/clock.h"
#include "support/temp_dir.h"

namespace kvqt {
namespace {

using platform::LocalDateTime;

TEST(WaitStepsTest, WaitTimes) {
  struct Case {
    const char* text;
    bool ok;
    int hour;
    int minute;
  } cases[] = {
      {"12:30", true, 12, 30}, {"0:0", true, 0, 0},    {"07:05", true, 7, 5},  {"23:59", true, 23, 59},
      {"24:00", false, 0, 0},  {"12:60", false, 0, 0}, {"1230", false, 0, 0},  {"12:", false, 0, 0},
      {":30", false, 0, 0},    {"", false, 0, 0},      {"1a:30", false, 0, 0}, {"123:30", false, 0, 0},
      {"12:30:00", false, 0, 0},
  };
  for (const Case& c : cases) {
    int hour = -1;
    int minute = -1;
    EXPECT_EQ(ParseWaitTime(c.text, hour, minute), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(hour, c.hour) << c.text;
      EXPECT_EQ(minute, c.minute) << c.text;
    }
  }
}

class WaitStepTest : public ::testing::Test {
 protected:
  void SetUp() override { Logs::SetDirectory(dir.path()); }
  void TearDown() override { Logs::SetDirectory(""); }

  int Call(StepFunction step) {
    StepRunner runner(view, step, &action, 1);
    int counter = 0;
    return step(runner, action, counter);
  }

  testing::TempDir dir;
  platform::ScopedFixedClock clock{LocalDateTime{2024, 3, 15, 9, 41, 30}};
  HeadlessProgress view;
  ActionInfo action;
};

TEST_F(WaitStepTest, TheCurrentMinuteFinishesAtTheFirstCall) {
  SetWaitTarget(action, 9, 41);
  EXPECT_EQ(Call(waitStep), kStepFinished);
  ASSERT_EQ(view.statusLines().size(), 1u);
  EXPECT_EQ(view.statusLines()[0], "Wait until:\t09:41\nTime:\t09:41");
}

TEST_F(WaitStepTest, ALaterMinuteTodayIsWaitedFor) {
  SetWaitTarget(action, 10, 5);
  EXPECT_EQ(Call(waitStep), kStepWait);
  EXPECT_EQ(view.statusLines().back(), "Wait until:\t10:05\nTime:\t09:41");
  clock.clock().Set(LocalDateTime{2024, 3, 15, 10, 4, 59});
  EXPECT_EQ(Call(waitStep), kStepWait);
  clock.clock().Advance(1);
  EXPECT_EQ(Call(waitStep), kStepFinished);
  EXPECT_EQ(view.statusLines().back(), "Wait until:\t10:05\nTime:\t10:05");
}

TEST_F(WaitStepTest, ALongWaitIsLoggedWhenItStartsAndThenOnceAMinute) {
  SetWaitTarget(action, 10, 5);  // 23.5 minutes from 09:41:30
  int calls = 0;
  while (Call(waitStep) == kStepWait) {
    clock.clock().Advance(1);
    ASSERT_LT(++calls, 2000);
  }
  EXPECT_EQ(calls, 23 * 60 + 30);
  // Every second shows the time...
  EXPECT_EQ(view.statusLines().size(), static_cast<std::size_t>(calls + 1));
  // ...but only the start, one line a minute and the end are written.
  const std::string report = dir.read("kvqt.rpt");
  std::size_t logged = 0;
  for (std::size_t at = report.find("Wait until"); at != std::string::npos; at = report.find("Wait until", at + 1))
    ++logged;
  EXPECT_EQ(logged, 1u + 23u + 1u);
  EXPECT_NE(report.find("Wait until:\t10:05\nTime:\t09:41"), std::string::npos) << report.substr(0, 200);
  EXPECT_NE(report.find("Time:\t10:05"), std::string::npos);
}

TEST_F(WaitStepTest, AMinuteJustPassedWaitsUntilTheNextDay) {
  SetWaitTarget(action, 9, 40);
  EXPECT_EQ(Call(waitStep), kStepWait);
  clock.clock().Set(LocalDateTime{2024, 3, 16, 9, 39, 59});
  EXPECT_EQ(Call(waitStep), kStepWait);
  clock.clock().Advance(1);
  EXPECT_EQ(Call(waitStep), kStepFinished);
}

TEST_F(WaitStepTest, TheNextDayCarriesIntoTheNextYear) {
  clock.clock().Set(LocalDateTime{2024, 12, 31, 23, 59, 10});
  SetWaitTarget(action, 0, 0);
  const LocalDateTime target = platform::ToLocal(action.waitTarget);
  EXPECT_EQ(target.year, 2025);
  EXPECT_EQ(target.month, 1);
  EXPECT_EQ(target.day, 1);
}

// Should the clock jump over the target minute (a suspended machine), the
// wait does not go on for another day.
TEST_F(WaitStepTest, AClockThatSkippedTheMinuteStillFinishes) {
  SetWaitTarget(action, 10, 0);
  clock.clock().Set(LocalDateTime{2024, 3, 15, 10, 7, 0});
  EXPECT_EQ(Call(waitStep), kStepFinished);
}

TEST_F(WaitStepTest, CountdownShowsEverySecondLeftAndFinishesAfterTheLast) {
  action.countdown = 3;
  const std::time_t start = platform::Now();
  EXPECT_EQ(view.run(countdownStep, action, 1), kStepFinished);
  const std::vector<std::string> expected = {"Countdown 3", "Countdown 2", "Countdown 1"};
  EXPECT_EQ(view.statusLines(), expected);
  EXPECT_EQ(view.waits(), 3);
  EXPECT_EQ(platform::Now() - start, 3);
}

TEST_F(WaitStepTest, NoSecondsFinishAtOnce) {
  for (int seconds : {0, -2}) {
    action.countdown = seconds;
    EXPECT_EQ(Call(countdownStep), kStepFinished) << seconds;
  }
  EXPECT_TRUE(view.statusLines().empty());
}

}  // namespace
}  // namespace kvqt
