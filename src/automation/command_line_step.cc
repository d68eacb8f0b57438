#include "automation/command_line_step.h"

#include "app/runner/program_args.h"
#include "automation/command_line_actions.h"
#include "automation/command_line_options.h"

namespace kvqt {

int CommandLineStep(StepRunner& runner, ActionInfo& action, int& counter) {
  runner.status(kAnalyzingCommandLine, true);
  const CommandLine line = ParseCommandLine(ProgramArguments());
  switch (line.action) {
    case CommandLineAction::kNothing:
      ++counter;
      return kStepFinished;
    case CommandLineAction::kTaskFile:
      return StartTaskFileRun(runner, action, line);
    case CommandLineAction::kDefinitionFileFromSettings:
      return StartDefinitionFileFromSettings(runner, action);
    case CommandLineAction::kDefinitionFile:
      return StartDefinitionFile(runner, action, line);
    case CommandLineAction::kQuery:
      return StartQuery(runner, action, line);
    case CommandLineAction::kInsertNames:
      return RunInsertNames(runner, action, line, /*symbolsAsNames=*/false);
    case CommandLineAction::kInsertSymbols:
      return RunInsertNames(runner, action, line, /*symbolsAsNames=*/true);
    case CommandLineAction::kPrintList:
      return RunPrintList(runner, action, line);
    case CommandLineAction::kAddToMaster:
      return RunAddToMaster(runner, action, line, /*symbolsOnly=*/false);
    case CommandLineAction::kAddSymbols:
      return RunAddToMaster(runner, action, line, /*symbolsOnly=*/true);
    case CommandLineAction::kDataFile:
      return StartDataFileImport(runner, action, line);
    case CommandLineAction::kUnknown:
      break;
  }
  runner.error(line.argument(1));
  return kStepErrorShown;
}

}  // namespace kvqt
