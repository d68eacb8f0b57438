#include "ui/progress_dialog.h"

#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include "app/core/action_info.h"
#include "ui/batch_window.h"
#include "ui/qt_test_app.h"

namespace kvqt::ui {
namespace {

using kvqt::testing::QtTest;
using kvqt::testing::QtWaitUntil;

int g_calls = 0;

int CountThenFinish(StepRunner& runner, ActionInfo&, int&) {
  ++g_calls;
  runner.statusNumber("Record", g_calls);
  runner.next();
  return kStepGoOn;
}

int Fail(StepRunner& runner, ActionInfo&, int&) {
  runner.error("Can't connect");
  return kStepErrorShown;
}

int NoticeThenFail(StepRunner& runner, ActionInfo&, int&) {
  runner.notice("Invalid file name");
  runner.error("Receiving datafile failed");
  return kStepErrorShown;
}

int WaitForever(StepRunner&, ActionInfo&, int&) {
  ++g_calls;
  return kStepWait;
}

int GoOnForever(StepRunner& runner, ActionInfo&, int&) {
  ++g_calls;
  runner.pumpMessages();
  return kStepGoOn;
}

// A message box as a hidden batch run shows one, closed by its OK button.
int MessageThenFinish(StepRunner& runner, ActionInfo&, int&) {
  ++g_calls;
  QMessageBox box;
  box.setText("Symbol exists already, no file created");
  box.setStandardButtons(QMessageBox::Ok);
  QTimer::singleShot(100, &box, [&box] { box.button(QMessageBox::Ok)->click(); });
  box.exec();
  runner.next();
  return kStepGoOn;
}

constexpr const char* kSummary = "Written: 3 records in 1 data file in 1 directory";

int SummaryThenFinish(StepRunner& runner, ActionInfo&, int&) {
  runner.status("Write to database", true);
  runner.status(kSummary, true);
  runner.next();
  return kStepGoOn;
}

class ProgressDialogTest : public QtTest {
 protected:
  void SetUp() override {
    QtTest::SetUp();
    g_calls = 0;
  }
  template <typename T>
  T* Child(QWidget& w, const char* name) {
    return w.findChild<T*>(QString::fromLatin1(name));
  }
  // Does `action` once the dialog runs its own loop.
  void Later(std::function<void()> action) { QTimer::singleShot(0, std::move(action)); }

