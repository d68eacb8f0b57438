#include "app/runner/step_runner.h"

#include <chrono>

#include "app/core/action_info.h"
#include "app/core/logs.h"
#include "app/core/showable_text.h"

namespace kvqt {
namespace {

StepFunction g_task_file_step = nullptr;

std::int64_t SteadyMilliseconds() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace

void SetTaskFileStep(StepFunction step) { g_task_file_step = step; }
StepFunction TaskFileStep() { return g_task_file_step; }

StepRunner::StepRunner(ProgressView& view, StepFunction step, ActionInfo* action, int total)
    : view_(view), step_(step), action_(action), total_(total), clock_(SteadyMilliseconds) {}

void StepRunner::setStep(StepFunction step, int total) {
  step_ = step;
  total_ = total;
  counter_ = 0;
  cancelHook_ = nullptr;
}

TickOutcome StepRunner::tick() {
  const std::int64_t start = clock_();
  for (;;) {
    int result;
    if (cancelled_) {
      if (CancelHook hook = cancelHook_; hook != nullptr && action_ != nullptr) {
        cancelHook_ = nullptr;
        hook(*this, *action_);
      }
      result = kStepStop;
    } else if (counter_ < total_ && step_ != nullptr && action_ != nullptr) {
      result = step_(*this, *action_, counter_);
    } else {
      result = kStepFinished;
    }

    switch (result) {
      case kStepGoOn:
        if (clock_() - start < kSliceMs) continue;
        return TickOutcome::Continue;
      case kStepFinished:
        if (action_ != nullptr && action_->taskFileFlag && g_task_file_step != nullptr) {
          setStep(g_task_file_step, 1);
          return TickOutcome::Continue;
        }
        result_ = kStepFinished;
        return TickOutcome::Finished;
      case kStepStop:
        result_ = kStepStop;
        return TickOutcome::Stopped;
      case kStepWait:
        return TickOutcome::Wait;
      default:
        result_ = result;
        return TickOutcome::Error;
    }
  }
}

// Status texts carry what the server sent (the credit, names): the window and
// the terminal see them without control characters.
void StepRunner::status(std::string_view text, bool log) {
  const std::string shown = ShowableText(text);
  view_.showStatus(shown, log);
  if (log) Logs::Report(shown);
}

void StepRunner::notice(std::string_view text) {
  status(text, true);
  view_.showNotice(ShowableText(text));
}

void StepRunner::line2(std::string_view text) { view_.showLine2(text); }
void StepRunner::line3(std::string_view text) { view_.showLine3(text); }

void StepRunner::error(std::string_view text) {
  status(text, true);
  view_.showError(ShowableText(text));
}

void StepRunner::terminalOutput(char c) {
  dump_.add(c);
  std::string line;
  if (!lineBuilder_.add(c, line)) return;
  Logs::Report(line);
  if (view_.detailsShown()) view_.addDetailLine(line);
}

void StepRunner::pumpMessages() { view_.pumpMessages(); }

}  // namespace kvqt
