// The window of a batch run: a plain frame whose only content is the progress
// dialog running the command line. It closes with the run, and the program
// ends with it.
#pragma once

#include <QWidget>

#include "app/runner/step_runner.h"

namespace kvqt::ui {

class ProgressDialog;

class BatchWindow : public QWidget {
  Q_OBJECT

 public:
  // While a batch window exists the program ends when its run ends, never
  // because the last visible window closed: a hidden run's only windows are
  // its message boxes.
  BatchWindow(StepFunction firstStep, ActionInfo& action);
  ~BatchWindow() override;

  ProgressDialog* dialog() const { return dialog_; }

  // Starts the run; a hidden window stays hidden until an error is shown.
  void start(bool hidden);
  // The run's exit code once it ended: 0 finished, 1 stopped or failed.
  int exitCode() const { return exitCode_; }

  // The release installer asked the program to quit: the run is cancelled,
  // or closed when its error is already shown.
  void quitRequested();

 signals:
  void runEnded(int exitCode);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  ProgressDialog* dialog_;
  int exitCode_ = 1;
  bool ended_ = false;
  bool quitOnLastWindowClosed_;
};

}  // namespace kvqt::ui
