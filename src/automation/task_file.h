// The task-file interpreter: runs a task file's lines one after the other
// inside the progress dialog, handing each action to its step functions and
// taking over again when they finish.
#pragma once

#include <cstdio>

#include "app/runner/step_runner.h"

namespace kvqt {

inline constexpr const char* kAnalyzingTaskFile = "Analyzing task file";
inline constexpr const char* kTaskFileFinished = "Task file finished";

// One line per call: shows "Analyzing task file" and reads the next line. A
// line that starts an action installs the action's step function (the runner
// comes back here when it finishes); other lines are done at once and the
// next call reads on. At the end of the file: "Task file finished", the file
// closed, the flag cleared, 1. An error that stops the task closes the file
// and returns -5.
int interpretTaskFile(StepRunner& runner, ActionInfo& action, int& counter);

// Starts running the open task file `file` (the action takes it over): sets
// the task-file flag, registers the interpreter with the step runner and
// installs it as the runner's step.
void startTaskFile(StepRunner& runner, ActionInfo& action, std::FILE* file);

// The same without a runner, for a run that starts with interpretTaskFile as
// its first step.
void prepareTaskFile(ActionInfo& action, std::FILE* file);

// Closes the action's task file (when open) and clears the flag. The owner of
// a batch run calls it when the run ended otherwise than by the task file's
// end (a cancel, an action that stopped with an error).
void closeTaskFile(ActionInfo& action);

}  // namespace kvqt
