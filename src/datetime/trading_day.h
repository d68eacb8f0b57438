// The last trading day whose closing prices the service has complete: the
// date a file download offers by default.
#pragma once

#include "datetime/date.h"
#include "platform/clock.h"

namespace kvqt {

// Closing prices of a weekday are complete from this hour of local time on.
inline constexpr int kTradingDayCompleteHour = 18;

// At the local date and time `now`: Saturday gives Friday, Sunday the Friday
// two days before; a weekday before 18:00 gives the trading day before (Friday
// for a Monday); a weekday from 18:00 on gives that day.
Date LastCompleteTradingDay(const platform::LocalDateTime& now);

// The same at the program clock's local time.
Date LastCompleteTradingDay();

}  // namespace kvqt
