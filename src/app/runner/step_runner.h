// The step runner behind the progress dialog. A long operation is a step
// function that does a small piece of work per call; the window's timer calls
// tick(), which runs steps for at most one 100 ms slice and tells the window
// what to do next. The runner is also the ProgressHost the steps report
// through: it keeps the report log and the terminal-output lines, and passes
// what is to be seen on to its view.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "app/runner/progress_host.h"
#include "app/runner/terminal_output.h"

namespace kvqt {

struct ActionInfo;
class StepRunner;

// Results of a step function.
inline constexpr int kStepGoOn = 0;
inline constexpr int kStepFinished = 1;
inline constexpr int kStepStop = -3;
inline constexpr int kStepWait = -11;
inline constexpr int kStepErrorShown = -5;

// Called with the runner, the run's action record and the step counter, which
// the step advances itself (runner.next() or directly).
using StepFunction = int (*)(StepRunner& runner, ActionInfo& action, int& counter);

// The task-file interpreter, which takes over whenever a step function
// finishes while the action's task-file flag is set. Installed by the
// automation layer at start-up; without one a finished step ends the run.
void SetTaskFileStep(StepFunction step);
StepFunction TaskFileStep();

// What the window shows of a run.
class ProgressView {
 public:
  virtual ~ProgressView() = default;
  // `logged`: the line also went to the report log.
  virtual void showStatus(std::string_view text, bool logged) = 0;
  virtual void showLine2(std::string_view text) = 0;
  virtual void showLine3(std::string_view text) = 0;
  // After the error text was shown as the status: Cancel gives way to OK, and
  // a hidden window becomes visible.
  virtual void showError(std::string_view text) = 0;
  // A message shown in the status line that explains a failure to come
  // (logged already): a batch run also writes it to standard error.
  virtual void showNotice(std::string_view /*text*/) {}
  virtual bool detailsShown() const { return false; }
  virtual void addDetailLine(std::string_view /*line*/) {}
  virtual void pumpMessages() {}
};

// What the window does after a tick.
enum class TickOutcome {
  Continue,  // tick again after the short pause (20 ms)
  Wait,      // tick again after one second
  Finished,  // close with 1
  Stopped,   // close with -3
  Error,     // stay open with the error shown and OK; result() has the code
};

class StepRunner : public ProgressHost {
 public:
  static constexpr int kSliceMs = 100;
  static constexpr int kTickPauseMs = 20;
  static constexpr int kWaitMs = 1000;

  // A monotonic clock in milliseconds; tests give one of their own.
  using Milliseconds = std::function<std::int64_t()>;

  StepRunner(ProgressView& view, StepFunction step, ActionInfo* action, int total);

  void setMilliseconds(Milliseconds clock) { clock_ = std::move(clock); }

  // Installs a new step function; the counter starts again at 0.
  void setStep(StepFunction step, int total);
  StepFunction step() const { return step_; }
  int next() { return ++counter_; }
  int counter() const { return counter_; }
  int total() const { return total_; }
  ActionInfo* action() const { return action_; }

  // The Cancel button: the next tick stops the run; a running step is never interrupted.
  void cancel() { cancelled_ = true; }
  // Run once when Cancel stops the run: a step function that would leave its
  // work half done installs it (the import finishes the data file it is
  // writing). Installing another step function drops it.
  using CancelHook = void (*)(StepRunner& runner, ActionInfo& action);
  void setCancelHook(CancelHook hook) { cancelHook_ = hook; }

  TickOutcome tick();
  // 1 after Finished, -3 after Stopped, the step's code after Error, 0 before.
  int result() const { return result_; }

  // ProgressHost.
  void status(std::string_view text, bool log) override;
  void line2(std::string_view text) override;
  void line3(std::string_view text) override;
  void error(std::string_view text) override;
  void notice(std::string_view text) override;
  bool cancelled() const override { return cancelled_; }
  void terminalOutput(char c) override;
  void pumpMessages() override;
  using ProgressHost::terminalOutput;

  // Whether the window shows its details list (the session's transcript).
  bool detailsShown() const { return view_.detailsShown(); }

  // The terminal text not yet written as a line.
  const std::string& pendingTerminalText() const { return lineBuilder_.pending(); }

 private:
  ProgressView& view_;
  StepFunction step_;
  ActionInfo* action_;
  int counter_ = 0;
  int total_ = 0;
  bool cancelled_ = false;
  int result_ = 0;
  CancelHook cancelHook_ = nullptr;
  Milliseconds clock_;
  TerminalLineBuilder lineBuilder_;
  TerminalDump dump_;
};

}  // namespace kvqt
