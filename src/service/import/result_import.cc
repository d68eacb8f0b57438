#include "service/import/result_import.h"

#include <memory>

#include "app/core/action_info.h"
#include "app/datafile/login_record.h"
#include "app/datafile/user_info.h"
#include "app/core/logs.h"
#include "app/core/messages.h"
#include "app/model/directory.h"
#include "app/model/format.h"
#include "app/runner/step_runner.h"
#include "formats/driver_table.h"
#include "service/import/import_state.h"
#include "service/import/import_steps.h"
#include "service/import/import_tally.h"
#include "service/request_file.h"
#include "updater/install_release.h"

namespace kvqt {
namespace {

constexpr int kOrvistaId = 16;
constexpr int kLinesPerStep = 64;
constexpr const char* kCompleted = "Download Session Completed";
constexpr const char* kCompletedFull = "Download Session Completed\nWARNING: Some data files are full";

void DefaultReleaseCheck() { installNewRelease(); }

ReleaseCheck g_release_check = DefaultReleaseCheck;

bool IsFileDownload(int kind) { return kind >= kFileSelectDirectory && kind <= kSelectDefinitionFile; }

void CloseResult(ResultImportState& state) {
  if (state.result) std::fclose(state.result);
  state.result = nullptr;
}

// Cancel between two lines: the records that reached the data file being
// written go into its master too, or the next request would ask for them
// again and they would be stored twice.
void FinishCancelledImport(StepRunner& runner, ActionInfo& action) {
  ResultImportState* state = action.importState.get();
  if (!state || !state->format) return;
  FinishCurrentDatafile(*state, ImportSessionDate(action));
  state->lineSymbol.clear();
  CloseResult(*state);
  runner.status(ImportSummaryText(state->tally), true);
}

int StepZero(StepRunner& runner, ActionInfo& action, int& counter) {
  const bool fileDownload = IsFileDownload(action.kind);
  const Format* format = fileDownload && action.destinationFormat ? action.destinationFormat : action.sourceFormat;
  if (!format) {
    message("actionPostDatafile: Illegal format");
    return kStepFinished;
  }

  // A new import never sees what an earlier one left behind.
  action.importState.reset();
  auto state = std::make_shared<ResultImportState>();
  state->resultName = action.kind == kSelectLocalImport ? action.localDataFile : std::string(kResultFileName);
  state->result = state->resultName.empty() ? nullptr : std::fopen(state->resultName.c_str(), "rbe");
  if (!state->result) return kStepFinished;
  state->reader = std::make_unique<ResultLineReader>(state->result);
  action.importState = state;

  if (fileDownload) {
    if (OpenFileDownloadOutput(runner, action, *state) != kStepGoOn) return kStepErrorShown;
  } else {
    state->format = action.sourceFormat;
    state->formatId = state->format->formatId();
    state->intraday = IsIntradayFormatId(state->formatId);
    action.type &= ~(kReplaceRealtimeFlag | kReloadSymbolsFlag);
    // Orvista 2000 only ever adds lines to its import file.
    if (state->formatId == kOrvistaId) action.type = kUpdateNormal;
    state->type = action.type;
    if (Logs::DebugMode() && action.sourceDirectory)
      debug2("Datadirectory in actionPostDatafile:", action.sourceDirectory->name());
    if (EnterActionDirectory(runner, action, *state) != kStepGoOn) return kStepErrorShown;
    runner.setCancelHook(FinishCancelledImport);
  }
  ++counter;
  return kStepGoOn;
}

// The end of every import: the session date kept, the release offered, and
// the closing message.
int Complete(StepRunner& runner, ActionInfo& action, ResultImportState& state, bool readFailed, int& counter) {
  if (action.userInfo && action.login) action.userInfo->lastsessiondate = action.login->sessionDate;
  if (g_release_check) g_release_check();
  ++counter;
  if (readFailed) {
    runner.errorText("Error reading", state.resultName);
    return kStepErrorShown;
  }
  if (state.full) {
    runner.error(kCompletedFull);
    return kStepErrorShown;
  }
  if (runner.detailsShown()) {
    runner.error(kCompleted);
    runner.line2("");
    return kStepErrorShown;
  }
  return kStepFinished;
}

int StepOne(StepRunner& runner, ActionInfo& action, int& counter) {
  ResultImportState* state = action.importState.get();
  if (!state || !state->reader) return kStepFinished;
  const bool fileDownload = IsFileDownload(action.kind);

  // Several lines a call: a line takes so little time that asking the clock
  // after each one would cost as much as the line.
  std::string_view line;
  ResultLineReader::Next next = ResultLineReader::Next::kEnd;
  for (int n = 0; n < kLinesPerStep; ++n) {
    next = state->reader->next(line);
    if (next == ResultLineReader::Next::kEnd) break;
    if (fileDownload) {
      ImportFileDownloadLine(*state, next, line);
      continue;
    }
    const int rc = ImportChartLine(runner, action, *state, next, line);
    if (rc != kStepGoOn) return rc;
  }
  if (next != ResultLineReader::Next::kEnd) return kStepGoOn;

  const bool readFailed = state->reader->failed();
  runner.setCancelHook(nullptr);
  CloseResult(*state);
  if (fileDownload) {
    if (!CloseFileDownloadOutput(*state)) {
      runner.errorText("Cannot write data file", action.outputFile);
      ++counter;
      return kStepErrorShown;
    }
  } else {
    LeaveDirectory(*state, ImportSessionDate(action));
    // What reached the databases, for the report log, the window and a batch run's output.
    runner.status(ImportSummaryText(state->tally), true);
  }
  return Complete(runner, action, *state, readFailed, counter);
}

}  // namespace

ResultImportState::~ResultImportState() {
  current.abandon();
  if (result) std::fclose(result);
  if (output) std::fclose(output);
}

ReleaseCheck SetReleaseCheck(ReleaseCheck check) {
  ReleaseCheck previous = g_release_check;
  g_release_check = check ? check : DefaultReleaseCheck;
  return previous;
}

int actionPostDatafile(StepRunner& runner, ActionInfo& action, int& counter) {
  switch (counter) {
    case 0:
      return StepZero(runner, action, counter);
    case 1:
      return StepOne(runner, action, counter);
    default:
      return kStepFinished;
  }
}

}  // namespace kvqt
