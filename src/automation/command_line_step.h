// The first step of a batch run: reads the program's arguments and decides
// what the run does.
#pragma once

#include "app/step_runner.h"

namespace kvqt {

inline constexpr const char* kAnalyzingCommandLine = "Analyzing command line";

// Shows "Analyzing command line"; leading "-nowindow" arguments are skipped.
// Without further arguments the run ends at once; otherwise, until the
// options and task files are understood here, the first argument (in lower
// case) is shown as the error.
int CommandLineStep(StepRunner& runner, ActionInfo& action, int& counter);

}  // namespace kvqt
