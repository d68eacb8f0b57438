// The request line of one chart-database entry: only the prices its data file
// does not hold yet.
#include <charconv>
#include <string>

#include "app/core/logs.h"
#include "service/request_file.h"
#include "service/request_text.h"

namespace kvqt {
namespace {

enum class Group { kNone, kDaily, kMetaStock, kIntraday };

Group GroupOf(int formatId) {
  switch (formatId) {
    case 0: case 5: case 6: case 8: case 9: case 10: case 11: case 13: case 14: case 15: case 16: case 17:
      return Group::kDaily;
    case 4: case 20:
      return Group::kMetaStock;
    case 21: case 22:
      return Group::kIntraday;
    default:
      return Group::kNone;
  }
}

// A date that is not set is neither before nor after any date.
bool Before(Date a, Date b) { return !a.isNull() && !b.isNull() && a.value() < b.value(); }

long Day(Date date) { return date.value(); }
// A time that is not set is written as midnight: the server reads four digits.
long Hhmm(Time time) { return time.isNull() ? 0 : time.hhmm(); }

// Today when it is a Saturday, else the Saturday before.
Date EndOfLastWeek(Date today) {
  int weekday = today.dayOfWeek();
  if (weekday < 0) return Date();
  return today.addDays(-((weekday + 1) % 7));
}

// Today when it ends its month, else the last day of the month before.
Date EndOfLastMonth(Date today) {
  if (today.isNull()) return Date();
  if (today.isLastDayOfMonth()) return today;
  return Date(today.year(), today.month(), 1).addDays(-1);
}

std::string DailyLine(const DatafileEntry& e, int type, Date next, Date start, Date end, Date today) {
  const char* s = e.symbol.c_str();
  switch (type) {
    case kUpdateNormal:
      return FormatLine("%s,%ld", s, Day(next));
    case kUpdateDateRange:
      return FormatLine("%s,%ld,%ld", s, Day(start), Day(end));
    case kUpdateRealtime:
      return FormatLine("%s,R", s);
    case kUpdateNormalAndRealtime:
      if (Before(next, today)) return FormatLine("%s,%ld,R", s, Day(next));
      return FormatLine("%s,R", s);
    default:
      return {};
  }
}

// A bar request from where the data file ends (or, for an entry whose last
// date lies before its first, from its first day).
std::string BarsFromLast(const DatafileEntry& e) {
  if (Before(e.lastDate, e.firstDate)) return FormatLine("%s,Q,%08ld,%04ld,%d", e.symbol.c_str(), Day(e.firstDate), 0L,
                                                         static_cast<int>(e.interval));
  return FormatLine("%s,Q,%08ld,%04ld,%d", e.symbol.c_str(), Day(e.lastDate), Hhmm(e.lastTime),
                    static_cast<int>(e.interval));
}

std::string BarsInRange(const DatafileEntry& e, Date start, Date end) {
  return FormatLine("%s,Q,%08ld,%04ld,%08ld,%ld", e.symbol.c_str(), Day(start), 0L, Day(end),
                    static_cast<long>(e.interval));
}

std::string MetaStockLine(const DatafileEntry& e, int type, Date next, Date start, Date end, Date today) {
  const char* s = e.symbol.c_str();
  switch (type) {
    case kUpdateNormal:
      switch (e.period) {
        case 'D': {
          // The common line, without the general formatting: "%s,%ld,D".
          char digits[24];
          char* end = std::to_chars(digits, digits + sizeof digits, Day(next)).ptr;
          std::string line;
          line.reserve(e.symbol.size() + static_cast<std::size_t>(end - digits) + 3);
          line.append(e.symbol).append(1, ',').append(digits, static_cast<std::size_t>(end - digits)).append(",D");
          return line;
        }
        case 'W': {
          Date week = EndOfLastWeek(today);
          // An empty data file asks for everything up to the last complete week.
          if (next.isNull() || Before(next, week)) return FormatLine("%s,%ld,%ld,W", s, Day(next), Day(week));
          return {};
        }
        case 'M': {
          Date month = EndOfLastMonth(today);
          if (next.isNull() || Before(next, month)) return FormatLine("%s,%ld,%ld,M", s, Day(next), Day(month));
          return {};
        }
        case 'I':
          return BarsFromLast(e);
        default:
          return {};
      }
    case kUpdateDateRange:
      if (e.period == 'I') return BarsInRange(e, start, end);
      // The period letter is the master's byte: only the letters a request knows are sent.
      if (e.period == 'D' || e.period == 'W' || e.period == 'M')
        return FormatLine("%s,%ld,%ld,%c", s, Day(start), Day(end), e.period);
      return {};
    case kUpdateRealtime:
      return e.period == 'D' ? FormatLine("%s,R", s) : std::string();
    case kUpdateNormalAndRealtime:
      if (e.period != 'D') return {};
      if (Before(next, today)) return FormatLine("%s,%ld,R", s, Day(next));
      return FormatLine("%s,R", s);
    default:
      return {};
  }
}

std::string IntradayLine(const DatafileEntry& e, int type, Date start, Date end, Date today, Time now) {
  const char* s = e.symbol.c_str();
  const bool bars = e.interval > 0;
  switch (type) {
    case kUpdateNormal:
      if (bars) return BarsFromLast(e);
      if (Before(e.lastDate, e.firstDate) || e.lastTime.isNull()) {
        Date from = e.lastTime.isNull() ? today : e.firstDate;
        return FormatLine("%s,Q,%08ld,%04ld,%08ld,%04ld,0", s, Day(from), 0L, Day(today), Hhmm(now));
      }
      return FormatLine("%s,Q,%08ld,%04ld,%08ld,%04ld,0", s, Day(e.lastDate), Hhmm(e.lastTime), Day(today),
                        Hhmm(now));
    case kUpdateDateRange:
      if (bars) return BarsInRange(e, start, end);
      return FormatLine("%s,Q,%08ld,%04ld,%08ld,%04ld,%ld", s, Day(start), 0L, Day(end), 2359L,
                        static_cast<long>(e.interval));
    default:
      return {};
  }
}

}  // namespace

int WriteInstrumentLine(std::FILE* file, const DatafileEntry& entry, int formatId, int type, Date startDate,
                        Date endDate, Date today, Time now) {
  if (!IsRequestSymbol(entry.symbol)) {
    debug2("Symbol not requested:", entry.symbol);
    return 0;
  }
  const Date next = entry.lastDate.addDays(1);
  std::string line;
  switch (GroupOf(formatId)) {
    case Group::kDaily:
      line = DailyLine(entry, type, next, startDate, endDate, today);
      break;
    case Group::kMetaStock:
      line = MetaStockLine(entry, type, next, startDate, endDate, today);
      break;
    case Group::kIntraday:
      line = IntradayLine(entry, type, startDate, endDate, today, now);
      break;
    case Group::kNone:
      break;
  }
  if (line.empty()) return 0;
  return WriteRequestLine(file, line) ? 1 : -1;
}

int WriteFileDownloadLine(std::FILE* file, const ActionInfo& action, const DatafileEntry& entry) {
  if (action.priceType != 0) return 0;
  if (!IsRequestSymbol(entry.symbol)) {
    debug2("Symbol not requested:", entry.symbol);
    return 0;
  }
  const char* s = entry.symbol.c_str();
  const int type = action.type & ~(kReplaceRealtimeFlag | kReloadSymbolsFlag);
  static constexpr char kPeriodLetters[] = {'D', 'W', 'M'};
  std::string line;
  if ((type == kUpdateNormal || type == kUpdateDateRange) && action.period >= 0 && action.period <= 2) {
    line = FormatLine("%s,%ld,%ld,%c", s, Day(action.startDate), Day(action.endDate), kPeriodLetters[action.period]);
  } else if (type == kUpdateRealtime && action.period == 0) {
    line = FormatLine("%s,R", s);
  }
  if (line.empty()) return 0;
  return WriteRequestLine(file, line) ? 1 : -1;
}

}  // namespace kvqt
