#include "maintenance/record_copy.h"

#include "app/messages.h"
#include "maintenance/convert_datafile.h"

namespace kvqt {

CopyEnd CopyNewerRecords(CopySide source, CopySide destination, Date from) {
  PriceRecord record;
  while (ReadRecord(source.entry, source.handle, record, source.formatId, source.format) == 0) {
    const std::int32_t date = record.date.value();
    if (date == 0) continue;
    if (!destination.entry.lastDate.isNull() && date <= destination.entry.lastDate.value()) continue;
    if (!from.isNull() && date < from.value()) continue;
    if (WriteRecord(destination.entry, destination.handle, record, destination.formatId, destination.format) != 0) {
      std::int32_t most = MaxRecords(destination.formatId, destination.entry);
      bool full = most >= 0 && destination.entry.recordCount >= most;
      return full ? CopyEnd::kDestinationFull : CopyEnd::kWriteFailed;
    }
  }
  return CopyEnd::kSourceEnded;
}

void ReportCopyEnd(CopyEnd end, const std::string& symbol) {
  switch (end) {
    case CopyEnd::kSourceEnded:
      break;
    case CopyEnd::kDestinationFull:
      message2(kDataFileFullText, symbol);
      break;
    case CopyEnd::kWriteFailed:
      message2(kErrorWritingDestinationText, symbol);
      break;
  }
}

}  // namespace kvqt
