// A data file's price factor, applied to every record the import writes into
// it: a positive factor F multiplies the prices and divides the volume; a
// negative one stores each value inverted, a price p as 100 / (p * -F) and
// the volume v as 100 / (v / -F).
#pragma once

#include "formats/price_record.h"

namespace kvqt {

// Factor 1 (and the stored 0, which reads as 1) leaves the record as it is.
void ApplyPriceFactor(PriceRecord& record, float factor);

}  // namespace kvqt