  ActionInfo action_;
};

TEST_F(ProgressDialogTest, RunsTheStepsToTheEndAndLogsTheStatus) {
  ProgressDialog dialog(nullptr, ProgressVariant::Cancel, CountThenFinish, &action_, 3, "Convert");
  EXPECT_EQ(dialog.windowTitle().toStdString(), "Convert");
  EXPECT_EQ(dialog.run(), 1);
  EXPECT_EQ(g_calls, 3);
  EXPECT_EQ(dir_.read("kvqt.rpt"), "Record 1\r\nRecord 2\r\nRecord 3\r\n");
  EXPECT_EQ(Child<QLabel>(dialog, "status")->text().toStdString(), "\nRecord 3");
}

TEST_F(ProgressDialogTest, TitleDefaultsAndIsCut) {
  ProgressDialog plain(nullptr, ProgressVariant::Cancel, CountThenFinish, &action_, 1);
  EXPECT_EQ(plain.windowTitle().toStdString(), "Please wait..");
  ProgressDialog longer(nullptr, ProgressVariant::Cancel, CountThenFinish, &action_, 1, std::string(250, 't'));
  EXPECT_EQ(longer.windowTitle().size(), 200);
}

TEST_F(ProgressDialogTest, ErrorKeepsTheDialogOpenWithOkInsteadOfCancel) {
  ProgressDialog dialog(nullptr, ProgressVariant::Cancel, Fail, &action_, 1);
  bool checked = false;
  Later([&] {
    ASSERT_TRUE(QtWaitUntil([&] { return Child<QPushButton>(dialog, "ok")->isVisible(); }));
    EXPECT_FALSE(Child<QPushButton>(dialog, "cancel")->isVisible());
    EXPECT_EQ(Child<QLabel>(dialog, "status")->text().toStdString(), "\nCan't connect");
    QTest::qWait(100);  // no further ticks: the dialog waits for OK
    EXPECT_TRUE(dialog.isVisible());
    checked = true;
    Child<QPushButton>(dialog, "ok")->click();
  });
  EXPECT_EQ(dialog.run(), kStepErrorShown);
  EXPECT_TRUE(checked);
  EXPECT_EQ(dir_.read("kvqt.rpt"), "Can't connect\r\n");
}

TEST_F(ProgressDialogTest, CancelStopsTheRunWithMinusThree) {
  ProgressDialog dialog(nullptr, ProgressVariant::Cancel, GoOnForever, &action_, 1);
  Later([&] {
    ASSERT_TRUE(QtWaitUntil([&] { return g_calls > 3; }));
    Child<QPushButton>(dialog, "cancel")->click();
  });
  EXPECT_EQ(dialog.run(), kStepStop);
}

TEST_F(ProgressDialogTest, OtherClosesAreRefusedWhileTheRunIsOn) {
  ProgressDialog dialog(nullptr, ProgressVariant::Cancel, WaitForever, &action_, 1);
  Later([&] {
    ASSERT_TRUE(QtWaitUntil([&] { return g_calls > 0; }));
    dialog.close();
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_TRUE(dialog.isVisible());
    Child<QPushButton>(dialog, "cancel")->click();
  });
  EXPECT_EQ(dialog.run(), kStepStop);
  ASSERT_EQ(messages_->shown().size(), 2u);
  EXPECT_EQ(messages_->shown()[0].text, "Use CANCEL button");
  // The one-second wait: the step was called once, maybe twice, in that time.
  EXPECT_LE(g_calls, 3);
}

TEST_F(ProgressDialogTest, DetailsShowTheReportLogAndNewTerminalLines) {
  dir_.write("kvqt.rpt", "Connecting\r\n" + std::string(150, 'x') + "\r\n");
  ProgressDialog dialog(nullptr, ProgressVariant::Details, WaitForever, &action_, 1);
  auto* list = Child<QListWidget>(dialog, "list");
  ASSERT_NE(list, nullptr);
  Later([&] {
    EXPECT_FALSE(list->isVisible());
    Child<QPushButton>(dialog, "details")->click();
    EXPECT_TRUE(list->isVisible());
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(1)->text().toStdString(), std::string(120, 'x'));
    dialog.runner().terminalOutput(std::string_view("Credit: 9\r\n"));
    EXPECT_EQ(list->count(), 3);
    EXPECT_EQ(list->item(2)->text().toStdString(), "Credit: 9");
    Child<QPushButton>(dialog, "noDetails")->click();
    EXPECT_FALSE(list->isVisible());
    Child<QPushButton>(dialog, "cancel")->click();
  });
  EXPECT_EQ(dialog.run(), kStepStop);
  EXPECT_EQ(dir_.read("kvqt.rpt"), "Connecting\r\n" + std::string(150, 'x') + "\r\nCredit: 9\r\n");
}

TEST_F(ProgressDialogTest, DetailsWithoutAReportLogSayItCouldNotBeOpened) {
  ProgressDialog dialog(nullptr, ProgressVariant::Details, WaitForever, &action_, 1);
  Later([&] {
    Child<QPushButton>(dialog, "details")->click();
    auto* list = Child<QListWidget>(dialog, "list");
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(list->item(0)->text().toStdString(), "Error opening " + dir_.file("kvqt.rpt"));
    Child<QPushButton>(dialog, "cancel")->click();
  });
  EXPECT_EQ(dialog.run(), kStepStop);
}

TEST_F(ProgressDialogTest, HiddenBatchWindowAppearsWithTheErrorAndEndsWithOk) {
  BatchWindow batch(Fail, action_);
  int ended = -1;
  QObject::connect(&batch, &BatchWindow::runEnded, [&](int code) { ended = code; });
  batch.start(/*hidden=*/true);
  EXPECT_FALSE(batch.isVisible());
  ASSERT_TRUE(QtWaitUntil([&] { return batch.isVisible(); }));
  auto* ok = Child<QPushButton>(batch, "ok");
  ASSERT_TRUE(QtWaitUntil([&] { return ok->isVisible(); }));
  ok->click();
  ASSERT_TRUE(QtWaitUntil([&] { return ended != -1; }));
  EXPECT_EQ(ended, 1);
  EXPECT_FALSE(batch.isVisible());
}

TEST_F(ProgressDialogTest, BatchWindowWritesItsErrorAndItsCauseToStandardError) {
  BatchWindow batch(NoticeThenFail, action_);
  int ended = -1;
  QObject::connect(&batch, &BatchWindow::runEnded, [&](int code) { ended = code; });
  ::testing::internal::CaptureStderr();
  batch.start(/*hidden=*/true);
  auto* ok = Child<QPushButton>(batch, "ok");
  const bool shown = QtWaitUntil([&] { return ok->isVisible(); });
  const std::string err = ::testing::internal::GetCapturedStderr();
  ASSERT_TRUE(shown);
  // (The offscreen platform may add warnings of its own after them.)
  EXPECT_EQ(err.rfind("Invalid file name\nReceiving datafile failed\n", 0), 0u) << err;
  ok->click();
  ASSERT_TRUE(QtWaitUntil([&] { return ended != -1; }));

  // A session run from the main window keeps them in its dialog.
  ProgressDialog dialog(nullptr, ProgressVariant::Cancel, NoticeThenFail, &action_, 1);
  ::testing::internal::CaptureStderr();
  Later([&] {
    QtWaitUntil([&] { return Child<QPushButton>(dialog, "ok")->isVisible(); });
    Child<QPushButton>(dialog, "ok")->click();
  });
  dialog.run();
  const std::string quiet = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(quiet.find("Invalid file name"), std::string::npos) << quiet;
  EXPECT_EQ(quiet.find("Receiving datafile failed"), std::string::npos) << quiet;
}

TEST_F(ProgressDialogTest, BatchWindowThatFinishesEndsWithZeroWithoutEverShowing) {
  BatchWindow batch(CountThenFinish, action_);
  int ended = -1;
  QObject::connect(&batch, &BatchWindow::runEnded, [&](int code) { ended = code; });
  batch.start(/*hidden=*/true);
  ASSERT_TRUE(QtWaitUntil([&] { return ended != -1; }));
  EXPECT_EQ(ended, 0);
  EXPECT_FALSE(batch.isVisible());
}

TEST_F(ProgressDialogTest, ClosingTheBatchWindowDuringTheRunIsRefused) {
  BatchWindow batch(WaitForever, action_);
  int ended = -1;
  QObject::connect(&batch, &BatchWindow::runEnded, [&](int code) { ended = code; });
  batch.start(/*hidden=*/false);
  ASSERT_TRUE(QtWaitUntil([&] { return g_calls > 0; }));
  batch.close();
  EXPECT_TRUE(batch.isVisible());
  ASSERT_EQ(messages_->shown().size(), 1u);
  EXPECT_EQ(messages_->shown()[0].text, "Use CANCEL button");
  batch.quitRequested();  // the release installer's quit cancels the run
  ASSERT_TRUE(QtWaitUntil([&] { return ended != -1; }));
  EXPECT_EQ(ended, 1);
}

TEST_F(ProgressDialogTest, ClosingAMessageBoxOfAHiddenRunDoesNotEndTheProgram) {
  BatchWindow batch(MessageThenFinish, action_);
  QObject::connect(&batch, &BatchWindow::runEnded, [](int code) { QCoreApplication::exit(10 + code); });
  QTimer::singleShot(0, &batch, [&batch] { batch.start(/*hidden=*/true); });
  // Only the run's end may end the loop (10 for a finished run); the box
  // closing as the last visible window would end it with 0.
  EXPECT_EQ(QCoreApplication::exec(), 10);
  EXPECT_EQ(g_calls, 1);
}

// What the window shows of a session follows its status texts; a run that is
// no session (a convert) never shows the bar.
TEST_F(ProgressDialogTest, SessionStatusesDriveTheBarTheWaitAndTheSummary) {
  ProgressDialog dialog(nullptr, ProgressVariant::Cancel, WaitForever, &action_, 1);
  auto* bar = Child<QProgressBar>(dialog, "progress");
  auto* elapsed = Child<QLabel>(dialog, "elapsed");
  auto* summary = Child<QLabel>(dialog, "summary");
  ASSERT_NE(bar, nullptr);
  ASSERT_NE(elapsed, nullptr);
  ASSERT_NE(summary, nullptr);
  dialog.show();
  dialog.showStatus("Convert ABC", true);
  EXPECT_FALSE(bar->isVisible());
  EXPECT_FALSE(elapsed->isVisible());

  const struct {
    const char* status;
    int minimum, maximum, value;  // value -1: not looked at
    const char* format;
    const char* elapsed;
  } steps[] = {
      {"Creating definition file", 0, 100, 0, "%p%", ""},
      {"Sent: 40%", 0, 100, 40, "%p% sent", ""},
      {"Creating datafile\nCredit: 12", 0, 0, -1, "%p%", "Waiting for the result: 0:00"},
      {"Receiving datafile", 0, 100, 0, "%p% received", ""},
      {"Received: 60%", 0, 100, 60, "%p% received", ""},
      {"Close session", 0, 100, 100, "%p% received", ""},
      {kSummary, 0, 100, 100, "%p% written", ""},
      {"Download Session Completed", 0, 100, 100, "%p% written", ""},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.status);
    dialog.showStatus(step.status, true);
    EXPECT_TRUE(bar->isVisible());
    EXPECT_EQ(bar->minimum(), step.minimum);
    EXPECT_EQ(bar->maximum(), step.maximum);
    if (step.value >= 0) {
      EXPECT_EQ(bar->value(), step.value);
    }
    EXPECT_EQ(bar->format().toStdString(), step.format);
    EXPECT_EQ(elapsed->text().toStdString(), step.elapsed);
  }
  EXPECT_TRUE(summary->isVisible());
  EXPECT_EQ(summary->text().toStdString(), kSummary);
  EXPECT_EQ(Child<QLabel>(dialog, "status")->text().toStdString(), "\nDownload Session Completed");
}

// A batch run writes the import's summary to standard output; a dialog of the
// main window keeps it to itself.
TEST_F(ProgressDialogTest, BatchWindowWritesTheSummaryToStandardOutput) {
  BatchWindow batch(SummaryThenFinish, action_);
  int ended = -1;
  QObject::connect(&batch, &BatchWindow::runEnded, [&](int code) { ended = code; });
  ::testing::internal::CaptureStdout();
  batch.start(/*hidden=*/true);
  const bool finished = QtWaitUntil([&] { return ended != -1; });
  const std::string out = ::testing::internal::GetCapturedStdout();
  ASSERT_TRUE(finished);
  EXPECT_EQ(ended, 0);
  EXPECT_EQ(out, std::string(kSummary) + "\n");

  ProgressDialog dialog(nullptr, ProgressVariant::Details, SummaryThenFinish, &action_, 1);
  ::testing::internal::CaptureStdout();
  EXPECT_EQ(dialog.run(), kStepFinished);
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
  EXPECT_EQ(dir_.read("kvqt.rpt"),
            "Write to database\r\n" + std::string(kSummary) + "\r\nWrite to database\r\n" + kSummary + "\r\n");
}

}  // namespace
}  // namespace kvqt::ui
