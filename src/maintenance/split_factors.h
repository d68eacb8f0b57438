// The split-factor step of a download session: every split factor the service
// announced and not yet applied is handed to the data manager once for each
// local data file of its symbol, so the local history is adjusted before the
// new prices are written. Split factors that concern no local data file are
// dropped from the symbol table.
#pragma once

namespace kvqt {

class StepRunner;
struct ActionInfo;

// Total the session schedules this step with.
inline constexpr int kApplySplitFactorsSteps = 3;

// Step function. Counter 0 loads the symbol table and handles the first split
// factor, 1 handles the next one per call (0), 2 releases the table (saving it
// when its split factors changed), shows "Write to database" and installs
// actionPostDatafile with a total of 2 (0). Reads only action.formats.
int applySplitFactors(StepRunner& runner, ActionInfo& action, int& counter);

}  // namespace kvqt
