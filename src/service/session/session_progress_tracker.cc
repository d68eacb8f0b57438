#include "service/session/session_progress_tracker.h"

#include <optional>

#include "service/import/import_progress.h"
#include "service/import/import_tally.h"
#include "service/import/result_import.h"
#include "service/session/session_progress_text.h"

namespace kvqt {

SessionProgressTracker::SessionProgressTracker(Milliseconds clock) : clock_(std::move(clock)) {}

void SessionProgressTracker::setBar(ProgressBarView::Mode mode, int percent, std::string label) {
  bar_.mode = mode;
  bar_.percent = percent;
  bar_.label = std::move(label);
}

void SessionProgressTracker::status(std::string_view text) {
  if (auto transfer = ParseTransferPercent(text)) {
    waiting_ = false;
    setBar(ProgressBarView::Mode::kPercent, transfer->percent,
           transfer->direction == TransferDirection::kSent ? "sent" : "received");
    return;
  }
  if (IsImportSummaryText(text)) {
    // The import has ended, however few ticks it took.
    summary_.assign(text);
    importing_ = false;
    setBar(ProgressBarView::Mode::kPercent, 100, "written");
    return;
  }
  waiting_ = false;
  if (BeginsSession(text)) {
    // A task file runs one session after another in the same window.
    summary_.clear();
    importing_ = false;
    setBar(ProgressBarView::Mode::kPercent, 0, "");
  } else if (BeginsResultWait(text)) {
    waiting_ = true;
    waitStart_ = clock_();
    setBar(ProgressBarView::Mode::kBusy, 0, "");
  } else if (BeginsReceive(text)) {
    setBar(ProgressBarView::Mode::kPercent, 0, "received");
  } else if (EndsReceive(text)) {
    setBar(ProgressBarView::Mode::kPercent, 100, "received");
  } else if (bar_.mode == ProgressBarView::Mode::kBusy) {
    // The wait ended some other way (a time-out, a cancel).
    setBar(ProgressBarView::Mode::kPercent, 0, "");
  }
}

void SessionProgressTracker::stepRunning(StepFunction step, const ActionInfo* action) {
  if (step != actionPostDatafile || action == nullptr) {
    importing_ = false;
    return;
  }
  const std::optional<int> percent = ImportPercent(*action);
  if (percent) {
    if (!importing_ || *percent >= bar_.percent) setBar(ProgressBarView::Mode::kPercent, *percent, "written");
    importing_ = true;
  } else if (importing_) {
    // The result file was read to its end and closed.
    setBar(ProgressBarView::Mode::kPercent, 100, "written");
    importing_ = false;
  }
}

std::string SessionProgressTracker::waitText() const {
  if (!waiting_) return std::string();
  return ResultWaitText((clock_() - waitStart_) / 1000);
}

}  // namespace kvqt
