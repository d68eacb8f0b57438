// The progress dialog: runs a step function from its timer and shows the
// status lines, the error with OK, and (in the details variant) the lines of
// the report log. Modal from a command's dialog, or the only content of the
// batch window. A download session run in it also gets a progress bar (the
// transfer's percentages, then the import's), the time it has been waiting
// for the result, and the import's summary line.
#pragma once

#include <QDialog>
#include <QSize>
#include <memory>
#include <string>

#include "app/runner/step_runner.h"
#include "service/session/session_progress_tracker.h"

class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QTimer;

namespace kvqt::ui {

enum class ProgressVariant {
  Cancel,   // "GENERAL_CANCEL": status lines, OK and Cancel
  Details,  // "GENERAL_DETAILS": with "Details..." and the report-log list
};

inline constexpr const char* kDefaultProgressTitle = "Please wait..";
inline constexpr const char* kUseCancelButton = "Use CANCEL button";
inline constexpr const char* kNoTimer = "No timer could be set";

class ProgressDialog : public QDialog, public ProgressView {
  Q_OBJECT

 public:
  // The title is cut to 200 characters; empty gives "Please wait..".
  ProgressDialog(QWidget* parent, ProgressVariant variant, StepFunction step, ActionInfo* action, int total,
                 const std::string& title = "");
  ~ProgressDialog() override;

  StepRunner& runner() { return *runner_; }

  // Runs modally: 1 when the run finished, -3 when it stopped or was
  // cancelled, or the error code of a step that stopped with an error and
  // was then closed with OK.
  int run();

  // Starts the run without showing the dialog (a hidden batch run); showing
  // the dialog starts it too.
  void start();

  // Whether a close that did not come from the dialog itself may go ahead;
  // says "Use CANCEL button" when not.
  bool mayClose();
  // The run ended or stopped with its error shown.
  bool runOver() const { return over_; }
  // A batch run also writes its error and the notices that tell its cause to
  // standard error, where whoever started it reads them, and the import's
  // summary line to standard output.
  void copyToStandardError(bool copy) { copyToStandardError_ = copy; }

  // What the window follows of a download session (tests read it).
  const SessionProgressTracker& sessionProgress() const { return tracker_; }
  // The clock the wait for the result is timed with (screenshots and tests).
  void setSessionClock(SessionProgressTracker::Milliseconds clock) {
    tracker_ = SessionProgressTracker(std::move(clock));
  }

  // ProgressView.
  void showStatus(std::string_view text, bool logged) override;
  void showLine2(std::string_view text) override;
  void showLine3(std::string_view text) override;
  void showError(std::string_view text) override;
  void showNotice(std::string_view text) override;
  bool detailsShown() const override { return detailsShown_; }
  void addDetailLine(std::string_view line) override;
  void pumpMessages() override;

  void showDetails(bool on);

 protected:
  void showEvent(QShowEvent* event) override;
  void timerEvent(QTimerEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 public slots:
  void reject() override;

 private:
  void setUp();
  void startTimer(int ms);
  void finish(int result);
  void keepOnDesktop();
  // Shows the session's progress bar, wait time and summary as the tracker has them.
  void showSessionProgress();

  std::unique_ptr<StepRunner> runner_;
  ProgressVariant variant_;
  QLabel* status_ = nullptr;
  QLabel* line2_ = nullptr;
  QLabel* line3_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
  QPushButton* details_ = nullptr;
  QPushButton* noDetails_ = nullptr;
  QListWidget* list_ = nullptr;
  QProgressBar* bar_ = nullptr;
  QLabel* elapsed_ = nullptr;
  QLabel* summary_ = nullptr;
  QTimer* waitClock_ = nullptr;  // refreshes the wait time while a step waits
  SessionProgressTracker tracker_;
  int timerId_ = 0;
  bool setUpDone_ = false;
  bool detailsShown_ = false;
  bool over_ = false;
  bool copyToStandardError_ = false;
  bool closingOurselves_ = false;
  QSize setUpSize_;
};

}  // namespace kvqt::ui
