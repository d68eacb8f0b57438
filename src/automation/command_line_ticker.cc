// The options done at once inside the command-line step: ticker/names files
// into a MetaStock directory or a master, and the print option that has no
// function.
#include <string>

#include "app/core/action_info.h"
#include "app/model/format_ids.h"
#include "app/model/formats.h"
#include "automation/command_line_actions.h"
#include "datetime/parse_date.h"
#include "maintenance/ticker_names.h"
#include "platform/path.h"

namespace kvqt {
namespace {

// The ticker/names functions have shown their own message when they fail;
// the run then ends without showing it again.
int Finish(StepRunner& runner, int result) {
  if (result < 0) return kStepStop;
  runner.next();
  return kStepFinished;
}

}  // namespace

int RunInsertNames(StepRunner& runner, ActionInfo& action, const CommandLine& line, bool symbolsAsNames) {
  const int n = line.count();
  Format* format = action.formats != nullptr ? action.formats->findById(kFormatIdMetastock) : nullptr;
  Directory* directory = nullptr;
  if (format != nullptr && n == 3) directory = format->directoryByName(line.argument(3));
  if (format != nullptr && n == 2) directory = format->currentDirectory();
  if (directory == nullptr) {
    runner.error("Unknown format or no directory specified");
    return kStepErrorShown;
  }
  const std::string file = platform::ResolveNoCase(line.argument(2));
  return Finish(runner, symbolsAsNames ? insertSymbolsAsNames(file, *directory) : insertNames(file, *directory));
}

int RunPrintList(StepRunner& runner, ActionInfo& action, const CommandLine& line) {
  if (FindFormatArgument(action.formats, line.argument(2)) == nullptr) {
    // Without a message, but not as a success: nothing was done.
    return kStepStop;
  }
  runner.error("Option not yet implemented");
  return kStepErrorShown;
}

int RunAddToMaster(StepRunner& runner, ActionInfo& action, const CommandLine& line, bool symbolsOnly) {
  Format* format = FindFormatArgument(action.formats, line.argument(3));
  if (format == nullptr) {
    runner.error("Unknown format specified");
    return kStepErrorShown;
  }
  Directory* directory = format->directoryByName(line.argument(4));
  if (directory == nullptr) {
    runner.error("Unknown directory specified");
    return kStepErrorShown;
  }
  const Date startDate = line.count() == 5 ? ParseDate(line.argument(5), "?md") : Date::Today();
  const std::string file = platform::ResolveNoCase(line.argument(2));
  return Finish(runner, symbolsOnly ? addSymbols(file, startDate, *format, *directory)
                                    : addToMaster(file, startDate, *format, *directory));
}

}  // namespace kvqt
