// Download sessions in the progress dialog against kvqt-server on 127.0.0.1:
// what the window shows (the bar, the wait, the summary line) and Cancel
// while the server prepares the result, which leaves the databases as they were.
#include "ui/session_progress.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "app/application.h"
#include "qt_test_app.h"
#include "session_fixture.h"
#include "ui/progress_dialog.h"

namespace kvqt {
namespace {

using testing::kMetaStockId;

constexpr const char* kAbcSummary = "Written: 9 records in 1 data file in 1 directory";

class SessionProgressTest : public testing::DownloadSessionFixture {
 protected:
  void SetUp() override {
    testing::TestApp();
    DownloadSessionFixture::SetUp();
  }

  static ui::ProgressDialog* Dialog() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      auto* dialog = qobject_cast<ui::ProgressDialog*>(w);
      if (dialog != nullptr && dialog->isVisible()) return dialog;
    }
    return nullptr;
  }
  template <typename T>
  static T* Child(QWidget* w, const char* name) {
    return w->findChild<T*>(QString::fromLatin1(name));
  }
  static QString Text(QWidget* w, const char* name) { return Child<QLabel>(w, name)->text(); }

  // Runs the session in its dialog; `watch` is called every 10 ms while the
  // dialog is up (also from within the session's waits) and returns true
  // once it has nothing more to do.
  int RunWatched(const std::function<bool(ui::ProgressDialog&)>& watch) {
    Application application({});
    QTimer poll;
    bool done = false;
    QObject::connect(&poll, &QTimer::timeout, [&] {
      ui::ProgressDialog* dialog = Dialog();
      if (dialog != nullptr && !done) done = watch(*dialog);
    });
    poll.start(10);
    return ui::RunDownloadSession(application, action, nullptr);
  }

  std::string ReportLog() const { return testing::ReadFileBytes(programDir + "kvqt.rpt"); }
};

// With the details open the dialog stays up after the import: the bar is
// full, the summary of what was written is in the window and the report log.
TEST_F(SessionProgressTest, SessionShowsTheSummaryInTheWindowAndTheLog) {
  ChartDirectory(kMetaStockId, {"ABC", "X.Y"});
  StartServer();
  QString summary, status, format;
  int value = -1;
  bool elapsedEmpty = false;
  const int result = RunWatched([&](ui::ProgressDialog& dialog) {
    if (!dialog.detailsShown()) Child<QPushButton>(&dialog, "details")->click();
    if (!Child<QPushButton>(&dialog, "ok")->isVisible()) return false;
    summary = Text(&dialog, "summary");
    status = Text(&dialog, "status");
    value = Child<QProgressBar>(&dialog, "progress")->value();
    format = Child<QProgressBar>(&dialog, "progress")->format();
    elapsedEmpty = Text(&dialog, "elapsed").isEmpty();
    Child<QPushButton>(&dialog, "ok")->click();
    return true;
  });
  EXPECT_EQ(result, kStepErrorShown);  // "Download Session Completed" waits for OK
  EXPECT_EQ(status.toStdString(), "\nDownload Session Completed");
  EXPECT_EQ(summary.toStdString(), kAbcSummary);
  EXPECT_EQ(value, 100);
  EXPECT_EQ(format.toStdString(), "%p% written");
  EXPECT_TRUE(elapsedEmpty);
  EXPECT_NE(ReportLog().find(std::string(kAbcSummary) + "\r\n"), std::string::npos) << ReportLog();
  EXPECT_EQ(action.sourceDirectory->bySymbol("ABC")->recordCount(), 9);
}

// Without the details the dialog closes when the import is done; the summary
// stays in the report log, after the status lines of the session.
TEST_F(SessionProgressTest, FinishedSessionClosesAndLogsTheSummary) {
  ChartDirectory(kMetaStockId, {"ABC"});
  StartServer();
  bool barShown = false;
  const int result = RunWatched([&](ui::ProgressDialog& dialog) {
    barShown = barShown || Child<QProgressBar>(&dialog, "progress")->isVisible();
    return false;
  });
  EXPECT_EQ(result, kStepFinished);
  EXPECT_TRUE(barShown);
  const std::string log = ReportLog();
  const auto write = log.find("Write to database\r\n");
  const auto summary = log.find(std::string(kAbcSummary) + "\r\n");
  ASSERT_NE(write, std::string::npos) << log;
  ASSERT_NE(summary, std::string::npos) << log;
  EXPECT_LT(write, summary);
}

