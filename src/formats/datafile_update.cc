#include "formats/datafile_update.h"

#include "app/model/datafile.h"

namespace kvqt {

void DatafileUpdate::finalized(const DatafileEntry& entry, std::int32_t priceRecords, bool withTimes) {
  if (!datafile_) return;
  if (withTimes)
    datafile_->setDates(entry.firstDate, entry.firstTime, entry.lastDate, entry.lastTime, priceRecords);
  else
    datafile_->setDates(entry.firstDate, entry.lastDate, priceRecords);
}

}  // namespace kvqt
