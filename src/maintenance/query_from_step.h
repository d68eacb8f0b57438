// "Query from": the local counterpart of a download by definition file. The
// definition file's symbol lines select the records of the action's source
// directory that go into one output file in the action's destination format.
#pragma once

#include "app/runner/step_runner.h"

namespace kvqt {

inline constexpr int kQueryFromSteps = 2;

// Reads the definition file named in the action (definitionFile) and writes
// the output file (outputFile): the first call opens both, each later call
// handles one line.
int queryFromStep(StepRunner& runner, ActionInfo& action, int& counter);

}  // namespace kvqt
