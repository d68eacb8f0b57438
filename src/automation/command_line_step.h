// The first step of a batch run: reads the program's arguments and starts
// what they ask for (a task file, a download by definition file, a local
// query, the import of a data file, or ticker/names files).
#pragma once

#include "app/runner/step_runner.h"

namespace kvqt {

inline constexpr const char* kAnalyzingCommandLine = "Analyzing command line";

// Called once. Shows "Analyzing command line" (logged); leading "-nowindow"
// arguments are skipped. Without further arguments the run ends at once (1).
// Otherwise the option's work is either installed as the runner's next step
// (0), or done at once: 1 when done, -3 when it stopped after its own
// messages. An argument that is not understood, or an option's error, is
// shown in the dialog and ends the step with -5.
int CommandLineStep(StepRunner& runner, ActionInfo& action, int& counter);

}  // namespace kvqt
