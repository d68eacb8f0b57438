#include "maintenance/record_copy.h"

#include "app/core/messages.h"
#include "formats/driver_table.h"
#include "maintenance/convert_datafile.h"

namespace kvqt {

std::int64_t Moment(Date date, Time time, int destinationFormatId) {
  std::int64_t moment = static_cast<std::int64_t>(date.value()) * 1000000;
  if (IsIntradayFormatId(destinationFormatId) && !time.isNull()) moment += time.value();
  return moment;
}

CopyEnd CopyNewerRecords(CopySide source, CopySide destination, Date from) {
  const DatafileEntry& last = destination.entry;
  PriceRecord record;
  while (ReadRecord(source.entry, source.handle, record, source.formatId, source.format) == 0) {
    const std::int32_t date = record.date.value();
    if (date == 0) continue;
    if (!last.lastDate.isNull() && Moment(record.date, record.time, destination.formatId) <=
                                       Moment(last.lastDate, last.lastTime, destination.formatId))
      continue;
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
