// The split-factor step of a download session: every split factor the service
// announced and not yet applied is handed to the data manager once for each
// local data file of its symbol, so the local history is adjusted before the
// new prices are written. Split factors that concern no local data file are
// dropped from the symbol table.
#pragma once

#include "app/runner/step_runner.h"

namespace kvqt {

struct ActionInfo;

// Total the session schedules this step with.
inline constexpr int kApplySplitFactorsSteps = 3;

// Step function. Counter 0 loads the symbol table (kvqt.sdb in the current
// directory) and handles the first split factor, 1 handles the next one per
// call (0), 2 releases the table (saving it when its split factors changed),
// shows "Write to database" and installs the follow-up step (0); without a
// follow-up it finishes (1). Reads only action.formats.
int applySplitFactors(StepRunner& runner, ActionInfo& action, int& counter);

// The step that takes over after the split factors, with its total: the
// session installs the result import (actionPostDatafile, 2) here, since this
// layer does not link the import. nullptr: the split-factor step finishes.
void SetSplitFactorsFollowUp(StepFunction step, int total);

// Makes this step the one a download session hands over to when the user
// asked for split factors.
void InstallSplitFactorStep();

}  // namespace kvqt
