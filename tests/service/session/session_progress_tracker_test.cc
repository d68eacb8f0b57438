#include "service/session/session_progress_tracker.h"

#include <gtest/gtest.h>

#include "app/core/action_info.h"
#include "service/import/result_import.h"
#include "service/session/download_session.h"

namespace kvqt {
namespace {

using Mode = ProgressBarView::Mode;

class SessionProgressTrackerTest : public ::testing::Test {
 protected:
  std::int64_t now = 1'000'000;
  SessionProgressTracker tracker{[this] { return now; }};

  void ExpectBar(Mode mode, int percent, const std::string& label) {
    EXPECT_EQ(tracker.bar().mode, mode);
    EXPECT_EQ(tracker.bar().percent, percent);
    EXPECT_EQ(tracker.bar().label, label);
  }
};

// The statuses of a whole session, in order, and what the window shows after each.
TEST_F(SessionProgressTrackerTest, FollowsASessionFromTheRequestToTheSummary) {
  EXPECT_FALSE(tracker.active());
  const struct {
    const char* status;
    std::int64_t later;  // milliseconds that pass before it
    Mode mode;
    int percent;
    const char* label;
    const char* wait;
  } steps[] = {
      {"Creating definition file", 0, Mode::kPercent, 0, "", ""},
      {"Connecting to Norvale group...", 10, Mode::kPercent, 0, "", ""},
      {"Sent: 50%", 10, Mode::kPercent, 50, "sent", ""},
      {"Sent: 100%", 10, Mode::kPercent, 100, "sent", ""},
      {"Creating datafile\nCredit: Unlimited", 10, Mode::kBusy, 0, "", "Waiting for the result: 0:00"},
      {nullptr, 42'500, Mode::kBusy, 0, "", "Waiting for the result: 0:42"},
      {nullptr, 3'600'000, Mode::kBusy, 0, "", "Waiting for the result: 1:00:42"},
      {"Receiving datafile", 100, Mode::kPercent, 0, "received", ""},
      {"Received: 33%", 10, Mode::kPercent, 33, "received", ""},
      {"Close session", 10, Mode::kPercent, 100, "received", ""},
      {"Write to database", 10, Mode::kPercent, 100, "received", ""},
      {"Written: 9 records in 1 data file in 1 directory", 10, Mode::kPercent, 100, "written", ""},
      {"Download Session Completed", 10, Mode::kPercent, 100, "written", ""},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.status ? step.status : "(time passes)");
    now += step.later;
    if (step.status) tracker.status(step.status);
    ExpectBar(step.mode, step.percent, step.label);
    EXPECT_EQ(tracker.waitText(), step.wait);
    EXPECT_EQ(tracker.waiting(), *step.wait != '\0');
  }
  EXPECT_EQ(tracker.summary(), "Written: 9 records in 1 data file in 1 directory");

  // The next session of a task file starts afresh.
  tracker.status("Creating definition file");
  ExpectBar(Mode::kPercent, 0, "");
  EXPECT_EQ(tracker.summary(), "");
}

// A wait that ends in a time-out or a cancel leaves no clock running.
TEST_F(SessionProgressTrackerTest, AWaitEndsWithWhateverStatusFollows) {
  tracker.status("Creating datafile\nCredit: x");
  EXPECT_TRUE(tracker.waiting());
  tracker.status("Timeout while waiting for result");
  EXPECT_FALSE(tracker.waiting());
  EXPECT_EQ(tracker.waitText(), "");
  ExpectBar(Mode::kPercent, 0, "");
}

// Outside the import the step function tells nothing; an import without an
// open result shows nothing new either.
TEST_F(SessionProgressTrackerTest, StepsOtherThanTheImportLeaveTheBar) {
  ActionInfo action;
  tracker.status("Received: 100%");
  tracker.stepRunning(DownloadSession, &action);
  tracker.stepRunning(actionPostDatafile, &action);
  tracker.stepRunning(actionPostDatafile, nullptr);
  ExpectBar(Mode::kPercent, 100, "received");
}

}  // namespace
}  // namespace kvqt
