// The date-range update's merge of an instrument's stored records with the
// new ones of the result, in memory.
#pragma once

#include <vector>

#include "formats/price_record.h"

namespace kvqt {

// Stored records go first while they are before the next new record (by date,
// and with `byTime` by time within the day); each new record follows, taking
// the place of the stored one of the same date (and time). Stored records
// after the last new one end the content. Returns true when every stored
// record comes before the first new one, so that `merged` is the stored
// records followed by the new ones.
bool MergeByDate(const std::vector<PriceRecord>& stored, const std::vector<PriceRecord>& incoming, bool byTime,
                 std::vector<PriceRecord>& merged);

}  // namespace kvqt
