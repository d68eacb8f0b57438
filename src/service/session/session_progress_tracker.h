// What the window of a run shows of a download session beyond its status
// lines: a progress bar that follows the upload's and the result's
// percentages and then how much of the result the import has written, the
// time the session has been waiting for the result, and the import's summary
// line. The window hands it every status text and, after every tick, the
// step function that runs; nothing in the session changes for it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "app/runner/step_runner.h"

namespace kvqt {

struct ActionInfo;

struct ProgressBarView {
  enum class Mode {
    kNone,     // nothing to show (no session ran yet)
    kPercent,  // `percent` of what `label` says
    kBusy,     // waiting, no measure of how long
  };
  Mode mode = Mode::kNone;
  int percent = 0;
  std::string label;  // "sent", "received", "written"; empty before the transfer
};

class SessionProgressTracker {
 public:
  // A monotonic clock in milliseconds.
  using Milliseconds = std::function<std::int64_t()>;

  explicit SessionProgressTracker(Milliseconds clock);

  // Every status text the run shows, errors included.
  void status(std::string_view text);
  // After every tick: the step function the run is in, and its action.
  void stepRunning(StepFunction step, const ActionInfo* action);

  // A session (or an import) has run in this window.
  bool active() const { return bar_.mode != ProgressBarView::Mode::kNone; }
  const ProgressBarView& bar() const { return bar_; }
  bool waiting() const { return waiting_; }
  // "Waiting for the result: 0:42" while waiting, else empty.
  std::string waitText() const;
  // The summary line of the last import; empty before one ended.
  const std::string& summary() const { return summary_; }

 private:
  void setBar(ProgressBarView::Mode mode, int percent, std::string label);

  Milliseconds clock_;
  ProgressBarView bar_;
  bool waiting_ = false;
  std::int64_t waitStart_ = 0;
  bool importing_ = false;
  std::string summary_;
};

}  // namespace kvqt
