// Convert and append as steps of the progress dialog: the counter is the
// index of the data file in the directory the run goes over (the source for
// convert, the destination for append), one data file per call.
#include "maintenance/convert_steps.h"

#include <cstdio>
#include <string>

#include "app/core/action_info.h"
#include "app/model/datafile.h"
#include "app/model/directory.h"
#include "app/model/format.h"
#include "app/model/format_ids.h"
#include "formats/orvista_import.h"
#include "maintenance/convert_datafile.h"
#include "maintenance/datafile_lookup.h"

namespace kvqt {
namespace {

int FormatIdOf(const Format* format, const Directory* directory) {
  if (format) return format->formatId();
  return directory ? directory->formatId() : -1;
}

int SourceId(const ActionInfo& action) { return FormatIdOf(action.sourceFormat, action.sourceDirectory); }
int DestinationId(const ActionInfo& action) {
  return FormatIdOf(action.destinationFormat, action.destinationDirectory);
}

// An Orvista 2000 destination collects the records of the whole run in one
// import file, which goes to the importer after the last data file.
bool IntoOrvista(const ActionInfo& action) {
  return action.destinationDirectory && DestinationId(action) == kFormatIdOrvista;
}

// `items`: the directory whose data files the run goes over, read from its
// master when that has not happened yet.
void BeginRun(StepRunner& runner, const ActionInfo& action, const char* doing, Directory* items) {
  runner.statusText(doing, action.destinationFormat ? action.destinationFormat->name() : std::string());
  if (items) items->refresh();
  if (IntoOrvista(action)) ClearImportFile(DirectoryPath(*action.destinationDirectory));
}

void EndRunWhenDone(StepRunner& runner, const ActionInfo& action) {
  if (runner.counter() >= runner.total() && IntoOrvista(action))
    RunImporter(DirectoryPath(*action.destinationDirectory));
}

bool Selected(const ActionInfo& action, int index) {
  return !action.selection || action.selection->isSelected(index);
}

// "% 3.0lf%% - %s": how far the run is, counting the item being started.
std::string Progress(int started, int datafiles, const std::string& name) {
  char percent[32];
  double done = datafiles > 0 ? started * 100.0 / datafiles : 100.0;
  std::snprintf(percent, sizeof percent, "% 3.0f%% - ", done);
  return percent + name;
}

int Convert(StepRunner& runner, ActionInfo& action, bool all) {
  const int index = runner.counter();
  if (index == 0) BeginRun(runner, action, "Converting to", action.sourceDirectory);
  Directory* directory = action.sourceDirectory;
  Datafile* datafile = directory ? directory->at(index) : nullptr;
  // Without a directory the first item says so and ends the run.
  if ((datafile || !directory) && (all || Selected(action, index))) {
    if (datafile)
      runner.line3(all ? Progress(index + 1, directory->size(), datafile->name()) : datafile->name());
    int rc = convertDatafile(SourceId(action), DestinationId(action), action.startDate, action.convertFlags,
                             action.sourceFormat, directory, action.destinationFormat,
                             action.destinationDirectory, datafile);
    if (rc == -1) {
      runner.line3("");
      return kStepStop;
    }
  }
  runner.next();
  if (!all && runner.counter() >= runner.total()) runner.line3("");
  EndRunWhenDone(runner, action);
  return kStepGoOn;
}

int Append(StepRunner& runner, ActionInfo& action, bool all) {
  const int index = runner.counter();
  if (index == 0) BeginRun(runner, action, "Appending to", action.destinationDirectory);
  Directory* directory = action.destinationDirectory;
  Datafile* datafile = directory ? directory->at(index) : nullptr;
  if ((datafile || !directory) && (all || Selected(action, index))) {
    if (datafile) {
      if (all)
        runner.line3(Progress(index + 1, directory->size(), datafile->name()));
      else
        runner.line2(datafile->name());
    }
    appendDatafile(SourceId(action), DestinationId(action), action.sourceFormat, action.sourceDirectory,
                   action.destinationFormat, directory, datafile);
    if (!all) runner.line2("");
  }
  runner.next();
  EndRunWhenDone(runner, action);
  return kStepGoOn;
}

}  // namespace

int convertStep(StepRunner& runner, ActionInfo& action, int&) { return Convert(runner, action, false); }
int convertAllStep(StepRunner& runner, ActionInfo& action, int&) { return Convert(runner, action, true); }
int appendStep(StepRunner& runner, ActionInfo& action, int&) { return Append(runner, action, false); }
int appendAllStep(StepRunner& runner, ActionInfo& action, int&) { return Append(runner, action, true); }

}  // namespace kvqt
