// Step 12 of the download session: what came with the result besides the
// prices (the symbol-table feed, the message of the day), then the hand-over
// to the import, through the split-factor step when the user asked for it.
#include <cstdio>

#include "app/datafile/login_record.h"
#include "app/core/personal_profile.h"
#include "platform/launcher.h"
#include "platform/path.h"
#include "service/import/result_import.h"
#include "service/session/download_session.h"
#include "service/session/session_steps.h"
#include "service/session/split_handover.h"
#include "service/symbols/digital_feed.h"

namespace kvqt::session {
namespace {

constexpr int kImportSteps = 2;

void ApplySymbolFeed(StepRunner& runner, ActionInfo& action) {
  const char* feed = TDigitalFeed::kFeedFileName;
  if (!platform::FileExists(feed)) return;
  runner.status("Processing symbol changes", true);
  const Date session_date = action.login != nullptr ? action.login->sessionDate : Date();
  // A feed that could not be applied or saved stays for the next start-up to try again.
  if (ImportSymbolFeed("", feed, &runner, session_date) >= 0) std::remove(feed);
}

void ShowMessageOfTheDay(StepRunner& runner) {
  if (!platform::FileExists(kMessageOfTheDayFile)) return;
  runner.status("Message of the day", true);
  // The editor runs on its own; the session does not wait for it.
  platform::OpenFile(kMessageOfTheDayFile);
}

}  // namespace

int HandOver(StepRunner& runner, ActionInfo& action, int& /*counter*/) {
  ApplySymbolFeed(runner, action);
  ShowMessageOfTheDay(runner);
  const SplitFactorStep& splits = splitFactorStep();
  if (profile().isYes("splitfactors", "no") && splits.step != nullptr) {
    runner.status("Check directories for splits", true);
    runner.line2("");
    if (splits.setFollowUp != nullptr) splits.setFollowUp(actionPostDatafile, kImportSteps);
    runner.setStep(splits.step, splits.total);
  } else {
    runner.status("Write to database", true);
    runner.setStep(actionPostDatafile, kImportSteps);
  }
  return kStepGoOn;
}

}  // namespace kvqt::session
