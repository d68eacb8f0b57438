// Weekly and monthly records from daily ones, and bars of several minutes
// from one-minute bars: the first open, the highest high, the lowest low, the
// last close and the summed volume of the period.
#pragma once

#include <vector>

#include "store.h"

namespace kvqt::server {

// Weeks run from Sunday to Saturday; each is dated on its last trading day.
std::vector<DailyPrice> WeeklyPrices(const std::vector<DailyPrice>& days);
// Each month is dated on its last trading day.
std::vector<DailyPrice> MonthlyPrices(const std::vector<DailyPrice>& days);
// Bars of interval minutes (1 to 1440) counted from midnight, each stamped
// with the minute it starts.
std::vector<Bar> CombineBars(const std::vector<Bar>& minutes, int interval);

}  // namespace kvqt::server
