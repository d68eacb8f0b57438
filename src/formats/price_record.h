// One price record as every chart-format reader and writer exchanges it.
#pragma once

#include "datetime/date.h"
#include "datetime/time_value.h"

namespace kvqt {

struct PriceRecord {
  Date date;
  Time time;  // the null time for daily data
  float open = 0;  // 0 when the source has no open
  float high = 0;
  float low = 0;
  float close = 0;
  float volume = 0;
};

}  // namespace kvqt
