#include "maintenance/split_factors.h"

#include <memory>
#include <string>

#include "app/core/action_info.h"
#include "app/core/logs.h"
#include "app/core/messages.h"
#include "app/model/directory.h"
#include "app/model/format.h"
#include "app/model/formats.h"
#include "maintenance/data_manager_open.h"
#include "service/session/split_handover.h"
#include "service/symbols/sintable.h"

namespace kvqt {
namespace {

inline constexpr const char* kNoMasterAccessText = "Can't access Masterfile of directory";
// Directory::refresh() for a directory that has no master yet.
constexpr int kNoMaster = -2;

// The symbol table lives from state 0 to state 2 of one run; a run that was
// cancelled in between leaves it to the next run's state 0, which saves it.
std::unique_ptr<TSintable> g_table;
StepFunction g_followUp = nullptr;
int g_followUpTotal = 0;

bool ScansDirectories(const Format& format) {
  return !format.noMasterScan() && !format.definitionOutputOnly() && !format.noDefinitionOutput();
}

int FirstWithSymbol(const Directory& directory, const std::string& symbol) {
  for (int i = 0; i < directory.size(); ++i)
    if (directory.at(i)->symbol() == symbol) return i;
  return -1;
}

// The data file of the symbol in one directory, if there is one. The master
// is checked first: a directory that this run has not refreshed yet holds no
// entries, or stale ones. A data file is opened at most once per split factor
// and directory, so a split is never applied twice to the same file.
bool ApplyInDirectory(Format& format, Directory& directory, const SinSplitFactor& split) {
  const std::string symbol = split.symbol.str();
  const bool heldBefore = FirstWithSymbol(directory, symbol) >= 0;
  const int rc = directory.refresh();
  if (rc < 0) {
    // A directory without any master has no data file to split; one that
    // cannot be read, or that was known to hold the symbol, is reported.
    if (rc != kNoMaster || heldBefore) message2(kNoMasterAccessText, directory.name());
    return false;
  }
  const int index = FirstWithSymbol(directory, symbol);
  if (index < 0) return false;
  AnnouncedSplit announced{split.split_date, split.factor};
  OpenDataManagerForSplit(format, directory, *directory.at(index), announced);
  return true;
}

void HandleSplitFactor(ActionInfo& action, const SinSplitFactor& split) {
  if (split.applied || !action.formats) return;
  bool matched = false;
  Formats& formats = *action.formats;
  for (int f = 0; f < formats.count(); ++f) {
    Format* format = formats.at(f);
    if (!format || !ScansDirectories(*format)) continue;
    for (int d = 0; d < format->directoryCount(); ++d) {
      Directory* directory = format->directoryAt(d);
      if (directory && ApplyInDirectory(*format, *directory, split)) matched = true;
    }
  }
  if (matched)
    g_table->setSplitFactorApplied(split.sincode, split.record_date, true);
  else
    g_table->removeSplitFactor(split.sincode, split.record_date);
}

}  // namespace

void InstallSplitFactorStep() {
  session::splitFactorStep() =
      session::SplitFactorStep{applySplitFactors, kApplySplitFactorsSteps, SetSplitFactorsFollowUp};
}

void SetSplitFactorsFollowUp(StepFunction step, int total) {
  g_followUp = step;
  g_followUpTotal = total;
}

int applySplitFactors(StepRunner& runner, ActionInfo& action, int& counter) {
  switch (counter) {
    case 0: {
      g_table.reset();
      g_table = std::make_unique<TSintable>();
      const SinSplitFactor* first = g_table->firstSplitFactor();
      if (!first) {
        counter = 2;
        return kStepGoOn;
      }
      // A copy: handling the record may move the table's records.
      SinSplitFactor split = *first;
      HandleSplitFactor(action, split);
      counter = 1;
      return kStepGoOn;
    }
    case 1: {
      const SinSplitFactor* next = g_table ? g_table->nextSplitFactor() : nullptr;
      if (!next) {
        counter = 2;
        return kStepGoOn;
      }
      SinSplitFactor split = *next;
      HandleSplitFactor(action, split);
      return kStepGoOn;
    }
    default: {
      if (g_table && g_table->save() != 0) debug2("Cannot write", TSintable::kFileName);
      g_table.reset();
      runner.status("Write to database", true);
      if (!g_followUp) return kStepFinished;
      runner.setStep(g_followUp, g_followUpTotal);
      return kStepGoOn;
    }
  }
}

}  // namespace kvqt
