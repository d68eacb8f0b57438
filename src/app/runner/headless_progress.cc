#include "app/runner/headless_progress.h"

#include <cstdio>

#include "platform/clock.h"

namespace kvqt {

int HeadlessProgress::run(StepFunction step, ActionInfo& action, int total) {
  StepRunner runner(*this, step, &action, total);
  if (clock_) runner.setMilliseconds(clock_);
  StepRunner* previous = runner_;
  runner_ = &runner;
  ticks_ = 0;
  waits_ = 0;
  int result = 0;
  for (bool running = true; running;) {
    ++ticks_;
    if (idle_) idle_(*this);
    switch (runner.tick()) {
      case TickOutcome::Continue:
        break;
      case TickOutcome::Wait:
        ++waits_;
        platform::CurrentClock().Sleep(1);
        break;
      case TickOutcome::Finished:
      case TickOutcome::Stopped:
      case TickOutcome::Error:
        result = runner.result();
        running = false;
        break;
    }
  }
  runner_ = previous;
  return result;
}

void HeadlessProgress::cancel() {
  if (runner_ != nullptr) runner_->cancel();
}

void HeadlessProgress::showStatus(std::string_view text, bool logged) {
  status_.emplace_back(text);
  // Passing progress (block counts and the like) would flood a cron job's output.
  if (echo_ && logged) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
  }
}

namespace {

void ToStandardError(std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), stderr);
  std::fputc('\n', stderr);
  std::fflush(stderr);
}

}  // namespace

void HeadlessProgress::showError(std::string_view text) {
  errors_.emplace_back(text);
  if (echo_) ToStandardError(text);
}

void HeadlessProgress::showNotice(std::string_view text) {
  notices_.emplace_back(text);
  if (echo_) ToStandardError(text);
}

}  // namespace kvqt
