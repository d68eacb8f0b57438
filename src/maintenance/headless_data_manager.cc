#include "maintenance/headless_data_manager.h"

#include <string>

#include "app/core/logs.h"
#include "app/core/messages.h"
#include "app/model/datafile.h"
#include "app/model/directory.h"
#include "maintenance/data_manager.h"

namespace kvqt {
namespace {

std::string Where(const DataManager& m) { return m.datafile().symbol() + " in " + m.directory().name(); }

}  // namespace

void HeadlessDataManager::run(DataManager& m) {
  if (!m.announcedSplit() || m.splitProposed() || m.count() < 1) return;
  // What the split dialog would show, taken as the user would take it with "Split".
  SplitFormTexts form = ProposalTexts(m.proposeSplit(m.openingRecord()));
  SplitRequest request;
  SplitFormError error = ReadSplitForm(form.start, form.end, form.a, form.b, request);
  if (error != SplitFormError::kNone) {
    message(SplitFormErrorText(error));
    Logs::Report("Split not applied to " + Where(m));
  } else {
    int changed = m.applySplit(request);
    Logs::Report("Split " + form.b + " for " + form.a + " from " + form.start + " to " + form.end + ": " +
                 Where(m) + ", " + std::to_string(changed) + " records");
  }
  if (!m.modified()) return;
  if (m.writeBack() == 0)
    Logs::Report("Saved " + Where(m) + ", " + std::to_string(m.count()) + " records");
  else
    Logs::Report(std::string(kErrorWritingDatafileText) + " " + Where(m));
}

}  // namespace kvqt
