// The program's life from the loaded data to the exit save, apart from the
// windows: which start this is (interactive or batch), the batch run's action
// record, and the files that belong to one run. The user interface builds its
// windows around it.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/core/action_info.h"
#include "app/datafile/program_data.h"
#include "app/model/formats.h"
#include "app/runner/headless_progress.h"
#include "app/runner/step_runner.h"

namespace kvqt {

inline constexpr const char* kTooManyFormatsMessage = "ERROR: Too many formats";

class Application {
 public:
  // `arguments` without the program name.
  explicit Application(std::vector<std::string> arguments);

  // Start-up in the program directory (ending in a separator), which is the
  // current directory by now: without a data file the arguments are dropped
  // (a first run is always interactive); the data are loaded; the run is
  // interactive without arguments, after a refused data file (-34) or without
  // a login record; "kvqt.rpt" and "kvqt.tsk" of the previous run are deleted.
  // A "sintab.fd" left by a download goes into the symbol table (through
  // `importFeed` when given). The caller installs the directory refresh of
  // the format drivers before. Returns the load's result.
  int start(const std::string& programDirectory, const SymbolFeedImporter& importFeed = {});

  bool interactive() const { return interactive_; }
  // The data file held more formats than the program can keep.
  bool tooManyFormats() const { return loadResult_ == kTooManyFormats; }
  // No login record: an interactive start runs the first-run wizard first.
  bool needsWizard() const { return interactive_ && !data_.loginRecordRead(); }
  // A batch run started with "-nowindow" keeps its window hidden until an error.
  bool hiddenWindow() const { return !interactive_ && HasNoWindow(); }
  bool HasNoWindow() const;

  const std::vector<std::string>& arguments() const { return arguments_; }
  const std::string& programDirectory() const { return programDirectory_; }
  Formats& formats() { return formats_; }
  ProgramData& data() { return data_; }
  // The batch run's record, linked to the formats, the connection and login records.
  ActionInfo& action() { return action_; }

  // Exit: a task file left open is closed; the login record and the data file
  // are written; the formats freed.
  int save();

 private:
  std::vector<std::string> arguments_;
  std::string programDirectory_;
  Formats formats_;
  ProgramData data_;
  ActionInfo action_;
  int loadResult_ = 0;
  bool interactive_ = true;
};

// Exit code of a batch run: 0 when it finished, 1 when it stopped or failed.
int BatchExitCode(int runResult);

// A batch run without a display: the step (the command line) runs in the
// headless host, status lines going to the report log and standard output, an
// error to standard error. `idle` runs between ticks and while steps wait.
// Returns the exit code.
int RunHeadlessBatch(Application& application, StepFunction firstStep,
                     std::function<void(HeadlessProgress&)> idle = {});

}  // namespace kvqt
