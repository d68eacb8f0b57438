// The data file the result import is writing: one instrument of the current
// directory, opened for its first record in the way the download type needs,
// written record by record and finished when the instrument's lines end.
//
// Normal, real-time and combined updates (types 1, 3, 4) append; a first
// record of the day the data file ends with replaces that day. A date-range
// update (type 2) reads the stored records once, keeps the new ones in
// memory and, when the instrument's lines end, merges them in date order and
// stores the result so that an interruption leaves the old records or the
// new ones (merged_records.h).
#pragma once

#include <string>
#include <vector>

#include "datetime/date.h"
#include "formats/format_driver.h"
#include "formats/merged_records.h"

namespace kvqt {

class Datafile;
class Directory;
class Format;
class StepRunner;

// The download types that append; every other type merges.
bool AppendsRecords(int type);

// The directory the import writes into.
struct ImportDirectory {
  Directory* directory = nullptr;
  std::string path;  // ends in a separator
  int formatId = -1;
  const Format* format = nullptr;
  // The directory's masters when the import holds them open, for finalize.
  MasterHandles* masters = nullptr;
};

class ImportDatafile {
 public:
  ImportDatafile() = default;
  ~ImportDatafile() { abandon(); }
  ImportDatafile(const ImportDatafile&) = delete;
  ImportDatafile& operator=(const ImportDatafile&) = delete;

  bool isOpen() const { return open_; }
  const DatafileEntry& entry() const { return entry_; }
  Datafile* datafile() const { return datafile_; }

  // Opens the found entry's data file for `first`, the instrument's first
  // record. 0, or -5 after the error was shown.
  int open(StepRunner& runner, const ImportDirectory& target, const DatafileEntry& found, Datafile* datafile,
           int type, const PriceRecord& first);
  // 0; a record a full data file cannot take sets `full` and is dropped. -5
  // after the error was shown when a record could not be written otherwise.
  int write(StepRunner& runner, const PriceRecord& record, bool& full);
  // Brings the records into the data file and the master: finalize and the
  // real-time mark after appending (`sessionDate` tells a real-time day), the
  // merged records after merging. Does nothing when not open.
  // -1 when the data file could not be finished (the message was shown).
  int finish(bool& full, Date sessionDate);
  // Closes whatever is open without finishing.
  void abandon();
  // After the directory's last data file: the merge subdirectory, kept from
  // one rewritten data file to the next, is removed.
  void leaveDirectory() { workspace_.release(); }

 private:
  int openMerge(StepRunner& runner);
  int finishAppend(Date sessionDate);
  int finishMerge(bool& full);

  ImportDirectory target_;
  DatafileEntry entry_;
  DatafileHandle handle_;
  Datafile* datafile_ = nullptr;
  bool open_ = false;
  bool merging_ = false;
  // Merge: the data file's records as read (without the ones that carry no
  // date) and the instrument's new records.
  std::vector<PriceRecord> stored_;
  std::vector<PriceRecord> incoming_;
  // Their merge; its buffer, like theirs, serves one data file after another.
  std::vector<PriceRecord> merged_;
  bool storedSkipped_ = false;
  MergeWorkspace workspace_;
};

// After appending: the Datafile's real-time mark is set when the entry's last
// date is the session date and cleared otherwise, so that the next request
// asks for that day again. Without a Datafile nothing changes ("RefreshSetup:
// datafile not found:" in the debug log).
void RefreshSetup(const DatafileEntry& entry, Datafile* datafile, Date sessionDate);

}  // namespace kvqt
