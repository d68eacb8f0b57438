#include "maintenance/data_manager_open.h"

#include <climits>

#include "app/core/messages.h"
#include "app/model/datafile.h"
#include "app/model/directory.h"
#include "app/model/format.h"
#include "formats/format_driver.h"
#include "maintenance/data_manager.h"
#include "maintenance/data_manager_view.h"
#include "maintenance/datafile_records.h"

namespace kvqt {

int ManagedRecordCount(const Format& format, const Directory& directory, const Datafile& datafile) {
  if (datafile.recordCount() != -1) return datafile.recordCount();
  DatafileEntry entry;
  // MetaStock keeps the count in the data file's header.
  if (FindEntry(datafile.symbol(), entry, format.formatId(), directory.name(), kScanReadHeader) != 0) return -1;
  return PriceRecordCount(entry, format.formatId());
}

int OpenDataManager(Format& format, Directory& directory, Datafile& datafile) {
  if (ManagedRecordCount(format, directory, datafile) == INT_MAX) {
    message(kTooLargeText);
    return -1;
  }
  DatafileRecords read;
  int rc = ReadDatafileRecords(&format, format.formatId(), directory.name(), datafile.symbol(), read);
  switch (rc) {
    case kReadNoMemory:
      message(kTooLargeToEditText);
      return -1;
    case kReadTooLarge:
      message(kTooLargeText);
      return -1;
    case kReadNoEntry:
      // Shown empty; a data file that could not be read is never written.
      read.complete = false;
      break;
    default:
      break;
  }
  if (rc == 0 && !read.complete) message2(kNotReadToEndText, datafile.name());
  DataManager manager(format, directory, datafile, RecordArray(std::move(read.records)), std::nullopt,
                      read.complete);
  dataManagerView().run(manager);
  return 1;
}

int OpenDataManagerForSplit(Format& format, Directory& directory, Datafile& datafile,
                            const AnnouncedSplit& announced) {
  int count = ManagedRecordCount(format, directory, datafile);
  if (count == 0) {
    message3(kDatafileEmptyText, directory.name(), datafile.name());
    return -1;
  }
  if (count == INT_MAX) {
    message2(kTooLargeText, datafile.name());
    return -1;
  }
  DatafileRecords read;
  switch (ReadDatafileRecords(&format, format.formatId(), directory.name(), datafile.symbol(), read)) {
    case kReadNoMemory:
      message2(kNoMemoryText, datafile.name());
      return -1;
    case kReadTooLarge:
      message2(kTooLargeText, datafile.name());
      return -1;
    default:
      break;
  }
  if (read.records.empty()) {
    message3(kDatafileIsEmptyText, directory.name(), datafile.name());
    return -1;
  }
  // Records that are not the whole file are not split and written back.
  if (!read.complete) {
    message2(kNotReadToEndText, datafile.name());
    return -1;
  }
  if (announced.date.value() <= read.records.front().date.value()) return 0;
  DataManager manager(format, directory, datafile, RecordArray(std::move(read.records)), announced, true);
  dataManagerView().run(manager);
  return 1;
}

}  // namespace kvqt
