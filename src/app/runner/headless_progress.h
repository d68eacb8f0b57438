// The progress host of batch runs without a display, and of the tests: status
// lines go to the report log and (when echoing, the logged ones) to standard
// output, an error and the notices that explain it to standard error. It keeps the runner's time slices and its one-second waits,
// which go through the program clock, but starts the next tick at once.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/runner/step_runner.h"

namespace kvqt {

class HeadlessProgress : public ProgressView {
 public:
  // With echo, status lines are printed on standard output and errors on
  // standard error; the tests leave it off and read what was shown.
  explicit HeadlessProgress(bool echo = false) : echo_(echo) {}

  // Runs the step function to its end: 1 finished, -3 stopped or cancelled,
  // or the error code of a step that stopped with an error shown.
  int run(StepFunction step, ActionInfo& action, int total);

  // The runner of the current run; null outside a run.
  StepRunner* runner() { return runner_; }

  // Called before every tick and whenever a step pumps messages: where a
  // headless run looks for requests from outside (a quit).
  void setIdle(std::function<void(HeadlessProgress&)> idle) { idle_ = std::move(idle); }

  // The milliseconds the runner's time slices are measured with (tests).
  void setMilliseconds(StepRunner::Milliseconds clock) { clock_ = std::move(clock); }

  // Lets a test cancel the run from inside a step, as the Cancel button would.
  void cancel();

  // ProgressView.
  void showStatus(std::string_view text, bool logged) override;
  void showLine2(std::string_view text) override { line2_ = text; }
  void showLine3(std::string_view text) override { line3_ = text; }
  void showError(std::string_view text) override;
  void showNotice(std::string_view text) override;
  bool detailsShown() const override { return details_; }
  void addDetailLine(std::string_view line) override { detailLines_.emplace_back(line); }
  void pumpMessages() override {
    if (idle_) idle_(*this);
  }

  void setDetailsShown(bool shown) { details_ = shown; }

  const std::vector<std::string>& statusLines() const { return status_; }
  const std::vector<std::string>& errors() const { return errors_; }
  const std::vector<std::string>& notices() const { return notices_; }
  const std::vector<std::string>& detailLines() const { return detailLines_; }
  const std::string& line2() const { return line2_; }
  const std::string& line3() const { return line3_; }
  // Ticks of the last run, and the one-second waits among them.
  int ticks() const { return ticks_; }
  int waits() const { return waits_; }

 private:
  bool echo_;
  bool details_ = false;
  StepRunner* runner_ = nullptr;
  StepRunner::Milliseconds clock_;
  std::function<void(HeadlessProgress&)> idle_;
  std::vector<std::string> status_;
  std::vector<std::string> errors_;
  std::vector<std::string> notices_;
  std::vector<std::string> detailLines_;
  std::string line2_;
  std::string line3_;
  int ticks_ = 0;
  int waits_ = 0;
};

}  // namespace kvqt
