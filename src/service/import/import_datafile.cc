#include "service/import/import_datafile.h"

#include <sys/stat.h>

#include <climits>
#include <cstdio>

#include "app/core/logs.h"
#include "app/core/messages.h"
#include "app/model/datafile.h"
#include "app/model/directory.h"
#include "app/runner/step_runner.h"
#include "formats/datafile_update.h"
#include "formats/driver_table.h"
#include "formats/file_locator.h"
#include "formats/merged_records.h"
#include "formats/storage_registry.h"
#include "service/import/date_merge.h"

namespace kvqt {
namespace {

constexpr int kOrvistaId = 16;

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

}  // namespace

bool AppendsRecords(int type) { return type == 1 || type == 3 || type == 4; }

int ImportDatafile::open(StepRunner& runner, const ImportDirectory& target, const DatafileEntry& found,
                         Datafile* datafile, int type, const PriceRecord& first) {
  abandon();
  target_ = target;
  entry_ = found;
  datafile_ = datafile;
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
  return openMerge(runner);
}

int ImportDatafile::openMerge(StepRunner& runner) {
  stored_.clear();
  incoming_.clear();
  storedSkipped_ = false;
  const int id = target_.formatId;
  // A data file no longer than an empty one has nothing to read.
  const std::string path = StorageDriverFor(StorageKindOf(id)).datafilePath(entry_, id, target_.path);
  struct stat st;
  if (!path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
      st.st_size <= EmptyDatafileSize(entry_, id)) {
    open_ = true;
    return kStepGoOn;
  }
  DatafileEntry reading = entry_;
  DatafileHandle handle;
  if (OpenDatafile(reading, handle, id, OpenMode::kRead, target_.path) == 0) {
    PriceRecord record;
    while (ReadRecord(reading, handle, record, id, target_.format) == 0) {
      // A stored record without a date has no place in the date order.
      if (record.date.isNull())
        storedSkipped_ = true;
      else
        stored_.push_back(record);
    }
  } else if (OpenDatafile(reading, handle, id, OpenMode::kCreate, target_.path) == 0) {
    entry_ = reading;
  } else {
    runner.errorText("Error opening datafile", entry_.symbol);
    return kStepErrorShown;
  }
  handle.close();
  open_ = true;
  return kStepGoOn;
}

int ImportDatafile::write(StepRunner& runner, const PriceRecord& record, bool& full) {
  if (!open_) return kStepGoOn;
  if (merging_) {
    incoming_.push_back(record);
    return kStepGoOn;
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
  FinalizeDirectory(entry_, handle_, target_.formatId, target_.path, &update, target_.masters);
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
  int rc = FinalizeDirectory(entry_, handle_, target_.formatId, target_.path, &update, target_.masters);
  if (rc != 0) message2("Cannot write data file", entry_.symbol);
  RefreshSetup(entry_, datafile_, sessionDate);
  return rc == 0 ? 0 : -1;
}

int ImportDatafile::finishMerge(bool& full) {
  // Without stored records the merge is the new records as they came.
  bool extends = true;
  if (stored_.empty())
    merged_.swap(incoming_);
  else
    extends = MergeByDate(stored_, incoming_, IsIntradayFormatId(target_.formatId), merged_);
  extends = extends && !storedSkipped_;
  const std::size_t storedCount = stored_.size();
  stored_.clear();
  incoming_.clear();
  DatafileUpdate update(datafile_);
  int rc = StoreMergedRecords(entry_, merged_, storedCount, extends, target_.formatId, target_.format, target_.path,
                              full, &update, &workspace_, target_.masters);
  merged_.clear();
  return rc == 0 ? 0 : -1;
}

void ImportDatafile::abandon() {
  handle_.close();
  stored_.clear();
  incoming_.clear();
  open_ = false;
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
