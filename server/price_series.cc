#include "price_series.h"

#include <algorithm>

#include "datetime/date.h"

namespace kvqt::server {
namespace {

template <typename Record>
void Merge(Record& into, const Record& next) {
  into.high = std::max(into.high, next.high);
  into.low = std::min(into.low, next.low);
  into.close = next.close;
  into.volume += next.volume;
}

template <typename KeyOf>
std::vector<DailyPrice> Periods(const std::vector<DailyPrice>& days, KeyOf key_of) {
  std::vector<DailyPrice> out;
  long current = -1;
  for (const DailyPrice& day : days) {
    long key = key_of(Date::FromValue(day.date));
    if (out.empty() || key != current) {
      out.push_back(day);
      current = key;
      continue;
    }
    Merge(out.back(), day);
    out.back().date = day.date;
  }
  return out;
}

}  // namespace

std::vector<DailyPrice> WeeklyPrices(const std::vector<DailyPrice>& days) {
  // The Julian day of the week's Saturday names the week.
  return Periods(days, [](Date d) { return d.julianDay() + (6 - d.dayOfWeek()); });
}

std::vector<DailyPrice> MonthlyPrices(const std::vector<DailyPrice>& days) {
  return Periods(days, [](Date d) { return static_cast<long>(d.year()) * 100 + d.month(); });
}

std::vector<Bar> CombineBars(const std::vector<Bar>& minutes, int interval) {
  if (interval <= 1) return minutes;
  interval = std::min(interval, 1440);
  std::vector<Bar> out;
  long current = -1;
  for (const Bar& bar : minutes) {
    int minute = (bar.time / 100) * 60 + bar.time % 100;
    int start = minute / interval * interval;
    long key = static_cast<long>(bar.date) * 10000 + start;
    if (out.empty() || key != current) {
      out.push_back(bar);
      out.back().time = (start / 60) * 100 + start % 60;
      current = key;
      continue;
    }
    Merge(out.back(), bar);
  }
  return out;
}

}  // namespace kvqt::server
