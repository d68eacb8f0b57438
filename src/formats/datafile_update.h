// Hands what FinalizeDirectory wrote back to the instrument's Datafile in the
// data model: its dates (and for intraday ids its times) and its count.
#pragma once

#include "formats/format_driver.h"

namespace kvqt {

class Datafile;

class DatafileUpdate : public DatafileSink {
 public:
  // A null Datafile takes nothing.
  explicit DatafileUpdate(Datafile* datafile) : datafile_(datafile) {}
  void finalized(const DatafileEntry& entry, std::int32_t priceRecords, bool withTimes) override;

 private:
  Datafile* datafile_;
};

}  // namespace kvqt
