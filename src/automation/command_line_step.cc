#include "automation/command_line_step.h"

#include <string>
#include <vector>

#include "app/program_args.h"

namespace kvqt {

int CommandLineStep(StepRunner& runner, ActionInfo& /*action*/, int& /*counter*/) {
  runner.status(kAnalyzingCommandLine, true);
  std::vector<std::string> args;
  for (const std::string& a : ProgramArguments()) args.push_back(LowerCase(a));
  std::size_t first = 0;
  while (first < args.size() && args[first] == kNoWindowOption) ++first;
  if (first == args.size()) {
    runner.next();
    return kStepFinished;
  }
  runner.error(args[first]);
  return kStepErrorShown;
}

}  // namespace kvqt
