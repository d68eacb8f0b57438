// One line of a result into the chart databases: "CD" switches the directory,
// a price line goes into its instrument's data file.
#include <string>

#include "app/core/action_info.h"
#include "app/core/compose.h"
#include "app/datafile/login_record.h"
#include "app/core/logs.h"
#include "app/model/datafile.h"
#include "app/model/directory.h"
#include "app/model/format.h"
#include "app/runner/step_runner.h"
#include "formats/directory_refresh.h"
#include "formats/file_names.h"
#include "formats/orvista_import.h"
#include "platform/path.h"
#include "service/import/import_state.h"
#include "service/import/import_steps.h"
#include "service/import/import_tally.h"
#include "service/import/price_factor.h"
#include "service/import/search_in_master.h"
#include "service/request_file.h"

namespace kvqt {
namespace {

constexpr int kOrvistaId = 16;

void UseDirectory(ResultImportState& state, Directory* directory) {
  state.directory.directory = directory;
  state.directory.path = directory ? platform::EnsureTrailingSeparator(directory->name()) : std::string();
  state.directory.formatId = state.formatId;
  state.directory.format = state.format;
  CloseMaster(state.masters);
  state.masters = MasterHandles();
  state.masters.directoryObject = directory;
  state.directory.masters = KeepsMastersOpen(state.formatId) ? &state.masters : nullptr;
  state.masterIndex.clear();
  state.datafiles.clear();
  state.datafilesBuilt = false;
  state.lineSymbol.clear();
}

// The refresh that makes the Directory's entries match its master. The
// import takes each entry's record count from its data file when it opens
// it, so the refresh reads only the masters.
int RefreshForImport(StepRunner& runner, Directory& directory) {
  if (RefreshDirectory(directory, RefreshScan::kMasterOnly) < 0) {
    runner.error("Can't access Masterfile of directory");
    return kStepErrorShown;
  }
  return kStepGoOn;
}

Datafile* DatafileOf(ResultImportState& state, const std::string& symbol) {
  Directory* directory = state.directory.directory;
  if (!directory) return nullptr;
  if (!state.datafilesBuilt) {
    // The first of equal symbols, as a search in order would find it.
    for (int i = 0; i < directory->size(); ++i) state.datafiles.emplace(directory->at(i)->symbol(), directory->at(i));
    state.datafilesBuilt = true;
  }
  auto found = state.datafiles.find(symbol);
  return found == state.datafiles.end() ? nullptr : found->second;
}

int ChangeDirectory(StepRunner& runner, ActionInfo& action, ResultImportState& state, std::string_view path) {
  const Date sessionDate = ImportSessionDate(action);
  LeaveDirectory(state, sessionDate);
  UseDirectory(state, nullptr);
  Directory* directory = state.format->directoryByName(path);
  if (!directory) {
    runner.error("CD command failed");
    return kStepErrorShown;
  }
  if (RefreshForImport(runner, *directory) != kStepGoOn) return kStepErrorShown;
  UseDirectory(state, directory);
  if (Logs::DebugMode()) debug2("Change Datadirectory in actionPostDatafile:", state.directory.path);
  return kStepGoOn;
}

// The first line of a symbol: the data file of the previous one is finished,
// the new one looked up and opened.
int StartSymbol(StepRunner& runner, ActionInfo& action, ResultImportState& state, const std::string& symbol,
                const PriceRecord& first) {
  runner.line2(symbol);
  FinishCurrentDatafile(state, ImportSessionDate(action));
  state.lineSymbol = symbol;
  const ImportDirectory& target = state.directory;
  if (!target.directory) {
    if (Logs::DebugMode()) debug2("No directory for symbol in actionPostDatafile:", symbol);
    return kStepGoOn;
  }

  int flags = kScanReadHeader | (action.kind == kSelectLocalImport ? 0 : kScanContinue);
  DatafileEntry entry;
  const int found = search_in_master(symbol, entry, state.formatId, flags, target.path, state.masters, state.masterIndex);
  if (found == kDatafileDamaged) {
    // Passing over it would report a run that left the instrument behind as a success.
    std::string name;
    if (BuildFileName(entry, name, state.formatId, target.path) != 0) name = target.path + symbol;
    runner.errorText("Datafile corrupt:", name);
    return kStepErrorShown;
  }
  if (found != 0) {
    // Instruments are added to a master beforehand, never by the import.
    if (Logs::DebugMode())
      debugFormat("search_in_master failed [%.80s] %.80s %.80s", symbol.c_str(), state.format->name().c_str(),
                  target.path.c_str());
    return kStepGoOn;
  }
  Datafile* datafile = DatafileOf(state, symbol);
  if (!datafile) {
    if (Logs::DebugMode()) debugFormat("GetDatafile() failed [%.80s] %.80s", symbol.c_str(), target.path.c_str());
    runner.errorText("Datafile not found", symbol);
    return kStepErrorShown;
  }
  return state.current.open(runner, target, entry, datafile, state.type, first);
}

}  // namespace

void FinishCurrentDatafile(ResultImportState& state, Date sessionDate) {
  bool refused = false;
  const int rc = state.current.finish(refused, sessionDate);
  if (refused) state.full = true;
  state.tally.finishDatafile(rc == 0 && !refused);
}

Date ImportSessionDate(const ActionInfo& action) {
  if (action.login && !action.login->sessionDate.isNull()) return action.login->sessionDate;
  return Date::Today();
}

int EnterActionDirectory(StepRunner& runner, ActionInfo& action, ResultImportState& state) {
  UseDirectory(state, nullptr);
  Directory* directory = action.sourceDirectory;
  // The lines of a list download each follow the "CD" of their directory.
  if (!directory || action.kind == kSelectList) return kStepGoOn;
  if (RefreshForImport(runner, *directory) != kStepGoOn) return kStepErrorShown;
  UseDirectory(state, directory);
  return kStepGoOn;
}

void LeaveDirectory(ResultImportState& state, Date sessionDate) {
  FinishCurrentDatafile(state, sessionDate);
  state.current.leaveDirectory();
  state.lineSymbol.clear();
  if (state.formatId == kOrvistaId && state.directory.directory) RunImporter(state.directory.path);
}

int ImportChartLine(StepRunner& runner, ActionInfo& action, ResultImportState& state, ResultLineReader::Next next,
                    std::string_view line) {
  if (IsChangeDirectoryLine(line)) {
    // A path cut short would name another directory.
    if (next == ResultLineReader::Next::kTooLong) {
      runner.error("CD command failed");
      return kStepErrorShown;
    }
    return ChangeDirectory(runner, action, state, ChangeDirectoryPath(line));
  }
  if (next == ResultLineReader::Next::kTooLong) {
    if (Logs::DebugMode()) debug2("Line too long in actionPostDatafile:", line);
    return kStepGoOn;
  }

  ResultPriceLine parsed;
  switch (ParseResultPriceLine(line, state.intraday, parsed)) {
    case PriceLineParse::kRecord:
      break;
    case PriceLineParse::kNoSymbol:
      return kStepGoOn;
    case PriceLineParse::kMalformed:
      if (Logs::DebugMode()) debug2("Unusable line in actionPostDatafile:", line);
      return kStepGoOn;
  }
  if (parsed.symbol != state.lineSymbol) {
    int rc = StartSymbol(runner, action, state, std::string(parsed.symbol), parsed.record);
    if (rc != kStepGoOn) return rc;
  }
  if (!state.current.isOpen()) return kStepGoOn;

  PriceRecord record = parsed.record;
  if (!state.intraday) record.time = Time();
  if (const Datafile* datafile = state.current.datafile()) ApplyPriceFactor(record, datafile->factor());
  bool dropped = false;
  const int rc = state.current.write(runner, record, dropped);
  if (dropped)
    state.full = true;
  else if (rc == kStepGoOn)
    state.tally.record(state.directory.path);
  return rc;
}

}  // namespace kvqt
