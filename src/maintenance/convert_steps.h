// The step functions of the progress dialog's convert and append runs: one
// data file per call. The action names the formats and directories; its
// selection (null: everything) decides for the "selected only" steps.
#pragma once

#include "app/runner/step_runner.h"

namespace kvqt {

int convertStep(StepRunner& runner, ActionInfo& action, int& counter);
int convertAllStep(StepRunner& runner, ActionInfo& action, int& counter);
int appendStep(StepRunner& runner, ActionInfo& action, int& counter);
int appendAllStep(StepRunner& runner, ActionInfo& action, int& counter);

}  // namespace kvqt
