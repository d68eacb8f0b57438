// The last step of the result import's date-ordered merge: the merged records
// replace the data file's old ones.
#include <cstdio>

#include "app/messages.h"
#include "formats/driver_table.h"
#include "formats/file_locator.h"
#include "formats/format_driver.h"
#include "formats/storage_registry.h"

namespace kvqt {

int MergeFormatId(int formatId) { return IsIntradayFormatId(formatId) ? 21 : 5; }

// The merge file is a text format of its own: it is read and written with
// that id's built-in separators (a null Format), not with the target's.
int RewriteFromMerge(DatafileEntry& target, DatafileHandle& targetHandle, const PriceRecord* pending,
                     DatafileEntry& merge, DatafileHandle& mergeHandle, int formatId, const Format* format,
                     const std::string& directory, bool& full, DatafileSink* sink) {
  if (!IsValidFormatId(formatId)) return -1;
  int mergeId = MergeFormatId(formatId);
  PriceRecord record;
  bool copied = true;
  if (pending && WriteRecord(merge, mergeHandle, *pending, mergeId, nullptr) != 0) copied = false;
  while (copied && ReadRecord(target, targetHandle, record, formatId, format) == 0) {
    if (WriteRecord(merge, mergeHandle, record, mergeId, nullptr) != 0) copied = false;
  }
  targetHandle.close();
  if (!mergeHandle.close()) copied = false;
  // A merge file that did not get every record must not replace the data file.
  if (!copied) {
    message2("Cannot write data file", merge.symbol);
    return -1;
  }

  std::int32_t max = MaxRecords(formatId, target);
  if (max >= 0) {
    std::int32_t capacity = max - StorageDriverFor(StorageKindOf(formatId)).headerRecords(formatId);
    if (merge.recordCount > capacity) {
      full = true;
      message2("Warning: Data file full", target.symbol);
      return 0;
    }
  }

  if (OpenDatafile(merge, mergeHandle, mergeId, OpenMode::kRead, directory) != 0) {
    message2("Cannot open data file", merge.symbol);
    return -1;
  }
  if (OpenDatafile(target, targetHandle, formatId, OpenMode::kCreate, directory) != 0) {
    message2("Cannot open data file", target.symbol);
    mergeHandle.close();
    return -1;
  }
  target.firstDate = Date();
  target.lastDate = Date();
  target.firstTime = Time();
  target.lastTime = Time();
  bool written = true;
  while (ReadRecord(merge, mergeHandle, record, mergeId, nullptr) == 0) {
    if (WriteRecord(target, targetHandle, record, formatId, format) != 0) {
      written = false;
      break;
    }
  }
  mergeHandle.close();
  int rc = FinalizeDirectory(target, targetHandle, formatId, directory, sink);
  if (rc != 0 || !written) return -1;
  // The merged records are in the data file now; on any failure above the
  // merge file is kept, since it then holds the only complete copy.
  std::string name;
  if (BuildFileName(merge, name, mergeId, directory) == 0) std::remove(LocatePath(name).c_str());
  return 0;
}

}  // namespace kvqt
