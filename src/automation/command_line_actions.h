// The work each command-line option starts, called by the command-line step
// once it knows the option. Each returns what the step returns: 0 with the
// next step function installed, 1 when the work is done, -3 when it stopped
// after messages already shown, -5 after an error shown in the dialog.
#pragma once

#include "app/runner/step_runner.h"
#include "automation/command_line_options.h"

namespace kvqt {

// Steps installed in the runner.
int StartDefinitionFileFromSettings(StepRunner& runner, ActionInfo& action);
int StartDefinitionFile(StepRunner& runner, ActionInfo& action, const CommandLine& line);
int StartQuery(StepRunner& runner, ActionInfo& action, const CommandLine& line);
int StartDataFileImport(StepRunner& runner, ActionInfo& action, const CommandLine& line);
int StartTaskFileRun(StepRunner& runner, ActionInfo& action, const CommandLine& line);

// Work done at once, within the command-line step.
int RunInsertNames(StepRunner& runner, ActionInfo& action, const CommandLine& line, bool symbolsAsNames);
int RunPrintList(StepRunner& runner, ActionInfo& action, const CommandLine& line);
int RunAddToMaster(StepRunner& runner, ActionInfo& action, const CommandLine& line, bool symbolsOnly);

}  // namespace kvqt
