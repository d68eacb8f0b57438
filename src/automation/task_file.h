// The task-file interpreter: runs a task file's lines one after the other
// inside the progress dialog, handing each action to its step functions and
// taking over again when they finish.
#pragma once

#include <cstdio>

#include "app/step_runner.h"

namespace kvqt {

// One line per call.
int interpretTaskFile(StepRunner& runner, ActionInfo& action, int& counter);

// Starts running the open task file `file` (the action takes it over): sets
// the task-file flag, registers the interpreter with the step runner and
// installs it as the runner's step.
void startTaskFile(StepRunner& runner, ActionInfo& action, std::FILE* file);

}  // namespace kvqt