// A server that takes a few seconds to prepare the result: the window counts
// the seconds of the wait, and the session then goes on to the import.
TEST_F(SessionProgressTest, WaitForTheResultShowsTheTimeThatPassed) {
  ChartDirectory(kMetaStockId, {"ABC"});
  server::Faults faults;
  faults.result_delay = std::chrono::milliseconds(2500);
  StartServer(faults);
  options->timeouts.result = std::chrono::seconds(30);
  std::vector<std::string> seen;
  const int result = RunWatched([&](ui::ProgressDialog& dialog) {
    const std::string text = Text(&dialog, "elapsed").toStdString();
    if (!text.empty() && (seen.empty() || seen.back() != text)) seen.push_back(text);
    return false;
  });
  EXPECT_EQ(result, kStepFinished);
  // (Seconds of a busy machine may pass unseen; the first and the second cannot.)
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(seen.front(), "Waiting for the result: 0:00");
  EXPECT_NE(std::find(seen.begin(), seen.end(), "Waiting for the result: 0:01"), seen.end());
  for (const std::string& text : seen) EXPECT_EQ(text.rfind("Waiting for the result: 0:0", 0), 0u) << text;
  EXPECT_NE(ReportLog().find(std::string(kAbcSummary) + "\r\n"), std::string::npos) << ReportLog();
}

// A batch run without a display prints its logged status lines, the summary among them.
TEST_F(SessionProgressTest, HeadlessBatchRunPrintsTheSummary) {
  ChartDirectory(kMetaStockId, {"ABC"});
  StartServer();
  HeadlessProgress host(/*echo=*/true);
  ::testing::internal::CaptureStdout();
  const int result = host.run(DownloadSession, action, kDownloadSessionSteps);
  const std::string out = ::testing::internal::GetCapturedStdout();
  EXPECT_EQ(result, kStepFinished);
  EXPECT_NE(out.find("Write to database\n" + std::string(kAbcSummary) + "\n"), std::string::npos) << out;
}

// Cancel while the server has the request and has not answered: the wait
// ends at once, the dialog says so with OK, and no database file changed.
TEST_F(SessionProgressTest, CancelDuringTheWaitForTheResultLeavesTheDatabasesUnchanged) {
  ChartDirectory(kMetaStockId, {"ABC", "X.Y"});
  const auto before = testing::Snapshot(chartDir);
  // A server that takes the request and never says "Ready for result"; the
  // session would wait a minute for it.
  server::ServerOptions serverOptions = testing::TestOptions();
  serverOptions.faults.stall = true;
  serverOptions.stall_time = std::chrono::seconds(120);
  server = std::make_unique<testing::ServerThread>(*store, serverOptions);
  ASSERT_TRUE(server->listening());
  userInfo.NetworkDestination = "127.0.0.1 " + std::to_string(server->port());
  options->timeouts.result = std::chrono::seconds(60);

  using Clock = std::chrono::steady_clock;
  QString waitText, status;
  int busyMaximum = -1;
  bool cancelled = false;
  Clock::time_point cancelledAt, okAt;
  const int result = RunWatched([&](ui::ProgressDialog& dialog) {
    if (!cancelled) {
      if (!Text(&dialog, "elapsed").startsWith("Waiting for the result: ")) return false;
      waitText = Text(&dialog, "elapsed");
      busyMaximum = Child<QProgressBar>(&dialog, "progress")->maximum();
      Child<QPushButton>(&dialog, "cancel")->click();
      cancelled = true;
      cancelledAt = Clock::now();
      return false;
    }
    if (!Child<QPushButton>(&dialog, "ok")->isVisible()) return false;
    okAt = Clock::now();
    status = Text(&dialog, "status");
    EXPECT_TRUE(Text(&dialog, "elapsed").isEmpty());
    Child<QPushButton>(&dialog, "ok")->click();
    return true;
  });
  ASSERT_TRUE(cancelled);
  EXPECT_EQ(waitText.toStdString().substr(0, 27), "Waiting for the result: 0:0");
  EXPECT_EQ(busyMaximum, 0);  // a busy bar: no measure of the wait
  EXPECT_EQ(result, kStepErrorShown);
  EXPECT_EQ(status.toStdString(), "\nTimeout while waiting for result");
  // A guard against a wait that ignores Cancel, which would take the whole minute.
  EXPECT_LT(okAt - cancelledAt, std::chrono::seconds(10));
  EXPECT_EQ(testing::Snapshot(chartDir), before);
  EXPECT_FALSE(std::filesystem::exists(programDir + "sksdat.dat"));
  EXPECT_FALSE(std::filesystem::exists(programDir + "result.zip"));
  EXPECT_EQ(server->Join().outcome, "stalled");
}

}  // namespace
}  // namespace kvqt
