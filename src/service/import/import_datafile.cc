#include "service/import/import_datafile.h"

#include <cctype>
#include <climits>
#include <cstdio>

#include "app/logs.h"
#include "app/messages.h"
#include "app/model/datafile.h"
#include "app/model/directory.h"
#include "app/step_runner.h"
#include "formats/datafile_update.h"
#include "formats/driver_table.h"
#include "formats/file_locator.h"
#include "formats/storage_registry.h"

namespace kvqt {
namespace {

constexpr int kOrvistaId = 16;

bool SameText(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

// Records in an existing data file whose master does not know their count;
// the header records are counted as the entry counts them.
std::int32_t CountRecords(const DatafileEntry& entry, int formatId, const Format* format, const std::string& path) {
  DatafileEntry reading = entry;
  reading.recordCount = INT32_MAX;
  DatafileHandle handle;
  std::int32_t count = 0;
  if (OpenDatafile(reading, handle, formatId, OpenMode::kRead, path) == 0) {
    PriceRecord record;
    while (count < INT32_MAX - 1 && ReadRecord(reading, handle, record, formatId, format) == 0) ++count;
  }
  return count + StorageDriverFor(StorageKindOf(formatId)).headerRecords(formatId);
}

void RemoveDataFile(const DatafileEntry& entry, int formatId, const std::string& path) {
  std::string name;
  if (BuildFileName(entry, name, formatId, path) != 0) return;
  std::string existing = LocatePath(name);
  DirectoryChange change(path);
  if (std::remove(existing.c_str()) == 0) change.removed(existing.substr(path.size()));
}

}  // namespace

bool AppendsRecords(int type) { return type == 1 || type == 3 || type == 4; }

std::string MergeSymbolFor(const Directory& directory, int formatId) {
  std::string symbol = "DUMMY";
  // Only the text directories keep "<symbol>.prn" files beside the merge file.
  if (StorageKindOf(formatId) != StorageKind::kTextIndex) return symbol;
  for (int n = 1; n < 1000; ++n) {
    bool taken = false;
    for (int i = 0; i < directory.size() && !taken; ++i) taken = SameText(directory.at(i)->symbol(), symbol);
    if (!taken) break;
    symbol = "DUMMY" + std::to_string(n);
  }
  return symbol;
}

int ImportDatafile::open(StepRunner& runner, const ImportDirectory& target, const DatafileEntry& found,
                         Datafile* datafile, int type, const PriceRecord& first) {
  abandon();
  target_ = target;
  entry_ = found;
  datafile_ = datafile;
  hasCursor_ = false;
  const int id = target_.formatId;
  const std::string& path = target_.path;

  if (AppendsRecords(type)) {
    merging_ = false;
    const bool sameDay = id != kOrvistaId && !entry_.lastDate.isNull() && first.date.value() == entry_.lastDate.value();
    if (sameDay) {
      // The first record replaces the stored one of that day.
      if (entry_.recordCount < 0) entry_.recordCount = CountRecords(entry_, id, target_.format, path);
      if (OpenDatafile(entry_, handle_, id, OpenMode::kUpdateAtEnd, path) != 0) {
        runner.error(composeFormat("Cannot open data file %.80s", entry_.symbol.c_str()));
        return kStepErrorShown;
      }
    } else if (OpenDatafile(entry_, handle_, id, OpenMode::kAppend, path) != 0) {
      runner.errorText("Cannot open data file", entry_.symbol);
      return kStepErrorShown;
    }
    open_ = true;
    return kStepGoOn;
  }

  merging_ = true;
  if (OpenDatafile(entry_, handle_, id, OpenMode::kRead, path) != 0 &&
      OpenDatafile(entry_, handle_, id, OpenMode::kCreate, path) != 0) {
    runner.errorText("Error opening datafile", entry_.symbol);
    return kStepErrorShown;
  }
  mergeEntry_ = DatafileEntry();
  SetEntrySymbol(mergeEntry_, target_.mergeSymbol);
  if (OpenDatafile(mergeEntry_, mergeHandle_, MergeFormatId(id), OpenMode::kCreate, path) != 0) {
    handle_.close();
    runner.errorText("Error opening datafile", mergeEntry_.symbol);
    return kStepErrorShown;
  }
  readCursor();
  open_ = true;
  return kStepGoOn;
}

void ImportDatafile::readCursor() {
  // A stored record without a date cannot go through the merge file: its line
  // would not read back and would end the rewritten data file there.
  do {
    hasCursor_ = ReadRecord(entry_, handle_, cursor_, target_.formatId, target_.format) == 0;
  } while (hasCursor_ && cursor_.date.isNull());
}

// Stored against new: by date, and for intraday data by time within the day,
// so that the bars of one day are merged one by one.
int ImportDatafile::compareCursor(const PriceRecord& record) const {
  auto order = [](std::int32_t a, std::int32_t b) { return a < b ? -1 : a > b ? 1 : 0; };
  int byDate = order(cursor_.date.value(), record.date.value());
  if (byDate != 0 || !IsIntradayFormatId(target_.formatId)) return byDate;
  return order(cursor_.time.value(), record.time.value());
}

int ImportDatafile::writeMerge(const PriceRecord& record) {
  const int mergeId = MergeFormatId(target_.formatId);
  while (hasCursor_ && compareCursor(record) < 0) {
    if (WriteRecord(mergeEntry_, mergeHandle_, cursor_, mergeId, nullptr) != 0) return -1;
    readCursor();
  }
  if (WriteRecord(mergeEntry_, mergeHandle_, record, mergeId, nullptr) != 0) return -1;
  // The stored record of the same day (intraday: of the same bar) is replaced.
  if (hasCursor_ && compareCursor(record) == 0) readCursor();
  return 0;
}

int ImportDatafile::write(StepRunner& runner, const PriceRecord& record, bool& full) {
  if (!open_) return kStepGoOn;
  if (merging_) {
    if (writeMerge(record) == 0) return kStepGoOn;
    // An incomplete merge file must never replace the data file.
    const std::string symbol = entry_.symbol;
    abandon();
    runner.errorText("Cannot write data file", symbol);
    return kStepErrorShown;
  }
  if (WriteRecord(entry_, handle_, record, target_.formatId, target_.format) == 0) return kStepGoOn;
  const std::int32_t max = MaxRecords(target_.formatId, entry_);
  if (max >= 0 && entry_.recordCount >= max) {
    full = true;
    return kStepGoOn;
  }
  // Not full: the disk refused the record. What reached the file goes into
  // the master before the import stops.
  const std::string symbol = entry_.symbol;
  open_ = false;
  DatafileUpdate update(datafile_);
  FinalizeDirectory(entry_, handle_, target_.formatId, target_.path, &update);
  runner.errorText("Cannot write data file", symbol);
  return kStepErrorShown;
}

int ImportDatafile::finish(bool& full, Date sessionDate) {
  if (!open_) return 0;
  open_ = false;
  return merging_ ? finishMerge(full) : finishAppend(sessionDate);
}

int ImportDatafile::finishAppend(Date sessionDate) {
  DatafileUpdate update(datafile_);
  int rc = FinalizeDirectory(entry_, handle_, target_.formatId, target_.path, &update);
  if (rc != 0) message2("Cannot write data file", entry_.symbol);
  RefreshSetup(entry_, datafile_, sessionDate);
  return rc == 0 ? 0 : -1;
}

int ImportDatafile::finishMerge(bool& full) {
  DatafileUpdate update(datafile_);
  bool tooMany = false;
  int rc = RewriteFromMerge(entry_, handle_, hasCursor_ ? &cursor_ : nullptr, mergeEntry_, mergeHandle_,
                            target_.formatId, target_.format, target_.path, tooMany, &update);
  handle_.close();
  mergeHandle_.close();
  hasCursor_ = false;
  if (tooMany) {
    full = true;
    // The data file stays as it was; the merged copy is of no further use.
    RemoveDataFile(mergeEntry_, MergeFormatId(target_.formatId), target_.path);
  }
  return rc == 0 ? 0 : -1;
}

void ImportDatafile::abandon() {
  handle_.close();
  if (mergeHandle_.isOpen()) {
    mergeHandle_.close();
    RemoveDataFile(mergeEntry_, MergeFormatId(target_.formatId), target_.path);
  }
  open_ = false;
  hasCursor_ = false;
}

void RefreshSetup(const DatafileEntry& entry, Datafile* datafile, Date sessionDate) {
  if (!datafile) {
    if (Logs::DebugMode()) debug2("RefreshSetup: datafile not found:", entry.symbol);
    return;
  }
  if (!entry.lastDate.isNull() && !sessionDate.isNull() && entry.lastDate.value() == sessionDate.value())
    datafile->setRealtime();
  else
    datafile->clearRealtime();
}

}  // namespace kvqt
