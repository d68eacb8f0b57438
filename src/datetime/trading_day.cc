#include "datetime/trading_day.h"

#include <cstdio>

namespace kvqt {
namespace {

constexpr int kSunday = 0;
constexpr int kMonday = 1;
constexpr int kSaturday = 6;

}  // namespace

Date LastCompleteTradingDay(const platform::LocalDateTime& now) {
  const Date today(now.year, now.month, now.day);
  switch (today.dayOfWeek()) {
    case kSaturday:
      return today.addDays(-1);
    case kSunday:
      return today.addDays(-2);
    case kMonday:
      return now.hour < kTradingDayCompleteHour ? today.addDays(-3) : today;
    default:
      return now.hour < kTradingDayCompleteHour ? today.addDays(-1) : today;
  }
}

Date LastCompleteTradingDay() { return LastCompleteTradingDay(platform::LocalNow()); }

}  // namespace kvqt
